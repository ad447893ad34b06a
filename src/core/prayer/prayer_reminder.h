#pragma once
// The daily reminder to pray: its settings (settings.ini, section "Prayer
// Reminder") and what it announces - the items still to pray for today.
#include "core/base/datetime.h"
#include "core/settings/settings_keys.h"

#include <string>
#include <vector>

namespace kovara::core {

class IniFile;
class PrayerStore;

struct PrayerReminderSettings {
    bool enabled = settings::kPrayerReminderEnabled.fallback; // "Remind me to pray at"
    int minuteOfDay = 8 * 60;                                 // minutes after midnight

    // A time that does not read as "HH:MM" keeps the default.
    static PrayerReminderSettings read(const IniFile& ini);
    // Raises "Unable to write to %s" when the file cannot be written.
    void write(IniFile& ini) const;
};

// The titles of today's list not yet prayed for, in the list's order. Empty
// (and nothing made in the file) while the list's tables are missing.
std::vector<std::string> prayersToRemind(const PrayerStore& store, sys_days today);

} // namespace kovara::core
