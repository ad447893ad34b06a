#include "ui/app/single_instance.h"
#include "ui/base/core_names.h"

#include "fixtures.h"

#include <QApplication>
#include <QDateTime>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSignalSpy>
#include <QWidget>
#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <functional>
#include <fcntl.h>
#include <sched.h>
#include <sys/file.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace kovara::ui {
namespace {

using namespace std::chrono_literals;
using Claimed = SingleInstance::Claimed;

QString folderOf(const test::TempDir& dir)
{
    return QString::fromStdString(dir.folder());
}

// The process id of a child that has already ended and been reaped.
qint64 endedProcessId()
{
    const pid_t child = ::fork();
    if (child == 0)
        ::_exit(0);
    ::waitpid(child, nullptr, 0);
    return child;
}

void writeFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(bytes);
}

// A lock file as a copy killed while running leaves it: naming a process
// that has ended.
void leaveLockOfEndedProcess(const QString& lockFile)
{
    writeFile(lockFile, QByteArray::number(endedProcessId()) + '\n');
}

// A lock file with no owner in it, made some time ago (a copy killed between
// making the file and writing into it).
void leaveEmptyOldLock(const QString& lockFile)
{
    writeFile(lockFile, QByteArray());
    QFile file(lockFile);
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    ASSERT_TRUE(file.setFileTime(QDateTime::currentDateTime().addSecs(-60), QFileDevice::FileModificationTime));
}

// A process that took the lock and died holding it, as a killed copy does.
void leaveLockOfKilledHolder(const QString& lockFile)
{
    const QByteArray path = QFile::encodeName(lockFile);
    const pid_t child = ::fork();
    if (child == 0) {
        const int fd = ::open(path.constData(), O_RDWR | O_CREAT, 0600);
        ::_exit(fd >= 0 && ::flock(fd, LOCK_EX) == 0 ? 0 : 1);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
}

TEST(SingleInstanceTest, ALaterStartOnTheSameFolderBringsTheFirstForward)
{
    test::TempDir dir;
    auto first = std::make_unique<SingleInstance>(folderOf(dir));
    ASSERT_EQ(first->claim(), Claimed::First);
    EXPECT_TRUE(QFile::exists(folderOf(dir) + QStringLiteral("kovara.lock")));

    QWidget window;
    window.setWindowState(Qt::WindowMinimized);
    first->raiseOnRequest(&window);
    QSignalSpy requests(first.get(), &SingleInstance::activationRequested);
    QSignalSpy references(first.get(), &SingleInstance::referenceRequested);

    // Started through another spelling of the same folder.
    SingleInstance second(folderOf(dir) + QStringLiteral("./"));
    const auto started = std::chrono::steady_clock::now();
    EXPECT_EQ(second.claim(), Claimed::HandedOver);
    EXPECT_LT(std::chrono::steady_clock::now() - started, 1s);
    ASSERT_TRUE(requests.wait(5000));
    EXPECT_EQ(requests.count(), 1);
    EXPECT_TRUE(window.isVisible());
    EXPECT_FALSE(window.isMinimized());
    EXPECT_EQ(references.count(), 0) << "a start without a reference hands none over";

    // A start with a reference hands it over whole, in any script.
    for (const QString& reference : {QStringLiteral("John 3:16"), QStringLiteral("Römer 8:28")}) {
        SingleInstance withReference(folderOf(dir));
        EXPECT_EQ(withReference.claim(5s, reference), Claimed::HandedOver);
        ASSERT_TRUE(references.wait(5000));
        EXPECT_EQ(references.takeFirst().at(0).toString(), reference);
    }
    requests.clear();

    // A question open over the window stays the active window.
    QDialog question(&window);
    question.setModal(true);
    question.show();
    window.activateWindow();
    SingleInstance fourth(folderOf(dir));
    EXPECT_EQ(fourth.claim(), Claimed::HandedOver);
    ASSERT_TRUE(requests.wait(5000));
    QCoreApplication::processEvents();
    EXPECT_EQ(QApplication::activeWindow(), &question);
    question.hide();

    // Once the first has ended, the next start is the one copy again.
    first.reset();
    EXPECT_FALSE(QFile::exists(folderOf(dir) + QStringLiteral("kovara.lock")));
    SingleInstance third(folderOf(dir));
    EXPECT_EQ(third.claim(), Claimed::First);
}

TEST(SingleInstanceTest, WhatAKilledCopyLeftBehindDoesNotBlockAStart)
{
    const struct {
        const char* left;
        std::function<void(const SingleInstance&)> leave;
    } cases[] = {
        {"lock naming an ended process", [](const SingleInstance& s) { leaveLockOfEndedProcess(s.lockFileName()); }},
        {"empty lock made a minute ago", [](const SingleInstance& s) { leaveEmptyOldLock(s.lockFileName()); }},
        {"lock held by a process that died", [](const SingleInstance& s) { leaveLockOfKilledHolder(s.lockFileName()); }},
        {"lock naming a process on another host",
         [](const SingleInstance& s) { writeFile(s.lockFileName(), "4242\nKovara\nanother-host\n"); }},
        {"a folder by the lock's name", [](const SingleInstance& s) { QDir().mkpath(s.lockFileName()); }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.left);
        test::TempDir dir;
        SingleInstance first(folderOf(dir));
        c.leave(first);
        ASSERT_TRUE(QFile::exists(first.lockFileName()));
        ASSERT_EQ(first.claim(1s), Claimed::First);

        // It answers later starts.
        QSignalSpy requests(&first, &SingleInstance::activationRequested);
        SingleInstance second(folderOf(dir));
        EXPECT_EQ(second.claim(1s), Claimed::HandedOver);
        EXPECT_TRUE(requests.wait(5000));
    }
}

// A link by the lock's name is not written through: whatever it points at
// stays as it was.
TEST(SingleInstanceTest, ALinkByTheLocksNameIsReplacedNotWrittenThrough)
{
    test::TempDir dir;
    const QString other = QString::fromStdString(dir.file("precious.txt"));
    writeFile(other, "keep me\n");
    SingleInstance first(folderOf(dir));
    ASSERT_TRUE(QFile::link(other, first.lockFileName()));
    ASSERT_EQ(first.claim(1s), Claimed::First);
    EXPECT_FALSE(QFileInfo(first.lockFileName()).isSymLink());
    QFile kept(other);
    ASSERT_TRUE(kept.open(QIODevice::ReadOnly));
    EXPECT_EQ(kept.readAll(), "keep me\n");
}

// A read-only data folder with a stale lock in it: the start says why it
// cannot go on instead of waiting for a copy that is not there. The folder is
// made read-only in a child process: a read-only mount of its own when run
// as root (who may write anyway), else by its permissions.
TEST(SingleInstanceTest, AReadOnlyFolderWithAStaleLockIsReportedAtOnce)
{
    test::TempDir dir;
    SingleInstance probe(folderOf(dir));
    leaveLockOfEndedProcess(probe.lockFileName());
    const QByteArray folder = QFile::encodeName(folderOf(dir));
    const pid_t child = ::fork();
    if (child == 0) {
        if (::geteuid() == 0) {
            if (::unshare(CLONE_NEWNS) != 0 || ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0 ||
                ::mount(folder.constData(), folder.constData(), nullptr, MS_BIND, nullptr) != 0 ||
                ::mount(nullptr, folder.constData(), nullptr, MS_REMOUNT | MS_BIND | MS_RDONLY, nullptr) != 0)
                ::_exit(77);
        } else if (::chmod(folder.constData(), 0555) != 0) {
            ::_exit(77);
        }
        SingleInstance start(folderOf(dir));
        ::_exit(static_cast<int>(start.claim(3s)));
    }
    const auto started = std::chrono::steady_clock::now();
    int status = 0;
    ::waitpid(child, &status, 0);
    ::chmod(folder.constData(), 0755);
    ASSERT_TRUE(WIFEXITED(status));
    if (WEXITSTATUS(status) == 77)
        GTEST_SKIP() << "no read-only folder can be made here";
    EXPECT_EQ(static_cast<Claimed>(WEXITSTATUS(status)), Claimed::ReadOnly);
    EXPECT_LT(std::chrono::steady_clock::now() - started, 1s);
    const QString message = probe.message(Claimed::ReadOnly);
    EXPECT_TRUE(message.contains(QStringLiteral("read-only"))) << message.toStdString();
    EXPECT_TRUE(message.contains(QDir::toNativeSeparators(QDir::cleanPath(folderOf(dir))))) << message.toStdString();
}

TEST(SingleInstanceTest, AHeldLockWithNobodyAnsweringIsWaitedForThenGivenUp)
{
    test::TempDir dir;
    {
        // The running copy no longer answers (its window has closed) but
        // still holds the lock while it closes its stores.
        SingleInstance first(folderOf(dir));
        ASSERT_EQ(first.claim(), Claimed::First);
        first.stopListening();
        SingleInstance second(folderOf(dir));
        const auto started = std::chrono::steady_clock::now();
        EXPECT_EQ(second.claim(300ms), Claimed::Unreachable);
        EXPECT_GE(std::chrono::steady_clock::now() - started, 300ms);
        EXPECT_TRUE(QFile::exists(first.lockFileName()));
        // The start that gives up says who holds the folder and what to do.
        const QString message = second.message(Claimed::Unreachable);
        EXPECT_TRUE(message.contains(QStringLiteral("process %1 on ").arg(::getpid()))) << message.toStdString();
        EXPECT_TRUE(message.contains(QStringLiteral("Close that copy"))) << message.toStdString();
    }
    {
        // The lock comes free while a later start waits: that start runs.
        SingleInstance later(folderOf(dir));
        const int holder = ::open(QFile::encodeName(later.lockFileName()).constData(), O_RDWR | O_CREAT, 0600);
        ASSERT_GE(holder, 0);
        ASSERT_EQ(::flock(holder, LOCK_EX | LOCK_NB), 0);
        std::thread release([holder] {
            std::this_thread::sleep_for(300ms);
            ::close(holder);
        });
        EXPECT_EQ(later.claim(10s), Claimed::First);
        release.join();
    }
}

TEST(SingleInstanceTest, EachFolderHasItsOwnCopy)
{
    test::TempDir a, b;
    EXPECT_EQ(SingleInstance::serverNameFor(folderOf(a)),
              SingleInstance::serverNameFor(QString::fromStdString(a.path().string())));
    EXPECT_NE(SingleInstance::serverNameFor(folderOf(a)), SingleInstance::serverNameFor(folderOf(b)));

    SingleInstance inA(folderOf(a));
    SingleInstance inB(folderOf(b));
    EXPECT_EQ(inA.claim(), Claimed::First);
    EXPECT_EQ(inB.claim(), Claimed::First);
}

} // namespace
} // namespace kovara::ui
