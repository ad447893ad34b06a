#include "ui/plans/reminder_notifier.h"

#include "core/base/datetime.h"
#include "core/content/bible_store.h"
#include "core/plans/plan_store.h"
#include "ui/base/daily_timer.h"
#include "ui/base/desktop_notifier.h"
#include "ui/base/shell.h"
#include "ui/base/text_codec.h"

namespace kovara::ui {

ReminderNotifier::ReminderNotifier(Shell& shell, std::function<QDBusConnection()> bus, QObject* parent)
    : QObject(parent), shell_(shell), notifier_(new DesktopNotifier(std::move(bus), this)),
      timer_(new DailyTimer(shell, this))
{
    connect(timer_, &DailyTimer::fired, this, [this] {
        try {
            remind();
        } catch (const std::exception&) {
            // A reminder that cannot be worked out (the store being replaced
            // by a restore) waits for the next day rather than interrupting.
        }
    });
    connect(notifier_, &DesktopNotifier::clicked, this, [this](uint id) {
        const auto it = shown_.find(id);
        if (it == shown_.end())
            return;
        try {
            if (shell_.planStore().indexOf(it->second))
                emit openPlanRequested(it->second);
        } catch (const std::exception&) {
            // The plan is gone or the store is being replaced: nothing to open.
        }
    });
}

void ReminderNotifier::setSettings(const ReminderSettings& settings)
{
    settings_ = settings;
    timer_->setTime(settings_.enabled ? std::optional<int>(settings_.minuteOfDay) : std::nullopt);
}

std::optional<sys_seconds> ReminderNotifier::nextTime() const
{
    return timer_->nextTime();
}

QString ReminderNotifier::summaryText(const DueReading& due)
{
    return tr("Time to read: %1").arg(fromBytes(due.title));
}

QString ReminderNotifier::bodyText(const DueReading& due) const
{
    return tr("Day %1: %2").arg(QString::number(due.day), fromBytes(shell_.bible().referenceText(due.verses)));
}

int ReminderNotifier::remind()
{
    const std::vector<DueReading> due = dueReadings(shell_.planStore(), shell_.clock().today());
    notShown_.clear();
    const auto notShown = [this](const QString& text) {
        notShown_ << text;
        emit reminderNotShown(notShown_.join(QStringLiteral("; ")));
    };
    for (const DueReading& reading : due) {
        const QString summary = summaryText(reading);
        const QString body = bodyText(reading);
        const PlanId plan = reading.plan;
        notifier_->send(
            summary, body, tr("Read now"), summary + QStringLiteral(" \u2013 ") + body,
            [this, plan](uint id) {
                shown_[id] = plan;
                emit notificationShown(id);
            },
            notShown);
    }
    return static_cast<int>(due.size());
}

} // namespace kovara::ui
