#include "core/plans/todays_reading.h"

#include "core/content/bible_store.h"
#include "core/plans/plan_store.h"
#include "core/base/translation.h"

#include <algorithm>

namespace kovara::core {

const char* const kStatusBehind =
    QT_TRANSLATE_NOOP("kovara::core::TodaysReading", "Note: You are behind on your reading plan.");
const char* const kStatusCompleted = QT_TRANSLATE_NOOP("kovara::core::TodaysReading", "This plan has been completed.");
const char* const kStatusMarkedRead =
    QT_TRANSLATE_NOOP("kovara::core::TodaysReading", "This plan day has been marked as read.");
const char* const kCatchingUp =
    QT_TRANSLATE_NOOP("kovara::core::TodaysReading", "You're catching up! The next unread day of your plan has been loaded.");
const char* const kPlanCompleted =
    QT_TRANSLATE_NOOP("kovara::core::TodaysReading", "Congratulations, you have completed this reading plan!");

PlanStanding planStandingOf(std::optional<int> firstUnreadDay, int todaysPlanDay)
{
    if (!firstUnreadDay)
        return PlanStanding::Completed;
    if (todaysPlanDay < 1)
        return PlanStanding::NotStarted;
    if (firstUnreadDay < todaysPlanDay)
        return PlanStanding::Behind;
    if (firstUnreadDay == todaysPlanDay)
        return PlanStanding::DueToday;
    return PlanStanding::UpToDate;
}

PlanStanding planStanding(const PlanStore& plans, int plan)
{
    return planStandingOf(plans.firstUnreadDay(plan), plans.todaysPlanDay(plan));
}

bool planNeedsReading(const PlanStore& plans, int plan)
{
    const PlanStanding standing = planStanding(plans, plan);
    return standing == PlanStanding::Behind || standing == PlanStanding::DueToday;
}

int dayToRead(const PlanStore& plans, int plan)
{
    const std::optional<int> u = plans.firstUnreadDay(plan);
    // Before the start (t = 0) the first day is shown.
    const int t = std::max(1, plans.todaysPlanDay(plan));
    if (!u)
        return t;
    // A reader who has read beyond today goes on with the next unread day
    // rather than today's, which is read; today's stays in view on the day
    // it was read.
    if (*u > t + 1)
        return *u;
    return std::min(*u, t);
}

std::string planStatusText(const PlanStore& plans, int plan, int shownDay)
{
    const std::optional<int> u = plans.firstUnreadDay(plan);
    const int t = plans.todaysPlanDay(plan);
    if (u && *u < t)
        return translatedText("kovara::core::TodaysReading", kStatusBehind);
    if (!u)
        return translatedText("kovara::core::TodaysReading", kStatusCompleted);
    if (plans.isDayDone(plan, shownDay))
        return translatedText("kovara::core::TodaysReading", kStatusMarkedRead);
    return "";
}

std::optional<PlanDayView> buildPlanDayView(const PlanStore& plans, const BibleStore& bible, int plan,
                                            std::optional<int> day)
{
    if (plan >= plans.planCount())
        return std::nullopt;
    PlanDayView view;
    view.plan = plans.id(plan);
    view.day = day ? *day : dayToRead(plans, plan);
    view.verses = plans.dayVerses(plan, view.day);
    view.title = plans.planTitle(plan);
    view.heading = withArgs(translatedText("kovara::core::TodaysReading", "Day %1 of %2: %3"), view.day, plans.dayCount(plan), bible.referenceText(view.verses));
    view.canMarkRead = !plans.isDayDone(plan, view.day);
    view.status = planStatusText(plans, plan, view.day);
    return view;
}

MarkReadOutcome markPlanDayRead(PlanStore& plans, int plan, int day)
{
    if (plan < 0 || plan > plans.planCount() - 1)
        throw Exception(format("Plan index out of range (%d)", plan));
    if (day < 1 || day > plans.dayCount(plan))
        throw Exception(format("Plan day out of range (%s, %d)", plans.planTitle(plan), day));
    plans.setDayDone(plan, day, true);

    MarkReadOutcome outcome;
    const std::optional<int> u = plans.firstUnreadDay(plan);
    const int t = plans.todaysPlanDay(plan);
    if (u && t >= *u && *u > day) {
        // Catching up: another due day is still unread.
        outcome.nextDay = *u;
        outcome.message = translatedText("kovara::core::TodaysReading", kCatchingUp);
    } else if (!u) {
        outcome.message = translatedText("kovara::core::TodaysReading", kPlanCompleted);
    }
    return outcome;
}

void checkPlanEntryIndex(int index, int planCount)
{
    if (index > planCount - 1)
        throw Exception(format("Specified plan index is out of range (%d requested, %d max)", index, planCount - 1));
}

} // namespace kovara::core
