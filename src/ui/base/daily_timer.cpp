#include "ui/base/daily_timer.h"

#include "core/plans/reading_reminder.h"
#include "ui/base/shell.h"

#include <QTimer>

#include <algorithm>

namespace kovara::ui {

DailyTimer::DailyTimer(Shell& shell, QObject* parent) : QObject(parent), shell_(shell), timer_(new QTimer(this))
{
    timer_->setSingleShot(true);
    connect(timer_, &QTimer::timeout, this, [this] {
        // The time this firing is for, whatever the clock reads now.
        const std::optional<core::sys_seconds> handled = next_;
        emit fired();
        schedule(handled);
    });
}

void DailyTimer::setTime(std::optional<int> minuteOfDay)
{
    minuteOfDay_ = minuteOfDay;
    schedule(std::nullopt);
}

void DailyTimer::schedule(std::optional<core::sys_seconds> handled)
{
    timer_->stop();
    next_.reset();
    if (!minuteOfDay_)
        return;
    const core::sys_seconds now = shell_.clock().now();
    next_ = core::nextReminderTime(handled ? std::max(now, *handled) : now, *minuteOfDay_);
    const std::chrono::milliseconds wait = std::clamp<std::chrono::milliseconds>(
        *next_ - now, std::chrono::milliseconds(0), std::chrono::days(2));
    timer_->start(static_cast<int>(wait.count()));
}

} // namespace kovara::ui
