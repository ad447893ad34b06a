#include "fixtures.h"

#include <atomic>
#include <unistd.h>

namespace kovara::test {

using namespace kovara::core;

TempDir::TempDir()
{
    static std::atomic<int> counter{0};
    path_ = std::filesystem::temp_directory_path() /
            ("kovara-test-" + std::to_string(::getpid()) + "-" + std::to_string(counter++));
    std::filesystem::remove_all(path_);
    std::filesystem::create_directories(path_);
}

TempDir::~TempDir()
{
    std::error_code ec;
    std::filesystem::permissions(path_, std::filesystem::perms::owner_all, ec);
    std::filesystem::remove_all(path_, ec);
}

void makeDevotional(const std::string& fileName, const std::vector<DevotionalEntry>& entries)
{
    sqlite3* db = nullptr;
    openDatabase(fileName, db);
    std::string sql = "CREATE TABLE faithsCheckbook (entryIndex INTEGER PRIMARY KEY, month INTEGER, day INTEGER, "
                      "devotionalText TEXT);";
    int index = 0;
    for (const DevotionalEntry& e : entries)
        sql += format("INSERT INTO faithsCheckbook VALUES (%d,%d,%d,'%s');", ++index, e.month, e.day, e.html);
    execSQL(db, sql);
    closeDatabase(db);
}

void makeAlphaBetaBible(const std::string& fileName)
{
    sqlite3* db = nullptr;
    openDatabase(fileName, db);
    std::string sql =
        "BEGIN TRANSACTION;"
        "CREATE TABLE bibleText (verseIndex INTEGER PRIMARY KEY, book INTEGER, chapter INTEGER, verse INTEGER, "
        "paraMark INTEGER, verseText TEXT);"
        "CREATE TABLE bookInfo (bookIndex INTEGER PRIMARY KEY, shortName TEXT, longName TEXT, numChapters INTEGER, "
        "chapterLengths TEXT);"
        "INSERT INTO bookInfo VALUES (1,'Al','Alpha',3,'31,25,24');"
        "INSERT INTO bookInfo VALUES (2,'Be','Beta',2,'10,12');";
    const int lengths[2][3] = {{31, 25, 24}, {10, 12, 0}};
    int index = 0;
    for (int book = 1; book <= 2; ++book)
        for (int chapter = 1; chapter <= 3 && lengths[book - 1][chapter - 1] > 0; ++chapter)
            for (int verse = 1; verse <= lengths[book - 1][chapter - 1]; ++verse) {
                ++index;
                const int para = verse == 1 || index == 45 ? 1 : 0;
                sql += format("INSERT INTO bibleText VALUES (%d,%d,%d,%d,%d,'%s%d:%d');", index, book, chapter,
                              verse, para, book == 1 ? "A" : "B", chapter, verse);
            }
    sql += "COMMIT TRANSACTION;";
    execSQL(db, sql);
    closeDatabase(db);
}

std::string builtFile(const std::string& name)
{
    return std::string(KOVARA_BUILD_DIR) + "/" + name;
}

} // namespace kovara::test
