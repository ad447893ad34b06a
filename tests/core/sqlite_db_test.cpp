#include "core/db/sqlite_db.h"
#include "fixtures.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace kovara::core {
namespace {

class SqliteDbTest : public ::testing::Test {
protected:
    void SetUp() override { openDatabase(dir.file("t.db"), db); }
    void TearDown() override
    {
        // Every operation must have finalized its statement.
        EXPECT_EQ(sqlite3_next_stmt(db, nullptr), nullptr);
        closeDatabase(db);
    }
    int count(const std::string& table)
    {
        int n = -1;
        queryRow(db, "SELECT count(*) FROM " + table, "no statement", [&](Statement& st) { n = st.columnInt(0); });
        return n;
    }

    test::TempDir dir;
    sqlite3* db = nullptr;
};

TEST_F(SqliteDbTest, CheckResultPassesSuccessCodesAndRaisesTheRest)
{
    for (int code : {SQLITE_OK, SQLITE_ROW, SQLITE_DONE})
        EXPECT_EQ(checkResult(code, db), code);
    for (int code : {SQLITE_ERROR, SQLITE_BUSY, SQLITE_CONSTRAINT, SQLITE_MISUSE})
        EXPECT_THROW(checkResult(code, nullptr), SqliteError) << code;
}

TEST_F(SqliteDbTest, MessagesCarryCodeAndEngineText)
{
    try {
        raiseSQLiteError(5, nullptr);
        FAIL();
    } catch (const SqliteError& e) {
        EXPECT_STREQ(e.what(), "SQLite Error 5");
    }
    try {
        Statement st(db, "SELECT * FROM missingTable;");
        FAIL();
    } catch (const SqliteError& e) {
        EXPECT_STREQ(e.what(), "SQLite Error 1 - no such table: missingTable");
    }
}

TEST_F(SqliteDbTest, ExecSqlRunsEveryStatementInOrder)
{
    execSQL(nullptr, "CREATE TABLE nothing (a);"); // no connection: nothing happens
    execSQL(db, "BEGIN TRANSACTION");
    execSQL(db, "CREATE TABLE t (a INTEGER); INSERT INTO t VALUES (1);");
    execSQL(db, "INSERT INTO t VALUES (2);   \n  ");
    execSQL(db, "COMMIT TRANSACTION");
    EXPECT_EQ(count("t"), 2);
    EXPECT_TRUE(tableExists(db, "t"));
    EXPECT_FALSE(tableExists(db, "u"));
    EXPECT_FALSE(tableExists(db, "nothing")); // execSQL without a connection made nothing
}

TEST_F(SqliteDbTest, FailingStatementRaisesAndLeavesNothingOpen)
{
    execSQL(db, "CREATE TABLE t (a INTEGER UNIQUE); INSERT INTO t VALUES (1);");
    EXPECT_THROW(execSQL(db, "INSERT INTO t VALUES (1);"), SqliteError);
    EXPECT_THROW(execSQL(db, "INSERT INTO t VALUES (3); INSERT INTO t VALUES (1); INSERT INTO t VALUES (4);"),
                 SqliteError);
    EXPECT_EQ(count("t"), 2); // the first statement ran, the third never did
    // a statement that fails while stepping is finalized all the same
    EXPECT_THROW(queryRow(db, "SELECT abs(-9223372036854775807 - 1) FROM t", "x", [](Statement&) {}), SqliteError);
    EXPECT_THROW(queryRow(db, "   ", "DatabaseTest: Unable to assign statement", [](Statement&) {}), Exception);
}

TEST_F(SqliteDbTest, TextRoundTripsAsBytesAndEmptyIsNull)
{
    execSQL(db, "CREATE TABLE t (id INTEGER, v TEXT);");
    const std::string withZero("a\0b", 3);
    const std::string latin1 = "caf\xe9"; // not UTF-8: stored as given
    int id = 0;
    for (const std::string& value : {std::string(), withZero, latin1}) {
        Statement st(db, "INSERT INTO t VALUES (?, ?);");
        st.run([&] {
            st.bindInt(1, ++id);
            st.bindText(2, value);
            st.step();
        });
    }
    std::vector<std::string> back;
    std::vector<int> isNull;
    queryRows(db, "SELECT v, v IS NULL FROM t ORDER BY id", "x", [&](Statement& st) {
        back.push_back(st.columnText(0));
        isNull.push_back(st.columnInt(1));
    });
    EXPECT_EQ(back, (std::vector<std::string>{"", withZero, latin1}));
    EXPECT_EQ(isNull, (std::vector<int>{1, 0, 0}));
}

TEST_F(SqliteDbTest, OpenCreatesTheFileAndCloseIsIdempotent)
{
    sqlite3* other = nullptr;
    const std::string path = dir.file("new.kova2");
    openDatabase(path, other);
    EXPECT_TRUE(std::filesystem::exists(path));
    closeDatabase(other);
    EXPECT_EQ(other, nullptr);
    closeDatabase(other); // second close does nothing
    EXPECT_THROW(openDatabase(dir.file("no/such/folder/x.kova2"), other), SqliteError);
    EXPECT_EQ(other, nullptr);
}

} // namespace
} // namespace kovara::core
