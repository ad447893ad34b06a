#include "core/plans/catch_up.h"

#include "core/base/translation.h"

#include "core/base/exception.h"
#include "core/content/bible_store.h"

#include <algorithm>

namespace kovara::core {

const char* const kNothingToCatchUp =
    QT_TRANSLATE_NOOP("kovara::core::CatchUp", "Every day of this plan has been read: there is nothing to catch up.");
const char* const kPlannedFinishPassed = QT_TRANSLATE_NOOP(
    "kovara::core::CatchUp",
    "The planned finish date of this plan has passed, so the unread days cannot be spread over the days left.");

namespace {

int firstUnread(const PlanDays& days)
{
    const auto it = std::find(days.done.begin(), days.done.end(), false);
    if (it == days.done.end())
        throw Exception(translatedText("kovara::core::CatchUp", kNothingToCatchUp));
    return static_cast<int>(it - days.done.begin()) + 1;
}

} // namespace

sys_days restartStartDate(const PlanDays& days, sys_days today)
{
    return today - std::chrono::days(firstUnread(days) - 1);
}

std::vector<std::string> divideVerseRuns(const std::vector<std::string>& specs, int count)
{
    std::vector<VerseRun> runs;
    long long total = 0;
    for (const std::string& spec : specs)
        for (const VerseRun& run : parseVerseSpec(spec)) {
            if (run.last < run.first)
                continue;
            // Adjacent runs are one stretch.
            if (!runs.empty() && runs.back().last + 1 == run.first)
                runs.back().last = run.last;
            else
                runs.push_back(run);
            total += run.last - run.first + 1;
        }
    if (count < 1 || total < count)
        throw Exception(format("Cannot divide %d verses into %d days", static_cast<int>(total), count));

    const long long perDay = total / count;
    long long rest = total % count;
    std::vector<std::string> out;
    out.reserve(static_cast<std::size_t>(count));
    std::size_t run = 0;
    int next = runs.empty() ? 0 : runs[0].first; // the next verse to hand out
    for (int day = 0; day < count; ++day) {
        long long want = perDay + (rest > 0 ? 1 : 0);
        if (rest > 0)
            --rest;
        std::string text;
        while (want > 0 && run < runs.size()) {
            const long long left = runs[run].last - next + 1;
            const long long take = std::min(want, left);
            const int last = static_cast<int>(next + take - 1);
            if (!text.empty())
                text += ',';
            text += format("%d-%d", next, last);
            want -= take;
            if (take == left) {
                ++run;
                if (run < runs.size())
                    next = runs[run].first;
            } else {
                next = last + 1;
            }
        }
        out.push_back(std::move(text));
    }
    return out;
}

RedividedPlan keepFinishDate(const PlanDays& days, const std::vector<std::string>& dayVerses, sys_days today)
{
    firstUnread(days);
    const sys_days now = today;
    const sys_days finish = dayOf(days.startDate) + std::chrono::days(days.dayCount() - 1);
    if (finish < now)
        throw Exception(translatedText("kovara::core::CatchUp", kPlannedFinishPassed));

    RedividedPlan plan;
    std::vector<std::string> unread;
    for (int i = 0; i < days.dayCount(); ++i) {
        const auto at = static_cast<std::size_t>(i);
        if (days.done[at]) {
            plan.dayVerses.push_back(dayVerses[at]);
            plan.done.push_back(true);
            plan.readDates.push_back(at < days.readDates.size() ? days.readDates[at] : std::nullopt);
        } else {
            unread.push_back(dayVerses[at]);
        }
    }
    const int read = static_cast<int>(plan.dayVerses.size());
    long long verses = 0;
    for (const std::string& spec : unread)
        for (const VerseRun& run : parseVerseSpec(spec))
            verses += std::max(0, run.last - run.first + 1);
    const int count = static_cast<int>(std::min<long long>((finish - now).count() + 1, verses));
    for (std::string& text : divideVerseRuns(unread, count)) {
        plan.dayVerses.push_back(std::move(text));
        plan.done.push_back(false);
        plan.readDates.push_back(std::nullopt);
    }
    plan.startDate = now - std::chrono::days(read);
    return plan;
}

DoubleUpSchedule doubleUpSchedule(const PlanDays& days, sys_days today)
{
    firstUnread(days);
    const sys_days now = today;
    const int dueToday = static_cast<int>((now - dayOf(days.startDate)).count()) + 1;
    std::vector<int> unread;
    for (int i = 0; i < days.dayCount(); ++i)
        if (!days.done[static_cast<std::size_t>(i)])
            unread.push_back(i + 1);

    DoubleUpSchedule schedule;
    bool caughtUp = unread.front() >= dueToday;
    if (caughtUp)
        schedule.caughtUpOn = now;
    std::size_t next = 0;
    for (int k = 0; next < unread.size(); ++k) {
        const int due = dueToday + k; // the plan day that falls on day k
        const bool behind = unread[next] < due;
        next = std::min(unread.size(), next + (behind ? 2 : 1));
        if (!caughtUp && (next == unread.size() || unread[next] > due)) {
            caughtUp = true;
            schedule.caughtUpOn = now + std::chrono::days(k);
        }
        if (next == unread.size())
            schedule.finishOn = now + std::chrono::days(k);
    }
    return schedule;
}

std::vector<int> doubleUpDays(const PlanDays& days)
{
    std::vector<int> out;
    for (int i = 0; i < days.dayCount() && out.size() < 2; ++i)
        if (!days.done[static_cast<std::size_t>(i)])
            out.push_back(i + 1);
    return out;
}

} // namespace kovara::core
