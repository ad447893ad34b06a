#include "ui/plans/reminder_settings_panel.h"

#include "core/base/exception.h"
#include "core/plans/plan_store.h"
#include "ui/base/text_codec.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QFile>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QSaveFile>
#include <QStandardPaths>
#include <QTimeEdit>
#include <QVBoxLayout>

namespace kovara::ui {

ReminderSettingsPanel::ReminderSettingsPanel(QWidget* parent) : QGroupBox(tr("Daily Reading Reminder"), parent)
{
    setObjectName(QStringLiteral("reminderGroup"));
    remindCheck = new QCheckBox(tr("&Remind me to read at"), this);
    remindCheck->setObjectName(QStringLiteral("remindCheck"));
    timeEdit = new QTimeEdit(this);
    timeEdit->setObjectName(QStringLiteral("reminderTimeEdit"));
    timeEdit->setDisplayFormat(QStringLiteral("HH:mm"));
    timeEdit->setAccessibleName(tr("Reminder time"));
    planList = new QListWidget(this);
    planList->setObjectName(QStringLiteral("reminderPlanList"));
    planList->setAccessibleName(tr("Plans to remind me of"));
    planList->setMaximumHeight(90);
    auto* plansLabel = new QLabel(tr("Remind me of these &plans:"), this);
    plansLabel->setBuddy(planList);
    startAtLoginCheck = new QCheckBox(tr("Start Kovara when I &log in"), this);
    startAtLoginCheck->setObjectName(QStringLiteral("startAtLoginCheck"));

    auto* timeRow = new QHBoxLayout;
    timeRow->addWidget(remindCheck);
    timeRow->addWidget(timeEdit);
    timeRow->addStretch();
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(timeRow);
    layout->addWidget(plansLabel);
    layout->addWidget(planList);
    layout->addWidget(startAtLoginCheck);
    connect(remindCheck, &QCheckBox::toggled, this, [this] { updateControls(); });
    updateControls();
}

void ReminderSettingsPanel::showEvent(QShowEvent* event)
{
    if (aboutToShow)
        aboutToShow();
    QGroupBox::showEvent(event);
}

void ReminderSettingsPanel::updateControls()
{
    timeEdit->setEnabled(remindCheck->isChecked());
    planList->setEnabled(remindCheck->isChecked());
}

void ReminderSettingsPanel::load(const ReminderSettings& settings, const PlanStore& plans)
{
    remindCheck->setChecked(settings.enabled);
    timeEdit->setTime(QTime(settings.minuteOfDay / 60, settings.minuteOfDay % 60));
    startAtLoginCheck->setChecked(settings.startAtLogin);
    planList->clear();
    for (int i = 0; i < plans.planCount(); ++i) {
        auto* item = new QListWidgetItem(fromBytes(plans.planTitle(i)), planList);
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
        item->setCheckState(plans.record(i).reminder ? Qt::Checked : Qt::Unchecked);
    }
    updateControls();
}

ReminderSettings ReminderSettingsPanel::apply(PlanStore& plans) const
{
    ReminderSettings settings;
    settings.enabled = remindCheck->isChecked();
    settings.minuteOfDay = timeEdit->time().hour() * 60 + timeEdit->time().minute();
    settings.startAtLogin = startAtLoginCheck->isChecked();
    for (int i = 0; i < planList->count() && i < plans.planCount(); ++i)
        plans.setReminder(i, planList->item(i)->checkState() == Qt::Checked);
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
            throw Exception(toBytes(QCoreApplication::translate("ReminderSettingsPanel", "Unable to remove %1")
                                        .arg(path)));
        return;
    }
    QDir().mkpath(QFileInfo(path).absolutePath());
    const std::string entry = autostartEntry(toBytes(QCoreApplication::applicationFilePath()));
    QSaveFile out(path);
    if (!out.open(QIODevice::WriteOnly) || out.write(entry.data(), static_cast<qint64>(entry.size())) < 0 ||
        !out.commit())
        throw Exception(toBytes(QCoreApplication::translate("ReminderSettingsPanel", "Unable to write to %1: %2")
                                    .arg(path, out.errorString())));
}

} // namespace kovara::ui
