// The daily reminder: a notification sent to a notification service on a
// session bus started by the test (the service itself lives in the test),
// clicking it opens the plan; the fallback where no service answers; the
// preferences section and the autostart entry.
#include "ui/plans/reminder_notifier.h"
#include "ui/base/core_names.h"

#include "notification_service.h"
#include "plan_test_shell.h"
#include "ui/plans/reminder_settings_panel.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QElapsedTimer>
#include <QFile>
#include <QListWidget>
#include <QMutex>
#include <QProcess>
#include <QThread>
#include <QTimeEdit>
#include <QTest>
#include <gtest/gtest.h>

#include <cstdlib>

namespace kovara::ui {
namespace {

using test::FakeNotifications;
using test::TestSessionBus;
using test::waitFor;

class ReminderTest : public ::testing::Test {
protected:
    ReminderTest()
    {
        shell.addPlan("Gospels", 3, 0);       // day 1 due today
        shell.addPlan("Not yet", 3, -2);      // starts in two days
        const int off = shell.addPlan("Off", 3, 1);
        shell.plans->setReminder(off, false);
    }
    test::PlanTestShell shell;
};

TEST_F(ReminderTest, ANotificationGoesToTheServiceAndClickingItOpensThePlan)
{
    TestSessionBus bus;
    ASSERT_FALSE(bus.address.isEmpty());
    QDBusConnection client = QDBusConnection::connectToBus(bus.address, QStringLiteral("kovara-test-client"));
    QDBusConnection service = QDBusConnection::connectToBus(bus.address, QStringLiteral("kovara-test-service"));
    ASSERT_TRUE(client.isConnected());
    // The service answers from a thread of its own while the notifier waits.
    QThread serviceThread;
    auto* fake = new FakeNotifications;
    fake->moveToThread(&serviceThread);
    serviceThread.start();
    ASSERT_TRUE(service.registerService(QStringLiteral("org.freedesktop.Notifications")));
    ASSERT_TRUE(service.registerObject(QStringLiteral("/org/freedesktop/Notifications"), fake,
                                       QDBusConnection::ExportAllSlots));
    {
        ReminderNotifier notifier(shell, [&] { return client; });
        PlanId opened;
        std::vector<uint> shownIds;
        QObject::connect(&notifier, &ReminderNotifier::openPlanRequested, [&](const PlanId& plan) { opened = plan; });
        QObject::connect(&notifier, &ReminderNotifier::notificationShown, [&](uint id) { shownIds.push_back(id); });
        QObject::connect(&notifier, &ReminderNotifier::reminderNotShown,
                         [](const QString& text) { ADD_FAILURE() << "fallback: " << text.toStdString(); });
        EXPECT_EQ(notifier.remind(), 1);
        EXPECT_TRUE(waitFor([&] { return !fake->received().isEmpty(); }));
        EXPECT_EQ(fake->received(),
                  QStringList{"Kovara|Time to read: Gospels|Day 1: Alpha 1:1|default,Read now"});

        QDBusMessage clicked = QDBusMessage::createSignal(QStringLiteral("/org/freedesktop/Notifications"),
                                                          QStringLiteral("org.freedesktop.Notifications"),
                                                          QStringLiteral("ActionInvoked"));
        clicked << uint(7) << QStringLiteral("default");
        // The notifier knows the id once the service's answer is in.
        EXPECT_TRUE(waitFor([&] { return !shownIds.empty(); }));
        EXPECT_EQ(shownIds, std::vector<uint>{7});
        // A plan added since moves the announced one down the list: the click
        // still opens the plan the reminder named.
        shell.addPlan("Acts", 3, 0);
        service.send(clicked);
        EXPECT_TRUE(waitFor([&] { return !opened.isNull(); }));
        EXPECT_EQ(shell.plans->indexOf(opened), 1);
        EXPECT_EQ(shell.plans->planTitle(1), "Gospels");
    }
    service.unregisterObject(QStringLiteral("/org/freedesktop/Notifications"));
    serviceThread.quit();
    serviceThread.wait();
    delete fake;
    QDBusConnection::disconnectFromBus(QStringLiteral("kovara-test-client"));
    QDBusConnection::disconnectFromBus(QStringLiteral("kovara-test-service"));
}

TEST_F(ReminderTest, WithoutANotificationServiceTheReminderGoesToTheFallback)
{
    TestSessionBus bus;
    const QString names[] = {"kovara-test-quiet-bus", "kovara-test-no-bus"};
    // A bus where nobody provides the service, and no bus at all.
    const QString addresses[] = {bus.address, "unix:path=/nonexistent/kovara-bus"};
    for (int i = 0; i < 2; ++i) {
        SCOPED_TRACE(names[i].toStdString());
        ReminderNotifier notifier(shell, [&] { return QDBusConnection::connectToBus(addresses[i], names[i]); });
        QStringList shown;
        QObject::connect(&notifier, &ReminderNotifier::reminderNotShown, [&](const QString& text) { shown << text; });
        EXPECT_EQ(notifier.remind(), 1);
        EXPECT_TRUE(waitFor([&] { return !shown.isEmpty(); }));
        EXPECT_EQ(shown, QStringList{"Time to read: Gospels \u2013 Day 1: Alpha 1:1"});
        QDBusConnection::disconnectFromBus(names[i]);
    }
    // With several plans due, the fallback names them all.
    shell.addPlan("Psalms", 3, 0);
    ReminderNotifier notifier(shell, [&] { return QDBusConnection::connectToBus(addresses[1], names[1]); });
    QStringList shown;
    QObject::connect(&notifier, &ReminderNotifier::reminderNotShown, [&](const QString& text) { shown << text; });
    EXPECT_EQ(notifier.remind(), 2);
    EXPECT_TRUE(waitFor([&] { return shown.size() == 2; }));
    EXPECT_EQ(shown.value(1).toStdString(),
              "Time to read: Gospels \u2013 Day 1: Alpha 1:1; Time to read: Psalms \u2013 Day 1: Alpha 1:1");
    QDBusConnection::disconnectFromBus(names[1]);
}

TEST_F(ReminderTest, TheTimerIsSetForTheNextReminderTime)
{
    ReminderNotifier notifier(shell, []() -> QDBusConnection {
        ADD_FAILURE() << "no bus is needed to set the timer";
        return QDBusConnection(QStringLiteral("kovara-test-unused"));
    });
    using namespace std::chrono_literals;
    EXPECT_EQ(notifier.nextTime(), std::nullopt) << "off by default";
    notifier.setSettings({true, 13 * 60, false}); // the clock says noon
    EXPECT_EQ(notifier.nextTime(), startOf(shell.fixedClock.today()) + 13h);
    notifier.setSettings({true, 11 * 60, false});
    EXPECT_EQ(notifier.nextTime(), startOf(shell.fixedClock.today()) + 24h + 11h);
    notifier.setSettings({false, 11 * 60, false});
    EXPECT_EQ(notifier.nextTime(), std::nullopt);
}

// The timer fires a little before or after the reminder time; either way each
// due plan is reminded once, and the next reminder is tomorrow's.
TEST_F(ReminderTest, ATimerFiringEarlyOrLateRemindsOnce)
{
    using namespace std::chrono_literals;
    const sys_seconds noon = shell.fixedClock.now();
    const sys_seconds at = startOf(shell.fixedClock.today()) + 13h;
    for (const sys_seconds firedAt : {at - 1s, at + 1s}) {
        SCOPED_TRACE(firedAt == at - 1s ? "early" : "late");
        ReminderNotifier notifier(shell, [] {
            return QDBusConnection::connectToBus(QStringLiteral("unix:path=/nonexistent/kovara-bus"),
                                                 QStringLiteral("kovara-test-timer-bus"));
        });
        QStringList shown;
        QObject::connect(&notifier, &ReminderNotifier::reminderNotShown, [&](const QString& text) { shown << text; });
        shell.fixedClock.set(at - 1s); // the timer waits one second
        notifier.setSettings({true, 13 * 60, false});
        shell.fixedClock.set(firedAt); // what the clock reads when it fires
        EXPECT_TRUE(waitFor([&] { return !shown.isEmpty(); }));
        EXPECT_EQ(notifier.nextTime(), at + 24h);
        QTest::qWait(1500);
        EXPECT_EQ(shown.size(), 1) << shown.join(u'|').toStdString();
        QDBusConnection::disconnectFromBus(QStringLiteral("kovara-test-timer-bus"));
    }
    shell.fixedClock.set(noon);
}

TEST_F(ReminderTest, PreferencesSectionAndAutostartEntry)
{
    ReminderSettingsPanel panel;
    panel.load({true, 7 * 60 + 30, false}, *shell.plans);
    EXPECT_EQ(panel.findChild<QTimeEdit*>("reminderTimeEdit")->time(), QTime(7, 30));
    ASSERT_EQ(panel.findChild<QListWidget*>("reminderPlanList")->count(), 3);
    EXPECT_EQ(panel.findChild<QListWidget*>("reminderPlanList")->item(2)->text(), "Off");
    EXPECT_EQ(panel.findChild<QListWidget*>("reminderPlanList")->item(2)->checkState(), Qt::Unchecked);
    panel.findChild<QListWidget*>("reminderPlanList")->item(0)->setCheckState(Qt::Unchecked);
    panel.findChild<QCheckBox*>("remindCheck")->setChecked(false);
    EXPECT_FALSE(panel.findChild<QTimeEdit*>("reminderTimeEdit")->isEnabled());
    const ReminderSettings settings = panel.apply(*shell.plans);
    EXPECT_FALSE(settings.enabled);
    EXPECT_EQ(settings.minuteOfDay, 7 * 60 + 30);
    EXPECT_FALSE(shell.plans->record(0).reminder);

    const QString config = QString::fromStdString(shell.dir.file("config"));
    const QString entry = autostartFilePath(config);
    updateAutostartEntry(true, config);
    QFile file(entry);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(file.readAll());
    EXPECT_TRUE(text.startsWith("[Desktop Entry]\nType=Application\n"));
    EXPECT_TRUE(text.contains("\" --autostart\n")) << text.toStdString();
    file.close();
    EXPECT_EQ(std::system(("desktop-file-validate '" + entry.toStdString() + "'").c_str()), 0);
    updateAutostartEntry(false, config);
    EXPECT_FALSE(QFile::exists(entry));
    updateAutostartEntry(false, config); // nothing there: nothing to do
}

} // namespace
} // namespace kovara::ui

