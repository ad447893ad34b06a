// The devotional store on a small table, and the devotional.kova2 the build
// generates.
#include "core/content/devotional_store.h"
#include "fixtures.h"

#include <gtest/gtest.h>
#include <memory>

namespace kovara::core {
namespace {

class DevotionalTest : public ::testing::Test {
protected:
    void SetUp() override { openDatabase(dir.file("devotional.kova2"), db); }
    void TearDown() override { closeDatabase(db); }
    void makeTable(const std::string& rows)
    {
        execSQL(db, "CREATE TABLE faithsCheckbook (entryIndex INTEGER PRIMARY KEY, month INTEGER, day INTEGER, "
                    "devotionalText TEXT);" +
                        rows);
    }
    std::unique_ptr<DevotionalStore> make()
    {
        return std::make_unique<DevotionalStore>("faithsCheckbook", "Faith's Checkbook", "R. M. Halvard", db);
    }
    test::TempDir dir;
    sqlite3* db = nullptr;
};

TEST_F(DevotionalTest, EntriesByDay)
{
    makeTable("INSERT INTO faithsCheckbook VALUES (1,1,1,'<p>New year</p>');"
              "INSERT INTO faithsCheckbook VALUES (2,3,5,'<p>Fifth of <b>March</b></p>');");
    const auto dev = make();
    EXPECT_EQ(dev->title(), "Faith's Checkbook");
    EXPECT_EQ(dev->author(), "R. M. Halvard");
    EXPECT_EQ(dev->entryByDay(3, 5), "<p>Fifth of <b>March</b></p>");
    EXPECT_EQ(dev->entryByDay(1, 1), "<p>New year</p>");
    // A day without an entry gives the error text, not an exception.
    EXPECT_EQ(dev->entryByDay(2, 29),
              "DevotionalStore::entryByDay Error: no entry found for 2-29 in Faith's Checkbook");
}

TEST_F(DevotionalTest, CreateRefusesAnEmptyOrMissingTable)
{
    EXPECT_EQ(test::messageOf([&] { make(); }), "SQLite Error 1 - no such table: faithsCheckbook");
    makeTable("");
    EXPECT_EQ(test::messageOf([&] { make(); }), "DevotionalStore: Unable to get entryIndex from faithsCheckbook");
}

TEST(DevotionalContentTest, GeneratedFileHasEveryDayOfTheYear)
{
    sqlite3* db = nullptr;
    openDatabase(test::builtFile("devotional.kova2"), db);
    int rows = 0, days = 0;
    queryRow(db, "SELECT count(*), count(DISTINCT month*100+day) FROM faithsCheckbook;", "x", [&](Statement& st) {
        rows = st.columnInt(0);
        days = st.columnInt(1);
    });
    EXPECT_EQ(rows, 366);
    EXPECT_EQ(days, 366);
    {
        DevotionalStore dev("faithsCheckbook", "Faith's Checkbook", "R. M. Halvard", db);
        const std::string jan1 = dev.entryByDay(1, 1);
        // The reference links to its verse on the Bible page.
        EXPECT_NE(jan1.find("<a href=\"bible:19.121.8\">Psalms 121:8</a>"), std::string::npos) << jan1;
        EXPECT_NE(jan1.find("The LORD shall preserve thy going out and thy coming in"), std::string::npos) << jan1;
        const std::string feb29 = dev.entryByDay(2, 29);
        EXPECT_NE(feb29.find("<a href=\"bible:23.55.6-7\">Isaiah 55:6,7</a>"), std::string::npos) << feb29;
        EXPECT_NE(feb29.find("Seek ye the LORD while he may be found"), std::string::npos) << feb29;
        // A reference with runs in two chapters quotes each verse.
        const std::string feb19 = dev.entryByDay(2, 19);
        EXPECT_NE(feb19.find("<a href=\"bible:40.28.5-6\">Matthew 28:5,6; 24:44</a>"), std::string::npos) << feb19;
        EXPECT_NE(feb19.find("Therefore be ye also ready"), std::string::npos) << feb19;
    }
    closeDatabase(db);
}

} // namespace
} // namespace kovara::core
