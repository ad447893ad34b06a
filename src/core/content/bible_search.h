#pragma once
// Full-text search of the Bible through the index that ships inside
// bible.kova2 (table verseSearch). The query syntax is meant for people, not
// programmers: words, "exact phrases", prefix* and AND / OR / NOT in capitals,
// with ( ) to group; words side by side must all be there.
#include "core/db/database.h"

#include <string>
#include <vector>

namespace kovara::core {

// Marks that search results put around each matched word; see hitHtml.
inline constexpr char kHitStart = '\x01';
inline constexpr char kHitEnd = '\x02';

// The outcome of translating what the user typed into the index's own
// syntax. ok is false with an empty message for blank text, and with a
// message for text that cannot be read ("Put a word after \"AND\"") or holds
// no word, only signs ("There is no word to search for in **").
struct SearchExpression {
    bool ok = false;
    std::string expression;
    std::string error;
};

// Never raises. Every word and phrase is quoted, so nothing the user types
// reaches the index as syntax of its own.
SearchExpression translateSearchText(const std::string& text);

enum class SearchScope { WholeBible, OldTestament, NewTestament, Book };
enum class SearchOrder { BibleOrder, Relevance };

struct SearchRequest {
    std::string text;
    SearchScope scope = SearchScope::WholeBible;
    int book = 0; // for SearchScope::Book
    SearchOrder order = SearchOrder::BibleOrder;
    int limit = 200; // rows read into hits; the count covers them all
    // The rows to pass over before the first hit (the results already shown
    // when the reader scrolls on), and whether to count them all again:
    // a further page of a search already counted need not be.
    int offset = 0;
    bool counted = true;
};

struct SearchHit {
    int verseIndex = 0;
    int book = 0;
    int chapter = 0;
    int verse = 0;
    // The verse without markup, each matched word between kHitStart and kHitEnd.
    std::string markedText;
};

struct SearchResult {
    bool ok = false;         // false: see message (nothing searched or a bad query)
    bool cancelled = false;  // interrupted by cancel()
    std::string message;
    int count = 0;          // 0 when the request asked for no count
    int offset = 0;         // the request's offset: hits[0] is this result
    std::vector<SearchHit> hits;
};

// A connection of its own to bible.kova2, so that a search may run on a
// worker thread while the window reads the Bible through its BibleStore.
// One search at a time per object; cancel() may be called from any thread.
class BibleSearch {
public:
    // Opens fileName read-only; raises SqliteError when it cannot, and
    // "This Bible has no search index" when the file lacks the index.
    explicit BibleSearch(const std::string& fileName);

    // Runs request. A bad query comes back as a message, never as an SQL
    // error text; a cancelled search comes back with cancelled set. Raises
    // SqliteError for faults of the file itself.
    SearchResult search(const SearchRequest& request) const;

    // Stops the search running now (if any) at its next step.
    void cancel() const;

private:
    Database db_;
};

// The marked text as HTML: escaped, with each matched word in <b>.
std::string hitHtml(const std::string& markedText);

} // namespace kovara::core
