#pragma once
// The daily reminder to read, while Kovara runs: at the chosen time, each plan
// whose reminder is on and that has an unread day due is announced by a
// desktop notification through the freedesktop notification service on the
// session bus; clicking it brings Kovara's reading page forward on that plan.
// Where no notification service answers, the reminder is handed to a
// fallback instead (the main window shows it in its status bar and raises
// itself) - never an error box.
#include "ui/base/core_names.h"
#include "core/plans/reading_reminder.h"

#include <QDBusConnection>
#include <QObject>
#include <QString>
#include <QStringList>
#include <functional>
#include <map>
#include <optional>
#include <string>

namespace kovara::ui {

class DailyTimer;
class DesktopNotifier;
class Shell;

class ReminderNotifier : public QObject {
    Q_OBJECT
public:
    // bus gives the session bus the notifications go to; it is asked the
    // first time a reminder is sent, so a start without a reminder does not
    // connect to the bus at all.
    ReminderNotifier(Shell& shell, std::function<QDBusConnection()> bus, QObject* parent = nullptr);

    // Takes new settings and sets the timer for the next reminder (none when
    // the reminder is off).
    void setSettings(const ReminderSettings& settings);
    const ReminderSettings& settings() const { return settings_; }
    // When the timer fires next, in the clock's time; nothing when it is off.
    std::optional<sys_seconds> nextTime() const;

    // Announces every due reading now: the notifications are sent without
    // waiting for the service, and reminderNotShown is emitted for each one
    // it refuses (at once when there is no bus). Returns how many readings
    // were due.
    int remind();

    // The text of one reminder: "Time to read: <title>" and "Day %1: <passage>".
    static QString summaryText(const DueReading& due);
    QString bodyText(const DueReading& due) const;

signals:
    // The reader clicked a reminder: plan's day to read is wanted, with the
    // main window brought forward.
    void openPlanRequested(const kovara::core::PlanId& plan);
    // No notification service showed the reminder: the window shows text.
    void reminderNotShown(const QString& text);
    // The service showed a reminder as notification id.
    void notificationShown(uint id);

private:
    Shell& shell_;
    DesktopNotifier* notifier_;
    DailyTimer* timer_;
    ReminderSettings settings_;
    // Notification id -> the plan it announced.
    std::map<uint, PlanId> shown_;
    // This round's reminders that no notification showed: the fallback names
    // them all, not only the last.
    QStringList notShown_;
};

} // namespace kovara::ui
