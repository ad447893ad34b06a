#pragma once
// The search half of the Bible page: a field that searches as the user types
// (after a short pause), a testament/book filter, the order of the results,
// the count and the verses found with the matched words in bold. The search
// runs on a worker thread with a connection of its own, so typing never waits
// for it; a search still running when the next one is due is cancelled.
#include "ui/base/core_names.h"
#include <QWidget>
#include <memory>
#include <string>
#include <thread>
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

    // The Bible file to search (opened at the first search) and the long book
    // names to show in references, in book order.
    void setBible(const std::string& fileName, std::vector<QString> bookNames);
    // The book that "This book" searches.
    void setCurrentBook(int book) { currentBook_ = book; }

    // Runs the search now instead of after the pause.
    void searchNow();
    bool searching() const { return worker_.joinable(); }

    // Puts text in the search field, as if typed: it is searched after the
    // pause.
    void setSearchText(const QString& text);
    // Puts the focus in the search field with its text selected.
    void focusSearchField();

signals:
    // A result was clicked.
    void verseChosen(int verseIndex);
    // A search finished and its results are shown.
    void resultsShown();

private:
    void startSearch(SearchRequest request);
    void showResult(const SearchResult& result);

    QLineEdit* searchEdit_;
    QComboBox* scopeList_; // Whole Bible, Old Testament, New Testament, This book
    QComboBox* orderList_; // Bible order, Most relevant first
    QLabel* countLabel_;
    HtmlViewer* resultsViewer_;

    std::string fileName_;
    std::vector<QString> bookNames_;
    std::unique_ptr<BibleSearch> search_;
    std::thread worker_;
    bool pending_ = false; // a newer search waits for the running one to stop
    int currentBook_ = 1;
    QTimer* pause_;
};

} // namespace kovara::ui
