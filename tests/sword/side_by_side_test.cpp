// Versions side by side: each row holds one verse in every version, also
// where a version's own versification numbers it differently.
#include "core/sword/side_by_side.h"
#include "test_bibles.h"

#include <gtest/gtest.h>

#include <map>
#include <regex>

namespace kovara::core {
namespace {

// The page's rows: verse number -> the text of each version's cell.
std::map<int, std::vector<std::string>> rows(const std::string& page)
{
    std::map<int, std::vector<std::string>> out;
    const std::regex row(R"(<tr><td[^>]*><b>(\d+)</b></td>(.*?)</tr>)");
    const std::regex cell(R"(<td[^>]*>(.*?)</td>)");
    for (auto r = std::sregex_iterator(page.begin(), page.end(), row); r != std::sregex_iterator(); ++r) {
        const std::string cells = (*r)[2];
        std::vector<std::string>& texts = out[std::stoi((*r)[1])];
        for (auto c = std::sregex_iterator(cells.begin(), cells.end(), cell); c != std::sregex_iterator(); ++c)
            texts.push_back((*c)[1]);
    }
    return out;
}

bool has(const std::string& text, const char* words)
{
    return text.find(words) != std::string::npos;
}

TEST(SideBySideTest, EachRowIsOneVerseInEveryVersion)
{
    const BibleStore kjv(KOVARA_BUILD_DIR "/bible.kova2", "King James Version", "KJV");
    const BibleStore web(test::testBibleFile("engWEB2015eb"), "World English Bible", "WEB");
    const BibleStore spanish(test::testBibleFile("spaRV1909eb"), "Reina Valera 1909", "RV1909");
    const std::vector<const BibleStore*> three{&kjv, &web, &spanish};
    const auto chapter = [&](int book, int number) {
        const int first = kjv.verseIndex(book, number, 1);
        return std::to_string(first) + "-" + std::to_string(first + kjv.chapterLengths(book, number) - 1);
    };

    const std::string page = buildSideBySidePage(chapter(64, 1), three);
    EXPECT_TRUE(has(page, "<th align=\"left\" width=\"33%\">KJV</th><th align=\"left\" width=\"33%\">WEB</th>"));
    auto john = rows(page);
    ASSERT_EQ(john.size(), 14u); // the WEB's verse 15 has no row of its own
    ASSERT_EQ(john[14].size(), 3u);
    EXPECT_TRUE(has(john[14][0], "But I trust I shall shortly see thee"));
    EXPECT_TRUE(has(john[14][1], "Greet the friends by name")); // the WEB numbers these words 15
    EXPECT_TRUE(has(john[14][2], "Los amigos te saludan"));
    EXPECT_TRUE(has(john[13][1], "I had many things to write to you"));

    // Malachi 4 is the end of chapter 3 in the WEB's own numbering.
    auto malachi = rows(buildSideBySidePage(chapter(39, 4), three));
    ASSERT_EQ(malachi.size(), 6u);
    EXPECT_TRUE(has(malachi[1][0], "For, behold, the day cometh"));
    EXPECT_TRUE(has(malachi[1][1], "For behold, the day comes, burning like a furnace"));
    EXPECT_TRUE(has(malachi[6][1], "He will turn the hearts of the fathers"));

    EXPECT_THROW(buildSideBySidePage("1-x", three), Exception);
}

} // namespace
} // namespace kovara::core
