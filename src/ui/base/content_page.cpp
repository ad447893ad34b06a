#include "ui/base/content_page.h"

#include "ui/base/html_viewer.h"

#include <QAction>
#include <QTextEdit>

namespace kovara::ui {

bool ContentPage::canCopy() const
{
    if (!followed_)
        return false;
    if (const auto* viewer = qobject_cast<const HtmlViewer*>(followed_))
        return viewer->selectionLength() > 0;
    return followed_->textCursor().hasSelection();
}

void ContentPage::copy()
{
    if (!followed_)
        return;
    if (auto* viewer = qobject_cast<HtmlViewer*>(followed_))
        viewer->copySelection();
    else
        followed_->copy();
}

void ContentPage::assignPreferences(Preferences& prefs)
{
    Q_UNUSED(prefs);
}

void ContentPage::printWhole(QPrinter& printer)
{
    Q_UNUSED(printer);
}

void ContentPage::followText(QTextEdit* text, QAction* pageCopy)
{
    followed_ = text;
    connect(text, &QTextEdit::selectionChanged, this, &ContentPage::contentStateChanged);
    if (pageCopy)
        text->removeAction(pageCopy);
}

} // namespace kovara::ui
