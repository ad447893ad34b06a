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

    backButton_ = new QToolButton(this);

    backButton_->setObjectName(QStringLiteral("helpBackButton"));
    backButton_->setText(tr("Back"));
    backButton_->setToolTip(tr("Back (Alt+Left)"));
    backButton_->setShortcut(QKeySequence::Back);
    backButton_->setEnabled(false);
    forwardButton_ = new QToolButton(this);
    forwardButton_->setObjectName(QStringLiteral("helpForwardButton"));
    forwardButton_->setText(tr("Forward"));
    forwardButton_->setToolTip(tr("Forward (Alt+Right)"));
    forwardButton_->setShortcut(QKeySequence::Forward);
    forwardButton_->setEnabled(false);
    contentsButton_ = new QToolButton(this);
    contentsButton_->setObjectName(QStringLiteral("helpContentsButton"));
    contentsButton_->setText(tr("Contents"));
    contentsButton_->setToolTip(tr("Contents (Alt+Home)"));
    contentsButton_->setShortcut(QKeySequence(Qt::ALT | Qt::Key_Home));

    browser_ = new QTextBrowser(this);

    browser_->setObjectName(QStringLiteral("helpBrowser"));
    browser_->setOpenLinks(true);
    // Addresses outside the document go to the user's browser or e-mail
    // program; anchors inside it are followed here.
    browser_->setOpenExternalLinks(true);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(backButton_);
    buttons->addWidget(forwardButton_);
    buttons->addWidget(contentsButton_);
    buttons->addStretch(1);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addLayout(buttons);
    layout->addWidget(browser_, 1);

    connect(backButton_, &QToolButton::clicked, browser_, &QTextBrowser::backward);
    connect(forwardButton_, &QToolButton::clicked, browser_, &QTextBrowser::forward);
    connect(contentsButton_, &QToolButton::clicked, this, [this] {
        browser_->setSource(QUrl::fromLocalFile(loadedFile_));
        browser_->verticalScrollBar()->setValue(0);
    });
    connect(browser_, &QTextBrowser::backwardAvailable, backButton_, &QToolButton::setEnabled);
    connect(browser_, &QTextBrowser::forwardAvailable, forwardButton_, &QToolButton::setEnabled);
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
    browser_->setSource(QUrl::fromLocalFile(helpFile_), QTextDocument::HtmlResource);
    browser_->clearHistory();
    loadedFile_ = helpFile_;
}

bool HelpViewer::hasAnchor(const QString& name) const
{
    for (QTextBlock block = browser_->document()->begin(); block.isValid(); block = block.next()) {
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
    browser_->setSource(url, QTextDocument::HtmlResource);
    browser_->verticalScrollBar()->setValue(0);
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
    browser_->setSource(url, QTextDocument::HtmlResource);
    browser_->scrollToAnchor(anchor);
    present();
}

QString HelpViewer::currentAnchor() const
{
    return browser_->source().fragment();
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
