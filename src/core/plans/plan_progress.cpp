#include "core/plans/plan_progress.h"

#include "core/plans/plan_store.h"

#include <algorithm>
#include <cmath>

namespace kovara::core {

PlanDays PlanDays::of(const PlanRecord& rec)
{
    PlanDays days;
    days.startDate = rec.startDate;
    days.done = rec.dayDone;
    days.readDates = rec.readDates;
    return days;
}

PlanProgress computeProgress(const PlanDays& days, sys_days today)
{
    PlanProgress p;
    const sys_days start = dayOf(days.startDate);
    const sys_days now = today;
    p.dayCount = days.dayCount();
    p.daysRead = static_cast<int>(std::count(days.done.begin(), days.done.end(), true));
    p.percent = p.dayCount > 0 ? static_cast<int>(static_cast<long long>(p.daysRead) * 100 / p.dayCount) : 0;
    p.dueDay = static_cast<int>((now - start).count()) + 1;
    p.plannedFinish = start + std::chrono::days(p.dayCount - 1);
    p.finished = p.daysRead == p.dayCount;
    const int pastDays = std::clamp(p.dueDay - 1, 0, p.dayCount);
    for (int d = 0; d < pastDays; ++d)
        if (!days.done[static_cast<std::size_t>(d)])
            ++p.daysBehind;

    // The date day i + 1 was read on, when known.
    const auto readOn = [&](int i) -> std::optional<sys_days> {
        if (i >= static_cast<int>(days.readDates.size()) || !days.readDates[static_cast<std::size_t>(i)])
            return std::nullopt;
        return dayOf(*days.readDates[static_cast<std::size_t>(i)]);
    };
    if (p.finished) {
        for (int i = 0; i < p.dayCount; ++i)
            if (const std::optional<sys_days> on = readOn(i); on && (!p.finishedOn || *on > *p.finishedOn))
                p.finishedOn = on;
        return p;
    }

    // The pace window: the last 30 days, ending today when the reader has
    // read today and yesterday otherwise (today is not over yet), and never
    // reaching before the plan's start or its first reading, whichever is
    // earlier: a plan started again from a later day keeps the pace of the
    // reading done before its new start.
    bool readToday = false;
    sys_days from = start;
    for (int i = 0; i < p.dayCount; ++i) {
        if (!days.done[static_cast<std::size_t>(i)])
            continue;
        const std::optional<sys_days> on = readOn(i);
        readToday = readToday || on == now;
        if (on && *on < from)
            from = *on;
    }
    const sys_days last = readToday ? now : now - std::chrono::days(1);
    const int window = static_cast<int>(std::clamp<long long>((last - from).count() + 1, 0, kPaceWindowDays));
    int readInWindow = 0;
    for (int i = 0; i < p.dayCount; ++i) {
        const std::optional<sys_days> on = readOn(i);
        if (!days.done[static_cast<std::size_t>(i)] || !on)
            continue;
        if (*on > last - std::chrono::days(window) && *on <= last)
            ++readInWindow;
    }
    p.pace = window > 0 ? static_cast<double>(readInWindow) / window : 0;
    if (readInWindow > 0) {
        const int unread = p.dayCount - p.daysRead;
        // Whole days needed at that pace, from the first day not yet counted.
        const int needed = static_cast<int>(std::ceil(unread / p.pace - 1e-9));
        p.projectedFinish = last + std::chrono::days(needed);
    }
    return p;
}

PlanProgress planProgress(const PlanStore& plans, int plan, sys_days today)
{
    return computeProgress(PlanDays::of(plans.record(plan)), today);
}

std::vector<DayState> planDayStates(const PlanDays& days, sys_days today)
{
    const sys_days start = dayOf(days.startDate);
    const sys_days now = today;
    std::vector<DayState> states;
    states.reserve(days.done.size());
    for (int i = 0; i < days.dayCount(); ++i) {
        const sys_days date = start + std::chrono::days(i);
        const bool read = days.done[static_cast<std::size_t>(i)];
        if (date < now)
            states.push_back(read ? DayState::ReadPast : DayState::UnreadPast);
        else if (date == now)
            states.push_back(read ? DayState::ReadToday : DayState::UnreadToday);
        else
            states.push_back(read ? DayState::ReadFuture : DayState::UnreadFuture);
    }
    return states;
}

} // namespace kovara::core
