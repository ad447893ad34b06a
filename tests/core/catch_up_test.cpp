#include "core/plans/catch_up.h"
#include "fixtures.h"

#include <gtest/gtest.h>

#include <set>

namespace kovara::core {
namespace {

const sys_days kToday = makeDate(2026, 12, 10);
// Yesterday, as a read date is stored: its midnight.
const sys_seconds kYesterday = startOf(kToday - std::chrono::days(1));

// A plan of n days, day i reading verses 2i-1 and 2i, starting startOffset
// days from today, with the given days read.
struct Fixture {
    PlanDays days;
    std::vector<std::string> verses;
};
Fixture planOf(int n, int startOffset, const std::set<int>& read)
{
    Fixture f;
    f.days.startDate = kToday + std::chrono::days(startOffset);
    for (int i = 1; i <= n; ++i) {
        f.verses.push_back(format("%d-%d", 2 * i - 1, 2 * i));
        f.days.done.push_back(read.count(i) > 0);
        f.days.readDates.push_back(read.count(i) ? std::optional(kYesterday) : std::nullopt);
    }
    return f;
}

// Every choice on one plan: the new start (as days from today), the day texts
// "keep my finish date" gives (or the message it raises), and the double-up
// schedule (days from today).
TEST(CatchUpTest, TheThreeChoicesOnATableOfPlans)
{
    struct Case {
        const char* what;
        int n;
        int startOffset;
        std::set<int> read;
        int restartOffset;
        std::vector<std::string> keepDays; // empty: keepError is raised
        int keepStartOffset;
        const char* keepError;
        int caughtUpOffset;
        int finishOffset;
    };
    const Case cases[] = {
        {"nothing read, two days behind", 5, -2, {}, 0, {"1-4", "5-7", "8-10"}, 0, nullptr, 1, 2},
        {"behind by one day", 5, -2, {1}, -1, {"3-5", "6-8", "9-10"}, -1, nullptr, 0, 2},
        {"read out of order", 6, -3, {1, 3}, -1, {"3-4,7-7", "8-10", "11-12"}, -2, nullptr, 0, 2},
        {"behind by more days than are left", 10, -7, {}, 0, {"1-7", "8-14", "15-20"}, 0, nullptr, 4, 4},
        {"finish date already past", 5, -9, {1, 2}, -2, {}, 0, kPlannedFinishPassed, 1, 1},
        // The last planned day is today: every unread verse goes to it.
        {"planned finish is today", 5, -4, {1, 2}, -2, {"5-10"}, -2, nullptr, 1, 1},
        {"read ahead: fewer verses than days left", 5, 0, {2, 3, 4, 5}, 0, {"1-1", "2-2"}, -4, nullptr, 0, 0},
        {"started in the future", 3, 2, {}, 0, {"1-2", "3-3", "4-4", "5-5", "6-6"}, 0, nullptr, 0, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const Fixture f = planOf(c.n, c.startOffset, c.read);
        EXPECT_EQ(restartStartDate(f.days, kToday), kToday + std::chrono::days(c.restartOffset));
        if (c.keepError) {
            EXPECT_EQ(test::messageOf([&] { keepFinishDate(f.days, f.verses, kToday); }), c.keepError);
        } else {
            const RedividedPlan kept = keepFinishDate(f.days, f.verses, kToday);
            std::vector<std::string> expected;
            for (int day : c.read)
                expected.push_back(f.verses[static_cast<std::size_t>(day - 1)]);
            expected.insert(expected.end(), c.keepDays.begin(), c.keepDays.end());
            EXPECT_EQ(kept.dayVerses, expected);
            EXPECT_EQ(kept.startDate, kToday + std::chrono::days(c.keepStartOffset));
            // Read days first and read, with their dates; the finish stays.
            for (std::size_t i = 0; i < kept.done.size(); ++i) {
                EXPECT_EQ(kept.done[i], i < c.read.size()) << i;
                EXPECT_EQ(kept.readDates[i], i < c.read.size() ? std::optional(kYesterday) : std::nullopt) << i;
            }
            EXPECT_LE(kept.startDate + std::chrono::days(static_cast<int>(kept.dayVerses.size()) - 1),
                      kToday + std::chrono::days(c.startOffset + c.n - 1));
        }
        const DoubleUpSchedule doubled = doubleUpSchedule(f.days, kToday);
        EXPECT_EQ(doubled.caughtUpOn, kToday + std::chrono::days(c.caughtUpOffset));
        EXPECT_EQ(doubled.finishOn, kToday + std::chrono::days(c.finishOffset));
    }
}

TEST(CatchUpTest, EverythingReadHasNothingToCatchUp)
{
    const Fixture f = planOf(3, -5, {1, 2, 3});
    EXPECT_EQ(test::messageOf([&] { restartStartDate(f.days, kToday); }), kNothingToCatchUp);
    EXPECT_EQ(test::messageOf([&] { keepFinishDate(f.days, f.verses, kToday); }), kNothingToCatchUp);
    EXPECT_EQ(test::messageOf([&] { doubleUpSchedule(f.days, kToday); }), kNothingToCatchUp);
    EXPECT_TRUE(doubleUpDays(f.days).empty());
}

TEST(CatchUpTest, DividingRunsJoinsNeighboursAndKeepsOrder)
{
    EXPECT_EQ(divideVerseRuns({"1-3", "4-6"}, 1), std::vector<std::string>{"1-6"});
    // Template days hold several runs; a day may take the end of one and the
    // start of the next.
    EXPECT_EQ(divideVerseRuns({"1-3,10-12", "4-5"}, 2), (std::vector<std::string>{"1-3,10-10", "11-12,4-5"}));
    // The custom plan's rule: the first days carry the rest.
    EXPECT_EQ(divideVerseRuns({"1-10"}, 3), (std::vector<std::string>{"1-4", "5-7", "8-10"}));
    EXPECT_EQ(test::messageOf([] { divideVerseRuns({"1-2"}, 3); }), "Cannot divide 2 verses into 3 days");
}

TEST(CatchUpTest, DoubleUpShowsTheFirstTwoUnreadDays)
{
    EXPECT_EQ(doubleUpDays(planOf(6, -4, {1, 3}).days), (std::vector<int>{2, 4}));
    EXPECT_EQ(doubleUpDays(planOf(3, -4, {1, 2}).days), (std::vector<int>{3}));
}

} // namespace
} // namespace kovara::core
