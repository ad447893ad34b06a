// Searching the shipped bible.kova2 through its built-in index. Counts are
// checked against a scan of every verse done here, word by word, without the
// index.
#include "core/content/bible_search.h"
#include "core/content/bible_store.h"
#include "fixtures.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstring>
#include <functional>

namespace kovara::core {
namespace {

// The lower-case words of one verse, markup dropped.
using Words = std::vector<std::string>;

class BibleSearchTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        search = new BibleSearch(test::builtFile("bible.kova2"));
        sqlite3* db = nullptr;
        openDatabase(test::builtFile("bible.kova2"), db);
        verses = new std::vector<std::pair<int, Words>>;
        queryRows(db, "SELECT book, verseText FROM bibleText ORDER BY verseIndex", "x", [&](Statement& st) {
            std::string text = st.columnText(1);
            for (const char* tag : {"<i>", "</i>", "<b>", "</b>"})
                for (size_t at; (at = text.find(tag)) != std::string::npos;)
                    text.erase(at, std::strlen(tag));
            Words words;
            std::string word;
            for (char c : text + " ") {
                if (std::isalnum(static_cast<unsigned char>(c))) {
                    word += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
                } else if (!word.empty()) {
                    words.push_back(word);
                    word.clear();
                }
            }
            verses->emplace_back(st.columnInt(0), std::move(words));
        });
        closeDatabase(db);
    }
    static void TearDownTestSuite()
    {
        delete search;
        delete verses;
    }
    static int scan(const std::function<bool(const Words&)>& match, int fromBook = 1, int toBook = 66)
    {
        int n = 0;
        for (const auto& [book, words] : *verses)
            if (book >= fromBook && book <= toBook && match(words))
                ++n;
        return n;
    }
    static bool has(const Words& w, const std::string& word) { return std::find(w.begin(), w.end(), word) != w.end(); }
    static bool hasPrefix(const Words& w, const std::string& start)
    {
        return std::any_of(w.begin(), w.end(), [&](const std::string& x) { return x.starts_with(start); });
    }
    static bool hasPhrase(const Words& w, const Words& phrase)
    {
        return std::search(w.begin(), w.end(), phrase.begin(), phrase.end()) != w.end();
    }
    static SearchResult run(const std::string& text, SearchScope scope = SearchScope::WholeBible, int book = 0,
                            SearchOrder order = SearchOrder::BibleOrder)
    {
        SearchRequest request;
        request.text = text;
        request.scope = scope;
        request.book = book;
        request.order = order;
        return search->search(request);
    }
    static BibleSearch* search;
    static std::vector<std::pair<int, Words>>* verses;
};
BibleSearch* BibleSearchTest::search = nullptr;
std::vector<std::pair<int, Words>>* BibleSearchTest::verses = nullptr;

TEST_F(BibleSearchTest, CountsAgreeWithAScanOfEveryVerse)
{
    struct Case {
        const char* query;
        SearchScope scope;
        int book;
        std::function<bool(const Words&)> match;
        int fromBook, toBook;
    };
    const Case cases[] = {
        {"faith hope", SearchScope::WholeBible, 0, [](const Words& w) { return has(w, "faith") && has(w, "hope"); }, 1, 66},
        {"\"the word of the lord\"", SearchScope::WholeBible, 0,
         [](const Words& w) { return hasPhrase(w, {"the", "word", "of", "the", "lord"}); }, 1, 66},
        {"believ*", SearchScope::WholeBible, 0, [](const Words& w) { return hasPrefix(w, "believ"); }, 1, 66},
        {"believ*", SearchScope::NewTestament, 0, [](const Words& w) { return hasPrefix(w, "believ"); }, 40, 66},
        {"believ*", SearchScope::OldTestament, 0, [](const Words& w) { return hasPrefix(w, "believ"); }, 1, 39},
        {"love", SearchScope::Book, 62, [](const Words& w) { return has(w, "love"); }, 62, 62},
        {"the", SearchScope::WholeBible, 0, [](const Words& w) { return has(w, "the"); }, 1, 66},
        {"faith OR hope", SearchScope::WholeBible, 0, [](const Words& w) { return has(w, "faith") || has(w, "hope"); }, 1, 66},
        {"Jesus NOT Christ", SearchScope::WholeBible, 0, [](const Words& w) { return has(w, "jesus") && !has(w, "christ"); }, 1, 66},
        {"LORD (mercy OR grace)", SearchScope::WholeBible, 0,
         [](const Words& w) { return has(w, "lord") && (has(w, "mercy") || has(w, "grace")); }, 1, 66},
        // Supplied words are searched without their italics.
        {"\"darkness was upon\"", SearchScope::WholeBible, 0,
         [](const Words& w) { return hasPhrase(w, {"darkness", "was", "upon"}); }, 1, 66},
    };
    for (const Case& c : cases) {
        const SearchResult result = run(c.query, c.scope, c.book);
        ASSERT_TRUE(result.ok) << c.query << ": " << result.message;
        const int expected = scan(c.match, c.fromBook, c.toBook);
        EXPECT_GT(expected, 0) << c.query;
        EXPECT_EQ(result.count, expected) << c.query;
        EXPECT_EQ(result.hits.size(), static_cast<size_t>(std::min(expected, 200))) << c.query;
        for (const SearchHit& hit : result.hits)
            ASSERT_TRUE(hit.book >= c.fromBook && hit.book <= c.toBook) << c.query;
    }
    EXPECT_GT(run("the").count, 24000);
}

TEST_F(BibleSearchTest, HitsInBibleOrderOrByRelevanceWithMarkedWords)
{
    const SearchResult ordered = run("wept");
    ASSERT_TRUE(ordered.ok);
    ASSERT_FALSE(ordered.hits.empty());
    EXPECT_TRUE(std::is_sorted(ordered.hits.begin(), ordered.hits.end(),
                               [](const SearchHit& a, const SearchHit& b) { return a.verseIndex < b.verseIndex; }));
    const auto jesusWept = std::find_if(ordered.hits.begin(), ordered.hits.end(),
                                        [](const SearchHit& h) { return h.book == 43 && h.chapter == 11 && h.verse == 35; });
    ASSERT_NE(jesusWept, ordered.hits.end());
    EXPECT_EQ(jesusWept->markedText, "Jesus \x01wept\x02.");
    EXPECT_EQ(hitHtml(jesusWept->markedText), "Jesus <b>wept</b>.");

    const SearchResult ranked = run("wept", SearchScope::WholeBible, 0, SearchOrder::Relevance);
    ASSERT_TRUE(ranked.ok);
    EXPECT_EQ(ranked.count, ordered.count);
    // The shortest verse holding the word ranks first.
    EXPECT_EQ(ranked.hits.front().verseIndex, jesusWept->verseIndex);
}

TEST_F(BibleSearchTest, FurtherPagesFollowOnWithoutGapsOrRepeats)
{
    // Pages of 200 read one after another are the hits of one long read, in
    // either order; a further page is not counted again.
    for (const SearchOrder order : {SearchOrder::BibleOrder, SearchOrder::Relevance}) {
        SearchRequest request;
        request.text = "mercy";
        request.order = order;
        request.limit = 1000;
        const SearchResult whole = search->search(request);
        ASSERT_TRUE(whole.ok);
        ASSERT_GT(whole.count, 200);
        ASSERT_EQ(whole.hits.size(), static_cast<size_t>(whole.count));
        std::vector<int> paged;
        request.limit = 200;
        for (request.offset = 0; request.offset < whole.count + 200; request.offset += 200) {
            request.counted = request.offset == 0;
            const SearchResult page = search->search(request);
            ASSERT_TRUE(page.ok) << page.message;
            EXPECT_EQ(page.offset, request.offset);
            EXPECT_EQ(page.count, request.counted ? whole.count : 0);
            for (const SearchHit& hit : page.hits)
                paged.push_back(hit.verseIndex);
        }
        std::vector<int> expected;
        for (const SearchHit& hit : whole.hits)
            expected.push_back(hit.verseIndex);
        EXPECT_EQ(paged, expected) << (order == SearchOrder::Relevance ? "by relevance" : "in Bible order");
    }
}

TEST_F(BibleSearchTest, WhatPeopleTypeIsReadSafely)
{
    // Quotes, stars and other punctuation never reach the index as syntax.
    const std::pair<const char*, const char*> translations[] = {
        {"faith hope", "\"faith\" AND \"hope\""},
        {"\"the word of the lord\"", "\"the word of the lord\""},
        {"believ*", "\"believ\"*"},
        {"love NOT hate", "\"love\" NOT \"hate\""},
        {"a OR (b c)", "\"a\" OR (\"b\" AND \"c\")"},
        {"lord's", "\"lord s\""},
        {"\"unclosed phrase", "\"unclosed phrase\""},
        {"near: NEAR(a b) ^x {col}", "\"near\" AND \"NEAR\" AND (\"a\" AND \"b\") AND \"x\" AND \"col\""},
        {"and or not", "\"and\" AND \"or\" AND \"not\""},
    };
    for (const auto& [text, expression] : translations) {
        const SearchExpression e = translateSearchText(text);
        EXPECT_TRUE(e.ok) << text << ": " << e.error;
        EXPECT_EQ(e.expression, expression) << text;
    }
    const std::pair<const char*, const char*> errors[] = {
        {"faith AND", "Put a word after \"AND\""},
        {"OR hope", "Put a word before \"OR\""},
        {"faith AND OR hope", "Put a word between \"AND\" and \"OR\""},
        {"(faith", "Close the \"(\" with a \")\""},
        {"faith)", "A \")\" has no \"(\" before it"},
        {"faith ()", "Put a word between \"(\" and \")\""},
        {"   ", ""},
        // Signs alone: the reader is told why nothing was searched.
        {"!?* --", "There is no word to search for in !?* --"},
        {" * ", "There is no word to search for in *"},
        {"-", "There is no word to search for in -"},
        {"'", "There is no word to search for in '"},
        {"\\", "There is no word to search for in \\"},
        {"%", "There is no word to search for in %"},
        {"_", "There is no word to search for in _"},
        {"\"\"", "There is no word to search for in \"\""},
        {"**", "There is no word to search for in **"},
        {"( )", "Put a word between \"(\" and \")\""},
    };
    for (const auto& [text, message] : errors) {
        const SearchResult result = run(text);
        EXPECT_FALSE(result.ok) << text;
        EXPECT_EQ(result.message, message) << text;
    }
}

} // namespace
} // namespace kovara::core
