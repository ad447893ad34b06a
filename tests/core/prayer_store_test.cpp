#include "core/prayer/prayer_store.h"
#include "core/prayer/prayer_preview.h"
#include "fixtures.h"

#include <gtest/gtest.h>

#include <fstream>
#include <memory>

namespace kovara::core {
namespace {

// 2007-03-15 14:30:00, stored as 1173969000.
const sys_seconds kMarch15 = makeMoment(2007, 3, 15, 14, 30, 0);

class PrayerStoreTest : public ::testing::Test {
protected:
    PrayerStoreTest() : clock(kMarch15) { open(); }
    void open() { store = std::make_unique<PrayerStore>(dir.file("prayers.kova2"), &clock); }

    // Runs a query on the file through a second connection; the first column
    // of every row, NULL shown as "<null>", joined by "|".
    std::string query(const std::string& sql)
    {
        sqlite3* db = nullptr;
        openDatabase(dir.file("prayers.kova2"), db);
        std::string out;
        queryRows(db, sql, "no statement", [&](Statement& st) {
            if (!out.empty())
                out += "|";
            out += sqlite3_column_type(st.handle(), 0) == SQLITE_NULL ? "<null>" : st.columnText(0);
        });
        closeDatabase(db);
        return out;
    }

    // status is the stored word.
    std::int32_t add(const std::string& title, const std::string& topic, const std::string& status = "Active")
    {
        const std::int32_t index = store->newPrayerItem();
        store->updatePrayer(index, title, topic, "", StoredStatus::fromWord(status), "", false);
        return index;
    }

    std::string titles(PrayerFilter filter)
    {
        const PrayerHeaders headers = store->prayerHeadersByTopic(filter);
        std::string out;
        for (const auto& h : headers)
            out += (out.empty() ? "" : "|") + h.prayerTopic + "/" + h.prayerTitle;
        return out;
    }

    test::TempDir dir;
    FixedClock clock;
    std::unique_ptr<PrayerStore> store;
};

TEST(NaturalOrderTest, NumbersByValueLettersWithoutCase)
{
    const struct {
        const char* a;
        const char* b;
    } before[] = {
        {"item 2", "item 10"},     {"item 20", "item 100"}, {"item 9b", "item 10a"}, {"", "a"},
        {"apple", "Banana"},       {"Family", "family"},    {"family", "Friends"},   {"v1.9", "v1.10"},
        {"item 007", "item 7"} /* equal numbers: byte-wise */,    {"x", "x1"},             {"2 Kings", "10 Kings"},
        {"a99999999999999999999", "a100000000000000000000"},
    };
    for (const auto& c : before) {
        EXPECT_TRUE(naturalLess(c.a, c.b)) << c.a << " < " << c.b;
        EXPECT_FALSE(naturalLess(c.b, c.a)) << c.b << " !< " << c.a;
    }
    EXPECT_FALSE(naturalLess("same", "same"));
}

TEST_F(PrayerStoreTest, ListingOrdersTopicsAndTitlesAsPeopleDo)
{
    for (const char* title : {"item 100", "item 20", "Item 3", "item 1"})
        add(title, "work");
    add("Mum", "Family");
    add("Dad", "family");
    add("Neighbours", "");
    EXPECT_EQ(titles(std::nullopt),
              "/Neighbours|Family/Mum|family/Dad|work/item 1|work/Item 3|work/item 20|work/item 100");
    EXPECT_EQ(titles(PrayerStatus::Active), titles(std::nullopt));
    // A search lists its matches in the same order.
    store->buildSearchIndex([](const std::string& s) { return s; });
    std::string found;
    for (const PrayerHeader& h : store->prayerHeadersMatching(std::nullopt, "item"))
        found += (found.empty() ? "" : "|") + h.prayerTitle;
    EXPECT_EQ(found, "item 1|Item 3|item 20|item 100");
}

TEST_F(PrayerStoreTest, SchemaMadeOnceAndLeftAlone)
{
    EXPECT_EQ(query("SELECT sql FROM sqlite_master WHERE name='prayerTracker';"),
              "CREATE TABLE 'prayerTracker' (prayerIndex INTEGER PRIMARY KEY, prayerTitle TEXT, prayerTopic TEXT, "
              "prayerTextData BLOB, prayerStatus TEXT, createTime INTEGER, lastEditTime INTEGER, previewText TEXT)");
    const std::string indexes = "prayerTracker_prayerIndex|prayerTracker_prayerStatus|prayerTracker_prayerTitle|"
                                "prayerTracker_prayerTopic";
    EXPECT_EQ(query("SELECT name FROM sqlite_master WHERE type='index' AND tbl_name='prayerTracker' ORDER BY name;"), indexes);

    // A second open on the file keeps the schema and the rows.
    const std::int32_t index = add("Kept", "");
    store.reset();
    open();
    EXPECT_EQ(query("SELECT name FROM sqlite_master WHERE type='index' AND tbl_name='prayerTracker' ORDER BY name;"), indexes);
    EXPECT_EQ(store->prayerTitle(index), "Kept");
    EXPECT_EQ(store->countPrayers(std::nullopt), 1);
}

// The program ends (a crash, a kill) while a new item's editor is open: the
// item was never saved, so the next open leaves it out of the journal, and
// items saved before or after are kept.
TEST_F(PrayerStoreTest, ANewItemNeverSavedIsGoneAfterTheProgramEnds)
{
    const std::int32_t saved = add("Saved", "");
    const std::int32_t unsaved = store->newPrayerItem();
    const std::int32_t savedLater = store->newPrayerItem();
    ASSERT_EQ(store->countPrayers(std::nullopt), 3) << "listed while its editor is open";
    store->updatePrayer(savedLater, "Saved later", "", "", StoredStatus(PrayerStatus::Active), "", true);
    store.reset(); // the program ends without closing the editor
    open();
    EXPECT_EQ(store->countPrayers(std::nullopt), 2);
    EXPECT_EQ(titles(std::nullopt), "/Saved|/Saved later");
    EXPECT_EQ(query(format("SELECT count(*) FROM prayerTracker WHERE prayerIndex=%d;", unsaved)), "0");
    EXPECT_EQ(query("SELECT count(*) FROM prayerJournalInfo WHERE infoKey LIKE 'unsaved%';"), "0");
    EXPECT_EQ(store->prayerTitle(saved), "Saved");
    // The default title it held is free again.
    EXPECT_EQ(store->prayerTitle(store->newPrayerItem()), "New Prayer Item");
}

TEST_F(PrayerStoreTest, ANewFileIsMadeInOneTransaction)
{
    // The file change counter in the database header (bytes 24-27, big-endian)
    // counts the transactions that wrote to the file: a new user's file is
    // made, item table and journal tables together, by exactly one.
    store.reset();
    std::ifstream file(dir.file("prayers.kova2"), std::ios::binary);
    unsigned char header[28] = {};
    ASSERT_TRUE(file.read(reinterpret_cast<char*>(header), sizeof header));
    EXPECT_EQ((header[24] << 24) | (header[25] << 16) | (header[26] << 8) | header[27], 1);
    EXPECT_EQ(query("SELECT count(*) FROM sqlite_master WHERE name IN "
                    "('prayerTracker','prayerAnswers','prayerNotes','prayerSearch','prayerJournalInfo');"),
              "5");
}

TEST_F(PrayerStoreTest, OpenFailureRaises)
{
    EXPECT_NE(test::messageOf([&] { PrayerStore bad(dir.file("missing/folder/prayers.kova2")); }).find(
                  "SQLite Error"),
              std::string::npos);

    // A schema that cannot be completed raises and leaves no half-made table.
    const std::string clash = dir.file("clash.kova2");
    sqlite3* db = nullptr;
    openDatabase(clash, db);
    execSQL(db, "CREATE TABLE other (x); CREATE INDEX prayerTracker_prayerTitle ON other (x);");
    closeDatabase(db);
    EXPECT_EQ(test::messageOf([&] { PrayerStore bad(clash); }),
              "SQLite Error 1 - index prayerTracker_prayerTitle already exists");
    openDatabase(clash, db);
    EXPECT_FALSE(tableExists(db, "prayerTracker"));
    closeDatabase(db);
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
        std::filesystem::remove(dir.file("prayers.kova2"));
        open();
        for (const auto& [title, status] : c.existing)
            add(title, "", status);
        EXPECT_EQ(store->prayerTitle(store->newPrayerItem()), c.expected) << c.name;
    }
}

TEST_F(PrayerStoreTest, TimesStoredAsLocalSecondsAndReadBack)
{
    const std::int32_t given = store->newPrayerItem(kMarch15);
    EXPECT_EQ(query(format("SELECT createTime FROM prayerTracker WHERE prayerIndex=%d;", given)), "1173969000");
    EXPECT_EQ(query(format("SELECT lastEditTime FROM prayerTracker WHERE prayerIndex=%d;", given)), "1173969000");
    EXPECT_EQ(toStoredSeconds(store->createTime(given)), 1173969000);
    EXPECT_EQ(store->lastEditTime(given), kMarch15);

    clock.set(makeMoment(2024, 2, 29, 23, 59, 59));
    const std::int32_t now = store->newPrayerItem(); // none means now
    EXPECT_EQ(store->createTime(now), clock.now());
    EXPECT_EQ(store->lastEditTime(now), clock.now());

    // Saving without the flag keeps the edit time; with it, the edit time is now.
    clock.set(makeMoment(2024, 3, 1, 8, 0, 0));
    store->updatePrayer(given, "T", "", "", PrayerStatus::Active, "", false);
    EXPECT_EQ(store->lastEditTime(given), kMarch15);
    store->updatePrayer(given, "T", "", "", PrayerStatus::Active, "", true);
    EXPECT_EQ(store->lastEditTime(given), clock.now());
    EXPECT_EQ(store->createTime(given), kMarch15);

    EXPECT_EQ(test::messageOf([&] { store->createTime(99); }), "Prayer index not valid: 99");
    EXPECT_EQ(test::messageOf([&] { store->lastEditTime(-1); }), "Prayer index not valid: -1");
}

TEST_F(PrayerStoreTest, UpdateStoresEmptyValuesAsNull)
{
    const std::int32_t index = store->newPrayerItem();
    store->updatePrayer(index, "Title", "Topic", "Preview", PrayerStatus::Answered, std::string("{\\rtf1\0x}", 9), true);
    EXPECT_EQ(store->prayerText(index), std::string("{\\rtf1\0x}", 9)); // bytes kept exactly
    EXPECT_EQ(store->prayerStatus(index).word(), "Answered");

    store->updatePrayer(index, "", "", "", StoredStatus(), "", true);
    for (const char* column : {"prayerTitle", "prayerTopic", "prayerTextData", "previewText", "prayerStatus"})
        EXPECT_EQ(query(format("SELECT %s FROM prayerTracker;", column)), "<null>") << column;
    EXPECT_EQ(store->prayerText(index), "");
    EXPECT_EQ(store->prayerTopic(index), "");
    // A NULL status matches no filter, not even the one of every item.
    EXPECT_EQ(store->countPrayers(std::nullopt), 0);

    // Missing rows answer empty and changing them does nothing.
    store->updatePrayer(42, "Ghost", "", "", PrayerStatus::Active, "", true);
    store->setPrayerStatus(42, PrayerStatus::Active);
    EXPECT_EQ(query("SELECT count(*) FROM prayerTracker;"), "1");
    EXPECT_EQ(store->prayerTitle(42), "");
    EXPECT_EQ(store->prayerStatus(42).word(), "");
    EXPECT_EQ(store->prayerText(42), "");
}

TEST_F(PrayerStoreTest, UserTextIsBoundNotFormatted)
{
    const std::string odd = "Tom's \"list\"; DROP TABLE prayerTracker; --";
    const std::int32_t index = add(odd, odd);
    EXPECT_EQ(store->prayerTitle(index), odd);
    EXPECT_EQ(store->prayerTopic(index), odd);
    EXPECT_EQ(store->findPrayerByTitle(odd), index);
    EXPECT_EQ(store->topicList(), std::vector<std::string>{odd});
    // The filter's word goes into the statement: only the program's own.
    EXPECT_EQ(test::messageOf([&] { store->countPrayers(static_cast<PrayerStatus>(7)); }),
              "PrayerStore::countPrayers Error: unknown status 7");
}

TEST_F(PrayerStoreTest, ListingOrderCountsAndTopics)
{
    add("b", "friends");
    add("a", "Family");
    add("z", "");
    add("Answered one", "Work", "Answered");
    add("Asleep", "friends", "Inactive");
    EXPECT_EQ(titles(PrayerStatus::Active), "/z|Family/a|friends/b");
    EXPECT_EQ(titles(std::nullopt), "/z|Family/a|friends/Asleep|friends/b|Work/Answered one");
    EXPECT_EQ(titles(PrayerStatus::Answered), "Work/Answered one");
    EXPECT_EQ(store->topicList(), (std::vector<std::string>{"Family", "friends", "Work"}));
    EXPECT_EQ(store->countPrayers(PrayerStatus::Active), 3);
    EXPECT_EQ(store->countPrayers(std::nullopt), store->countPrayers(PrayerStatus::Active) + store->countPrayers(PrayerStatus::Answered) +
                                              store->countPrayers(PrayerStatus::Inactive));

    // The listing carries every field of the row.
    const std::int32_t full = store->newPrayerItem(kMarch15);
    clock.set(kMarch15 + std::chrono::days{1});
    store->updatePrayer(full, "Full", "Family", "Preview", PrayerStatus::Inactive, "doc", true);
    const PrayerHeaders headers = store->prayerHeaders(PrayerStatus::Inactive, "prayerTitle");
    ASSERT_EQ(headers.size(), 2u);
    const PrayerHeader& h = headers[1];
    EXPECT_EQ(h.prayerTitle + "|" + h.prayerTopic + "|" + h.previewText + "|" + h.prayerStatus.word(),
              "Full|Family|Preview|Inactive");
    EXPECT_EQ(h.createTime, kMarch15);
    EXPECT_EQ(h.lastEditTime, kMarch15 + std::chrono::days{1});
    EXPECT_EQ(h.prayerIndex, full);
}

TEST_F(PrayerStoreTest, CountsInOnePassAgreeWithEachFilter)
{
    add("a", "t");
    add("b", "t");
    add("c", "t", "Answered");
    add("d", "t", "Inactive");
    add("e", "t", "Someday");
    store->deletePrayer(add("f", "t", "Answered"));
    query("UPDATE prayerTracker SET prayerStatus=NULL WHERE prayerTitle='b';");
    const PrayerStore::StatusCounts counts = store->countByStatus();
    EXPECT_EQ(counts.all, store->countPrayers(std::nullopt));
    EXPECT_EQ(counts.active, store->countPrayers(PrayerStatus::Active));
    EXPECT_EQ(counts.answered, store->countPrayers(PrayerStatus::Answered));
    EXPECT_EQ(counts.inactive, store->countPrayers(PrayerStatus::Inactive));
    EXPECT_EQ(counts.all, 4); // a, c, d and the unknown word; not the deleted item or the missing status
}

TEST_F(PrayerStoreTest, DeletedItemHiddenButStillAnswers)
{
    const std::int32_t gone = add("Gone", "Lonely");
    add("Kept", "Shared");
    const std::int32_t goneShared = add("Gone too", "Shared", "Answered");
    store->updatePrayer(gone, "Gone", "Lonely", "p", PrayerStatus::Active, "doc", false);
    store->deletePrayer(gone);
    store->deletePrayer(goneShared);

    for (const PrayerFilter filter : {PrayerFilter(PrayerStatus::Active), PrayerFilter(PrayerStatus::Answered),
                                      PrayerFilter(PrayerStatus::Inactive), PrayerFilter()})
        EXPECT_EQ(titles(filter).find("Gone"), std::string::npos) << (filter ? storedWord(*filter) : "every item");
    EXPECT_EQ(store->countPrayers(std::nullopt), 1);
    EXPECT_EQ(store->countPrayers(PrayerStatus::Answered), 0);
    EXPECT_EQ(store->findPrayerByTitle("Gone"), std::nullopt);
    EXPECT_EQ(store->topicList(), std::vector<std::string>{"Shared"});

    EXPECT_EQ(store->prayerTitle(gone), "Gone");
    EXPECT_EQ(store->prayerText(gone), "doc");
    EXPECT_EQ(store->prayerStatus(gone).word(), "Deleted");
    EXPECT_EQ(store->createTime(gone), kMarch15);
    EXPECT_EQ(store->lastEditTime(gone), kMarch15);
    EXPECT_EQ(query("SELECT count(*) FROM prayerTracker;"), "3"); // nothing removed
}

// The stored words: exact, and anything else (a deleted item's word, an
// empty column, another program's word) names no status but is kept.
TEST(PrayerStatusTest, StoredWords)
{
    const struct {
        std::string word;
        std::optional<PrayerStatus> status;
        bool deleted;
    } cases[] = {
        {"Active", PrayerStatus::Active, false},     {"Answered", PrayerStatus::Answered, false},
        {"Inactive", PrayerStatus::Inactive, false}, {"active", std::nullopt, false},
        {"Active ", std::nullopt, false},            {"Deleted", std::nullopt, true},
        {"", std::nullopt, false},                   {"Someday", std::nullopt, false},
    };
    for (const auto& c : cases) {
        const StoredStatus stored = StoredStatus::fromWord(c.word);
        EXPECT_EQ(stored.status(), c.status) << c.word;
        EXPECT_EQ(stored.isDeleted(), c.deleted) << c.word;
        EXPECT_EQ(stored.word(), c.word);
        if (c.status) {
            EXPECT_EQ(StoredStatus(*c.status), stored) << c.word;
        }
    }
    EXPECT_EQ(StoredStatus::deleted().word(), "Deleted");
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
        EXPECT_EQ(makePrayerPreview(c.text), c.preview) << c.name;
    }
}

TEST_F(PrayerStoreTest, SavingContentStoresTextOnlyWithAPreview)
{
    const std::int32_t index = store->newPrayerItem();
    int written = 0;
    auto writer = [&] {
        ++written;
        return std::string("{\\rtf1 doc}");
    };
    clock.set(kMarch15 + std::chrono::days{2});
    savePrayerContent(*store, index, "  Title \r\n", " Topic ", PrayerStatus::Answered, "Body\r\nmore", writer);
    EXPECT_EQ(store->prayerTitle(index), "Title");
    EXPECT_EQ(store->prayerTopic(index), "Topic");
    EXPECT_EQ(store->prayerText(index), "{\\rtf1 doc}");
    EXPECT_EQ(query("SELECT previewText FROM prayerTracker;"), "Body more");
    EXPECT_EQ(store->lastEditTime(index), kMarch15 + std::chrono::days{2});

    savePrayerContent(*store, index, "Title", "  ", PrayerStatus::Active, "\r\n \r\n", writer);
    EXPECT_EQ(written, 1);
    EXPECT_EQ(query("SELECT previewText FROM prayerTracker;"), "<null>");
    EXPECT_EQ(query("SELECT prayerTextData FROM prayerTracker;"), "<null>");
    EXPECT_EQ(query("SELECT prayerTopic FROM prayerTracker;"), "<null>");
}

} // namespace
} // namespace kovara::core
