#include "ui/prayer/prayer_commands.h"

#include "ui/app/main_actions.h"

namespace kovara::ui {

TPrayerCommands::TPrayerCommands(Shell& shell, const TMainActions& actions) : shell_(shell)
{
    Dialogs& dialogs = shell.GetDialogs();
    // TODO: the prayer editor for a new item, once it is in.
    ConnectGuarded(actions.ActionNewPrayer, dialogs, [] {});
    // TODO: each view sets the tracker's status filter (Active, Answered,
    // Inactive, Any) once the tracker frame is in.
    ConnectGuarded(actions.ActionPrayersActive, dialogs, [this] { ShowPrayers(); });
    ConnectGuarded(actions.ActionPrayersAnswered, dialogs, [this] { ShowPrayers(); });
    ConnectGuarded(actions.ActionPrayersInactive, dialogs, [this] { ShowPrayers(); });
    ConnectGuarded(actions.ActionPrayersAll, dialogs, [this] { ShowPrayers(); });
}

void TPrayerCommands::ShowPrayers()
{
    shell_.ShowPage(Page::PrayerTracker);
}

} // namespace kovara::ui
