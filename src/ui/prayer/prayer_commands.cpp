#include "ui/prayer/prayer_commands.h"

#include "prayer/kova_prayertracker.h"
#include "ui/app/error_guard.h"
#include "ui/prayer/formEditPrayer.h"
#include "ui/prayer/framePrayerTracker.h"
#include "ui/shell.h"

namespace kovara::ui {

TPrayerCommands::TPrayerCommands(Shell& shell, TFrameKOVAPrayerTracker& tracker, TFormPrayerEdit& editor,
                                 QObject* parent)
    : QObject(parent), shell_(shell), tracker_(tracker), editor_(editor)
{
}

void TPrayerCommands::NewPrayerItem()
{
    const std::int32_t index = shell_.PrayerTracker().NewPrayerItem(0);
    editor_.EditPrayer(shell_.PrayerTracker(), index, true, shell_.Preferences());
    std::string status = shell_.PrayerTracker().GetPrayerStatus(index);
    // Only a status the list can show makes a tab to land on.
    if (status != kPrayerActive && status != kPrayerAnswered && status != kPrayerInactive)
        status = kPrayerFilterAny;
    tracker_.InitPrayers(shell_.PrayerTracker(), status, index);
    shell_.ShowPage(Page::PrayerTracker);
    tracker_.UpdateActions();
}

void TPrayerCommands::ViewPrayers(const std::string& filter)
{
    shell_.ShowPage(Page::PrayerTracker);
    tracker_.InitPrayers(shell_.PrayerTracker(), filter, -1);
}

bool TPrayerCommands::HandleLink(const QString& href)
{
    static const struct {
        const char* href;
        void (TPrayerCommands::*slot)();
    } links[] = {
        {"koav2:NewPrayerItem", &TPrayerCommands::ActionNewPrayerExecute},
        {"koav2:ViewActivePrayers", &TPrayerCommands::ActionPrayersActiveExecute},
        {"koav2:ViewAnsweredPrayers", &TPrayerCommands::ActionPrayersAnsweredExecute},
        {"koav2:ViewInactivePrayers", &TPrayerCommands::ActionPrayersInactiveExecute},
        {"koav2:ViewAllPrayers", &TPrayerCommands::ActionPrayersAllExecute},
    };
    for (const auto& link : links) {
        if (href == QLatin1String(link.href)) {
            (this->*link.slot)();
            return true;
        }
    }
    return false;
}

void TPrayerCommands::ActionNewPrayerExecute()
{
    RunGuarded(shell_.GetDialogs(), [this] { NewPrayerItem(); });
}

void TPrayerCommands::ActionPrayersActiveExecute()
{
    RunGuarded(shell_.GetDialogs(), [this] { ViewPrayers(kPrayerActive); });
}

void TPrayerCommands::ActionPrayersAnsweredExecute()
{
    RunGuarded(shell_.GetDialogs(), [this] { ViewPrayers(kPrayerAnswered); });
}

void TPrayerCommands::ActionPrayersInactiveExecute()
{
    RunGuarded(shell_.GetDialogs(), [this] { ViewPrayers(kPrayerInactive); });
}

void TPrayerCommands::ActionPrayersAllExecute()
{
    RunGuarded(shell_.GetDialogs(), [this] { ViewPrayers(kPrayerFilterAny); });
}

} // namespace kovara::ui
