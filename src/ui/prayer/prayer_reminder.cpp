#include "ui/prayer/prayer_reminder.h"

#include "core/settings/ini_file.h"
#include "ui/base/daily_timer.h"
#include "ui/base/desktop_notifier.h"
#include "ui/base/error_guard.h"
#include "ui/base/shell.h"
#include "ui/base/text_codec.h"

#include <QCheckBox>
#include <QDialog>
#include <QHBoxLayout>
#include <QTimeEdit>

#include <algorithm>

namespace kovara::ui {

namespace {
// How many titles the notification names before "...".
constexpr std::size_t kTitlesShown = 3;
} // namespace

PrayerReminder::PrayerReminder(Shell& shell, std::function<QDBusConnection()> bus, QObject* parent)
    : QObject(parent), shell_(shell), notifier_(new DesktopNotifier(std::move(bus), this)),
      timer_(new DailyTimer(shell, this))
{
    connect(timer_, &DailyTimer::fired, this, [this] {
        try {
            remind();
        } catch (const std::exception&) {
            // A list that cannot be read now (a restore replacing the file)
            // waits for the next day rather than interrupting.
        }
    });
    connect(notifier_, &DesktopNotifier::clicked, this, [this](uint id) {
        if (shown_.count(id))
            emit openPrayTodayRequested();
    });
}

void PrayerReminder::setSettings(const PrayerReminderSettings& settings)
{
    settings_ = settings;
    timer_->setTime(settings_.enabled ? std::optional<int>(settings_.minuteOfDay) : std::nullopt);
}

std::optional<sys_seconds> PrayerReminder::nextTime() const
{
    return timer_->nextTime();
}

QString PrayerReminder::summaryText(int count)
{
    return tr("Time to pray: %n item(s) on today's list", nullptr, count);
}

QString PrayerReminder::bodyText(const std::vector<std::string>& titles)
{
    QStringList shown;
    for (std::size_t i = 0; i < std::min(titles.size(), kTitlesShown); ++i)
        shown << fromBytes(titles[i]);
    QString body = shown.join(QStringLiteral(", "));
    if (titles.size() > kTitlesShown)
        body = tr("%1, ...").arg(body);
    return body;
}

int PrayerReminder::remind()
{
    const sys_days today = shell_.clock().today();
    if (remindedOn_ == today)
        return 0;
    const std::vector<std::string> titles = core::prayersToRemind(shell_.prayerStore(), today);
    if (titles.empty())
        return 0;
    remindedOn_ = today;
    const QString summary = summaryText(static_cast<int>(titles.size()));
    const QString body = bodyText(titles);
    notifier_->send(
        summary, body, tr("Pray now"), summary + QStringLiteral(" \u2013 ") + body,
        [this](uint id) {
            shown_.insert(id);
            emit notificationShown(id);
        },
        [this](const QString& text) { emit reminderNotShown(text); });
    return static_cast<int>(titles.size());
}

PrayerReminderPanel::PrayerReminderPanel(QWidget* parent) : QGroupBox(tr("Daily Prayer Reminder"), parent)
{
    setObjectName(QStringLiteral("prayerReminderGroup"));
    remindCheck_ = new QCheckBox(tr("Remind me to pra&y at"), this);
    remindCheck_->setObjectName(QStringLiteral("prayerRemindCheck"));
    timeEdit_ = new QTimeEdit(this);
    timeEdit_->setObjectName(QStringLiteral("prayerReminderTimeEdit"));
    timeEdit_->setDisplayFormat(QStringLiteral("HH:mm"));
    timeEdit_->setAccessibleName(tr("Prayer reminder time"));
    auto* row = new QHBoxLayout(this);
    row->addWidget(remindCheck_);
    row->addWidget(timeEdit_);
    row->addStretch();
    connect(remindCheck_, &QCheckBox::toggled, timeEdit_, &QWidget::setEnabled);
    timeEdit_->setEnabled(false);
}

void PrayerReminderPanel::load(const PrayerReminderSettings& settings)
{
    remindCheck_->setChecked(settings.enabled);
    timeEdit_->setEnabled(settings.enabled);
    timeEdit_->setTime(QTime(settings.minuteOfDay / 60, settings.minuteOfDay % 60));
}

PrayerReminderSettings PrayerReminderPanel::settings() const
{
    const QTime time = timeEdit_->time();
    return {remindCheck_->isChecked(), time.hour() * 60 + time.minute()};
}

PrayerReminderPanel* makePrayerReminderSection(QDialog& dialog, PrayerReminder& reminder, Shell& shell,
                                               IniFile& settings)
{
    auto* panel = new PrayerReminderPanel(&dialog);
    panel->load(reminder.settings());
    QObject::connect(&dialog, &QDialog::accepted, panel, [panel, &reminder, &shell, &settings] {
        runGuarded(shell.dialogs(), [&] {
            const PrayerReminderSettings chosen = panel->settings();
            chosen.write(settings);
            reminder.setSettings(chosen);
        });
    });
    return panel;
}

} // namespace kovara::ui
