#include "ui/app/single_instance.h"
#include "ui/base/core_names.h"

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

// A lock file as a copy killed while running leaves it: written by QLockFile
// itself, then made to name a process that has ended.
void leaveLockOfEndedProcess(const QString& lockFile)
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
    writeFile(lockFile, QByteArray::number(endedProcessId()) + contents.mid(endOfPid));
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

// The socket file of a server that was killed: bound, never unlinked, nobody
// listening.
void leaveDeadSocket(const QString& serverName)
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
    auto first = std::make_unique<SingleInstance>(folderOf(dir));
    ASSERT_EQ(first->claim(), Claimed::First);
    EXPECT_TRUE(QFile::exists(folderOf(dir) + QStringLiteral("kovara.lock")));

    QWidget window;
    window.setWindowState(Qt::WindowMinimized);
    first->raiseOnRequest(&window);
    QSignalSpy requests(first.get(), &SingleInstance::activationRequested);

    // Started through another spelling of the same folder.
    SingleInstance second(folderOf(dir) + QStringLiteral("./"));
    const auto started = std::chrono::steady_clock::now();
    EXPECT_EQ(second.claim(), Claimed::HandedOver);
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
        {"socket nobody listens on", [](const SingleInstance& s) {
             leaveLockOfEndedProcess(s.lockFileName());
             leaveDeadSocket(s.serverName());
         }},
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
    }
    {
        // The lock comes free while a later start waits: that start runs.
        SingleInstance later(folderOf(dir));
        QLockFile holder(later.lockFileName());
        ASSERT_TRUE(holder.tryLock(0));
        std::thread release([&holder] {
            std::this_thread::sleep_for(300ms);
            holder.unlock();
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
