#include "prayer/kova_prayertracker.h"
#include "prayer/prayer_preview.h"
#include "fixtures.h"

#include <gtest/gtest.h>

#include <memory>

namespace kovara {
namespace {

// 2007-03-15 14:30:00, stored as 1173969000.
const TDateTime kMarch15 = EncodeDateTime(2007, 3, 15, 14, 30, 0);

class PrayerStoreTest : public ::testing::Test {
protected:
    PrayerStoreTest() : clock(kMarch15) { Open(); }
    void Open() { store = std::make_unique<TKOVAPrayerTracker>(dir.File("prayers.kova2"), &clock); }

    // Runs a query on the file through a second connection; the first column
    // of every row, NULL shown as "<null>", joined by "|".
    std::string Query(const std::string& sql)
    {
        sqlite3* db = nullptr;
        OpenDatabase(dir.File("prayers.kova2"), db);
        std::string out;
        QueryRows(db, sql, "no statement", [&](Statement& st) {
            if (!out.empty())
                out += "|";
            out += sqlite3_column_type(st.Handle(), 0) == SQLITE_NULL ? "<null>" : st.ColumnText(0);
        });
        CloseDatabase(db);
        return out;
    }

    std::int32_t Add(const std::string& title, const std::string& topic, const std::string& status = "Active")
    {
        const std::int32_t index = store->NewPrayerItem();
        store->UpdatePrayer(index, title, topic, "", status, "", false);
        return index;
    }

    std::string Titles(const std::string& filter)
    {
        TPrayerHeaderRecArray headers(1); // must be emptied first
        store->GetPrayerHeadersByTopic(filter, headers);
        std::string out;
        for (const auto& h : headers)
            out += (out.empty() ? "" : "|") + h.prayerTopic + "/" + h.prayerTitle;
        return out;
    }

    test::TempDir dir;
    FixedClock clock;
    std::unique_ptr<TKOVAPrayerTracker> store;
};

TEST_F(PrayerStoreTest, SchemaMadeOnceAndLeftAlone)
{
    EXPECT_EQ(Query("SELECT sql FROM sqlite_master WHERE name='prayerTracker';"),
              "CREATE TABLE 'prayerTracker' (prayerIndex INTEGER PRIMARY KEY, prayerTitle TEXT, prayerTopic TEXT, "
              "prayerTextData BLOB, prayerStatus TEXT, createTime INTEGER, lastEditTime INTEGER, previewText TEXT)");
    const std::string indexes = "prayerTracker_prayerIndex|prayerTracker_prayerStatus|prayerTracker_prayerTitle|"
                                "prayerTracker_prayerTopic";
    EXPECT_EQ(Query("SELECT name FROM sqlite_master WHERE type='index' ORDER BY name;"), indexes);

    // A second open on the file keeps the schema and the rows.
    const std::int32_t index = store->NewPrayerItem();
    store.reset();
    Open();
    EXPECT_EQ(Query("SELECT name FROM sqlite_master WHERE type='index' ORDER BY name;"), indexes);
    EXPECT_EQ(store->GetPrayerTitle(index), "New Prayer Item");
    EXPECT_EQ(store->CountPrayers("Any"), 1);
}

TEST_F(PrayerStoreTest, OpenFailureRaises)
{
    EXPECT_NE(test::MessageOf([&] { TKOVAPrayerTracker bad(dir.File("missing/folder/prayers.kova2")); }).find(
                  "SQLite Error"),
              std::string::npos);

    // A schema that cannot be completed raises and leaves no half-made table.
    const std::string clash = dir.File("clash.kova2");
    sqlite3* db = nullptr;
    OpenDatabase(clash, db);
    ExecSQL(db, "CREATE TABLE other (x); CREATE INDEX prayerTracker_prayerTitle ON other (x);");
    CloseDatabase(db);
    EXPECT_EQ(test::MessageOf([&] { TKOVAPrayerTracker bad(clash); }),
              "SQLite Error 1 - index prayerTracker_prayerTitle already exists");
    OpenDatabase(clash, db);
    EXPECT_FALSE(TableExists(db, "prayerTracker"));
    CloseDatabase(db);
}

TEST_F(PrayerStoreTest, DefaultTitles)
{
    const struct {
        const char* name;
        std::vector<std::pair<const char*, const char*>> existing; // title, status
        const char* expected;
    } cases[] = {
        {"empty table", {}, "New Prayer Item"},
        {"first taken", {{"New Prayer Item", "Active"}}, "New Prayer Item 2"},
        {"first two taken", {{"New Prayer Item", "Answered"}, {"New Prayer Item 2", "Inactive"}},
         "New Prayer Item 3"},
        {"only the second taken", {{"New Prayer Item 2", "Active"}}, "New Prayer Item"},
        {"deleted never blocks", {{"New Prayer Item", "Deleted"}}, "New Prayer Item"},
        {"other case does not block", {{"new prayer item", "Active"}}, "New Prayer Item"},
    };
    for (const auto& c : cases) {
        store.reset();
        std::filesystem::remove(dir.File("prayers.kova2"));
        Open();
        for (const auto& [title, status] : c.existing)
            Add(title, "", status);
        EXPECT_EQ(store->GetPrayerTitle(store->NewPrayerItem()), c.expected) << c.name;
    }
}

TEST_F(PrayerStoreTest, TimesStoredAsLocalSecondsAndReadBack)
{
    const std::int32_t given = store->NewPrayerItem(kMarch15 + 0.4 / 86400); // 400 ms past the second
    EXPECT_EQ(Query(Format("SELECT createTime FROM prayerTracker WHERE prayerIndex=%d;", given)), "1173969000");
    EXPECT_EQ(Query(Format("SELECT lastEditTime FROM prayerTracker WHERE prayerIndex=%d;", given)), "1173969000");
    EXPECT_EQ(DateTimeToStoredSeconds(store->GetCreateTime(given)), 1173969000);
    EXPECT_NEAR(store->GetLastEditTime(given), kMarch15, 1e-9);

    clock.Set(EncodeDateTime(2024, 2, 29, 23, 59, 59));
    const std::int32_t now = store->NewPrayerItem(); // 0 means now
    EXPECT_NEAR(store->GetCreateTime(now), clock.Now(), 1e-9);
    EXPECT_NEAR(store->GetLastEditTime(now), clock.Now(), 1e-9);

    // Saving without the flag keeps the edit time; with it, the edit time is now.
    clock.Set(EncodeDateTime(2024, 3, 1, 8, 0, 0));
    store->UpdatePrayer(given, "T", "", "", "Active", "", false);
    EXPECT_NEAR(store->GetLastEditTime(given), kMarch15, 1e-9);
    store->UpdatePrayer(given, "T", "", "", "Active", "", true);
    EXPECT_NEAR(store->GetLastEditTime(given), clock.Now(), 1e-9);
    EXPECT_NEAR(store->GetCreateTime(given), kMarch15, 1e-9);

    EXPECT_EQ(test::MessageOf([&] { store->GetCreateTime(99); }), "Prayer index not valid: 99");
    EXPECT_EQ(test::MessageOf([&] { store->GetLastEditTime(-1); }), "Prayer index not valid: -1");
}

TEST_F(PrayerStoreTest, UpdateStoresEmptyValuesAsNull)
{
    const std::int32_t index = store->NewPrayerItem();
    store->UpdatePrayer(index, "Title", "Topic", "Preview", "Answered", std::string("{\\rtf1\0x}", 9), true);
    EXPECT_EQ(store->GetPrayerText(index), std::string("{\\rtf1\0x}", 9)); // bytes kept exactly
    EXPECT_EQ(store->GetPrayerStatus(index), "Answered");

    store->UpdatePrayer(index, "", "", "", "", "", true);
    for (const char* column : {"prayerTitle", "prayerTopic", "prayerTextData", "previewText", "prayerStatus"})
        EXPECT_EQ(Query(Format("SELECT %s FROM prayerTracker;", column)), "<null>") << column;
    EXPECT_EQ(store->GetPrayerText(index), "");
    EXPECT_EQ(store->GetPrayerTopic(index), "");
    // A NULL status matches no filter, not even "Any".
    EXPECT_EQ(store->CountPrayers("Any"), 0);

    // Missing rows answer empty and changing them does nothing.
    store->UpdatePrayer(42, "Ghost", "", "", "Active", "", true);
    store->SetPrayerStatus(42, "Active");
    EXPECT_EQ(Query("SELECT count(*) FROM prayerTracker;"), "1");
    EXPECT_EQ(store->GetPrayerTitle(42), "");
    EXPECT_EQ(store->GetPrayerStatus(42), "");
    EXPECT_EQ(store->GetPrayerText(42), "");
}

TEST_F(PrayerStoreTest, UserTextIsBoundNotFormatted)
{
    const std::string odd = "Tom's \"list\"; DROP TABLE prayerTracker; --";
    const std::int32_t index = Add(odd, odd);
    EXPECT_EQ(store->GetPrayerTitle(index), odd);
    EXPECT_EQ(store->GetPrayerTopic(index), odd);
    EXPECT_EQ(store->FindPrayerByTitle(odd), index);
    EXPECT_EQ(store->GetTopicList(), std::vector<std::string>{odd});
    EXPECT_EQ(test::MessageOf([&] { store->CountPrayers("Active' OR '1'='1"); }),
              "TKOVAPrayerTracker.CountPrayers Error: unknown status filter 'Active' OR '1'='1'");
}

TEST_F(PrayerStoreTest, ListingOrderCountsAndTopics)
{
    Add("b", "friends");
    Add("a", "Family");
    Add("z", "");
    Add("Answered one", "Work", "Answered");
    Add("Asleep", "friends", "Inactive");
    EXPECT_EQ(Titles("Active"), "/z|Family/a|friends/b");
    EXPECT_EQ(Titles("Any"), "/z|Family/a|Work/Answered one|friends/Asleep|friends/b");
    EXPECT_EQ(Titles("Answered"), "Work/Answered one");
    EXPECT_EQ(store->GetTopicList(), (std::vector<std::string>{"Family", "Work", "friends"}));
    EXPECT_EQ(store->CountPrayers("Active"), 3);
    EXPECT_EQ(store->CountPrayers("Any"), store->CountPrayers("Active") + store->CountPrayers("Answered") +
                                              store->CountPrayers("Inactive"));

    // The listing carries every field of the row.
    const std::int32_t full = store->NewPrayerItem(kMarch15);
    clock.Set(kMarch15 + 1);
    store->UpdatePrayer(full, "Full", "Family", "Preview", "Inactive", "doc", true);
    TPrayerHeaderRecArray headers;
    store->GetPrayerHeaders("Inactive", "prayerTitle", headers);
    ASSERT_EQ(headers.size(), 2u);
    const TPrayerHeaderRec& h = headers[1];
    EXPECT_EQ(h.prayerTitle + "|" + h.prayerTopic + "|" + h.previewText + "|" + h.prayerStatus,
              "Full|Family|Preview|Inactive");
    EXPECT_NEAR(h.createTime, kMarch15, 1e-9);
    EXPECT_NEAR(h.lastEditTime, kMarch15 + 1, 1e-9);
    EXPECT_EQ(h.prayerIndex, full);
}

TEST_F(PrayerStoreTest, DeletedItemHiddenButStillAnswers)
{
    const std::int32_t gone = Add("Gone", "Lonely");
    Add("Kept", "Shared");
    const std::int32_t goneShared = Add("Gone too", "Shared", "Answered");
    store->UpdatePrayer(gone, "Gone", "Lonely", "p", "Active", "doc", false);
    store->SetPrayerStatus(gone, "Deleted");
    store->SetPrayerStatus(goneShared, "Deleted");

    for (const char* filter : {"Active", "Answered", "Inactive", "Any"})
        EXPECT_EQ(Titles(filter).find("Gone"), std::string::npos) << filter;
    EXPECT_EQ(store->CountPrayers("Any"), 1);
    EXPECT_EQ(store->CountPrayers("Answered"), 0);
    EXPECT_EQ(store->FindPrayerByTitle("Gone"), -1);
    EXPECT_EQ(store->GetTopicList(), std::vector<std::string>{"Shared"});

    EXPECT_EQ(store->GetPrayerTitle(gone), "Gone");
    EXPECT_EQ(store->GetPrayerText(gone), "doc");
    EXPECT_EQ(store->GetPrayerStatus(gone), "Deleted");
    EXPECT_NEAR(store->GetCreateTime(gone), kMarch15, 1e-9);
    EXPECT_NEAR(store->GetLastEditTime(gone), kMarch15, 1e-9);
    EXPECT_EQ(Query("SELECT count(*) FROM prayerTracker;"), "3"); // nothing removed
}

TEST(PrayerPreviewTest, Cases)
{
    const std::string x97(97, 'x');
    const std::string hundred(100, 'y');
    const std::string e = "\xC3\xA9"; // é, two bytes
    std::string e99;
    for (int i = 0; i < 99; ++i)
        e99 += e;
    std::string e97;
    for (int i = 0; i < 97; ++i)
        e97 += e;
    const struct {
        const char* name;
        std::string text;
        std::string preview;
    } cases[] = {
        {"empty", "", ""},
        {"only blanks and breaks", " \r\n\t\r\n ", ""},
        {"two lines", "Line one\r\nLine two", "Line one Line two"},
        {"trimmed first", "\r\n  Hello\r\n\r\n", "Hello"},
        {"blank lines inside", "a\r\n\r\nb", "a  b"},
        {"exactly 100", hundred, hundred},
        {"150 on one line", std::string(150, 'x'), x97 + "..."},
        {"101 counting a joined break", std::string(50, 'x') + "\r\n" + std::string(50, 'x'),
         std::string(50, 'x') + " " + std::string(46, 'x') + "..."},
        {"99 two-byte chars are not too long", e99, e99},
        {"101 two-byte chars cut between chars", e99 + e + e, e97 + "..."},
        {"cut never splits a sequence", std::string(96, 'x') + "\xE2\x82\xAC" + std::string(10, 'x'),
         std::string(96, 'x') + "\xE2\x82\xAC..."},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(MakePrayerPreview(c.text), c.preview) << c.name;
    }
}

TEST_F(PrayerStoreTest, SavingContentStoresTextOnlyWithAPreview)
{
    const std::int32_t index = store->NewPrayerItem();
    int written = 0;
    auto writer = [&] {
        ++written;
        return std::string("{\\rtf1 doc}");
    };
    clock.Set(kMarch15 + 2);
    SavePrayerContent(*store, index, "  Title \r\n", " Topic ", "Answered", "Body\r\nmore", writer);
    EXPECT_EQ(store->GetPrayerTitle(index), "Title");
    EXPECT_EQ(store->GetPrayerTopic(index), "Topic");
    EXPECT_EQ(store->GetPrayerText(index), "{\\rtf1 doc}");
    EXPECT_EQ(Query("SELECT previewText FROM prayerTracker;"), "Body more");
    EXPECT_NEAR(store->GetLastEditTime(index), kMarch15 + 2, 1e-9);

    SavePrayerContent(*store, index, "Title", "  ", "Active", "\r\n \r\n", writer);
    EXPECT_EQ(written, 1);
    EXPECT_EQ(Query("SELECT previewText FROM prayerTracker;"), "<null>");
    EXPECT_EQ(Query("SELECT prayerTextData FROM prayerTracker;"), "<null>");
    EXPECT_EQ(Query("SELECT prayerTopic FROM prayerTracker;"), "<null>");
}

} // namespace
} // namespace kovara
