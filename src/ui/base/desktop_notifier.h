#pragma once
// Desktop notifications through the freedesktop notification service on the
// session bus, for the daily reminders: each one is sent without waiting for
// the service; its id comes back through shown, or its text through notShown
// where no service answers; a click on one comes back as clicked.
#include <QDBusConnection>
#include <QObject>
#include <QString>
#include <functional>
#include <optional>

namespace kovara::ui {

class DesktopNotifier : public QObject {
    Q_OBJECT
public:
    // bus gives the session bus; it is asked at the first notification, so a
    // program that never sends one does not connect to the bus at all.
    explicit DesktopNotifier(std::function<QDBusConnection()> bus, QObject* parent = nullptr);

    // Sends summary and body with one action, actionLabel, as the default.
    // shown(id) is called once the service showed it; notShown(fallbackText)
    // when it refused or no service is there (at once without a bus).
    void send(const QString& summary, const QString& body, const QString& actionLabel,
              const QString& fallbackText, std::function<void(uint)> shown, std::function<void(const QString&)> notShown);

signals:
    // The reader clicked notification id (any notification of the service:
    // the caller keeps its own ids).
    void clicked(uint id);

private slots:
    void onActionInvoked(uint id, const QString& key);

private:
    QDBusConnection& bus();

    std::function<QDBusConnection()> busSource_;
    std::optional<QDBusConnection> bus_;
};

} // namespace kovara::ui
