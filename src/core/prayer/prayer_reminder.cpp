#include "core/prayer/prayer_reminder.h"

#include "core/plans/reading_reminder.h"
#include "core/prayer/prayer_list_page.h"
#include "core/settings/ini_file.h"

namespace kovara::core {

PrayerReminderSettings PrayerReminderSettings::read(const IniFile& ini)
{
    PrayerReminderSettings s;
    s.enabled = settings::kPrayerReminderEnabled.read(ini);
    s.minuteOfDay = minuteOfDayFromText(settings::kPrayerReminderTime.read(ini)).value_or(s.minuteOfDay);
    return s;
}

void PrayerReminderSettings::write(IniFile& ini) const
{
    IniFile::Batch batch(ini);
    settings::kPrayerReminderEnabled.write(ini, enabled);
    settings::kPrayerReminderTime.write(ini, minuteOfDayText(minuteOfDay));
    batch.commit();
}

std::vector<std::string> prayersToRemind(const PrayerStore& store, sys_days today)
{
    std::vector<std::string> titles;
    for (const PrayerListItem& item : loadPrayerList(store, today))
        if (!item.prayed)
            titles.push_back(item.title);
    return titles;
}

} // namespace kovara::core
