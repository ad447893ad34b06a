#pragma once
// The search half of the Bible page: a field that searches as the user types
// (after a short pause), a testament/book filter, the order of the results,
// the count and the verses found with the matched words in bold. The search
// runs on a worker thread with a connection of its own, so typing never waits
// for it; a search still running when the reader types on is cancelled. The
// results come a page of 200 at a time, the next as the reader scrolls on.
#include "ui/base/core_names.h"
#include <QStringList>
#include <QWidget>
#include <memory>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "core/content/bible_search.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QTimer;

namespace kovara::ui {

class HtmlViewer;

class SearchPanel : public QWidget {
    Q_OBJECT
public:
    explicit SearchPanel(QWidget* parent = nullptr);
    // Cancels a running search and waits for its thread.
    ~SearchPanel() override;

    // The Bible file to search (opened at the first search), the long book
    // names to show in references, in book order, and the Bible's
    // abbreviation that a copied result's reference ends with ("KJV").
    void setBible(const std::string& fileName, std::vector<QString> bookNames, const QString& abbreviation);
    // The other versions "All versions" searches beside this one, each its
    // file and abbreviation; the choice shows only while there are any.
    void setOtherVersions(std::vector<std::pair<std::string, QString>> versions);
    // Searches every version (true) or this one.
    void setAllVersions(bool all);

    // The book that "This book" searches; a search of this book shown for
    // another book runs again for this one.
    void setCurrentBook(int book);

    // Runs the search now instead of after the pause.
    void searchNow();
    // Reads the next page of results of the search shown and adds them below
    // (done by itself when the reader scrolls or arrows near the end). Does
    // nothing when every result is shown or a search or page is running.
    void loadMore();
    // Results shown and results found by the search shown.
    int shownCount() const { return static_cast<int>(shownVerses_.size()); }
    int foundCount() const { return foundCount_; }
    bool searching() const { return worker_.joinable(); }

    // Puts text in the search field, as if typed: it is searched after the
    // pause.
    void setSearchText(const QString& text);
    // Puts the focus in the search field with its text selected.
    void focusSearchField();

    // What the search shown looks for, as a pattern that finds its words and
    // phrases in a chapter's text (any case; believ* finds believeth; words
    // after NOT are left out). Empty without a search shown.
    QString searchedWordsPattern() const;

    // The reader's selection in the results: whether there is one, and a copy
    // of it (plain text and HTML) with the references of the results it
    // touches below ("John 11:35 (KJV)").
    bool hasSelection() const;
    void copySelection();
    // The references a copy of the current selection carries; empty without
    // a selection.
    QString selectionReference() const;

signals:
    // A result was clicked.
    void verseChosen(int verseIndex);
    // A search finished and its results are shown.
    void resultsShown();
    // A further page of results was added below those shown.
    void moreResultsShown();
    // The selection in the results changed.
    void selectionChanged();

protected:
    // Esc in the search field empties it; Up, Down and Enter in the results.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void startSearch(SearchRequest request);
    void cancelSearches();
    // Empties the results and what is known of them.
    void clearResults();
    // Marks result index (0-based) as the one Enter opens, and shows it.
    void markResult(int index);
    // hitVersions: the version of each hit when all versions were searched,
    // else empty.
    void showResult(const SearchResult& result, const std::vector<QString>& hitVersions);
    // Adds a further page of hits below the results shown.
    void appendHits(const std::vector<SearchHit>& hits);
    // Writes the paragraphs of a further page, hits and their references,
    // below the results shown.
    void appendParagraphs(const std::vector<SearchHit>& hits, const QStringList& references);
    void showCount();
    // Loads the next page when the results are scrolled near their end.
    void loadMoreIfNearEnd();

    QLineEdit* searchEdit_;
    QComboBox* scopeList_; // Whole Bible, Old Testament, New Testament, This book
    QComboBox* orderList_; // Bible order, Most relevant first
    QComboBox* versionScopeList_; // This version, All versions
    QLabel* countLabel_;
    HtmlViewer* resultsViewer_;

    std::string fileName_;
    std::vector<QString> bookNames_;
    std::vector<QString> citedNames_; // the names results go by (see citedBookName)
    QString abbreviation_;
    // The references of the results shown, one per paragraph of the results.
    std::vector<QString> shownReferences_;
    // The text and scope of the search last started, as the count names them.
    QString searchedText_;
    QString scopeText_;
    int markedResult_ = -1; // the result Enter opens; -1 for none
    int foundCount_ = 0;    // results the search shown found in all
    SearchRequest shownRequest_; // the search shown, for its further pages
    std::vector<int> shownVerses_; // the verse index of each result shown
    std::unique_ptr<BibleSearch> search_;
    std::vector<std::pair<std::string, QString>> otherVersions_;
    // Beside otherVersions_, opened at the first search of all versions.
    std::vector<std::unique_ptr<BibleSearch>> otherSearches_;
    bool allVersionsShown_ = false; // the results shown are of every version
    std::vector<QString> hitVersions_; // the version of each result shown, when of every version
    std::thread worker_;
    bool pending_ = false; // a newer search waits for the running one to stop
    int currentBook_ = 1;
    QTimer* pause_;
};

} // namespace kovara::ui
