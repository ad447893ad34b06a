// The daily reminder to pray: one notification with the count and the first
// titles of today's list, sent to a notification service of the test's own;
// clicking it opens Pray Today; once a day whatever the timer does; nothing
// for a reader who never used the list; its preferences section.
#include "ui/prayer/prayer_reminder.h"

#include "core/prayer/prayer_list_store.h"
#include "core/settings/ini_file.h"
#include "notification_service.h"
#include "prayer_test_support.h"

#include <QCheckBox>
#include <QDBusMessage>
#include <QDialog>
#include <QSignalSpy>
#include <QTest>
#include <QThread>
#include <QTimeEdit>
#include <gtest/gtest.h>

namespace kovara::ui {
namespace {

using namespace std::chrono_literals;
using test::waitFor;

QDBusConnection noBus(const char* name)
{
    return QDBusConnection::connectToBus(QStringLiteral("unix:path=/nonexistent/kovara-bus"), QString::fromLatin1(name));
}

class PrayerReminderTest : public ::testing::Test {
protected:
    // Items on today's list, each every day; their indices.
    std::vector<std::int32_t> addDaily(std::initializer_list<const char*> titles)
    {
        PrayerListStore list(*shell.store);
        list.ensureTables(today);
        std::vector<std::int32_t> indices;
        for (const char* title : titles) {
            indices.push_back(shell.add(title, "", "Active"));
            list.setSchedule(indices.back(), {ScheduleKind::Daily, 0, today});
        }
        return indices;
    }

    test::PrayerShell shell;
    const sys_days today = shell.fixedClock.today();
};

TEST_F(PrayerReminderTest, OneNotificationWithCountAndFirstTitlesAndItsClickOpensTheList)
{
    const std::int32_t job = addDaily({"Mum", "Dad", "New job", "Church", "Neighbours"})[2];
    PrayerListStore(*shell.store).markPrayed(job, today);
    shell.add("Healed", "", "Answered");

    test::TestSessionBus bus;
    ASSERT_FALSE(bus.address.isEmpty());
    QDBusConnection client = QDBusConnection::connectToBus(bus.address, QStringLiteral("kovara-prayer-client"));
    QDBusConnection service = QDBusConnection::connectToBus(bus.address, QStringLiteral("kovara-prayer-service"));
    QThread serviceThread;
    auto* fake = new test::FakeNotifications;
    fake->moveToThread(&serviceThread);
    serviceThread.start();
    ASSERT_TRUE(service.registerService(QStringLiteral("org.freedesktop.Notifications")));
    ASSERT_TRUE(service.registerObject(QStringLiteral("/org/freedesktop/Notifications"), fake,
                                       QDBusConnection::ExportAllSlots));
    {
        PrayerReminder reminder(shell, [&] { return client; });
        QSignalSpy opened(&reminder, &PrayerReminder::openPrayTodayRequested);
        QSignalSpy shown(&reminder, &PrayerReminder::notificationShown);
        QObject::connect(&reminder, &PrayerReminder::reminderNotShown,
                         [](const QString& text) { ADD_FAILURE() << "fallback: " << text.toStdString(); });
        EXPECT_EQ(reminder.remind(), 4);
        EXPECT_TRUE(waitFor([&] { return shown.count() == 1; }));
        EXPECT_EQ(fake->received().join(u'\n').toStdString(),
                  "Kovara|Time to pray: 4 items on today's list|Church, Dad, Mum, ...|default,Pray now");
        EXPECT_EQ(reminder.remind(), 0) << "never twice a day";

        const auto clicked = [](uint id) {
            return QDBusMessage::createSignal(QStringLiteral("/org/freedesktop/Notifications"),
                                              QStringLiteral("org.freedesktop.Notifications"),
                                              QStringLiteral("ActionInvoked"))
                   << id << QStringLiteral("default");
        };
        service.send(clicked(8)); // another program's notification
        service.send(clicked(7));
        EXPECT_TRUE(waitFor([&] { return opened.count() == 1; }));
        QTest::qWait(100);
        EXPECT_EQ(opened.count(), 1);
    }
    service.unregisterObject(QStringLiteral("/org/freedesktop/Notifications"));
    serviceThread.quit();
    serviceThread.wait();
    delete fake;
    QDBusConnection::disconnectFromBus(QStringLiteral("kovara-prayer-client"));
    QDBusConnection::disconnectFromBus(QStringLiteral("kovara-prayer-service"));
}

// The fallback's text, the singular, and the days: all prayed for or a
// reader who never used the list gets nothing (and no tables are made), the
// next day brings the reminder again.
TEST_F(PrayerReminderTest, NothingToPrayForSendsNothingAndTheNextDayRemindsAgain)
{
    PrayerReminder reminder(shell, [] { return noBus("kovara-prayer-no-bus"); });
    QStringList shown;
    QObject::connect(&reminder, &PrayerReminder::reminderNotShown, [&](const QString& text) { shown << text; });
    const std::int32_t mum = shell.add("Mum", "", "Active");
    EXPECT_EQ(reminder.remind(), 0);
    EXPECT_FALSE(PrayerListStore(*shell.store).exists()) << "the list's tables stay unmade";

    const std::int32_t dad = addDaily({"Dad"})[0];
    PrayerListStore list(*shell.store);
    list.setSchedule(mum, {ScheduleKind::Daily, 0, today});
    list.markPrayed(mum, today);
    list.markPrayed(dad, today);
    EXPECT_EQ(reminder.remind(), 0) << "all prayed for";
    list.unmarkPrayed(mum, today);
    EXPECT_EQ(reminder.remind(), 1) << "an empty list did not use up the day";
    EXPECT_TRUE(waitFor([&] { return !shown.isEmpty(); }));
    EXPECT_EQ(shown.join(u'|').toStdString(), "Time to pray: 1 item on today's list \u2013 Mum");

    shell.fixedClock.set(startOf(today + std::chrono::days(1)) + 8h);
    EXPECT_EQ(reminder.remind(), 2);
    QDBusConnection::disconnectFromBus(QStringLiteral("kovara-prayer-no-bus"));
}

// The timer fires a little before or after the time; either way the list is
// announced once, the next time is tomorrow's, and a time moved later the
// same day does not announce it again.
TEST_F(PrayerReminderTest, ATimerFiringEarlyOrLateRemindsOnceADay)
{
    addDaily({"Mum"});
    const sys_seconds at = startOf(today) + 13h;
    for (const sys_seconds firedAt : {at - 1s, at + 1s}) {
        SCOPED_TRACE(firedAt == at - 1s ? "early" : "late");
        PrayerReminder reminder(shell, [] { return noBus("kovara-prayer-timer-bus"); });
        QStringList shown;
        QObject::connect(&reminder, &PrayerReminder::reminderNotShown, [&](const QString& text) { shown << text; });
        EXPECT_EQ(reminder.nextTime(), std::nullopt) << "off by default";
        shell.fixedClock.set(at - 1s); // the timer waits one second
        reminder.setSettings({true, 13 * 60});
        EXPECT_EQ(reminder.nextTime(), at);
        shell.fixedClock.set(firedAt);
        EXPECT_TRUE(waitFor([&] { return !shown.isEmpty(); }));
        EXPECT_EQ(reminder.nextTime(), at + 24h);
        reminder.setSettings({true, 13 * 60 + 1}); // a minute later, today
        shell.fixedClock.set(at + 61s);
        QTest::qWait(1500);
        EXPECT_EQ(shown.size(), 1) << shown.join(u'|').toStdString();
        QDBusConnection::disconnectFromBus(QStringLiteral("kovara-prayer-timer-bus"));
    }
}

TEST_F(PrayerReminderTest, SettingsAndPreferencesSection)
{
    IniFile ini(shell.dir.file("settings.ini"));
    EXPECT_FALSE(PrayerReminderSettings::read(ini).enabled);
    EXPECT_EQ(PrayerReminderSettings::read(ini).minuteOfDay, 8 * 60);
    settings::kPrayerReminderTime.write(ini, "25:00");
    EXPECT_EQ(PrayerReminderSettings::read(ini).minuteOfDay, 8 * 60) << "a time that does not read keeps the default";

    PrayerReminder reminder(shell, [] { return noBus("kovara-prayer-unused"); });
    reminder.setSettings({false, 6 * 60 + 45});
    QDialog dialog;
    PrayerReminderPanel* panel = makePrayerReminderSection(dialog, reminder, shell, ini);
    EXPECT_EQ(panel->findChild<QTimeEdit*>("prayerReminderTimeEdit")->time(), QTime(6, 45));
    EXPECT_FALSE(panel->findChild<QTimeEdit*>("prayerReminderTimeEdit")->isEnabled());
    panel->findChild<QCheckBox*>("prayerRemindCheck")->setChecked(true);
    EXPECT_TRUE(panel->findChild<QTimeEdit*>("prayerReminderTimeEdit")->isEnabled());
    panel->findChild<QTimeEdit*>("prayerReminderTimeEdit")->setTime(QTime(21, 5));
    dialog.accept();
    EXPECT_EQ(settings::kPrayerReminderTime.read(ini), "21:05");
    const PrayerReminderSettings read = PrayerReminderSettings::read(IniFile(shell.dir.file("settings.ini")));
    EXPECT_TRUE(read.enabled);
    EXPECT_EQ(read.minuteOfDay, 21 * 60 + 5);
    EXPECT_TRUE(reminder.settings().enabled);
    EXPECT_EQ(reminder.nextTime(), startOf(today) + 21h + 5min);
}

} // namespace
} // namespace kovara::ui
