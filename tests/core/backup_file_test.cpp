#include "app/backup_file.h"

#include "fixtures.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <cstring>
#include <fstream>
#include <iterator>
#include <limits>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <zlib.h>

namespace kovara {
namespace {

using test::MessageOf;
using test::TempDir;
using Bytes = std::string;
namespace fs = std::filesystem;

Bytes ReadBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), {});
}

void WriteBytes(const std::string& path, const Bytes& bytes)
{
    std::ofstream(path, std::ios::binary | std::ios::trunc).write(bytes.data(), std::streamsize(bytes.size()));
}

std::int64_t Int64At(const Bytes& bytes, std::size_t at)
{
    std::uint64_t v = 0;
    for (int i = 7; i >= 0; --i)
        v = (v << 8) | static_cast<unsigned char>(bytes[at + i]);
    return static_cast<std::int64_t>(v);
}

void PutInt64At(Bytes& bytes, std::size_t at, std::int64_t value)
{
    for (int i = 0; i < 8; ++i)
        bytes[at + i] = static_cast<char>(static_cast<std::uint64_t>(value) >> (8 * i));
}

// A database holding the named table and `rows` rows of a label (and, when
// fillerBytes is given, random filler so the file is large and compresses badly).
void MakeDatabase(const std::string& path, const std::string& table, const std::string& label, int rows,
                  int fillerBytes = 0)
{
    fs::remove(path);
    sqlite3* db = nullptr;
    OpenDatabase(path, db);
    ExecSQL(db, Format("BEGIN; CREATE TABLE %s (id INTEGER PRIMARY KEY, label TEXT, filler BLOB);", table));
    const std::string filler = fillerBytes > 0 ? Format("randomblob(%d)", fillerBytes) : "NULL";
    for (int i = 0; i < rows; ++i)
        ExecSQL(db, Format("INSERT INTO %s (label, filler) VALUES ('%s %d', %s);", table, label, i, filler));
    ExecSQL(db, "COMMIT;");
    CloseDatabase(db);
}

// Inflates exactly the given slice as one complete zlib stream; empty
// optional-like result (ok=false) when the slice is not exactly one stream.
bool InflateSlice(const Bytes& slice, Bytes& out)
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

Bytes Deflate(const Bytes& data)
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
Bytes PackBackup(const Bytes& prayers, const Bytes& plans)
{
    TBackupHeader header;
    header.Signature = kBackupSignature;
    header.Version = kBackupVersion;
    const Bytes first = Deflate(prayers), second = Deflate(plans);
    header.PrayersOffset = kBackupHeaderSize;
    header.PrayersSize = std::int64_t(prayers.size());
    header.PlansOffset = kBackupHeaderSize + std::int64_t(first.size());
    header.PlansSize = std::int64_t(plans.size());
    const auto bytes = EncodeBackupHeader(header);
    return Bytes(bytes.begin(), bytes.end()) + first + second;
}

// The bytes of a database file taken while a write transaction on it is open
// and has spilled part of its changes into the file (the rest, and the way
// back, only in its journal, which a copy of the file leaves behind).
Bytes CopyTakenMidTransaction(const std::string& path)
{
    sqlite3* db = nullptr;
    OpenDatabase(path, db);
    ExecSQL(db, "PRAGMA cache_size=2;");
    ExecSQL(db, "BEGIN;");
    ExecSQL(db, "DELETE FROM prayerTracker WHERE id % 3 = 0;");
    for (int i = 0; i < 200; ++i)
        ExecSQL(db, Format("INSERT INTO prayerTracker (label, filler) VALUES ('new %d', randomblob(700));", i));
    const Bytes copy = ReadBytes(path);
    EXPECT_TRUE(std::filesystem::exists(path + "-journal"));
    ExecSQL(db, "ROLLBACK;");
    CloseDatabase(db);
    return copy;
}

class BackupFileTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        dbs.PrayersPath = dir.File("prayers.kova2");
        dbs.PlansPath = dir.File("userreadplans.kova2");
        MakeDatabase(dbs.PrayersPath, "prayerTracker", "prayer", 40);
        MakeDatabase(dbs.PlansPath, "KOVA2PlanMaster", "plan", 25);
        prayersBefore = ReadBytes(dbs.PrayersPath);
        plansBefore = ReadBytes(dbs.PlansPath);
    }

    // Replaces both databases with other content (what the user did after
    // the backup) and remembers it.
    void ChangeData()
    {
        MakeDatabase(dbs.PrayersPath, "prayerTracker", "changed", 3);
        MakeDatabase(dbs.PlansPath, "KOVA2PlanMaster", "changed", 2);
        prayersNow = ReadBytes(dbs.PrayersPath);
        plansNow = ReadBytes(dbs.PlansPath);
    }

    void ExpectCurrent(const Bytes& prayers, const Bytes& plans)
    {
        EXPECT_TRUE(ReadBytes(dbs.PrayersPath) == prayers);
        EXPECT_TRUE(ReadBytes(dbs.PlansPath) == plans);
    }

    void ExpectNoLeftovers()
    {
        EXPECT_FALSE(fs::exists(dbs.PrayersPath + ".restored"));
        EXPECT_FALSE(fs::exists(dbs.PlansPath + ".restored"));
        EXPECT_FALSE(fs::exists(dbs.PrayersPath + ".restore-commit"));
        EXPECT_FALSE(fs::exists(dbs.PrayersPath + ".restored-journal"));
    }

    TempDir dir;
    TUserDatabases dbs;
    Bytes prayersBefore, plansBefore, prayersNow, plansNow;
    const TDateTime created = EncodeDateTime(2024, 3, 5, 14, 30, 0);
};

TEST_F(BackupFileTest, WritesTheHeaderAndTwoContiguousLevel9Streams)
{
    const std::string backup = dir.File("a.kova2bak");
    WriteBackupFile(backup, dbs, created);
    const Bytes file = ReadBytes(backup);
    ASSERT_GT(file.size(), 90u);

    Bytes signature(46, '\0');
    std::memcpy(signature.data(), "Kovara backup [schema 2.0]", 26);
    EXPECT_EQ(file.substr(0, 46), signature);
    const std::int64_t plansOffset = Int64At(file, 54);
    EXPECT_EQ(Int64At(file, 46), 90);
    EXPECT_EQ(Int64At(file, 62), std::int64_t(prayersBefore.size()));
    EXPECT_EQ(Int64At(file, 70), std::int64_t(plansBefore.size()));
    double stamp;
    std::memcpy(&stamp, &file[78], 8);
    EXPECT_EQ(stamp, created);
    EXPECT_EQ(file.substr(86, 4), Bytes("\x14\0\0\0", 4));

    // Each section is exactly one zlib stream with the level-9 header, and
    // nothing follows the plans section.
    EXPECT_EQ(file.substr(90, 2), "\x78\xDA");
    EXPECT_EQ(file.substr(std::size_t(plansOffset), 2), "\x78\xDA");
    Bytes prayers, plans;
    EXPECT_TRUE(InflateSlice(file.substr(90, std::size_t(plansOffset) - 90), prayers));
    EXPECT_TRUE(InflateSlice(file.substr(std::size_t(plansOffset)), plans));
    EXPECT_TRUE(prayers == prayersBefore);
    EXPECT_TRUE(plans == plansBefore);
}

TEST_F(BackupFileTest, RestoreGivesBothDatabasesBackAndKeepsTheReplacedOnesAsOld)
{
    const std::string backup = dir.File("a.kova2bak");
    std::int64_t lastDone = -1, lastTotal = 0;
    WriteBackupFile(backup, dbs, created, [&](std::int64_t done, std::int64_t total) {
        EXPECT_GE(done, lastDone);
        lastDone = done;
        lastTotal = total;
    });
    EXPECT_EQ(lastDone, lastTotal);
    ChangeData();

    ASSERT_EQ(CheckBackupFile(backup), BackupCheck::Valid);
    RestoreBackupFiles(backup, dbs);
    ExpectCurrent(prayersBefore, plansBefore);
    EXPECT_TRUE(ReadBytes(dbs.PrayersPath + ".old") == prayersNow);
    EXPECT_TRUE(ReadBytes(dbs.PlansPath + ".old") == plansNow);
    ExpectNoLeftovers();

    // A second restore replaces the .old files.
    RestoreBackupFiles(backup, dbs);
    ExpectCurrent(prayersBefore, plansBefore);
    EXPECT_TRUE(ReadBytes(dbs.PrayersPath + ".old") == prayersBefore);
}

TEST_F(BackupFileTest, HeaderCheck)
{
    const std::string good = dir.File("good.kova2bak");
    WriteBackupFile(good, dbs, created);
    const Bytes valid = ReadBytes(good);

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
        const std::string path = dir.File("case.kova2bak");
        WriteBytes(path, c.damage(valid));
        EXPECT_EQ(CheckBackupFile(path), c.expected);
    }
    EXPECT_EQ(CheckBackupFile(dir.File("missing.kova2bak")), BackupCheck::CannotOpen);
    EXPECT_EQ(BackupCheckMessage(BackupCheck::CannotOpen, "/x/b.kova2bak"), "Unable to open /x/b.kova2bak");
    EXPECT_EQ(BackupCheckMessage(BackupCheck::NotBackup, "/x/b.kova2bak"),
              "/x/b.kova2bak is not a valid Kovara backup file.");
}

TEST_F(BackupFileTest, DamagedBackupRestoresNothingAndLosesNothing)
{
    const std::string good = dir.File("good.kova2bak");
    WriteBackupFile(good, dbs, created);
    const Bytes valid = ReadBytes(good);
    const std::int64_t plansOffset = Int64At(valid, 54);
    const std::int64_t prayersSize = Int64At(valid, 62);

    // Backups whose images are fine zlib data but not sound databases: not
    // databases at all, a database with one damaged page, and one copied in
    // the middle of a write transaction.
    const std::string otherDb = dir.File("other.kova2");
    MakeDatabase(otherDb, "somethingElse", "x", 1);
    const Bytes notDatabases = PackBackup("just some text", ReadBytes(otherDb));
    MakeDatabase(otherDb, "prayerTracker", "big", 60, 500);
    Bytes damagedPage = ReadBytes(otherDb);
    ASSERT_GT(damagedPage.size(), 8264u);
    damagedPage.replace(8200, 64, Bytes(64, '\xFF'));
    const Bytes pageDamaged = PackBackup(damagedPage, plansBefore);
    const Bytes midTransaction = PackBackup(CopyTakenMidTransaction(otherDb), plansBefore);

    auto setAt = [](std::size_t at, std::int64_t value) {
        return [=](Bytes b) {
            PutInt64At(b, at, value);
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
    };

    ChangeData();
    WriteBytes(dbs.PrayersPath + ".old", "earlier prayers");
    WriteBytes(dbs.PlansPath + ".old", "earlier plans");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string path = dir.File("case.kova2bak");
        WriteBytes(path, c.damage(valid));
        EXPECT_EQ(MessageOf([&] { RestoreBackupFiles(path, dbs); }),
                  "An error occurred while restoring backup data. Operation aborted. Your backup file is probably "
                  "damaged.");
        ExpectCurrent(prayersNow, plansNow);
        EXPECT_EQ(ReadBytes(dbs.PrayersPath + ".old"), "earlier prayers");
        EXPECT_EQ(ReadBytes(dbs.PlansPath + ".old"), "earlier plans");
        ExpectNoLeftovers();
    }
}

TEST_F(BackupFileTest, FailedBackupLeavesTheEarlierFileOfThatName)
{
    const std::string backup = dir.File("a.kova2bak");
    WriteBackupFile(backup, dbs, created);
    const Bytes earlier = ReadBytes(backup);

    // The plans "file" is a folder: the prayers section is already written
    // when reading fails.
    TUserDatabases broken = dbs;
    broken.PlansPath = dir.File("folder");
    fs::create_directory(broken.PlansPath);
    EXPECT_EQ(MessageOf([&] { WriteBackupFile(backup, broken, created + 1); }).rfind("Unable to read " + broken.PlansPath, 0),
              0u);

    broken = dbs;
    broken.PrayersPath = dir.File("missing.kova2");
    EXPECT_EQ(MessageOf([&] { WriteBackupFile(backup, broken, created + 1); }),
              "Unable to read " + broken.PrayersPath + ": No such file or directory");

    EXPECT_EQ(MessageOf([&] { WriteBackupFile(dir.File("no/such/folder/b.kova2bak"), dbs, created); }).rfind(
                  "Unable to create backup file " + dir.File("no/such/folder/b.kova2bak"), 0),
              0u);

    EXPECT_EQ(MessageOf([&] { WriteBackupFile(dbs.PlansPath, dbs, created); }),
              Format("Unable to create backup file %s: it is the database %s itself", dbs.PlansPath, dbs.PlansPath));
    EXPECT_TRUE(ReadBytes(dbs.PlansPath) == plansBefore);

    EXPECT_TRUE(ReadBytes(backup) == earlier);
    EXPECT_FALSE(fs::exists(backup + ".part"));
}

// Another program holds a write transaction on the prayers database whose
// changes have spilled into the file. The backup waits for it; when it ends in
// time the backup holds its committed data, and when it does not the backup
// fails with a clear message and the earlier file stays.
TEST_F(BackupFileTest, BackupWaitsForAWriterAndNeverCopiesHalfAWrite)
{
    const std::string backup = dir.File("a.kova2bak");
    WriteBackupFile(backup, dbs, created);
    const Bytes earlier = ReadBytes(backup);

    struct Writer {
        sqlite3* db = nullptr;
        explicit Writer(const std::string& path)
        {
            OpenDatabase(path, db);
            ExecSQL(db, "PRAGMA cache_size=2; BEGIN;");
            for (int i = 0; i < 300; ++i)
                ExecSQL(db, Format("INSERT INTO prayerTracker (label, filler) VALUES ('w %d', randomblob(600));", i));
        }
        ~Writer() { CloseDatabase(db); }
    };

    {
        Writer writer(dbs.PrayersPath);
        ASSERT_TRUE(fs::exists(dbs.PrayersPath + "-journal"));
        EXPECT_EQ(MessageOf([&] { WriteBackupFile(backup, dbs, created + 1, {}, 200); }),
                  "Unable to read " + dbs.PrayersPath +
                      ": another program is writing to it. Try again when it has finished.");
        EXPECT_TRUE(ReadBytes(backup) == earlier);
        EXPECT_FALSE(fs::exists(backup + ".part"));
        ExecSQL(writer.db, "ROLLBACK;");
    }

    {
        Writer writer(dbs.PrayersPath);
        std::thread finish([&] {
            std::this_thread::sleep_for(std::chrono::milliseconds(300));
            ExecSQL(writer.db, "COMMIT;");
        });
        WriteBackupFile(backup, dbs, created + 2, {}, 10000);
        finish.join();
    }
    const Bytes committed = ReadBytes(dbs.PrayersPath);
    ChangeData();
    RestoreBackupFiles(backup, dbs);
    EXPECT_TRUE(ReadBytes(dbs.PrayersPath) == committed);
}

// A journal left beside the live database by a writer that died belongs to
// the database being replaced: it must not be rolled into the restored one.
TEST_F(BackupFileTest, RestoreMovesAStaleJournalAsideWithTheReplacedDatabase)
{
    const std::string backup = dir.File("a.kova2bak");
    WriteBackupFile(backup, dbs, created);
    ChangeData();
    WriteBytes(dbs.PrayersPath + "-journal", "journal of the replaced database");
    RestoreBackupFiles(backup, dbs);
    ExpectCurrent(prayersBefore, plansBefore);
    EXPECT_FALSE(fs::exists(dbs.PrayersPath + "-journal"));
    EXPECT_EQ(ReadBytes(dbs.PrayersPath + ".old-journal"), "journal of the replaced database");
    EXPECT_TRUE(CheckRestoredImage(dbs.PrayersPath, "prayerTracker"));
}

// A backup killed half way leaves its temporary file: the next backup to the
// same name replaces it, and it is never taken for a backup itself.
TEST_F(BackupFileTest, TemporaryFileOfAKilledBackupIsReplacedAndRefused)
{
    const std::string backup = dir.File("a.kova2bak");
    TBackupHeader placeholder;
    placeholder.Signature = kBackupSignature;
    placeholder.Version = kBackupVersion;
    const auto header = EncodeBackupHeader(placeholder);
    WriteBytes(backup + ".part", Bytes(header.begin(), header.end()) + "\x78\xDA half a stream");
    EXPECT_EQ(CheckBackupFile(backup + ".part"), BackupCheck::NotBackup);

    fs::permissions(backup + ".part", fs::perms::owner_read);
    WriteBackupFile(backup, dbs, created);
    EXPECT_FALSE(fs::exists(backup + ".part"));
    EXPECT_EQ(CheckBackupFile(backup), BackupCheck::Valid);
}

// The plans database cannot be moved aside (its .old name is taken by a
// folder) after the prayers image is already in: the prayers are swapped back.
TEST_F(BackupFileTest, ReplaceFailingHalfWayPutsTheCurrentDataBack)
{
    const std::string backup = dir.File("a.kova2bak");
    WriteBackupFile(backup, dbs, created);
    ChangeData();
    fs::create_directories(dbs.PlansPath + ".old/busy");
    EXPECT_EQ(MessageOf([&] { RestoreBackupFiles(backup, dbs); }), kRestoreFailedMessage);
    ExpectCurrent(prayersNow, plansNow);
    ExpectNoLeftovers();
}

// Every point at which the replacing renames can be cut off, followed by the
// start-up recovery: the result is always the old pair or the restored pair.
TEST_F(BackupFileTest, RecoveryAfterAnInterruptionLeavesOldOrRestoredData)
{
    const std::string backup = dir.File("a.kova2bak");
    WriteBackupFile(backup, dbs, created);
    ChangeData();
    const std::string P1 = dbs.PrayersPath, P2 = dbs.PlansPath, marker = P1 + ".restore-commit";
    const std::vector<std::function<void()>> steps = {
        [&] { WriteBytes(marker, ""); },
        [&] { fs::rename(P1, P1 + ".old"); },
        [&] { fs::rename(P1 + ".restored", P1); },
        [&] { fs::rename(P2, P2 + ".old"); },
        [&] { fs::rename(P2 + ".restored", P2); },
        [&] { fs::remove(marker); },
    };
    for (std::size_t done = 0; done <= steps.size(); ++done) {
        SCOPED_TRACE(done);
        ChangeData();
        UnpackBackupFile(backup, dbs);
        for (std::size_t i = 0; i < done; ++i)
            steps[i]();
        RecoverInterruptedRestore(dbs);
        if (done == 0)
            ExpectCurrent(prayersNow, plansNow);
        else
            ExpectCurrent(prayersBefore, plansBefore);
        ExpectNoLeftovers();
    }

    // Killed while the first image was still being written.
    ChangeData();
    WriteBytes(P1 + ".restored", "half an ima");
    EXPECT_TRUE(RecoverInterruptedRestore(dbs));
    ExpectCurrent(prayersNow, plansNow);
    ExpectNoLeftovers();
    EXPECT_FALSE(RecoverInterruptedRestore(dbs));
}

// The real thing: a restore of a few megabytes killed at different moments.
TEST_F(BackupFileTest, RestoreKilledAtAnyMomentRecoversToOldOrRestoredData)
{
    MakeDatabase(dbs.PrayersPath, "prayerTracker", "big", 3000, 1500);
    MakeDatabase(dbs.PlansPath, "KOVA2PlanMaster", "big", 500, 1500);
    prayersBefore = ReadBytes(dbs.PrayersPath);
    plansBefore = ReadBytes(dbs.PlansPath);
    const std::string backup = dir.File("big.kova2bak");
    WriteBackupFile(backup, dbs, created);

    for (int delayMs : {0, 2, 5, 10, 20, 40, 80, 160, 400}) {
        SCOPED_TRACE(delayMs);
        ChangeData();
        const pid_t child = ::fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            try {
                RestoreBackupFiles(backup, dbs);
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

        RecoverInterruptedRestore(dbs);
        const Bytes p1 = ReadBytes(dbs.PrayersPath), p2 = ReadBytes(dbs.PlansPath);
        const bool old = p1 == prayersNow && p2 == plansNow;
        const bool restored = p1 == prayersBefore && p2 == plansBefore;
        EXPECT_TRUE(old || restored);
        ExpectNoLeftovers();
    }
}

} // namespace
} // namespace kovara
