#pragma once
// The daily reminder to pray, while Kovara runs: at the chosen time, one
// desktop notification with the number of items still to pray for today and
// the first of their titles; clicking it opens the Pray Today page. Sent at
// most once a day, and not at all while the list is empty (a reader who
// never used the list has none). Its section of the preferences dialog:
// "Remind me to pray at [time]".
#include "core/prayer/prayer_reminder.h"
#include "ui/base/core_names.h"

#include <QDBusConnection>
#include <QGroupBox>
#include <QObject>
#include <functional>
#include <optional>
#include <set>

class QCheckBox;
class QDialog;
class QTimeEdit;

namespace kovara::core {
class IniFile;
}

namespace kovara::ui {

class DailyTimer;
class DesktopNotifier;
class Shell;

using core::PrayerReminderSettings;

class PrayerReminder : public QObject {
    Q_OBJECT
public:
    PrayerReminder(Shell& shell, std::function<QDBusConnection()> bus, QObject* parent = nullptr);

    // Takes new settings and sets the timer (none when the reminder is off).
    void setSettings(const PrayerReminderSettings& settings);
    const PrayerReminderSettings& settings() const { return settings_; }
    std::optional<sys_seconds> nextTime() const;

    // Announces today's list now, unless it is empty or today's reminder was
    // already sent. Returns how many items it named.
    int remind();

    // The notification's text for the titles still to pray for.
    static QString summaryText(int count);
    static QString bodyText(const std::vector<std::string>& titles);

signals:
    // The reader clicked the reminder.
    void openPrayTodayRequested();
    // No notification service showed the reminder: the window shows text.
    void reminderNotShown(const QString& text);
    void notificationShown(uint id);

private:
    Shell& shell_;
    DesktopNotifier* notifier_;
    DailyTimer* timer_;
    PrayerReminderSettings settings_;
    std::optional<sys_days> remindedOn_;
    std::set<uint> shown_;
};

class PrayerReminderPanel : public QGroupBox {
    Q_OBJECT
public:
    explicit PrayerReminderPanel(QWidget* parent = nullptr);
    void load(const PrayerReminderSettings& settings);
    PrayerReminderSettings settings() const;

private:
    QCheckBox* remindCheck_;
    QTimeEdit* timeEdit_;
};

// The reminder's section of a preferences dialog: shows reminder's settings;
// on the dialog's OK they go to settings.ini and the reminder.
PrayerReminderPanel* makePrayerReminderSection(QDialog& dialog, PrayerReminder& reminder, Shell& shell,
                                               IniFile& settings);

} // namespace kovara::ui
