#pragma once
// How often each prayer item comes up on the list for a day, and which items
// a day's list holds. Pure arithmetic over what the list store reads: no
// database, no clock, so the rules can be checked day by day in tests and a
// list of many thousands of items costs one pass.
//
// An item's "scheduled day" for a date D is the latest day S <= D on which its
// schedule brings it up. It is on D's list when it was not prayed for on any
// day from S to D-1 (an item missed on its day comes up again the next day,
// until it is prayed for), unless it was put off ("Not today") on D itself.
// Items that are not active never come up.
#include "core/base/datetime.h"

#include <cstdint>
#include <optional>
#include <vector>

namespace kovara::core {

enum class ScheduleKind {
    Daily,    // every day
    Weekdays, // on the days of a weekday mask
    Weekly,   // every seventh day from the day it was set
    Monthly,  // on the set day's day of the month, the month's last day when shorter
    InTurn,   // once per cycle, spread evenly with the other items in turn
};

// Bit of a weekday in a weekday mask: Monday is bit 0, Sunday bit 6.
constexpr unsigned weekdayBit(std::chrono::weekday day)
{
    return 1u << ((day.c_encoding() + 6) % 7);
}
constexpr unsigned kAllWeekdays = 0x7f;

struct PrayerSchedule {
    ScheduleKind kind = ScheduleKind::InTurn;
    unsigned weekdays = 0;  // for Weekdays
    sys_days since{};       // the day it was set: the anchor of weekly and monthly, the first day of every kind
};

// One stretch of cycles: from start on, cycles of length days follow each
// other until the next stretch starts (a changed length starts a new cycle on
// the day of the change, cutting the running one short).
struct PrayerCycle {
    sys_days start{};
    int length = 7;
};

// What the list needs to know of one item for a date D.
struct ScheduledItem {
    std::int32_t prayerIndex = 0;
    PrayerSchedule schedule;
    // Active: may come up. An item answered or set inactive never does.
    bool active = true;
    // The day an item stopped being active, when known (the answer's date):
    // until then it keeps its place among the items in turn, so the others do
    // not move within a cycle that has begun.
    std::optional<sys_days> closedOn;
    // The latest day before D on which it was prayed for.
    std::optional<sys_days> lastPrayedBefore;
    bool prayedOnDay = false;   // prayed for on D itself
    bool deferredOnDay = false; // "Not today" on D
};

struct ListEntry {
    std::int32_t prayerIndex = 0;
    sys_days dueSince{};   // the scheduled day S; before D when it was missed
    bool prayed = false;   // already prayed for on D (still listed, so it can be undone)
};

// The latest day S <= day on which schedule brings an item up, for every kind
// but InTurn (which needs the other items: see prayerListFor). Nothing when
// there is none since the schedule was set.
std::optional<sys_days> latestScheduledDay(const PrayerSchedule& schedule, sys_days day);

// The list for day: the entries of items, in the order of items. cycles are
// ordered by start; items in turn come up only from the first cycle's start.
//
// Items in turn: the cycle holding day is found in its stretch; the items in
// turn that were present at the cycle's start (in turn since then, and active
// or closed no earlier than that start) are ranked by index and the one of
// rank r falls on the cycle's day (r + cycle number) mod length, so the counts
// of the days differ by at most one and an item moves on by a day each cycle.
// An item made in turn after the cycle started goes on the least loaded of the
// cycle's remaining days (the earliest of equals). When an item's day in the
// running cycle is still to come, its scheduled day is its day in the cycle
// before.
std::vector<ListEntry> prayerListFor(sys_days day, const std::vector<ScheduledItem>& items,
                                     const std::vector<PrayerCycle>& cycles);

} // namespace kovara::core
