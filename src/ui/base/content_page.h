#pragma once
// A page of the main window as the window's Copy, Print and Help commands see
// it. Each page says what it can copy and print, announces a change of either
// through contentStateChanged(), and names its place in the help file; the
// commands act on whichever page is current.
#include "ui/base/core_names.h"
#include <QWidget>

class QAction;
class QPrinter;
class QTextEdit;

namespace kovara::core {
class Preferences;
}

namespace kovara::ui {

class HtmlViewer;

// The pages' places in the shipped help file; the contents for none.
enum class HelpContext : int {
    Contents = 0,
    Reading = 30,
    Devotional = 40,
    PrayerTracker = 50,
    Bible = 60,
    PlanManager = 80,
};

class ContentPage : public QWidget {
    Q_OBJECT
public:
    using QWidget::QWidget;

    // Takes the font and colours of prefs (kept, not owned; must outlive the
    // page or be replaced) and shows the page with them at once. Pages
    // without text of the reader's font keep the default, which does nothing.
    virtual void assignPreferences(Preferences& prefs);

    // Copy: the selection of the text the page follows (followText).
    virtual bool canCopy() const;
    virtual void copy();

    // A page that prints with a page range names the viewer whose pages
    // print; one that prints whole says so and prints when asked.
    virtual HtmlViewer* pagedPrintout() const { return nullptr; }
    virtual bool canPrintWhole() const { return false; }
    // Prints everything on printer (already chosen); raises on failure.
    virtual void printWhole(QPrinter& printer);
    bool canPrint() const { return pagedPrintout() != nullptr || canPrintWhole(); }

    // What the page would print, in a few words ("John 3", a plan's title):
    // the printout's document name.
    virtual QString printTitle() const { return {}; }
    virtual HelpContext helpContext() const { return HelpContext::Contents; }

signals:
    // What Copy or Print would do may have changed.
    void contentStateChanged();

protected:
    // text's selection is what Copy copies; its changes are announced. The
    // window's Copy command owns Ctrl+C: a page's own copy entry bound to the
    // same key on the text would make the key ambiguous while the text has
    // the focus, and then neither would run. The entry stays in the text's
    // context menu; only its key binding goes (pageCopy may be null).
    void followText(QTextEdit* text, QAction* pageCopy);

private:
    QTextEdit* followed_ = nullptr;
};

} // namespace kovara::ui
