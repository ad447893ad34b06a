#include "ui/app/single_instance.h"
#include "ui/base/core_names.h"

#include <QApplication>
#include <QCryptographicHash>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QSocketNotifier>
#include <QThread>
#include <QWidget>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <string>
#include <sys/file.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/un.h>
#include <unistd.h>

namespace kovara::ui {

namespace {

// A later start sends this, then what it was started with (a reference to
// open, UTF-8, possibly nothing), and closes its end: the request is whole
// when the connection reads as closed.
constexpr char kRequest[] = "activate\n";
constexpr int kRequestSize = sizeof(kRequest) - 1;
// A request longer than this is cut here: a reference is a line of text.
constexpr int kMaxRequestSize = 4096;
// Pause between two tries while the lock is held by a copy that cannot be
// reached yet.
constexpr int kRetryPauseMs = 50;

QString folder(const QString& userDataFolder)
{
    QString folder = QDir::cleanPath(userDataFolder);
    const QString canonical = QFileInfo(folder).canonicalFilePath();
    return canonical.isEmpty() ? QDir(folder).absolutePath() : canonical;
}

// The address of name in the abstract namespace (a leading NUL byte, no file).
socklen_t abstractAddress(const QString& name, sockaddr_un& address)
{
    std::memset(&address, 0, sizeof address);
    address.sun_family = AF_UNIX;
    const QByteArray bytes = name.toUtf8().left(static_cast<int>(sizeof address.sun_path) - 1);
    std::memcpy(address.sun_path + 1, bytes.constData(), static_cast<size_t>(bytes.size()));
    return static_cast<socklen_t>(offsetof(sockaddr_un, sun_path) + 1 + bytes.size());
}

// True when fd still is the file at path: a copy that ends removes its lock
// file, and a start that opened the file just before then holds a lock on a
// file nobody else will see.
bool isStillNamed(int fd, const QByteArray& path)
{
    struct stat open {}, named {};
    return ::fstat(fd, &open) == 0 && ::stat(path.constData(), &named) == 0 && open.st_dev == named.st_dev &&
           open.st_ino == named.st_ino;
}

} // namespace

SingleInstance::SingleInstance(const QString& userDataFolder, QObject* parent)
    : QObject(parent),
      folder_(folder(userDataFolder)),
      lockFileName_(folder_ + QStringLiteral("/kovara.lock")),
      serverName_(serverNameFor(userDataFolder))
{
}

SingleInstance::~SingleInstance()
{
    // The socket goes before the lock: the next copy to hold the lock makes
    // its own socket under the same name.
    stopListening();
    unlock();
}

QString SingleInstance::serverNameFor(const QString& userDataFolder)
{
    const QByteArray hash =
        QCryptographicHash::hash(folder(userDataFolder).toUtf8(), QCryptographicHash::Sha256).toHex();
    return QStringLiteral("kovara-") + QString::fromLatin1(hash.left(32));
}

bool SingleInstance::tryLock()
{
    const QByteArray path = QFile::encodeName(lockFileName_);
    for (int attempt = 0; attempt < 100; ++attempt) {
        int fd = ::open(path.constData(), O_RDWR | O_CREAT | O_CLOEXEC | O_NOFOLLOW, 0600);
        // A lock file that cannot be written can still be locked; a folder
        // of that name can be too.
        if (fd < 0 && errno != ELOOP)
            fd = ::open(path.constData(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW);
        if (fd < 0 && errno == ELOOP) {
            // A symbolic link: written through, it would change whatever it
            // points at. The name is ours; the link goes.
            ::unlink(path.constData());
            continue;
        }
        if (fd < 0) {
            unguarded_ = true;
            return false;
        }
        unguarded_ = false;
        if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
            // Held by a running copy, or a file system that has no locks:
            // waiting would not help with the latter.
            unguarded_ = errno != EWOULDBLOCK && errno != EINTR;
            ::close(fd);
            return false;
        }
        if (!isStillNamed(fd, path)) {
            ::close(fd); // removed by the copy that just ended: take the new one
            continue;
        }
        // The owner, for the message of a start that cannot reach it.
        char host[256] = {};
        ::gethostname(host, sizeof host - 1);
        const std::string owner = std::to_string(::getpid()) + "\n" + host + "\n";
        if (::ftruncate(fd, 0) == 0)
            [[maybe_unused]] const auto written = ::write(fd, owner.data(), owner.size());
        lockFd_ = fd;
        return true;
    }
    unguarded_ = true;
    return false;
}

QString SingleInstance::holder() const
{
    QFile file(lockFileName_);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const QList<QByteArray> lines = file.read(512).split('\n');
    bool isNumber = false;
    const qint64 pid = lines.value(0).trimmed().toLongLong(&isNumber);
    if (!isNumber)
        return {};
    const QString host = QString::fromUtf8(lines.value(1).trimmed());
    return host.isEmpty() ? tr("process %1").arg(pid) : tr("process %1 on %2").arg(pid).arg(host);
}

QString SingleInstance::message(Claimed how) const
{
    const QString folder = QDir::toNativeSeparators(folder_);
    switch (how) {
    case Claimed::First:
    case Claimed::HandedOver:
        break;
    case Claimed::ReadOnly:
        return tr("Kovara cannot start: its data folder \"%1\" is read-only, so nothing you do could be saved.\n\n"
                  "Make the folder writable and start Kovara again.")
            .arg(folder);
    case Claimed::Unreachable: {
        const QString who = holder();
        return tr("Another copy of Kovara (%1) is using the data folder \"%2\" but does not answer.\n\n"
                  "Close that copy, or end it if it no longer responds, and start Kovara again. If it runs on "
                  "another computer that shares this folder, close it there.")
            .arg(who.isEmpty() ? tr("unknown process") : who, folder);
    }
    case Claimed::Unguarded:
        return tr("Kovara cannot make its lock \"%1\", so it cannot tell whether another copy uses the same "
                  "data. Kovara starts without that check: do not start a second copy.")
            .arg(QDir::toNativeSeparators(lockFileName_));
    }
    return {};
}

void SingleInstance::unlock()
{
    if (lockFd_ < 0)
        return;
    // Removed while still locked, so no start takes a lock on it in between
    // (a start that opened it before checks that it is still named).
    ::unlink(QFile::encodeName(lockFileName_).constData());
    ::close(lockFd_);
    lockFd_ = -1;
}

SingleInstance::Claimed SingleInstance::claim(std::chrono::milliseconds patience, const QString& reference)
{
    // A folder that cannot be written cannot keep the reader's data, even
    // when a lock could be taken on a file already there.
    if (::access(QFile::encodeName(folder_).constData(), W_OK) != 0 && (errno == EROFS || errno == EACCES))
        return Claimed::ReadOnly;
    QElapsedTimer timer;
    timer.start();
    for (;;) {
        if (tryLock()) {
            listen();
            return Claimed::First;
        }
        if (askRunningCopy(reference))
            return Claimed::HandedOver;
        if (unguarded_)
            return Claimed::Unguarded;
        if (timer.elapsed() >= patience.count())
            return Claimed::Unreachable;
        QThread::msleep(kRetryPauseMs);
    }
}

void SingleInstance::listen()
{
    sockaddr_un address;
    const socklen_t length = abstractAddress(serverName_, address);
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
    // Only the lock holder gets here, and the kernel frees an abstract name
    // with its socket, so the name is free unless something else took it.
    if (fd < 0 || ::bind(fd, reinterpret_cast<sockaddr*>(&address), length) != 0 || ::listen(fd, 8) != 0) {
        // The program still runs as the one copy; later starts wait for the
        // lock and then end with a message instead of coming forward.
        qWarning("Kovara: cannot listen on \"%s\": %s", qPrintable(serverName_), std::strerror(errno));
        if (fd >= 0)
            ::close(fd);
        return;
    }
    serverFd_ = fd;
    server_ = new QSocketNotifier(fd, QSocketNotifier::Read, this);
    connect(server_, &QSocketNotifier::activated, this, &SingleInstance::onNewConnection);
}

void SingleInstance::stopListening()
{
    delete server_;
    server_ = nullptr;
    if (serverFd_ >= 0)
        ::close(serverFd_);
    serverFd_ = -1;
}

void SingleInstance::onNewConnection()
{
    for (;;) {
        const int socket = ::accept4(serverFd_, nullptr, nullptr, SOCK_NONBLOCK | SOCK_CLOEXEC);
        if (socket < 0)
            return;
        // The request may come after the connection: read it when it does.
        auto* notifier = new QSocketNotifier(socket, QSocketNotifier::Read, this);
        connect(notifier, &QSocketNotifier::activated, this,
                [this, socket, notifier] { readRequest(socket, notifier); });
        readRequest(socket, notifier);
    }
}

void SingleInstance::readRequest(int socket, QSocketNotifier* notifier)
{
    QByteArray& request = pending_[socket];
    bool whole = false;
    for (;;) {
        char buffer[512];
        const ssize_t got = ::recv(socket, buffer, sizeof buffer, 0);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0 && (errno == EAGAIN || errno == EWOULDBLOCK))
            return; // the rest is still on its way
        if (got > 0)
            request.append(buffer, static_cast<qsizetype>(got));
        // Closed by the sender (the whole request), a failed connection, or
        // more than any request holds.
        if (got <= 0 || request.size() >= kMaxRequestSize) {
            whole = got == 0 || request.size() >= kMaxRequestSize;
            break;
        }
    }
    const QByteArray received = pending_.take(socket);
    notifier->setEnabled(false);
    notifier->deleteLater();
    ::close(socket);
    if (!whole || !received.startsWith(QByteArray(kRequest, kRequestSize)))
        return;
    emit activationRequested();
    const QString reference = QString::fromUtf8(received.mid(kRequestSize).left(kMaxRequestSize)).trimmed();
    if (!reference.isEmpty())
        emit referenceRequested(reference);
}

bool SingleInstance::askRunningCopy(const QString& reference)
{
    sockaddr_un address;
    const socklen_t length = abstractAddress(serverName_, address);
    const int fd = ::socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
    if (fd < 0)
        return false;
    const QByteArray request = QByteArray(kRequest, kRequestSize) + reference.toUtf8().left(kMaxRequestSize - kRequestSize);
    // A connection to a name nobody listens on is refused at once.
    bool sent = ::connect(fd, reinterpret_cast<sockaddr*>(&address), length) == 0;
    for (qsizetype done = 0; sent && done < request.size();) {
        const ssize_t n = ::send(fd, request.constData() + done, static_cast<size_t>(request.size() - done), MSG_NOSIGNAL);
        if (n < 0 && errno == EINTR)
            continue;
        sent = n > 0;
        done += sent ? n : 0;
    }
    // Closing the sending side marks the end of the request.
    if (sent)
        ::shutdown(fd, SHUT_WR);
    ::close(fd);
    return sent;
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
