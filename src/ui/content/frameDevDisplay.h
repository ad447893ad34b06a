#pragma once
// The devotional page: the devotional's title and author, a date field, and
// the entry of the chosen date in an HTML viewer in the user's display style.
#include <QWidget>
#include <string>

class QAction;
class QDate;
class QDateEdit;
class QFrame;
class QLabel;
class QToolButton;

namespace kovara {
class Clock;
class TKOVADevotional;
class TKOVAPreferences;
} // namespace kovara

namespace kovara::ui {

class Dialogs;
class HtmlViewer;

class TFrameKOVADevotionalDisplay : public QWidget {
    Q_OBJECT
public:
    // clock gives "today"; dialogs shows the errors of a date change (the date
    // field's handler runs inside Qt's signal and must not raise). Neither is
    // owned; both must outlive the frame.
    TFrameKOVADevotionalDisplay(const Clock& clock, Dialogs& dialogs, QWidget* parent = nullptr);

    // Attaches devotional (not owned), sets the labels from its title and
    // author and the date field to today; a changed date loads that day's
    // entry. When the date field already holds today, the entry shown is kept
    // - unless the devotional is a different one (or none was attached), in
    // which case today's entry is loaded so the page is never left blank.
    void SetDevotional(TKOVADevotional& devotional);

    // The main window's "Faith's Checkbook" command, after it has switched to
    // the devotional page: SetDevotional, then records today's day of the year
    // (1 to 366) in prefs.LastFaithsCheckbookRead, which the welcome page's
    // reminder reads.
    void OpenFaithsCheckbook(TKOVADevotional& devotional, TKOVAPreferences& prefs);

    // Keeps prefs (not owned), applies its colours and font to the viewer and
    // the panel, and loads the current page text again.
    void AssignPreferences(TKOVAPreferences& prefs);

    // The date field changed: loads the entry of its date when a devotional is
    // attached. Errors are shown through the dialogs, not raised.
    void RzDateTimeEdit1Change();

    const std::string& PageText() const { return pageText_; }

    // For the main window's copy and print commands while this page shows.
    HtmlViewer* Viewer() const { return HTMLViewer1; }

    // Controls, by the names the program uses for them.
    QFrame* RzPanelTop;
    QLabel* LabelTitle;
    QLabel* LabelAuthor;
    QDateEdit* RzDateTimeEdit1;
    QToolButton* ButtonToday; // sets the date field to today
    QFrame* RzPanelBottom;
    HtmlViewer* HTMLViewer1;
    QAction* ActionCopy;      // "Copy Selected Text": enabled only with a selection
    QAction* ActionSelectAll; // "Select All": always enabled

private:
    const Clock& clock_;
    Dialogs& dialogs_;
    TKOVADevotional* devotional_ = nullptr;
    TKOVAPreferences* prefs_ = nullptr;
    std::string pageText_;
};

} // namespace kovara::ui
