#include "plans/todays_reading.h"

#include "content/kova_bible.h"
#include "fixtures.h"
#include "plans/kova_readplan.h"
#include "plans/plan_printout.h"

#include <gtest/gtest.h>

namespace kovara {
namespace {

const TDateTime kToday = EncodeDate(2024, 3, 10);

// Ten days of ten verses each: day n reads verses 10n-9 .. 10n.
std::vector<std::string> TenDays()
{
    std::vector<std::string> days;
    for (int d = 1; d <= 10; ++d)
        days.push_back(Format("%d-%d", 10 * d - 9, 10 * d));
    return days;
}

class TodaysReadingTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        test::MakeAlphaBetaBible(dir.File("bible.kova2"));
        bible = std::make_unique<TKOVABible>(dir.File("bible.kova2"), "Test", "T");
        plans = std::make_unique<TKOVAReadPlans>(dir.File("userreadplans.kova2"), clock);
    }
    // A ten-day plan that started `daysAgo` days before today.
    int Plan(int daysAgo) { return plans->AddPlan("Plan", TenDays(), kToday - daysAgo); }

    test::TempDir dir;
    FixedClock clock{kToday + 0.75};
    std::unique_ptr<TKOVABible> bible;
    std::unique_ptr<TKOVAReadPlans> plans;
};

TEST(PlanStandingTest, ClassifiesByFirstUnreadAndTodaysDay)
{
    EXPECT_EQ(PlanStandingOf(kAllDaysRead, 10), TPlanStanding::Completed);
    EXPECT_EQ(PlanStandingOf(3, 5), TPlanStanding::Behind);
    EXPECT_EQ(PlanStandingOf(5, 5), TPlanStanding::DueToday);
    EXPECT_EQ(PlanStandingOf(6, 5), TPlanStanding::UpToDate);
}

TEST_F(TodaysReadingTest, APlanStartedTodayShowsDayOneAndMarkingItMovesNothing)
{
    const int plan = Plan(0);
    auto view = BuildPlanDayView(*plans, *bible, plan, 0);
    ASSERT_TRUE(view);
    EXPECT_EQ(view->day, 1);
    EXPECT_EQ(view->title, "Plan");
    EXPECT_EQ(view->verses, "1-10");
    EXPECT_EQ(view->heading, "Day 1 of 10: Alpha 1:1-10");
    EXPECT_EQ(view->status, "");
    EXPECT_TRUE(view->canMarkRead);
    EXPECT_TRUE(PlanNeedsReading(*plans, plan));

    const TMarkReadOutcome outcome = MarkPlanDayRead(*plans, plan, 1);
    EXPECT_EQ(outcome.status, kStatusMarkedRead);
    EXPECT_EQ(outcome.nextDay, 0); // day 2 is not due yet
    EXPECT_EQ(outcome.message, "");
    EXPECT_EQ(GetPlanStanding(*plans, plan), TPlanStanding::UpToDate);
    EXPECT_FALSE(PlanNeedsReading(*plans, plan));

    view = BuildPlanDayView(*plans, *bible, plan, 0);
    EXPECT_EQ(view->day, 1);
    EXPECT_EQ(view->status, kStatusMarkedRead);
    EXPECT_FALSE(view->canMarkRead);
}

TEST_F(TodaysReadingTest, ABehindReaderCatchesUpDayByDay)
{
    const int plan = Plan(5); // today is day 6
    auto view = BuildPlanDayView(*plans, *bible, plan, 0);
    EXPECT_EQ(view->day, 1);
    EXPECT_EQ(view->status, kStatusBehind);
    EXPECT_TRUE(PlanNeedsReading(*plans, plan));
    for (int day = 1; day <= 5; ++day) {
        const TMarkReadOutcome outcome = MarkPlanDayRead(*plans, plan, day);
        EXPECT_EQ(outcome.nextDay, day + 1) << day;
        EXPECT_EQ(outcome.message, kCatchingUp) << day;
    }
    EXPECT_EQ(BuildPlanDayView(*plans, *bible, plan, 0)->status, "");
    const TMarkReadOutcome today = MarkPlanDayRead(*plans, plan, 6);
    EXPECT_EQ(today.nextDay, 0);
    EXPECT_EQ(today.message, "");

    // Marking an earlier day loads a later unread due day, not the one after it.
    const int other = Plan(5);
    plans->SetDayDone(other, 2, true);
    plans->SetDayDone(other, 3, true);
    const TMarkReadOutcome skip = MarkPlanDayRead(*plans, other, 1);
    EXPECT_EQ(skip.nextDay, 4);
}

TEST_F(TodaysReadingTest, MarkingTheLastUnreadDayCompletesThePlan)
{
    const int plan = Plan(3);
    plans->MarkDaysDoneThrough(plan, 10);
    plans->SetDayDone(plan, 7, false);
    EXPECT_EQ(MarkPlanDayRead(*plans, plan, 7).message, kPlanCompleted);

    // Shown later: today's plan day, completed, nothing to mark.
    const auto view = BuildPlanDayView(*plans, *bible, plan, 0);
    EXPECT_EQ(view->day, 4);
    EXPECT_EQ(view->status, kStatusCompleted);
    EXPECT_FALSE(view->canMarkRead);
    EXPECT_FALSE(PlanNeedsReading(*plans, plan));
    // Past its end, a completed plan opens on its last day.
    clock.Set(kToday + 30);
    EXPECT_EQ(BuildPlanDayView(*plans, *bible, plan, 0)->heading, "Day 10 of 10: Beta 2:1-10");
}

TEST_F(TodaysReadingTest, OutOfRangePlansAndDays)
{
    const int plan = Plan(0);
    EXPECT_FALSE(BuildPlanDayView(*plans, *bible, 1, 0)); // a plan gone from the store
    using test::MessageOf;
    EXPECT_EQ(MessageOf([&] { BuildPlanDayView(*plans, *bible, -1, 0); }), "Plan index out of range: -1");
    EXPECT_EQ(MessageOf([&] { BuildPlanDayView(*plans, *bible, plan, 11); }), "Day out of range: 11");
    EXPECT_EQ(MessageOf([&] { MarkPlanDayRead(*plans, -1, 1); }), "Plan index out of range (-1)");
    EXPECT_EQ(MessageOf([&] { MarkPlanDayRead(*plans, 1, 1); }), "Plan index out of range (1)");
    EXPECT_EQ(MessageOf([&] { MarkPlanDayRead(*plans, plan, 0); }), "Plan day out of range (Plan, 0)");
    EXPECT_EQ(MessageOf([&] { MarkPlanDayRead(*plans, plan, 11); }), "Plan day out of range (Plan, 11)");
    EXPECT_EQ(MessageOf([&] { CheckPlanEntryIndex(1, 1); }),
              "Specified plan index is out of range (1 requested, 0 max)");
    EXPECT_NO_THROW(CheckPlanEntryIndex(0, 1));
}

TEST_F(TodaysReadingTest, PrintoutListsEveryDayWithItsDateAndMark)
{
    const int plan = plans->AddPlan("Tom & Jerry <3>", {"1-31", "32-56", "81-85,91-92"}, EncodeDate(2007, 12, 31));
    plans->SetDayDone(plan, 2, true);
    const DateFormatter shortDate = [](TDateTime t) {
        int y, m, d;
        DecodeDate(t, y, m, d);
        return Format("%d/%d/%04d", m, d, y);
    };
    EXPECT_EQ(PlanPrintoutHtml(*plans, plan, *bible, shortDate),
              "<p><b>Tom & Jerry <3></b></p>\r\n"
              "<table border=\"1\" cellpadding=\"5\" cellspacing=\"0\">\r\n"
              "<tr><td>&nbsp;Read&nbsp;</td><td>&nbsp;Day&nbsp;</td><td>&nbsp;Date&nbsp;</td><td>&nbsp;Verses&nbsp;</td></tr>\r\n"
              "<tr><td>&nbsp;&nbsp;&nbsp;</td><td>&nbsp;1&nbsp;</td><td>&nbsp;12/31/2007&nbsp;</td><td>&nbsp;Alpha 1&nbsp;</td></tr>\r\n"
              "<tr><td>&nbsp;<b>X</b>&nbsp;</td><td>&nbsp;2&nbsp;</td><td>&nbsp;1/1/2008&nbsp;</td><td>&nbsp;Alpha 2&nbsp;</td></tr>\r\n"
              "<tr><td>&nbsp;&nbsp;&nbsp;</td><td>&nbsp;3&nbsp;</td><td>&nbsp;1/2/2008&nbsp;</td><td>&nbsp;Beta 1:1-5; Beta 2:1-2&nbsp;</td></tr>\r\n"
              "</table>\r\n");
}

} // namespace
} // namespace kovara
