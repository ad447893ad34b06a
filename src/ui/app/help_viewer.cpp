#include "ui/app/help_viewer.h"
#include "ui/base/core_names.h"

#include "core/base/exception.h"
#include "core/base/files.h"
#include "ui/base/text_codec.h"

#include <QDesktopServices>
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

HelpViewer::HelpViewer(QWidget* parent) : QWidget(parent, Qt::Window)
{
    setWindowTitle(tr("Kovara Help"));
    resize(720, 640);

    backButton = new QToolButton(this);
    backButton->setText(tr("Back"));
    backButton->setToolTip(tr("Back (Alt+Left)"));
    backButton->setShortcut(QKeySequence::Back);
    backButton->setEnabled(false);
    forwardButton = new QToolButton(this);
    forwardButton->setText(tr("Forward"));
    forwardButton->setToolTip(tr("Forward (Alt+Right)"));
    forwardButton->setShortcut(QKeySequence::Forward);
    forwardButton->setEnabled(false);
    contentsButton = new QToolButton(this);
    contentsButton->setText(tr("Contents"));
    contentsButton->setToolTip(tr("Contents (Alt+Home)"));
    contentsButton->setShortcut(QKeySequence(Qt::ALT | Qt::Key_Home));

    Browser = new QTextBrowser(this);
    Browser->setOpenLinks(true);
    // Addresses outside the document go to the user's browser or e-mail
    // program; anchors inside it are followed here.
    Browser->setOpenExternalLinks(true);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(backButton);
    buttons->addWidget(forwardButton);
    buttons->addWidget(contentsButton);
    buttons->addStretch(1);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addLayout(buttons);
    layout->addWidget(Browser, 1);

    connect(backButton, &QToolButton::clicked, Browser, &QTextBrowser::backward);
    connect(forwardButton, &QToolButton::clicked, Browser, &QTextBrowser::forward);
    connect(contentsButton, &QToolButton::clicked, this, [this] {
        Browser->setSource(QUrl::fromLocalFile(loadedFile_));
        Browser->verticalScrollBar()->setValue(0);
    });
    connect(Browser, &QTextBrowser::backwardAvailable, backButton, &QToolButton::setEnabled);
    connect(Browser, &QTextBrowser::forwardAvailable, forwardButton, &QToolButton::setEnabled);
    auto* close = new QShortcut(QKeySequence(Qt::Key_Escape), this);
    connect(close, &QShortcut::activated, this, &QWidget::close);
}

void HelpViewer::setHelpFile(const QString& path)
{
    helpFile_ = path;
}

QString HelpViewer::contextAnchor(int context)
{
    return QStringLiteral("context%1").arg(context);
}

void HelpViewer::load()
{
    if (!fileExists(toBytes(helpFile_)))
        throw Exception(toBytes(tr("The help file \"%1\" could not be found.").arg(helpFile_)));
    if (loadedFile_ == helpFile_)
        return;
    // The suffix says nothing of the content; the document is HTML.
    Browser->setSource(QUrl::fromLocalFile(helpFile_), QTextDocument::HtmlResource);
    Browser->clearHistory();
    loadedFile_ = helpFile_;
}

bool HelpViewer::hasAnchor(const QString& name) const
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

void HelpViewer::showContents()
{
    load();
    QUrl url = QUrl::fromLocalFile(loadedFile_);
    Browser->setSource(url, QTextDocument::HtmlResource);
    Browser->verticalScrollBar()->setValue(0);
    present();
}

void HelpViewer::showContext(int context)
{
    load();
    const QString anchor = contextAnchor(context);
    if (!hasAnchor(anchor)) {
        showContents();
        return;
    }
    QUrl url = QUrl::fromLocalFile(loadedFile_);
    url.setFragment(anchor);
    Browser->setSource(url, QTextDocument::HtmlResource);
    Browser->scrollToAnchor(anchor);
    present();
}

QString HelpViewer::currentAnchor() const
{
    return Browser->source().fragment();
}

void HelpViewer::present()
{
    show();
    if (isMinimized())
        setWindowState(windowState() & ~Qt::WindowMinimized);
    raise();
    activateWindow();
}

} // namespace kovara::ui
