// The owning connection and the close policy every store follows: a failed
// close is raised by close() and swallowed by the destructor, never ending the
// program.
#include "core/app/user_session.h"
#include "core/base/datetime.h"
#include "core/db/database.h"
#include "core/plans/plan_store.h"
#include "core/settings/data_folders.h"
#include "core/settings/ini_file.h"
#include "fixtures.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <functional>
#include <memory>
#include <thread>
#include <gtest/gtest.h>
#include <optional>
#include <utility>

namespace kovara::core {
namespace {

constexpr const char* kCannotOpen = "SQLite Error 14 - unable to open database file";
constexpr const char* kCannotClose =
    "SQLite Error 5 - unable to close due to unfinalized statements or unfinished backups";

// A statement prepared on a connection and left unfinalized, which makes
// sqlite3_close refuse with SQLITE_BUSY until finish() is called.
class PendingStatement {
public:
    explicit PendingStatement(sqlite3* db)
    {
        checkResult(sqlite3_prepare_v2(db, "SELECT 1;", -1, &stmt_, nullptr), db);
    }
    ~PendingStatement() { finish(); }
    void finish()
    {
        sqlite3_finalize(stmt_);
        stmt_ = nullptr;
    }

private:
    sqlite3_stmt* stmt_ = nullptr;
};

int countRows(sqlite3* db, const std::string& table)
{
    int n = -1;
    queryRow(db, "SELECT count(*) FROM " + table, "no statement", [&](Statement& st) { n = st.columnInt(0); });
    return n;
}

TEST(DatabaseTest, OpensCreatingTheFileAndClosesOnce)
{
    test::TempDir dir;
    const std::string path = dir.file("new.kova2");
    Database db(path);
    ASSERT_TRUE(db.isOpen());
    EXPECT_EQ(db.get(), db.handle());
    EXPECT_TRUE(std::filesystem::exists(path));
    execSQL(db.get(), "CREATE TABLE t (v TEXT); INSERT INTO t VALUES ('a');");
    db.close();
    EXPECT_FALSE(db.isOpen());
    EXPECT_EQ(db.get(), nullptr);
    EXPECT_NO_THROW(db.close()) << "a second close does nothing";

    Database again(path, SQLITE_OPEN_READONLY);
    EXPECT_EQ(countRows(again.get(), "t"), 1);
    EXPECT_THROW(execSQL(again.get(), "INSERT INTO t VALUES ('b');"), SqliteError) << "read-only flags are kept";
}

TEST(DatabaseTest, FailedOpenRaisesTheEngineMessageAndCreatesNothing)
{
    test::TempDir dir;
    std::ofstream(dir.file("plain.txt")) << "not a folder";
    struct Case {
        const char* name;
        std::string path;
        int flags;
        std::string says; // what the message says before the engine's words
    };
    const std::string checkAccess = "Check that the file and its folder ";
    const Case cases[] = {
        {"a folder", dir.path().string(), Database::kReadWriteCreate, checkAccess},
        {"a missing folder", dir.file("no/such/folder/x.kova2"), Database::kReadWriteCreate,
         "its folder " + dir.file("no/such/folder") + " does not exist."},
        {"below a plain file", dir.file("plain.txt/x.kova2"), Database::kReadWriteCreate, checkAccess},
        {"a place no one may create files in", "/proc/kovara-test.kova2", Database::kReadWriteCreate, checkAccess},
        {"a missing file opened read-only", dir.file("missing.kova2"), SQLITE_OPEN_READONLY, checkAccess},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string message = test::messageOf([&] { Database db(c.path, c.flags); });
        EXPECT_EQ(message.rfind("Kovara cannot open " + c.path, 0), 0u) << message;
        EXPECT_NE(message.find(c.says), std::string::npos) << message;
        EXPECT_TRUE(message.ends_with("\n\n(" + std::string(kCannotOpen) + ")")) << message;
    }
    EXPECT_FALSE(std::filesystem::exists(dir.file("missing.kova2")));
}

// A fault of the file itself says which file and what to do, then the
// engine's own words.
TEST(DatabaseTest, FileFaultsNameTheFileAndWhatToDo)
{
    struct Case {
        const char* name;
        std::function<void(const std::string& path, sqlite3* db)> arrange;
        std::string says;
        std::string engine;
    };
    std::unique_ptr<Database> holder; // another connection, holding the write lock
    const Case cases[] = {
        {"not a database",
         [](const std::string& path, sqlite3*) { std::ofstream(path) << std::string(4096, 'x'); },
         " is not a database Kovara can read: it is damaged or a file of another program. Restore it from a backup",
         "SQLite Error 26 - file is not a database"},
        {"locked by another program",
         [&](const std::string& path, sqlite3* db) {
             holder = std::make_unique<Database>(path);
             execSQL(holder->get(), "BEGIN EXCLUSIVE;");
             sqlite3_busy_timeout(db, 10);
         },
         " is in use by another program, which kept it locked for too long. Wait until that program has finished",
         "SQLite Error 5 - database is locked"},
        {"disk full", [](const std::string&, sqlite3* db) { execSQL(db, "PRAGMA max_page_count=2;"); },
         "The disk that holds ", "SQLite Error 13 - database or disk is full"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        test::TempDir dir;
        const std::string path = dir.file("prayers.kova2");
        {
            Database db(path);
            execSQL(db.get(), "CREATE TABLE t (v TEXT);");
        }
        Database db(path);
        c.arrange(path, db.get());
        const std::string message = test::messageOf(
            [&] { execSQL(db.get(), "INSERT INTO t VALUES (zeroblob(100000)); SELECT * FROM t;"); });
        EXPECT_NE(message.find(path), std::string::npos) << message;
        EXPECT_NE(message.find(c.says), std::string::npos) << message;
        EXPECT_TRUE(message.ends_with("\n\n(" + c.engine + ")")) << message;
        holder.reset();
    }
    // Faults of a statement stay the engine's words alone.
    test::TempDir dir;
    Database db(dir.file("x.kova2"));
    EXPECT_EQ(test::messageOf([&] { execSQL(db.get(), "SELECT * FROM missing;"); }),
              "SQLite Error 1 - no such table: missing");
}

// A private journal: the user data folder and the files made in it are the
// owner's alone, whatever the umask lets others have.
TEST(DatabaseTest, NewUserDataIsTheOwnersAlone)
{
    test::TempDir dir;
    const std::string folder = dir.file("home/.local/share/Kovara 2/");
    ensureUserDataFolder(folder);
    auto mode = [](const std::string& path) { return std::filesystem::status(path).permissions(); };
    using std::filesystem::perms;
    EXPECT_EQ(mode(folder), perms::owner_all);

    {
        Database db(folder + "prayers.kova2");
        execSQL(db.get(), "CREATE TABLE t (v TEXT);");
    }
    IniFile(folder + "settings.ini").writeString("Window", "Left", "10");
    for (const char* file : {"prayers.kova2", "settings.ini"})
        EXPECT_EQ(mode(folder + file), perms::owner_read | perms::owner_write) << file;
    // A file the user opened up on purpose keeps its mode.
    std::filesystem::permissions(folder + "settings.ini", perms::group_read, std::filesystem::perm_options::add);
    IniFile(folder + "settings.ini").writeString("Window", "Left", "20");
    EXPECT_EQ(mode(folder + "settings.ini"), perms::owner_read | perms::owner_write | perms::group_read);
}

// Another program's write lock is waited for: a write that meets it goes
// through once the lock is released within the wait.
TEST(DatabaseTest, AWriteWaitsForAnotherProgramsLock)
{
    test::TempDir dir;
    const std::string path = dir.file("prayers.kova2");
    Database db(path);
    execSQL(db.get(), "CREATE TABLE t (v TEXT);");
    Database other(path);
    execSQL(other.get(), "BEGIN EXCLUSIVE; INSERT INTO t VALUES ('theirs');");
    std::thread release([&] {
        std::this_thread::sleep_for(std::chrono::milliseconds(300));
        execSQL(other.get(), "COMMIT;");
    });
    EXPECT_NO_THROW(execSQL(db.get(), "INSERT INTO t VALUES ('ours');"));
    release.join();
    EXPECT_EQ(countRows(db.get(), "t"), 2);
}

// The engine refuses to close while a statement is unfinalized. close() says
// so and keeps the connection open and usable; once the statement is gone a
// second close() succeeds.
TEST(DatabaseTest, CloseReportsARefusalAndKeepsTheConnection)
{
    test::TempDir dir;
    Database db(dir.file("t.kova2"));
    sqlite3* const handle = db.get();
    PendingStatement pending(handle);

    EXPECT_EQ(test::messageOf([&] { db.close(); }), kCannotClose);
    ASSERT_TRUE(db.isOpen());
    EXPECT_EQ(db.get(), handle);
    execSQL(db.get(), "CREATE TABLE t (v TEXT);");
    EXPECT_EQ(countRows(db.get(), "t"), 0);

    pending.finish();
    EXPECT_NO_THROW(db.close());
    EXPECT_FALSE(db.isOpen());
}

// In the same situation the destructor neither raises nor ends the program;
// the connection is released when the statement is finalized, and the file
// can be opened again.
TEST(DatabaseTest, DestructorStaysQuietWhenTheCloseWouldFail)
{
    test::TempDir dir;
    const std::string path = dir.file("t.kova2");
    std::optional<PendingStatement> pending;
    {
        Database db(path);
        execSQL(db.get(), "CREATE TABLE t (v TEXT);");
        pending.emplace(db.get());
    }
    pending.reset();
    Database again(path);
    execSQL(again.get(), "BEGIN EXCLUSIVE; INSERT INTO t VALUES ('a'); COMMIT;");
    EXPECT_EQ(countRows(again.get(), "t"), 1);
}

TEST(DatabaseTest, MoveHandsTheConnectionOverAndLeavesTheSourceClosed)
{
    test::TempDir dir;
    Database first(dir.file("a.kova2"));
    sqlite3* const handle = first.get();

    Database second(std::move(first));
    EXPECT_FALSE(first.isOpen());
    EXPECT_EQ(first.get(), nullptr);
    EXPECT_EQ(second.get(), handle);

    Database third(dir.file("b.kova2"));
    third = std::move(second); // b.kova2's connection is closed here
    EXPECT_FALSE(second.isOpen());
    EXPECT_EQ(third.get(), handle);
    EXPECT_NO_THROW(first.close());
    EXPECT_NO_THROW(third.close());
}

class StoreCloseTest : public ::testing::Test {
protected:
    test::TempDir dir;
    FixedClock clock{makeMoment(2024, 5, 1, 9, 0, 0)};
};

// A plan store freed while its connection cannot close must not end the
// program (a destructor that raises does, through std::terminate). Run in a
// child process so that a terminate shows up as a failed test.
TEST_F(StoreCloseTest, PlanStoreFreedWhileItsCloseWouldFailDoesNotEndTheProgram)
{
    const std::string path = dir.file("userreadplans.kova2");
    EXPECT_EXIT(
        {
            std::optional<PendingStatement> pending;
            {
                PlanStore store(path, clock);
                store.addPlan("Plan A", {"1-2", "3-4"}, clock.today());
                pending.emplace(store.handle());
            }
            pending.reset();
            PlanStore reopened(path, clock);
            std::exit(reopened.planCount() == 1 ? 0 : 1);
        },
        ::testing::ExitedWithCode(0), "");
}

TEST_F(StoreCloseTest, PlanStoreCloseReportsARefusalAndLaterWritesRaise)
{
    PlanStore store(dir.file("userreadplans.kova2"), clock);
    store.addPlan("Plan A", {"1-2", "3-4"}, clock.today());
    PendingStatement pending(store.handle());

    EXPECT_EQ(test::messageOf([&] { store.close(); }), kCannotClose);
    store.setDayDone(0, 1, true); // still open: the write goes through
    pending.finish();
    store.close();
    EXPECT_EQ(store.handle(), nullptr);

    EXPECT_EQ(test::messageOf([&] { store.setDayDone(0, 2, true); }), "The reading plan database is closed");
    EXPECT_FALSE(store.isDayDone(0, 2)) << "memory follows the database, not ahead of it";
    EXPECT_EQ(store.planTitle(0), "Plan A");
    PlanStore reopened(dir.file("userreadplans.kova2"), clock);
    EXPECT_TRUE(reopened.isDayDone(0, 1));
    EXPECT_FALSE(reopened.isDayDone(0, 2));
}

// The session's shutdown closes both stores and reports a plan store that
// cannot close, after both are freed.
TEST_F(StoreCloseTest, SessionShutdownReportsAPlanStoreThatCannotClose)
{
    UserSession session(dir.folder(), clock);
    session.planStore().addPlan("Plan A", {"1-2"}, clock.today());
    session.prayerStore();
    PendingStatement pending(session.planStore().handle());

    EXPECT_EQ(test::messageOf([&] { session.shutdown(); }), kCannotClose);
    EXPECT_FALSE(session.isOpen());
    EXPECT_TRUE(session.isHeldClosed());
    pending.finish();
    session.open();
    EXPECT_EQ(session.planStore().planCount(), 1);
}

} // namespace
} // namespace kovara::core
