#pragma once
// How far a reader has come in a plan, worked out from the plan's days, their
// read flags and read dates: days read, a percentage, the days behind, the
// planned and the projected finish, and a day-by-day calendar of the plan.
#include "core/base/datetime.h"

#include <optional>
#include <vector>

namespace kovara::core {

struct PlanRecord;
class PlanStore;

// The read flags and dates of a plan's days (day 1 first) with its start date.
struct PlanDays {
    sys_seconds startDate{};  // day 1's date (its date part counts)
    std::vector<bool> done;   // read flags
    // When each day was marked read; nothing when not known (may be empty).
    std::vector<std::optional<sys_seconds>> readDates;

    static PlanDays of(const PlanRecord& rec);
    int dayCount() const { return static_cast<int>(done.size()); }
};

struct PlanProgress {
    int dayCount = 0;
    int daysRead = 0;
    int percent = 0;       // whole per cent read, rounded down (100 only when every day is read)
    int dueDay = 0;        // the plan day that falls on today: below 1 before the start, above dayCount after the end
    int daysBehind = 0;    // unread days dated before today
    bool finished = false; // every day read
    std::optional<sys_days> finishedOn; // the latest read date of a finished plan, when known
    sys_days plannedFinish{};           // the last day's date
    // The date the last unread day will be read at the pace of the last 30
    // days (the days since the start when the plan is younger); nothing when
    // nothing was read in that time or the plan is finished.
    std::optional<sys_days> projectedFinish;
    double pace = 0; // plan days read per calendar day over that time
};

// The days of the pace window.
constexpr int kPaceWindowDays = 30;

PlanProgress computeProgress(const PlanDays& days, sys_days today);
PlanProgress planProgress(const PlanStore& plans, int plan, sys_days today);

// One square of the plan's calendar.
enum class DayState { ReadPast, ReadToday, ReadFuture, UnreadPast, UnreadToday, UnreadFuture };

// The state of each day, day 1 first: read or unread, dated before today, on
// today or after it.
std::vector<DayState> planDayStates(const PlanDays& days, sys_days today);

} // namespace kovara::core
