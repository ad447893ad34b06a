#include "ui/app/formAbout.h"

#include "app/links.h"
#include "ui/widgets/text_codec.h"

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
QPixmap ProductPicture()
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

QLabel* LinkLabel(QWidget* parent)
{
    auto* label = new QLabel(parent);
    label->setTextFormat(Qt::RichText);
    label->setTextInteractionFlags(Qt::LinksAccessibleByMouse | Qt::LinksAccessibleByKeyboard);
    label->setOpenExternalLinks(false);
    return label;
}

} // namespace

TFormAboutBox::TFormAboutBox(QWidget* parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("About Kovara"));
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);
    OpenUrl = [](const QUrl& url) { QDesktopServices::openUrl(url); };

    ImageProduct = new QLabel(this);
    ImageProduct->setFixedSize(kPictureSize, kPictureSize);
    ImageProduct->setPixmap(ProductPicture());
    LabelProductName = new QLabel(QStringLiteral("Kovara"), this);
    QFont bold = LabelProductName->font();
    bold.setBold(true);
    bold.setPointSizeF(bold.pointSizeF() * 1.6);
    LabelProductName->setFont(bold);

    LabelVersion = new QLabel(this);
    LabelVersion->setTextFormat(Qt::PlainText);

    LabelDataPath = new QLabel(this);
    LabelDataPath->setTextFormat(Qt::PlainText);
    LabelDataPath->setWordWrap(true);
    LabelDataPath->setMinimumWidth(300);
    QFont small = LabelDataPath->font();
    small.setPointSizeF(small.pointSizeF() * 0.85);
    LabelDataPath->setFont(small);
    LabelDataPath->setContextMenuPolicy(Qt::CustomContextMenu);
    PopupMenuDataPath = new QMenu(this);
    CopyUserDataPathtoClipboard1 = PopupMenuDataPath->addAction(QStringLiteral("Copy User Data Path to Clipboard"));
    connect(CopyUserDataPathtoClipboard1, &QAction::triggered, this, [this] { CopyUserDataPathtoClipboard1Click(); });
    connect(LabelDataPath, &QLabel::customContextMenuRequested, this,
            [this](const QPoint& pos) { PopupMenuDataPath->exec(LabelDataPath->mapToGlobal(pos)); });

    LabelWebsite = LinkLabel(this);
    const QString website = QString::fromLatin1(kProductWebsite);
    LabelWebsite->setText(QStringLiteral("<a href=\"%1\">%1</a>").arg(website));
    LabelEmail = LinkLabel(this);
    LabelEmail->setText(QStringLiteral("<a href=\"mailto:%1\">%1</a>").arg(QString::fromLatin1(kSupportEmail)));
    auto open = [this](const QString& link) {
        if (OpenUrl)
            OpenUrl(QUrl(link));
    };
    connect(LabelWebsite, &QLabel::linkActivated, this, open);
    connect(LabelEmail, &QLabel::linkActivated, this, open);

    ButtonOK = new QPushButton(QStringLiteral("OK"), this);
    ButtonOK->setDefault(true);
    connect(ButtonOK, &QPushButton::clicked, this, &QDialog::accept);

    auto* head = new QHBoxLayout;
    head->addWidget(ImageProduct);
    head->addSpacing(8);
    head->addWidget(LabelProductName);
    head->addStretch(1);

    auto* links = new QGridLayout;
    links->addWidget(new QLabel(QStringLiteral("Website:"), this), 0, 0);
    links->addWidget(LabelWebsite, 0, 1);
    links->addWidget(new QLabel(QStringLiteral("Email:"), this), 1, 0);
    links->addWidget(LabelEmail, 1, 1);
    links->setColumnStretch(1, 1);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(ButtonOK);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(head);
    layout->addWidget(LabelVersion);
    layout->addWidget(LabelDataPath);
    layout->addLayout(links);
    layout->addLayout(buttons);
    // A fixed-size box: the layout decides its size and the user cannot
    // change it.
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

void TFormAboutBox::UpdateTexts()
{
    LabelVersion->setText(QStringLiteral("Version %1").arg(FileVersion));
    emailLink_ = FromBytes(SupportEmailUrl(ToBytes(FileVersion)));
    LabelEmail->setText(QStringLiteral("<a href=\"%1\">%2</a>")
                            .arg(emailLink_.toHtmlEscaped(), QString::fromLatin1(kSupportEmail)));
    LabelDataPath->setText(QStringLiteral("User data folder: \n") + UserDataFolder);
}

void TFormAboutBox::CopyUserDataPathtoClipboard1Click()
{
    QGuiApplication::clipboard()->setText(UserDataFolder);
}

void TFormAboutBox::showEvent(QShowEvent* event)
{
    UpdateTexts();
    QDialog::showEvent(event);
}

} // namespace kovara::ui
