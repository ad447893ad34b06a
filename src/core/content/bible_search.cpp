#include "core/content/bible_search.h"

#include "core/base/exception.h"
#include "core/base/translation.h"
#include "core/db/sqlite_db.h"

#include <algorithm>
#include <utility>

namespace kovara::core {
namespace {

const char* const kHowTo = QT_TRANSLATE_NOOP("kovara::core::BibleSearch",
    "Search for words, \"an exact phrase\" in quotes, or the start of a word with * (believ*); "
    "put AND, OR or NOT in capitals between them");

bool isWordByte(char c)
{
    const auto u = static_cast<unsigned char>(c);
    return u >= 0x80 || (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '\'';
}

// A quoted string for the index: inner quotes doubled.
std::string quoted(const std::string& text)
{
    std::string out = "\"";
    for (char c : text) {
        if (c == '"')
            out += '"';
        out += c;
    }
    return out + "\"";
}

// Words of a phrase as the index sees them: runs of word bytes (apostrophes
// excepted) joined by blanks. Empty when there are none.
std::string phraseWords(const std::string& text)
{
    std::string out;
    bool inWord = false;
    for (char c : text) {
        if (isWordByte(c) && c != '\'') {
            if (!inWord && !out.empty())
                out += ' ';
            out += c;
            inWord = true;
        } else {
            inWord = false; // the index splits "lord's" into "lord" and "s" too
        }
    }
    return out;
}

} // namespace

SearchExpression translateSearchText(const std::string& text)
{
    SearchExpression result;
    std::string expr;
    bool afterOperand = false;
    std::string pendingOperator; // a binary operator still waiting for its right side
    int depth = 0;
    bool anyOperand = false;
    auto fail = [&](std::string message) {
        result = {};
        result.error = std::move(message);
        return result;
    };
    auto addOperand = [&](const std::string& operand) {
        if (afterOperand && pendingOperator.empty())
            expr += " AND ";
        else if (!pendingOperator.empty())
            expr += " " + pendingOperator + " ";
        pendingOperator.clear();
        expr += operand;
        afterOperand = true;
        anyOperand = true;
    };

    size_t i = 0;
    while (i < text.size()) {
        const char c = text[i];
        if (c == '"') {
            const size_t close = text.find('"', i + 1);
            const std::string inner =
                text.substr(i + 1, close == std::string::npos ? std::string::npos : close - i - 1);
            i = close == std::string::npos ? text.size() : close + 1;
            const std::string words = phraseWords(inner);
            if (!words.empty()) {
                const bool prefix = i < text.size() && text[i] == '*';
                if (prefix)
                    ++i;
                addOperand(quoted(words) + (prefix ? "*" : ""));
            }
        } else if (c == '(') {
            if (afterOperand && pendingOperator.empty())
                expr += " AND ";
            else if (!pendingOperator.empty())
                expr += " " + pendingOperator + " ";
            pendingOperator.clear();
            expr += "(";
            afterOperand = false;
            ++depth;
            ++i;
        } else if (c == ')') {
            if (depth == 0)
                return fail(translatedText("kovara::core::BibleSearch", "A \")\" has no \"(\" before it"));
            if (!pendingOperator.empty())
                return fail(withArgs(translatedText("kovara::core::BibleSearch", "Put a word after \"%1\""), pendingOperator));
            if (!afterOperand)
                return fail(translatedText("kovara::core::BibleSearch", "Put a word between \"(\" and \")\""));
            expr += ")";
            --depth;
            ++i;
        } else if (isWordByte(c) && c != '\'') {
            size_t end = i;
            while (end < text.size() && isWordByte(text[end]))
                ++end;
            const std::string word = text.substr(i, end - i);
            i = end;
            if (word == "AND" || word == "OR" || word == "NOT") {
                if (!pendingOperator.empty())
                    return fail(withArgs(translatedText("kovara::core::BibleSearch", "Put a word between \"%1\" and \"%2\""), pendingOperator, word));
                if (!afterOperand)
                    return fail(withArgs(translatedText("kovara::core::BibleSearch", "Put a word before \"%1\""), word));
                pendingOperator = word;
                continue;
            }
            const bool prefix = i < text.size() && text[i] == '*';
            if (prefix)
                ++i;
            const std::string words = phraseWords(word);
            if (!words.empty())
                addOperand(quoted(words) + (prefix ? "*" : ""));
        } else {
            ++i; // punctuation and blanks separate words
        }
    }
    if (!pendingOperator.empty())
        return fail(withArgs(translatedText("kovara::core::BibleSearch", "Put a word after \"%1\""), pendingOperator));
    if (depth > 0)
        return fail(translatedText("kovara::core::BibleSearch", "Close the \"(\" with a \")\""));
    if (!anyOperand) {
        // A blank field asks for nothing; signs alone ("*", "%", "\"\"")
        // were meant as a search, and the reader is told why none ran.
        const size_t from = text.find_first_not_of(" \t\r\n");
        if (from == std::string::npos)
            return result;
        const size_t to = text.find_last_not_of(" \t\r\n");
        return fail(withArgs(translatedText("kovara::core::BibleSearch", "There is no word to search for in %1"),
                             text.substr(from, to - from + 1)));
    }
    result.ok = true;
    result.expression = expr;
    return result;
}

BibleSearch::BibleSearch(const std::string& fileName) : db_(fileName, SQLITE_OPEN_READONLY)
{
    if (!tableExists(db_.get(), "verseSearch"))
        throw Exception(translatedText("kovara::core::BibleSearch", "This Bible has no search index"));
}

void BibleSearch::cancel() const
{
    if (db_)
        sqlite3_interrupt(db_.get());
}

SearchResult BibleSearch::search(const SearchRequest& request) const
{
    SearchResult result;
    const SearchExpression expression = translateSearchText(request.text);
    if (!expression.ok) {
        result.message = expression.error;
        return result;
    }

    int first = 1, last = 1 << 30;
    if (request.scope != SearchScope::WholeBible) {
        int fromBook = 1, toBook = 39;
        if (request.scope == SearchScope::NewTestament)
            fromBook = 40, toBook = 66;
        else if (request.scope == SearchScope::Book)
            fromBook = toBook = request.book;
        Statement range(db_.get(), "SELECT min(verseIndex), max(verseIndex) FROM bibleText WHERE book BETWEEN ? AND ?;");
        range.run([&] {
            range.bindInt(1, fromBook);
            range.bindInt(2, toBook);
            if (range.step() == SQLITE_ROW && sqlite3_column_type(range.handle(), 0) != SQLITE_NULL) {
                first = range.columnInt(0);
                last = range.columnInt(1);
            } else {
                first = 1, last = 0;
            }
        });
    }

    result.offset = request.offset;
    try {
        if (request.counted) {
        Statement count(db_.get(),
                        "SELECT count(*) FROM verseSearch WHERE verseSearch MATCH ?1 AND rowid BETWEEN ?2 AND ?3;");
        count.run([&] {
            count.bindText(1, expression.expression);
            count.bindInt(2, first);
            count.bindInt(3, last);
            if (count.step() == SQLITE_ROW)
                result.count = count.columnInt(0);
        });
        }
        if ((result.count > 0 || !request.counted) && request.limit > 0) {
            const std::string sql = std::string("SELECT rowid, highlight(verseSearch, 0, char(1), char(2)) FROM verseSearch "
                                                "WHERE verseSearch MATCH ?1 AND rowid BETWEEN ?2 AND ?3 ORDER BY ") +
                                    (request.order == SearchOrder::Relevance ? "rank" : "rowid") + " LIMIT ?4 OFFSET ?5;";
            Statement rows(db_.get(), sql);
            Statement where(db_.get(), "SELECT book, chapter, verse FROM bibleText WHERE verseIndex = ?;");
            where.run([&] {
                rows.run([&] {
                    rows.bindText(1, expression.expression);
                    rows.bindInt(2, first);
                    rows.bindInt(3, last);
                    rows.bindInt(4, request.limit);
                    rows.bindInt(5, std::max(request.offset, 0));
                    while (rows.step() == SQLITE_ROW) {
                        SearchHit hit;
                        hit.verseIndex = rows.columnInt(0);
                        hit.markedText = rows.columnText(1);
                        sqlite3_reset(where.handle());
                        where.bindInt(1, hit.verseIndex);
                        if (where.step() == SQLITE_ROW) {
                            hit.book = where.columnInt(0);
                            hit.chapter = where.columnInt(1);
                            hit.verse = where.columnInt(2);
                        }
                        result.hits.push_back(std::move(hit));
                    }
                });
            });
        }
    } catch (const SqliteError&) {
        const int code = sqlite3_errcode(db_.get());
        result = {};
        if (code == SQLITE_INTERRUPT) {
            result.cancelled = true;
            return result;
        }
        if (code != SQLITE_ERROR)
            throw;
        // The index refused the query: say how to search, not what the
        // engine said.
        result.message = translatedText("kovara::core::BibleSearch", kHowTo);
        return result;
    }
    result.ok = true;
    return result;
}

std::string hitHtml(const std::string& markedText)
{
    std::string out;
    out.reserve(markedText.size() + 32);
    for (char c : markedText) {
        switch (c) {
        case '&': out += "&amp;"; break;
        case '<': out += "&lt;"; break;
        case '>': out += "&gt;"; break;
        case '"': out += "&quot;"; break;
        case kHitStart: out += "<b>"; break;
        case kHitEnd: out += "</b>"; break;
        default: out += c;
        }
    }
    return out;
}

} // namespace kovara::core
