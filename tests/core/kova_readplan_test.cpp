#include "plans/kova_readplan.h"
#include "fixtures.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <regex>

namespace kovara {
namespace {

const TDateTime kJan1 = EncodeDate(2007, 1, 1);

std::vector<std::string> Days(int count)
{
    std::vector<std::string> days;
    for (int i = 1; i <= count; ++i)
        days.push_back(Format("%d-%d", i, i));
    return days;
}

// Opens a second connection on the same file, as another program would.
class OtherConnection {
public:
    explicit OtherConnection(const std::string& file) { OpenDatabase(file, db); }
    ~OtherConnection() { CloseDatabase(db); }
    int Int(const std::string& sql)
    {
        int n = -1;
        QueryRow(db, sql, "no statement", [&](Statement& st) { n = st.ColumnInt(0); });
        return n;
    }
    std::string Text(const std::string& sql)
    {
        std::string s = "(no row)";
        QueryRow(db, sql, "no statement", [&](Statement& st) { s = st.ColumnText(0); });
        return s;
    }
    sqlite3* db = nullptr;
};

class ReadPlansTest : public ::testing::Test {
protected:
    std::string file() const { return dir.File("userreadplans.kova2"); }
    TKOVAReadPlans& Store()
    {
        if (!store)
            store = std::make_unique<TKOVAReadPlans>(file(), clock);
        return *store;
    }
    // Tables other than the master table.
    int DayTables()
    {
        OtherConnection other(file());
        return other.Int("SELECT count(*) FROM sqlite_master WHERE type='table' AND name<>'KOVA2PlanMaster'");
    }
    void TearDown() override
    {
        if (store) {
            EXPECT_EQ(sqlite3_next_stmt(store->Handle(), nullptr), nullptr) << "statement left unfinalized";
            EXPECT_NE(sqlite3_get_autocommit(store->Handle()), 0) << "transaction left open";
        }
    }

    test::TempDir dir;
    FixedClock clock{EncodeDateTime(2007, 1, 1, 9, 30, 0)};
    std::unique_ptr<TKOVAReadPlans> store;
};

TEST_F(ReadPlansTest, FirstRunCreatesAnEmptyMasterTable)
{
    EXPECT_EQ(Store().GetPlanCount(), 0);
    EXPECT_EQ(Store().FileName(), file());
    OtherConnection other(file());
    EXPECT_EQ(other.Int("SELECT count(*) FROM KOVA2PlanMaster"), 0);
}

TEST_F(ReadPlansTest, AddPlanWritesMasterRowAndDaysThatSurviveReopening)
{
    const int index = Store().AddPlan("Gospels", {"1-4", "5-7", "8-10"}, kJan1);
    ASSERT_EQ(index, 0);
    const std::string table = Store().Plan(0).TableName;
    EXPECT_TRUE(std::regex_match(table, std::regex(R"(\{[0-9A-F]{8}-[0-9A-F]{4}-[0-9A-F]{4}-[0-9A-F]{4}-[0-9A-F]{12}\})")))
        << table;
    EXPECT_NE(NewGuidString(), NewGuidString());
    {
        OtherConnection other(file());
        EXPECT_EQ(other.Int("SELECT startDate FROM KOVA2PlanMaster"), 1167609600);
        EXPECT_EQ(other.Text("SELECT status FROM KOVA2PlanMaster"), "active");
        EXPECT_EQ(other.Int(Format("SELECT count(*) FROM '%s' WHERE dayDone=0", table)), 3);
        EXPECT_EQ(other.Text(Format("SELECT dayVerses FROM '%s' WHERE planDay=3", table)), "8-10");
    }
    store.reset();
    TKOVAReadPlans& reopened = Store();
    ASSERT_EQ(reopened.GetPlanCount(), 1);
    EXPECT_EQ(reopened.GetPlanTitle(0), "Gospels");
    EXPECT_DOUBLE_EQ(reopened.GetStartDate(0), kJan1);
    EXPECT_EQ(reopened.GetDayCount(0), 3);
    EXPECT_EQ(reopened.GetDayVerses(0, 2), "5-7");
    EXPECT_FALSE(reopened.IsDayDone(0, 1));

    // The index returned is the one after the reload, which orders by title.
    EXPECT_EQ(reopened.AddPlan("Acts", {"1-2"}, kJan1), 0);
    EXPECT_EQ(reopened.GetPlanTitle(1), "Gospels");
}

TEST_F(ReadPlansTest, TodaysPlanDayAndFirstUnreadDay)
{
    struct Case {
        const char* what;
        TDateTime now;
        int dayCount;
        int readThrough; // days 1..readThrough read
        int today;
        int firstUnread;
    };
    const Case cases[] = {
        {"created today", kJan1 + 0.4, 30, 0, 1, 1},
        {"day 1 read", kJan1 + 0.4, 30, 1, 1, 2},
        {"just before midnight", kJan1 + 0.9999, 30, 0, 1, 1},
        {"next day just after midnight", kJan1 + 1.0001, 30, 0, 2, 1},
        {"ten days in, three read", kJan1 + 10.5, 30, 3, 11, 4},
        {"past the last day", kJan1 + 100, 30, 0, 30, 1},
        {"every day read", kJan1 + 5, 30, 30, 6, kAllDaysRead},
        {"start date still ahead", kJan1 - 3.5, 30, 0, 4, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        const int plan = Store().AddPlan(c.what, Days(c.dayCount), kJan1);
        if (c.readThrough > 0)
            Store().MarkDaysDoneThrough(plan, c.readThrough);
        clock.Set(c.now);
        EXPECT_EQ(Store().GetTodaysPlanDay(plan), c.today);
        EXPECT_EQ(Store().GetFirstUnreadDay(plan), c.firstUnread);
    }
}

TEST_F(ReadPlansTest, RangeChecksNameTheOffendingNumber)
{
    TKOVAReadPlans& s = Store();
    s.AddPlan("Alpha", Days(3), kJan1);
    using test::MessageOf;
    EXPECT_EQ(MessageOf([&] { s.GetPlanTitle(-1); }), "Plan index out of range: -1");
    EXPECT_EQ(MessageOf([&] { s.GetTodaysPlanDay(1); }), "Plan index out of range: 1");
    EXPECT_EQ(MessageOf([&] { s.SetStartDate(1, kJan1); }), "Plan index out of range: 1");
    EXPECT_EQ(MessageOf([&] { s.DeletePlan(-1); }), "Plan index out of range: -1");
    EXPECT_EQ(MessageOf([&] { s.RenamePlan(5, "x"); }), "Plan index out of range: 5");
    // The plan is checked before the day.
    EXPECT_EQ(MessageOf([&] { s.GetDayVerses(1, 0); }), "Plan index out of range: 1");
    EXPECT_EQ(MessageOf([&] { s.GetDayVerses(0, 0); }), "Day out of range: 0");
    EXPECT_EQ(MessageOf([&] { s.IsDayDone(0, 4); }), "Day out of range: 4");
    EXPECT_EQ(MessageOf([&] { s.SetDayDone(0, 4, true); }), "Day out of range: 4");
    EXPECT_EQ(MessageOf([&] { s.MarkDaysDoneThrough(0, 0); }), "Day out of range: 0");
}

TEST_F(ReadPlansTest, ReadFlagsAreWrittenThroughAndOnlyWhenTheyChange)
{
    TKOVAReadPlans& s = Store();
    s.AddPlan("Alpha", Days(10), kJan1);
    s.SetDayDone(0, 7, true);
    const int before = sqlite3_total_changes(s.Handle());
    s.SetDayDone(0, 7, true);
    s.SetDayDone(0, 6, false);
    EXPECT_EQ(sqlite3_total_changes(s.Handle()), before) << "an unchanged flag was written";

    s.MarkDaysDoneThrough(0, 5);
    s.SetDayDone(0, 2, false);
    const std::vector<bool> expected = {true, false, true, true, true, false, true, false, false, false};
    store.reset();
    for (int day = 1; day <= 10; ++day)
        EXPECT_EQ(Store().IsDayDone(0, day), expected[static_cast<std::size_t>(day - 1)]) << "day " << day;
}

TEST_F(ReadPlansTest, AFailedWriteLeavesThePlanInMemoryUnchanged)
{
    TKOVAReadPlans& s = Store();
    s.AddPlan("Alpha", Days(3), kJan1);
    OtherConnection other(file());
    ExecSQL(other.db, "BEGIN EXCLUSIVE TRANSACTION");
    EXPECT_THROW(s.SetDayDone(0, 1, true), ESQLite3);
    EXPECT_THROW(s.MarkDaysDoneThrough(0, 2), ESQLite3);
    EXPECT_THROW(s.SetStartDate(0, kJan1 + 7), ESQLite3);
    EXPECT_THROW(s.RenamePlan(0, "Beta"), ESQLite3);
    EXPECT_FALSE(s.IsDayDone(0, 1));
    EXPECT_FALSE(s.IsDayDone(0, 2));
    EXPECT_DOUBLE_EQ(s.GetStartDate(0), kJan1);
    EXPECT_EQ(s.GetPlanTitle(0), "Alpha");
    ExecSQL(other.db, "ROLLBACK TRANSACTION");

    s.SetStartDate(0, kJan1 + 7);
    EXPECT_EQ(other.Int("SELECT startDate FROM KOVA2PlanMaster"), 1167609600 + 7 * 86400);
}

TEST_F(ReadPlansTest, RenameKeepsTheIndexUntilTheNextLoad)
{
    TKOVAReadPlans& s = Store();
    s.AddPlan("alpha", Days(1), kJan1);
    s.AddPlan("Alpha", Days(1), kJan1);
    ASSERT_EQ(s.GetPlanTitle(0), "Alpha"); // byte order: upper case first
    s.RenamePlan(0, "Zeta");
    EXPECT_EQ(s.GetPlanTitle(0), "Zeta");
    EXPECT_EQ(s.GetPlanTitle(1), "alpha");
    s.LoadPlans();
    EXPECT_EQ(s.GetPlanTitle(0), "Zeta");
    EXPECT_EQ(s.GetPlanTitle(1), "alpha");
    s.RenamePlan(1, "a'b \"c\"; DROP TABLE KOVA2PlanMaster; --");
    s.LoadPlans();
    EXPECT_EQ(s.GetPlanTitle(1), "a'b \"c\"; DROP TABLE KOVA2PlanMaster; --");
}

TEST_F(ReadPlansTest, DeleteKeepsTheRowsAndFreesTheTitle)
{
    TKOVAReadPlans& s = Store();
    s.AddPlan("Alpha", Days(2), kJan1);
    s.AddPlan("Beta", Days(2), kJan1);
    const std::string table = s.Plan(0).TableName;
    s.DeletePlan(0);
    ASSERT_EQ(s.GetPlanCount(), 1);
    EXPECT_EQ(s.GetPlanTitle(0), "Beta");
    EXPECT_FALSE(s.PlanTitleExists("Alpha"));
    {
        OtherConnection other(file());
        EXPECT_EQ(other.Text(Format("SELECT status FROM KOVA2PlanMaster WHERE tableName='%s'", table)), "deleted");
        EXPECT_EQ(other.Int(Format("SELECT count(*) FROM '%s'", table)), 2);
    }
    EXPECT_EQ(s.AddPlan("Alpha", Days(1), kJan1), 0);
    EXPECT_NE(s.Plan(0).TableName, table);
}

TEST_F(ReadPlansTest, TitleComparisonIgnoresCaseInAnyScript)
{
    TKOVAReadPlans& s = Store();
    s.AddPlan("Bible in a Year", Days(1), kJan1);
    s.AddPlan("Évangiles ÀÇÕ", Days(1), kJan1);
    s.AddPlan("ПСАЛМЫ", Days(1), kJan1);
    s.AddPlan("Ψαλμοί", Days(1), kJan1);
    for (const char* title : {"bible in a year", "BIBLE IN A YEAR", "évangiles àçõ", "ÉVANGILES ÀÇÕ", "псалмы",
                              "ΨΑΛΜΟΊ", "ψαλμοί"})
        EXPECT_TRUE(s.PlanTitleExists(title)) << title;
    for (const char* title : {"Bible in a Year 2", "Evangiles ÀÇÕ", "псалом", ""})
        EXPECT_FALSE(s.PlanTitleExists(title)) << title;
    // Bytes that are not UTF-8 (older 8-bit titles) still compare, unchanged.
    EXPECT_EQ(LocaleLowerCase("Caf\xC9 AB"), "caf\xC9 ab");
}

TEST_F(ReadPlansTest, DayTextsHoldingQuotesAreStoredAsTheyAre)
{
    const std::vector<std::string> days = {"1-2", "3-4'); DROP TABLE KOVA2PlanMaster; --", "it's"};
    ASSERT_EQ(Store().AddPlan("O'Brien's plan", days, kJan1), 0);
    store.reset();
    EXPECT_EQ(Store().GetPlanTitle(0), "O'Brien's plan");
    EXPECT_EQ(Store().Plan(0).DayVerses, days);
}

TEST_F(ReadPlansTest, AFailedAddPlanLeavesNoTableAndNoOpenTransaction)
{
    TKOVAReadPlans& s = Store();
    s.AddPlan("Kept", Days(2), kJan1);

    // A day row the engine refuses (too long for this connection's limit)
    // fails the insert in the middle of the transaction.
    const int oldLimit = sqlite3_limit(s.Handle(), SQLITE_LIMIT_LENGTH, 400);
    EXPECT_THROW(s.AddPlan("Broken rows", {"1-2", std::string(1000, '1')}, kJan1), ESQLite3);
    sqlite3_limit(s.Handle(), SQLITE_LIMIT_LENGTH, oldLimit);
    EXPECT_NE(sqlite3_get_autocommit(s.Handle()), 0);
    EXPECT_EQ(DayTables(), 1);

    // A master row the database refuses, after the days were committed.
    {
        OtherConnection other(file());
        ExecSQL(other.db, "CREATE TRIGGER refuse BEFORE INSERT ON KOVA2PlanMaster BEGIN SELECT RAISE(ABORT, 'refused'); END;");
    }
    EXPECT_THROW(s.AddPlan("Broken master", Days(2), kJan1), ESQLite3);
    EXPECT_EQ(DayTables(), 1);
    {
        OtherConnection other(file());
        ExecSQL(other.db, "DROP TRIGGER refuse;");
    }

    ASSERT_EQ(s.GetPlanCount(), 1);
    EXPECT_EQ(s.GetPlanTitle(0), "Kept");
    // The store goes on working: the next plan is made as usual.
    EXPECT_EQ(s.AddPlan("Later", Days(2), kJan1), 1);
    EXPECT_EQ(DayTables(), 2);
}

class TemplateTest : public ReadPlansTest {
protected:
    void SetUp() override
    {
        sqlite3* db = nullptr;
        OpenDatabase(templates(), db);
        ExecSQL(db, "CREATE TABLE sevenTypes (day INTEGER PRIMARY KEY, verses TEXT);"
                    "INSERT INTO sevenTypes VALUES (2, '32-56');"
                    "INSERT INTO sevenTypes VALUES (1, '1-31');"
                    "INSERT INTO sevenTypes VALUES (3, '57-80,81-90');"
                    "CREATE TABLE quoted (day INTEGER, verses TEXT);"
                    "INSERT INTO quoted VALUES (1, '1-2'',3');"
                    "CREATE TABLE empty (day INTEGER, verses TEXT);");
        CloseDatabase(db);
    }
    std::string templates() const { return dir.File("readplans.kova2"); }
};

TEST_F(TemplateTest, LoadsDayTextsInDayOrder)
{
    EXPECT_EQ(LoadTemplateVerses(templates(), "sevenTypes"), (std::vector<std::string>{"1-31", "32-56", "57-80,81-90"}));
    // A quote in a template row reaches the plan unchanged.
    const auto quoted = LoadTemplateVerses(templates(), "quoted");
    ASSERT_EQ(Store().AddPlan("Quoted", quoted, kJan1), 0);
    EXPECT_EQ(Store().GetDayVerses(0, 1), "1-2',3");
}

TEST_F(TemplateTest, FailuresNameTheFileAndTable)
{
    const std::string missing = dir.File("nothere.kova2");
    EXPECT_EQ(test::MessageOf([&] { LoadTemplateVerses(missing, "sevenTypes"); }), "Plan file not found: " + missing);
    EXPECT_FALSE(std::filesystem::exists(missing));
    EXPECT_EQ(test::MessageOf([&] { LoadTemplateVerses(templates(), "empty"); }),
              "No lines returned for " + templates() + ", empty");
    EXPECT_THROW(LoadTemplateVerses(templates(), "otntDaily"), ESQLite3);
}

} // namespace
} // namespace kovara
