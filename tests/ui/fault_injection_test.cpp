// Backup and restore when the file system refuses: a disk that fills up (a
// limit on the size of any file this process writes) and a folder that cannot
// be written to. The commands run under the error guard as the main window
// runs them, so what the user sees is checked word for word.
#include "ui/app/backup_commands.h"
#include "ui/base/core_names.h"

#include "core/app/backup_file.h"
#include "core/app/preferences.h"
#include "ui/base/error_guard.h"
#include "user_store_shell.h"

#include <cerrno>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <linux/fs.h>
#include <random>
#include <sys/ioctl.h>
#include <sys/resource.h>
#include <unistd.h>

namespace kovara::ui::test {
namespace {

namespace fs = std::filesystem;

std::string readAll(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// While alive, no file this process writes may grow past limit bytes: a write
// beyond it fails with EFBIG ("File too large") instead of raising SIGXFSZ,
// as a full disk fails a write. Root is held to it too.
class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t limit)
    {
        getrlimit(RLIMIT_FSIZE, &saved_);
        oldHandler_ = std::signal(SIGXFSZ, SIG_IGN);
        rlimit lowered = saved_;
        lowered.rlim_cur = limit;
        EXPECT_EQ(setrlimit(RLIMIT_FSIZE, &lowered), 0) << std::strerror(errno);
    }
    ~FileSizeLimit()
    {
        setrlimit(RLIMIT_FSIZE, &saved_);
        std::signal(SIGXFSZ, oldHandler_);
    }

private:
    rlimit saved_{};
    void (*oldHandler_)(int) = SIG_DFL;
};

// While alive, nothing can be created in or removed from folder. Removing the
// write permission stops an ordinary user; root ignores permissions, so the
// folder is also made immutable where the file system allows it. Reason()
// is the system's message for the refusal ("Permission denied" or
// "Operation not permitted"); empty when the folder stayed writable.
class UnwritableFolder {
public:
    explicit UnwritableFolder(const std::string& folder) : folder_(folder)
    {
        fs::permissions(folder_, fs::perms::owner_read | fs::perms::owner_exec);
        if (!writable())
            return;
        const int fd = ::open(folder_.c_str(), O_RDONLY | O_DIRECTORY);
        int flags = 0;
        if (fd >= 0 && ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0) {
            flags |= FS_IMMUTABLE_FL;
            immutable_ = ::ioctl(fd, FS_IOC_SETFLAGS, &flags) == 0;
        }
        if (fd >= 0)
            ::close(fd);
        writable();
    }
    ~UnwritableFolder()
    {
        if (immutable_) {
            const int fd = ::open(folder_.c_str(), O_RDONLY | O_DIRECTORY);
            int flags = 0;
            if (fd >= 0 && ::ioctl(fd, FS_IOC_GETFLAGS, &flags) == 0) {
                flags &= ~FS_IMMUTABLE_FL;
                ::ioctl(fd, FS_IOC_SETFLAGS, &flags);
            }
            if (fd >= 0)
                ::close(fd);
        }
        fs::permissions(folder_, fs::perms::owner_all);
    }
    const std::string& reason() const { return reason_; }

private:
    // Tries to create a file; keeps the refusal's reason.
    bool writable()
    {
        const std::string probe = folder_ + "/probe";
        const int fd = ::open(probe.c_str(), O_WRONLY | O_CREAT | O_EXCL, 0600);
        if (fd < 0) {
            reason_ = std::strerror(errno);
            return false;
        }
        ::close(fd);
        ::unlink(probe.c_str());
        reason_.clear();
        return true;
    }

    std::string folder_;
    std::string reason_;
    bool immutable_ = false;
};

class FaultInjectionTest : public ::testing::Test {
protected:
    FaultInjectionTest()
    {
        // Text that does not compress, so that the backup outgrows a small
        // size limit: about 64 KB in the prayers database.
        std::mt19937 random(7);
        std::string noise;
        for (int i = 0; i < 32 * 1024; ++i)
            noise += "0123456789abcdef"[random() % 16];
        for (const char* title : {"First", "Second"}) {
            const std::int32_t item = shell.addPrayer(title);
            shell.prayerStore().updatePrayer(item, title, "Topic", "", PrayerStatus::Active, noise, false);
        }
        shell.planStore().addPlan("Plan A", {"1-2", "3-4"}, shell.fixedClock.today());
    }

    // Runs a command as the main window does: an error becomes a message box.
    void runCommand(const std::function<void()>& command)
    {
        runGuarded(shell.scripted, command);
        EXPECT_TRUE(shell.scripted.done());
    }

    // Both stores are open, hold what they held, and take new data.
    void expectStoresWork(const std::string& titles)
    {
        EXPECT_EQ(shell.prayerTitles(), titles);
        EXPECT_EQ(shell.planTitles(), "Plan A");
        shell.addPrayer("Added");
        EXPECT_EQ(shell.prayerTitles(), "Added," + titles);
        EXPECT_NO_THROW(shell.planStore().setDayDone(0, 2, true));
        EXPECT_TRUE(shell.planStore().isDayDone(0, 2));
    }

    UserStoreShell shell;
    BackupCommands commands{shell, shell};
    kovara::test::TempDir backups;
    std::string backupPath = backups.file("mine.kova2bak");
};

// A save that the file system refuses says which file and what to do, not
// only the engine's words, and the item keeps what it held.
TEST_F(FaultInjectionTest, FailedSaveSaysWhatHappenedAndWhatToDo)
{
    const std::string prayersFile = shell.dir.file("prayers.kova2");
    const std::string bigText(200 * 1024, 'x');
    enum class Refusal { ReadOnlyFolder, DiskFull };
    for (const Refusal refusal : {Refusal::ReadOnlyFolder, Refusal::DiskFull}) {
        SCOPED_TRACE(static_cast<int>(refusal));
        std::unique_ptr<FileSizeLimit> diskFull;
        std::unique_ptr<UnwritableFolder> readOnly;
        std::string says;
        if (refusal == Refusal::ReadOnlyFolder) {
            readOnly = std::make_unique<UnwritableFolder>(shell.dir.path().string());
            if (readOnly->reason().empty())
                continue; // this user writes into any folder
            says = "Kovara cannot open " + prayersFile + " for writing: its folder " + shell.dir.path().string() +
                   " is read-only. Allow writing to the folder, then try again.";
        } else {
            // A limit on the file size reaches the engine as a failed write
            // rather than a full disk: it is named as such.
            diskFull = std::make_unique<FileSizeLimit>(fs::file_size(prayersFile) + 8 * 1024);
            says = "Kovara could not read or write " + prayersFile +
                   " (a fault of the disk or its file system). Check the disk, then try again.";
        }
        const std::string message = kovara::test::messageOf([&] {
            shell.prayerStore().updatePrayer(1, "First", "Topic", "", PrayerStatus::Active, bigText, false);
        });
        EXPECT_EQ(message.rfind(says + "\n\n(SQLite Error ", 0), 0u) << message;
    }
    expectStoresWork("First,Second");
}

TEST_F(FaultInjectionTest, BackupThatMeetsAFullDiskIsReportedAndKeepsTheEarlierBackup)
{
    commands.writeBackup(QString::fromStdString(backupPath));
    const std::string earlier = readAll(backupPath);
    shell.addPrayer("Third");

    {
        FileSizeLimit diskFull(16 * 1024);
        shell.scripted.expectSaveFile(kBackupDialogTitle, QString::fromStdString(backupPath));
        shell.scripted.expectMessage(
            QString::fromStdString("Unable to write backup file " + backupPath + ": " + std::strerror(EFBIG)));
        runCommand([&] { commands.backup(); });
        // Reading goes on while the disk is full.
        EXPECT_EQ(shell.prayerTitles(), "First,Second,Third");
    }

    EXPECT_EQ(readAll(backupPath), earlier);
    EXPECT_EQ(std::distance(fs::directory_iterator(backups.path()), {}), 1) << "no partial file is left";
    EXPECT_EQ(shell.prefs->lastBackupFile, "");
    expectStoresWork("First,Second,Third");
}

TEST_F(FaultInjectionTest, BackupIntoAFolderThatCannotBeWrittenIsReportedAndKeepsTheEarlierBackup)
{
    commands.writeBackup(QString::fromStdString(backupPath));
    const std::string earlier = readAll(backupPath);

    {
        UnwritableFolder readOnly(backups.path().string());
        if (readOnly.reason().empty())
            GTEST_SKIP() << "this file system lets this user write into any folder";
        shell.scripted.expectSaveFile(kBackupDialogTitle, QString::fromStdString(backupPath));
        shell.scripted.expectMessage(
            QString::fromStdString("Unable to create backup file " + backupPath + ": " + readOnly.reason()));
        runCommand([&] { commands.backup(); });
    }

    EXPECT_EQ(readAll(backupPath), earlier);
    EXPECT_EQ(shell.prefs->lastBackupFile, "");
    expectStoresWork("First,Second");
}

// A restore whose new databases cannot be written, for each way the file
// system can refuse: the current databases stay byte for byte as they were,
// and the message says what happened - a full disk or a folder that cannot
// be written, with the backup sound - unless the backup is damaged too.
TEST_F(FaultInjectionTest, RestoreThatCannotWriteTheNewDatabasesKeepsTheCurrentOnes)
{
    commands.writeBackup(QString::fromStdString(backupPath));
    const std::string cutShort = backups.file("cut.kova2bak");
    {
        const std::string whole = readAll(backupPath);
        std::ofstream(cutShort, std::ios::binary) << whole.substr(0, whole.size() - 40);
    }
    shell.addPrayer("Third");
    const std::string prayersFile = shell.dir.file("prayers.kova2");
    const std::string plansFile = shell.dir.file("userreadplans.kova2");
    const std::string fine = "\n\nYour backup file is fine, and your current data has not been changed.";

    enum class Refusal { DiskFull, ReadOnlyFolder, DiskFullAndDamagedBackup };
    for (const Refusal refusal : {Refusal::DiskFull, Refusal::ReadOnlyFolder, Refusal::DiskFullAndDamagedBackup}) {
        SCOPED_TRACE(static_cast<int>(refusal));
        const std::string prayersBefore = readAll(prayersFile);
        const std::string plansBefore = readAll(plansFile);
        {
            std::unique_ptr<FileSizeLimit> diskFull;
            std::unique_ptr<UnwritableFolder> readOnly;
            std::string message;
            if (refusal == Refusal::ReadOnlyFolder) {
                readOnly = std::make_unique<UnwritableFolder>(shell.dir.path().string());
                if (readOnly->reason().empty())
                    continue; // this user writes into any folder
                message = "The restored data could not be written: " + prayersFile + ".restore-check (" +
                          readOnly->reason() + ")." + fine;
            } else {
                diskFull = std::make_unique<FileSizeLimit>(16 * 1024);
                message = refusal == Refusal::DiskFull
                              ? "There is not enough free space on the disk to restore the backup: " + prayersFile +
                                    ".restore-check could not be written (" + std::strerror(EFBIG) + ")." + fine +
                                    " Make room on the disk, then restore again."
                              : std::string(kRestoreFailedMessage);
            }
            const QString path =
                QString::fromStdString(refusal == Refusal::DiskFullAndDamagedBackup ? cutShort : backupPath);
            // Found while the backup is checked, before the question.
            shell.scripted.expectMessage(QString::fromStdString(message));
            runCommand([&] { commands.restoreBackup(path); });
        }
        EXPECT_TRUE(readAll(prayersFile) == prayersBefore);
        EXPECT_TRUE(readAll(plansFile) == plansBefore);
        EXPECT_FALSE(fs::exists(prayersFile + ".restored"));
        EXPECT_FALSE(fs::exists(plansFile + ".restored"));
        EXPECT_FALSE(fs::exists(prayersFile + ".restore-check"));
        EXPECT_EQ(shell.prayerTitles(), "First,Second,Third");
    }
    expectStoresWork("First,Second,Third");
}

} // namespace
} // namespace kovara::ui::test
