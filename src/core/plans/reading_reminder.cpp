#include "core/plans/reading_reminder.h"

#include "core/settings/settings_keys.h"
#include "core/base/exception.h"
#include "core/plans/plan_progress.h"
#include "core/plans/plan_store.h"

#include <cstdio>

namespace kovara::core {

ReminderSettings ReminderSettings::read(const IniFile& ini)
{
    ReminderSettings s;
    s.enabled = settings::kReminderEnabled.read(ini);
    s.startAtLogin = settings::kReminderStartAtLogin.read(ini);
    s.minuteOfDay = minuteOfDayFromText(settings::kReminderTime.read(ini)).value_or(s.minuteOfDay);
    return s;
}

void ReminderSettings::write(IniFile& ini) const
{
    IniFile::Batch batch(ini);
    settings::kReminderEnabled.write(ini, enabled);
    settings::kReminderTime.write(ini, minuteOfDayText(minuteOfDay));
    settings::kReminderStartAtLogin.write(ini, startAtLogin);
    batch.commit();
}

std::vector<DueReading> dueReadings(const PlanStore& plans, sys_days today)
{
    std::vector<DueReading> due;
    for (int i = 0; i < plans.planCount(); ++i) {
        const PlanRecord& rec = plans.record(i);
        if (!rec.reminder)
            continue;
        const std::optional<int> first = plans.firstUnreadDay(i);
        const int dueDay = static_cast<int>((today - dayOf(rec.startDate)).count()) + 1;
        if (!first || dueDay < 1 || *first > dueDay)
            continue;
        due.push_back({PlanId(rec.tableName), *first, rec.planTitle, rec.dayVerses[static_cast<std::size_t>(*first - 1)]});
    }
    return due;
}

std::optional<int> minuteOfDayFromText(const std::string& text)
{
    int h = -1, m = -1;
    char rest = 0;
    if (std::sscanf(text.c_str(), "%d:%d%c", &h, &m, &rest) == 2 && h >= 0 && h < 24 && m >= 0 && m < 60)
        return h * 60 + m;
    return std::nullopt;
}

std::string minuteOfDayText(int minuteOfDay)
{
    return format("%02d:%02d", minuteOfDay / 60, minuteOfDay % 60);
}

sys_seconds nextReminderTime(sys_seconds now, int minuteOfDay)
{
    const sys_seconds today = startOf(dayOf(now)) + std::chrono::minutes(minuteOfDay);
    // A moment already past today (to the second) moves to tomorrow.
    return today > now ? today : today + std::chrono::days(1);
}

std::string autostartEntry(const std::string& program)
{
    // Exec quoting: the path in double quotes, with \ " ` $ escaped.
    std::string quoted = "\"";
    for (char c : program) {
        if (c == '\\' || c == '"' || c == '`' || c == '$')
            quoted += '\\';
        quoted += c;
    }
    quoted += '"';
    // TryExec is a plain string value: only the backslash is escaped.
    std::string path;
    for (char c : program) {
        if (c == '\\')
            path += '\\';
        path += c;
    }
    return "[Desktop Entry]\n"
           "Type=Application\n"
           "Name=Kovara\n"
           "Comment=Daily Bible reading plans, devotional and prayer journal\n"
           "TryExec=" + path + "\n"
           "Exec=" + quoted + " " + kAutostartArgument + "\n"
           "Icon=org.example.Kovara\n"
           "Terminal=false\n"
           "X-GNOME-Autostart-enabled=true\n";
}

} // namespace kovara::core
