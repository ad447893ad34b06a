#include "db/sqlite_db.h"
#include "fixtures.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace kovara {
namespace {

class SqliteDbTest : public ::testing::Test {
protected:
    void SetUp() override { OpenDatabase(dir.File("t.db"), db); }
    void TearDown() override
    {
        // Every operation must have finalized its statement.
        EXPECT_EQ(sqlite3_next_stmt(db, nullptr), nullptr);
        CloseDatabase(db);
    }
    int Count(const std::string& table)
    {
        int n = -1;
        QueryRow(db, "SELECT count(*) FROM " + table, "no statement", [&](Statement& st) { n = st.ColumnInt(0); });
        return n;
    }

    test::TempDir dir;
    sqlite3* db = nullptr;
};

TEST_F(SqliteDbTest, CheckResultPassesSuccessCodesAndRaisesTheRest)
{
    for (int code : {SQLITE_OK, SQLITE_ROW, SQLITE_DONE})
        EXPECT_EQ(CheckResult(code, db), code);
    for (int code : {SQLITE_ERROR, SQLITE_BUSY, SQLITE_CONSTRAINT, SQLITE_MISUSE})
        EXPECT_THROW(CheckResult(code, nullptr), ESQLite3) << code;
}

TEST_F(SqliteDbTest, MessagesCarryCodeAndEngineText)
{
    try {
        RaiseSQLiteError(5, nullptr);
        FAIL();
    } catch (const ESQLite3& e) {
        EXPECT_STREQ(e.what(), "SQLite Error 5");
    }
    try {
        Statement st(db, "SELECT * FROM missingTable;");
        FAIL();
    } catch (const ESQLite3& e) {
        EXPECT_STREQ(e.what(), "SQLite Error 1 - no such table: missingTable");
    }
}

TEST_F(SqliteDbTest, ExecSqlRunsEveryStatementInOrder)
{
    ExecSQL(nullptr, "CREATE TABLE nothing (a);"); // no connection: nothing happens
    ExecSQL(db, "BEGIN TRANSACTION");
    ExecSQL(db, "CREATE TABLE t (a INTEGER); INSERT INTO t VALUES (1);");
    ExecSQL(db, "INSERT INTO t VALUES (2);   \n  ");
    ExecSQL(db, "COMMIT TRANSACTION");
    EXPECT_EQ(Count("t"), 2);
    EXPECT_TRUE(TableExists(db, "t"));
    EXPECT_FALSE(TableExists(db, "u"));
    EXPECT_FALSE(TableExists(db, "nothing")); // ExecSQL without a connection made nothing
}

TEST_F(SqliteDbTest, FailingStatementRaisesAndLeavesNothingOpen)
{
    ExecSQL(db, "CREATE TABLE t (a INTEGER UNIQUE); INSERT INTO t VALUES (1);");
    EXPECT_THROW(ExecSQL(db, "INSERT INTO t VALUES (1);"), ESQLite3);
    EXPECT_THROW(ExecSQL(db, "INSERT INTO t VALUES (3); INSERT INTO t VALUES (1); INSERT INTO t VALUES (4);"),
                 ESQLite3);
    EXPECT_EQ(Count("t"), 2); // the first statement ran, the third never did
    // a statement that fails while stepping is finalized all the same
    EXPECT_THROW(QueryRow(db, "SELECT abs(-9223372036854775807 - 1) FROM t", "x", [](Statement&) {}), ESQLite3);
    EXPECT_THROW(QueryRow(db, "   ", "TKOVATest: Unable to assign statement", [](Statement&) {}), Exception);
}

TEST_F(SqliteDbTest, TextRoundTripsAsBytesAndEmptyIsNull)
{
    ExecSQL(db, "CREATE TABLE t (id INTEGER, v TEXT);");
    const std::string withZero("a\0b", 3);
    const std::string latin1 = "caf\xe9"; // not UTF-8: stored as given
    int id = 0;
    for (const std::string& value : {std::string(), withZero, latin1}) {
        Statement st(db, "INSERT INTO t VALUES (?, ?);");
        st.Run([&] {
            st.BindInt(1, ++id);
            st.BindText(2, value);
            st.Step();
        });
    }
    std::vector<std::string> back;
    std::vector<int> isNull;
    QueryRows(db, "SELECT v, v IS NULL FROM t ORDER BY id", "x", [&](Statement& st) {
        back.push_back(st.ColumnText(0));
        isNull.push_back(st.ColumnInt(1));
    });
    EXPECT_EQ(back, (std::vector<std::string>{"", withZero, latin1}));
    EXPECT_EQ(isNull, (std::vector<int>{1, 0, 0}));
}

TEST_F(SqliteDbTest, OpenCreatesTheFileAndCloseIsIdempotent)
{
    sqlite3* other = nullptr;
    const std::string path = dir.File("new.kova2");
    OpenDatabase(path, other);
    EXPECT_TRUE(std::filesystem::exists(path));
    CloseDatabase(other);
    EXPECT_EQ(other, nullptr);
    CloseDatabase(other); // second close does nothing
    EXPECT_THROW(OpenDatabase(dir.File("no/such/folder/x.kova2"), other), ESQLite3);
    EXPECT_EQ(other, nullptr);
}

} // namespace
} // namespace kovara
