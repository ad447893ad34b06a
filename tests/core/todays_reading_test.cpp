#include "core/plans/todays_reading.h"

#include "core/content/bible_store.h"
#include "fixtures.h"
#include "core/plans/plan_store.h"
#include "core/plans/plan_printout.h"

#include <gtest/gtest.h>

namespace kovara::core {
namespace {

const sys_days kToday = makeDate(2024, 3, 10);
using namespace std::chrono_literals;

// Ten days of ten verses each: day n reads verses 10n-9 .. 10n.
std::vector<std::string> tenDays()
{
    std::vector<std::string> days;
    for (int d = 1; d <= 10; ++d)
        days.push_back(format("%d-%d", 10 * d - 9, 10 * d));
    return days;
}

class TodaysReadingTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        test::makeAlphaBetaBible(dir.file("bible.kova2"));
        bible = std::make_unique<BibleStore>(dir.file("bible.kova2"), "Test", "T");
        plans = std::make_unique<PlanStore>(dir.file("userreadplans.kova2"), clock);
    }
    // A ten-day plan that started `daysAgo` days before today.
    int addPlan(int daysAgo) { return *plans->indexOf(plans->addPlan("Plan", tenDays(), kToday - std::chrono::days(daysAgo))); }

    test::TempDir dir;
    FixedClock clock{startOf(kToday) + 18h};
    std::unique_ptr<BibleStore> bible;
    std::unique_ptr<PlanStore> plans;
};

TEST(PlanStandingTest, ClassifiesByFirstUnreadAndTodaysDay)
{
    EXPECT_EQ(planStandingOf(std::nullopt, 10), PlanStanding::Completed);
    EXPECT_EQ(planStandingOf(3, 5), PlanStanding::Behind);
    EXPECT_EQ(planStandingOf(5, 5), PlanStanding::DueToday);
    EXPECT_EQ(planStandingOf(6, 5), PlanStanding::UpToDate);
    EXPECT_EQ(planStandingOf(1, 0), PlanStanding::NotStarted);
    EXPECT_EQ(planStandingOf(3, 0), PlanStanding::NotStarted); // read ahead before the start
    EXPECT_EQ(planStandingOf(std::nullopt, 0), PlanStanding::Completed);
}

TEST_F(TodaysReadingTest, APlanStartedTodayShowsDayOneAndMarkingItMovesNothing)
{
    const int plan = addPlan(0);
    auto view = buildPlanDayView(*plans, *bible, plan, std::nullopt);
    ASSERT_TRUE(view);
    EXPECT_EQ(view->day, 1);
    EXPECT_EQ(view->title, "Plan");
    EXPECT_EQ(view->verses, "1-10");
    EXPECT_EQ(view->heading, "Day 1 of 10: Alpha 1:1-10");
    EXPECT_EQ(view->status, "");
    EXPECT_TRUE(view->canMarkRead);
    EXPECT_TRUE(planNeedsReading(*plans, plan));

    const MarkReadOutcome outcome = markPlanDayRead(*plans, plan, 1);
    EXPECT_EQ(outcome.status, kStatusMarkedRead);
    EXPECT_EQ(outcome.nextDay, std::nullopt); // day 2 is not due yet
    EXPECT_EQ(outcome.message, "");
    EXPECT_EQ(planStanding(*plans, plan), PlanStanding::UpToDate);
    EXPECT_FALSE(planNeedsReading(*plans, plan));

    view = buildPlanDayView(*plans, *bible, plan, std::nullopt);
    EXPECT_EQ(view->day, 1);
    EXPECT_EQ(view->status, kStatusMarkedRead);
    EXPECT_FALSE(view->canMarkRead);

    // Read ahead: the next unread day, ready to be marked.
    markPlanDayRead(*plans, plan, 2);
    view = buildPlanDayView(*plans, *bible, plan, std::nullopt);
    EXPECT_EQ(view->day, 3);
    EXPECT_EQ(view->status, "");
    EXPECT_TRUE(view->canMarkRead);
}

TEST_F(TodaysReadingTest, APlanThatHasNotStartedIsNeverBehind)
{
    const int plan = addPlan(-7); // starts a week from today
    EXPECT_EQ(planStanding(*plans, plan), PlanStanding::NotStarted);
    EXPECT_FALSE(planNeedsReading(*plans, plan));
    const auto view = buildPlanDayView(*plans, *bible, plan, std::nullopt);
    ASSERT_TRUE(view);
    EXPECT_EQ(view->day, 1);
    EXPECT_EQ(view->status, "");

    const MarkReadOutcome outcome = markPlanDayRead(*plans, plan, 1);
    EXPECT_EQ(outcome.nextDay, std::nullopt);
    EXPECT_EQ(outcome.message, "");
    EXPECT_EQ(planStatusText(*plans, plan, 1), kStatusMarkedRead);
}

TEST_F(TodaysReadingTest, ABehindReaderCatchesUpDayByDay)
{
    const int plan = addPlan(5); // today is day 6
    auto view = buildPlanDayView(*plans, *bible, plan, std::nullopt);
    EXPECT_EQ(view->day, 1);
    EXPECT_EQ(view->status, kStatusBehind);
    EXPECT_TRUE(planNeedsReading(*plans, plan));
    for (int day = 1; day <= 5; ++day) {
        const MarkReadOutcome outcome = markPlanDayRead(*plans, plan, day);
        EXPECT_EQ(outcome.nextDay, day + 1) << day;
        EXPECT_EQ(outcome.message, kCatchingUp) << day;
    }
    EXPECT_EQ(buildPlanDayView(*plans, *bible, plan, std::nullopt)->status, "");
    const MarkReadOutcome today = markPlanDayRead(*plans, plan, 6);
    EXPECT_EQ(today.nextDay, std::nullopt);
    EXPECT_EQ(today.message, "");

    // Marking an earlier day loads a later unread due day, not the one after it.
    const int other = addPlan(5);
    plans->setDayDone(other, 2, true);
    plans->setDayDone(other, 3, true);
    const MarkReadOutcome skip = markPlanDayRead(*plans, other, 1);
    EXPECT_EQ(skip.nextDay, 4);
}

TEST_F(TodaysReadingTest, MarkingTheLastUnreadDayCompletesThePlan)
{
    const int plan = addPlan(3);
    plans->markDaysDoneThrough(plan, 10);
    plans->setDayDone(plan, 7, false);
    EXPECT_EQ(markPlanDayRead(*plans, plan, 7).message, kPlanCompleted);

    // Shown later: today's plan day, completed, nothing to mark.
    const auto view = buildPlanDayView(*plans, *bible, plan, std::nullopt);
    EXPECT_EQ(view->day, 4);
    EXPECT_EQ(view->status, kStatusCompleted);
    EXPECT_FALSE(view->canMarkRead);
    EXPECT_FALSE(planNeedsReading(*plans, plan));
    // Past its end, a completed plan opens on its last day.
    clock.set(startOf(kToday + std::chrono::days(30)));
    EXPECT_EQ(buildPlanDayView(*plans, *bible, plan, std::nullopt)->heading, "Day 10 of 10: Beta 2:1-10");
}

TEST_F(TodaysReadingTest, OutOfRangePlansAndDays)
{
    const int plan = addPlan(0);
    EXPECT_FALSE(buildPlanDayView(*plans, *bible, 1, std::nullopt)); // a plan gone from the store
    using test::messageOf;
    EXPECT_EQ(messageOf([&] { buildPlanDayView(*plans, *bible, -1, std::nullopt); }), "Plan index out of range: -1");
    EXPECT_EQ(messageOf([&] { buildPlanDayView(*plans, *bible, plan, 11); }), "Day out of range: 11");
    EXPECT_EQ(messageOf([&] { markPlanDayRead(*plans, -1, 1); }), "Plan index out of range (-1)");
    EXPECT_EQ(messageOf([&] { markPlanDayRead(*plans, 1, 1); }), "Plan index out of range (1)");
    EXPECT_EQ(messageOf([&] { markPlanDayRead(*plans, plan, 0); }), "Plan day out of range (Plan, 0)");
    EXPECT_EQ(messageOf([&] { markPlanDayRead(*plans, plan, 11); }), "Plan day out of range (Plan, 11)");
    EXPECT_EQ(messageOf([&] { checkPlanEntryIndex(1, 1); }),
              "Specified plan index is out of range (1 requested, 0 max)");
    EXPECT_NO_THROW(checkPlanEntryIndex(0, 1));
}

TEST_F(TodaysReadingTest, PrintoutListsEveryDayWithItsDateAndMark)
{
    const int plan = *plans->indexOf(plans->addPlan("Tom & Jerry <3>", {"1-31", "32-56", "81-85,91-92"}, makeDate(2007, 12, 31)));
    plans->setDayDone(plan, 2, true);
    const DateFormatter shortDate = [](sys_days d) {
        const std::chrono::year_month_day date{d};
        return format("%d/%d/%04d", static_cast<unsigned>(date.month()), static_cast<unsigned>(date.day()),
                      static_cast<int>(date.year()));
    };
    EXPECT_EQ(planPrintoutHtml(*plans, plan, *bible, shortDate),
              "<p><b>Tom &amp; Jerry &lt;3&gt;</b></p>\r\n"
              "<table border=\"1\" cellpadding=\"5\" cellspacing=\"0\" style=\"border-collapse: collapse\">\r\n"
              "<thead><tr><td>&nbsp;Read&nbsp;</td><td>&nbsp;Day&nbsp;</td><td>&nbsp;Date&nbsp;</td><td>&nbsp;Verses&nbsp;</td></tr></thead>\r\n"
              "<tr><td>&nbsp;&nbsp;&nbsp;</td><td>&nbsp;1&nbsp;</td><td>&nbsp;12/31/2007&nbsp;</td><td>&nbsp;Alpha 1&nbsp;</td></tr>\r\n"
              "<tr><td>&nbsp;<b>X</b>&nbsp;</td><td>&nbsp;2&nbsp;</td><td>&nbsp;1/1/2008&nbsp;</td><td>&nbsp;Alpha 2&nbsp;</td></tr>\r\n"
              "<tr><td>&nbsp;&nbsp;&nbsp;</td><td>&nbsp;3&nbsp;</td><td>&nbsp;1/2/2008&nbsp;</td><td>&nbsp;Beta 1:1-5; Beta 2:1-2&nbsp;</td></tr>\r\n"
              "</table>\r\n");
}

} // namespace
} // namespace kovara::core
