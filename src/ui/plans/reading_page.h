#pragma once
// The reading page: the passage of the plan day being read, with the plan's
// one-line standing and the buttons to open the plan manager and to mark the
// passage as read below it. The reading-plan commands (plan_controller.h)
// decide what it shows and answer its buttons.
#include "ui/base/core_names.h"
#include "ui/base/content_page.h"

#include <string>
#include <vector>

class QComboBox;
class QToolButton;
class QLabel;
class QProgressBar;
class QPushButton;
class QWidget;

namespace kovara::core {
class BibleStore;
}

namespace kovara::ui {

class CommentaryPane;
class HtmlViewer;
class PassageView;

class ReadingPage : public ContentPage {
    Q_OBJECT
public:
    explicit ReadingPage(QWidget* parent = nullptr);

    // The passage takes the reader's font and colours.
    void assignPreferences(Preferences& prefs) override;

    // Shows a plan day: the passage under the plan's title and the day's
    // heading, with the bible (not owned). Raises what the passage view
    // raises; the labels show the new day even then.
    void showPassage(const std::string& verseSpec, const std::string& title, const std::string& heading,
                     BibleStore& bible);
    // The day's standing below the passage and whether it can be marked
    // read; the plan manager button is on while a plan is shown.
    void setStanding(const QString& status, bool canMarkRead);
    // No plan shown: nothing to mark or manage, no catching up.
    void forgetPlan();
    // Empties the page: no passage, standing or progress.
    void clear();
    // How far the reader is: the bar, a summary line and, while behind,
    // "Catch Up...".
    void showProgress(int percent, const QString& summary, bool behind);
    // The line that offers to put back the plan a catch-up replaced.
    void showUndo(const QString& text);
    void hideUndo();
    // The Bible versions the plan can be read in (the shipped Bible first)
    // and the one it is read in; the list shows only when there is a choice.
    void setVersions(const QStringList& names, int current);
    // The versions at these indexes of that list shown beside the passage
    // (ticked in the "Side by Side" menu).
    void setSideBySide(const std::vector<int>& indexes);
    // Shows html (the passage in verse-aligned columns) in place of the
    // passage page until the next passage; kept through a change of
    // preferences.
    void showColumns(const std::string& html);

    // The reference and version of the passage shown: every copy carries
    // them below the copied text ("3 John 1:13-14 (WEB)"), and the printout's
    // title names a version other than the shipped Bible.
    void setPassageSource(const QString& reference, const QString& version, bool shippedBible);

    // The commentary pane beside the passage: shown, it loads the SWORD
    // library (the first time) and shows the chosen commentary's entry for
    // the first verse of the day's passage, following each day shown; its
    // scripture references are reported by bibleLinkClicked. Returns whether
    // a commentary shows; otherwise the pane says why.
    bool setCommentaryShown(bool shown);

    // Chapter headings as links that bibleLinkClicked reports.
    void setChapterLinks(bool on);

    // The passage shown: its verses, title and heading.
    PassageView& passage() const { return *passageView_; }

    // Copy and Print: the passage's selection and its pages, named after the
    // plan and its day ("Whole Bible Day 12 of 364").
    HtmlViewer* pagedPrintout() const override;
    QString printTitle() const override;
    HelpContext helpContext() const override { return HelpContext::Reading; }

signals:
    void markReadClicked();
    void planManagerClicked();
    void catchUpClicked();
    void undoClicked();
    // The reader chose the version at index of the list set by setVersions.
    void versionChosen(int index);
    // The reader ticked or cleared versions in "Side by Side": the indexes
    // of the version list to show beside the passage.
    void sideBySideChosen(const std::vector<int>& indexes);
    // A chapter heading of the passage or a reference in the commentary was
    // clicked ("bible:" link).
    void bibleLinkClicked(const QString& href);

private:
    PassageView* passageView_;
    QComboBox* versionList_;
    QToolButton* sideBySideButton_;
    QToolButton* commentaryButton_;
    CommentaryPane* commentaryPane_;
    std::vector<int> sideIndexes_;
    std::string columnsHtml_; // the columns shown in place of the passage page
    QString copyCaption_;
    QString printedVersion_; // empty for the shipped Bible
    QLabel* planStatusLabel_;
    QPushButton* planManagerButton_; // "View or Edit Reading Plan"
    QPushButton* markReadButton_;    // "Mark Passage as Read"
    QProgressBar* progressBar_;
    QLabel* progressLabel_;
    QPushButton* catchUpButton_;
    QWidget* undoPanel_;
    QLabel* undoLabel_;
    QPushButton* undoButton_;
};

} // namespace kovara::ui
