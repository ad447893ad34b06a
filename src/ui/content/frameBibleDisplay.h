#pragma once
// The reading page's panel: the plan's title and day line over the day's
// passage, shown in an HTML viewer in the user's display style. The page text
// itself is built by BuildPassagePage in the core; this frame only shows it.
#include <QWidget>
#include <string>

class QAction;
class QFrame;
class QLabel;

namespace kovara {
class TKOVABible;
class TKOVAPreferences;
} // namespace kovara

namespace kovara::ui {

class HtmlViewer;

class TFrameKOVABibleDisplay : public QWidget {
    Q_OBJECT
public:
    explicit TFrameKOVABibleDisplay(QWidget* parent = nullptr);

    // Keeps prefs (not owned; must outlive the frame or be replaced), applies
    // its colours and font to the viewer and the panel, and renders the current
    // passage again when there is one, so a changed paragraph style or font
    // shows at once. Raises what RenderPassage raises.
    void AssignPreferences(TKOVAPreferences& prefs);

    // Shows a plan day: sets the labels, keeps spec, title, day line and bible
    // (not owned) and renders. Raises "Preferences not yet assigned on
    // LoadPlanVerses" before the first AssignPreferences (nothing changes
    // then), and what RenderPassage raises; in that case the labels show the
    // new title and day line and the viewer shows "Loading...".
    void LoadPlanVerses(const std::string& verseSpec, const std::string& title, const std::string& dayLine,
                        TKOVABible& bible);
    // The same call under the name the main window uses for a passage.
    void ShowPassage(const std::string& verseSpec, const std::string& title, const std::string& dayLine,
                     TKOVABible& bible)
    {
        LoadPlanVerses(verseSpec, title, dayLine, bible);
    }

    // Builds the page of the kept specification and loads it, under the busy
    // cursor (restored on every exit). Raises what BuildPassagePage raises.
    void RenderPassage();

    const std::string& VerseSpec() const { return verseSpec_; }

    // For the main window's copy and print commands while this page shows.
    HtmlViewer* Viewer() const { return HTMLViewer1; }

    // Controls, by the names the program uses for them.
    QFrame* RzPanelTop;
    QLabel* Label1;
    QLabel* LabelTitle;
    QLabel* LabelDate;
    QFrame* RzPanelBottom;
    HtmlViewer* HTMLViewer1;
    QAction* ActionCopy;     // "Copy Selected Text": enabled only with a selection
    QAction* ActionSelectAll; // "Select All": always enabled

private:
    TKOVAPreferences* prefs_ = nullptr;
    TKOVABible* bible_ = nullptr;
    std::string verseSpec_;
    std::string title_;
    std::string dayLine_;
};

} // namespace kovara::ui
