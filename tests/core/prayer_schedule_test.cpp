// Which prayer items come up on which day: the schedule kinds day by day, and
// the items in turn over whole cycles, simulated the way a reader uses the
// list (praying for what it shows, skipping a day, putting an item off).
#include "core/prayer/prayer_schedule.h"

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>

namespace kovara::core {
namespace {

using std::chrono::days;

std::string text(std::optional<sys_days> day)
{
    if (!day)
        return "none";
    const std::chrono::year_month_day ymd(*day);
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "%04d-%02u-%02u", static_cast<int>(ymd.year()),
                  static_cast<unsigned>(ymd.month()), static_cast<unsigned>(ymd.day()));
    return buffer;
}

TEST(PrayerScheduleTest, LatestScheduledDayOfEachKind)
{
    const unsigned monThu = weekdayBit(std::chrono::Monday) | weekdayBit(std::chrono::Thursday);
    struct Case {
        ScheduleKind kind;
        unsigned weekdays;
        sys_days since;
        sys_days day;
        const char* expected;
    };
    // 2027-03-01 is a Monday.
    const Case cases[] = {
        {ScheduleKind::Daily, 0, makeDate(2027, 3, 1), makeDate(2027, 3, 5), "2027-03-05"},
        {ScheduleKind::Daily, 0, makeDate(2027, 3, 1), makeDate(2027, 2, 28), "none"},
        {ScheduleKind::Weekdays, monThu, makeDate(2027, 3, 1), makeDate(2027, 3, 7), "2027-03-04"},
        {ScheduleKind::Weekdays, monThu, makeDate(2027, 3, 1), makeDate(2027, 3, 3), "2027-03-01"},
        {ScheduleKind::Weekdays, monThu, makeDate(2027, 3, 1), makeDate(2027, 3, 8), "2027-03-08"},
        {ScheduleKind::Weekdays, monThu, makeDate(2027, 3, 2), makeDate(2027, 3, 3), "none"},
        {ScheduleKind::Weekdays, 0, makeDate(2027, 3, 1), makeDate(2027, 3, 20), "none"},
        {ScheduleKind::Weekly, 0, makeDate(2027, 3, 3), makeDate(2027, 3, 16), "2027-03-10"},
        {ScheduleKind::Weekly, 0, makeDate(2027, 3, 3), makeDate(2027, 3, 17), "2027-03-17"},
        {ScheduleKind::Weekly, 0, makeDate(2027, 3, 3), makeDate(2027, 3, 2), "none"},
        // The 31st falls on the last day of shorter months, leap day included.
        {ScheduleKind::Monthly, 0, makeDate(2027, 1, 31), makeDate(2027, 2, 27), "2027-01-31"},
        {ScheduleKind::Monthly, 0, makeDate(2027, 1, 31), makeDate(2027, 2, 28), "2027-02-28"},
        {ScheduleKind::Monthly, 0, makeDate(2027, 1, 31), makeDate(2027, 3, 30), "2027-02-28"},
        {ScheduleKind::Monthly, 0, makeDate(2027, 1, 31), makeDate(2027, 4, 30), "2027-04-30"},
        {ScheduleKind::Monthly, 0, makeDate(2027, 1, 31), makeDate(2028, 2, 29), "2028-02-29"},
        {ScheduleKind::Monthly, 0, makeDate(2027, 1, 31), makeDate(2028, 2, 28), "2028-01-31"},
        {ScheduleKind::Monthly, 0, makeDate(2028, 2, 29), makeDate(2029, 2, 28), "2029-02-28"},
        {ScheduleKind::Monthly, 0, makeDate(2028, 2, 29), makeDate(2028, 3, 28), "2028-02-29"},
        {ScheduleKind::Monthly, 0, makeDate(2028, 2, 29), makeDate(2028, 3, 29), "2028-03-29"},
        {ScheduleKind::Monthly, 0, makeDate(2027, 12, 15), makeDate(2028, 1, 10), "2027-12-15"},
        {ScheduleKind::Monthly, 0, makeDate(2027, 3, 15), makeDate(2027, 3, 10), "none"},
    };
    for (const Case& c : cases) {
        const PrayerSchedule schedule{c.kind, c.weekdays, c.since};
        EXPECT_EQ(text(latestScheduledDay(schedule, c.day)), c.expected)
            << "kind " << static_cast<int>(c.kind) << " since " << text(c.since) << " on " << text(c.day);
    }
}

// A reader using the list day by day: what each day showed, and what was
// prayed for.
class ListSimulation {
public:
    ListSimulation(std::vector<ScheduledItem> items, std::vector<PrayerCycle> cycles)
        : items_(std::move(items)), cycles_(std::move(cycles))
    {
    }

    std::vector<ListEntry> listFor(sys_days day) const
    {
        std::vector<ScheduledItem> items = items_;
        for (ScheduledItem& item : items) {
            const auto found = prayed_.find(item.prayerIndex);
            if (found != prayed_.end()) {
                auto before = found->second.lower_bound(day);
                item.prayedOnDay = before != found->second.end() && *before == day;
                if (before != found->second.begin())
                    item.lastPrayedBefore = *std::prev(before);
            }
            item.deferredOnDay = deferred_.count({item.prayerIndex, day}) != 0;
        }
        return prayerListFor(day, items, cycles_);
    }

    // Prays for everything the list of each day from first to last shows,
    // except on the days in skipped.
    void run(sys_days first, sys_days last, const std::set<sys_days>& skipped = {})
    {
        for (sys_days day = first; day <= last; day += days(1)) {
            const std::vector<ListEntry> list = listFor(day);
            shown[day] = list;
            if (skipped.count(day))
                continue;
            for (const ListEntry& entry : list)
                prayed_[entry.prayerIndex].insert(day);
        }
    }

    void defer(std::int32_t index, sys_days day) { deferred_.insert({index, day}); }
    ScheduledItem& item(std::size_t i) { return items_[i]; }

    // How often each item was prayed for from first to last.
    std::map<std::int32_t, int> prayedCounts(sys_days first, sys_days last) const
    {
        std::map<std::int32_t, int> counts;
        for (const auto& [index, daysPrayed] : prayed_)
            for (sys_days d : daysPrayed)
                if (d >= first && d <= last)
                    ++counts[index];
        return counts;
    }

    std::map<sys_days, std::vector<ListEntry>> shown;

private:
    std::vector<ScheduledItem> items_;
    std::vector<PrayerCycle> cycles_;
    std::map<std::int32_t, std::set<sys_days>> prayed_;
    std::set<std::pair<std::int32_t, sys_days>> deferred_;
};

std::vector<ScheduledItem> inTurnItems(int count, sys_days since, int firstIndex = 1)
{
    std::vector<ScheduledItem> items;
    for (int i = 0; i < count; ++i) {
        ScheduledItem item;
        item.prayerIndex = firstIndex + i;
        item.schedule = {ScheduleKind::InTurn, 0, since};
        items.push_back(item);
    }
    return items;
}

// Over every whole cycle from first (cycles of length days until last): every
// item of expected comes up exactly once, nothing else comes up, and the
// days' counts differ by at most one.
void expectEvenCycles(const ListSimulation& sim, sys_days first, int length, sys_days last,
                      const std::set<std::int32_t>& expected, const std::string& label)
{
    for (sys_days start = first; start + days(length - 1) <= last; start += days(length)) {
        const sys_days end = start + days(length - 1);
        std::map<std::int32_t, int> counts = sim.prayedCounts(start, end);
        std::set<std::int32_t> seen;
        for (const auto& [index, count] : counts) {
            EXPECT_EQ(count, 1) << label << ": item " << index << " in the cycle from " << text(start);
            seen.insert(index);
        }
        EXPECT_EQ(seen, expected) << label << ": cycle from " << text(start);
        std::size_t fewest = SIZE_MAX, most = 0;
        for (sys_days d = start; d <= end; d += days(1)) {
            fewest = std::min(fewest, sim.shown.at(d).size());
            most = std::max(most, sim.shown.at(d).size());
        }
        EXPECT_LE(most - fewest, 1u) << label << ": daily counts in the cycle from " << text(start);
    }
}

std::set<std::int32_t> indexes(int from, int to)
{
    std::set<std::int32_t> result;
    for (int i = from; i <= to; ++i)
        result.insert(i);
    return result;
}

const sys_days kStart = makeDate(2027, 3, 1);

TEST(PrayerScheduleTest, ItemsInTurnComeUpOncePerCycleSpreadEvenly)
{
    for (int count : {3, 7, 10, 50}) {
        ListSimulation sim(inTurnItems(count, kStart - days(30)), {{kStart, 7}});
        sim.run(kStart - days(3), kStart + days(27));
        for (sys_days d = kStart - days(3); d < kStart; d += days(1))
            EXPECT_TRUE(sim.shown.at(d).empty()) << "nothing in turn before the first cycle";
        expectEvenCycles(sim, kStart, 7, kStart + days(27), indexes(1, count), std::to_string(count) + " items");
    }
    // Each cycle moves an item on by one day.
    ListSimulation sim(inTurnItems(3, kStart), {{kStart, 7}});
    sim.run(kStart, kStart + days(13));
    EXPECT_EQ(sim.shown.at(kStart).at(0).prayerIndex, 1);
    EXPECT_EQ(sim.shown.at(kStart + days(8)).at(0).prayerIndex, 1);
}

TEST(PrayerScheduleTest, ChangedCycleLengthStartsANewCycleOnTheDayOfTheChange)
{
    const sys_days change = kStart + days(10); // three days into the second cycle of 7
    ListSimulation sim(inTurnItems(12, kStart), {{kStart, 7}, {change, 4}});
    sim.run(kStart, change + days(15));
    expectEvenCycles(sim, kStart, 7, change - days(1), indexes(1, 12), "before the change");
    expectEvenCycles(sim, change, 4, change + days(15), indexes(1, 12), "after the change");
}

TEST(PrayerScheduleTest, ItemsAddedOrAnsweredMidwayLeaveTheOthersInPlace)
{
    std::vector<ScheduledItem> items = inTurnItems(9, kStart);
    // Made in turn on the third day of the second cycle: it goes on a least
    // loaded day still to come in that cycle.
    ScheduledItem added;
    added.prayerIndex = 20;
    added.schedule = {ScheduleKind::InTurn, 0, kStart + days(9)};
    items.push_back(added);
    ListSimulation sim(items, {{kStart, 7}});
    sim.run(kStart, kStart + days(8));
    // Answered on the fourth day of the second cycle, after it came up.
    sim.item(0).active = false;
    sim.item(0).closedOn = kStart + days(10);
    // Set inactive with no date: it leaves at once.
    sim.item(8).active = false;
    sim.run(kStart + days(9), kStart + days(27));

    const std::map<std::int32_t, int> second = sim.prayedCounts(kStart + days(7), kStart + days(13));
    for (const auto& [index, count] : second)
        EXPECT_EQ(count, 1) << "item " << index << " in the cycle of the changes";
    EXPECT_EQ(second.count(20), 1u) << "the item added midway comes up in its first cycle";
    for (sys_days d = kStart + days(7); d < kStart + days(9); ++d)
        for (const ListEntry& e : sim.shown.at(d))
            EXPECT_NE(e.prayerIndex, 20) << "not before it was made in turn";
    std::set<std::int32_t> later = indexes(1, 8);
    later.erase(1);
    later.insert(20);
    expectEvenCycles(sim, kStart + days(14), 7, kStart + days(27), later, "after the changes");
}

TEST(PrayerScheduleTest, MissedAndPutOffItemsComeUpTheNextDay)
{
    std::vector<ScheduledItem> items = inTurnItems(7, kStart);
    ScheduledItem daily;
    daily.prayerIndex = 30;
    daily.schedule = {ScheduleKind::Daily, 0, kStart};
    ScheduledItem weekly;
    weekly.prayerIndex = 31;
    weekly.schedule = {ScheduleKind::Weekly, 0, kStart + days(2)};
    ScheduledItem answered = daily;
    answered.prayerIndex = 32;
    answered.active = false;
    items.insert(items.end(), {daily, weekly, answered});
    ListSimulation sim(items, {{kStart, 7}});

    const sys_days skipped = kStart + days(2);
    const sys_days putOff = kStart + days(4);
    sim.defer(5, putOff);
    sim.run(kStart, kStart + days(6), {skipped});

    auto listed = [&](sys_days day) {
        std::string out;
        for (const ListEntry& e : sim.shown.at(day))
            out += std::to_string(e.prayerIndex) + (e.dueSince < day ? "*" : "") + " ";
        return out;
    };
    // A star marks an item whose day has passed.
    EXPECT_EQ(listed(kStart), "1 30 ");
    EXPECT_EQ(listed(skipped), "3 30 31 ");
    EXPECT_EQ(listed(skipped + days(1)), "3* 4 30 31* ") << "the skipped day's items come up again";
    EXPECT_EQ(listed(putOff), "30 ") << "item 5 put off";
    EXPECT_EQ(listed(putOff + days(1)), "5* 6 30 ") << "put off to the next day";
    EXPECT_EQ(listed(putOff + days(2)), "7 30 ");

    // A day's list still holds what was prayed for on it, marked, so the
    // mark can be undone.
    const std::vector<ListEntry> again = sim.listFor(kStart);
    ASSERT_EQ(again.size(), 2u);
    EXPECT_TRUE(again[0].prayed && again[1].prayed);
    EXPECT_FALSE(sim.listFor(kStart + days(7)).at(0).prayed);
}

} // namespace
} // namespace kovara::core
