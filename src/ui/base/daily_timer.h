#pragma once
// A timer for a daily reminder: fires at a time of day, every day, by the
// shell's clock. A timer that fires a little early (the clock, to the
// second, still reading the second before) is not set again for the same
// time: the next firing is always the next day's.
#include "core/base/datetime.h"

#include <QObject>
#include <optional>

class QTimer;

namespace kovara::ui {

class Shell;

class DailyTimer : public QObject {
    Q_OBJECT
public:
    explicit DailyTimer(Shell& shell, QObject* parent = nullptr);

    // Sets the timer for the next minuteOfDay after now; nothing stops it.
    void setTime(std::optional<int> minuteOfDay);
    // When it fires next, in the clock's time.
    std::optional<core::sys_seconds> nextTime() const { return next_; }

signals:
    void fired();

private:
    void schedule(std::optional<core::sys_seconds> handled);

    Shell& shell_;
    QTimer* timer_;
    std::optional<int> minuteOfDay_;
    std::optional<core::sys_seconds> next_;
};

} // namespace kovara::ui
