#include "ui/prayer/prayer_schedule_menu.h"

#include "core/prayer/prayer_list_store.h"
#include "ui/base/error_guard.h"
#include "ui/base/shell.h"

#include <QActionGroup>

namespace kovara::ui {

namespace {

struct ScheduleEntry {
    const char* name;
    const char* caption;
    ScheduleKind kind;
    unsigned weekdays;
};

constexpr unsigned kMondayToFriday = 0x1f;

const ScheduleEntry kEntries[] = {
    {"scheduleDailyAction", QT_TRANSLATE_NOOP("kovara::ui::PrayerScheduleMenu", "Every &Day"), ScheduleKind::Daily, 0},
    {"scheduleWeekdaysAction", QT_TRANSLATE_NOOP("kovara::ui::PrayerScheduleMenu", "&Monday to Friday"),
     ScheduleKind::Weekdays, kMondayToFriday},
    {"scheduleWeeklyAction", QT_TRANSLATE_NOOP("kovara::ui::PrayerScheduleMenu", "Once a &Week"),
     ScheduleKind::Weekly, 0},
    {"scheduleMonthlyAction", QT_TRANSLATE_NOOP("kovara::ui::PrayerScheduleMenu", "Once a M&onth"),
     ScheduleKind::Monthly, 0},
    {"scheduleInTurnAction", QT_TRANSLATE_NOOP("kovara::ui::PrayerScheduleMenu", "In &Turn"), ScheduleKind::InTurn,
     0},
};

} // namespace

PrayerScheduleMenu::PrayerScheduleMenu(Shell& shell, std::function<std::int32_t()> item, QWidget* parent)
    : QMenu(tr("Comes Up on the Prayer List"), parent), shell_(shell), item_(std::move(item))
{
    setObjectName(QStringLiteral("scheduleMenu"));
    auto* group = new QActionGroup(this);
    for (const ScheduleEntry& entry : kEntries) {
        QAction* action = addAction(tr(entry.caption));
        action->setObjectName(QString::fromLatin1(entry.name));
        action->setCheckable(true);
        group->addAction(action);
        entries_ << action;
        const PrayerSchedule chosen{entry.kind, entry.weekdays, {}};
        connect(action, &QAction::triggered, this, [this, chosen] {
            runGuarded(shell_.dialogs(), [this, chosen] {
                const std::int32_t index = item_();
                if (index <= 0)
                    return;
                PrayerListStore list(shell_.prayerStore());
                const sys_days today = shell_.clock().today();
                list.ensureTables(today);
                PrayerSchedule schedule = chosen;
                schedule.since = today;
                list.setSchedule(index, schedule);
                shell_.session().notifyPrayersChanged();
            });
        });
    }
    connect(this, &QMenu::aboutToShow, this, [this] { runGuarded(shell_.dialogs(), [this] { showSchedule(); }); });
}

void PrayerScheduleMenu::showSchedule()
{
    const std::int32_t index = item_();
    for (QAction* action : entries_) {
        action->setEnabled(index > 0);
        action->setChecked(false);
    }
    if (index <= 0)
        return;
    const PrayerSchedule schedule = PrayerListStore(shell_.prayerStore()).schedule(index);
    for (std::size_t i = 0; i < std::size(kEntries); ++i)
        if (kEntries[i].kind == schedule.kind)
            entries_[static_cast<int>(i)]->setChecked(true);
}

} // namespace kovara::ui
