#include "ui/app/single_instance.h"
#include "ui/base/core_names.h"

#include <QApplication>
#include <QCryptographicHash>
#include <QDateTime>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QThread>
#include <QWidget>

namespace kovara::ui {

namespace {

constexpr char kRequest[] = "activate\n";
constexpr int kRequestSize = sizeof(kRequest) - 1;
// Pause between two tries while the lock is held by a copy that cannot be
// reached yet.
constexpr int kRetryPauseMs = 50;
// A lock file whose owner cannot be read is taken for abandoned once it is
// this old: a copy that makes the lock file writes its owner at once.
constexpr qint64 kUnreadableLockAgeMs = 2000;

QString folder(const QString& userDataFolder)
{
    QString folder = QDir::cleanPath(userDataFolder);
    const QString canonical = QFileInfo(folder).canonicalFilePath();
    return canonical.isEmpty() ? QDir(folder).absolutePath() : canonical;
}

// True for a lock file that names no owner (a copy killed between making the
// file and writing into it) and is old enough not to be one being made now.
bool isUnreadableAndOld(const QLockFile& lock, const QString& fileName)
{
    qint64 pid = 0;
    QString host, app;
    if (lock.getLockInfo(&pid, &host, &app))
        return false;
    const QFileInfo info(fileName);
    if (!info.exists())
        return false;
    const qint64 age = info.lastModified().msecsTo(QDateTime::currentDateTime());
    return age > kUnreadableLockAgeMs;
}

} // namespace

SingleInstance::SingleInstance(const QString& userDataFolder, QObject* parent)
    : QObject(parent),
      lockFileName_(folder(userDataFolder) + QStringLiteral("/kovara.lock")),
      serverName_(serverNameFor(userDataFolder)),
      lock_(lockFileName_)
{
    // The lock is never judged by its age: it is held for as long as the
    // program runs. A lock whose process no longer runs is still taken over.
    lock_.setStaleLockTime(0);
}

SingleInstance::~SingleInstance()
{
    // The socket goes before the lock: the next copy to hold the lock makes
    // its own socket under the same name.
    stopListening();
}

QString SingleInstance::serverNameFor(const QString& userDataFolder)
{
    const QByteArray hash =
        QCryptographicHash::hash(folder(userDataFolder).toUtf8(), QCryptographicHash::Sha256).toHex();
    return QStringLiteral("kovara-") + QString::fromLatin1(hash.left(32));
}

SingleInstance::Claimed SingleInstance::claim(std::chrono::milliseconds patience)
{
    QElapsedTimer timer;
    timer.start();
    for (;;) {
        if (lock_.tryLock(0)) {
            listen();
            return Claimed::First;
        }
        const bool held = lock_.error() == QLockFile::LockFailedError;
        if (askRunningCopy())
            return Claimed::HandedOver;
        if (!held)
            return Claimed::Unguarded;
        if (isUnreadableAndOld(lock_, lockFileName_) && lock_.removeStaleLockFile())
            continue;
        if (timer.elapsed() >= patience.count())
            return Claimed::Unreachable;
        QThread::msleep(kRetryPauseMs);
    }
}

void SingleInstance::listen()
{
    server_ = new QLocalServer(this);
    server_->setSocketOptions(QLocalServer::UserAccessOption);
    // Only the lock holder gets here, so a socket of that name can only be
    // one left by a copy that was killed.
    QLocalServer::removeServer(serverName_);
    if (!server_->listen(serverName_)) {
        // The program still runs as the one copy; later starts wait for the
        // lock and then end with a message instead of coming forward.
        qWarning("Kovara: cannot listen on \"%s\": %s", qPrintable(serverName_),
                 qPrintable(server_->errorString()));
        delete server_;
        server_ = nullptr;
        return;
    }
    connect(server_, &QLocalServer::newConnection, this, &SingleInstance::onNewConnection);
}

void SingleInstance::stopListening()
{
    delete server_;
    server_ = nullptr;
}

void SingleInstance::onNewConnection()
{
    while (QLocalSocket* socket = server_->nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        const auto read = [this, socket] {
            if (socket->bytesAvailable() < kRequestSize)
                return;
            const bool request = socket->read(kRequestSize) == kRequest;
            socket->disconnectFromServer();
            if (request)
                emit activationRequested();
        };
        connect(socket, &QLocalSocket::readyRead, this, read);
        read();
    }
}

bool SingleInstance::askRunningCopy()
{
    QLocalSocket socket;
    socket.connectToServer(serverName_);
    if (!socket.waitForConnected(500))
        return false;
    if (socket.write(kRequest, kRequestSize) != kRequestSize)
        return false;
    while (socket.bytesToWrite() > 0)
        if (!socket.waitForBytesWritten(1000))
            return false;
    socket.disconnectFromServer();
    return true;
}

void SingleInstance::raiseOnRequest(QWidget* window)
{
    connect(this, &SingleInstance::activationRequested, window, [window] { bringForward(window); });
}

void SingleInstance::bringForward(QWidget* window)
{
    window->setWindowState((window->windowState() & ~Qt::WindowMinimized) | Qt::WindowActive);
    window->show();
    window->raise();
    window->activateWindow();
    // A question the window is waiting on stays in front of it.
    if (QWidget* modal = QApplication::activeModalWidget(); modal && modal != window) {
        modal->raise();
        modal->activateWindow();
    }
}

} // namespace kovara::ui
