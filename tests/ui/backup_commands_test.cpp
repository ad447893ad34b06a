// Backup and restore through the two commands: file dialogs and questions are
// answered by script, the stores are the real ones on temporary files.
#include "ui/app/backup_commands.h"
#include "ui/base/core_names.h"

#include "core/app/backup_file.h"
#include "core/app/preferences.h"
#include "core/db/sqlite_db.h"
#include "core/prayer/prayer_store.h"
#include "ui/prayer/prayer_search.h"
#include "user_store_shell.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <sys/stat.h>

namespace kovara::ui::test {
namespace {

namespace fs = std::filesystem;

std::string readAll(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void writeAll(const std::string& path, const std::string& bytes)
{
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

class BackupCommandsTest : public ::testing::Test {
protected:
    BackupCommandsTest()
    {
        shell.addPrayer("Before");
        shell.planStore().addPlan("Plan A", {"1-2", "3-4"}, shell.fixedClock.today());
    }

    // A backup of the current data at path, through the command.
    void backup(const QString& chosen, const QString& written)
    {
        shell.scripted.expectSaveFile(kBackupDialogTitle, chosen);
        shell.scripted.expectMessage(QStringLiteral("Backup process complete."));
        commands.backup();
        EXPECT_TRUE(shell.scripted.done());
        EXPECT_EQ(shell.prefs->lastBackupFile, written.toStdString());
    }

    // Data that differs from the backup's.
    void changeData()
    {
        shell.addPrayer("After");
        shell.planStore().addPlan("Plan B", {"5-6"}, shell.fixedClock.today());
    }

    UserStoreShell shell;
    BackupCommands commands{shell, shell};
    kovara::test::TempDir backups;
    QString backupPath = QString::fromStdString(backups.file("mine.kova2bak"));
};

TEST_F(BackupCommandsTest, BackupThenRestoreBringsTheEarlierDataBack)
{
    // A name typed without an extension is completed.
    backup(QString::fromStdString(backups.file("mine")), backupPath);
    EXPECT_EQ(shell.scripted.lastFilter, kBackupFilter);
    EXPECT_EQ(shell.scripted.lastInitialPath, QString());
    EXPECT_EQ(shell.closed, 1);
    EXPECT_EQ(shell.page, Page::PrayerTracker) << "a backup leaves the current page";
    EXPECT_EQ(checkBackupFile(backupPath.toStdString()), BackupCheck::Valid);

    // The stores work after the backup, and what changes now is not in it.
    changeData();
    ASSERT_EQ(shell.prayerTitles(), "After,Before");
    const std::string changedPrayers = readAll(shell.dir.file("prayers.kova2"));

    shell.scripted.expectOpenFile(kRestoreDialogTitle, backupPath);
    shell.scripted.expectConfirm(restoreQuestion(backupPath), true, Dialogs::Answer::No, Dialogs::Icon::Warning);
    shell.scripted.expectMessage(QStringLiteral("Data restoration process complete."));
    commands.restore();

    EXPECT_EQ(shell.prefs->lastRestoreFile, backupPath.toStdString());
    EXPECT_EQ(shell.prayerTitles(), "Before");
    EXPECT_EQ(shell.planTitles(), "Plan A");
    EXPECT_EQ(readAll(shell.dir.file("prayers.kova2.old")), changedPrayers);
    EXPECT_EQ(shell.refreshedOn, std::vector<int>{0});
    EXPECT_EQ(shell.welcomeBuilt, 1);
    EXPECT_EQ(shell.page, Page::Welcome);

    // The restored stores take new data, and the next dialogs start on the
    // files chosen last.
    shell.addPrayer("Later");
    EXPECT_EQ(shell.prayerTitles(), "Before,Later");
    backup(backupPath, backupPath);
    EXPECT_EQ(shell.scripted.lastInitialPath, backupPath);
    shell.scripted.expectOpenFile(kRestoreDialogTitle, QString());
    commands.restore();
    EXPECT_EQ(shell.scripted.lastInitialPath, backupPath);
}

// The journal's answers, notes and search index are part of the prayer
// database, so a backup carries them and a restore brings them back.
TEST_F(BackupCommandsTest, RestoreBringsBackAnswersNotesAndTheSearchIndex)
{
    PrayerStore& store = shell.prayerStore();
    const std::int32_t item = store.findPrayerByTitle("Before").value();
    PrayerSave save;
    save.title = "Before";
    save.status = PrayerStatus::Answered;
    save.plainText = "for the harvest";
    save.answer = PrayerAnswer{shell.fixedClock.today(), "rain came"};
    save.notes = PrayerNotes{{shell.fixedClock.today(), "dry spell"}};
    store.savePrayer(item, save);
    backup(backupPath, backupPath);

    save.answer = PrayerAnswer{shell.fixedClock.today(), "changed"};
    save.notes = PrayerNotes{};
    save.plainText = "something else";
    shell.prayerStore().savePrayer(item, save);

    shell.scripted.expectOpenFile(kRestoreDialogTitle, backupPath);
    shell.scripted.expectConfirm(restoreQuestion(backupPath), true, Dialogs::Answer::No, Dialogs::Icon::Warning);
    shell.scripted.expectMessage(QStringLiteral("Data restoration process complete."));
    commands.restore();
    PrayerStore& restored = shell.prayerStore();
    EXPECT_EQ(restored.answer(item)->answerNote, "rain came");
    ASSERT_EQ(restored.notes(item).size(), 1u);
    EXPECT_EQ(restored.notes(item)[0].noteText, "dry spell");
    EXPECT_TRUE(restored.searchIndexReady());
    EXPECT_EQ(restored.searchPrayers("harvest dry"), std::vector<std::int32_t>{item});
    EXPECT_TRUE(restored.searchPrayers("something").empty());
}

// A backup made before the journal kept answers and notes holds a prayer
// database with prayerTracker alone: it restores and opens, its answered item
// has no answer record (shown "answered (date not recorded)"), and its search
// index is built from the stored documents on first use.
TEST_F(BackupCommandsTest, BackupFromBeforeTheJournalRestoresAndOpens)
{
    kovara::test::TempDir old;
    {
        sqlite3* db = nullptr;
        openDatabase(old.file("prayers.kova2"), db);
        execSQL(db, "CREATE TABLE 'prayerTracker' (prayerIndex INTEGER PRIMARY KEY, prayerTitle TEXT, "
                    "prayerTopic TEXT, prayerTextData BLOB, prayerStatus TEXT, createTime INTEGER, "
                    "lastEditTime INTEGER, previewText TEXT);"
                    "CREATE INDEX 'prayerTracker_prayerIndex' ON prayerTracker (prayerIndex);"
                    "CREATE INDEX 'prayerTracker_prayerTopic' ON prayerTracker (prayerTopic);"
                    "CREATE INDEX 'prayerTracker_prayerTitle' ON prayerTracker (prayerTitle);"
                    "CREATE INDEX 'prayerTracker_prayerStatus' ON prayerTracker (prayerStatus);"
                    "INSERT INTO prayerTracker VALUES (7, 'Harvest', 'Farm', "
                    "CAST('{\\rtf1 Rain for the wheat\\par}' AS BLOB), 'Answered', 1173969000, 1173969000, "
                    "'Rain for the wheat');");
        closeDatabase(db);
    }
    fs::copy_file(shell.dir.file("userreadplans.kova2"), old.file("userreadplans.kova2"));
    writeBackupFile(backupPath.toStdString(),
                    UserDatabases{old.file("prayers.kova2"), old.file("userreadplans.kova2")}, shell.fixedClock.now());

    shell.scripted.expectOpenFile(kRestoreDialogTitle, backupPath);
    shell.scripted.expectConfirm(restoreQuestion(backupPath), true, Dialogs::Answer::No, Dialogs::Icon::Warning);
    shell.scripted.expectMessage(QStringLiteral("Data restoration process complete."));
    commands.restore();

    PrayerStore& restored = shell.prayerStore();
    EXPECT_EQ(shell.prayerTitles(), "Harvest");
    EXPECT_EQ(restored.prayerStatus(7), PrayerStatus::Answered);
    EXPECT_FALSE(restored.answer(7));
    EXPECT_TRUE(restored.notes(7).empty());
    EXPECT_FALSE(restored.searchIndexReady());
    EXPECT_TRUE(ensureSearchIndex(restored, nullptr));
    EXPECT_EQ(restored.searchPrayers("wheat"), std::vector<std::int32_t>{7});
    EXPECT_FALSE(ensureSearchIndex(restored, nullptr)) << "built once";
}

TEST_F(BackupCommandsTest, CompletedNameOfAnExistingFileAsksBeforeReplacingIt)
{
    writeAll(backupPath.toStdString(), "earlier");
    shell.scripted.expectSaveFile(kBackupDialogTitle, QString::fromStdString(backups.file("mine")));
    shell.scripted.expectConfirm(backupPath + QStringLiteral(" already exists.\nDo you want to replace it?"), false);
    commands.backup();
    EXPECT_EQ(readAll(backupPath.toStdString()), "earlier");
    EXPECT_EQ(shell.closed, 0);
    EXPECT_EQ(shell.prefs->lastBackupFile, "");

    // Cancelling the dialog does nothing either.
    shell.scripted.expectSaveFile(kBackupDialogTitle, QString());
    commands.backup();
    EXPECT_EQ(shell.closed, 0);
}

TEST_F(BackupCommandsTest, AnsweringNoChangesNothing)
{
    backup(backupPath, backupPath);
    changeData();
    const std::string prayers = readAll(shell.dir.file("prayers.kova2"));
    const int closedBefore = shell.closed;

    shell.scripted.expectOpenFile(kRestoreDialogTitle, backupPath);
    shell.scripted.expectConfirm(restoreQuestion(backupPath), false, Dialogs::Answer::No, Dialogs::Icon::Warning);
    commands.restore();

    EXPECT_EQ(shell.closed, closedBefore) << "the stores were not touched";
    EXPECT_EQ(readAll(shell.dir.file("prayers.kova2")), prayers);
    EXPECT_EQ(shell.planTitles(), "Plan A,Plan B");
    EXPECT_FALSE(fs::exists(shell.dir.file("prayers.kova2.old")));
    EXPECT_EQ(shell.prefs->lastRestoreFile, backupPath.toStdString()) << "remembered whatever the outcome";
    EXPECT_EQ(shell.welcomeBuilt, 0);
}

TEST_F(BackupCommandsTest, FileThatIsNoBackupIsRefusedBeforeAnyQuestion)
{
    const std::string shortFile = backups.file("short.kova2bak");
    writeAll(shortFile, std::string(kBackupSignature) + std::string(10, '\0'));
    const std::string missing = backups.file("missing.kova2bak");
    const std::string pipe = backups.file("pipe.kova2bak");
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    const struct {
        std::string path;
        QString message;
    } cases[] = {
        {shortFile, QString::fromStdString(shortFile) + " is not a valid Kovara backup file."},
        {pipe, QString::fromStdString(pipe) + " is not a valid Kovara backup file."},
        {missing, "Unable to open " + QString::fromStdString(missing)},
    };
    for (const auto& c : cases) {
        shell.scripted.expectMessage(c.message);
        commands.restoreBackup(QString::fromStdString(c.path));
    }
    EXPECT_EQ(shell.closed, 0);
    EXPECT_EQ(shell.prayerTitles(), "Before");
}

TEST_F(BackupCommandsTest, DamagedBackupIsRefusedWithTheCurrentDataKeptAndWorking)
{
    backup(backupPath, backupPath);
    const std::string good = readAll(backupPath.toStdString());
    ASSERT_GT(good.size(), 200u);
    changeData();

    std::string flipped = good;
    for (std::size_t i = 100; i < 140; ++i)
        flipped[i] = static_cast<char>(flipped[i] ^ 0x5a);
    std::string lyingSize = good; // the plans image said to be a byte longer
    lyingSize[70] = static_cast<char>(lyingSize[70] + 1);
    const struct {
        const char* name;
        std::string bytes;
    } cases[] = {
        {"cut short", good.substr(0, good.size() - 40)},
        {"damaged deflate data", flipped},
        {"wrong image size", lyingSize},
    };
    std::string titles = "After,Before";
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        writeAll(backupPath.toStdString(), c.bytes);
        const std::string prayers = readAll(shell.dir.file("prayers.kova2"));
        const std::string plans = readAll(shell.dir.file("userreadplans.kova2"));
        const int built = shell.welcomeBuilt;

        // Refused before the question that would erase the current data.
        shell.scripted.expectOpenFile(kRestoreDialogTitle, backupPath);
        shell.scripted.expectMessage(QString::fromLatin1(kRestoreFailedMessage));
        commands.restore();

        EXPECT_TRUE(shell.scripted.done());
        EXPECT_EQ(readAll(shell.dir.file("prayers.kova2")), prayers);
        EXPECT_EQ(readAll(shell.dir.file("userreadplans.kova2")), plans);
        EXPECT_EQ(shell.welcomeBuilt, built) << "the stores were never closed";
        for (const char* left : {"prayers.kova2.restore-check", "userreadplans.kova2.restore-check",
                                 "prayers.kova2.restored"})
            EXPECT_FALSE(std::filesystem::exists(shell.dir.file(left))) << left;
        // Both stores are open on the old data and take changes.
        EXPECT_EQ(shell.prayerTitles(), titles);
        EXPECT_EQ(shell.planTitles(), "Plan A,Plan B");
        EXPECT_NO_THROW(shell.planStore().setDayDone(0, 1, true));
        shell.addPrayer(std::string("Still working ") + c.name);
        titles += std::string(",Still working ") + c.name;
        EXPECT_EQ(shell.prayerTitles(), titles);
    }
}

TEST_F(BackupCommandsTest, FailingBackupRaisesWithTheStoresOpenAgain)
{
    const QString nowhere = QString::fromStdString(backups.file("no such folder/mine.kova2bak"));
    shell.scripted.expectSaveFile(kBackupDialogTitle, nowhere);
    const std::string message = kovara::test::messageOf([&] { commands.backup(); });

    EXPECT_EQ(message.rfind("Unable to create backup file " + nowhere.toStdString(), 0), 0u) << message;
    EXPECT_EQ(shell.closed, 1);
    EXPECT_EQ(shell.prefs->lastBackupFile, "");
    EXPECT_FALSE(fs::exists(nowhere.toStdString()));
    shell.addPrayer("After");
    EXPECT_EQ(shell.prayerTitles(), "After,Before");
    EXPECT_NO_THROW(shell.planStore().setDayDone(0, 2, true));
}


// Another program holds a write transaction on prayers.kova2 whose changes
// have spilled into the file, for longer than the backup waits. The backup
// fails with a clear message, the earlier backup stays, and once the writer is
// done both stores work again without a restart.
TEST_F(BackupCommandsTest, BackupDuringAnotherProgramsWriteKeepsTheEarlierFileAndTheStores)
{
    backup(backupPath, backupPath);
    const std::string earlier = readAll(backupPath.toStdString());
    const std::string prayersPath = shell.dir.file("prayers.kova2");

    sqlite3* writer = nullptr;
    openDatabase(prayersPath, writer);
    execSQL(writer, "PRAGMA cache_size=2; BEGIN;");
    for (int i = 0; i < 300; ++i)
        execSQL(writer, format("INSERT INTO prayerTracker (prayerTitle, previewText) VALUES ('w%d', hex(randomblob(400)));", i));
    ASSERT_TRUE(fs::exists(prayersPath + "-journal"));

    commands.setLockWait(200);
    shell.openWaitMs = 200;
    shell.scripted.expectSaveFile(kBackupDialogTitle, backupPath);
    EXPECT_EQ(kovara::test::messageOf([&] { commands.backup(); }),
              "Unable to read " + prayersPath + ": another program is writing to it. Try again when it has finished.");
    EXPECT_EQ(readAll(backupPath.toStdString()), earlier);
    EXPECT_FALSE(fs::exists(backupPath.toStdString() + ".part"));

    execSQL(writer, "ROLLBACK;");
    closeDatabase(writer);
    shell.addPrayer("After");
    EXPECT_EQ(shell.prayerTitles(), "After,Before");
    EXPECT_NO_THROW(shell.planStore().setDayDone(0, 2, true));
    backup(backupPath, backupPath);
}

// Another tool has put prayers.kova2 into write-ahead log mode and keeps it
// open with its last item still only in the log. The backup holds that item,
// and the restore takes the backup back without a word about damage.
TEST_F(BackupCommandsTest, DatabaseInWriteAheadLogModeHeldOpenElsewhereBacksUpAndRestores)
{
    const std::string prayersPath = shell.dir.file("prayers.kova2");
    shell.closeUserStores();
    sqlite3* other = nullptr;
    openDatabase(prayersPath, other);
    execSQL(other, "PRAGMA journal_mode=WAL; PRAGMA wal_autocheckpoint=0;"
                   "INSERT INTO prayerTracker (prayerTitle, prayerStatus) VALUES ('Held', 'Active');");
    ASSERT_TRUE(fs::exists(prayersPath + "-wal"));
    shell.openUserStores();
    ASSERT_EQ(shell.prayerTitles(), "Before,Held");

    backup(backupPath, backupPath);
    shell.closeUserStores();
    closeDatabase(other);
    shell.openUserStores();
    changeData();

    shell.scripted.expectOpenFile(kRestoreDialogTitle, backupPath);
    shell.scripted.expectConfirm(restoreQuestion(backupPath), true, Dialogs::Answer::No, Dialogs::Icon::Warning);
    shell.scripted.expectMessage(QStringLiteral("Data restoration process complete."));
    commands.restore();
    EXPECT_TRUE(shell.scripted.done());
    EXPECT_EQ(shell.prayerTitles(), "Before,Held");
    EXPECT_EQ(shell.planTitles(), "Plan A");
}

// A backup whose plan file holds a plan without its day table restores; the
// restore then names that plan once and, on Yes, deletes it.
TEST_F(BackupCommandsTest, RestoredBackupWithADamagedPlanNamesItAndOffersToDeleteIt)
{
    execSQL(shell.planStore().handle(), "INSERT INTO KOVA2PlanMaster (tableName, planTitle, startDate, status) VALUES "
                                        "('{0D0E0A0D-0000-4000-8000-000000000000}', 'Lost', 0, 'active');");
    backup(backupPath, backupPath);
    changeData();

    shell.scripted.expectOpenFile(kRestoreDialogTitle, backupPath);
    shell.scripted.expectConfirm(restoreQuestion(backupPath), true, Dialogs::Answer::No, Dialogs::Icon::Warning);
    shell.scripted.expectMessage(QStringLiteral("Data restoration process complete."));
    shell.scripted.expectConfirm(
        QStringLiteral("These reading plans are damaged and cannot be opened:\n\n"
                       "\u2022 \"Lost\": SQLite Error 1 - no such table: {0D0E0A0D-0000-4000-8000-000000000000}\n\n"
                       "They are left out of the plan lists. Your other plans and your prayers are not affected, and "
                       "restoring a backup that holds these plans brings them back.\n\n"
                       "Do you want to delete the damaged plans?"),
        true, Dialogs::Answer::No, Dialogs::Icon::Warning);
    commands.restore();
    EXPECT_TRUE(shell.scripted.done());
    EXPECT_EQ(shell.planTitles(), "Plan A");
    EXPECT_TRUE(shell.planStore().damagedPlans().empty());
}

} // namespace
} // namespace kovara::ui::test
