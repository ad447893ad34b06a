#pragma once
// Read-only access to the Bible text in bible.kova2: book names, chapter and
// verse counts, verse index <-> reference, verse data, and the readable
// reference text of a verse specification ("1-31,1533-1550").
#include "core/db/database.h"
#include "core/db/sqlite_db.h"

#include <array>
#include <string>
#include <vector>

namespace kovara::core {

struct VerseRef {
    int book = 0;
    int chapter = 0;
    int verse = 0;
};

struct VerseData {
    int book = 0;
    int chapter = 0;
    int verse = 0;
    bool paraMark = false;
    std::string verseText;
};

// One run of a verse specification: the first and last verse index.
struct VerseRun {
    int first = 0;
    int last = 0;
};

// The runs of a verse specification, each cut at its hyphen. A run written as
// a single number stands for that one verse. Raises "'%s' is not a valid
// integer value" for a piece that is not a number (an empty run included).
std::vector<VerseRun> parseVerseSpec(const std::string& spec);

class BibleStore {
public:
    static constexpr int kMaxBooks = 66;
    static constexpr int kMaxChapters = 150;

    // Opens fileName and loads the chapter lengths. Raises "Bible file not
    // found: %s" when the file is missing, SqliteError when it is not a Bible
    // database, and a clear message for data that does not fit the
    // chapter-length table. Nothing is left open when it raises.
    BibleStore(const std::string& fileName, const std::string& title, const std::string& abbreviation);
    // Closes the connection; never raises. A failing close is not reported
    // here (call close() first to see it).
    ~BibleStore();

    // Closes the connection now; raises SqliteError when the engine refuses,
    // and the connection then stays open (see Database::close). Lookups after
    // a close raise SqliteError; no ReadSession may be alive during it.
    void close();
    BibleStore(const BibleStore&) = delete;
    BibleStore& operator=(const BibleStore&) = delete;

    const std::string& title() const { return title_; }
    const std::string& abbreviation() const { return abbreviation_; }

    VerseData allVerseData(int verseIndex) const;
    // Book names; a book that is not there gives an error text as its name.
    std::string shortBookName(int book) const;
    std::string longBookName(int book) const;
    VerseRef verseReference(int verseIndex) const;
    int verseIndex(int book, int chapter, int verse) const;
    // 0 for a book that is not there.
    int chapterCount(int book) const;
    std::string referenceText(const std::string& verseSpec, bool useShortNames = false) const;
    // Verses of a chapter; 0 outside books 1-66 and chapters 1-150, and for
    // chapters the data does not have.
    int chapterLengths(int book, int chapter) const;

    // While alive, the Bible's connection stays inside one read transaction,
    // so a long run of lookups (the thousands of day lines of a long plan)
    // takes and checks the file lock once instead of once per query. Every
    // lookup still prepares and finalizes its own statement. Sessions nest:
    // an inner one shares the outer transaction. Raises SqliteError when the
    // transaction cannot begin; its end is never reported (nothing was
    // written).
    class ReadSession {
    public:
        explicit ReadSession(const BibleStore& bible);
        ~ReadSession();
        ReadSession(const ReadSession&) = delete;
        ReadSession& operator=(const ReadSession&) = delete;

    private:
        const BibleStore& bible_;
    };

private:
    void loadChapterLengths();

    Database db_;
    mutable int readSessions_ = 0;
    std::string title_;
    std::string abbreviation_;
    // [book][chapter], both 1-based; index 0 unused.
    std::vector<std::array<int, kMaxChapters + 1>> chapterLengths_;
};

} // namespace kovara::core
