#pragma once
// The reminder part of the preferences: "Remind me to read at [time]" (off
// by default), which plans it covers, and "Start Kovara when I log in".
#include "ui/base/core_names.h"
#include "core/plans/reading_reminder.h"

#include <QGroupBox>
#include <functional>

class QCheckBox;
class QListWidget;
class QTimeEdit;

namespace kovara::core {
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

    QCheckBox* remindCheck;
    QTimeEdit* timeEdit;
    QListWidget* planList; // one checkable line per plan, in plan order
    QCheckBox* startAtLoginCheck;

signals:
    // Each time the panel is about to show, so whoever owns the settings
    // loads it.
    void aboutToShow();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void updateControls();
};

// Writes (start at log-in) or removes the autostart entry in the user's
// autostart folder under configFolder ("~/.config" when empty). Raises when
// the file cannot be written or removed.
void updateAutostartEntry(bool startAtLogin, const QString& configFolder = QString());
// The entry's path.
QString autostartFilePath(const QString& configFolder = QString());

} // namespace kovara::ui
