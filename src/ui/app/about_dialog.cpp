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

    productImage = new QLabel(this);
    productImage->setFixedSize(kPictureSize, kPictureSize);
    productImage->setPixmap(productPicture());
    productNameLabel = new QLabel(tr("Kovara"), this);
    QFont bold = productNameLabel->font();
    bold.setBold(true);
    bold.setPointSizeF(bold.pointSizeF() * 1.6);
    productNameLabel->setFont(bold);

    versionLabel = new QLabel(this);
    versionLabel->setTextFormat(Qt::PlainText);

    dataPathLabel = new QLabel(this);
    dataPathLabel->setTextFormat(Qt::PlainText);
    dataPathLabel->setWordWrap(true);
    dataPathLabel->setMinimumWidth(300);
    QFont small = dataPathLabel->font();
    small.setPointSizeF(small.pointSizeF() * 0.85);
    dataPathLabel->setFont(small);
    dataPathLabel->setContextMenuPolicy(Qt::CustomContextMenu);
    dataPathMenu = new QMenu(this);
    copyDataPathAction = dataPathMenu->addAction(tr("Copy User Data Path to Clipboard"));
    connect(copyDataPathAction, &QAction::triggered, this, [this] { copyUserDataPath(); });
    connect(dataPathLabel, &QLabel::customContextMenuRequested, this,
            [this](const QPoint& pos) { dataPathMenu->exec(dataPathLabel->mapToGlobal(pos)); });

    websiteLabel = linkLabel(this);
    const QString website = QString::fromLatin1(kProductWebsite);
    websiteLabel->setText(QStringLiteral("<a href=\"%1\">%1</a>").arg(website));
    emailLabel = linkLabel(this);
    emailLabel->setText(QStringLiteral("<a href=\"mailto:%1\">%1</a>").arg(QString::fromLatin1(kSupportEmail)));
    auto open = [this](const QString& link) {
        if (openUrl)
            openUrl(QUrl(link));
    };
    connect(websiteLabel, &QLabel::linkActivated, this, open);
    connect(emailLabel, &QLabel::linkActivated, this, open);

    okButton = new QPushButton(tr("OK"), this);
    okButton->setDefault(true);
    connect(okButton, &QPushButton::clicked, this, &QDialog::accept);

    auto* head = new QHBoxLayout;
    head->addWidget(productImage);
    head->addSpacing(8);
    head->addWidget(productNameLabel);
    head->addStretch(1);

    auto* links = new QGridLayout;
    links->addWidget(new QLabel(tr("Website:"), this), 0, 0);
    links->addWidget(websiteLabel, 0, 1);
    links->addWidget(new QLabel(tr("Email:"), this), 1, 0);
    links->addWidget(emailLabel, 1, 1);
    links->setColumnStretch(1, 1);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(okButton);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(head);
    layout->addWidget(versionLabel);
    layout->addWidget(dataPathLabel);
    layout->addLayout(links);
    layout->addLayout(buttons);
    // A fixed-size box: the layout decides its size and the user cannot
    // change it.
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

void AboutDialog::updateTexts()
{
    versionLabel->setText(tr("Version %1").arg(fileVersion));
    emailLink_ = fromBytes(supportEmailUrl(toBytes(fileVersion)));
    emailLabel->setText(QStringLiteral("<a href=\"%1\">%2</a>")
                            .arg(emailLink_.toHtmlEscaped(), QString::fromLatin1(kSupportEmail)));
    dataPathLabel->setText(tr("User data folder: \n%1").arg(userDataFolder));
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
