// Reading references as people type them, checked against the shipped Bible.
#include "core/content/reference_parser.h"
#include "fixtures.h"

#include <gtest/gtest.h>
#include <vector>

namespace kovara::core {
namespace {

class ReferenceParserTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { bible = new BibleStore(test::builtFile("bible.kova2"), "King James Version", "KJV"); }
    static void TearDownTestSuite() { delete bible; }
    static BibleStore* bible;
};
BibleStore* ReferenceParserTest::bible = nullptr;

TEST_F(ReferenceParserTest, FormsPeopleType)
{
    struct Case {
        const char* text;
        PassageRef passage; // book, chapter, verse, endChapter, endVerse
    };
    const Case cases[] = {
        {"John 3:16", {43, 3, 16, 3, 16}},
        {"jn 3:16-18", {43, 3, 16, 3, 18}},
        {"jn3:16", {43, 3, 16, 3, 16}},
        {"JOHN 3 : 16", {43, 3, 16, 3, 16}},
        {"John 3.16", {43, 3, 16, 3, 16}},
        {"1 Cor 13", {46, 13, 0, 13, 0}},
        {"1co13", {46, 13, 0, 13, 0}},
        {"1 Cor. 13:4", {46, 13, 4, 13, 4}},
        {"I Corinthians 13", {46, 13, 0, 13, 0}},
        {"First John 4:8", {62, 4, 8, 4, 8}},
        {"1jn 4", {62, 4, 0, 4, 0}},
        {"Ps 23", {19, 23, 0, 23, 0}},
        {"Psalm 119:105", {19, 119, 105, 119, 105}},
        {"psalms 150", {19, 150, 0, 150, 0}},
        {"Gen 1:1-2:3", {1, 1, 1, 2, 3}},
        {"Gen. 1:1\xE2\x80\x93" "5", {1, 1, 1, 1, 5}},
        {"Genesis 1-3", {1, 1, 0, 3, 0}},
        {"Song 2", {22, 2, 0, 2, 0}},
        {"Song of Solomon 2:1", {22, 2, 1, 2, 1}},
        {"Rev 22:21", {66, 22, 21, 22, 21}},
        {"revelation 22", {66, 22, 0, 22, 0}},
        {"Matt 5:3", {40, 5, 3, 5, 3}},
        {"mk 1", {41, 1, 0, 1, 0}},
        {"Phil 4:13", {50, 4, 13, 4, 13}},
        {"Philem 1", {57, 1, 0, 1, 0}},
        {"Jude 1", {65, 1, 0, 1, 0}},
        {"Jude 1-3", {65, 1, 1, 1, 3}},
        {"Jude 3-5", {65, 1, 3, 1, 5}},
        {"Gen 1 1", {1, 1, 1, 1, 1}},
        {"Rom 1 2", {45, 1, 2, 1, 2}},
        {"jn 3 16", {43, 3, 16, 3, 16}},
        {"jn 3  16-18", {43, 3, 16, 3, 18}},
        {"Gen 1 1 - 2 3", {1, 1, 1, 2, 3}},
        {"Jude 3", {65, 1, 3, 1, 3}},
        {"Jude 1:24-25", {65, 1, 24, 1, 25}},
        {"Obadiah", {31, 1, 0, 1, 0}},
        {"  isa 53:5  ", {23, 53, 5, 53, 5}},
        {"Ecc 3:1", {21, 3, 1, 3, 1}},
        {"John 3v16", {43, 3, 16, 3, 16}},
        {"John 3 v 16-18", {43, 3, 16, 3, 18}},
        {"Ps 119vv105-106", {19, 119, 105, 119, 106}},
        {"1st John 4:8", {62, 4, 8, 4, 8}},
        {"2nd Kings 2", {12, 2, 0, 2, 0}},
        {"3rd John 1:4", {64, 1, 4, 1, 4}},
        {"Revelations 21:4", {66, 21, 4, 21, 4}},
        {"John 3:16a", {43, 3, 16, 3, 16}},
        {"John 3:16b-18a", {43, 3, 16, 3, 18}},
        {"John 3:16ff", {43, 3, 16, 3, 16}},
        {"John 3:16f", {43, 3, 16, 3, 16}},
        {"Jude 3a", {65, 1, 3, 1, 3}},
        {"John 3:16 KJV", {43, 3, 16, 3, 16}},
        {"John 3:16 (KJV)", {43, 3, 16, 3, 16}},
        {"john 3:16 kjv", {43, 3, 16, 3, 16}},
        {"John 3:16 King James Version", {43, 3, 16, 3, 16}},
        {"Obadiah KJV", {31, 1, 0, 1, 0}},
    };
    for (const Case& c : cases) {
        const ReferenceResult result = parseReference(c.text, *bible);
        EXPECT_TRUE(result.ok) << c.text << ": " << result.error;
        EXPECT_EQ(result.passage, c.passage) << c.text;
    }
}

TEST_F(ReferenceParserTest, ListsOpenTheirFirstPartAndNameTheRest)
{
    struct Case {
        const char* text;
        PassageRef first;
        std::vector<PassageRef> more;
    };
    const Case cases[] = {
        {"John 3:16,18", {43, 3, 16, 3, 16}, {{43, 3, 18, 3, 18}}},
        {"John 3:16-18, 20", {43, 3, 16, 3, 18}, {{43, 3, 20, 3, 20}}},
        {"Jn 3:16; 4:1", {43, 3, 16, 3, 16}, {{43, 4, 1, 4, 1}}},
        {"John 3:16, 18-20; 5", {43, 3, 16, 3, 16}, {{43, 3, 18, 3, 20}, {43, 5, 0, 5, 0}}},
        {"John 3, 5", {43, 3, 0, 3, 0}, {{43, 5, 0, 5, 0}}},
        {"John 3:16; Rom 8:28", {43, 3, 16, 3, 16}, {{45, 8, 28, 8, 28}}},
        {"Jude 3, 5", {65, 1, 3, 1, 3}, {{65, 1, 5, 1, 5}}},
        {"John 3:16, 18a KJV", {43, 3, 16, 3, 16}, {{43, 3, 18, 3, 18}}},
        {"John 3:16, 4:2", {43, 3, 16, 3, 16}, {{43, 4, 2, 4, 2}}},
    };
    for (const Case& c : cases) {
        const ReferenceResult result = parseReference(c.text, *bible);
        ASSERT_TRUE(result.ok) << c.text << ": " << result.error;
        EXPECT_EQ(result.passage, c.first) << c.text;
        EXPECT_EQ(result.more, c.more) << c.text;
    }
}

TEST_F(ReferenceParserTest, MessagesForBadInput)
{
    const std::pair<const char*, const char*> cases[] = {
        {"Jhn 3:16", "No book called \"Jhn\""},
        {"Jo 3:16", "No book called \"Jo\""}, // Job, Joel, John, Jonah, Joshua
        {"Hezekiah 1", "No book called \"Hezekiah\""},
        {"John 22", "John has 21 chapters"},
        {"John 0:1", "John has 21 chapters"},
        {"Jude 2:1", "Jude has 1 chapter"},
        {"John 3:37", "John 3 has 36 verses"},
        {"John 3:0", "John 3 has 36 verses"},
        {"John 3:0-99", "John 3 has 36 verses"},
        {"Jude 0", "Jude 1 has 25 verses"},
        {"Gen 1-2:0", "Genesis 2 has 25 verses"},
        {"John 3 16 2", "Type a reference such as \"John 3:16\""},
        {"John 3:16-40", "John 3 has 36 verses"},
        {"Gen 1:1-2:30", "Genesis 2 has 25 verses"},
        {"Jude 30", "Jude 1 has 25 verses"},
        {"Psalm 119:177", "Psalms 119 has 176 verses"},
        {"John 3:18-16", "The passage ends before it starts: \"John 3:18-16\""},
        {"", "Type a reference such as \"John 3:16\""},
        {"3:16", "Type a reference such as \"John 3:16\""},
        {"John 3:", "Type a reference such as \"John 3:16\""},
        {"John 3:16x", "Type a reference such as \"John 3:16\""},
        {"John 99999", "Type a reference such as \"John 3:16\""},
        {"John 3:16 NIV", "Type a reference such as \"John 3:16\""}, // not this Bible
        {"John 3:16ab", "Type a reference such as \"John 3:16\""},
        {"John 3:16g", "Type a reference such as \"John 3:16\""},
        {"John 3v", "Type a reference such as \"John 3:16\""},
        {"KJV", "No book called \"KJV\""},
        {"Fourth John 1", "No book called \"Fourth John\""},
        {"John 3:16,", "Type a reference such as \"John 3:16\""},
        {"John 3:16, 40", "John 3 has 36 verses"},
        {"John 3:16; 22:1", "John has 21 chapters"},
        {"John 3:16; Jhn 4", "No book called \"Jhn\""},
        {"John 3:16, 0", "John 3 has 36 verses"},
    };
    for (const auto& [text, message] : cases) {
        const ReferenceResult result = parseReference(text, *bible);
        EXPECT_FALSE(result.ok) << text;
        EXPECT_EQ(result.error, message) << text;
    }
}

TEST_F(ReferenceParserTest, ReferenceTextReadsBack)
{
    for (const char* text : {"John 3:16", "John 3:16-18", "Genesis 1:1-2:3", "1 Corinthians 13", "Genesis 1-3"}) {
        const ReferenceResult result = parseReference(text, *bible);
        ASSERT_TRUE(result.ok) << text;
        EXPECT_EQ(referenceText(result.passage, *bible), text);
    }
}

TEST_F(ReferenceParserTest, ACitationOfOnePsalmNamesAPsalm)
{
    const std::pair<PassageRef, const char*> cases[] = {
        {{19, 23, 4, 23, 4}, "Psalm 23:4"},
        {{19, 23, 1, 23, 6}, "Psalm 23:1-6"},
        {{19, 119, 0, 119, 0}, "Psalm 119"},
        {{19, 23, 6, 24, 1}, "Psalms 23:6-24:1"}, // across psalms: the book's name
        {{43, 3, 16, 3, 16}, "John 3:16"},
    };
    for (const auto& [passage, cited] : cases)
        EXPECT_EQ(citationText(passage, *bible), cited);
    // Headings and plan days keep the book's name.
    EXPECT_EQ(referenceText({19, 23, 4, 23, 4}, *bible), "Psalms 23:4");
    EXPECT_EQ(citedBookName(19, "Psalmen"), "Psalmen") << "another language's name is kept";
}

TEST(PassageLinkTest, WrittenAndReadBack)
{
    const std::pair<PassageRef, const char*> cases[] = {
        {{43, 3, 0, 3, 0}, "bible:43.3"},
        {{43, 3, 16, 3, 16}, "bible:43.3.16"},
        {{43, 3, 16, 3, 18}, "bible:43.3.16-18"},
    };
    for (const auto& [passage, link] : cases) {
        EXPECT_EQ(passageLink(passage), link);
        PassageRef read;
        EXPECT_TRUE(parsePassageLink(link, read)) << link;
        EXPECT_EQ(read, passage) << link;
    }
    // A passage over several chapters links to its first chapter's part.
    EXPECT_EQ(passageLink({1, 1, 1, 2, 3}), "bible:1.1.1");

    PassageRef untouched{1, 2, 3, 2, 3};
    for (const char* bad : {"", "bible:", "bible:43", "bible:43.", "bible:43.3.", "bible:43.3.16-",
                            "bible:43.3.18-16", "bible:0.3", "bible:43.3.16-18-19", "bible:43.3x",
                            "Bible:43.3", "http://x/bible:43.3", "#contents", "bible:-1.3",
                            "bible:9999999.1"}) {
        EXPECT_FALSE(parsePassageLink(bad, untouched)) << bad;
        EXPECT_EQ(untouched, (PassageRef{1, 2, 3, 2, 3})) << bad;
    }
}

} // namespace
} // namespace kovara::core
