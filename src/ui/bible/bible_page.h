#pragma once
// The Bible page: one chapter at a time in the passage view, a field that
// goes to a typed reference, book and chapter lists, and previous/next
// chapter. The page remembers nothing itself; the main window saves and
// restores the chapter through saveLastChapter / restoreLastChapter.
#include "ui/base/core_names.h"
#include "ui/base/content_page.h"
#include <QTextEdit>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace kovara::core {
struct PassageRef;
}

class QAction;
class QComboBox;
class QTimer;
class QLabel;
class QLineEdit;
class QMouseEvent;
class QSplitter;
class QToolButton;

namespace kovara::core {
class BibleStore;
class IniFile;
class Preferences;
} // namespace kovara::core

namespace kovara::ui {

class CommentaryPane;
class HtmlViewer;
class PassageView;
class SearchPanel;

class BiblePage : public ContentPage {
    Q_OBJECT
public:
    explicit BiblePage(QWidget* parent = nullptr);
    ~BiblePage() override;

    // Keeps bible, the shipped Bible (not owned; must outlive the page or be
    // replaced), shows it and fills the book list. Shows nothing until a
    // chapter is opened.
    void setBible(BibleStore& bible);
    // The file the search panel searches for the shipped Bible (through a
    // connection of its own that opens at the first search).
    void setSearchFile(const std::string& fileName);
    // Where Bibles imported from the SWORD library lie (<folder>/*.kova2).
    // The version list offers the shipped Bible and each of them; it is read
    // again whenever the list is opened, so a Bible imported meanwhile shows.
    void setImportedBibleFolder(const std::string& folder);
    // Reads the chapter shown, the go-to field and the search in the version
    // at index of the version list (0: the shipped Bible). Returns false and
    // says why beside the field when the file cannot be opened.
    bool chooseVersion(int index);
    // The versions the list offers, as shown.
    QStringList versionNames() const;
    // Shows the versions at these indexes of the version list beside the
    // chosen one, verse by verse in columns (four columns at most: further
    // indexes and the chosen version itself are left out); none goes back to
    // the one column. Returns false and says why beside the field when one
    // cannot be opened; the others still show.
    bool setSideBySide(const std::vector<int>& versionIndexes);
    // The versions shown, the chosen one first, by abbreviation.
    QStringList columnNames() const;

    // The commentary pane beside the text: shown, it loads the SWORD library
    // (the first time), lists its commentaries and shows the chosen one's
    // entry for the verse in view (the first highlighted, else the one at
    // the top), following the reader through the chapter. Its scripture
    // references open here. Returns whether a commentary shows; otherwise
    // the pane says why.
    bool setCommentaryShown(bool shown);
    // The commentaries offered, by description.
    QStringList commentaryNames() const;
    // Shows the commentary at index of that list.
    bool chooseCommentary(int index);
    // The verse whose entry the pane shows; 0 when none.
    int commentaryVerse() const;

    // Passes prefs on to the passage view (font, colours, paragraph style).
    void assignPreferences(Preferences& prefs) override;

    // Opens book and chapter; when firstVerse is not 0, the verses from
    // firstVerse to lastVerse (inclusive, in this chapter) are highlighted
    // and the first of them scrolled into view. A chapter that the Bible does
    // not have is ignored. Raises what the passage view raises.
    void openChapter(int book, int chapter, int firstVerse = 0, int lastVerse = 0);

    // Reads text as a reference and opens it. Bad input leaves the page as it
    // was and shows the message beside the field; returns whether it opened.
    bool goTo(const QString& text);
    // Opens a link written into generated pages ("bible:43.3.16", see
    // passageLink). Returns false, changing nothing, for any other link.
    bool openLink(const QString& href);

    // The reference of the verses the selection touches, with the Bible's
    // abbreviation ("John 3:16-18 (KJV)"); empty without a selection. Copy
    // puts it under the copied text.
    QString selectionReference() const;
    // The verses the selection touches, or the verse of the text cursor
    // without one ("John 3:16"); empty when no chapter is shown.
    QString versesAtCursor() const;

signals:
    // "Pray with this verse" from the text's menu, for those verses.
    void prayWithVerseRequested(const QString& reference);

public:

    void previousChapter();
    void nextChapter();

    // Back and Forward through the places the page showed (a chapter with
    // its highlighted verses), newest last: every way of opening a chapter
    // adds one, except Back and Forward themselves. A move made after going
    // back drops the places ahead, as a web browser does.
    void goBack();
    void goForward();
    bool canGoBack() const { return historyAt_ > 0; }
    bool canGoForward() const { return historyAt_ + 1 < history_.size(); }

    // Finds the text of the find field in the chapter shown and selects it:
    // the next after the selection (or the one before it, backward), going
    // round at the end, or the first from the top. Says "Not in this
    // chapter" beside the field and returns false when it is not there.
    bool findInChapter(bool backward, bool fromStart);

    // Puts the focus in the go-to field, or on the chapter's text.
    void focusGoToField();
    void focusPassage();

    // Copy: the selection of the pane the reader selected in last (the
    // chapter or the search results), or of the other when only it has one;
    // each copy carries the reference of what it holds.
    bool canCopy() const override;
    void copy() override;
    // Print: the chapter's pages, named after the chapter.
    HtmlViewer* pagedPrintout() const override;
    QString printTitle() const override;
    HelpContext helpContext() const override { return HelpContext::Bible; }

    int book() const { return book_; }
    int chapter() const { return chapter_; }
    // Highlighted verses of the chapter shown, 0 and 0 when none.
    int firstHighlighted() const { return firstVerse_; }
    int lastHighlighted() const { return lastVerse_; }

    // Section "Bible Page", keys "Book" and "Chapter", and "SplitPercent",
    // the share of the height the chapter takes over the search.
    void saveLastChapter(IniFile& settings) const;
    // Opens the chapter saved there, or Genesis 1 (also when the saved one
    // does not exist), and divides the height as saved.
    void restoreLastChapter(const IniFile& settings);

protected:
    // The mouse's back and forward buttons go through the history.
    void mousePressEvent(QMouseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The chapter's verses the selection touches (the verse at the cursor
    // when nothing is selected); none without a chapter shown.
    std::optional<PassageRef> passageAtCursor() const;
    // A place in the history: the chapter and what was highlighted in it.
    struct Place {
        int book = 0;
        int chapter = 0;
        int firstVerse = 0;
        int lastVerse = 0;
        std::vector<std::pair<int, int>> more;
        QString searchedWords;
        bool operator==(const Place&) const = default;
    };
    // Adds the place shown as the newest (unless it is the current one).
    void rememberPlace();
    void showPlace(const Place& place);
    // Back or forward for the mouse button of event; false for other buttons.
    bool followMouseHistoryButton(const QMouseEvent* event);

    void fillVersionList();
    void fillSideBySideMenu();
    // Opens the imported Bible in file; null and a message when it cannot be.
    std::unique_ptr<BibleStore> openVersion(const std::string& file);
    // Shows the chapter in columns when other versions are chosen beside it.
    void renderColumns();
    // Shows the commentary's entry for the verse in view, when the pane shows.
    void updateCommentary();
    int verseInView() const;
    void useBible(BibleStore& bible);
    void useSearchFile(const std::string& fileName);
    void fillChapterList();
    // Finds where each verse of the chapter shown starts in the viewer.
    void locateVerses();
    void highlightVerses();
    // Adds a mark for each of the searched words in the chapter's verses.
    void markSearchedWords(QList<QTextEdit::ExtraSelection>& selections) const;
    void updateButtons();
    // Shows message under the go-to field; an empty one hides the line.
    void showGoToMessage(const QString& message);
    bool chapterHasSelection() const;

    enum class Pane { Chapter, Results };

    PassageView* passageView_;
    SearchPanel* searchPanel_;
    QLineEdit* goToEdit_;
    QLabel* goToMessage_; // the reason a reference could not be opened
    QLineEdit* findEdit_;  // find in chapter
    QLabel* findMessage_;
    QComboBox* bookList_;
    QComboBox* chapterList_;
    QSplitter* splitter_; // the chapter above, the search below
    QToolButton* previousButton_;
    QToolButton* nextButton_;
    QAction* previousChapterAction_; // Alt+Left
    QAction* nextChapterAction_;     // Alt+Right
    QAction* backAction_;            // Ctrl+[ and the keyboard's Back key
    QAction* forwardAction_;         // Ctrl+] and the keyboard's Forward key

    BibleStore* bible_ = nullptr;
    // The shipped Bible and its search file, kept while another version shows.
    BibleStore* shippedBible_ = nullptr;
    std::string shippedSearchFile_;
    std::string importedFolder_;
    std::unique_ptr<BibleStore> otherBible_; // an imported version when one is chosen
    QComboBox* versionList_;
    std::vector<std::string> versionFiles_; // beside the list's entries; empty for the shipped Bible
    std::vector<QString> versionAbbreviations_; // beside them too
    std::string searchFile_; // the file the search panel searches
    QToolButton* sideBySideButton_;
    QToolButton* commentaryButton_;
    CommentaryPane* commentaryPane_;
    QTimer* followTimer_; // the verse in view settles before the pane follows
    // The versions shown beside the chosen one: their files (empty for the
    // shipped Bible) and the Bibles opened for them (null for the shipped).
    std::vector<std::string> sideFiles_;
    std::vector<std::unique_ptr<BibleStore>> sideBibles_;
    bool hasPreferences_ = false;
    Pane lastSelected_ = Pane::Chapter; // the pane the reader last selected in
    int book_ = 0;
    int chapter_ = 0;
    int firstVerse_ = 0;
    int lastVerse_ = 0;
    // Further verses of the chapter shown that a typed list named, each a
    // first and last verse; highlighted with the first.
    std::vector<std::pair<int, int>> moreHighlighted_;
    // Document positions of the chapter's verses (verse 1 first) and, last,
    // of the end of the final verse; empty when they could not be found.
    std::vector<int> verseStarts_;
    // The words of the search a result was opened from, marked in the
    // chapter (a pattern, see SearchPanel::searchedWordsPattern); empty
    // otherwise. The next chapter opened takes pendingSearchedWords_.
    QString searchedWords_;
    QString pendingSearchedWords_;
    std::vector<Place> history_;
    std::size_t historyAt_ = 0;  // the place shown, in history_
    bool revisiting_ = false;    // Back or Forward is opening a place
};

} // namespace kovara::ui
