#include "ui/app/main_services.h"

#include "ui/app/app_commands.h"
#include "ui/app/preferences_dialog.h"
#include "ui/app/single_instance.h"
#include "ui/app/sync_controller.h"
#include "ui/app/sync_settings_panel.h"
#include "ui/base/error_guard.h"
#include "ui/plans/reminder_notifier.h"
#include "ui/plans/reminder_settings_panel.h"
#include "ui/prayer/prayer_reminder.h"

#include <QDBusConnection>
#include <QMainWindow>
#include <QStatusBar>

namespace kovara::ui {

MainServices startMainServices(QMainWindow& window, Shell& shell, Dialogs& dialogs, core::IniFile& settings,
                               AppCommands& appCommands, std::function<void(const PlanId&)> showPlanDay,
                               std::function<void()> openPrayToday)
{
    MainServices services;
    QMainWindow* w = &window;
    services.reminder = new ReminderNotifier(shell, [] { return QDBusConnection::sessionBus(); }, w);
    QObject::connect(services.reminder, &ReminderNotifier::openPlanRequested, w,
                     [w, &dialogs, showPlanDay = std::move(showPlanDay)](const PlanId& plan) {
                         runGuarded(dialogs, [&] {
                             SingleInstance::bringForward(w);
                             showPlanDay(plan);
                         });
                     });
    // Without a notification service the window says it itself.
    QObject::connect(services.reminder, &ReminderNotifier::reminderNotShown, w, [w](const QString& text) {
        w->statusBar()->showMessage(text);
        SingleInstance::bringForward(w);
    });
    services.reminder->setSettings(ReminderSettings::read(settings));
    // The prayer reminder reads the list only when it fires: nothing of the
    // list is opened at start.
    PrayerReminder* prayer = services.prayerReminder =
        new PrayerReminder(shell, [] { return QDBusConnection::sessionBus(); }, w);
    QObject::connect(prayer, &PrayerReminder::openPrayTodayRequested, w,
                     [w, &dialogs, openPrayToday = std::move(openPrayToday)] {
                         runGuarded(dialogs, [&] {
                             SingleInstance::bringForward(w);
                             openPrayToday();
                         });
                     });
    QObject::connect(prayer, &PrayerReminder::reminderNotShown, w, [w](const QString& text) {
        w->statusBar()->showMessage(text);
        SingleInstance::bringForward(w);
    });
    prayer->setSettings(PrayerReminderSettings::read(settings));
    // Keeping plans and prayers in step through a synced folder, when chosen.
    SyncController* sync = services.sync = new SyncController(shell, settings, w);
    QObject::connect(sync, &SyncController::message, w, [w](const QString& text) { w->statusBar()->showMessage(text); });
    runGuarded(dialogs, [sync] { sync->applySettings(); });
    appCommands.setPreferencesExtension([reminder = services.reminder, prayer, sync, &shell,
                                         &settings](PreferencesDialog& dialog) {
        dialog.addSection(makeReminderSection(dialog, *reminder, shell, settings));
        dialog.addSection(makePrayerReminderSection(dialog, *prayer, shell, settings));
        dialog.addSection(makeSyncSection(dialog, *sync, shell, settings));
    });
    return services;
}

} // namespace kovara::ui
