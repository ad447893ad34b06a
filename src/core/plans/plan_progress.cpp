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

PlanProgress computeProgress(const PlanDays& days, DateTime today)
{
    PlanProgress p;
    const int start = dateOf(days.startDate);
    const int now = dateOf(today);
    p.dayCount = days.dayCount();
    p.daysRead = static_cast<int>(std::count(days.done.begin(), days.done.end(), true));
    p.percent = p.dayCount > 0 ? static_cast<int>(static_cast<long long>(p.daysRead) * 100 / p.dayCount) : 0;
    p.dueDay = now - start + 1;
    p.plannedFinish = start + p.dayCount - 1;
    p.finished = p.daysRead == p.dayCount;
    const int pastDays = std::clamp(p.dueDay - 1, 0, p.dayCount);
    for (int d = 0; d < pastDays; ++d)
        if (!days.done[static_cast<std::size_t>(d)])
            ++p.daysBehind;

    const auto dateOfDay = [&](int i) {
        return i < static_cast<int>(days.readDates.size()) ? days.readDates[static_cast<std::size_t>(i)] : 0.0;
    };
    if (p.finished) {
        for (int i = 0; i < p.dayCount; ++i)
            p.finishedOn = std::max<DateTime>(p.finishedOn, dateOf(dateOfDay(i)));
        return p;
    }

    // The pace window: the last 30 days, ending today when the reader has
    // read today and yesterday otherwise (today is not over yet), and never
    // reaching before the plan's start.
    bool readToday = false;
    for (int i = 0; i < p.dayCount && !readToday; ++i)
        readToday = days.done[static_cast<std::size_t>(i)] && dateOfDay(i) != 0 && dateOf(dateOfDay(i)) == now;
    const int last = readToday ? now : now - 1;
    const int window = std::clamp(last - start + 1, 0, kPaceWindowDays);
    int readInWindow = 0;
    for (int i = 0; i < p.dayCount; ++i) {
        if (!days.done[static_cast<std::size_t>(i)] || dateOfDay(i) == 0)
            continue;
        const int on = dateOf(dateOfDay(i));
        if (on > last - window && on <= last)
            ++readInWindow;
    }
    p.pace = window > 0 ? static_cast<double>(readInWindow) / window : 0;
    if (readInWindow > 0) {
        const int unread = p.dayCount - p.daysRead;
        // Whole days needed at that pace, from the first day not yet counted.
        const int needed = static_cast<int>(std::ceil(unread / p.pace - 1e-9));
        p.projectedFinish = static_cast<DateTime>(last + needed);
    }
    return p;
}

PlanProgress planProgress(const PlanStore& plans, int plan, DateTime today)
{
    return computeProgress(PlanDays::of(plans.record(plan)), today);
}

std::vector<DayState> planDayStates(const PlanDays& days, DateTime today)
{
    const int start = dateOf(days.startDate);
    const int now = dateOf(today);
    std::vector<DayState> states;
    states.reserve(days.done.size());
    for (int i = 0; i < days.dayCount(); ++i) {
        const int date = start + i;
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
