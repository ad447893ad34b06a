#pragma once
// What runs beside the window once it is built: the daily reading reminder
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
class ReminderNotifier;
class Shell;
class SyncController;

struct MainServices {
    ReminderNotifier* reminder = nullptr; // children of the window
    SyncController* sync = nullptr;
};

// showPlanDay opens a plan's day when the reader clicks its reminder.
MainServices startMainServices(QMainWindow& window, Shell& shell, Dialogs& dialogs, core::IniFile& settings,
                               AppCommands& appCommands, std::function<void(const PlanId&)> showPlanDay);

} // namespace kovara::ui
