#include "devotional.h"

#include "output_db.h"

#include "base/exception.h"
#include "content/kova_bible.h"

#include <fstream>
#include <map>
#include <vector>

namespace kovara::mkdata {

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
std::map<int, DayEntry> ReadDailyList(const std::string& path)
{
    std::ifstream in(path);
    if (!in)
        throw Exception(Format("Unable to read %s", path));
    std::map<int, DayEntry> entries;
    std::string line;
    int lineNo = 0;
    while (std::getline(in, line)) {
        ++lineNo;
        if (Trim(line).empty())
            continue;
        if (line.size() < 5 || line[0] != 'R')
            throw Exception(Format("%s:%d: a line must start with Rmmdd", path, lineNo));
        const int month = StrToInt(line.substr(1, 2));
        const int day = StrToInt(line.substr(3, 2));
        if (month < 1 || month > 12 || day < 1 || day > kDaysInMonth[month - 1])
            throw Exception(Format("%s:%d: no such day %s", path, lineNo, line.substr(0, 5)));
        DayEntry& e = entries[month * 100 + day];
        e.month = month;
        e.day = day;
        e.text += (e.text.empty() ? "" : " ") + Trim(line.substr(5));
    }
    return entries;
}

std::vector<std::string> SplitAny(const std::string& text, const std::string& delimiters)
{
    std::vector<std::string> pieces;
    std::string piece;
    for (const char c : text) {
        if (delimiters.find(c) != std::string::npos) {
            pieces.push_back(Trim(piece));
            piece.clear();
        } else {
            piece += c;
        }
    }
    pieces.push_back(Trim(piece));
    return pieces;
}

// The Bible's book number for a name as the list writes it ("Psalm",
// "I Corinthians", "1 Corinthians", "II Timothy").
int BookNumber(const TKOVABible& bible, std::string name)
{
    if (name.rfind("III ", 0) == 0)
        name = "3 " + name.substr(4);
    else if (name.rfind("II ", 0) == 0)
        name = "2 " + name.substr(3);
    else if (name.rfind("I ", 0) == 0)
        name = "1 " + name.substr(2);
    if (name == "Psalm")
        name = "Psalms";
    for (int book = 1; book <= TKOVABible::kMaxBooks; ++book)
        if (bible.GetLongBookName(book) == name)
            return book;
    return 0;
}

struct Quote {
    std::string reference; // as shown, with the Bible's book name
    std::vector<TVerseRef> verses;
};

// "Matthew 28:5,6; 24:44", "Luke 12:22-24; 27-29; 31.": a book, then verses
// and ranges separated by commas or semicolons; "c:v" starts a chapter and a
// bare number stays in the chapter before it.
Quote ParseReference(const TKOVABible& bible, const std::string& text)
{
    std::string ref = Trim(text);
    while (!ref.empty() && ref.back() == '.')
        ref.pop_back();
    // The book name ends at the last blank before the first "chapter:".
    const std::size_t colon = ref.find(':');
    const std::size_t blank = colon == std::string::npos ? std::string::npos : ref.rfind(' ', colon);
    if (blank == std::string::npos)
        throw Exception(Format("Unreadable reference '%s'", text));
    const int book = BookNumber(bible, Trim(ref.substr(0, blank)));
    if (book == 0)
        throw Exception(Format("Unknown book in reference '%s'", text));
    const std::string list = ref.substr(blank + 1);

    Quote q;
    q.reference = bible.GetLongBookName(book) + " " + list;
    int chapter = 0;
    for (std::string item : SplitAny(list, ",;")) {
        const std::size_t c = item.find(':');
        if (c != std::string::npos) {
            chapter = StrToInt(item.substr(0, c));
            item = item.substr(c + 1);
        }
        if (chapter == 0)
            throw Exception(Format("No chapter in reference '%s'", text));
        const std::size_t dash = item.find('-');
        const int first = StrToInt(Trim(item.substr(0, dash)));
        const int last = dash == std::string::npos ? first : StrToInt(Trim(item.substr(dash + 1)));
        for (int verse = first; verse <= last; ++verse) {
            bible.GetVerseIndex(book, chapter, verse); // raises for a verse the Bible does not have
            q.verses.push_back({book, chapter, verse});
        }
    }
    return q;
}

std::string EntryPage(const TKOVABible& bible, const DayEntry& e)
{
    const std::size_t quoteEnd = e.text.rfind('"');
    if (quoteEnd == std::string::npos)
        throw Exception(Format("No quoted verse for %d-%d", e.month, e.day));
    const Quote q = ParseReference(bible, e.text.substr(quoteEnd + 1));

    std::string page = Format("<h3 align=\"center\">%s %d</h3>\n", kMonthNames[e.month - 1], e.day);
    page += Format("<p align=\"center\"><font size=\"+1\"><b>%s</b></font></p>\n<p>", q.reference);
    const TVerseRef* previous = nullptr;
    for (const TVerseRef& v : q.verses) {
        if (previous) {
            const bool next = v.chapter == previous->chapter && v.verse == previous->verse + 1;
            page += next ? " " : " &hellip; ";
        }
        const std::string text = bible.GetAllVerseData(bible.GetVerseIndex(v.book, v.chapter, v.verse)).verseText;
        page += Format("<font size=\"-1\"><sup>%d</sup></font>&nbsp;%s", v.verse, text);
        previous = &v;
    }
    page += "</p>\n";
    page += Format("<p align=\"right\"><font size=\"-1\"><i>%s</i></font></p>\n", bible.Title());
    return page;
}

} // namespace

void BuildDevotional(const std::string& versePath, const std::string& biblePath, const std::string& outPath)
{
    const std::map<int, DayEntry> entries = ReadDailyList(versePath);
    for (int month = 1; month <= 12; ++month)
        for (int day = 1; day <= kDaysInMonth[month - 1]; ++day)
            if (!entries.count(month * 100 + day))
                throw Exception(Format("%s has no entry for %d-%d", versePath, month, day));

    const TKOVABible bible(biblePath, "King James Version", "KJV");
    OutputDatabase out(outPath);
    ExecSQL(out.Db(), "CREATE TABLE faithsCheckbook (entryIndex INTEGER PRIMARY KEY, month INTEGER NOT NULL, "
                      "day INTEGER NOT NULL, devotionalText TEXT);"
                      "CREATE UNIQUE INDEX faithsCheckbookDay ON faithsCheckbook (month, day);");
    Statement st(out.Db(), "INSERT INTO faithsCheckbook VALUES (?,?,?,?);");
    st.Run([&] {
        int index = 0;
        for (const auto& [key, e] : entries) {
            st.BindInt(1, ++index);
            st.BindInt(2, e.month);
            st.BindInt(3, e.day);
            st.BindText(4, EntryPage(bible, e));
            st.Step();
            sqlite3_reset(st.Handle());
        }
    });
    out.Finish();
}

} // namespace kovara::mkdata
