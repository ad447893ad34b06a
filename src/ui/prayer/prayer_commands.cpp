#include "ui/prayer/prayer_commands.h"
#include "ui/base/core_names.h"

#include "core/prayer/prayer_store.h"
#include "ui/base/error_guard.h"
#include "ui/prayer/prayer_editor.h"
#include "ui/prayer/prayer_tracker_page.h"
#include "ui/base/shell.h"

namespace kovara::ui {

PrayerCommands::PrayerCommands(Shell& shell, PrayerTrackerPage& tracker, PrayerEditor& editor,
                                 QObject* parent)
    : QObject(parent), shell_(shell), tracker_(tracker), editor_(editor)
{
}

void PrayerCommands::newPrayerItem()
{
    const std::int32_t index = shell_.prayerStore().newPrayerItem(0);
    bool saved = false;
    try {
        saved = editor_.editPrayer(shell_.prayerStore(), index, true, shell_.preferences());
    } catch (...) {
        shell_.prayerStore().discardNewItem(index);
        throw;
    }
    if (!saved) {
        shell_.prayerStore().discardNewItem(index);
        return;
    }
    std::string status = shell_.prayerStore().getPrayerStatus(index);
    // Only a status the list can show makes a tab to land on.
    if (status != kPrayerActive && status != kPrayerAnswered && status != kPrayerInactive)
        status = kPrayerFilterAny;
    tracker_.initPrayers(shell_.prayerStore(), status, index);
    shell_.showPage(Page::PrayerTracker);
    tracker_.updateActions();
}

void PrayerCommands::viewPrayers(const std::string& filter)
{
    shell_.showPage(Page::PrayerTracker);
    tracker_.initPrayers(shell_.prayerStore(), filter, -1);
}

bool PrayerCommands::handleLink(const QString& href)
{
    static const struct {
        const char* href;
        void (PrayerCommands::*slot)();
    } links[] = {
        {"koav2:NewPrayerItem", &PrayerCommands::newPrayerCommand},
        {"koav2:ViewActivePrayers", &PrayerCommands::showActivePrayers},
        {"koav2:ViewAnsweredPrayers", &PrayerCommands::showAnsweredPrayers},
        {"koav2:ViewInactivePrayers", &PrayerCommands::showInactivePrayers},
        {"koav2:ViewAllPrayers", &PrayerCommands::showAllPrayers},
    };
    for (const auto& link : links) {
        if (href == QLatin1String(link.href)) {
            (this->*link.slot)();
            return true;
        }
    }
    return false;
}

void PrayerCommands::newPrayerCommand()
{
    runGuarded(shell_.getDialogs(), [this] { newPrayerItem(); });
}

void PrayerCommands::showActivePrayers()
{
    runGuarded(shell_.getDialogs(), [this] { viewPrayers(kPrayerActive); });
}

void PrayerCommands::showAnsweredPrayers()
{
    runGuarded(shell_.getDialogs(), [this] { viewPrayers(kPrayerAnswered); });
}

void PrayerCommands::showInactivePrayers()
{
    runGuarded(shell_.getDialogs(), [this] { viewPrayers(kPrayerInactive); });
}

void PrayerCommands::showAllPrayers()
{
    runGuarded(shell_.getDialogs(), [this] { viewPrayers(kPrayerFilterAny); });
}

} // namespace kovara::ui
