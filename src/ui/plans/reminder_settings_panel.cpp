#include "ui/plans/reminder_settings_panel.h"

#include "core/base/atomic_file.h"
#include "core/base/exception.h"
#include "core/plans/plan_store.h"
#include "core/settings/ini_file.h"
#include "ui/base/error_guard.h"
#include "ui/base/shell.h"
#include "ui/base/text_codec.h"
#include "ui/plans/reminder_notifier.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QDialog>
#include <QDir>
#include <QFileInfo>
#include <QFile>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QStandardPaths>
#include <QTimeEdit>
#include <QVBoxLayout>

namespace kovara::ui {

ReminderSettingsPanel::ReminderSettingsPanel(QWidget* parent) : QGroupBox(tr("Daily Reading Reminder"), parent)
{
    setObjectName(QStringLiteral("reminderGroup"));
    remindCheck_ = new QCheckBox(tr("&Remind me to read at"), this);
    remindCheck_->setObjectName(QStringLiteral("remindCheck"));
    timeEdit_ = new QTimeEdit(this);
    timeEdit_->setObjectName(QStringLiteral("reminderTimeEdit"));
    timeEdit_->setDisplayFormat(QStringLiteral("HH:mm"));
    timeEdit_->setAccessibleName(tr("Reminder time"));
    planList_ = new QListWidget(this);
    planList_->setObjectName(QStringLiteral("reminderPlanList"));
    planList_->setAccessibleName(tr("Plans to remind me of"));
    planList_->setMaximumHeight(90);
    auto* plansLabel = new QLabel(tr("Remind me of these &plans:"), this);
    plansLabel->setBuddy(planList_);
    startAtLoginCheck_ = new QCheckBox(tr("Start Kovara when I &log in"), this);
    startAtLoginCheck_->setObjectName(QStringLiteral("startAtLoginCheck"));

    auto* timeRow = new QHBoxLayout;
    timeRow->addWidget(remindCheck_);
    timeRow->addWidget(timeEdit_);
    timeRow->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(timeRow);
    layout->addWidget(plansLabel);
    layout->addWidget(planList_);
    layout->addWidget(startAtLoginCheck_);
    connect(remindCheck_, &QCheckBox::toggled, this, [this] { updateControls(); });
    updateControls();
}

void ReminderSettingsPanel::showEvent(QShowEvent* event)
{
    emit aboutToShow();
    QGroupBox::showEvent(event);
}

void ReminderSettingsPanel::updateControls()
{
    timeEdit_->setEnabled(remindCheck_->isChecked());
    planList_->setEnabled(remindCheck_->isChecked());
}

void ReminderSettingsPanel::load(const ReminderSettings& settings, const PlanStore& plans)
{
    remindCheck_->setChecked(settings.enabled);
    timeEdit_->setTime(QTime(settings.minuteOfDay / 60, settings.minuteOfDay % 60));
    startAtLoginCheck_->setChecked(settings.startAtLogin);
    planList_->clear();
    for (int i = 0; i < plans.planCount(); ++i) {
        auto* item = new QListWidgetItem(fromBytes(plans.planTitle(i)), planList_);
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
        item->setCheckState(plans.record(i).reminder ? Qt::Checked : Qt::Unchecked);
        item->setData(Qt::UserRole, QVariant::fromValue(plans.id(i)));
    }
    updateControls();
}

ReminderSettings ReminderSettingsPanel::apply(PlanStore& plans) const
{
    ReminderSettings settings;
    settings.enabled = remindCheck_->isChecked();
    settings.minuteOfDay = timeEdit_->time().hour() * 60 + timeEdit_->time().minute();
    settings.startAtLogin = startAtLoginCheck_->isChecked();
    // Each row names its plan by id: a plan gone since the list was filled
    // is left out.
    for (int row = 0; row < planList_->count(); ++row) {
        const QListWidgetItem* item = planList_->item(row);
        if (const std::optional<int> plan = plans.indexOf(item->data(Qt::UserRole).value<PlanId>()))
            plans.setReminder(*plan, item->checkState() == Qt::Checked);
    }
    return settings;
}

QString autostartFilePath(const QString& configFolder)
{
    const QString folder = configFolder.isEmpty()
                               ? QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation)
                               : configFolder;
    return folder + QStringLiteral("/autostart/") + QString::fromLatin1(kAutostartFileName);
}

void updateAutostartEntry(bool startAtLogin, const QString& configFolder)
{
    const QString path = autostartFilePath(configFolder);
    if (!startAtLogin) {
        if (QFile::exists(path) && !QFile::remove(path))
            throw Exception(toBytes(QCoreApplication::translate("kovara::ui::ReminderSettingsPanel", "Unable to remove %1")
                                        .arg(path)));
        return;
    }
    QDir().mkpath(QFileInfo(path).absolutePath());
    const std::string entry = autostartEntry(toBytes(QCoreApplication::applicationFilePath()));
    // Written beside the entry and renamed over it: never through a link.
    std::string error;
    if (!writeFileAtomically(QFile::encodeName(path).toStdString(), entry, &error))
        throw Exception(toBytes(QCoreApplication::translate("kovara::ui::ReminderSettingsPanel", "Unable to write to %1: %2")
                                    .arg(path, fromBytes(error))));
}

ReminderSettingsPanel* makeReminderSection(QDialog& dialog, ReminderNotifier& reminder, Shell& shell,
                                           IniFile& settings)
{
    auto* panel = new ReminderSettingsPanel(&dialog);
    QObject::connect(panel, &ReminderSettingsPanel::aboutToShow, panel, [panel, &reminder, &shell] {
        runGuarded(shell.dialogs(), [&] { panel->load(reminder.settings(), shell.planStore()); });
    });
    QObject::connect(&dialog, &QDialog::accepted, panel, [panel, &reminder, &shell, &settings] {
        runGuarded(shell.dialogs(), [&] {
            const ReminderSettings chosen = panel->apply(shell.planStore());
            chosen.write(settings);
            updateAutostartEntry(chosen.startAtLogin);
            reminder.setSettings(chosen);
        });
    });
    return panel;
}

} // namespace kovara::ui
