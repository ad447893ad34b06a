#include "content/kova_bible.h"

#include "base/delimited.h"

#include <exception>
#include <sys/stat.h>

namespace kovara {

std::vector<TVerseRun> ParseVerseSpec(const std::string& spec)
{
    std::vector<TVerseRun> runs;
    for (const std::string& run : SplitDelimited(spec, ',')) {
        const std::vector<std::string> ends = SplitDelimited(run, '-');
        TVerseRun r;
        r.first = StrToInt(ends.empty() ? std::string() : ends[0]);
        r.last = ends.size() > 1 ? StrToInt(ends[1]) : r.first;
        runs.push_back(r);
    }
    return runs;
}

namespace {
bool FileExists(const std::string& fileName)
{
    struct stat info {};
    return ::stat(fileName.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}
} // namespace

TKOVABible::TKOVABible(const std::string& fileName, const std::string& title, const std::string& abbreviation)
    : title_(title), abbreviation_(abbreviation), chapterLengths_(kMaxBooks + 1)
{
    if (!FileExists(fileName))
        throw Exception(Format("Bible file not found: %s", fileName));
    for (auto& book : chapterLengths_)
        book.fill(0);
    // Open read-only: the store never writes, and a wrong path must not leave
    // an empty database behind.
    const int rc = sqlite3_open_v2(fileName.c_str(), &db_, SQLITE_OPEN_READONLY, nullptr);
    try {
        CheckResult(rc, db_);
        LoadChapterLengths();
    } catch (...) {
        sqlite3_close(db_);
        db_ = nullptr;
        throw;
    }
}

TKOVABible::~TKOVABible()
{
    if (db_)
        sqlite3_close(db_);
}

TKOVABible::ReadSession::ReadSession(const TKOVABible& bible) : bible_(bible)
{
    if (bible_.readSessions_ == 0)
        ExecSQL(bible_.db_, "BEGIN;");
    ++bible_.readSessions_;
}

TKOVABible::ReadSession::~ReadSession()
{
    if (--bible_.readSessions_ == 0) {
        try {
            ExecSQL(bible_.db_, "COMMIT;");
        } catch (const std::exception&) {
            // A read transaction has nothing to lose; the next query retries
            // the lock on its own.
        }
    }
}

void TKOVABible::LoadChapterLengths()
{
    QueryRows(db_, "SELECT bookIndex,chapterLengths FROM bookInfo;",
              Format("TKOVABible.LoadChapterLengths: Unable to assign statement to db %s", abbreviation_),
              [&](Statement& st) {
                  const int book = st.ColumnInt(0);
                  if (book < 1 || book > kMaxBooks)
                      throw Exception(Format("TKOVABible.LoadChapterLengths Error: book number %d is outside 1 to %d",
                                             book, kMaxBooks));
                  const std::vector<std::string> lengths = SplitDelimited(st.ColumnText(1), ',');
                  if (lengths.size() > static_cast<std::size_t>(kMaxChapters))
                      throw Exception(
                          Format("TKOVABible.LoadChapterLengths Error: book %d has %d chapters, more than %d", book,
                                 static_cast<int>(lengths.size()), kMaxChapters));
                  for (std::size_t n = 0; n < lengths.size(); ++n)
                      chapterLengths_[book][n + 1] = StrToInt(lengths[n]);
              });
}

TVerseData TKOVABible::GetAllVerseData(int verseIndex) const
{
    TVerseData data;
    const bool found = QueryRow(
        db_, Format("SELECT book,chapter,verse,paraMark,verseText FROM bibleText WHERE verseIndex=%d;", verseIndex),
        Format("TKOVABible.GetAllVerseData: Unable to assign statement to db %s for %d", abbreviation_, verseIndex),
        [&](Statement& st) {
            data.book = st.ColumnInt(0);
            data.chapter = st.ColumnInt(1);
            data.verse = st.ColumnInt(2);
            data.paraMark = st.ColumnInt(3) != 0;
            data.verseText = st.ColumnText(4);
        });
    if (!found)
        throw Exception(Format("TKOVABible.GetAllVerseData Error: no entry returned for %d", verseIndex));
    return data;
}

std::string TKOVABible::GetShortBookName(int book) const
{
    std::string name = Format("TKOVABible.GetShortBookName Error: no text found for %d", book);
    QueryRow(db_, Format("SELECT shortName FROM bookInfo WHERE bookIndex=%d;", book),
             Format("TKOVABible.GetShortBookName: Unable to assign statement to db %s for %d", abbreviation_, book),
             [&](Statement& st) { name = st.ColumnText(0); });
    return name;
}

std::string TKOVABible::GetLongBookName(int book) const
{
    std::string name = Format("TKOVABible.GetLongBookName Error: no text found for %d", book);
    QueryRow(db_, Format("SELECT longName FROM bookInfo WHERE bookIndex=%d;", book),
             Format("TKOVABible.GetLongBookName: Unable to assign statement to db %s for %d", abbreviation_, book),
             [&](Statement& st) { name = st.ColumnText(0); });
    return name;
}

TVerseRef TKOVABible::GetVerseReference(int verseIndex) const
{
    TVerseRef ref;
    const bool found = QueryRow(
        db_, Format("SELECT book,chapter,verse FROM bibleText WHERE verseIndex=%d;", verseIndex),
        Format("TKOVABible.GetVerseReference: Unable to assign statement to db %s for %d", abbreviation_, verseIndex),
        [&](Statement& st) {
            ref.book = st.ColumnInt(0);
            ref.chapter = st.ColumnInt(1);
            ref.verse = st.ColumnInt(2);
        });
    if (!found)
        throw Exception(Format("TKOVABible.GetVerseReference Error: no entry returned for %d", verseIndex));
    return ref;
}

int TKOVABible::GetVerseIndex(int book, int chapter, int verse) const
{
    int index = 0;
    const bool found =
        QueryRow(db_,
                 Format("SELECT verseIndex FROM bibleText WHERE book=%d AND chapter=%d AND verse=%d;", book, chapter,
                        verse),
                 Format("TKOVABible.GetVerseIndex: Unable to assign statement to db %s for %d:%d:%d", abbreviation_,
                        book, chapter, verse),
                 [&](Statement& st) { index = st.ColumnInt(0); });
    if (!found)
        throw Exception(Format("TKOVABible.GetVerseIndex Error: no entry found for %d:%d:%d", book, chapter, verse));
    return index;
}

int TKOVABible::GetChapterCount(int book) const
{
    int count = 0;
    QueryRow(db_, Format("SELECT numChapters FROM bookInfo WHERE bookIndex=%d;", book),
             Format("TKOVABible.GetChapterCount: Unable to assign statement to db %s for %d", abbreviation_, book),
             [&](Statement& st) { count = st.ColumnInt(0); });
    return count;
}

int TKOVABible::ChapterLengths(int book, int chapter) const
{
    if (book < 1 || book > kMaxBooks || chapter < 1 || chapter > kMaxChapters)
        return 0;
    return chapterLengths_[book][chapter];
}

std::string TKOVABible::GetReferenceText(const std::string& verseSpec, bool useShortNames) const
{
    std::string text;
    for (const TVerseRun& run : ParseVerseSpec(verseSpec)) {
        if (!text.empty())
            text += "; ";
        const TVerseRef a = GetVerseReference(run.first);
        const TVerseRef b = GetVerseReference(run.last);
        const int lastChapterLength = ChapterLengths(b.book, b.chapter);
        const std::string n1 = useShortNames ? GetShortBookName(a.book) : GetLongBookName(a.book);
        const std::string n2 = useShortNames ? GetShortBookName(b.book) : GetLongBookName(b.book);
        const bool wholeChapters = a.verse == 1 && b.verse == lastChapterLength;
        const bool sameBook = a.book == b.book;
        const bool sameChapter = sameBook && a.chapter == b.chapter;
        if (wholeChapters && sameChapter)
            text += Format("%s %d", n1, a.chapter);
        else if (wholeChapters && sameBook)
            text += Format("%s %d - %d", n1, a.chapter, b.chapter);
        else if (wholeChapters)
            text += Format("%s %d - %s %d", n1, a.chapter, n2, b.chapter);
        else if (sameChapter)
            text += Format("%s %d:%d-%d", n1, a.chapter, a.verse, b.verse);
        else if (sameBook)
            text += Format("%s %d:%d - %d:%d", n1, a.chapter, a.verse, b.chapter, b.verse);
        else
            text += Format("%s %d:%d - %s %d:%d", n1, a.chapter, a.verse, n2, b.chapter, b.verse);
    }
    return text;
}

} // namespace kovara
