// Checks the bible.kova2 that the build generated from the King James text.
#include "core/content/bible_store.h"
#include "fixtures.h"

#include <gtest/gtest.h>

namespace kovara::core {
namespace {

class BibleContentTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { bible = new BibleStore(test::builtFile("bible.kova2"), "King James Version", "KJV"); }
    static void TearDownTestSuite() { delete bible; }
    static int count(const std::string& sql)
    {
        sqlite3* db = nullptr;
        openDatabase(test::builtFile("bible.kova2"), db);
        int n = -1;
        queryRow(db, sql, "x", [&](Statement& st) { n = st.columnInt(0); });
        closeDatabase(db);
        return n;
    }
    static BibleStore* bible;
};
BibleStore* BibleContentTest::bible = nullptr;

TEST_F(BibleContentTest, CountsOfVersesBooksAndChapters)
{
    EXPECT_EQ(count("select count(*) from bibleText"), 31102);
    EXPECT_EQ(count("select max(verseIndex) from bibleText"), 31102);
    EXPECT_EQ(count("select count(*) from bookInfo"), 66);
    EXPECT_EQ(count("select sum(numChapters) from bookInfo"), 1189);
    int chapters = 0, verses = 0;
    for (int book = 1; book <= 66; ++book)
        for (int chapter = 1; bible->chapterLengths(book, chapter) > 0; ++chapter) {
            ++chapters;
            verses += bible->chapterLengths(book, chapter);
        }
    EXPECT_EQ(chapters, 1189);
    EXPECT_EQ(verses, 31102);
}

TEST_F(BibleContentTest, KnownVerses)
{
    EXPECT_EQ(bible->allVerseData(1).verseText, "In the beginning God created the heaven and the earth.");
    EXPECT_EQ(bible->allVerseData(bible->verseIndex(43, 11, 35)).verseText, "Jesus wept.");
    EXPECT_EQ(bible->chapterLengths(19, 119), 176);
    EXPECT_EQ(bible->referenceText("1-31"), "Genesis 1");
    EXPECT_EQ(bible->longBookName(1), "Genesis");
    EXPECT_EQ(bible->longBookName(66), "Revelation");
    EXPECT_EQ(bible->chapterCount(19), 150);

    // Supplied words in italics, the divine name in capitals, notes and
    // Strong's markup dropped.
    const std::string gen1v2 = bible->allVerseData(2).verseText;
    EXPECT_NE(gen1v2.find("darkness <i>was</i> upon"), std::string::npos) << gen1v2;
    const std::string ps23v1 = bible->allVerseData(bible->verseIndex(19, 23, 1)).verseText;
    EXPECT_NE(ps23v1.find("The LORD <i>is</i> my shepherd"), std::string::npos) << ps23v1;
    EXPECT_EQ(count("select count(*) from bibleText where verseText like '%lemma%' or verseText like '%strong:H%' or verseText like '%<w %'"
                    " or verseText like '%<note%'"),
              0);

    // A psalm's title stands in italics before verse 1.
    const std::string ps3v1 = bible->allVerseData(bible->verseIndex(19, 3, 1)).verseText;
    EXPECT_EQ(ps3v1.rfind("<i>A Psalm of David, when he fled from Absalom his son.</i> LORD", 0), 0u) << ps3v1;
    // Psalm 119's acrostic headings in bold open a paragraph.
    const VerseData ps119v9 = bible->allVerseData(bible->verseIndex(19, 119, 9));
    EXPECT_EQ(ps119v9.verseText.rfind("<b>BETH.</b> ", 0), 0u) << ps119v9.verseText;
    EXPECT_TRUE(ps119v9.paraMark);
}

// The source's en dashes inside compound names (663 verses) print as the
// hyphens of printed King James Bibles.
TEST_F(BibleContentTest, CompoundNamesTakeAHyphen)
{
    const struct {
        int book, chapter, verse;
        const char* name;
    } cases[] = {
        {6, 10, 41, "Kadesh-barnea"},
        {1, 16, 14, "Beer-lahai-roi"},
        {4, 34, 4, "Hazar-addar"},
        {1, 4, 22, "Tubal-cain"},
    };
    for (const auto& c : cases) {
        const std::string text = bible->allVerseData(bible->verseIndex(c.book, c.chapter, c.verse)).verseText;
        EXPECT_NE(text.find(c.name), std::string::npos) << text;
    }
    EXPECT_EQ(count("select count(*) from bibleText where verseText like '%\xe2\x80\x93%'"), 0);
    EXPECT_GT(count("select count(*) from bibleText where verseText glob '*[A-Za-z]-[A-Za-z]*'"), 600);
}

TEST_F(BibleContentTest, ParagraphMarksFollowTheSource)
{
    // Genesis 1:6 opens a paragraph; Genesis 1:2 does not.
    EXPECT_TRUE(bible->allVerseData(6).paraMark);
    EXPECT_FALSE(bible->allVerseData(2).paraMark);
    EXPECT_GT(count("select count(*) from bibleText where paraMark<>0"), 2900);
}

} // namespace
} // namespace kovara::core
