#include "ui/plans/reminder_notifier.h"

#include "core/base/datetime.h"
#include "core/content/bible_store.h"
#include "core/plans/plan_store.h"
#include "ui/base/shell.h"
#include "ui/base/text_codec.h"

#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QTimer>
#include <QVariantMap>

#include <algorithm>
#include <cmath>

namespace kovara::ui {

namespace {

const char* const kService = "org.freedesktop.Notifications";
const char* const kPath = "/org/freedesktop/Notifications";
const char* const kInterface = "org.freedesktop.Notifications";

} // namespace

ReminderNotifier::ReminderNotifier(Shell& shell, std::function<QDBusConnection()> bus, QObject* parent)
    : QObject(parent), shell_(shell), busSource_(std::move(bus)), timer_(new QTimer(this))
{
    timer_->setSingleShot(true);
    connect(timer_, &QTimer::timeout, this, [this] {
        // The reminder time this firing is for: the timer may fire a few
        // milliseconds before it, while the clock, to the second, still reads
        // the second before.
        const std::optional<sys_seconds> handled = next_;
        try {
            remind();
        } catch (const std::exception&) {
            // A reminder that cannot be worked out (the store being replaced
            // by a restore) waits for the next day rather than interrupting.
        }
        schedule(handled);
    });
}

QDBusConnection& ReminderNotifier::bus()
{
    if (!bus_) {
        bus_ = busSource_();
        // Clicks on the notifications come back as this signal.
        if (bus_->isConnected())
            bus_->connect(QString(), QString::fromLatin1(kPath), QString::fromLatin1(kInterface),
                          QStringLiteral("ActionInvoked"), this, SLOT(onActionInvoked(uint, QString)));
    }
    return *bus_;
}

void ReminderNotifier::setSettings(const ReminderSettings& settings)
{
    settings_ = settings;
    schedule();
}

void ReminderNotifier::schedule(std::optional<sys_seconds> handled)
{
    timer_->stop();
    next_.reset();
    if (!settings_.enabled)
        return;
    const sys_seconds now = shell_.clock().now();
    next_ = nextReminderTime(handled ? std::max(now, *handled) : now, settings_.minuteOfDay);
    const std::chrono::milliseconds wait = std::clamp<std::chrono::milliseconds>(
        *next_ - now, std::chrono::milliseconds(0), std::chrono::days(2));
    timer_->start(static_cast<int>(wait.count()));
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
        const QString text = summary + QStringLiteral(" \u2013 ") + body;
        if (!bus().isConnected()) {
            notShown(text);
            continue;
        }
        QDBusMessage call = QDBusMessage::createMethodCall(QString::fromLatin1(kService), QString::fromLatin1(kPath),
                                                           QString::fromLatin1(kInterface), QStringLiteral("Notify"));
        call << QStringLiteral("Kovara") << uint(0) << QStringLiteral("org.example.Kovara") << summary << body
             << QStringList{QStringLiteral("default"), tr("Read now")} << QVariantMap() << int(-1);
        // Asked without waiting: a service that is slow to start (or to
        // answer) never holds up the window; its answer or its failure comes
        // back through the watcher.
        auto* watcher = new QDBusPendingCallWatcher(bus().asyncCall(call), this);
        const PlanId plan = reading.plan;
        connect(watcher, &QDBusPendingCallWatcher::finished, this, [this, watcher, plan, text, notShown] {
            watcher->deleteLater();
            const QDBusMessage reply = watcher->reply();
            if (reply.type() == QDBusMessage::ReplyMessage && !reply.arguments().isEmpty()) {
                const uint id = reply.arguments().first().toUInt();
                shown_[id] = plan;
                emit notificationShown(id);
            } else {
                notShown(text);
            }
        });
    }
    return static_cast<int>(due.size());
}

void ReminderNotifier::onActionInvoked(uint id, const QString& key)
{
    Q_UNUSED(key);
    const auto it = shown_.find(id);
    if (it == shown_.end())
        return;
    try {
        if (shell_.planStore().indexOf(it->second))
            emit openPlanRequested(it->second);
    } catch (const std::exception&) {
        // The plan is gone or the store is being replaced: nothing to open.
    }
}

} // namespace kovara::ui
