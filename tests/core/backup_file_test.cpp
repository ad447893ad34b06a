#include "core/app/backup_file.h"
#include "core/prayer/prayer_store.h"

#include "fixtures.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <cstring>
#include <fcntl.h>
#include <fstream>
#include <future>
#include <iterator>
#include <limits>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <zlib.h>

namespace kovara::core {
namespace {

using test::messageOf;
using test::TempDir;
using Bytes = std::string;
namespace fs = std::filesystem;

Bytes readBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), {});
}

void writeBytes(const std::string& path, const Bytes& bytes)
{
    std::ofstream(path, std::ios::binary | std::ios::trunc).write(bytes.data(), std::streamsize(bytes.size()));
}

std::int64_t int64At(const Bytes& bytes, std::size_t at)
{
    std::uint64_t v = 0;
    for (int i = 7; i >= 0; --i)
        v = (v << 8) | static_cast<unsigned char>(bytes[at + i]);
    return static_cast<std::int64_t>(v);
}

void putInt64At(Bytes& bytes, std::size_t at, std::int64_t value)
{
    for (int i = 0; i < 8; ++i)
        bytes[at + i] = static_cast<char>(static_cast<std::uint64_t>(value) >> (8 * i));
}

// A database holding the named table and `rows` rows of a label (and, when
// fillerBytes is given, random filler so the file is large and compresses badly).
void makeDatabase(const std::string& path, const std::string& table, const std::string& label, int rows,
                  int fillerBytes = 0)
{
    fs::remove(path);
    sqlite3* db = nullptr;
    openDatabase(path, db);
    execSQL(db, format("BEGIN; CREATE TABLE %s (id INTEGER PRIMARY KEY, label TEXT, filler BLOB);", table));
    const std::string filler = fillerBytes > 0 ? format("randomblob(%d)", fillerBytes) : "NULL";
    for (int i = 0; i < rows; ++i)
        execSQL(db, format("INSERT INTO %s (label, filler) VALUES ('%s %d', %s);", table, label, i, filler));
    execSQL(db, "COMMIT;");
    closeDatabase(db);
}

// Inflates exactly the given slice as one complete zlib stream; empty
// optional-like result (ok=false) when the slice is not exactly one stream.
bool inflateSlice(const Bytes& slice, Bytes& out)
{
    z_stream z{};
    inflateInit(&z);
    z.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(slice.data()));
    z.avail_in = static_cast<uInt>(slice.size());
    char buffer[4096];
    int rc;
    do {
        z.next_out = reinterpret_cast<Bytef*>(buffer);
        z.avail_out = sizeof buffer;
        rc = inflate(&z, Z_NO_FLUSH);
        out.append(buffer, sizeof buffer - z.avail_out);
    } while (rc == Z_OK);
    inflateEnd(&z);
    return rc == Z_STREAM_END && z.avail_in == 0;
}

Bytes deflate(const Bytes& data)
{
    uLongf size = compressBound(static_cast<uLong>(data.size()));
    Bytes out(size, '\0');
    compress2(reinterpret_cast<Bytef*>(out.data()), &size, reinterpret_cast<const Bytef*>(data.data()),
              static_cast<uLong>(data.size()), 9);
    out.resize(size);
    return out;
}

// A well-formed backup file around any two images, for images the backup
// writer itself would refuse to pack.
Bytes packBackup(const Bytes& prayers, const Bytes& plans)
{
    BackupHeader header;
    header.signature = kBackupSignature;
    header.version = kBackupVersion;
    const Bytes first = deflate(prayers), second = deflate(plans);
    header.prayersOffset = kBackupHeaderSize;
    header.prayersSize = std::int64_t(prayers.size());
    header.plansOffset = kBackupHeaderSize + std::int64_t(first.size());
    header.plansSize = std::int64_t(plans.size());
    const auto bytes = encodeBackupHeader(header);
    return Bytes(bytes.begin(), bytes.end()) + first + second;
}

// The bytes of a database file taken while a write transaction on it is open
// and has spilled part of its changes into the file (the rest, and the way
// back, only in its journal, which a copy of the file leaves behind).
Bytes copyTakenMidTransaction(const std::string& path)
{
    sqlite3* db = nullptr;
    openDatabase(path, db);
    execSQL(db, "PRAGMA cache_size=2;");
    execSQL(db, "BEGIN;");
    execSQL(db, "DELETE FROM prayerTracker WHERE id % 3 = 0;");
    for (int i = 0; i < 200; ++i)
        execSQL(db, format("INSERT INTO prayerTracker (label, filler) VALUES ('new %d', randomblob(700));", i));
    const Bytes copy = readBytes(path);
    EXPECT_TRUE(std::filesystem::exists(path + "-journal"));
    execSQL(db, "ROLLBACK;");
    closeDatabase(db);
    return copy;
}

class BackupFileTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        dbs.prayersPath = dir.file("prayers.kova2");
        dbs.plansPath = dir.file("userreadplans.kova2");
        makeDatabase(dbs.prayersPath, "prayerTracker", "prayer", 40);
        makeDatabase(dbs.plansPath, "KOVA2PlanMaster", "plan", 25);
        prayersBefore = readBytes(dbs.prayersPath);
        plansBefore = readBytes(dbs.plansPath);
    }

    // Replaces both databases with other content (what the user did after
    // the backup) and remembers it.
    void changeData()
    {
        makeDatabase(dbs.prayersPath, "prayerTracker", "changed", 3);
        makeDatabase(dbs.plansPath, "KOVA2PlanMaster", "changed", 2);
        prayersNow = readBytes(dbs.prayersPath);
        plansNow = readBytes(dbs.plansPath);
    }

    void expectCurrent(const Bytes& prayers, const Bytes& plans)
    {
        EXPECT_TRUE(readBytes(dbs.prayersPath) == prayers);
        EXPECT_TRUE(readBytes(dbs.plansPath) == plans);
    }

    void expectNoLeftovers()
    {
        EXPECT_FALSE(fs::exists(dbs.prayersPath + ".restored"));
        EXPECT_FALSE(fs::exists(dbs.plansPath + ".restored"));
        EXPECT_FALSE(fs::exists(dbs.prayersPath + ".restore-commit"));
        EXPECT_FALSE(fs::exists(dbs.prayersPath + ".restored-journal"));
    }

    TempDir dir;
    UserDatabases dbs;
    Bytes prayersBefore, plansBefore, prayersNow, plansNow;
    const sys_seconds created = makeMoment(2024, 3, 5, 14, 30, 0);
};

TEST_F(BackupFileTest, WritesTheHeaderAndTwoContiguousLevel9Streams)
{
    const std::string backup = dir.file("a.kova2bak");
    writeBackupFile(backup, dbs, created);
    const Bytes file = readBytes(backup);
    ASSERT_GT(file.size(), 90u);

    Bytes signature(46, '\0');
    std::memcpy(signature.data(), "Kovara backup [schema 2.0]", 26);
    EXPECT_EQ(file.substr(0, 46), signature);
    const std::int64_t plansOffset = int64At(file, 54);
    EXPECT_EQ(int64At(file, 46), 90);
    EXPECT_EQ(int64At(file, 62), std::int64_t(prayersBefore.size()));
    EXPECT_EQ(int64At(file, 70), std::int64_t(plansBefore.size()));
    double stamp;
    std::memcpy(&stamp, &file[78], 8);
    EXPECT_EQ(stamp, toDayCount(created)); // the day count of the moment
    EXPECT_EQ(file.substr(86, 4), Bytes("\x14\0\0\0", 4));

    // Each section is exactly one zlib stream with the level-9 header, and
    // nothing follows the plans section.
    EXPECT_EQ(file.substr(90, 2), "\x78\xDA");
    EXPECT_EQ(file.substr(std::size_t(plansOffset), 2), "\x78\xDA");
    Bytes prayers, plans;
    EXPECT_TRUE(inflateSlice(file.substr(90, std::size_t(plansOffset) - 90), prayers));
    EXPECT_TRUE(inflateSlice(file.substr(std::size_t(plansOffset)), plans));
    EXPECT_TRUE(prayers == prayersBefore);
    EXPECT_TRUE(plans == plansBefore);
}

TEST_F(BackupFileTest, RestoreGivesBothDatabasesBackAndKeepsTheReplacedOnesAsOld)
{
    const std::string backup = dir.file("a.kova2bak");
    std::int64_t lastDone = -1, lastTotal = 0;
    writeBackupFile(backup, dbs, created, [&](std::int64_t done, std::int64_t total) {
        EXPECT_GE(done, lastDone);
        lastDone = done;
        lastTotal = total;
    });
    EXPECT_EQ(lastDone, lastTotal);
    changeData();

    ASSERT_EQ(checkBackupFile(backup), BackupCheck::Valid);
    restoreBackupFiles(backup, dbs);
    expectCurrent(prayersBefore, plansBefore);
    EXPECT_TRUE(readBytes(dbs.prayersPath + ".old") == prayersNow);
    EXPECT_TRUE(readBytes(dbs.plansPath + ".old") == plansNow);
    expectNoLeftovers();

    // A second restore replaces the .old files.
    restoreBackupFiles(backup, dbs);
    expectCurrent(prayersBefore, plansBefore);
    EXPECT_TRUE(readBytes(dbs.prayersPath + ".old") == prayersBefore);
}

TEST_F(BackupFileTest, HeaderCheck)
{
    const std::string good = dir.file("good.kova2bak");
    writeBackupFile(good, dbs, created);
    const Bytes valid = readBytes(good);

    struct Case {
        const char* name;
        std::function<Bytes(Bytes)> damage;
        BackupCheck expected;
    };
    const Case cases[] = {
        {"as written", [](Bytes b) { return b; }, BackupCheck::Valid},
        {"junk after the signature's zero byte",
         [](Bytes b) { return b.replace(27, 19, Bytes(19, '\x7F')); }, BackupCheck::Valid},
        {"shorter than a header", [](Bytes b) { return b.substr(0, 89); }, BackupCheck::NotBackup},
        {"empty file", [](Bytes) { return Bytes(); }, BackupCheck::NotBackup},
        {"signature in other case", [](Bytes b) { return b.replace(0, 1, "k"); }, BackupCheck::NotBackup},
        {"signature without its zero byte", [](Bytes b) { return b.replace(26, 1, " "); }, BackupCheck::NotBackup},
        {"version 21", [](Bytes b) { return b.replace(86, 1, "\x15"); }, BackupCheck::NotBackup},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string path = dir.file("case.kova2bak");
        writeBytes(path, c.damage(valid));
        EXPECT_EQ(checkBackupFile(path), c.expected);
    }
    EXPECT_EQ(checkBackupFile(dir.file("missing.kova2bak")), BackupCheck::CannotOpen);
    EXPECT_EQ(backupCheckMessage(BackupCheck::CannotOpen, "/x/b.kova2bak"), "Unable to open /x/b.kova2bak");
    EXPECT_EQ(backupCheckMessage(BackupCheck::NotBackup, "/x/b.kova2bak"),
              "/x/b.kova2bak is not a valid Kovara backup file.");
}

TEST_F(BackupFileTest, DamagedBackupRestoresNothingAndLosesNothing)
{
    const std::string good = dir.file("good.kova2bak");
    writeBackupFile(good, dbs, created);
    const Bytes valid = readBytes(good);
    const std::int64_t plansOffset = int64At(valid, 54);
    const std::int64_t prayersSize = int64At(valid, 62);

    // Backups whose images are fine zlib data but not sound databases: not
    // databases at all, a database with one damaged page, and one copied in
    // the middle of a write transaction.
    const std::string otherDb = dir.file("other.kova2");
    makeDatabase(otherDb, "somethingElse", "x", 1);
    const Bytes notDatabases = packBackup("just some text", readBytes(otherDb));
    makeDatabase(otherDb, "prayerTracker", "big", 60, 500);
    Bytes damagedPage = readBytes(otherDb);
    ASSERT_GT(damagedPage.size(), 8264u);
    damagedPage.replace(8200, 64, Bytes(64, '\xFF'));
    const Bytes pageDamaged = packBackup(damagedPage, plansBefore);
    const Bytes midTransaction = packBackup(copyTakenMidTransaction(otherDb), plansBefore);
    // A sound database with a page more than its header counts.
    const Bytes longerThanItsHeader = packBackup(readBytes(otherDb) + Bytes(4096, '\0'), plansBefore);

    auto setAt = [](std::size_t at, std::int64_t value) {
        return [=](Bytes b) {
            putInt64At(b, at, value);
            return b;
        };
    };
    struct Case {
        const char* name;
        std::function<Bytes(Bytes)> damage;
    };
    const Case cases[] = {
        {"plans section cut short", [](Bytes b) { return b.substr(0, b.size() - 10); }},
        {"prayers section cut short", [](Bytes b) { return b.substr(0, 100); }},
        {"header only", [](Bytes b) { return b.substr(0, 90); }},
        {"damaged deflate data", [](Bytes b) {
             for (std::size_t i = 120; i < 160; ++i)
                 b[i] = static_cast<char>(b[i] ^ 0x5A);
             return b;
         }},
        {"negative prayers offset", setAt(46, -1)},
        {"prayers offset inside the header", setAt(46, 0)},
        {"plans offset past the end", setAt(54, std::int64_t(1) << 40)},
        {"negative plans offset", setAt(54, std::numeric_limits<std::int64_t>::min())},
        {"negative prayers size", setAt(62, -5)},
        {"huge plans size", setAt(70, std::numeric_limits<std::int64_t>::max())},
        {"prayers size one short", setAt(62, prayersSize - 1)},
        {"plans offset at the prayers section", setAt(54, 90)},
        {"plans offset one off", setAt(54, plansOffset + 1)},
        {"wrong signature", [](Bytes b) { return b.replace(0, 6, "Kovala"); }},
        {"images that are not the databases", [&](Bytes) { return notDatabases; }},
        {"prayers image with a damaged page", [&](Bytes) { return pageDamaged; }},
        {"prayers image copied in the middle of a write", [&](Bytes) { return midTransaction; }},
        {"prayers image longer than its header says", [&](Bytes) { return longerThanItsHeader; }},
    };

    changeData();
    writeBytes(dbs.prayersPath + ".old", "earlier prayers");
    writeBytes(dbs.plansPath + ".old", "earlier plans");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string path = dir.file("case.kova2bak");
        writeBytes(path, c.damage(valid));
        const std::string damaged =
            "An error occurred while restoring backup data. Operation aborted. Your backup file is probably damaged.";
        // The check made before the reader is asked finds what the restore would.
        EXPECT_EQ(messageOf([&] { checkBackupContents(path, dbs); }), damaged);
        EXPECT_FALSE(fs::exists(dbs.prayersPath + ".restore-check"));
        EXPECT_FALSE(fs::exists(dbs.plansPath + ".restore-check"));
        EXPECT_EQ(messageOf([&] { restoreBackupFiles(path, dbs); }), damaged);
        expectCurrent(prayersNow, plansNow);
        EXPECT_EQ(readBytes(dbs.prayersPath + ".old"), "earlier prayers");
        EXPECT_EQ(readBytes(dbs.plansPath + ".old"), "earlier plans");
        expectNoLeftovers();
    }
}

TEST_F(BackupFileTest, FailedBackupLeavesTheEarlierFileOfThatName)
{
    const std::string backup = dir.file("a.kova2bak");
    writeBackupFile(backup, dbs, created);
    const Bytes earlier = readBytes(backup);

    // The plans "file" is a folder: the prayers section is already written
    // when reading fails.
    UserDatabases broken = dbs;
    broken.plansPath = dir.file("folder");
    fs::create_directory(broken.plansPath);
    EXPECT_EQ(messageOf([&] { writeBackupFile(backup, broken, created + std::chrono::days{1}); }).rfind("Unable to read " + broken.plansPath, 0),
              0u);

    broken = dbs;
    broken.prayersPath = dir.file("missing.kova2");
    EXPECT_EQ(messageOf([&] { writeBackupFile(backup, broken, created + std::chrono::days{1}); }),
              "Unable to read " + broken.prayersPath + ": No such file or directory");

    EXPECT_EQ(messageOf([&] { writeBackupFile(dir.file("no/such/folder/b.kova2bak"), dbs, created); }).rfind(
                  "Unable to create backup file " + dir.file("no/such/folder/b.kova2bak"), 0),
              0u);

    EXPECT_EQ(messageOf([&] { writeBackupFile(dbs.plansPath, dbs, created); }),
              format("Unable to create backup file %s: it is the database %s itself", dbs.plansPath, dbs.plansPath));
    EXPECT_TRUE(readBytes(dbs.plansPath) == plansBefore);

    EXPECT_TRUE(readBytes(backup) == earlier);
    EXPECT_FALSE(fs::exists(backup + ".part"));
}

// Another program holds a write transaction on the prayers database whose
// changes have spilled into the file. The backup waits for it; when it ends in
// time the backup holds its committed data, and when it does not the backup
// fails with a clear message and the earlier file stays.
TEST_F(BackupFileTest, BackupWaitsForAWriterAndNeverCopiesHalfAWrite)
{
    const std::string backup = dir.file("a.kova2bak");
    writeBackupFile(backup, dbs, created);
    const Bytes earlier = readBytes(backup);

    struct Writer {
        sqlite3* db = nullptr;
        explicit Writer(const std::string& path)
        {
            openDatabase(path, db);
            execSQL(db, "PRAGMA cache_size=2; BEGIN;");
            for (int i = 0; i < 300; ++i)
                execSQL(db, format("INSERT INTO prayerTracker (label, filler) VALUES ('w %d', randomblob(600));", i));
        }
        ~Writer() { closeDatabase(db); }
    };

    {
        Writer writer(dbs.prayersPath);
        ASSERT_TRUE(fs::exists(dbs.prayersPath + "-journal"));
        EXPECT_EQ(messageOf([&] { writeBackupFile(backup, dbs, created + std::chrono::days{1}, {}, 200); }),
                  "Unable to read " + dbs.prayersPath +
                      ": another program is writing to it. Try again when it has finished.");
        EXPECT_TRUE(readBytes(backup) == earlier);
        EXPECT_FALSE(fs::exists(backup + ".part"));
        execSQL(writer.db, "ROLLBACK;");
    }

    {
        Writer writer(dbs.prayersPath);
        std::thread finish([&] {
            std::this_thread::sleep_for(std::chrono::milliseconds(300));
            execSQL(writer.db, "COMMIT;");
        });
        writeBackupFile(backup, dbs, created + std::chrono::days{2}, {}, 10000);
        finish.join();
    }
    const Bytes committed = readBytes(dbs.prayersPath);
    changeData();
    restoreBackupFiles(backup, dbs);
    EXPECT_TRUE(readBytes(dbs.prayersPath) == committed);
}

int rowCount(const std::string& path, const std::string& table)
{
    sqlite3* db = nullptr;
    openDatabase(path, db);
    int rows = -1;
    queryRow(db, format("SELECT count(*) FROM %s;", table), "count", [&](Statement& st) { rows = st.columnInt(0); });
    closeDatabase(db);
    return rows;
}

// A restore waits for another program's write to a database as a backup
// does: a write that ends in time is kept in the replaced (.old) file; one
// that does not stops the restore with the current data as it was.
TEST_F(BackupFileTest, RestoreWaitsForAWriterToFinish)
{
    const std::string backup = dir.file("a.kova2bak");
    writeBackupFile(backup, dbs, created);
    changeData();
    sqlite3* other = nullptr;
    openDatabase(dbs.plansPath, other);
    execSQL(other, "BEGIN IMMEDIATE; INSERT INTO KOVA2PlanMaster (label) VALUES ('theirs');");

    const std::string message = messageOf([&] { restoreBackupFiles(backup, dbs, {}, 200); });
    EXPECT_EQ(message, "The backup was not restored: another program is writing to " + dbs.plansPath +
                           ". Try again when it has finished.\n\nYour backup file is fine, and your current data "
                           "has not been changed.");
    expectNoLeftovers();
    execSQL(other, "COMMIT;");
    const Bytes theirs = readBytes(dbs.plansPath);
    EXPECT_FALSE(theirs == plansNow) << "their write went into the current file";

    execSQL(other, "BEGIN IMMEDIATE; INSERT INTO KOVA2PlanMaster (label) VALUES ('theirs again');");
    std::thread finish([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        execSQL(other, "COMMIT;");
    });
    restoreBackupFiles(backup, dbs, {}, 10000);
    finish.join();
    closeDatabase(other);
    expectCurrent(prayersBefore, plansBefore);
    EXPECT_EQ(rowCount(dbs.plansPath + ".old", "KOVA2PlanMaster"), 4) << "both of their rows in the replaced file";
}


// Another tool may have put a database into write-ahead log mode. Its backup
// holds every committed change, also those still only in the log while the
// other program keeps the database open, and restores as a database that
// needs no log beside it. An image packed from the main file alone (as
// earlier backups of such a database were) restores too.
TEST_F(BackupFileTest, DatabaseInWriteAheadLogModeIsBackedUpWholeAndRestores)
{
    sqlite3* other = nullptr;
    openDatabase(dbs.prayersPath, other);
    execSQL(other, "PRAGMA journal_mode=WAL; PRAGMA wal_autocheckpoint=0;");
    for (int i = 0; i < 11; ++i)
        execSQL(other, format("INSERT INTO prayerTracker (label) VALUES ('live %d');", i));
    ASSERT_TRUE(fs::exists(dbs.prayersPath + "-wal"));
    ASSERT_EQ(rowCount(dbs.prayersPath, "prayerTracker"), 51);
    const Bytes mainFileOnly = readBytes(dbs.prayersPath);

    const std::string backup = dir.file("wal.kova2bak"), earlier = dir.file("earlier.kova2bak");
    writeBackupFile(backup, dbs, created);
    writeBytes(earlier, packBackup(mainFileOnly, plansBefore));
    closeDatabase(other);

    struct Case {
        const char* name;
        std::string backup;
        int rows;
    };
    for (const Case& c : {Case{"held open by another program", backup, 51}, Case{"main file only", earlier, 40}}) {
        SCOPED_TRACE(c.name);
        changeData();
        restoreBackupFiles(c.backup, dbs);
        expectNoLeftovers();
        EXPECT_EQ(readBytes(dbs.prayersPath)[18], 1); // a rollback journal, not a log
        EXPECT_TRUE(checkRestoredImage(dbs.prayersPath, "prayerTracker"));
        EXPECT_FALSE(fs::exists(dbs.prayersPath + "-wal"));
        EXPECT_EQ(rowCount(dbs.prayersPath, "prayerTracker"), c.rows);
        EXPECT_FALSE(fs::exists(dbs.prayersPath + "-wal"));
    }

    // A database left in that mode by a tool that has closed it.
    openDatabase(dbs.prayersPath, other);
    execSQL(other, "PRAGMA journal_mode=WAL; INSERT INTO prayerTracker (label) VALUES ('one more');");
    closeDatabase(other);
    writeBackupFile(backup, dbs, created);
    changeData();
    restoreBackupFiles(backup, dbs);
    EXPECT_EQ(rowCount(dbs.prayersPath, "prayerTracker"), 41);
}

// SQLite's integrity check does not cover the full-text index: an image whose
// index is damaged is restored with the index made anew (to be built again
// from the items), never as it is.
TEST_F(BackupFileTest, RestoredPrayersImageWithADamagedSearchIndexHasItMadeAnew)
{
    const std::string source = dir.file("journal.kova2");
    {
        PrayerStore store(source);
        for (int i = 0; i < 20; ++i) {
            PrayerSave save;
            save.title = format("Item %d", i);
            save.status = PrayerStatus::Active;
            save.plainText = format("rain for field %d", i);
            store.savePrayer(store.newPrayerItem(), save);
        }
        execSQL(store.connection(), "UPDATE prayerSearch_data SET block=zeroblob(length(block)) WHERE id>10;");
    }
    const std::string backup = dir.file("a.kova2bak");
    writeBytes(backup, packBackup(readBytes(source), plansBefore));
    restoreBackupFiles(backup, dbs);
    expectNoLeftovers();

    sqlite3* db = nullptr;
    openDatabase(dbs.prayersPath, db);
    EXPECT_EQ(sqlite3_exec(db, "INSERT INTO prayerSearch(prayerSearch) VALUES('integrity-check');", nullptr, nullptr,
                           nullptr),
              SQLITE_OK);
    std::string ready;
    queryRow(db, "SELECT infoValue FROM prayerJournalInfo WHERE infoKey='searchIndex';", "info",
             [&](Statement& st) { ready = st.columnText(0); });
    EXPECT_EQ(ready, "0");
    closeDatabase(db);
    EXPECT_EQ(rowCount(dbs.prayersPath, "prayerTracker"), 20);
}

// A named pipe (or any file that is not a regular one) chosen as a backup is
// refused at once, without waiting for something to write to it.
TEST_F(BackupFileTest, NamedPipeIsRefusedWithoutWaiting)
{
    const std::string pipe = dir.file("pipe.kova2bak");
    ASSERT_EQ(::mkfifo(pipe.c_str(), 0600), 0);
    auto check = std::async(std::launch::async, [&] { return checkBackupFile(pipe); });
    auto restore = std::async(std::launch::async, [&] { return messageOf([&] { restoreBackupFiles(pipe, dbs); }); });
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
    const bool checked = check.wait_until(deadline) == std::future_status::ready;
    const bool restored = restore.wait_until(deadline) == std::future_status::ready;
    if (!checked || !restored) {
        // Let whatever waits on the pipe go, so that the test can end.
        for (int i = 0; i < 2; ++i)
            ::close(::open(pipe.c_str(), O_WRONLY | O_NONBLOCK));
    }
    ASSERT_TRUE(checked && restored) << "waited for a writer";
    EXPECT_EQ(check.get(), BackupCheck::NotBackup);
    EXPECT_EQ(restore.get(), kRestoreFailedMessage);
    expectCurrent(prayersBefore, plansBefore);
    expectNoLeftovers();
}

// A journal left beside the live database by a writer that died belongs to
// the database being replaced: it must not be rolled into the restored one.
// (The engine settles it with the replaced database when the restore takes
// that database's write lock; what is left of it goes along to the .old name.)
TEST_F(BackupFileTest, RestoreMovesAStaleJournalAsideWithTheReplacedDatabase)
{
    const std::string backup = dir.file("a.kova2bak");
    writeBackupFile(backup, dbs, created);
    changeData();
    writeBytes(dbs.prayersPath + "-journal", "journal of the replaced database");
    restoreBackupFiles(backup, dbs);
    expectCurrent(prayersBefore, plansBefore);
    EXPECT_FALSE(fs::exists(dbs.prayersPath + "-journal"));
    EXPECT_TRUE(checkRestoredImage(dbs.prayersPath, "prayerTracker"));
    EXPECT_EQ(rowCount(dbs.prayersPath + ".old", "prayerTracker"), 3) << "the replaced data, whole";
}

// A backup killed half way leaves its temporary file: the next backup to the
// same name replaces it, and it is never taken for a backup itself.
TEST_F(BackupFileTest, TemporaryFileOfAKilledBackupIsReplacedAndRefused)
{
    const std::string backup = dir.file("a.kova2bak");
    BackupHeader placeholder;
    placeholder.signature = kBackupSignature;
    placeholder.version = kBackupVersion;
    const auto header = encodeBackupHeader(placeholder);
    writeBytes(backup + ".part", Bytes(header.begin(), header.end()) + "\x78\xDA half a stream");
    EXPECT_EQ(checkBackupFile(backup + ".part"), BackupCheck::NotBackup);

    fs::permissions(backup + ".part", fs::perms::owner_read);
    writeBackupFile(backup, dbs, created);
    EXPECT_FALSE(fs::exists(backup + ".part"));
    EXPECT_EQ(checkBackupFile(backup), BackupCheck::Valid);
}

// A restore keeps the permission bits of the databases it replaces (a
// private journal stays private), and the backup itself is the owner's alone.
TEST_F(BackupFileTest, RestoreKeepsTheModesOfTheDatabases)
{
    using fs::perms;
    const std::string backup = dir.file("a.kova2bak");
    writeBackupFile(backup, dbs, created);
    EXPECT_EQ(fs::status(backup).permissions(), perms::owner_read | perms::owner_write);

    const mode_t oldMask = ::umask(0);
    fs::permissions(dbs.prayersPath, perms::owner_read | perms::owner_write);
    fs::permissions(dbs.plansPath, perms::owner_read | perms::owner_write | perms::group_read);
    restoreBackupFiles(backup, dbs);
    ::umask(oldMask);
    EXPECT_EQ(fs::status(dbs.prayersPath).permissions(), perms::owner_read | perms::owner_write);
    EXPECT_EQ(fs::status(dbs.plansPath).permissions(), perms::owner_read | perms::owner_write | perms::group_read);
}

// A backup into a folder deletes the temporary files that killed backups left
// there under other names, but not another program's .part files nor the
// one a backup of another copy is writing now.
TEST_F(BackupFileTest, BackupRemovesStaleTemporaryFilesOfKilledBackups)
{
    BackupHeader placeholder;
    placeholder.signature = kBackupSignature;
    placeholder.version = kBackupVersion;
    const auto header = encodeBackupHeader(placeholder);
    const Bytes killed = Bytes(header.begin(), header.end()) + "\x78\xDA half a stream";
    writeBytes(dir.file("monday.kova2bak.part"), killed);
    writeBytes(dir.file("named otherwise.bak.part"), killed);
    writeBytes(dir.file("download.iso.part"), "another program's download");
    writeBytes(dir.file("Kovara backup.part"), "Kovara backup"); // a signature cut short is not ours
    writeBytes(dir.file("writing.kova2bak.part"), killed);
    const int writing = ::open(dir.file("writing.kova2bak.part").c_str(), O_RDONLY);
    ASSERT_EQ(::flock(writing, LOCK_EX), 0);

    writeBackupFile(dir.file("tuesday.kova2bak"), dbs, created);
    EXPECT_FALSE(fs::exists(dir.file("monday.kova2bak.part")));
    EXPECT_FALSE(fs::exists(dir.file("named otherwise.bak.part")));
    EXPECT_FALSE(fs::exists(dir.file("tuesday.kova2bak.part")));
    EXPECT_TRUE(fs::exists(dir.file("download.iso.part")));
    EXPECT_TRUE(fs::exists(dir.file("Kovara backup.part")));
    EXPECT_TRUE(fs::exists(dir.file("writing.kova2bak.part"))) << "a backup still being written";
    ::close(writing);
}

// The plans database cannot be moved aside (its .old name is taken by a
// folder) after the prayers image is already in: the prayers are swapped back.
TEST_F(BackupFileTest, ReplaceFailingHalfWayPutsTheCurrentDataBack)
{
    const std::string backup = dir.file("a.kova2bak");
    writeBackupFile(backup, dbs, created);
    changeData();
    fs::create_directories(dbs.plansPath + ".old/busy");
    EXPECT_EQ(messageOf([&] { restoreBackupFiles(backup, dbs); }), kRestoreFailedMessage);
    expectCurrent(prayersNow, plansNow);
    expectNoLeftovers();
}

// Every point at which the replacing renames can be cut off, followed by the
// start-up recovery: the result is always the old pair or the restored pair.
TEST_F(BackupFileTest, RecoveryAfterAnInterruptionLeavesOldOrRestoredData)
{
    const std::string backup = dir.file("a.kova2bak");
    writeBackupFile(backup, dbs, created);
    changeData();
    const std::string P1 = dbs.prayersPath, P2 = dbs.plansPath, marker = P1 + ".restore-commit";
    const std::vector<std::function<void()>> steps = {
        [&] { writeBytes(marker, ""); },
        [&] { fs::rename(P1, P1 + ".old"); },
        [&] { fs::rename(P1 + ".restored", P1); },
        [&] { fs::rename(P2, P2 + ".old"); },
        [&] { fs::rename(P2 + ".restored", P2); },
        [&] { fs::remove(marker); },
    };
    for (std::size_t done = 0; done <= steps.size(); ++done) {
        SCOPED_TRACE(done);
        changeData();
        unpackBackupFile(backup, dbs);
        for (std::size_t i = 0; i < done; ++i)
            steps[i]();
        recoverInterruptedRestore(dbs);
        if (done == 0)
            expectCurrent(prayersNow, plansNow);
        else
            expectCurrent(prayersBefore, plansBefore);
        expectNoLeftovers();
    }

    // Killed while the first image was still being written.
    changeData();
    writeBytes(P1 + ".restored", "half an ima");
    EXPECT_TRUE(recoverInterruptedRestore(dbs));
    expectCurrent(prayersNow, plansNow);
    expectNoLeftovers();
    EXPECT_FALSE(recoverInterruptedRestore(dbs));
}

// A restore started while an earlier one lies half done on disk (committed,
// the prayers image swapped in, the plans image not yet): the earlier one is
// finished first, so the pair never mixes the two backups or the data before.
TEST_F(BackupFileTest, RestoreOverAHalfFinishedRestoreFinishesThatOneFirst)
{
    const std::string first = dir.file("first.kova2bak"), second = dir.file("second.kova2bak"),
                      damaged = dir.file("damaged.kova2bak");
    writeBackupFile(first, dbs, created);
    changeData();
    writeBackupFile(second, dbs, created);
    writeBytes(damaged, "not a backup at all");
    const std::string P1 = dbs.prayersPath, P2 = dbs.plansPath;

    for (const bool secondIsDamaged : {true, false}) {
        SCOPED_TRACE(secondIsDamaged ? "damaged" : "valid");
        changeData();
        unpackBackupFile(first, dbs);
        writeBytes(P1 + ".restore-commit", "");
        fs::rename(P1, P1 + ".old");
        fs::rename(P1 + ".restored", P1);

        if (secondIsDamaged) {
            EXPECT_EQ(messageOf([&] { restoreBackupFiles(damaged, dbs); }), kRestoreFailedMessage);
            expectCurrent(prayersBefore, plansBefore);
        } else {
            restoreBackupFiles(second, dbs);
            expectCurrent(prayersNow, plansNow);
            EXPECT_TRUE(readBytes(P1 + ".old") == prayersBefore);
            EXPECT_TRUE(readBytes(P2 + ".old") == plansBefore);
        }
        expectNoLeftovers();
    }
}

// The real thing: a restore of a few megabytes killed at different moments.
TEST_F(BackupFileTest, RestoreKilledAtAnyMomentRecoversToOldOrRestoredData)
{
    makeDatabase(dbs.prayersPath, "prayerTracker", "big", 3000, 1500);
    makeDatabase(dbs.plansPath, "KOVA2PlanMaster", "big", 500, 1500);
    prayersBefore = readBytes(dbs.prayersPath);
    plansBefore = readBytes(dbs.plansPath);
    const std::string backup = dir.file("big.kova2bak");
    writeBackupFile(backup, dbs, created);

    for (int delayMs : {0, 2, 5, 10, 20, 40, 80, 160, 400}) {
        SCOPED_TRACE(delayMs);
        changeData();
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            try {
                restoreBackupFiles(backup, dbs);
            } catch (...) {
                ::_exit(1);
            }
            ::_exit(0);
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(delayMs));
        ::kill(child, SIGKILL);
        int status = 0;
        ::waitpid(child, &status, 0);
        ASSERT_FALSE(WIFEXITED(status) && WEXITSTATUS(status) != 0);

        recoverInterruptedRestore(dbs);
        const Bytes p1 = readBytes(dbs.prayersPath), p2 = readBytes(dbs.plansPath);
        const bool old = p1 == prayersNow && p2 == plansNow;
        const bool restored = p1 == prayersBefore && p2 == plansBefore;
        EXPECT_TRUE(old || restored);
        expectNoLeftovers();
    }
}

} // namespace
} // namespace kovara::core
