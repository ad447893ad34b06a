#pragma once
// What the reminder tests share: a session bus of the test's own and a
// notification service living in the test, recording what it was asked to
// show.
#include <QCoreApplication>
#include <QDBusConnection>
#include <QElapsedTimer>
#include <QMutex>
#include <QObject>
#include <QProcess>
#include <QStringList>
#include <QVariantMap>

namespace kovara::ui::test {

// A session bus of the test's own, a child process ended (and waited for)
// with the test.
class TestSessionBus {
public:
    TestSessionBus()
    {
        daemon.start(QStringLiteral("dbus-daemon"),
                     {QStringLiteral("--session"), QStringLiteral("--nofork"), QStringLiteral("--print-address=1")});
        if (daemon.waitForStarted(5000) && daemon.waitForReadyRead(5000))
            address = QString::fromUtf8(daemon.readLine()).trimmed();
    }
    ~TestSessionBus()
    {
        daemon.terminate();
        if (!daemon.waitForFinished(3000)) {
            daemon.kill();
            daemon.waitForFinished(3000);
        }
    }
    QProcess daemon;
    QString address;
};

// The notification service's one method the reminders use; every
// notification gets the id 7.
class FakeNotifications : public QObject {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.Notifications")
public:
    QStringList received() const
    {
        QMutexLocker lock(&mutex_);
        return received_;
    }

public slots:
    uint Notify(const QString& app, uint, const QString&, const QString& summary, const QString& body,
                const QStringList& actions, const QVariantMap&, int)
    {
        QMutexLocker lock(&mutex_);
        received_ << app + "|" + summary + "|" + body + "|" + actions.join(",");
        return 7;
    }

private:
    mutable QMutex mutex_;
    QStringList received_;
};

// Runs events until done() holds or five seconds passed; returns done().
template <typename Done>
bool waitFor(Done&& done)
{
    QElapsedTimer timer;
    timer.start();
    while (!done() && timer.elapsed() < 5000)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    return done();
}

} // namespace kovara::ui::test
