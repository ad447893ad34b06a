#include "plans/todays_reading.h"

#include "content/kova_bible.h"
#include "plans/kova_readplan.h"

#include <algorithm>

namespace kovara {

const char* const kStatusBehind = "Note: You are behind on your reading plan.";
const char* const kStatusCompleted = "This plan has been completed.";
const char* const kStatusMarkedRead = "This plan day has been marked as read.";
const char* const kCatchingUp = "You're catching up! The next unread day of your plan has been loaded.";
const char* const kPlanCompleted = "Congratulations, you have completed this reading plan!";

TPlanStanding PlanStandingOf(int firstUnreadDay, int todaysPlanDay)
{
    if (firstUnreadDay == kAllDaysRead)
        return TPlanStanding::Completed;
    if (firstUnreadDay < todaysPlanDay)
        return TPlanStanding::Behind;
    if (firstUnreadDay == todaysPlanDay)
        return TPlanStanding::DueToday;
    return TPlanStanding::UpToDate;
}

TPlanStanding GetPlanStanding(const TKOVAReadPlans& plans, int plan)
{
    return PlanStandingOf(plans.GetFirstUnreadDay(plan), plans.GetTodaysPlanDay(plan));
}

bool PlanNeedsReading(const TKOVAReadPlans& plans, int plan)
{
    const TPlanStanding standing = GetPlanStanding(plans, plan);
    return standing == TPlanStanding::Behind || standing == TPlanStanding::DueToday;
}

int DayToRead(const TKOVAReadPlans& plans, int plan)
{
    return std::min(plans.GetFirstUnreadDay(plan), plans.GetTodaysPlanDay(plan));
}

std::string PlanStatusText(const TKOVAReadPlans& plans, int plan, int shownDay)
{
    const int u = plans.GetFirstUnreadDay(plan);
    const int t = plans.GetTodaysPlanDay(plan);
    if (u < t)
        return kStatusBehind;
    if (u == kAllDaysRead)
        return kStatusCompleted;
    if (plans.IsDayDone(plan, shownDay))
        return kStatusMarkedRead;
    return "";
}

std::optional<TPlanDayView> BuildPlanDayView(const TKOVAReadPlans& plans, const TKOVABible& bible, int plan, int day)
{
    if (plan >= plans.GetPlanCount())
        return std::nullopt;
    TPlanDayView view;
    view.plan = plan;
    view.day = day != 0 ? day : DayToRead(plans, plan);
    view.verses = plans.GetDayVerses(plan, view.day);
    view.title = plans.GetPlanTitle(plan);
    view.heading = Format("Day %d of %d: %s", view.day, plans.GetDayCount(plan), bible.GetReferenceText(view.verses));
    view.canMarkRead = !plans.IsDayDone(plan, view.day);
    view.status = PlanStatusText(plans, plan, view.day);
    return view;
}

TMarkReadOutcome MarkPlanDayRead(TKOVAReadPlans& plans, int plan, int day)
{
    if (plan < 0 || plan > plans.GetPlanCount() - 1)
        throw Exception(Format("Plan index out of range (%d)", plan));
    if (day < 1 || day > plans.GetDayCount(plan))
        throw Exception(Format("Plan day out of range (%s, %d)", plans.GetPlanTitle(plan), day));
    plans.SetDayDone(plan, day, true);

    TMarkReadOutcome outcome;
    const int u = plans.GetFirstUnreadDay(plan);
    const int t = plans.GetTodaysPlanDay(plan);
    if (t >= u && u > day) {
        // Catching up: another due day is still unread.
        outcome.nextDay = u;
        outcome.message = kCatchingUp;
    } else if (u == kAllDaysRead) {
        outcome.message = kPlanCompleted;
    }
    return outcome;
}

void CheckPlanEntryIndex(int index, int planCount)
{
    if (index > planCount - 1)
        throw Exception(Format("Specified plan index is out of range (%d requested, %d max)", index, planCount - 1));
}

} // namespace kovara
