#include "ui/app/about_dialog.h"
#include "ui/base/core_names.h"

#include "core/app/links.h"
#include "ui/base/text_codec.h"

#include <QAction>
#include <QClipboard>
#include <QDesktopServices>
#include <QGridLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLinearGradient>
#include <QMenu>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QUrl>
#include <QVBoxLayout>

namespace kovara::ui {

namespace {

constexpr int kPictureSize = 52;

// The product picture: an open book on a dawn-coloured ground, as on the
// splash window, drawn at the size of the about box's icon.
QPixmap productPicture()
{
    QPixmap pixmap(kPictureSize, kPictureSize);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient sky(0, 0, 0, kPictureSize);
    sky.setColorAt(0, QColor(0x1f, 0x3b, 0x63));
    sky.setColorAt(1, QColor(0xf2, 0xb8, 0x6b));
    p.setPen(Qt::NoPen);
    p.setBrush(sky);
    p.drawRoundedRect(QRectF(0, 0, kPictureSize, kPictureSize), 6, 6);
    p.setPen(QPen(QColor(0x5a, 0x3a, 0x1a), 1));
    p.setBrush(QColor(0xfa, 0xf6, 0xea));
    p.drawPolygon(QPolygonF({QPointF(6, 22), QPointF(25, 19), QPointF(25, 40), QPointF(6, 43)}));
    p.drawPolygon(QPolygonF({QPointF(27, 19), QPointF(46, 22), QPointF(46, 43), QPointF(27, 40)}));
    return pixmap;
}

QLabel* linkLabel(QWidget* parent)
{
    auto* label = new QLabel(parent);
    label->setTextFormat(Qt::RichText);
    label->setTextInteractionFlags(Qt::LinksAccessibleByMouse | Qt::LinksAccessibleByKeyboard);
    label->setOpenExternalLinks(false);
    return label;
}

} // namespace

AboutDialog::AboutDialog(QWidget* parent) : QDialog(parent)
{
    setWindowTitle(tr("About Kovara"));
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);
    openUrl = [](const QUrl& url) { QDesktopServices::openUrl(url); };

    productImage_ = new QLabel(this);

    productImage_->setObjectName(QStringLiteral("productImage"));
    productImage_->setFixedSize(kPictureSize, kPictureSize);
    productImage_->setPixmap(productPicture());
    productNameLabel_ = new QLabel(tr("Kovara"), this);
    productNameLabel_->setObjectName(QStringLiteral("productNameLabel"));
    QFont bold = productNameLabel_->font();
    bold.setBold(true);
    bold.setPointSizeF(bold.pointSizeF() * 1.6);
    productNameLabel_->setFont(bold);

    versionLabel_ = new QLabel(this);

    versionLabel_->setObjectName(QStringLiteral("versionLabel"));
    versionLabel_->setTextFormat(Qt::PlainText);

    dataPathLabel_ = new QLabel(this);

    dataPathLabel_->setObjectName(QStringLiteral("dataPathLabel"));
    dataPathLabel_->setTextFormat(Qt::PlainText);
    dataPathLabel_->setWordWrap(true);
    dataPathLabel_->setMinimumWidth(300);
    QFont small = dataPathLabel_->font();
    small.setPointSizeF(small.pointSizeF() * 0.85);
    dataPathLabel_->setFont(small);
    dataPathLabel_->setContextMenuPolicy(Qt::CustomContextMenu);
    dataPathMenu_ = new QMenu(this);
    dataPathMenu_->setObjectName(QStringLiteral("dataPathMenu"));
    copyDataPathAction_ = dataPathMenu_->addAction(tr("Copy User Data Path to Clipboard"));
    copyDataPathAction_->setObjectName(QStringLiteral("copyDataPathAction"));
    connect(copyDataPathAction_, &QAction::triggered, this, [this] { copyUserDataPath(); });
    connect(dataPathLabel_, &QLabel::customContextMenuRequested, this,
            [this](const QPoint& pos) { dataPathMenu_->exec(dataPathLabel_->mapToGlobal(pos)); });

    websiteLabel_ = linkLabel(this);

    websiteLabel_->setObjectName(QStringLiteral("websiteLabel"));
    const QString website = QString::fromLatin1(kProductWebsite);
    websiteLabel_->setText(QStringLiteral("<a href=\"%1\">%1</a>").arg(website));
    emailLabel_ = linkLabel(this);
    emailLabel_->setObjectName(QStringLiteral("emailLabel"));
    emailLabel_->setText(QStringLiteral("<a href=\"mailto:%1\">%1</a>").arg(QString::fromLatin1(kSupportEmail)));
    auto open = [this](const QString& link) {
        if (openUrl)
            openUrl(QUrl(link));
    };
    connect(websiteLabel_, &QLabel::linkActivated, this, open);
    connect(emailLabel_, &QLabel::linkActivated, this, open);

    okButton_ = new QPushButton(tr("OK"), this);

    okButton_->setObjectName(QStringLiteral("okButton"));
    okButton_->setDefault(true);
    connect(okButton_, &QPushButton::clicked, this, &QDialog::accept);

    auto* head = new QHBoxLayout;
    head->addWidget(productImage_);
    head->addSpacing(8);
    head->addWidget(productNameLabel_);
    head->addStretch(1);

    auto* links = new QGridLayout;
    links->addWidget(new QLabel(tr("Website:"), this), 0, 0);
    links->addWidget(websiteLabel_, 0, 1);
    links->addWidget(new QLabel(tr("Email:"), this), 1, 0);
    links->addWidget(emailLabel_, 1, 1);
    links->setColumnStretch(1, 1);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(okButton_);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(head);
    layout->addWidget(versionLabel_);
    layout->addWidget(dataPathLabel_);
    layout->addLayout(links);
    layout->addLayout(buttons);
    // A fixed-size box: the layout decides its size and the user cannot
    // change it.
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

void AboutDialog::updateTexts()
{
    versionLabel_->setText(tr("Version %1").arg(fileVersion));
    emailLink_ = fromBytes(supportEmailUrl(toBytes(fileVersion)));
    emailLabel_->setText(QStringLiteral("<a href=\"%1\">%2</a>")
                            .arg(emailLink_.toHtmlEscaped(), QString::fromLatin1(kSupportEmail)));
    dataPathLabel_->setText(tr("User data folder: \n%1").arg(userDataFolder));
}

void AboutDialog::copyUserDataPath()
{
    QGuiApplication::clipboard()->setText(userDataFolder);
}

void AboutDialog::showEvent(QShowEvent* event)
{
    updateTexts();
    QDialog::showEvent(event);
}

} // namespace kovara::ui
