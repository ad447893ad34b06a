#include "ui/base/desktop_notifier.h"

#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QStringList>
#include <QVariantMap>

namespace kovara::ui {

namespace {

const char* const kService = "org.freedesktop.Notifications";
const char* const kPath = "/org/freedesktop/Notifications";
const char* const kInterface = "org.freedesktop.Notifications";

} // namespace

DesktopNotifier::DesktopNotifier(std::function<QDBusConnection()> bus, QObject* parent)
    : QObject(parent), busSource_(std::move(bus))
{
}

QDBusConnection& DesktopNotifier::bus()
{
    if (!bus_) {
        bus_ = busSource_();
        if (bus_->isConnected())
            bus_->connect(QString(), QString::fromLatin1(kPath), QString::fromLatin1(kInterface),
                          QStringLiteral("ActionInvoked"), this, SLOT(onActionInvoked(uint, QString)));
    }
    return *bus_;
}

void DesktopNotifier::send(const QString& summary, const QString& body, const QString& actionLabel,
                           const QString& fallbackText, std::function<void(uint)> shown,
                           std::function<void(const QString&)> notShown)
{
    if (!bus().isConnected()) {
        notShown(fallbackText);
        return;
    }
    QDBusMessage call = QDBusMessage::createMethodCall(QString::fromLatin1(kService), QString::fromLatin1(kPath),
                                                       QString::fromLatin1(kInterface), QStringLiteral("Notify"));
    call << QStringLiteral("Kovara") << uint(0) << QStringLiteral("org.example.Kovara") << summary << body
         << QStringList{QStringLiteral("default"), actionLabel} << QVariantMap() << int(-1);
    // A service slow to start or to answer never holds up the window.
    auto* watcher = new QDBusPendingCallWatcher(bus().asyncCall(call), this);
    connect(watcher, &QDBusPendingCallWatcher::finished, this,
            [watcher, fallbackText, shown = std::move(shown), notShown = std::move(notShown)] {
                watcher->deleteLater();
                const QDBusMessage reply = watcher->reply();
                if (reply.type() == QDBusMessage::ReplyMessage && !reply.arguments().isEmpty())
                    shown(reply.arguments().first().toUInt());
                else
                    notShown(fallbackText);
            });
}

void DesktopNotifier::onActionInvoked(uint id, const QString& key)
{
    Q_UNUSED(key);
    emit clicked(id);
}

} // namespace kovara::ui
