#include "core/plans/reading_reminder.h"

#include "core/settings/ini_file.h"
#include "core/plans/plan_store.h"
#include "fixtures.h"

#include <gtest/gtest.h>

namespace kovara::core {
namespace {

class ReadingReminderTest : public ::testing::Test {
protected:
    test::TempDir dir;
    FixedClock clock{makeMoment(2026, 12, 10, 18, 0, 0)};
};

TEST_F(ReadingReminderTest, OnlyPlansWithTheReminderOnAndADayDueAreAnnounced)
{
    PlanStore plans(dir.file("userreadplans.kova2"), clock);
    const sys_days today = clock.today();
    const std::vector<std::string> days = {"1-1", "2-2", "3-3"};
    plans.addPlan("A due today", days, today);
    plans.addPlan("B behind", days, today - std::chrono::days(2));
    plans.addPlan("C finished", days, today - std::chrono::days(5));
    plans.addPlan("D not started", days, today + std::chrono::days(1));
    plans.addPlan("E reminder off", days, today);
    plans.addPlan("F read ahead", days, today);
    plans.markDaysDoneThrough(1, 1);
    plans.markDaysDoneThrough(2, 3);
    plans.setReminder(4, false);
    plans.setDayDone(5, 1, true);

    std::vector<std::string> announced;
    for (const DueReading& due : dueReadings(plans, clock.today()))
        announced.push_back(due.title + " day " + std::to_string(due.day) + " " + due.verses);
    EXPECT_EQ(announced, (std::vector<std::string>{"A due today day 1 1-1", "B behind day 2 2-2"}));
}

TEST_F(ReadingReminderTest, SettingsAreKeptInTheirOwnSectionOfSettingsIni)
{
    IniFile ini(dir.file("settings.ini"));
    const ReminderSettings fresh = ReminderSettings::read(ini);
    EXPECT_FALSE(fresh.enabled) << "off by default";
    EXPECT_FALSE(fresh.startAtLogin);
    ReminderSettings chosen{true, 6 * 60 + 5, true};
    chosen.write(ini);
    EXPECT_EQ(ini.readString("Reminder", "Time", ""), "06:05");
    const ReminderSettings back = ReminderSettings::read(IniFile(dir.file("settings.ini")));
    EXPECT_TRUE(back.enabled);
    EXPECT_EQ(back.minuteOfDay, 6 * 60 + 5);
    EXPECT_TRUE(back.startAtLogin);
    ini.writeString("Reminder", "Time", "25:99");
    EXPECT_EQ(ReminderSettings::read(ini).minuteOfDay, 8 * 60);
}

TEST_F(ReadingReminderTest, NextReminderIsTodayWhenStillAheadElseTomorrow)
{
    using namespace std::chrono_literals;
    const sys_seconds today = startOf(clock.today());
    EXPECT_EQ(nextReminderTime(clock.now(), 19 * 60), today + 19h);
    EXPECT_EQ(nextReminderTime(clock.now(), 18 * 60), today + 24h + 18h);
    EXPECT_EQ(nextReminderTime(clock.now(), 7 * 60), today + 24h + 7h);
    // One second before the time is still today's.
    EXPECT_EQ(nextReminderTime(today + 18h - 1s, 18 * 60), today + 18h);
}

TEST_F(ReadingReminderTest, AutostartEntryQuotesTheProgramPath)
{
    const std::string entry = autostartEntry("/opt/my \"apps\"/kovara");
    EXPECT_NE(entry.find("Exec=\"/opt/my \\\"apps\\\"/kovara\" --autostart\n"), std::string::npos) << entry;
    // Once the program is removed the session skips the entry instead of
    // trying to start what is no longer there.
    EXPECT_NE(entry.find("\nTryExec=/opt/my \"apps\"/kovara\n"), std::string::npos) << entry;
    EXPECT_NE(autostartEntry("/opt/a\\b/kovara").find("\nTryExec=/opt/a\\\\b/kovara\n"), std::string::npos);
}

} // namespace
} // namespace kovara::core
