#pragma once
// The three ways a reader who is behind gets back on track, worked out from
// the plan's days without touching the store, so the catch-up dialog can show
// what each will do before it is applied:
// - start again from here: the start moves so that the first unread day falls
//   on today, and every later date moves with it;
// - keep my finish date: the unread days' passages are divided again over the
//   days left until the planned finish, the read days staying as they are;
// - double up: two plan days a day until the reader is caught up.
#include "core/base/datetime.h"
#include "core/plans/plan_progress.h"

#include <string>
#include <vector>

namespace kovara::core {

class PlanStore;

// In English; raised in the reader's language.
extern const char* const kNothingToCatchUp;  // every day is read
extern const char* const kPlannedFinishPassed; // keep my finish date, once the last day's date is past

// Start again from here: the new start date (today minus the read days
// before the first unread one). Raises kNothingToCatchUp when every day is read.
sys_days restartStartDate(const PlanDays& days, sys_days today);

// Keep my finish date: the plan that replaces the old one.
struct RedividedPlan {
    sys_days startDate{};
    std::vector<std::string> dayVerses;
    std::vector<bool> done;
    std::vector<std::optional<sys_seconds>> readDates;
};

// The read days first, in their order, with their passages, flags and dates;
// then the unread days' verses, in plan order, divided over the days from
// today to the planned finish as a custom plan divides its stretch (the first
// days read one verse more when they do not divide evenly; never a day without
// a verse, so a short rest ends sooner). The start moves so that the first new
// day falls on today and the last on the planned finish. Raises
// kNothingToCatchUp when every day is read, kPlannedFinishPassed when the
// last day's date is before today, and the verse specification's errors.
RedividedPlan keepFinishDate(const PlanDays& days, const std::vector<std::string>& dayVerses, sys_days today);

// Runs of verse indices, divided into `count` days: each day's text is a verse
// specification "a-b" or "a-b,c-d" (adjacent runs joined). count must be at
// least 1 and at most the number of verses.
std::vector<std::string> divideVerseRuns(const std::vector<std::string>& specs, int count);

// Double up: two plan days a day while behind, one a day after that.
struct DoubleUpSchedule {
    sys_days caughtUpOn{}; // the day at whose end no past day is unread
    sys_days finishOn{};   // the day the last unread day is read
};
// Raises kNothingToCatchUp when every day is read.
DoubleUpSchedule doubleUpSchedule(const PlanDays& days, sys_days today);

// The days the reading page shows while doubling up: the first unread day and
// the next unread one after it (only the first when there is no other).
std::vector<int> doubleUpDays(const PlanDays& days);

} // namespace kovara::core
