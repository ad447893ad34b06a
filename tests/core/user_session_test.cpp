// The user session: the order in which the two user stores open, close and
// open again, the recovery of an interrupted restore before either opens, and
// a store that could not be opened again coming back on its next use.
#include "core/app/user_session.h"

#include "core/app/backup_file.h"
#include "core/plans/plan_store.h"
#include "core/prayer/prayer_store.h"
#include "fixtures.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <vector>

namespace kovara::core {
namespace {

using test::messageOf;
using test::TempDir;
using Step = SessionStep;

class UserSessionTest : public ::testing::Test {
protected:
    UserSessionTest() { session.setObserver([this](Step s) { steps.push_back(s); }); }

    std::vector<Step> taken()
    {
        std::vector<Step> out;
        out.swap(steps);
        return out;
    }

    TempDir dir;
    FixedClock clock{makeMoment(2024, 5, 1, 9, 0, 0)};
    std::vector<Step> steps;
    UserSession session{dir.folder(), clock};
};

TEST_F(UserSessionTest, StoresOpenPlansFirstCloseThemLastAndStayClosedUntilOpenedAgain)
{
    session.open();
    EXPECT_EQ(taken(), (std::vector<Step>{Step::RecoverRestore, Step::OpenPlans, Step::OpenPrayers}));
    EXPECT_TRUE(session.isOpen());

    session.close();
    EXPECT_EQ(taken(), (std::vector<Step>{Step::ClosePrayers, Step::ClosePlans}));
    // Held closed: the files are being copied or replaced.
    EXPECT_EQ(messageOf([&] { session.planStore(); }), "The reading plan store is not open");
    EXPECT_EQ(messageOf([&] { session.prayerStore(); }), "The prayer store is not open");
    EXPECT_TRUE(taken().empty());

    session.open();
    EXPECT_EQ(taken(), (std::vector<Step>{Step::OpenPlans, Step::OpenPrayers})) << "recovery runs once";
    session.close();
    taken();
}

TEST_F(UserSessionTest, AnInterruptedRestoreIsFinishedBeforeEitherStoreOpens)
{
    // A restore cut short after its commit point: both restored images are
    // complete, the marker says so, the live files are the old ones.
    const UserDatabases files = session.databases();
    {
        PlanStore old(files.plansPath, clock);
        old.addPlan("Old plan", {"1-2"}, clock.today());
        PlanStore restored(files.plansPath + ".new", clock);
        restored.addPlan("Restored plan", {"3-4"}, clock.today());
    }
    { PrayerStore touch(files.prayersPath, &clock); }
    std::filesystem::copy_file(files.prayersPath, files.prayersPath + ".restored");
    std::filesystem::rename(files.plansPath + ".new", files.plansPath + ".restored");
    std::ofstream(files.prayersPath + ".restore-commit");

    EXPECT_EQ(session.planStore().planTitle(0), "Restored plan");
    EXPECT_EQ(taken(), (std::vector<Step>{Step::RecoverRestore, Step::OpenPlans}));
    EXPECT_FALSE(std::filesystem::exists(files.prayersPath + ".restore-commit"));
    EXPECT_TRUE(std::filesystem::exists(files.plansPath + ".old"));
}

TEST_F(UserSessionTest, AStoreThatCouldNotBeOpenedAgainOpensOnItsNextUse)
{
    session.open();
    session.close();
    taken();

    // Another program holds a write lock on the prayers file.
    sqlite3* other = nullptr;
    openDatabase(session.databases().prayersPath, other);
    execSQL(other, "BEGIN EXCLUSIVE;");
    EXPECT_TRUE(messageOf([&] { session.openRetrying(100); }).ends_with("(SQLite Error 5 - database is locked)"));
    EXPECT_FALSE(session.isHeldClosed());
    EXPECT_NO_THROW(session.planStore()) << "the plan store opened before the failure stays open";

    execSQL(other, "COMMIT;");
    closeDatabase(other);
    const std::int32_t item = session.prayerStore().newPrayerItem(clock.now());
    EXPECT_GE(item, 0);
    EXPECT_TRUE(session.isOpen());
}

// Files the stores would change without a word - a plan file that lost its
// list of plans, an SQLite file of another program - are found before either
// store opens; files the stores know, new users' and unreadable ones are not.
TEST_F(UserSessionTest, FindsUserDatabasesTheStoresDoNotRecogniseAndSetsThemAside)
{
    const UserDatabases dbs = session.databases();
    auto make = [](const std::string& path, const std::string& sql) {
        std::filesystem::remove(path);
        sqlite3* db = nullptr;
        openDatabase(path, db);
        execSQL(db, sql);
        closeDatabase(db);
    };
    const struct {
        const char* name;
        std::function<void()> prepare;
        std::string expected; // the start of the problem, empty for none
    } cases[] = {
        {"no files", [] {}, ""},
        {"the stores' own files",
         [&] {
             session.open();
             session.close();
         },
         ""},
        {"plans without their list",
         [&] {
             make(dbs.plansPath, "CREATE TABLE '{A}' (planDay INTEGER PRIMARY KEY, dayVerses TEXT, dayDone INTEGER);"
                                 "CREATE TABLE KOVA2PlanReadDates (tableName TEXT, planDay INTEGER, readDate INTEGER);");
         },
         dbs.plansPath + " has no list of reading plans (the table KOVA2PlanMaster is missing), but it holds 2 other "
                         "tables (KOVA2PlanReadDates, {A})"},
        {"another program's file",
         [&] { make(dbs.prayersPath, "CREATE TABLE contacts (name TEXT); INSERT INTO contacts VALUES ('Ann');"); },
         dbs.prayersPath + " is not a prayer journal (the table prayerTracker is missing), but it holds 1 other "
                           "tables (contacts)"},
        {"empty database", [&] { make(dbs.prayersPath, "PRAGMA user_version=0;"); }, ""},
        {"not a database", [&] { std::ofstream(dbs.prayersPath) << "text"; }, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        std::filesystem::remove(dbs.plansPath);
        std::filesystem::remove(dbs.prayersPath);
        c.prepare();
        const std::vector<UnexpectedDatabase> found = findUnexpectedDatabases(dbs);
        if (c.expected.empty()) {
            EXPECT_TRUE(found.empty());
            continue;
        }
        ASSERT_EQ(found.size(), 1u);
        EXPECT_EQ(found[0].problem.rfind(c.expected, 0), 0u) << found[0].problem;
        const std::string bytes = [&] {
            std::ifstream in(found[0].path, std::ios::binary);
            return std::string(std::istreambuf_iterator<char>(in), {});
        }();
        EXPECT_EQ(setAsideDatabase(found[0].path), found[0].path + ".unrecognised");
        EXPECT_FALSE(std::filesystem::exists(found[0].path));
        std::ifstream in(found[0].path + ".unrecognised", std::ios::binary);
        EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), bytes) << "kept as it was";
        std::filesystem::remove(found[0].path + ".unrecognised");
        EXPECT_TRUE(findUnexpectedDatabases(dbs).empty());
    }
}

} // namespace
} // namespace kovara::core
