// Checks the readplans.kova2 that the build generated: each template reads
// every verse of the Bible exactly once, in order, in portions of balanced size.
#include "core/content/bible_store.h"
#include "fixtures.h"
#include "core/plans/plan_store.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>

namespace kovara::core {
namespace {

constexpr int kVerses = 31102;
constexpr int kLastOldTestamentVerse = 23145;

int sizeOf(const VerseRun& r)
{
    return r.last - r.first + 1;
}

class ReadPlansContentTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() { bible = new BibleStore(test::builtFile("bible.kova2"), "King James Version", "KJV"); }
    static void TearDownTestSuite() { delete bible; }

    // Checks that the runs of all streams together cover 1..kVerses once each
    // and that each stream reads forward. Streams are the portions a reader
    // follows one after another (a book type, a testament).
    static void expectEveryVerseOnceInOrder(const std::map<int, std::vector<VerseRun>>& streams)
    {
        std::vector<VerseRun> all;
        for (const auto& [stream, runs] : streams) {
            for (std::size_t i = 1; i < runs.size(); ++i)
                EXPECT_GT(runs[i].first, runs[i - 1].last) << "stream " << stream << " goes back at run " << i;
            all.insert(all.end(), runs.begin(), runs.end());
        }
        std::sort(all.begin(), all.end(), [](const VerseRun& a, const VerseRun& b) { return a.first < b.first; });
        int next = 1;
        for (const VerseRun& r : all) {
            ASSERT_EQ(r.first, next) << "gap or overlap before verse " << r.first;
            ASSERT_GE(r.last, r.first);
            next = r.last + 1;
        }
        EXPECT_EQ(next, kVerses + 1);
    }

    static BibleStore* bible;
};
BibleStore* ReadPlansContentTest::bible = nullptr;

TEST_F(ReadPlansContentTest, SevenTypesReadsEachKindOfBookInWeeklyChapterPortions)
{
    const auto days = loadTemplateVerses(test::builtFile("readplans.kova2"), "sevenTypes");
    ASSERT_EQ(days.size(), 364u);
    std::map<int, std::vector<VerseRun>> types; // 0 Law ... 6 Epistles
    std::map<int, std::vector<int>> sizes;
    for (std::size_t i = 0; i < days.size(); ++i) {
        const int type = static_cast<int>(i % 7);
        int size = 0;
        for (const VerseRun& r : parseVerseSpec(days[i])) {
            types[type].push_back(r);
            size += sizeOf(r);
            // Portions are whole chapters.
            const VerseRef a = bible->verseReference(r.first);
            const VerseRef b = bible->verseReference(r.last);
            EXPECT_EQ(a.verse, 1) << days[i];
            EXPECT_EQ(b.verse, bible->chapterLengths(b.book, b.chapter)) << days[i];
        }
        sizes[type].push_back(size);
        EXPECT_NO_THROW(bible->referenceText(days[i])) << days[i];
    }
    expectEveryVerseOnceInOrder(types);

    // The first portion of each kind opens its first book.
    const int firstBooks[7] = {1, 6, 19, 18, 23, 40, 45};
    for (int type = 0; type < 7; ++type)
        EXPECT_EQ(bible->verseReference(types[type].front().first).book, firstBooks[type]) << "type " << type;

    // Balanced: within a kind, no portion strays from the average by more than
    // the longest chapter of that kind (portions end at chapter ends).
    const char* names[7] = {"Law", "History", "Psalms", "Poetry", "Prophecy", "Gospels", "Epistles"};
    int smallest = kVerses, largest = 0;
    for (int type = 0; type < 7; ++type) {
        int longestChapter = 0, total = 0;
        for (const VerseRun& r : types[type])
            for (int v = r.first; v <= r.last;) {
                const VerseRef ref = bible->verseReference(v);
                const int len = bible->chapterLengths(ref.book, ref.chapter);
                longestChapter = std::max(longestChapter, len);
                total += len;
                v += len;
            }
        const double mean = total / 52.0;
        const auto [lo, hi] = std::minmax_element(sizes[type].begin(), sizes[type].end());
        EXPECT_LE(*hi - mean, longestChapter) << names[type];
        EXPECT_LE(mean - *lo, longestChapter) << names[type];
        smallest = std::min(smallest, *lo);
        largest = std::max(largest, *hi);
        std::printf("sevenTypes %-8s: %4.0f verses a day on average, smallest %d, largest %d\n", names[type], mean, *lo,
                    *hi);
    }
    std::printf("sevenTypes: smallest day %d verses, largest day %d verses\n", smallest, largest);
}

TEST_F(ReadPlansContentTest, OtNtDailyReadsBothTestamentsEveryDay)
{
    const auto days = loadTemplateVerses(test::builtFile("readplans.kova2"), "otntDaily");
    ASSERT_EQ(days.size(), 365u);
    std::map<int, std::vector<VerseRun>> testaments; // 0 Old, 1 New
    std::vector<int> daySizes, oldSizes, newSizes;
    for (const std::string& day : days) {
        const auto runs = parseVerseSpec(day);
        ASSERT_EQ(runs.size(), 2u) << day;
        EXPECT_LE(runs[0].last, kLastOldTestamentVerse) << day;
        EXPECT_GT(runs[1].first, kLastOldTestamentVerse) << day;
        testaments[0].push_back(runs[0]);
        testaments[1].push_back(runs[1]);
        oldSizes.push_back(sizeOf(runs[0]));
        newSizes.push_back(sizeOf(runs[1]));
        daySizes.push_back(sizeOf(runs[0]) + sizeOf(runs[1]));
        EXPECT_NO_THROW(bible->referenceText(day)) << day;
    }
    expectEveryVerseOnceInOrder(testaments);

    // Balanced: every portion lies within a third of its testament's average.
    const double oldMean = kLastOldTestamentVerse / 365.0, newMean = (kVerses - kLastOldTestamentVerse) / 365.0;
    for (std::size_t i = 0; i < days.size(); ++i) {
        EXPECT_NEAR(oldSizes[i], oldMean, oldMean / 3) << "day " << i + 1 << ": " << days[i];
        EXPECT_NEAR(newSizes[i], newMean, newMean / 3) << "day " << i + 1 << ": " << days[i];
    }
    const auto [lo, hi] = std::minmax_element(daySizes.begin(), daySizes.end());
    std::printf("otntDaily: %.0f verses a day on average, smallest day %d verses, largest day %d verses\n",
                kVerses / 365.0, *lo, *hi);
}

} // namespace
} // namespace kovara::core
