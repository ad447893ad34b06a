#include "core/content/bible_store.h"

#include "core/base/delimited.h"
#include "core/base/files.h"

#include <exception>

namespace kovara::core {

std::vector<VerseRun> parseVerseSpec(const std::string& spec)
{
    std::vector<VerseRun> runs;
    for (const std::string& run : splitDelimited(spec, ',')) {
        const std::vector<std::string> ends = splitDelimited(run, '-');
        VerseRun r;
        r.first = strToInt(ends.empty() ? std::string() : ends[0]);
        r.last = ends.size() > 1 ? strToInt(ends[1]) : r.first;
        runs.push_back(r);
    }
    return runs;
}

BibleStore::BibleStore(const std::string& fileName, const std::string& title, const std::string& abbreviation)
    : title_(title), abbreviation_(abbreviation), chapterLengths_(kMaxBooks + 1)
{
    if (!fileExists(fileName))
        throw Exception(format("Bible file not found: %s", fileName));
    for (auto& book : chapterLengths_)
        book.fill(0);
    // Open read-only: the store never writes, and a wrong path must not leave
    // an empty database behind. A failure below unwinds db_, which closes the
    // file again.
    db_ = Database(fileName, SQLITE_OPEN_READONLY);
    loadChapterLengths();
}

BibleStore::~BibleStore() = default;

void BibleStore::close()
{
    db_.close();
}

BibleStore::ReadSession::ReadSession(const BibleStore& bible) : bible_(bible)
{
    if (bible_.readSessions_ == 0)
        execSQL(bible_.db_.get(), "BEGIN;");
    ++bible_.readSessions_;
}

BibleStore::ReadSession::~ReadSession()
{
    if (--bible_.readSessions_ == 0) {
        try {
            execSQL(bible_.db_.get(), "COMMIT;");
        } catch (const std::exception&) {
            // A read transaction has nothing to lose; the next query retries
            // the lock on its own.
        }
    }
}

void BibleStore::loadChapterLengths()
{
    queryRows(db_.get(), "SELECT bookIndex,chapterLengths FROM bookInfo;",
              format("BibleStore::loadChapterLengths: Unable to assign statement to db %s", abbreviation_),
              [&](Statement& st) {
                  const int book = st.columnInt(0);
                  if (book < 1 || book > kMaxBooks)
                      throw Exception(format("BibleStore::loadChapterLengths Error: book number %d is outside 1 to %d",
                                             book, kMaxBooks));
                  const std::vector<std::string> lengths = splitDelimited(st.columnText(1), ',');
                  if (lengths.size() > static_cast<std::size_t>(kMaxChapters))
                      throw Exception(
                          format("BibleStore::loadChapterLengths Error: book %d has %d chapters, more than %d", book,
                                 static_cast<int>(lengths.size()), kMaxChapters));
                  for (std::size_t n = 0; n < lengths.size(); ++n)
                      chapterLengths_[book][n + 1] = strToInt(lengths[n]);
              });
}

VerseData BibleStore::allVerseData(int verseIndex) const
{
    VerseData data;
    const bool found = queryRow(
        db_.get(),
        format("SELECT book,chapter,verse,paraMark,verseText FROM bibleText WHERE verseIndex=%d;", verseIndex),
        format("BibleStore::allVerseData: Unable to assign statement to db %s for %d", abbreviation_, verseIndex),
        [&](Statement& st) {
            data.book = st.columnInt(0);
            data.chapter = st.columnInt(1);
            data.verse = st.columnInt(2);
            data.paraMark = st.columnInt(3) != 0;
            data.verseText = st.columnText(4);
        });
    if (!found)
        throw Exception(format("BibleStore::allVerseData Error: no entry returned for %d", verseIndex));
    return data;
}

std::string BibleStore::shortBookName(int book) const
{
    std::string name = format("BibleStore::shortBookName Error: no text found for %d", book);
    queryRow(db_.get(), format("SELECT shortName FROM bookInfo WHERE bookIndex=%d;", book),
             format("BibleStore::shortBookName: Unable to assign statement to db %s for %d", abbreviation_, book),
             [&](Statement& st) { name = st.columnText(0); });
    return name;
}

std::string BibleStore::longBookName(int book) const
{
    std::string name = format("BibleStore::longBookName Error: no text found for %d", book);
    queryRow(db_.get(), format("SELECT longName FROM bookInfo WHERE bookIndex=%d;", book),
             format("BibleStore::longBookName: Unable to assign statement to db %s for %d", abbreviation_, book),
             [&](Statement& st) { name = st.columnText(0); });
    return name;
}

VerseRef BibleStore::verseReference(int verseIndex) const
{
    VerseRef ref;
    const bool found = queryRow(
        db_.get(), format("SELECT book,chapter,verse FROM bibleText WHERE verseIndex=%d;", verseIndex),
        format("BibleStore::verseReference: Unable to assign statement to db %s for %d", abbreviation_, verseIndex),
        [&](Statement& st) {
            ref.book = st.columnInt(0);
            ref.chapter = st.columnInt(1);
            ref.verse = st.columnInt(2);
        });
    if (!found)
        throw Exception(format("BibleStore::verseReference Error: no entry returned for %d", verseIndex));
    return ref;
}

int BibleStore::verseIndex(int book, int chapter, int verse) const
{
    int index = 0;
    const bool found =
        queryRow(db_.get(),
                 format("SELECT verseIndex FROM bibleText WHERE book=%d AND chapter=%d AND verse=%d;", book, chapter,
                        verse),
                 format("BibleStore::verseIndex: Unable to assign statement to db %s for %d:%d:%d", abbreviation_,
                        book, chapter, verse),
                 [&](Statement& st) { index = st.columnInt(0); });
    if (!found)
        throw Exception(format("BibleStore::verseIndex Error: no entry found for %d:%d:%d", book, chapter, verse));
    return index;
}

int BibleStore::chapterCount(int book) const
{
    int count = 0;
    queryRow(db_.get(), format("SELECT numChapters FROM bookInfo WHERE bookIndex=%d;", book),
             format("BibleStore::chapterCount: Unable to assign statement to db %s for %d", abbreviation_, book),
             [&](Statement& st) { count = st.columnInt(0); });
    return count;
}

int BibleStore::chapterLengths(int book, int chapter) const
{
    if (book < 1 || book > kMaxBooks || chapter < 1 || chapter > kMaxChapters)
        return 0;
    return chapterLengths_[book][chapter];
}

std::string BibleStore::referenceText(const std::string& verseSpec, bool useShortNames) const
{
    std::string text;
    for (const VerseRun& run : parseVerseSpec(verseSpec)) {
        if (!text.empty())
            text += "; ";
        const VerseRef a = verseReference(run.first);
        const VerseRef b = verseReference(run.last);
        const int lastChapterLength = chapterLengths(b.book, b.chapter);
        const std::string n1 = useShortNames ? shortBookName(a.book) : longBookName(a.book);
        const std::string n2 = useShortNames ? shortBookName(b.book) : longBookName(b.book);
        const bool wholeChapters = a.verse == 1 && b.verse == lastChapterLength;
        const bool sameBook = a.book == b.book;
        const bool sameChapter = sameBook && a.chapter == b.chapter;
        if (wholeChapters && sameChapter)
            text += format("%s %d", n1, a.chapter);
        else if (wholeChapters && sameBook)
            text += format("%s %d - %d", n1, a.chapter, b.chapter);
        else if (wholeChapters)
            text += format("%s %d - %s %d", n1, a.chapter, n2, b.chapter);
        else if (sameChapter && a.verse == b.verse)
            text += format("%s %d:%d", n1, a.chapter, a.verse); // one verse, not "1:1-1"
        else if (sameChapter)
            text += format("%s %d:%d-%d", n1, a.chapter, a.verse, b.verse);
        else if (sameBook)
            text += format("%s %d:%d - %d:%d", n1, a.chapter, a.verse, b.chapter, b.verse);
        else
            text += format("%s %d:%d - %s %d:%d", n1, a.chapter, a.verse, n2, b.chapter, b.verse);
    }
    return text;
}

} // namespace kovara::core
