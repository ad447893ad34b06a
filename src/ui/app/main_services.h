#pragma once
// What runs beside the window once it is built: the daily reading and prayer
// reminders
// and the folder that keeps plans and prayers in step between computers,
// each with its section of the Preferences dialog.
#include "core/plans/plan_id.h"
#include "ui/base/core_names.h"

#include <functional>

class QMainWindow;

namespace kovara::core {
class IniFile;
}

namespace kovara::ui {

class AppCommands;
class Dialogs;
class PrayerReminder;
class ReminderNotifier;
class Shell;
class SyncController;

struct MainServices {
    ReminderNotifier* reminder = nullptr; // children of the window
    SyncController* sync = nullptr;
    PrayerReminder* prayerReminder = nullptr;
};

// showPlanDay opens a plan's day when the reader clicks its reminder;
// openPrayToday opens today's prayer list when the prayer reminder is clicked.
MainServices startMainServices(QMainWindow& window, Shell& shell, Dialogs& dialogs, core::IniFile& settings,
                               AppCommands& appCommands, std::function<void(const PlanId&)> showPlanDay,
                               std::function<void()> openPrayToday);

} // namespace kovara::ui
