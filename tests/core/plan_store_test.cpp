#include "core/plans/plan_store.h"
#include "core/plans/plan_progress.h"
#include "fixtures.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <functional>
#include <regex>

namespace kovara::core {
namespace {

const sys_seconds kJan1 = startOf(makeDate(2007, 1, 1));
using namespace std::chrono_literals;

std::vector<std::string> days(int count)
{
    std::vector<std::string> days;
    for (int i = 1; i <= count; ++i)
        days.push_back(format("%d-%d", i, i));
    return days;
}

// Opens a second connection on the same file, as another program would.
class OtherConnection {
public:
    explicit OtherConnection(const std::string& file) { openDatabase(file, db); }
    ~OtherConnection() { closeDatabase(db); }
    int integer(const std::string& sql)
    {
        int n = -1;
        queryRow(db, sql, "no statement", [&](Statement& st) { n = st.columnInt(0); });
        return n;
    }
    std::string text(const std::string& sql)
    {
        std::string s = "(no row)";
        queryRow(db, sql, "no statement", [&](Statement& st) { s = st.columnText(0); });
        return s;
    }
    sqlite3* db = nullptr;
};

class PlanStoreTest : public ::testing::Test {
protected:
    std::string file() const { return dir.file("userreadplans.kova2"); }
    PlanStore& planStore()
    {
        if (!store)
            store = std::make_unique<PlanStore>(file(), clock);
        return *store;
    }
    // Tables other than the master table.
    int dayTables()
    {
        OtherConnection other(file());
        return other.integer("SELECT count(*) FROM sqlite_master WHERE type='table' AND name<>'KOVA2PlanMaster'");
    }
    void TearDown() override
    {
        if (store) {
            EXPECT_EQ(sqlite3_next_stmt(store->handle(), nullptr), nullptr) << "statement left unfinalized";
            EXPECT_NE(sqlite3_get_autocommit(store->handle()), 0) << "transaction left open";
        }
    }

    test::TempDir dir;
    FixedClock clock{makeMoment(2007, 1, 1, 9, 30, 0)};
    std::unique_ptr<PlanStore> store;
};

TEST_F(PlanStoreTest, FirstRunCreatesAnEmptyMasterTable)
{
    EXPECT_EQ(planStore().planCount(), 0);
    EXPECT_EQ(planStore().fileName(), file());
    OtherConnection other(file());
    EXPECT_EQ(other.integer("SELECT count(*) FROM KOVA2PlanMaster"), 0);
}

TEST_F(PlanStoreTest, AddPlanWritesMasterRowAndDaysThatSurviveReopening)
{
    const PlanId added = planStore().addPlan("Gospels", {"1-4", "5-7", "8-10"}, kJan1);
    ASSERT_EQ(planStore().indexOf(added), 0);
    const std::string table = planStore().record(0).tableName;
    EXPECT_EQ(added.guid(), table);
    EXPECT_EQ(planStore().id(0), added);
    EXPECT_TRUE(std::regex_match(table, std::regex(R"(\{[0-9A-F]{8}-[0-9A-F]{4}-[0-9A-F]{4}-[0-9A-F]{4}-[0-9A-F]{12}\})")))
        << table;
    EXPECT_NE(newGuidString(), newGuidString());
    {
        OtherConnection other(file());
        EXPECT_EQ(other.integer("SELECT startDate FROM KOVA2PlanMaster"), 1167609600);
        EXPECT_EQ(other.text("SELECT status FROM KOVA2PlanMaster"), "active");
        EXPECT_EQ(other.integer(format("SELECT count(*) FROM '%s' WHERE dayDone=0", table)), 3);
        EXPECT_EQ(other.text(format("SELECT dayVerses FROM '%s' WHERE planDay=3", table)), "8-10");
    }
    store.reset();
    PlanStore& reopened = planStore();
    ASSERT_EQ(reopened.planCount(), 1);
    EXPECT_EQ(reopened.planTitle(0), "Gospels");
    EXPECT_EQ(reopened.startDate(0), kJan1);
    EXPECT_EQ(reopened.dayCount(0), 3);
    EXPECT_EQ(reopened.dayVerses(0, 2), "5-7");
    EXPECT_FALSE(reopened.isDayDone(0, 1));

    // The id returned names the plan in the list after the reload, which
    // orders by title; ids that no plan has give no position.
    EXPECT_EQ(reopened.indexOf(reopened.addPlan("Acts", {"1-2"}, kJan1)), 0);
    EXPECT_EQ(reopened.planTitle(1), "Gospels");
    EXPECT_EQ(reopened.indexOf(added), 1);
    EXPECT_EQ(reopened.indexOf(PlanId("{00000000-0000-4000-8000-000000000000}")), std::nullopt);
    EXPECT_EQ(reopened.indexOf(PlanId()), std::nullopt);
}

TEST_F(PlanStoreTest, TodaysPlanDayAndFirstUnreadDay)
{
    struct Case {
        const char* what;
        sys_seconds now;
        int dayCount;
        int readThrough; // days 1..readThrough read
        int today;
        std::optional<int> firstUnread;
    };
    const Case cases[] = {
        {"created today", kJan1 + 9h + 36min, 30, 0, 1, 1},
        {"day 1 read", kJan1 + 9h + 36min, 30, 1, 1, 2},
        {"just before midnight", kJan1 + 24h - 9s, 30, 0, 1, 1},
        {"next day just after midnight", kJan1 + 24h + 9s, 30, 0, 2, 1},
        {"ten days in, three read", kJan1 + 10 * 24h + 12h, 30, 3, 11, 4},
        {"past the last day", kJan1 + 100 * 24h, 30, 0, 30, 1},
        {"every day read", kJan1 + 5 * 24h, 30, 30, 6, std::nullopt},
        {"start date still ahead", kJan1 - 84h, 30, 0, 0, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const int plan = planStore().indexOf(planStore().addPlan(c.what, days(c.dayCount), kJan1)).value();
        if (c.readThrough > 0)
            planStore().markDaysDoneThrough(plan, c.readThrough);
        clock.set(c.now);
        EXPECT_EQ(planStore().todaysPlanDay(plan), c.today);
        EXPECT_EQ(planStore().firstUnreadDay(plan), c.firstUnread);
    }
    // A start that carries a time of day (written by an earlier version)
    // counts whole days from that moment, not calendar dates.
    const int evening = planStore().indexOf(planStore().addPlan("Evening", days(30), kJan1 + 18h)).value();
    clock.set(kJan1 + 24h + 17h);
    EXPECT_EQ(planStore().todaysPlanDay(evening), 1);
    clock.set(kJan1 + 24h + 18h);
    EXPECT_EQ(planStore().todaysPlanDay(evening), 2);
}

TEST_F(PlanStoreTest, RangeChecksNameTheOffendingNumber)
{
    PlanStore& s = planStore();
    s.addPlan("Alpha", days(3), kJan1);
    using test::messageOf;
    EXPECT_EQ(messageOf([&] { s.planTitle(-1); }), "Plan index out of range: -1");
    EXPECT_EQ(messageOf([&] { s.todaysPlanDay(1); }), "Plan index out of range: 1");
    EXPECT_EQ(messageOf([&] { s.setStartDate(1, kJan1); }), "Plan index out of range: 1");
    EXPECT_EQ(messageOf([&] { s.deletePlan(-1); }), "Plan index out of range: -1");
    EXPECT_EQ(messageOf([&] { s.renamePlan(5, "x"); }), "Plan index out of range: 5");
    EXPECT_EQ(messageOf([&] { s.id(1); }), "Plan index out of range: 1");
    // The plan is checked before the day.
    EXPECT_EQ(messageOf([&] { s.dayVerses(1, 0); }), "Plan index out of range: 1");
    EXPECT_EQ(messageOf([&] { s.dayVerses(0, 0); }), "Day out of range: 0");
    EXPECT_EQ(messageOf([&] { s.isDayDone(0, 4); }), "Day out of range: 4");
    EXPECT_EQ(messageOf([&] { s.setDayDone(0, 4, true); }), "Day out of range: 4");
    EXPECT_EQ(messageOf([&] { s.markDaysDoneThrough(0, 0); }), "Day out of range: 0");
    EXPECT_EQ(messageOf([&] { s.markDaysDone(0, {1, 4}); }), "Day out of range: 4");
    EXPECT_FALSE(s.isDayDone(0, 1)) << "nothing is written when a day is out of range";
}

// Days ticked off together (or imported) were read over time: they count at
// their planned dates, never later than today, so the pace and the projected
// finish stay where the reading put them.
TEST_F(PlanStoreTest, DaysMarkedTogetherCountAtTheirPlannedDates)
{
    const sys_seconds today = startOf(clock.today());
    struct Case {
        const char* what;
        sys_seconds start;
        std::vector<int> marked; // empty: through day 20
        std::vector<std::pair<int, sys_seconds>> dates;
    } cases[] = {
        {"started 19 days ago, through day 20", today - 19 * 24h, {},
         {{1, today - 19 * 24h}, {10, today - 10 * 24h}, {20, today}}},
        {"started today, through day 20", today, {}, {{1, today}, {20, today}}},
        {"imported days, some repeated", today - 9 * 24h, {3, 1, 3, 12},
         {{1, today - 9 * 24h}, {3, today - 7 * 24h}, {12, today}}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        store.reset();
        std::filesystem::remove(file());
        const int plan = *planStore().indexOf(planStore().addPlan("Year", days(365), c.start));
        if (c.marked.empty())
            planStore().markDaysDoneThrough(plan, 20);
        else
            planStore().markDaysDone(plan, c.marked);
        store.reset(); // as written
        for (const auto& [day, date] : c.dates) {
            EXPECT_TRUE(planStore().isDayDone(plan, day)) << day;
            EXPECT_EQ(planStore().readDate(plan, day), date) << day;
        }
    }

    // Caught up by ticking off the days read elsewhere: the reader is on
    // course for the planned finish, not a fortnight later.
    store.reset();
    std::filesystem::remove(file());
    planStore().addPlan("Year", days(365), today - 19 * 24h);
    planStore().markDaysDoneThrough(0, 20);
    const PlanProgress p = planProgress(planStore(), 0, clock.today());
    EXPECT_EQ(p.projectedFinish, p.plannedFinish);
}

TEST_F(PlanStoreTest, ReadFlagsAreWrittenThroughAndOnlyWhenTheyChange)
{
    PlanStore& s = planStore();
    s.addPlan("Alpha", days(10), kJan1);
    s.setDayDone(0, 7, true);
    const int before = sqlite3_total_changes(s.handle());
    s.setDayDone(0, 7, true);
    s.setDayDone(0, 6, false);
    EXPECT_EQ(sqlite3_total_changes(s.handle()), before) << "an unchanged flag was written";

    s.markDaysDoneThrough(0, 5);
    s.setDayDone(0, 2, false);
    const std::vector<bool> expected = {true, false, true, true, true, false, true, false, false, false};
    store.reset();
    for (int day = 1; day <= 10; ++day)
        EXPECT_EQ(planStore().isDayDone(0, day), expected[static_cast<std::size_t>(day - 1)]) << "day " << day;
}

TEST_F(PlanStoreTest, AFailedWriteLeavesThePlanInMemoryUnchanged)
{
    PlanStore& s = planStore();
    s.addPlan("Alpha", days(3), kJan1);
    OtherConnection other(file());
    execSQL(other.db, "BEGIN EXCLUSIVE TRANSACTION");
    EXPECT_THROW(s.setDayDone(0, 1, true), SqliteError);
    EXPECT_THROW(s.markDaysDoneThrough(0, 2), SqliteError);
    EXPECT_THROW(s.setStartDate(0, kJan1 + 7 * 24h), SqliteError);
    EXPECT_THROW(s.renamePlan(0, "Beta"), SqliteError);
    EXPECT_FALSE(s.isDayDone(0, 1));
    EXPECT_FALSE(s.isDayDone(0, 2));
    EXPECT_EQ(s.startDate(0), kJan1);
    EXPECT_EQ(s.planTitle(0), "Alpha");
    execSQL(other.db, "ROLLBACK TRANSACTION");

    s.setStartDate(0, kJan1 + 7 * 24h);
    EXPECT_EQ(other.integer("SELECT startDate FROM KOVA2PlanMaster"), 1167609600 + 7 * 86400);
}

TEST_F(PlanStoreTest, RenameKeepsTheIndexUntilTheNextLoad)
{
    PlanStore& s = planStore();
    s.addPlan("alpha", days(1), kJan1);
    s.addPlan("Alpha", days(1), kJan1);
    ASSERT_EQ(s.planTitle(0), "Alpha"); // byte order: upper case first
    s.renamePlan(0, "Zeta");
    EXPECT_EQ(s.planTitle(0), "Zeta");
    EXPECT_EQ(s.planTitle(1), "alpha");
    s.loadPlans();
    EXPECT_EQ(s.planTitle(0), "Zeta");
    EXPECT_EQ(s.planTitle(1), "alpha");
    s.renamePlan(1, "a'b \"c\"; DROP TABLE KOVA2PlanMaster; --");
    s.loadPlans();
    EXPECT_EQ(s.planTitle(1), "a'b \"c\"; DROP TABLE KOVA2PlanMaster; --");
}

TEST_F(PlanStoreTest, DeleteKeepsTheRowsAndFreesTheTitle)
{
    PlanStore& s = planStore();
    s.addPlan("Alpha", days(2), kJan1);
    s.addPlan("Beta", days(2), kJan1);
    const std::string table = s.record(0).tableName;
    s.deletePlan(0);
    ASSERT_EQ(s.planCount(), 1);
    EXPECT_EQ(s.planTitle(0), "Beta");
    EXPECT_FALSE(s.planTitleExists("Alpha"));
    {
        OtherConnection other(file());
        EXPECT_EQ(other.text(format("SELECT status FROM KOVA2PlanMaster WHERE tableName='%s'", table)), "deleted");
        EXPECT_EQ(other.integer(format("SELECT count(*) FROM '%s'", table)), 2);
    }
    EXPECT_EQ(s.indexOf(s.addPlan("Alpha", days(1), kJan1)), 0);
    EXPECT_NE(s.record(0).tableName, table);
}

TEST_F(PlanStoreTest, TitleComparisonIgnoresCaseInAnyScript)
{
    PlanStore& s = planStore();
    s.addPlan("Bible in a Year", days(1), kJan1);
    s.addPlan("Évangiles ÀÇÕ", days(1), kJan1);
    s.addPlan("ПСАЛМЫ", days(1), kJan1);
    s.addPlan("Ψαλμοί", days(1), kJan1);
    for (const char* title : {"bible in a year", "BIBLE IN A YEAR", "évangiles àçõ", "ÉVANGILES ÀÇÕ", "псалмы",
                              "ΨΑΛΜΟΊ", "ψαλμοί"})
        EXPECT_TRUE(s.planTitleExists(title)) << title;
    for (const char* title : {"Bible in a Year 2", "Evangiles ÀÇÕ", "псалом", ""})
        EXPECT_FALSE(s.planTitleExists(title)) << title;
    // Bytes that are not UTF-8 (older 8-bit titles) still compare, unchanged.
    EXPECT_EQ(localeLowerCase("Caf\xC9 AB"), "caf\xC9 ab");
}

TEST_F(PlanStoreTest, DayTextsHoldingQuotesAreStoredAsTheyAre)
{
    const std::vector<std::string> days = {"1-2", "3-4'); DROP TABLE KOVA2PlanMaster; --", "it's"};
    const std::string table = planStore().addPlan("O'Brien's plan", days, kJan1).guid();
    store.reset();
    OtherConnection other(file());
    EXPECT_EQ(other.text("SELECT planTitle FROM KOVA2PlanMaster"), "O'Brien's plan");
    for (int day = 1; day <= 3; ++day)
        EXPECT_EQ(other.text(format("SELECT dayVerses FROM '%s' WHERE planDay=%d", table, day)), days[day - 1]);
    // Days that are not passages make it a damaged plan (see below).
    ASSERT_EQ(planStore().damagedPlans().size(), 1u);
    EXPECT_EQ(planStore().damagedPlans()[0].planTitle, "O'Brien's plan");
}

// One broken plan - its master row names a table that is not there, its
// table was dropped, one of its days holds text that is not a passage - is
// left out with its title and the reason, and every other plan loads. The
// reader may delete it; a later start then finds nothing damaged.
TEST_F(PlanStoreTest, ADamagedPlanIsLeftOutAndTheOthersLoad)
{
    struct Case {
        const char* name;
        std::function<void(sqlite3*, const std::string& table)> damage;
        const char* reason;
    };
    const Case cases[] = {
        {"master row without its table",
         [](sqlite3* db, const std::string&) {
             execSQL(db, "INSERT INTO KOVA2PlanMaster (tableName, planTitle, startDate, status) "
                         "VALUES ('{0D0E0A0D-0000-4000-8000-000000000000}', 'Broken', 0, 'active');");
         },
         "SQLite Error 1 - no such table: {0D0E0A0D-0000-4000-8000-000000000000}"},
        {"dropped table", [](sqlite3* db, const std::string& table) { execSQL(db, format("DROP TABLE '%s';", table)); },
         "SQLite Error 1 - no such table: "},
        {"garbage in a day",
         [](sqlite3* db, const std::string& table) {
             execSQL(db, format("UPDATE '%s' SET dayVerses=x'00FF3132' WHERE planDay=2;", table));
         },
         "day 2 holds \""},
        {"verse 0", [](sqlite3* db, const std::string& table) {
             execSQL(db, format("UPDATE '%s' SET dayVerses='0-3' WHERE planDay=3;", table));
         },
         "day 3 holds \"0-3\", which is not a passage"},
        {"a run ending at verse 0", [](sqlite3* db, const std::string& table) {
             execSQL(db, format("UPDATE '%s' SET dayVerses='5,3-0' WHERE planDay=3;", table));
         },
         "day 3 holds \"5,3-0\", which is not a passage"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        store.reset();
        std::filesystem::remove(file());
        planStore().addPlan("Alpha", days(3), kJan1);
        const std::string broken = planStore().addPlan("Broken", days(3), kJan1).guid();
        planStore().addPlan("Gamma", days(2), kJan1);
        if (std::string(c.name) == "master row without its table")
            execSQL(planStore().handle(), format("DELETE FROM KOVA2PlanMaster WHERE tableName='%s'; DROP TABLE '%s';",
                                                 broken, broken));
        {
            OtherConnection other(file());
            c.damage(other.db, broken);
        }
        store.reset();
        PlanStore& s = planStore();
        ASSERT_EQ(s.planCount(), 2);
        EXPECT_EQ(s.planTitle(0), "Alpha");
        EXPECT_EQ(s.planTitle(1), "Gamma");
        ASSERT_EQ(s.damagedPlans().size(), 1u);
        EXPECT_EQ(s.damagedPlans()[0].planTitle, "Broken");
        EXPECT_EQ(s.damagedPlans()[0].reason.rfind(c.reason, 0), 0u) << s.damagedPlans()[0].reason;
        // The other plans still take changes, which reload the list.
        s.setDayDone(1, 1, true);
        s.addPlan("Delta", days(1), kJan1);
        EXPECT_EQ(s.planCount(), 3);
        EXPECT_EQ(s.damagedPlans().size(), 1u);

        s.deleteDamagedPlans();
        EXPECT_TRUE(s.damagedPlans().empty());
        store.reset();
        EXPECT_TRUE(planStore().damagedPlans().empty());
        EXPECT_EQ(planStore().planCount(), 3);
    }
}

// When the master table itself cannot be read, nothing can be loaded: the
// reload raises and keeps the plans it had.
TEST_F(PlanStoreTest, AFailedReloadKeepsThePlansLoadedBefore)
{
    PlanStore& s = planStore();
    s.addPlan("Alpha", days(2), kJan1);
    s.addPlan("Beta", days(3), kJan1);
    s.setDayDone(1, 2, true);
    // Another program renames the master table: the next reload cannot read it.
    {
        OtherConnection other(file());
        execSQL(other.db, "ALTER TABLE KOVA2PlanMaster RENAME TO elsewhere;");
    }
    EXPECT_THROW(s.loadPlans(), Exception);
    ASSERT_EQ(s.planCount(), 2);
    EXPECT_EQ(s.planTitle(0), "Alpha");
    EXPECT_EQ(s.planTitle(1), "Beta");
    EXPECT_EQ(s.dayCount(1), 3);
    EXPECT_TRUE(s.isDayDone(1, 2));
}

TEST_F(PlanStoreTest, ReadFlagsOfEveryStoredKindCountAsTheFileMeansThem)
{
    // Only 0 means unread, whether another program stored it as a number or
    // as text; every other value, of any type, counts as read.
    const std::string table = planStore().record(*planStore().indexOf(planStore().addPlan("Flags", days(9), kJan1)))
                                  .tableName;
    {
        OtherConnection other(file());
        execSQL(other.db, format("UPDATE '%s' SET dayDone = CASE planDay WHEN 1 THEN 0 WHEN 2 THEN 1 WHEN 3 THEN 2 "
                                 "WHEN 4 THEN -1 WHEN 5 THEN '0' WHEN 6 THEN 'yes' WHEN 7 THEN NULL WHEN 8 THEN 0.5 "
                                 "ELSE '' END;",
                                 table));
    }
    planStore().loadPlans();
    EXPECT_EQ(planStore().record(0).dayDone,
              (std::vector<bool>{false, true, true, true, false, true, true, true, true}));
}

TEST_F(PlanStoreTest, AQuoteInATableNameIsKeptInsideTheName)
{
    // Table names come from the file; one written by another program may hold
    // a quote. Every statement on it must reach that table and no other.
    planStore().addPlan("Other", days(2), kJan1);
    const std::string table = "it's'; DROP TABLE KOVA2PlanMaster; --";
    {
        OtherConnection other(file());
        execSQL(other.db, "CREATE TABLE 'it''s''; DROP TABLE KOVA2PlanMaster; --' "
                          "(planDay INTEGER PRIMARY KEY, dayVerses TEXT, dayDone INTEGER);");
        execSQL(other.db, "INSERT INTO 'it''s''; DROP TABLE KOVA2PlanMaster; --' (dayVerses, dayDone) "
                          "VALUES ('1-1', 0), ('2-2', 0), ('3-3', 0);");
        execSQL(other.db, "INSERT INTO KOVA2PlanMaster (tableName, planTitle, startDate, status) "
                          "VALUES ('it''s''; DROP TABLE KOVA2PlanMaster; --', 'Quoted', 0, 'active');");
    }
    PlanStore& s = planStore();
    s.loadPlans();
    ASSERT_EQ(s.planCount(), 2);
    ASSERT_EQ(s.record(1).tableName, table);
    EXPECT_EQ(s.record(1).dayVerses, (std::vector<std::string>{"1-1", "2-2", "3-3"}));

    s.setDayDone(1, 3, true);
    s.markDaysDoneThrough(1, 1);
    s.setStartDate(1, kJan1);
    s.renamePlan(1, "Renamed");
    store.reset();
    PlanStore& again = planStore();
    ASSERT_EQ(again.planCount(), 2);
    EXPECT_EQ(again.planTitle(1), "Renamed");
    EXPECT_EQ(again.startDate(1), kJan1);
    EXPECT_EQ(again.record(1).dayDone, (std::vector<bool>{true, false, true}));
    EXPECT_EQ(again.record(0).dayDone, (std::vector<bool>{false, false}));

    again.deletePlan(1);
    ASSERT_EQ(again.planCount(), 1);
    EXPECT_EQ(again.planTitle(0), "Other");
}

TEST_F(PlanStoreTest, AFailedAddPlanLeavesNoTableAndNoOpenTransaction)
{
    PlanStore& s = planStore();
    s.addPlan("Kept", days(2), kJan1);

    // A day row the engine refuses (too long for this connection's limit)
    // fails the insert in the middle of the transaction.
    const int oldLimit = sqlite3_limit(s.handle(), SQLITE_LIMIT_LENGTH, 400);
    EXPECT_THROW(s.addPlan("Broken rows", {"1-2", std::string(1000, '1')}, kJan1), SqliteError);
    sqlite3_limit(s.handle(), SQLITE_LIMIT_LENGTH, oldLimit);
    EXPECT_NE(sqlite3_get_autocommit(s.handle()), 0);
    EXPECT_EQ(dayTables(), 1);

    // A master row the database refuses, after the days were committed.
    {
        OtherConnection other(file());
        execSQL(other.db, "CREATE TRIGGER refuse BEFORE INSERT ON KOVA2PlanMaster BEGIN SELECT RAISE(ABORT, 'refused'); END;");
    }
    EXPECT_THROW(s.addPlan("Broken master", days(2), kJan1), SqliteError);
    EXPECT_EQ(dayTables(), 1);
    {
        OtherConnection other(file());
        execSQL(other.db, "DROP TRIGGER refuse;");
    }

    ASSERT_EQ(s.planCount(), 1);
    EXPECT_EQ(s.planTitle(0), "Kept");
    // The store goes on working: the next plan is made as usual.
    EXPECT_EQ(s.indexOf(s.addPlan("Later", days(2), kJan1)), 1);
    EXPECT_EQ(dayTables(), 2);
}

// The date each day was marked read and the plan's options are kept beside
// the plan, in tables made on first use, and survive reopening.
TEST_F(PlanStoreTest, ReadDatesAndOptionsAreKeptBesideThePlan)
{
    planStore().addPlan("Gospels", days(6), kJan1);
    EXPECT_EQ(dayTables(), 1) << "no side table before it is needed";
    planStore().markDaysDoneThrough(0, 2);
    clock.set(kJan1 + 84h);
    planStore().setDayDone(0, 4, true);
    planStore().markDaysDoneThrough(0, 4); // days 1, 2 and 4 keep their dates; day 3 takes its planned date
    planStore().setDayDone(0, 2, false);
    planStore().setDoubleUp(0, true);
    planStore().setReminder(0, false);
    planStore().setBibleVersion(0, "engWEB2015eb");
    store.reset();
    const PlanStore& reopened = planStore();
    EXPECT_EQ(reopened.readDate(0, 1), kJan1);
    EXPECT_EQ(reopened.readDate(0, 2), std::nullopt);
    EXPECT_EQ(reopened.readDate(0, 3), kJan1 + 2 * 24h);
    EXPECT_EQ(reopened.readDate(0, 4), kJan1 + 3 * 24h);
    EXPECT_EQ(reopened.readDate(0, 5), std::nullopt);
    EXPECT_TRUE(reopened.record(0).doubleUp);
    EXPECT_FALSE(reopened.record(0).reminder);
    EXPECT_EQ(reopened.record(0).bibleVersion, "engWEB2015eb");
    // The plan's own tables keep their meaning.
    OtherConnection other(file());
    EXPECT_EQ(other.integer(format("SELECT count(*) FROM '%s' WHERE dayDone=1", reopened.record(0).tableName)), 3);
}

// The whole database as sqlite3's own .dump writes it.
std::string dumpOf(const std::string& file)
{
    FILE* out = popen(("sqlite3 '" + file + "' .dump").c_str(), "r");
    std::string text;
    char buf[4096];
    while (out && fgets(buf, sizeof buf, out))
        text += buf;
    if (out)
        pclose(out);
    return text;
}

TEST_F(PlanStoreTest, ReplacingAPlanAndUndoingItGivesTheDatabaseBackExactly)
{
    planStore().addPlan("Alpha", days(5), kJan1);
    planStore().addPlan("Omega", days(3), kJan1);
    planStore().markDaysDoneThrough(1, 2);
    planStore().setReminder(1, false);
    planStore().setBibleVersion(1, "engWEB2015eb");
    const std::string before = dumpOf(file());
    ASSERT_NE(before.find("CREATE TABLE"), std::string::npos);

    std::vector<int> reported;
    const PlanReplacement replaced = planStore().replacePlan(1, {"1-1", "2-2", "3-4", "5-5"}, {true, true, false, false},
                                                             {kJan1, kJan1 + 9h + 30min + 5s, std::nullopt, std::nullopt},
                                                             kJan1 + 24h,
                                                             [&](int done, int) { reported.push_back(done); });
    EXPECT_EQ(reported.back(), 4);
    ASSERT_EQ(planStore().planCount(), 2);
    const int plan = planStore().indexOf(replaced.newPlan).value();
    EXPECT_EQ(planStore().planTitle(plan), "Omega");
    EXPECT_EQ(planStore().dayCount(plan), 4);
    EXPECT_EQ(planStore().dayVerses(plan, 3), "3-4");
    EXPECT_TRUE(planStore().isDayDone(plan, 2));
    EXPECT_EQ(planStore().readDate(plan, 1), kJan1);
    EXPECT_EQ(planStore().readDate(plan, 2), kJan1 + 9h + 30min + 5s) << "kept to the second";
    EXPECT_EQ(planStore().startDate(plan), kJan1 + 24h);
    EXPECT_FALSE(planStore().record(plan).reminder);
    EXPECT_EQ(planStore().record(plan).bibleVersion, "engWEB2015eb");
    EXPECT_EQ(planStore().indexOf(replaced.oldPlan), std::nullopt);

    planStore().undoReplacement(replaced);
    EXPECT_EQ(dumpOf(file()), before);
    EXPECT_EQ(planStore().dayCount(planStore().indexOf(replaced.oldPlan).value()), 3);
    EXPECT_EQ(test::messageOf([&] { planStore().undoReplacement(replaced); }),
              "The replaced reading plan can no longer be restored");
}

class TemplateTest : public PlanStoreTest {
protected:
    void SetUp() override
    {
        sqlite3* db = nullptr;
        openDatabase(templates(), db);
        execSQL(db, "CREATE TABLE sevenTypes (day INTEGER PRIMARY KEY, verses TEXT);"
                    "INSERT INTO sevenTypes VALUES (2, '32-56');"
                    "INSERT INTO sevenTypes VALUES (1, '1-31');"
                    "INSERT INTO sevenTypes VALUES (3, '57-80,81-90');"
                    "CREATE TABLE quoted (day INTEGER, verses TEXT);"
                    "INSERT INTO quoted VALUES (1, '1-2'',3');"
                    "CREATE TABLE empty (day INTEGER, verses TEXT);");
        closeDatabase(db);
    }
    std::string templates() const { return dir.file("readplans.kova2"); }
};

TEST_F(TemplateTest, LoadsDayTextsInDayOrder)
{
    EXPECT_EQ(loadTemplateVerses(templates(), "sevenTypes"), (std::vector<std::string>{"1-31", "32-56", "57-80,81-90"}));
    // A quote in a template row reaches the plan unchanged.
    const auto quoted = loadTemplateVerses(templates(), "quoted");
    EXPECT_EQ(quoted, std::vector<std::string>{"1-2',3"});
    const std::string table = planStore().addPlan("Quoted", quoted, kJan1).guid();
    OtherConnection other(file());
    EXPECT_EQ(other.text(format("SELECT dayVerses FROM '%s' WHERE planDay=1", table)), "1-2',3");
    // Not a passage, so the plan is not listed.
    EXPECT_EQ(planStore().damagedPlans().size(), 1u);
}

TEST_F(TemplateTest, FailuresNameTheFileAndTable)
{
    const std::string missing = dir.file("nothere.kova2");
    EXPECT_EQ(test::messageOf([&] { loadTemplateVerses(missing, "sevenTypes"); }), "Plan file not found: " + missing);
    EXPECT_FALSE(std::filesystem::exists(missing));
    EXPECT_EQ(test::messageOf([&] { loadTemplateVerses(templates(), "empty"); }),
              "No lines returned for " + templates() + ", empty");
    EXPECT_THROW(loadTemplateVerses(templates(), "otntDaily"), SqliteError);
}

} // namespace
} // namespace kovara::core
