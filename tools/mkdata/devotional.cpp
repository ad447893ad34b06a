#include "devotional.h"

#include "output_db.h"

#include "core/base/exception.h"
#include "core/content/bible_store.h"
#include "core/content/reference_parser.h"

#include <fstream>
#include <map>
#include <vector>

namespace kovara::mkdata {

using namespace kovara::core;

namespace {

const char* const kMonthNames[12] = {"January", "February", "March",     "April",   "May",      "June",
                                     "July",    "August",   "September", "October", "November", "December"};
const int kDaysInMonth[12] = {31, 29, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31}; // a leap year

struct DayEntry {
    int month = 0;
    int day = 0;
    std::string text; // the lines of the entry joined by blanks
};

// The entries of the list, keyed by month * 100 + day (so in calendar order).
std::map<int, DayEntry> readDailyList(const std::string& path)
{
    std::ifstream in(path);
    if (!in)
        throw Exception(format("Unable to read %s", path));
    std::map<int, DayEntry> entries;
    std::string line;
    int lineNo = 0;
    while (std::getline(in, line)) {
        ++lineNo;
        if (trim(line).empty())
            continue;
        if (line.size() < 5 || line[0] != 'R')
            throw Exception(format("%s:%d: a line must start with Rmmdd", path, lineNo));
        const int month = strToInt(line.substr(1, 2));
        const int day = strToInt(line.substr(3, 2));
        if (month < 1 || month > 12 || day < 1 || day > kDaysInMonth[month - 1])
            throw Exception(format("%s:%d: no such day %s", path, lineNo, line.substr(0, 5)));
        DayEntry& e = entries[month * 100 + day];
        e.month = month;
        e.day = day;
        e.text += (e.text.empty() ? "" : " ") + trim(line.substr(5));
    }
    return entries;
}

std::vector<std::string> splitAny(const std::string& text, const std::string& delimiters)
{
    std::vector<std::string> pieces;
    std::string piece;
    for (const char c : text) {
        if (delimiters.find(c) != std::string::npos) {
            pieces.push_back(trim(piece));
            piece.clear();
        } else {
            piece += c;
        }
    }
    pieces.push_back(trim(piece));
    return pieces;
}

// The Bible's book number for a name as the list writes it ("Psalm",
// "I Corinthians", "1 Corinthians", "II Timothy").
int bookNumber(const BibleStore& bible, std::string name)
{
    if (name.rfind("III ", 0) == 0)
        name = "3 " + name.substr(4);
    else if (name.rfind("II ", 0) == 0)
        name = "2 " + name.substr(3);
    else if (name.rfind("I ", 0) == 0)
        name = "1 " + name.substr(2);
    if (name == "Psalm")
        name = "Psalms";
    for (int book = 1; book <= BibleStore::kMaxBooks; ++book)
        if (bible.longBookName(book) == name)
            return book;
    return 0;
}

struct Quote {
    std::string reference; // as shown, with the Bible's book name
    std::vector<VerseRef> verses;
};

// "Matthew 28:5,6; 24:44", "Luke 12:22-24; 27-29; 31.": a book, then verses
// and ranges separated by commas or semicolons; "c:v" starts a chapter and a
// bare number stays in the chapter before it.
Quote parseReference(const BibleStore& bible, const std::string& text)
{
    std::string ref = trim(text);
    while (!ref.empty() && ref.back() == '.')
        ref.pop_back();
    // The book name ends at the last blank before the first "chapter:".
    const std::size_t colon = ref.find(':');
    const std::size_t blank = colon == std::string::npos ? std::string::npos : ref.rfind(' ', colon);
    if (blank == std::string::npos)
        throw Exception(format("Unreadable reference '%s'", text));
    const int book = bookNumber(bible, trim(ref.substr(0, blank)));
    if (book == 0)
        throw Exception(format("Unknown book in reference '%s'", text));
    const std::string list = ref.substr(blank + 1);

    Quote q;
    q.reference = bible.longBookName(book) + " " + list;
    int chapter = 0;
    for (std::string item : splitAny(list, ",;")) {
        const std::size_t c = item.find(':');
        if (c != std::string::npos) {
            chapter = strToInt(item.substr(0, c));
            item = item.substr(c + 1);
        }
        if (chapter == 0)
            throw Exception(format("No chapter in reference '%s'", text));
        const std::size_t dash = item.find('-');
        const int first = strToInt(trim(item.substr(0, dash)));
        const int last = dash == std::string::npos ? first : strToInt(trim(item.substr(dash + 1)));
        for (int verse = first; verse <= last; ++verse) {
            bible.verseIndex(book, chapter, verse); // raises for a verse the Bible does not have
            q.verses.push_back({book, chapter, verse});
        }
    }
    return q;
}

std::string entryPage(const BibleStore& bible, const DayEntry& e)
{
    const std::size_t quoteEnd = e.text.rfind('"');
    if (quoteEnd == std::string::npos)
        throw Exception(format("No quoted verse for %d-%d", e.month, e.day));
    const Quote q = parseReference(bible, e.text.substr(quoteEnd + 1));

    std::string page = format("<h3 align=\"center\">%s %d</h3>\n", kMonthNames[e.month - 1], e.day);
    // The reference links to its chapter on the Bible page, with the verses
    // that run on from the first one highlighted there.
    if (q.verses.empty())
        throw Exception(format("No verses in reference '%s'", q.reference));
    const VerseRef& first = q.verses.front();
    int lastVerse = first.verse;
    for (const VerseRef& v : q.verses)
        if (v.book == first.book && v.chapter == first.chapter && v.verse == lastVerse + 1)
            lastVerse = v.verse;
    const std::string link = passageLink({first.book, first.chapter, first.verse, first.chapter, lastVerse});
    page += format("<p align=\"center\"><font size=\"+1\"><b><a href=\"%s\">%s</a></b></font></p>\n<p>", link,
                   q.reference);
    const VerseRef* previous = nullptr;
    for (const VerseRef& v : q.verses) {
        if (previous) {
            const bool next = v.chapter == previous->chapter && v.verse == previous->verse + 1;
            page += next ? " " : " &hellip; ";
        }
        const std::string text = bible.allVerseData(bible.verseIndex(v.book, v.chapter, v.verse)).verseText;
        page += format("<font size=\"-1\"><sup>%d</sup></font>&nbsp;%s", v.verse, text);
        previous = &v;
    }
    page += "</p>\n";
    page += format("<p align=\"right\"><font size=\"-1\"><i>%s</i></font></p>\n", bible.title());
    return page;
}

} // namespace

void buildDevotional(const std::string& versePath, const std::string& biblePath, const std::string& outPath)
{
    const std::map<int, DayEntry> entries = readDailyList(versePath);
    for (int month = 1; month <= 12; ++month)
        for (int day = 1; day <= kDaysInMonth[month - 1]; ++day)
            if (!entries.count(month * 100 + day))
                throw Exception(format("%s has no entry for %d-%d", versePath, month, day));

    const BibleStore bible(biblePath, "King James Version", "KJV");
    OutputDatabase out(outPath);
    execSQL(out.db(), "CREATE TABLE faithsCheckbook (entryIndex INTEGER PRIMARY KEY, month INTEGER NOT NULL, "
                      "day INTEGER NOT NULL, devotionalText TEXT);"
                      "CREATE UNIQUE INDEX faithsCheckbookDay ON faithsCheckbook (month, day);");
    Statement st(out.db(), "INSERT INTO faithsCheckbook VALUES (?,?,?,?);");
    st.run([&] {
        int index = 0;
        for (const auto& [key, e] : entries) {
            st.bindInt(1, ++index);
            st.bindInt(2, e.month);
            st.bindInt(3, e.day);
            st.bindText(4, entryPage(bible, e));
            st.step();
            sqlite3_reset(st.handle());
        }
    });
    out.finish();
}

} // namespace kovara::mkdata
