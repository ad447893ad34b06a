#include "ui/app/help_viewer.h"

#include "base/exception.h"
#include "ui/widgets/text_codec.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QHBoxLayout>
#include <QKeySequence>
#include <QScrollBar>
#include <QShortcut>
#include <QTextBlock>
#include <QTextBrowser>
#include <QTextDocument>
#include <QToolButton>
#include <QUrl>
#include <QVBoxLayout>

namespace kovara::ui {

THelpViewer::THelpViewer(QWidget* parent) : QWidget(parent, Qt::Window)
{
    setWindowTitle(QStringLiteral("Kovara Help"));
    resize(720, 640);

    ButtonBack = new QToolButton(this);
    ButtonBack->setText(QStringLiteral("Back"));
    ButtonBack->setToolTip(QStringLiteral("Back (Alt+Left)"));
    ButtonBack->setShortcut(QKeySequence::Back);
    ButtonBack->setEnabled(false);
    ButtonForward = new QToolButton(this);
    ButtonForward->setText(QStringLiteral("Forward"));
    ButtonForward->setToolTip(QStringLiteral("Forward (Alt+Right)"));
    ButtonForward->setShortcut(QKeySequence::Forward);
    ButtonForward->setEnabled(false);
    ButtonContents = new QToolButton(this);
    ButtonContents->setText(QStringLiteral("Contents"));
    ButtonContents->setToolTip(QStringLiteral("Contents (Alt+Home)"));
    ButtonContents->setShortcut(QKeySequence(Qt::ALT | Qt::Key_Home));

    Browser = new QTextBrowser(this);
    Browser->setOpenLinks(true);
    // Addresses outside the document go to the user's browser or e-mail
    // program; anchors inside it are followed here.
    Browser->setOpenExternalLinks(true);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(ButtonBack);
    buttons->addWidget(ButtonForward);
    buttons->addWidget(ButtonContents);
    buttons->addStretch(1);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addLayout(buttons);
    layout->addWidget(Browser, 1);

    connect(ButtonBack, &QToolButton::clicked, Browser, &QTextBrowser::backward);
    connect(ButtonForward, &QToolButton::clicked, Browser, &QTextBrowser::forward);
    connect(ButtonContents, &QToolButton::clicked, this, [this] {
        Browser->setSource(QUrl::fromLocalFile(loadedFile_));
        Browser->verticalScrollBar()->setValue(0);
    });
    connect(Browser, &QTextBrowser::backwardAvailable, ButtonBack, &QToolButton::setEnabled);
    connect(Browser, &QTextBrowser::forwardAvailable, ButtonForward, &QToolButton::setEnabled);
    auto* close = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(close, &QShortcut::activated, this, &QWidget::close);
}

void THelpViewer::SetHelpFile(const QString& path)
{
    helpFile_ = path;
}

QString THelpViewer::ContextAnchor(int context)
{
    return QStringLiteral("context%1").arg(context);
}

void THelpViewer::Load()
{
    if (!QFileInfo(helpFile_).isFile())
        throw Exception(Format("The help file \"%s\" could not be found.", ToBytes(helpFile_)));
    if (loadedFile_ == helpFile_)
        return;
    // The suffix says nothing of the content; the document is HTML.
    Browser->setSource(QUrl::fromLocalFile(helpFile_), QTextDocument::HtmlResource);
    Browser->clearHistory();
    loadedFile_ = helpFile_;
}

bool THelpViewer::HasAnchor(const QString& name) const
{
    for (QTextBlock block = Browser->document()->begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            if (it.fragment().charFormat().anchorNames().contains(name))
                return true;
        }
        if (block.charFormat().anchorNames().contains(name))
            return true;
    }
    return false;
}

void THelpViewer::ShowContents()
{
    Load();
    QUrl url = QUrl::fromLocalFile(loadedFile_);
    Browser->setSource(url, QTextDocument::HtmlResource);
    Browser->verticalScrollBar()->setValue(0);
    Present();
}

void THelpViewer::ShowContext(int context)
{
    Load();
    const QString anchor = ContextAnchor(context);
    if (!HasAnchor(anchor)) {
        ShowContents();
        return;
    }
    QUrl url = QUrl::fromLocalFile(loadedFile_);
    url.setFragment(anchor);
    Browser->setSource(url, QTextDocument::HtmlResource);
    Browser->scrollToAnchor(anchor);
    Present();
}

QString THelpViewer::CurrentAnchor() const
{
    return Browser->source().fragment();
}

void THelpViewer::Present()
{
    show();
    if (isMinimized())
        setWindowState(windowState() & ~Qt::WindowMinimized);
    raise();
    activateWindow();
}

} // namespace kovara::ui
