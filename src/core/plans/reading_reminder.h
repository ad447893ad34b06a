#pragma once
// The daily reminder to read: its settings (kept in settings.ini, section
// "Reminder"), which plans have a day to read when it fires, when it fires
// next, and the XDG autostart entry that starts Kovara at log-in.
#include "core/base/datetime.h"
#include "core/plans/plan_id.h"
#include "core/settings/settings_keys.h"

#include <optional>
#include <string>
#include <vector>

namespace kovara::core {

class IniFile;
class PlanStore;

struct ReminderSettings {
    bool enabled = settings::kReminderEnabled.fallback; // "Remind me to read at"
    int minuteOfDay = 8 * 60;                           // the time, in minutes after midnight
    bool startAtLogin = settings::kReminderStartAtLogin.fallback;

    // The keys kReminder... of core/settings/settings_keys.h; a time that does
    // not read as "HH:MM" keeps the default.
    static ReminderSettings read(const IniFile& ini);
    // Raises "Unable to write to %s" when the file cannot be written.
    void write(IniFile& ini) const;
};

// A plan with a day to read: the first unread day when it is due today or
// earlier, with its verse specification.
struct DueReading {
    PlanId plan;
    int day = 0;
    std::string title;
    std::string verses;
};

// The plans whose reminder is on and that have an unread day due by today
// (a plan that has not started yet has none), in plan order.
std::vector<DueReading> dueReadings(const PlanStore& plans, sys_days today);

// A time of day as the settings keep it ("HH:MM") and back; a text that
// does not read as one gives nothing.
std::optional<int> minuteOfDayFromText(const std::string& text);
std::string minuteOfDayText(int minuteOfDay);

// The next moment at minuteOfDay after now (today's when it is still ahead,
// else tomorrow's).
sys_seconds nextReminderTime(sys_seconds now, int minuteOfDay);

// The autostart entry that starts program with --autostart at log-in.
std::string autostartEntry(const std::string& program);
// The entry's file name inside the autostart folder.
constexpr const char* kAutostartFileName = "org.example.Kovara.desktop";
// The argument the autostart entry passes: Kovara then starts minimised
// unless a reading is due.
constexpr const char* kAutostartArgument = "--autostart";

} // namespace kovara::core
