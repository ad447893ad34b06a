#include "core/content/bible_store.h"
#include "fixtures.h"

#include <gtest/gtest.h>

namespace kovara::core {
namespace {

class BibleTest : public ::testing::Test {
protected:
    BibleTest()
    {
        test::makeAlphaBetaBible(dir.file("bible.kova2"));
        bible = std::make_unique<BibleStore>(dir.file("bible.kova2"), "Test Version", "TV");
    }
    test::TempDir dir;
    std::unique_ptr<BibleStore> bible;
};

TEST_F(BibleTest, ReferenceTextForms)
{
    const struct {
        const char* spec;
        const char* text;
    } cases[] = {
        {"1-31", "Alpha 1"},
        {"1-56", "Alpha 1 - 2"},
        {"1-80", "Alpha 1 - 3"},
        {"1-79", "Alpha 1:1 - 3:23"},
        {"32-35", "Alpha 2:1-4"},
        {"35-35", "Alpha 2:4"},
        {"35", "Alpha 2:4"}, // a single number is one verse
        {"30-35", "Alpha 1:30 - 2:4"},
        {"57-90", "Alpha 3 - Beta 1"},
        {"2-90", "Alpha 1:2 - Beta 1:10"},
        {"60-85", "Alpha 3:4 - Beta 1:5"},
        {"1-31,57-80", "Alpha 1; Alpha 3"},
        {"1-31, 57-80", "Alpha 1; Alpha 3"},
        {"", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(bible->referenceText(c.spec), c.text) << c.spec;
    EXPECT_EQ(bible->referenceText("32-35", true), "Al 2:1-4");
}

TEST_F(BibleTest, ReferenceTextErrors)
{
    EXPECT_EQ(test::messageOf([&] { bible->referenceText("1-x"); }), "'x' is not a valid integer value");
    // a trailing comma makes an empty run, which is not a number
    EXPECT_EQ(test::messageOf([&] { bible->referenceText("1-31,"); }), "'' is not a valid integer value");
    EXPECT_EQ(test::messageOf([&] { bible->referenceText("1-500"); }),
              "BibleStore::verseReference Error: no entry returned for 500");
}

TEST_F(BibleTest, LookupsAndTheirMessages)
{
    EXPECT_EQ(bible->longBookName(2), "Beta");
    EXPECT_EQ(bible->shortBookName(1), "Al");
    EXPECT_EQ(bible->longBookName(67), "BibleStore::longBookName Error: no text found for 67");
    EXPECT_EQ(bible->shortBookName(67), "BibleStore::shortBookName Error: no text found for 67");
    EXPECT_EQ(bible->chapterCount(1), 3);
    EXPECT_EQ(bible->chapterCount(67), 0);
    EXPECT_EQ(bible->verseIndex(1, 2, 1), 32);
    EXPECT_EQ(bible->verseIndex(1, 2, bible->chapterLengths(1, 2)), 56);
    const VerseRef ref = bible->verseReference(57);
    EXPECT_EQ(ref.book * 10000 + ref.chapter * 100 + ref.verse, 10301);
    const VerseData data = bible->allVerseData(45);
    EXPECT_EQ(data.verseText, "A2:14");
    EXPECT_TRUE(data.paraMark);
    EXPECT_FALSE(bible->allVerseData(46).paraMark);

    EXPECT_EQ(test::messageOf([&] { bible->allVerseData(0); }),
              "BibleStore::allVerseData Error: no entry returned for 0");
    EXPECT_EQ(test::messageOf([&] { bible->verseReference(0); }),
              "BibleStore::verseReference Error: no entry returned for 0");
    EXPECT_EQ(test::messageOf([&] { bible->verseIndex(1, 4, 1); }),
              "BibleStore::verseIndex Error: no entry found for 1:4:1");
}

// A read session keeps the file's shared lock from its first lookup to the end
// of the outermost session, and only that long: a writer on another
// connection is kept out while it lasts and gets in afterwards.
TEST_F(BibleTest, ReadSessionHoldsTheLockOnlyWhileItLasts)
{
    sqlite3* writer = nullptr;
    openDatabase(dir.file("bible.kova2"), writer);
    const auto writerGetsIn = [&] {
        const std::string message = test::messageOf([&] { execSQL(writer, "BEGIN EXCLUSIVE; COMMIT;"); });
        return message == "(nothing raised)";
    };
    {
        const BibleStore::ReadSession outer(*bible);
        {
            const BibleStore::ReadSession inner(*bible);
            EXPECT_EQ(bible->referenceText("1-31"), "Alpha 1");
        }
        EXPECT_FALSE(writerGetsIn()) << "the inner session's end keeps the outer one";
        EXPECT_EQ(bible->referenceText("57-90"), "Alpha 3 - Beta 1");
    }
    EXPECT_TRUE(writerGetsIn());
    EXPECT_EQ(bible->referenceText("32-35"), "Alpha 2:1-4");
    closeDatabase(writer);
}

TEST_F(BibleTest, ChapterLengthsTable)
{
    EXPECT_EQ(bible->chapterLengths(1, 1), 31);
    EXPECT_EQ(bible->chapterLengths(1, 3), 24);
    EXPECT_EQ(bible->chapterLengths(2, 2), 12);
    EXPECT_EQ(bible->chapterLengths(1, 4), 0);   // beyond the last chapter
    EXPECT_EQ(bible->chapterLengths(3, 1), 0);   // a book the data lacks
    EXPECT_EQ(bible->chapterLengths(0, 1), 0);   // outside the table
    EXPECT_EQ(bible->chapterLengths(67, 1), 0);
    EXPECT_EQ(bible->chapterLengths(1, 151), 0);
}

TEST(BibleCreateTest, RefusesFilesThatAreMissingOrDoNotFit)
{
    test::TempDir dir;
    const std::string path = dir.file("bible.kova2");
    EXPECT_EQ(test::messageOf([&] { BibleStore bible(path, "T", "TV"); }), "Bible file not found: " + path);
    EXPECT_FALSE(std::filesystem::exists(path)); // nothing created in its place

    // rowSql empty: a file without the bookInfo table.
    auto withBookInfo = [&](const std::string& rowSql) {
        std::filesystem::remove(path);
        sqlite3* db = nullptr;
        openDatabase(path, db);
        execSQL(db, "CREATE TABLE bibleText (verseIndex INTEGER);");
        if (!rowSql.empty())
            execSQL(db, "CREATE TABLE bookInfo (bookIndex INTEGER, chapterLengths TEXT);" + rowSql);
        closeDatabase(db);
    };
    std::string manyChapters = "1";
    for (int i = 0; i < 150; ++i)
        manyChapters += ",1";
    const std::pair<std::string, std::string> cases[] = {
        {"", "SQLite Error 1 - no such table: bookInfo"},
        {"INSERT INTO bookInfo VALUES (1, '31,x,24');", "'x' is not a valid integer value"},
        {"INSERT INTO bookInfo VALUES (1, '31,,24');", "'' is not a valid integer value"},
        {"INSERT INTO bookInfo VALUES (67, '31');", "BibleStore::loadChapterLengths Error: book number 67 is outside 1 to 66"},
        {"INSERT INTO bookInfo VALUES (0, '31');", "BibleStore::loadChapterLengths Error: book number 0 is outside 1 to 66"},
        {"INSERT INTO bookInfo VALUES (5, '" + manyChapters + "');",
         "BibleStore::loadChapterLengths Error: book 5 has 151 chapters, more than 150"},
    };
    for (const auto& [rows, message] : cases) {
        withBookInfo(rows);
        EXPECT_EQ(test::messageOf([&] { BibleStore bible(path, "T", "TV"); }), message);
    }
}

} // namespace
} // namespace kovara::core
