#include "ui/app/single_instance.h"

#include "fixtures.h"

#include <QApplication>
#include <QDateTime>
#include <QDialog>
#include <QDir>
#include <QFile>
#include <QLocalServer>
#include <QLockFile>
#include <QSignalSpy>
#include <QWidget>
#include <gtest/gtest.h>

#include <chrono>
#include <cstring>
#include <functional>
#include <sys/socket.h>
#include <sys/un.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

namespace kovara::ui {
namespace {

using namespace std::chrono_literals;
using Claimed = SingleInstance::Claimed;

QString FolderOf(const test::TempDir& dir)
{
    return QString::fromStdString(dir.Folder());
}

// The process id of a child that has already ended and been reaped.
qint64 EndedProcessId()
{
    const pid_t child = ::fork();
    if (child == 0)
        ::_exit(0);
    ::waitpid(child, nullptr, 0);
    return child;
}

void WriteFile(const QString& path, const QByteArray& bytes)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
    file.write(bytes);
}

// A lock file as a copy killed while running leaves it: written by QLockFile
// itself, then made to name a process that has ended.
void LeaveLockOfEndedProcess(const QString& lockFile)
{
    QByteArray contents;
    {
        QLockFile lock(lockFile);
        ASSERT_TRUE(lock.tryLock(0));
        QFile file(lockFile);
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        contents = file.readAll();
    }
    const qsizetype endOfPid = contents.indexOf('\n');
    ASSERT_GT(endOfPid, 0);
    WriteFile(lockFile, QByteArray::number(EndedProcessId()) + contents.mid(endOfPid));
}

// A lock file with no owner in it, made some time ago (a copy killed between
// making the file and writing into it).
void LeaveEmptyOldLock(const QString& lockFile)
{
    WriteFile(lockFile, QByteArray());
    QFile file(lockFile);
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    ASSERT_TRUE(file.setFileTime(QDateTime::currentDateTime().addSecs(-60), QFileDevice::FileModificationTime));
}

// The socket file of a server that was killed: bound, never unlinked, nobody
// listening.
void LeaveDeadSocket(const QString& serverName)
{
    const QString path = QDir::tempPath() + QLatin1Char('/') + serverName;
    const int fd = ::socket(AF_UNIX, SOCK_STREAM, 0);
    ASSERT_GE(fd, 0);
    sockaddr_un address{};
    address.sun_family = AF_UNIX;
    const QByteArray bytes = QFile::encodeName(path);
    ASSERT_LT(bytes.size(), qsizetype(sizeof(address.sun_path)));
    std::memcpy(address.sun_path, bytes.constData(), bytes.size());
    ASSERT_EQ(::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof(address)), 0);
    ::close(fd);
    ASSERT_TRUE(QFile::exists(path));
}

TEST(SingleInstanceTest, ALaterStartOnTheSameFolderBringsTheFirstForward)
{
    test::TempDir dir;
    auto first = std::make_unique<SingleInstance>(FolderOf(dir));
    ASSERT_EQ(first->Claim(), Claimed::First);
    EXPECT_TRUE(QFile::exists(FolderOf(dir) + QStringLiteral("kovara.lock")));

    QWidget window;
    window.setWindowState(Qt::WindowMinimized);
    first->RaiseOnRequest(&window);
    QSignalSpy requests(first.get(), &SingleInstance::activationRequested);

    // Started through another spelling of the same folder.
    SingleInstance second(FolderOf(dir) + QStringLiteral("./"));
    const auto started = std::chrono::steady_clock::now();
    EXPECT_EQ(second.Claim(), Claimed::HandedOver);
    EXPECT_LT(std::chrono::steady_clock::now() - started, 1s);
    ASSERT_TRUE(requests.wait(5000));
    EXPECT_EQ(requests.count(), 1);
    EXPECT_TRUE(window.isVisible());
    EXPECT_FALSE(window.isMinimized());

    // A question open over the window stays the active window.
    QDialog question(&window);
    question.setModal(true);
    question.show();
    window.activateWindow();
    SingleInstance fourth(FolderOf(dir));
    EXPECT_EQ(fourth.Claim(), Claimed::HandedOver);
    ASSERT_TRUE(requests.wait(5000));
    QCoreApplication::processEvents();
    EXPECT_EQ(QApplication::activeWindow(), &question);
    question.hide();

    // Once the first has ended, the next start is the one copy again.
    first.reset();
    EXPECT_FALSE(QFile::exists(FolderOf(dir) + QStringLiteral("kovara.lock")));
    SingleInstance third(FolderOf(dir));
    EXPECT_EQ(third.Claim(), Claimed::First);
}

TEST(SingleInstanceTest, WhatAKilledCopyLeftBehindDoesNotBlockAStart)
{
    const struct {
        const char* left;
        std::function<void(const SingleInstance&)> leave;
    } cases[] = {
        {"lock naming an ended process", [](const SingleInstance& s) { LeaveLockOfEndedProcess(s.LockFileName()); }},
        {"empty lock made a minute ago", [](const SingleInstance& s) { LeaveEmptyOldLock(s.LockFileName()); }},
        {"socket nobody listens on", [](const SingleInstance& s) {
             LeaveLockOfEndedProcess(s.LockFileName());
             LeaveDeadSocket(s.ServerName());
         }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.left);
        test::TempDir dir;
        SingleInstance first(FolderOf(dir));
        c.leave(first);
        ASSERT_TRUE(QFile::exists(first.LockFileName()));
        ASSERT_EQ(first.Claim(1s), Claimed::First);

        // It answers later starts.
        QSignalSpy requests(&first, &SingleInstance::activationRequested);
        SingleInstance second(FolderOf(dir));
        EXPECT_EQ(second.Claim(1s), Claimed::HandedOver);
        EXPECT_TRUE(requests.wait(5000));
    }
}

TEST(SingleInstanceTest, AHeldLockWithNobodyAnsweringIsWaitedForThenGivenUp)
{
    test::TempDir dir;
    {
        // The running copy no longer answers (its window has closed) but
        // still holds the lock while it closes its stores.
        SingleInstance first(FolderOf(dir));
        ASSERT_EQ(first.Claim(), Claimed::First);
        first.StopListening();
        SingleInstance second(FolderOf(dir));
        const auto started = std::chrono::steady_clock::now();
        EXPECT_EQ(second.Claim(300ms), Claimed::Unreachable);
        EXPECT_GE(std::chrono::steady_clock::now() - started, 300ms);
        EXPECT_TRUE(QFile::exists(first.LockFileName()));
    }
    {
        // The lock comes free while a later start waits: that start runs.
        SingleInstance later(FolderOf(dir));
        QLockFile holder(later.LockFileName());
        ASSERT_TRUE(holder.tryLock(0));
        std::thread release([&holder] {
            std::this_thread::sleep_for(300ms);
            holder.unlock();
        });
        EXPECT_EQ(later.Claim(10s), Claimed::First);
        release.join();
    }
}

TEST(SingleInstanceTest, EachFolderHasItsOwnCopy)
{
    test::TempDir a, b;
    EXPECT_EQ(SingleInstance::ServerNameFor(FolderOf(a)),
              SingleInstance::ServerNameFor(QString::fromStdString(a.Path().string())));
    EXPECT_NE(SingleInstance::ServerNameFor(FolderOf(a)), SingleInstance::ServerNameFor(FolderOf(b)));

    SingleInstance inA(FolderOf(a));
    SingleInstance inB(FolderOf(b));
    EXPECT_EQ(inA.Claim(), Claimed::First);
    EXPECT_EQ(inB.Claim(), Claimed::First);
}

} // namespace
} // namespace kovara::ui
