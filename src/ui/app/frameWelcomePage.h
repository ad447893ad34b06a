#pragma once
// The welcome page: a title panel and, below it, the summary of plans, prayer
// items and today's devotional in an HTML viewer whose links run the
// program's commands.
#include <QWidget>
#include <string>

class QFrame;
class QLabel;
class QString;

namespace kovara {
class Clock;
class TKOVAPreferences;
class TKOVAPrayerTracker;
class TKOVAReadPlans;
} // namespace kovara

namespace kovara::ui {

class Dialogs;
class HtmlViewer;
class Shell;
class WelcomeLinkTarget;

class TFrameKOVAWelcomePage : public QWidget {
    Q_OBJECT
public:
    // dialogs shows the unknown-link message and the errors of a clicked link
    // (the click arrives inside Qt's signal and must not raise). Not owned;
    // must outlive the frame.
    explicit TFrameKOVAWelcomePage(Dialogs& dialogs, QWidget* parent = nullptr);

    // Where clicked links go (not owned; must outlive the frame). Until one is
    // set, clicks do nothing.
    void SetLinkTarget(WelcomeLinkTarget& target) { linkTarget_ = &target; }

    // Keeps prefs (not owned), applies its background to the panel and viewer
    // and its font and text colour to the viewer, and loads the kept page again.
    void AssignPreferences(TKOVAPreferences& prefs);

    // Keeps html and loads it into the viewer.
    void ShowPage(const std::string& html);

    // Builds the summary from the given stores and shows it. Store errors
    // propagate and leave the page shown before.
    void BuildWelcomePage(const TKOVAReadPlans& plans, const TKOVAPrayerTracker& prayers,
                          const TKOVAPreferences& prefs, const Clock& clock);
    // The main window's form: builds from the shell's current stores,
    // preferences and clock, then makes the welcome page the current page.
    void BuildWelcomePage(Shell& shell);

    // A link in the viewer was clicked: the viewer never follows it itself;
    // the link goes to HandleInternalLink, under the error guard.
    void HTMLViewer1HotSpotClick(const QString& link);

    // The HTML text shown now (empty before the first page).
    const std::string& PageText() const { return pageText_; }
    HtmlViewer* Viewer() const { return HTMLViewer1; }

    // Controls, by the names the program uses for them.
    QFrame* RzPanelTop;
    QLabel* RzLabel1; // "Welcome to Kovara"
    QFrame* RzPanelBottom;
    HtmlViewer* HTMLViewer1;

private:
    Dialogs& dialogs_;
    WelcomeLinkTarget* linkTarget_ = nullptr;
    TKOVAPreferences* prefs_ = nullptr;
    std::string pageText_;
};

} // namespace kovara::ui
