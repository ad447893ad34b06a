#pragma once
// The devotional page: the devotional's title and author, a date field, and
// the entry of the chosen date in an HTML viewer in the user's display style.
#include "ui/base/core_names.h"
#include "ui/base/content_page.h"
#include <string>

class QAction;
class QDate;
class QDateEdit;
class QFrame;
class QLabel;
class QToolButton;

namespace kovara::core {
class Clock;
class DevotionalStore;
class Preferences;
} // namespace kovara::core

namespace kovara::ui {

class Dialogs;
class HtmlViewer;
class TextZoom;

class DevotionalPage : public ContentPage {
    Q_OBJECT
public:
    // clock gives "today"; dialogs shows the errors of a date change (the date
    // field's handler runs inside Qt's signal and must not raise). Neither is
    // owned; both must outlive the frame.
    DevotionalPage(const Clock& clock, Dialogs& dialogs, QWidget* parent = nullptr);

    // Attaches devotional (not owned), sets the labels from its title and
    // author and the date field to today; a changed date loads that day's
    // entry. When the date field already holds today, the entry shown is kept
    // - unless the devotional is a different one (or none was attached), in
    // which case today's entry is loaded so the page is never left blank.
    void setDevotional(DevotionalStore& devotional);

    // The main window's "Faith's Checkbook" command, after it has switched to
    // the devotional page: setDevotional, then records today's day of the year
    // (1 to 366) in prefs.lastFaithsCheckbookRead, which the welcome page's
    // reminder reads.
    void openFaithsCheckbook(DevotionalStore& devotional, Preferences& prefs);

    // Keeps prefs (not owned), applies its colours and font to the viewer and
    // the panel, and loads the current page text again.
    void assignPreferences(Preferences& prefs) override;

    const std::string& pageText() const { return pageText_; }

    // The date whose entry is shown (or would be, before a devotional is
    // attached); setDate changes it as the date field does.
    QDate date() const;
    void setDate(const QDate& date);

    // Copy and Print: the entry's selection and its pages, named after the
    // devotional and the date ("Faith's Checkbook 2026-12-10").
    HtmlViewer* pagedPrintout() const override { return htmlViewer_; }
    QString printTitle() const override;
    HelpContext helpContext() const override { return HelpContext::Devotional; }

signals:
    // A link of the entry (a verse reference) was clicked.
    void linkClicked(const QString& href);

private:
    // The date field changed: loads the entry of its date when a devotional is
    // attached. Errors are shown through the dialogs, not raised.
    void onDateChanged();

    QFrame* headerPanel_;
    QLabel* titleLabel_;
    QLabel* authorLabel_;
    QDateEdit* dateEdit_;
    QToolButton* todayButton_; // sets the date field to today
    QFrame* viewerPanel_;
    HtmlViewer* htmlViewer_;
    TextZoom* zoom_; // Ctrl+plus/minus/0 and Ctrl+wheel, shared with the passage views
    QAction* copyAction_;      // "Copy Selected Text": enabled only with a selection
    QAction* selectAllAction_; // "Select All": always enabled

    const Clock& clock_;
    Dialogs& dialogs_;
    DevotionalStore* devotional_ = nullptr;
    Preferences* prefs_ = nullptr;
    std::string pageText_;
};

} // namespace kovara::ui
