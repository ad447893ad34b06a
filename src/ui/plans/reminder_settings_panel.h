#pragma once
// The reminder part of the preferences: "Remind me to read at [time]" (off
// by default), which plans it covers, and "Start Kovara when I log in".
#include "ui/base/core_names.h"
#include "core/plans/reading_reminder.h"

#include <QGroupBox>

class QDialog;
#include <functional>

class QCheckBox;
class QListWidget;
class QTimeEdit;

namespace kovara::core {
class IniFile;
class PlanStore;
}

namespace kovara::ui {

class ReminderSettingsPanel : public QGroupBox {
    Q_OBJECT
public:
    explicit ReminderSettingsPanel(QWidget* parent = nullptr);

    // Shows settings and, for each plan, whether its reminder is on.
    void load(const ReminderSettings& settings, const PlanStore& plans);
    // The settings as shown; writes each plan's reminder flag to plans.
    ReminderSettings apply(PlanStore& plans) const;

signals:
    // Each time the panel is about to show, so whoever owns the settings
    // loads it.
    void aboutToShow();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void updateControls();

    QCheckBox* remindCheck_;
    QTimeEdit* timeEdit_;
    QListWidget* planList_; // one checkable line per plan, in plan order
    QCheckBox* startAtLoginCheck_;
};

// Writes (start at log-in) or removes the autostart entry in the user's
// autostart folder under configFolder ("~/.config" when empty). Raises when
// the file cannot be written or removed.
void updateAutostartEntry(bool startAtLogin, const QString& configFolder = QString());
// The entry's path.
QString autostartFilePath(const QString& configFolder = QString());

class ReminderNotifier;
class Shell;

// The reminder's section of a preferences dialog: loaded from reminder each
// time it shows; on the dialog's OK the settings go to settings.ini, the
// autostart entry and the reminder. Returns the panel, a child of dialog,
// for the dialog to place.
ReminderSettingsPanel* makeReminderSection(QDialog& dialog, ReminderNotifier& reminder, Shell& shell,
                                           IniFile& settings);

} // namespace kovara::ui
