#include "core/plans/plan_progress.h"

#include <gtest/gtest.h>

#include <map>
#include <optional>

namespace kovara::core {
namespace {

const sys_days kToday = makeDate(2026, 12, 10);
using namespace std::chrono_literals;

TEST(PlanProgressTest, ProgressOnATableOfPlans)
{
    struct Case {
        const char* what;
        int n;
        int startOffset;
        std::map<int, std::optional<int>> read; // day -> read date (days from today), or not known
        int percent;
        int dueDay;
        int behind;
        bool finished;
        std::optional<int> finishedOn;
        std::optional<int> projected; // days from today
    };
    std::map<int, std::optional<int>> fiveReadEarly;
    for (int d = 1; d <= 5; ++d)
        fiveReadEarly[d] = -20 + d;
    const Case cases[] = {
        // 5 days in the 20 before today: 360 left at a quarter of a day a day.
        {"started 20 days ago, 5 read", 365, -20, fiveReadEarly, 1, 21, 15, false, {}, 1439},
        // "Start again from here" moved the start to 5 days ago: the reading
        // done before it still sets the pace (5 in the 19 days since).
        {"started again from day 6", 365, -5, fiveReadEarly, 1, 6, 0, false, {}, 1367},
        {"up to date, today read", 10, -2, {{1, -2}, {2, -1}, {3, 0}}, 30, 3, 0, false, {}, 7},
        {"up to date, today not yet read", 10, -2, {{1, -2}, {2, -1}}, 20, 3, 0, false, {}, 7},
        {"finished", 3, -5, {{1, -5}, {2, -3}, {3, -4}}, 100, 6, 0, true, -3, {}},
        {"read before dates were kept", 10, -40, {{1, {}}, {2, {}}}, 20, 41, 8, false, {}, {}},
        {"nothing read for 30 days", 100, -60, {{1, -31}}, 1, 61, 59, false, {}, {}},
        {"starts in the future", 10, 5, {}, 0, -4, 0, false, {}, {}},
        {"past its end", 4, -10, {{1, -1}}, 25, 11, 3, false, {}, 29},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        PlanDays days;
        days.startDate = startOf(kToday + std::chrono::days(c.startOffset)) + 6h; // a time of day does not count
        for (int d = 1; d <= c.n; ++d) {
            const auto it = c.read.find(d);
            days.done.push_back(it != c.read.end());
            days.readDates.push_back(it != c.read.end() && it->second
                                         ? std::optional(startOf(kToday + std::chrono::days(*it->second)) + 12h)
                                         : std::nullopt);
        }
        const PlanProgress p = computeProgress(days, kToday);
        EXPECT_EQ(p.dayCount, c.n);
        EXPECT_EQ(p.daysRead, static_cast<int>(c.read.size()));
        EXPECT_EQ(p.percent, c.percent);
        EXPECT_EQ(p.dueDay, c.dueDay);
        EXPECT_EQ(p.daysBehind, c.behind);
        EXPECT_EQ(p.finished, c.finished);
        EXPECT_EQ(p.plannedFinish, kToday + std::chrono::days(c.startOffset + c.n - 1));
        EXPECT_EQ(p.finishedOn, c.finishedOn ? std::optional(kToday + std::chrono::days(*c.finishedOn)) : std::nullopt);
        ASSERT_EQ(p.projectedFinish.has_value(), c.projected.has_value());
        if (c.projected) {
            EXPECT_EQ(*p.projectedFinish, kToday + std::chrono::days(*c.projected));
        }
    }
}

TEST(PlanProgressTest, CalendarStatesSplitReadAndUnreadAroundToday)
{
    PlanDays days;
    days.startDate = kToday - std::chrono::days(2);
    days.done = {true, false, true, false, true};
    EXPECT_EQ(planDayStates(days, kToday),
              (std::vector<DayState>{DayState::ReadPast, DayState::UnreadPast, DayState::ReadToday,
                                     DayState::UnreadFuture, DayState::ReadFuture}));
}

} // namespace
} // namespace kovara::core
