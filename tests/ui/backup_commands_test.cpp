// Backup and restore through the two commands: file dialogs and questions are
// answered by script, the stores are the real ones on temporary files.
#include "ui/app/backup_commands.h"

#include "app/backup_file.h"
#include "app/kova_prefs.h"
#include "db/sqlite_db.h"
#include "user_store_shell.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>

namespace kovara::ui::test {
namespace {

namespace fs = std::filesystem;

std::string ReadAll(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteAll(const std::string& path, const std::string& bytes)
{
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

class BackupCommandsTest : public ::testing::Test {
protected:
    BackupCommandsTest()
    {
        shell.AddPrayer("Before");
        shell.ReadPlans().AddPlan("Plan A", {"1-2", "3-4"}, shell.clock.Today());
    }

    // A backup of the current data at path, through the command.
    void Backup(const QString& chosen, const QString& written)
    {
        shell.dialogs.ExpectSaveFile(kBackupDialogTitle, chosen);
        shell.dialogs.ExpectMessage(QStringLiteral("Backup process complete."));
        commands.ActionBackupExecute();
        EXPECT_TRUE(shell.dialogs.Done());
        EXPECT_EQ(shell.prefs->LastBackupFile, written.toStdString());
    }

    // Data that differs from the backup's.
    void ChangeData()
    {
        shell.AddPrayer("After");
        shell.ReadPlans().AddPlan("Plan B", {"5-6"}, shell.clock.Today());
    }

    UserStoreShell shell;
    BackupCommands commands{shell, shell};
    kovara::test::TempDir backups;
    QString backupPath = QString::fromStdString(backups.File("mine.kova2bak"));
};

TEST_F(BackupCommandsTest, BackupThenRestoreBringsTheEarlierDataBack)
{
    // A name typed without an extension is completed.
    Backup(QString::fromStdString(backups.File("mine")), backupPath);
    EXPECT_EQ(shell.dialogs.lastFilter, kBackupFilter);
    EXPECT_EQ(shell.dialogs.lastInitialPath, QString());
    EXPECT_EQ(shell.closed, 1);
    EXPECT_EQ(shell.page, Page::PrayerTracker) << "a backup leaves the current page";
    EXPECT_EQ(CheckBackupFile(backupPath.toStdString()), BackupCheck::Valid);

    // The stores work after the backup, and what changes now is not in it.
    ChangeData();
    ASSERT_EQ(shell.PrayerTitles(), "After,Before");
    const std::string changedPrayers = ReadAll(shell.dir.File("prayers.kova2"));

    shell.dialogs.ExpectOpenFile(kRestoreDialogTitle, backupPath);
    shell.dialogs.ExpectConfirm(RestoreQuestion(backupPath), true);
    shell.dialogs.ExpectMessage(QStringLiteral("Data restoration process complete."));
    commands.ActionRestoreExecute();

    EXPECT_EQ(shell.prefs->LastRestoreFile, backupPath.toStdString());
    EXPECT_EQ(shell.PrayerTitles(), "Before");
    EXPECT_EQ(shell.PlanTitles(), "Plan A");
    EXPECT_EQ(ReadAll(shell.dir.File("prayers.kova2.old")), changedPrayers);
    EXPECT_EQ(shell.refreshedOn, std::vector<int>{0});
    EXPECT_EQ(shell.welcomeBuilt, 1);
    EXPECT_EQ(shell.page, Page::Welcome);

    // The restored stores take new data, and the next dialogs start on the
    // files chosen last.
    shell.AddPrayer("Later");
    EXPECT_EQ(shell.PrayerTitles(), "Before,Later");
    Backup(backupPath, backupPath);
    EXPECT_EQ(shell.dialogs.lastInitialPath, backupPath);
    shell.dialogs.ExpectOpenFile(kRestoreDialogTitle, QString());
    commands.ActionRestoreExecute();
    EXPECT_EQ(shell.dialogs.lastInitialPath, backupPath);
}

TEST_F(BackupCommandsTest, CompletedNameOfAnExistingFileAsksBeforeReplacingIt)
{
    WriteAll(backupPath.toStdString(), "earlier");
    shell.dialogs.ExpectSaveFile(kBackupDialogTitle, QString::fromStdString(backups.File("mine")));
    shell.dialogs.ExpectConfirm(backupPath + QStringLiteral(" already exists.\nDo you want to replace it?"), false);
    commands.ActionBackupExecute();
    EXPECT_EQ(ReadAll(backupPath.toStdString()), "earlier");
    EXPECT_EQ(shell.closed, 0);
    EXPECT_EQ(shell.prefs->LastBackupFile, "");

    // Cancelling the dialog does nothing either.
    shell.dialogs.ExpectSaveFile(kBackupDialogTitle, QString());
    commands.ActionBackupExecute();
    EXPECT_EQ(shell.closed, 0);
}

TEST_F(BackupCommandsTest, AnsweringNoChangesNothing)
{
    Backup(backupPath, backupPath);
    ChangeData();
    const std::string prayers = ReadAll(shell.dir.File("prayers.kova2"));
    const int closedBefore = shell.closed;

    shell.dialogs.ExpectOpenFile(kRestoreDialogTitle, backupPath);
    shell.dialogs.ExpectConfirm(RestoreQuestion(backupPath), false);
    commands.ActionRestoreExecute();

    EXPECT_EQ(shell.closed, closedBefore) << "the stores were not touched";
    EXPECT_EQ(ReadAll(shell.dir.File("prayers.kova2")), prayers);
    EXPECT_EQ(shell.PlanTitles(), "Plan A,Plan B");
    EXPECT_FALSE(fs::exists(shell.dir.File("prayers.kova2.old")));
    EXPECT_EQ(shell.prefs->LastRestoreFile, backupPath.toStdString()) << "remembered whatever the outcome";
    EXPECT_EQ(shell.welcomeBuilt, 0);
}

TEST_F(BackupCommandsTest, FileThatIsNoBackupIsRefusedBeforeAnyQuestion)
{
    const std::string shortFile = backups.File("short.kova2bak");
    WriteAll(shortFile, std::string(kBackupSignature) + std::string(10, '\0'));
    const std::string missing = backups.File("missing.kova2bak");
    const struct {
        std::string path;
        QString message;
    } cases[] = {
        {shortFile, QString::fromStdString(shortFile) + " is not a valid Kovara backup file."},
        {missing, "Unable to open " + QString::fromStdString(missing)},
    };
    for (const auto& c : cases) {
        shell.dialogs.ExpectMessage(c.message);
        commands.RestoreBackup(QString::fromStdString(c.path));
    }
    EXPECT_EQ(shell.closed, 0);
    EXPECT_EQ(shell.PrayerTitles(), "Before");
}

TEST_F(BackupCommandsTest, DamagedBackupIsRefusedWithTheCurrentDataKeptAndWorking)
{
    Backup(backupPath, backupPath);
    const std::string good = ReadAll(backupPath.toStdString());
    ASSERT_GT(good.size(), 200u);
    ChangeData();

    std::string flipped = good;
    for (std::size_t i = 100; i < 140; ++i)
        flipped[i] = static_cast<char>(flipped[i] ^ 0x5a);
    const struct {
        const char* name;
        std::string bytes;
    } cases[] = {
        {"cut short", good.substr(0, good.size() - 40)},
        {"damaged deflate data", flipped},
    };
    std::string titles = "After,Before";
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        WriteAll(backupPath.toStdString(), c.bytes);
        const std::string prayers = ReadAll(shell.dir.File("prayers.kova2"));
        const std::string plans = ReadAll(shell.dir.File("userreadplans.kova2"));
        const int built = shell.welcomeBuilt;

        shell.dialogs.ExpectOpenFile(kRestoreDialogTitle, backupPath);
        shell.dialogs.ExpectConfirm(RestoreQuestion(backupPath), true);
        shell.dialogs.ExpectMessage(QString::fromLatin1(kRestoreFailedMessage));
        commands.ActionRestoreExecute();

        EXPECT_TRUE(shell.dialogs.Done());
        EXPECT_EQ(ReadAll(shell.dir.File("prayers.kova2")), prayers);
        EXPECT_EQ(ReadAll(shell.dir.File("userreadplans.kova2")), plans);
        EXPECT_EQ(shell.welcomeBuilt, built + 1);
        // Both stores are open on the old data and take changes.
        EXPECT_EQ(shell.PrayerTitles(), titles);
        EXPECT_EQ(shell.PlanTitles(), "Plan A,Plan B");
        EXPECT_NO_THROW(shell.ReadPlans().SetDayDone(0, 1, true));
        shell.AddPrayer(std::string("Still working ") + c.name);
        titles += std::string(",Still working ") + c.name;
        EXPECT_EQ(shell.PrayerTitles(), titles);
    }
}

TEST_F(BackupCommandsTest, FailingBackupRaisesWithTheStoresOpenAgain)
{
    const QString nowhere = QString::fromStdString(backups.File("no such folder/mine.kova2bak"));
    shell.dialogs.ExpectSaveFile(kBackupDialogTitle, nowhere);
    const std::string message = kovara::test::MessageOf([&] { commands.ActionBackupExecute(); });

    EXPECT_EQ(message.rfind("Unable to create backup file " + nowhere.toStdString(), 0), 0u) << message;
    EXPECT_EQ(shell.closed, 1);
    EXPECT_EQ(shell.prefs->LastBackupFile, "");
    EXPECT_FALSE(fs::exists(nowhere.toStdString()));
    shell.AddPrayer("After");
    EXPECT_EQ(shell.PrayerTitles(), "After,Before");
    EXPECT_NO_THROW(shell.ReadPlans().SetDayDone(0, 2, true));
}


// Another program holds a write transaction on prayers.kova2 whose changes
// have spilled into the file, for longer than the backup waits. The backup
// fails with a clear message, the earlier backup stays, and once the writer is
// done both stores work again without a restart.
TEST_F(BackupCommandsTest, BackupDuringAnotherProgramsWriteKeepsTheEarlierFileAndTheStores)
{
    Backup(backupPath, backupPath);
    const std::string earlier = ReadAll(backupPath.toStdString());
    const std::string prayersPath = shell.dir.File("prayers.kova2");

    sqlite3* writer = nullptr;
    OpenDatabase(prayersPath, writer);
    ExecSQL(writer, "PRAGMA cache_size=2; BEGIN;");
    for (int i = 0; i < 300; ++i)
        ExecSQL(writer, Format("INSERT INTO prayerTracker (prayerTitle, previewText) VALUES ('w%d', hex(randomblob(400)));", i));
    ASSERT_TRUE(fs::exists(prayersPath + "-journal"));

    commands.SetLockWait(200);
    shell.openWaitMs = 200;
    shell.dialogs.ExpectSaveFile(kBackupDialogTitle, backupPath);
    EXPECT_EQ(kovara::test::MessageOf([&] { commands.ActionBackupExecute(); }),
              "Unable to read " + prayersPath + ": another program is writing to it. Try again when it has finished.");
    EXPECT_EQ(ReadAll(backupPath.toStdString()), earlier);
    EXPECT_FALSE(fs::exists(backupPath.toStdString() + ".part"));

    ExecSQL(writer, "ROLLBACK;");
    CloseDatabase(writer);
    shell.AddPrayer("After");
    EXPECT_EQ(shell.PrayerTitles(), "After,Before");
    EXPECT_NO_THROW(shell.ReadPlans().SetDayDone(0, 2, true));
    Backup(backupPath, backupPath);
}

} // namespace
} // namespace kovara::ui::test
