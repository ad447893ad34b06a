// The passage page text, on the two-book Alpha/Beta fixture.
#include "core/content/passage_page.h"
#include "fixtures.h"

#include <gtest/gtest.h>

namespace kovara::core {
namespace {

class PassagePageTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        dir = new test::TempDir;
        test::makeAlphaBetaBible(dir->file("bible.kova2"));
        bible = new BibleStore(dir->file("bible.kova2"), "Test Bible", "KJV");
    }
    static void TearDownTestSuite()
    {
        delete bible;
        delete dir;
    }
    static std::string Page(const std::string& spec, bool paragraphMode)
    {
        return buildPassagePage(spec, *bible, paragraphMode, "Plan", "Day 1 of 2: x");
    }
    static std::size_t count(const std::string& page, const std::string& piece)
    {
        std::size_t n = 0;
        for (std::size_t p = page.find(piece); p != std::string::npos; p = page.find(piece, p + 1))
            ++n;
        return n;
    }
    static test::TempDir* dir;
    static BibleStore* bible;
};
test::TempDir* PassagePageTest::dir = nullptr;
BibleStore* PassagePageTest::bible = nullptr;

const std::string kSep = "\n\r";
const std::string kFooter = "<p align=\"right\"><font size=\"-1\"><b>KJV</b></font></p>";

// Alpha 2:1-2 are indices 32 and 33; verse 1 carries a paragraph mark.
TEST_F(PassagePageTest, WorkedExampleByteForByte)
{
    const std::string heading = "<center><font size=\"+1\"><b>Alpha 2:1-2</b></font></center>";
    EXPECT_EQ(Page("32-33", true),
              heading + kSep + "<p><b>Alpha 2</b>" + kSep +
                  "<p>&nbsp;&nbsp;&nbsp;  <font size=\"-1\"><sup>1</sup></font>&nbsp;A2:1" + kSep +
                  " <font size=\"-1\"><sup>2</sup></font>&nbsp;A2:2" + kFooter);
    EXPECT_EQ(Page("32-33", false),
              heading + kSep + "<p><b>Alpha 2</b><br>" + kSep +
                  "<br>&nbsp;&nbsp;&nbsp; <b>1</b> &para;&nbsp;A2:1" + kSep +
                  "<br>&nbsp;&nbsp;&nbsp; <b>2</b>&nbsp;A2:2" + kFooter);
}

TEST_F(PassagePageTest, ChapterHeadingsAsLinksOnlyWhenAsked)
{
    const std::string page = buildPassagePage("32-33", *bible, true, "Plan", "Day 1 of 2: x", true);
    std::string expected = Page("32-33", true);
    expected.replace(expected.find("<p><b>Alpha 2</b>"), 17, "<p><b><a href=\"bible:1.2\">Alpha 2</a></b>");
    EXPECT_EQ(page, expected);
}

TEST_F(PassagePageTest, ParagraphsAndChapterHeadings)
{
    // Starts mid-chapter (verse 5 opens a paragraph in paragraph mode), crosses
    // into chapter 2 and on into Beta; index 45 (Alpha 2:14) has a mark.
    const std::string para = Page("5-82", true);
    EXPECT_NE(para.find("<p><b>Alpha 1</b>" + kSep + "<p>&nbsp;&nbsp;&nbsp;  <font size=\"-1\"><sup>5</sup>"),
              std::string::npos);
    EXPECT_NE(para.find("<p><b>Alpha 2</b>" + kSep + "<p>&nbsp;&nbsp;&nbsp;  <font size=\"-1\"><sup>1</sup>"),
              std::string::npos);
    EXPECT_NE(para.find("<p>&nbsp;&nbsp;&nbsp;  <font size=\"-1\"><sup>14</sup></font>&nbsp;A2:14"),
              std::string::npos);
    EXPECT_NE(para.find(kSep + " <font size=\"-1\"><sup>6</sup></font>&nbsp;A1:6"), std::string::npos);
    EXPECT_NE(para.find("<p><b>Beta 1</b>"), std::string::npos);
    EXPECT_EQ(count(para, "<p><b>"), 4u);
    EXPECT_EQ(count(para, "<center>"), 1u);

    const std::string lines = Page("5-82", false);
    EXPECT_NE(lines.find("<br>&nbsp;&nbsp;&nbsp; <b>5</b>&nbsp;A1:5"), std::string::npos);
    EXPECT_NE(lines.find("<br>&nbsp;&nbsp;&nbsp; <b>14</b> &para;&nbsp;A2:14"), std::string::npos);
    EXPECT_NE(lines.find("<p><b>Beta 1</b><br>" + kSep), std::string::npos);
    EXPECT_EQ(count(lines, "&para;"), 4u); // Alpha 2:1, 2:14, 3:1 and Beta 1:1
}

TEST_F(PassagePageTest, RunsAndSpecialSpecifications)
{
    // Two runs in one chapter: two run headings, two chapter headings, the
    // separator and "<p>" between them, one footer at the end.
    const std::string two = Page("2-3, 10", true);
    EXPECT_EQ(count(two, "<center>"), 2u);
    EXPECT_EQ(count(two, "<p><b>Alpha 1</b>"), 2u);
    EXPECT_NE(two.find("A1:3" + kSep + "<p><center><font size=\"+1\"><b>Alpha 1:10</b>"), std::string::npos);
    EXPECT_EQ(two.substr(two.size() - kFooter.size()), kFooter);
    EXPECT_EQ(count(two, kFooter), 1u);

    // A single number is one verse.
    const std::string single = Page("10", false);
    EXPECT_EQ(count(single, "&nbsp;A1:"), 1u);
    EXPECT_NE(single.find("<b>10</b>&nbsp;A1:10"), std::string::npos);

    // First index above the last: the run heading only.
    const std::string reversed = Page("33-32", true);
    EXPECT_EQ(count(reversed, "<center>"), 1u);
    EXPECT_EQ(reversed.find("<p><b>"), std::string::npos);

    EXPECT_EQ(Page("", true), kFooter);
}

TEST_F(PassagePageTest, BadSpecifications)
{
    struct Case {
        std::string spec;
        std::string message;
    } cases[] = {
        {"x-5", "Invalid verse specification x in x-5 (Plan, Day 1 of 2: x)"},
        {"1-3,4-y", "Invalid verse specification y in 1-3,4-y (Plan, Day 1 of 2: x)"},
        {"1-3,", "Invalid verse specification  in 1-3, (Plan, Day 1 of 2: x)"},
        {"5-", "Invalid verse specification  in 5- (Plan, Day 1 of 2: x)"},
        {"100-103", "BibleStore::verseReference Error: no entry returned for 103"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(test::messageOf([&] { Page(c.spec, true); }), c.message) << c.spec;
}

} // namespace
} // namespace kovara::core
