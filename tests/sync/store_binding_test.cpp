#include "core/db/sqlite_db.h"
#include "core/plans/plan_store.h"
#include "core/prayer/prayer_store.h"
#include "core/sync/store_binding.h"
#include "fixtures.h"

#include <gtest/gtest.h>

#include <memory>
#include <set>

namespace kovara::core {
namespace {

using test::TempDir;

// One computer: its own stores on its own files, its replica state and clock.
struct Computer {
    explicit Computer(std::string computerId)
        : id(std::move(computerId)), clock(makeMoment(2026, 3, 1, 8, 0, 0)),
          plans(dir.file("userreadplans.kova2"), clock), prayers(dir.file("prayers.kova2"), &clock),
          binding(plans, prayers, [](const std::string& text) { return "plain:" + text; })
    {
        unsent.push_back(Change{Stamp{hlc.tick(1), id}, EntityKind::Computer, id, "name", "Computer " + id, {}});
        state.apply(unsent.back());
    }

    Stamp nextStamp() { return Stamp{hlc.tick(++ms), id}; }

    // What the reader changed since the last exchange, as changes.
    std::vector<Change> capture(unsigned scope = StoreBinding::Everything)
    {
        std::vector<Change> changes = std::move(unsent);
        unsent.clear();
        for (Change& c : binding.capture(state, [this] { return nextStamp(); }, scope))
            changes.push_back(std::move(c));
        return changes;
    }

    // Takes in another computer's changes, as an exchange does: the local
    // ones first, then theirs, then the stores brought up to the result.
    std::vector<Change> receive(const std::vector<Change>& changes, int* copies = nullptr)
    {
        std::vector<Change> mine = capture();
        for (const Change& c : changes) {
            state.apply(c);
            hlc.observe(c.stamp.hlc, ms);
        }
        for (Change& c : binding.keepLostTexts(state, [this] { return nextStamp(); }, copies))
            mine.push_back(std::move(c));
        binding.applyToStores(state);
        return mine;
    }

    TempDir dir;
    std::string id;
    FixedClock clock;
    PlanStore plans;
    PrayerStore prayers;
    StoreBinding binding;
    ReplicaState state;
    HybridClock hlc;
    std::int64_t ms = 1'000'000;
    std::vector<Change> unsent; // the computer's name, sent with the first exchange
};

// Both computers send each other what they have until nothing new comes.
void exchange(Computer& a, Computer& b)
{
    std::vector<Change> fromA = a.capture();
    for (int round = 0; round < 3; ++round) {
        const std::vector<Change> fromB = b.receive(fromA);
        fromA = a.receive(fromB);
    }
    ASSERT_TRUE(fromA.empty());
    ASSERT_TRUE(a.capture().empty()) << "the stores must hold what the state says, or changes echo back";
    ASSERT_TRUE(b.capture().empty());
}

void expectSamePlans(const PlanStore& a, const PlanStore& b)
{
    ASSERT_EQ(a.planCount(), b.planCount());
    for (int p = 0; p < a.planCount(); ++p) {
        const PlanRecord& x = a.record(p);
        const PlanRecord& y = b.record(p);
        EXPECT_EQ(x.planTitle, y.planTitle);
        EXPECT_EQ(x.tableName, y.tableName);
        EXPECT_EQ(x.startDate, y.startDate);
        EXPECT_EQ(x.dayVerses, y.dayVerses);
        EXPECT_EQ(x.dayDone, y.dayDone);
        EXPECT_EQ(x.readDates, y.readDates);
        EXPECT_EQ(x.doubleUp, y.doubleUp);
        EXPECT_EQ(x.reminder, y.reminder);
        EXPECT_EQ(x.bibleVersion, y.bibleVersion);
    }
}

std::int32_t savedItem(PrayerStore& prayers, const std::string& title, const std::string& text)
{
    const std::int32_t index = prayers.newPrayerItem();
    PrayerSave save;
    save.title = title;
    save.status = PrayerStatus::Active;
    save.textData = text;
    save.plainText = text;
    prayers.savePrayer(index, save);
    return index;
}

TEST(StoreBindingTest, PlansMadeMarkedRenamedReplacedAndDeletedOnOneShowOnTheOther)
{
    Computer a("A"), b("B");
    const PlanId id = a.plans.addPlan("Gospels", {"1-4", "5-7", "8-10"}, makeMoment(2026, 2, 27, 0, 0, 0));
    a.plans.setDayDone(0, 1, true);
    a.plans.markDaysDone(0, {2});
    a.plans.setDoubleUp(0, true);
    a.plans.setBibleVersion(0, "WEB");
    ASSERT_NO_FATAL_FAILURE(exchange(a, b));
    expectSamePlans(a.plans, b.plans);
    ASSERT_EQ(b.plans.indexOf(id), 0);
    EXPECT_EQ(b.plans.record(0).bibleVersion, "WEB");

    // On B: a day unread, a rename, back to the shipped Bible; on A at the
    // same time another day read.
    b.plans.setDayDone(0, 1, false);
    b.plans.renamePlan(0, "The Gospels");
    b.plans.setBibleVersion(0, "");
    a.plans.setDayDone(0, 3, true);
    ASSERT_NO_FATAL_FAILURE(exchange(a, b));
    expectSamePlans(a.plans, b.plans);
    EXPECT_EQ(a.plans.planTitle(0), "The Gospels");
    EXPECT_EQ(a.plans.record(0).dayDone, (std::vector<bool>{false, true, true}));
    EXPECT_EQ(a.plans.record(0).bibleVersion, "");

    // A catch-up replaces the plan; undone on B; then deleted on A.
    const PlanReplacement replaced =
        a.plans.replacePlan(0, {"1-4", "5-7", "8-10", "11-12"}, {false, true, true, false}, {}, a.clock.now());
    ASSERT_NO_FATAL_FAILURE(exchange(a, b));
    expectSamePlans(a.plans, b.plans);
    EXPECT_EQ(b.plans.indexOf(replaced.newPlan), 0);
    EXPECT_FALSE(b.plans.indexOf(id));
    b.plans.undoReplacement(replaced);
    ASSERT_NO_FATAL_FAILURE(exchange(a, b));
    expectSamePlans(a.plans, b.plans);
    EXPECT_EQ(a.plans.indexOf(id), 0);
    a.plans.deletePlan(0);
    ASSERT_NO_FATAL_FAILURE(exchange(a, b));
    EXPECT_EQ(b.plans.planCount(), 0);
}

TEST(StoreBindingTest, PrayerItemsTheirAnswersAndNotesTravelWithLastingIds)
{
    Computer a("A"), b("B");
    // B has an item of its own first, so the two files number items differently.
    savedItem(b.prayers, "B's own", "text b");
    const std::int32_t onA = savedItem(a.prayers, "Healing", "{\\rtf1 for Ann}");
    PrayerSave save;
    save.title = "Healing for Ann";
    save.topic = "Family";
    save.status = PrayerStatus::Answered;
    save.textData = "{\\rtf1 for Ann, and soon}";
    save.plainText = "for Ann, and soon";
    save.answer = PrayerAnswer{makeDate(2026, 2, 28), "She is home"};
    save.notes = PrayerNotes{{makeDate(2026, 2, 1), "First visit"}, {makeDate(2026, 2, 10), "Surgery"}};
    a.prayers.savePrayer(onA, save);
    ASSERT_NO_FATAL_FAILURE(exchange(a, b));

    auto onB = b.prayers.findPrayerByTitle("Healing for Ann");
    ASSERT_TRUE(onB);
    EXPECT_EQ(b.prayers.prayerTopic(*onB), "Family");
    EXPECT_EQ(b.prayers.prayerStatus(*onB), PrayerStatus::Answered);
    EXPECT_EQ(b.prayers.prayerText(*onB), "{\\rtf1 for Ann, and soon}");
    EXPECT_EQ(b.prayers.answer(*onB)->answerNote, "She is home");
    EXPECT_EQ(b.prayers.createTime(*onB), a.prayers.createTime(onA));
    EXPECT_EQ(b.prayers.searchPrayers("plain"), std::vector<std::int32_t>{*onB}) << "indexed by its plain text";
    ASSERT_EQ(b.prayers.notes(*onB).size(), 2u);
    EXPECT_TRUE(a.prayers.findPrayerByTitle("B's own"));

    // A note edited on B and another added on A; then the item set back and
    // deleted.
    save.notes = PrayerNotes{{makeDate(2026, 2, 1), "First visit"}, {makeDate(2026, 2, 10), "Surgery went well"}};
    save.answer.reset();
    b.prayers.savePrayer(*onB, save);
    PrayerSave addNote = save;
    addNote.notes = PrayerNotes{{makeDate(2026, 2, 1), "First visit"},
                                {makeDate(2026, 2, 10), "Surgery"},
                                {makeDate(2026, 2, 20), "Home soon"}};
    a.prayers.savePrayer(onA, addNote);
    ASSERT_NO_FATAL_FAILURE(exchange(a, b));
    const auto texts = [](const PrayerNotes& notes) {
        std::vector<std::string> out;
        for (const PrayerNote& n : notes)
            out.push_back(n.noteText);
        return out;
    };
    const std::vector<std::string> expected{"First visit", "Surgery went well", "Home soon"};
    EXPECT_EQ(texts(a.prayers.notes(onA)), expected);
    EXPECT_EQ(texts(b.prayers.notes(*onB)), expected);

    b.prayers.setPrayerStatus(*onB, PrayerStatus::Active);
    ASSERT_NO_FATAL_FAILURE(exchange(a, b));
    EXPECT_EQ(a.prayers.prayerStatus(onA), PrayerStatus::Active);
    a.prayers.deletePrayer(onA);
    ASSERT_NO_FATAL_FAILURE(exchange(a, b));
    EXPECT_FALSE(b.prayers.findPrayerByTitle("Healing for Ann"));
    EXPECT_EQ(b.prayers.countPrayers(std::nullopt), 1);
}

TEST(StoreBindingTest, ATextChangedOnBothWhileApartKeepsTheOtherAsADatedNoteOnBoth)
{
    Computer a("A"), b("B");
    const std::int32_t onA = savedItem(a.prayers, "Work", "first");
    ASSERT_NO_FATAL_FAILURE(exchange(a, b));
    const std::int32_t onB = *b.prayers.findPrayerByTitle("Work");

    PrayerSave edit;
    edit.title = "Work";
    edit.status = PrayerStatus::Active;
    edit.textData = "typed on A";
    a.prayers.savePrayer(onA, edit);
    edit.textData = "typed on B";
    b.prayers.savePrayer(onB, edit);
    b.ms += 60'000; // B's change is the later one

    int copies = -1;
    const std::vector<Change> fromA = a.capture();
    std::vector<Change> fromB = b.receive(fromA, &copies);
    EXPECT_EQ(copies, 1);
    a.receive(fromB);
    ASSERT_NO_FATAL_FAILURE(exchange(a, b));

    for (Computer* c : {&a, &b}) {
        const std::int32_t index = *c->prayers.findPrayerByTitle("Work");
        EXPECT_EQ(c->prayers.prayerText(index), "typed on B");
        const PrayerNotes notes = c->prayers.notes(index);
        ASSERT_EQ(notes.size(), 1u);
        EXPECT_EQ(notes[0].noteText, "Changed on Computer A at 1970-01-01 00:16\nplain:typed on A");
    }
}

TEST(StoreBindingTest, ABatchThatFailsPartWayLeavesTheStoresAsTheyWereAndTheNextWritesItAll)
{
    Computer a("A"), b("B");
    a.plans.addPlan("Psalms", {"1-4", "5-7"}, a.clock.now());
    a.plans.setDayDone(0, 1, true);
    savedItem(a.prayers, "Travel", "safe roads");
    const std::vector<Change> fromA = a.capture();
    for (const Change& c : fromA)
        b.state.apply(c);

    // The plans are written first; the prayer file then refuses the item.
    execSQL(b.prayers.connection(),
            "CREATE TRIGGER refuse BEFORE INSERT ON prayerTracker BEGIN SELECT RAISE(ABORT, 'disk full'); END;");
    EXPECT_THROW(b.binding.applyToStores(b.state), Exception);
    EXPECT_EQ(b.plans.planCount(), 0) << "the plans held in memory follow the rolled-back file";
    PlanStore reopened(b.dir.file("userreadplans.kova2"), b.clock);
    EXPECT_EQ(reopened.planCount(), 0);
    EXPECT_EQ(b.prayers.countPrayers(std::nullopt), 0);

    execSQL(b.prayers.connection(), "DROP TRIGGER refuse;");
    EXPECT_FALSE(b.binding.applyToStores(b.state).empty());
    expectSamePlans(a.plans, b.plans);
    EXPECT_TRUE(b.plans.isDayDone(0, 1));
    EXPECT_TRUE(b.prayers.findPrayerByTitle("Travel"));
}

TEST(StoreBindingTest, ALookAtOneStoreTakesNothingInTheOtherForDeleted)
{
    Computer a("A");
    a.plans.addPlan("Psalms", {"1-4", "5-7"}, a.clock.now());
    const std::int32_t item = savedItem(a.prayers, "Travel", "safe roads");
    a.capture();

    a.plans.setDayDone(0, 2, true);
    a.prayers.deletePrayer(item);
    const std::vector<Change> plansOnly = a.capture(StoreBinding::Plans);
    ASSERT_EQ(plansOnly.size(), 1u);
    EXPECT_EQ(plansOnly[0].field, "read:2");
    const std::vector<Change> prayersOnly = a.capture(StoreBinding::Prayers);
    ASSERT_EQ(prayersOnly.size(), 1u);
    EXPECT_EQ(prayersOnly[0].kind, EntityKind::Prayer);
    EXPECT_EQ(prayersOnly[0].field, kDeletedField);
    EXPECT_TRUE(a.state.isLive(EntityKind::Plan, a.plans.id(0).guid()));
}

TEST(StoreBindingTest, OnlyANewTableIsAddedSoAnEarlierVersionStillOpensTheFiles)
{
    Computer a("A");
    a.plans.addPlan("Plan", {"1-4"}, a.clock.now());
    savedItem(a.prayers, "One", "text");
    const auto schema = [](sqlite3* db) {
        std::set<std::string> names;
        queryRows(db, "SELECT name || ': ' || sql FROM sqlite_master WHERE sql IS NOT NULL;", "schema",
                  [&](Statement& st) { names.insert(st.columnText(0)); });
        return names;
    };
    const auto plansBefore = schema(a.plans.handle());
    const auto prayersBefore = schema(a.prayers.connection());
    a.capture();
    EXPECT_EQ(schema(a.plans.handle()), plansBefore);
    std::set<std::string> added;
    for (const std::string& table : schema(a.prayers.connection()))
        if (!prayersBefore.count(table))
            added.insert(table.substr(0, table.find(':')));
    EXPECT_EQ(added, std::set<std::string>{"prayerSyncIds"});
    EXPECT_LE(prayersBefore.size() + 1, schema(a.prayers.connection()).size());
}

} // namespace
} // namespace kovara::core
