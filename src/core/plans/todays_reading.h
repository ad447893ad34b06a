#pragma once
// The rules of the reading page that are not widgets: which day of a plan to
// show, its heading and status line, how a plan stands (for bold entries and
// the welcome page), and what marking a day read leads to.
#include "core/plans/plan_id.h"

#include <optional>
#include <string>

namespace kovara::core {

class BibleStore;
class PlanStore;

enum class PlanStanding { Completed, Behind, DueToday, UpToDate, NotStarted };

// Classifies a plan by its first unread day u and today's plan day t:
// completed when there is no u (every day read), not started when t is 0 (the
// start is still ahead, so nothing is due), behind when u < t, due today when
// u = t, up to date otherwise.
PlanStanding planStandingOf(std::optional<int> firstUnreadDay, int todaysPlanDay);
PlanStanding planStanding(const PlanStore& plans, int plan);
// Plan entries of the menu and side bar are bold when the plan is behind or
// due today.
bool planNeedsReading(const PlanStore& plans, int plan);

extern const char* const kStatusBehind;     // "Note: You are behind on your reading plan."
extern const char* const kStatusCompleted;  // "This plan has been completed."
extern const char* const kStatusMarkedRead; // "This plan day has been marked as read."
extern const char* const kCatchingUp;       // shown after marking a day loads the next due one
extern const char* const kPlanCompleted;    // shown after the last unread day was marked

// Everything the reading page shows for one plan day.
struct PlanDayView {
    PlanId plan;
    int day = 0;
    std::string title;   // the plan's title
    std::string verses;  // the day's verse specification
    std::string heading; // "Day %d of %d: %s" with the reference in long book names
    std::string status;  // the one-line standing, possibly empty
    bool canMarkRead = false;
};

// The day the reading page shows when a plan is chosen without a day: the
// first unread day when the user is behind or has read beyond today's day,
// today's plan day otherwise (also for a completed plan).
int dayToRead(const PlanStore& plans, int plan);

// The page for plan and day (nothing: dayToRead). Nothing when plan is at or above
// the plan count (the page then disables its buttons and forgets the plan). A
// negative plan or a day outside the plan raises the store's range messages.
std::optional<PlanDayView> buildPlanDayView(const PlanStore& plans, const BibleStore& bible, int plan,
                                            std::optional<int> day);

// The status line for a shown day, first rule that holds: behind, completed,
// the shown day read, else empty.
std::string planStatusText(const PlanStore& plans, int plan, int shownDay);

// What follows marking a day read.
struct MarkReadOutcome {
    std::string status = kStatusMarkedRead;
    // A later due day that is still unread and should now be shown.
    std::optional<int> nextDay;
    // A message box to show (after showing nextDay), or empty.
    std::string message;
};

// Marks the shown day read and says what the page does next. Raises "Plan
// index out of range (%d)" when plan names no plan, "Plan day out of range
// (%s, %d)" (title, day) when day is outside it, and the database error when
// the write fails (the flag then stays as it was).
MarkReadOutcome markPlanDayRead(PlanStore& plans, int plan, int day);

// Checks the plan index carried by a plan's menu or side bar entry; raises
// "Specified plan index is out of range (%d requested, %d max)".
void checkPlanEntryIndex(int index, int planCount);

} // namespace kovara::core
