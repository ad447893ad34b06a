// The prayer journal beside the prayer items: answer records, dated notes and
// the full-text search index, how they arrive in a file an older program
// wrote, and that every write of them is all or nothing.
#include "core/prayer/prayer_preview.h"
#include "core/prayer/prayer_store.h"
#include "fixtures.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>

namespace kovara::core {
namespace {

std::string readAll(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

class PrayerJournalTest : public ::testing::Test {
protected:
    PrayerJournalTest() { open(); }
    void open() { store = std::make_unique<PrayerStore>(dir.file("prayers.kova2"), &clock); }

    std::int32_t add(const std::string& title, const std::string& topic, const std::string& text,
                     const PrayerNotes& notes = {}, const StoredStatus& status = PrayerStatus::Active)
    {
        const std::int32_t index = store->newPrayerItem();
        savePrayerContent(
            *store, index, title, topic, status, text, [&] { return "{\\rtf1 " + text + "}"; }, std::nullopt,
            notes);
        return index;
    }

    std::string found(const std::string& words)
    {
        std::string out;
        for (std::int32_t index : store->searchPrayers(words))
            out += (out.empty() ? "" : ",") + store->prayerTitle(index);
        return out;
    }

    test::TempDir dir;
    FixedClock clock{makeMoment(2026, 12, 3, 10, 0, 0)};
    std::unique_ptr<PrayerStore> store;
};

TEST_F(PrayerJournalTest, NotesAndAnswerAreSavedWithTheItemAndReadBackInDateOrder)
{
    const sys_days dec1 = makeDate(2026, 12, 1);
    const sys_days dec3 = makeDate(2026, 12, 3);
    const std::int32_t item =
        add("Mum", "Family", "Surgery on Tuesday", {{dec3, "surgery went well"}, {dec1, "admitted"}});
    // A time of day that another program stored with a note is not part of
    // its date.
    execSQL(store->connection(), "UPDATE prayerNotes SET noteTime=noteTime+43200;");
    const PrayerNotes notes = store->notes(item);
    ASSERT_EQ(notes.size(), 2u);
    EXPECT_EQ(notes[0].noteText, "admitted");
    EXPECT_EQ(notes[1].noteText, "surgery went well");
    EXPECT_EQ(notes[1].noteTime, dec3) << "a note keeps its date only";
    EXPECT_EQ(store->latestNote(item)->noteText, "surgery went well");
    EXPECT_FALSE(store->answer(item)) << "never answered";

    // Answering from the tracker keeps the notes; saving again without notes
    // or answer (the version-1 import, say) keeps both.
    store->setPrayerStatus(item, PrayerStatus::Answered, {dec3, "Home by Friday"});
    store->updatePrayer(item, "Mum", "Family", "Surgery", PrayerStatus::Answered, "{\\rtf1 x}", false);
    EXPECT_EQ(store->notes(item).size(), 2u);
    EXPECT_EQ(store->answer(item)->answeredTime, dec3);
    EXPECT_EQ(store->answer(item)->answerNote, "Home by Friday");

    // Back to Active keeps the record; the editor's save replaces the notes.
    store->setPrayerStatus(item, PrayerStatus::Active);
    savePrayerContent(*store, item, "Mum", "Family", PrayerStatus::Active, "text", [] { return std::string("{}"); },
                      std::nullopt, PrayerNotes{});
    EXPECT_TRUE(store->notes(item).empty());
    EXPECT_FALSE(store->latestNote(item));
    EXPECT_EQ(store->answer(item)->answerNote, "Home by Friday");
}

TEST_F(PrayerJournalTest, SearchFindsEveryWordInTitleTopicTextAndNotes)
{
    add("Mum", "Family", "Surgery on Tuesday", {{clock.today(), "The consultant was kind"}});
    add("Job interview", "Work", "For Sam's interview at the bakery");
    const std::int32_t answered = add("Rain", "Farm", "Rain for the crops");
    store->setPrayerStatus(answered, PrayerStatus::Answered, {clock.today(), "A week of steady showers"});
    const std::int32_t gone = add("Old consultant worry", "Work", "");
    store->deletePrayer(gone);

    struct Case {
        const char* words;
        const char* titles;
    };
    const Case cases[] = {
        {"consultant", "Mum"},              // only in a note; the deleted item is left out
        {"family", "Mum"},                  // the topic, any case
        {"surg", "Mum"},                    // the start of a word, as typed
        {"interview bakery", "Job interview"}, // every word must match
        {"interview crops", ""},
        {"sam's", "Job interview"},         // punctuation separates words
        {"showers", "Rain"},                // the answer's note
        {"\"crops*\" -(:", "Rain"},         // the user's text is never query syntax
        {"  ", ""},
        {"--", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.words);
        EXPECT_EQ(found(c.words), c.titles);
    }
}

// Words in quotes are a phrase, as in the Bible search; symbols such as
// emoji, which the index does not hold as words, are looked for as typed.
TEST_F(PrayerJournalTest, PhrasesAndEmojiAreFound)
{
    add("Surgery", "", "For a safe operation on Friday");
    add("Factory", "", "The operation is safe again");
    add("Joy", "Thanks \xF0\x9F\x99\x8F", "A party \xF0\x9F\x8E\x89 for Gran");
    add("Caf\xC3\xA9", "", "The caf\xC3\xA9 opens");
    add("\xD0\x9C\xD0\xB0\xD0\xBC\xD0\xB0", "", "\xD0\x93\xD0\xBE\xD1\x81\xD0\xBF\xD0\xBE\xD0\xB4\xD1\x8C, \xD0\xB8\xD1\x81\xD1\x86\xD0\xB5\xD0\xBB\xD0\xB8"); // Мама: "Господь, исцели"
    add("\xCE\x9D\xCE\xAF\xCE\xBA\xCE\xBF\xCF\x82", "", "\xE1\xBD\x81 \xCE\xB8\xCE\xB5\xE1\xBD\xB8\xCF\x82 \xE1\xBC\x80\xCE\xB3\xCE\xAC\xCF\x80\xCE\xB7"); // Νίκος: "ὁ θεὸς ἀγάπη"
    struct Case {
        const char* words;
        const char* titles;
    };
    const Case cases[] = {
        {"\"safe operation\"", "Surgery"},
        {"\"operation safe\"", ""},              // the words in that order
        {"operation safe", "Surgery,Factory"},     // without quotes: anywhere
        {"\"operation is\" again", "Factory"},
        {"\"safe oper", "Surgery"},                 // still typing: the last word goes on
        {"\"saf operation\"", ""},                 // a closed phrase is whole words
        {"\xF0\x9F\x8E\x89", "Joy"},             // an emoji in the text
        {"\xF0\x9F\x99\x8F thanks", "Joy"},      // in the topic, with a word
        {"\xF0\x9F\x99\x8F gran", "Joy"},
        {"\xF0\x9F\x98\x80", ""},                // an emoji nobody wrote
        {"cafe", "Caf\xC3\xA9"},                   // accents aside
        // Words of other scripts: any case, as the start of a word, accents
        // aside (ГОСПОДЬ, исц, ΑΓΑΠΗ, θεος).
        {"\xD0\x93\xD0\x9E\xD0\xA1\xD0\x9F\xD0\x9E\xD0\x94\xD0\xAC", "\xD0\x9C\xD0\xB0\xD0\xBC\xD0\xB0"},
        {"\xD0\xB8\xD1\x81\xD1\x86", "\xD0\x9C\xD0\xB0\xD0\xBC\xD0\xB0"},
        {"\xCE\x91\xCE\x93\xCE\x91\xCE\xA0\xCE\x97", "\xCE\x9D\xCE\xAF\xCE\xBA\xCE\xBF\xCF\x82"},
        {"\xCE\xB8\xCE\xB5\xCE\xBF\xCF\x82", "\xCE\x9D\xCE\xAF\xCE\xBA\xCE\xBF\xCF\x82"},
        // Typed in capitals, the last letter a capital sigma (ΘΕΟΣ): the
        // text's final sigma is the same letter.
        {"\xCE\x98\xCE\x95\xCE\x9F\xCE\xA3", "\xCE\x9D\xCE\xAF\xCE\xBA\xCE\xBF\xCF\x82"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.words);
        EXPECT_EQ(found(c.words), c.titles);
    }
    EXPECT_EQ(store->prayerHeadersMatching(std::nullopt, "\"safe operation\"").size(), 1u);
}

TEST_F(PrayerJournalTest, OlderFileGainsTheTablesOnceAndItsIndexIsBuiltFromTheDocuments)
{
    // A prayers.kova2 as the program wrote it before the journal: only
    // prayerTracker, one item answered back then.
    store.reset();
    const std::string path = dir.file("old.kova2");
    {
        sqlite3* db = nullptr;
        openDatabase(path, db);
        execSQL(db, "CREATE TABLE 'prayerTracker' (prayerIndex INTEGER PRIMARY KEY, prayerTitle TEXT, "
                    "prayerTopic TEXT, prayerTextData BLOB, prayerStatus TEXT, createTime INTEGER, "
                    "lastEditTime INTEGER, previewText TEXT);"
                    "INSERT INTO prayerTracker VALUES (1, 'Harvest', NULL, X'7B72746631206F6C647D', 'Answered', "
                    "1173969000, 1173969000, 'old');");
        closeDatabase(db);
    }
    {
        PrayerStore old(path, &clock);
        EXPECT_FALSE(old.searchIndexReady());
        EXPECT_FALSE(old.answer(1)) << "answered before records were kept";
        int calls = 0;
        old.buildSearchIndex(
            [](const std::string& data) { return data == "{rtf1 old}" ? std::string("golden wheat") : data; },
            [&](int done, int total) {
                ++calls;
                EXPECT_LE(done, total);
            });
        EXPECT_GT(calls, 0);
        EXPECT_TRUE(old.searchIndexReady());
        EXPECT_EQ(old.searchPrayers("wheat"), std::vector<std::int32_t>{1});
    }
    // Opening it again changes nothing: not a byte.
    const std::string before = readAll(path);
    {
        PrayerStore again(path, &clock);
        EXPECT_TRUE(again.searchIndexReady());
    }
    EXPECT_TRUE(readAll(path) == before);
}

// A write of the journal that fails half way - the disk fills, or another
// copy holds the lock - raises and leaves the file as it was.
TEST_F(PrayerJournalTest, FailedWriteLeavesTheFileAsItWas)
{
    const std::int32_t item = add("Mum", "Family", "Short", {{clock.today(), "first"}});
    const std::string bigText(200000, 'x');
    struct Case {
        const char* name;
        bool lock;
        std::function<void()> write;
    };
    const Case cases[] = {
        {"disk full: save with notes", false,
         [&] {
             savePrayerContent(*store, item, "Mum", "Family", PrayerStatus::Active, bigText, [&] { return bigText; },
                               std::nullopt, PrayerNotes{{clock.today(), bigText}});
         }},
        {"locked: save with notes", true,
         [&] {
             savePrayerContent(*store, item, "Mum", "Family", PrayerStatus::Active, "new", [] { return std::string("x"); },
                               std::nullopt, PrayerNotes{});
         }},
        {"locked: answered", true, [&] { store->setPrayerStatus(item, PrayerStatus::Answered, {clock.today(), "yes"}); }},
        {"locked: deleted", true, [&] { store->deletePrayer(item); }},
        {"locked: index rebuilt", true, [&] { store->buildSearchIndex([](const std::string& s) { return s; }); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string before = readAll(dir.file("prayers.kova2"));
        sqlite3* other = nullptr;
        if (c.lock) {
            openDatabase(dir.file("prayers.kova2"), other);
            execSQL(other, "BEGIN IMMEDIATE;");
            sqlite3_busy_timeout(store->connection(), 10); // the wait itself is tested elsewhere
        } else {
            // Room for what the file holds now and nothing more.
            int pages = 0;
            queryRow(store->connection(), "PRAGMA page_count;", "no statement",
                     [&](Statement& st) { pages = st.columnInt(0); });
            execSQL(store->connection(), "PRAGMA max_page_count=" + std::to_string(pages) + ";");
        }
        const std::string message = test::messageOf(c.write);
        const std::string prayers = dir.file("prayers.kova2");
        EXPECT_EQ(message, c.lock ? prayers + " is in use by another program, which kept it locked for too long. Wait "
                                              "until that program has finished (or close it), then try again.\n\n"
                                              "(SQLite Error 5 - database is locked)"
                                  : "The disk that holds " + prayers + " is full. Make room on the disk, then try "
                                                                       "again.\n\n(SQLite Error 13 - database or disk is full)");
        if (other) {
            execSQL(other, "ROLLBACK;");
            closeDatabase(other);
        } else {
            execSQL(store->connection(), "PRAGMA max_page_count=1073741823;");
        }
        EXPECT_TRUE(readAll(dir.file("prayers.kova2")) == before);
        EXPECT_EQ(store->notes(item).size(), 1u);
        EXPECT_EQ(store->prayerStatus(item), PrayerStatus::Active);
        EXPECT_EQ(found("first"), "Mum");
    }
}

// The export's choice of items: statuses, a topic, and a date range on the
// creation date, the answer date (only while answered) or either.
TEST_F(PrayerJournalTest, SelectionByStatusTopicAndDates)
{
    auto item = [&](const char* title, const char* topic, PrayerStatus status, sys_seconds created) {
        const std::int32_t index = store->newPrayerItem(created);
        store->updatePrayer(index, title, topic, "", status, "", false);
        return index;
    };
    item("Early", "Family", PrayerStatus::Active, makeMoment(2025, 12, 31, 23, 59, 0));
    item("New year", "Family", PrayerStatus::Active, makeMoment(2026, 1, 1, 0, 0, 0));
    const std::int32_t rain = item("Rain", "", PrayerStatus::Answered, startOf(makeDate(2025, 6, 1)));
    store->setPrayerStatus(rain, PrayerStatus::Answered, {makeDate(2026, 12, 31), ""});
    item("Old answer", "", PrayerStatus::Answered, startOf(makeDate(2026, 3, 1))); // no record
    const std::int32_t back = item("Back to active", "Work", PrayerStatus::Active, startOf(makeDate(2025, 2, 1)));
    store->setPrayerStatus(back, PrayerStatus::Answered, {makeDate(2026, 5, 1), ""});
    store->setPrayerStatus(back, PrayerStatus::Active);
    item("Resting", "Work", PrayerStatus::Inactive, startOf(makeDate(2026, 7, 1)));

    using Field = PrayerSelection::DateField;
    const std::vector<PrayerStatus> all = {PrayerStatus::Active, PrayerStatus::Answered, PrayerStatus::Inactive};
    struct Case {
        const char* name;
        PrayerSelection selection;
        const char* titles;
    };
    const sys_days jan1 = makeDate(2026, 1, 1);
    const sys_days dec31 = makeDate(2026, 12, 31);
    const Case cases[] = {
        {"everything, no topic first", {all, true, "", Field::Any, {}, {}},
         "Rain,Old answer,Early,New year,Back to active,Resting"},
        {"created in 2026", {all, true, "", Field::Created, jan1, dec31}, "Old answer,New year,Resting"},
        {"answered in 2026", {all, true, "", Field::Answered, jan1, dec31}, "Rain"},
        {"either", {all, true, "", Field::CreatedOrAnswered, jan1, dec31}, "Rain,Old answer,New year,Resting"},
        {"one topic", {{PrayerStatus::Active}, false, "Family", Field::Any, {}, {}}, "Early,New year"},
        {"without a topic", {all, false, "", Field::Any, {}, {}}, "Rain,Old answer"},
        {"no status", {{}, true, "", Field::Any, {}, {}}, ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::string titles;
        for (const PrayerHeader& h : store->selectPrayers(c.selection))
            titles += (titles.empty() ? "" : ",") + h.prayerTitle;
        EXPECT_EQ(titles, c.titles);
    }
    // A value cast from outside the enumeration never reaches the statement.
    EXPECT_EQ(test::messageOf([&] {
                  store->selectPrayers({{static_cast<PrayerStatus>(7)}, true, "", Field::Any, {}, {}});
              }),
              "PrayerStore::selectPrayers Error: unknown status 7");
}

// SQLite's integrity check does not look inside the full-text index. A
// damaged index is found when the file opens and made anew; the journal then
// builds it again from the items, and searching and saving work.
TEST_F(PrayerJournalTest, ADamagedSearchIndexIsMadeAnewAndBuiltAgainFromTheItems)
{
    const struct {
        const char* name;
        const char* damage;
    } cases[] = {
        {"index blocks overwritten", "UPDATE prayerSearch_data SET block=zeroblob(length(block)) WHERE id>10;"},
        {"indexed text changed behind the index", "UPDATE prayerSearch_content SET c2='unrelated words';"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        store.reset();
        std::filesystem::remove(dir.file("prayers.kova2"));
        open();
        for (int i = 0; i < 30; ++i)
            add(format("Item %d", i), "Topic", format("harvest rain number%d", i));
        ASSERT_EQ(found("number7"), "Item 7");
        execSQL(store->connection(), c.damage);
        store.reset();

        open();
        EXPECT_FALSE(store->searchIndexReady());
        sqlite3* db = store->connection();
        EXPECT_EQ(sqlite3_exec(db, "INSERT INTO prayerSearch(prayerSearch) VALUES('integrity-check');", nullptr,
                               nullptr, nullptr),
                  SQLITE_OK);
        add("Later", "", "sunshine");
        store->buildSearchIndex([](const std::string& rtf) { return rtf.substr(7, rtf.size() - 8); });
        EXPECT_TRUE(store->searchIndexReady());
        EXPECT_EQ(found("number7"), "Item 7");
        EXPECT_EQ(found("sunshine"), "Later");
        EXPECT_FALSE(PrayerStore::repairSearchIndex(db)) << "sound now";
    }
}

} // namespace
} // namespace kovara::core
