#pragma once
// The reading page's panel: the plan's title and day line over the day's
// passage, shown in an HTML viewer in the user's display style. The page text
// itself is built by buildPassagePage in the core; this frame only shows it.
#include "ui/base/core_names.h"
#include <QWidget>
#include <string>

class QAction;
class QFrame;
class QLabel;

namespace kovara::core {
class BibleStore;
class Preferences;
} // namespace kovara::core

namespace kovara::ui {

class HtmlViewer;
class TextZoom;

class PassageView : public QWidget {
    Q_OBJECT
public:
    explicit PassageView(QWidget* parent = nullptr);

    // Keeps prefs (not owned; must outlive the frame or be replaced), applies
    // its colours and font to the viewer and the panel, and renders the current
    // passage again when there is one, so a changed paragraph style or font
    // shows at once. Raises what renderPassage raises.
    void assignPreferences(Preferences& prefs);

    // Shows a plan day: sets the labels, keeps spec, title, day line and bible
    // (not owned) and renders. Raises "Preferences not yet assigned on
    // loadPlanVerses" before the first assignPreferences (nothing changes
    // then), and what renderPassage raises; in that case the labels show the
    // new title and day line and the viewer shows "Loading...".
    void loadPlanVerses(const std::string& verseSpec, const std::string& title, const std::string& dayLine,
                        BibleStore& bible);
    // The same call under the name the main window uses for a passage.
    void showPassage(const std::string& verseSpec, const std::string& title, const std::string& dayLine,
                     BibleStore& bible)
    {
        loadPlanVerses(verseSpec, title, dayLine, bible);
    }

    // Empties the labels and the viewer (the kept passage stays).
    void clear();

    // Builds the page of the kept specification and loads it, under the busy
    // cursor (restored on every exit). Raises what buildPassagePage raises.
    void renderPassage();

    const std::string& verseSpec() const { return verseSpec_; }
    const std::string& title() const { return title_; }
    const std::string& dayLine() const { return dayLine_; }

    // Makes each chapter heading of the passage a link that the viewer
    // reports through linkClicked (see passageLink); off by default. Takes
    // effect at the next render.
    void setChapterLinks(bool on) { chapterLinks_ = on; }
    // Leaves the headings of the passage out of the text, for a page whose
    // header names the one chapter it shows; shown by default. Takes effect at
    // the next render.
    void setHeadingsShown(bool on) { headings_ = on; }

    // The line above the title, "Bible Reading Plan" until set: what is read
    // here.
    void setCaption(const QString& caption);

    // The viewer itself: the page that holds this view follows its selection
    // for Copy, prints its pages, and connects its links and copy caption.
    HtmlViewer* viewer() const { return htmlViewer_; }
    // The viewer's own "Copy Selected Text" entry, which the page hands to
    // ContentPage::followText so that the window's Copy keeps Ctrl+C.
    QAction* copyAction() const { return copyAction_; }

protected:
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    // Shows the plan title, cut short with "…" when it is wider than the
    // panel (the tooltip then holds it in full).
    void showTitle();

    QFrame* headerPanel_;
    QLabel* captionLabel_; // "Bible Reading Plan" or what setCaption says
    QLabel* titleLabel_;
    QLabel* dayLabel_;
    QFrame* viewerPanel_;
    HtmlViewer* htmlViewer_;
    TextZoom* zoom_; // Ctrl+plus/minus/0 and Ctrl+wheel, kept in the preferences
    QAction* copyAction_;      // "Copy Selected Text": enabled only with a selection
    QAction* selectAllAction_; // "Select All": always enabled

    Preferences* prefs_ = nullptr;
    BibleStore* bible_ = nullptr;
    std::string verseSpec_;
    std::string title_;
    std::string dayLine_;
    bool chapterLinks_ = false;
    bool headings_ = true;
};

} // namespace kovara::ui
