#include "core/prayer/prayer_schedule.h"

#include <algorithm>
#include <numeric>

namespace kovara::core {

using std::chrono::days;
using std::chrono::year_month_day;
using std::chrono::year_month_day_last;

namespace {

// The day of the month's given day, or its last day when the month is shorter.
sys_days clampedDay(std::chrono::year_month month, unsigned dayOfMonth)
{
    const unsigned last = static_cast<unsigned>(year_month_day_last(month.year(), month.month() / std::chrono::last).day());
    return sys_days(month.year() / month.month() / std::chrono::day(std::min(dayOfMonth, last)));
}

// The cycle holding a day: its first and last day and its number in its
// stretch.
struct CycleSpan {
    sys_days first{};
    sys_days last{};
    long number = 0;
};

std::optional<CycleSpan> cycleAt(const std::vector<PrayerCycle>& cycles, sys_days day)
{
    auto after = std::upper_bound(cycles.begin(), cycles.end(), day,
                                  [](sys_days d, const PrayerCycle& c) { return d < c.start; });
    if (after == cycles.begin())
        return std::nullopt;
    const PrayerCycle& stretch = *std::prev(after);
    const long length = std::max(1, stretch.length);
    const long number = (day - stretch.start).count() / length;
    CycleSpan span;
    span.number = number;
    span.first = stretch.start + days(number * length);
    span.last = span.first + days(length - 1);
    if (after != cycles.end() && after->start <= span.last)
        span.last = after->start - days(1);
    return span;
}

// Where the items in turn fall within one cycle.
class CyclePlacement {
public:
    CyclePlacement(const std::vector<ScheduledItem>& items, const std::vector<PrayerCycle>& cycles,
                   const CycleSpan& span)
        : first_(span.first), slots_(items.size())
    {
        const long length = (span.last - span.first).count() + 1;
        const long fullLength = lengthOf(cycles, span.first);
        std::vector<int> load(static_cast<std::size_t>(length), 0);

        std::vector<std::size_t> present;
        std::vector<std::size_t> joined;
        for (std::size_t i = 0; i < items.size(); ++i) {
            const ScheduledItem& item = items[i];
            if (item.schedule.kind != ScheduleKind::InTurn)
                continue;
            const sys_days since = std::max(item.schedule.since, span.first);
            if (since > span.last)
                continue;
            if (!item.active && !(item.closedOn && *item.closedOn >= since))
                continue;
            (item.schedule.since <= span.first ? present : joined).push_back(i);
        }
        std::sort(present.begin(), present.end(),
                  [&](std::size_t a, std::size_t b) { return items[a].prayerIndex < items[b].prayerIndex; });
        for (std::size_t rank = 0; rank < present.size(); ++rank) {
            const long offset = static_cast<long>((rank + static_cast<std::size_t>(span.number)) %
                                                  static_cast<std::size_t>(fullLength));
            if (offset >= length)
                continue; // cut off by a change of the cycle's length
            slots_[present[rank]] = span.first + days(offset);
            ++load[static_cast<std::size_t>(offset)];
        }
        std::sort(joined.begin(), joined.end(), [&](std::size_t a, std::size_t b) {
            const ScheduledItem& x = items[a];
            const ScheduledItem& y = items[b];
            return x.schedule.since != y.schedule.since ? x.schedule.since < y.schedule.since
                                                        : x.prayerIndex < y.prayerIndex;
        });
        for (std::size_t i : joined) {
            const long from = (items[i].schedule.since - span.first).count();
            const auto best = std::min_element(load.begin() + from, load.end());
            ++*best;
            slots_[i] = span.first + days(best - load.begin());
        }
    }

    sys_days first() const { return first_; }
    const std::optional<sys_days>& slot(std::size_t item) const { return slots_[item]; }

private:
    static long lengthOf(const std::vector<PrayerCycle>& cycles, sys_days day)
    {
        auto after = std::upper_bound(cycles.begin(), cycles.end(), day,
                                      [](sys_days d, const PrayerCycle& c) { return d < c.start; });
        return std::max(1, std::prev(after)->length);
    }

    sys_days first_;
    std::vector<std::optional<sys_days>> slots_;
};

} // namespace

std::optional<sys_days> latestScheduledDay(const PrayerSchedule& schedule, sys_days day)
{
    const sys_days since = schedule.since;
    if (day < since)
        return std::nullopt;
    switch (schedule.kind) {
    case ScheduleKind::Daily:
        return day;
    case ScheduleKind::Weekdays:
        for (sys_days d = day; d >= since && d > day - days(7); d -= days(1))
            if (schedule.weekdays & weekdayBit(std::chrono::weekday(d)))
                return d;
        return std::nullopt;
    case ScheduleKind::Weekly:
        return since + days((day - since).count() / 7 * 7);
    case ScheduleKind::Monthly: {
        const unsigned dayOfMonth = static_cast<unsigned>(year_month_day(since).day());
        const year_month_day ymd(day);
        const std::chrono::year_month month = ymd.year() / ymd.month();
        sys_days candidate = clampedDay(month, dayOfMonth);
        if (candidate > day)
            candidate = clampedDay(month - std::chrono::months(1), dayOfMonth);
        if (candidate < since)
            return std::nullopt;
        return candidate;
    }
    case ScheduleKind::InTurn:
        break;
    }
    return std::nullopt;
}

std::vector<ListEntry> prayerListFor(sys_days day, const std::vector<ScheduledItem>& items,
                                     const std::vector<PrayerCycle>& cycles)
{
    // The placements of the cycles looked at, newest first: the one holding
    // day and, for items whose day in it is still to come, those before it.
    std::vector<CyclePlacement> placements;
    auto placementOf = [&](const CycleSpan& span) -> const CyclePlacement& {
        for (const CyclePlacement& p : placements)
            if (p.first() == span.first)
                return p;
        placements.emplace_back(items, cycles, span);
        return placements.back();
    };
    auto latestInTurn = [&](std::size_t i) -> std::optional<sys_days> {
        sys_days until = day;
        // An item present in a cycle has its day in it or, when a change of
        // length cut the cycle short, in one of the few before.
        for (int step = 0; step < 4; ++step) {
            const std::optional<CycleSpan> span = cycleAt(cycles, until);
            if (!span || items[i].schedule.since > until)
                return std::nullopt;
            const std::optional<sys_days>& slot = placementOf(*span).slot(i);
            if (slot && *slot <= until)
                return slot;
            until = span->first - days(1);
        }
        return std::nullopt;
    };

    std::vector<ListEntry> list;
    for (std::size_t i = 0; i < items.size(); ++i) {
        const ScheduledItem& item = items[i];
        if (!item.active || (item.deferredOnDay && !item.prayedOnDay))
            continue;
        const std::optional<sys_days> due = item.schedule.kind == ScheduleKind::InTurn
                                                ? latestInTurn(i)
                                                : latestScheduledDay(item.schedule, day);
        if (!due || (item.lastPrayedBefore && *item.lastPrayedBefore >= *due))
            continue;
        list.push_back({item.prayerIndex, *due, item.prayedOnDay});
    }
    return list;
}

} // namespace kovara::core
