// The prayer list's tables in prayers.kova2: made on first use only, what
// they keep, the list read from them, and that the journal's store (which
// does not know them) and a backup keep them whole.
#include "core/app/backup_file.h"
#include "core/content/bible_store.h"
#include "core/plans/plan_store.h"
#include "core/prayer/prayer_list_page.h"
#include "core/prayer/prayer_list_store.h"
#include "core/prayer/prayer_store.h"
#include "fixtures.h"

#include <gtest/gtest.h>

#include <memory>

namespace kovara::core {
namespace {

using std::chrono::days;

class PrayerListStoreTest : public ::testing::Test {
protected:
    PrayerListStoreTest() { open(); }
    void open() { store = std::make_unique<PrayerStore>(dir.file("prayers.kova2"), &clock); }

    std::int32_t add(const std::string& title, PrayerStatus status = PrayerStatus::Active)
    {
        const std::int32_t index = store->newPrayerItem();
        store->updatePrayer(index, title, "", "", status, "", false);
        return index;
    }

    std::string listed(sys_days day)
    {
        std::string out;
        for (const ListEntry& e : PrayerListStore(*store).listFor(day))
            out += store->prayerTitle(e.prayerIndex) + (e.prayed ? "+" : "") + " ";
        return out;
    }

    test::TempDir dir;
    const sys_days today = makeDate(2027, 3, 1);
    FixedClock clock{makeMoment(2027, 2, 20, 9, 0, 0)};
    std::unique_ptr<PrayerStore> store;
};

TEST_F(PrayerListStoreTest, TablesAreMadeOnFirstUseOnlyAndKeepWhatTheListNeeds)
{
    const std::int32_t mum = add("Mum");
    const std::int32_t work = add("Work");
    const std::int32_t done = add("Done", PrayerStatus::Answered);
    PrayerListStore list(*store);
    EXPECT_FALSE(list.exists()) << "opening the journal makes none of the list's tables";
    EXPECT_EQ(listed(today), "");
    EXPECT_EQ(list.schedule(mum).kind, ScheduleKind::InTurn);
    EXPECT_EQ(list.schedule(mum).since, makeDate(2027, 2, 20)) << "in turn since it was made";

    list.ensureTables(today);
    EXPECT_TRUE(list.exists());
    ASSERT_EQ(list.cycles().size(), 1u);
    EXPECT_EQ(list.cycles()[0].start, today);
    EXPECT_EQ(list.cycleLength(today), 7);
    EXPECT_EQ(listed(today), "Mum ");
    EXPECT_EQ(listed(today + days(1)), "Mum Work ") << "Mum, missed on its day, comes up again";

    const unsigned mask = weekdayBit(std::chrono::Tuesday) | weekdayBit(std::chrono::Saturday);
    list.setSchedule(work, {ScheduleKind::Weekdays, mask, today});
    list.setSchedule(done, {ScheduleKind::Daily, 0, today});
    const PrayerSchedule read = list.schedule(work);
    EXPECT_EQ(read.kind, ScheduleKind::Weekdays);
    EXPECT_EQ(read.weekdays, mask);
    EXPECT_EQ(read.since, today);

    // "Prayed" and its undo; "Not today" moves an item to the next day.
    list.markPrayed(mum, today);
    list.markPrayed(mum, today);
    EXPECT_EQ(listed(today), "Mum+ ");
    list.unmarkPrayed(mum, today);
    EXPECT_EQ(listed(today), "Mum ");
    list.defer(mum, today);
    EXPECT_EQ(listed(today), "");
    EXPECT_EQ(listed(today + days(1)), "Mum Work ") << "Tuesday, and Mum put off from Monday";
    list.markPrayed(mum, today + days(1));
    list.markPrayed(mum, today + days(9));
    EXPECT_EQ(list.prayedDays(mum), (std::vector<sys_days>{today + days(1), today + days(9)}));
    EXPECT_EQ(listed(today + days(1)), "Mum+ Work ");

    // A new length starts a new cycle that day; the same length changes nothing.
    list.setCycleLength(7, today + days(3));
    list.setCycleLength(2, today + days(3));
    ASSERT_EQ(list.cycles().size(), 2u);
    EXPECT_EQ(list.cycleLength(today + days(2)), 7);
    EXPECT_EQ(list.cycleLength(today + days(3)), 2);

    list.setVerses(mum, {"Phil 4:6-7", "Ps 23"});
    list.setVerses(work, {"Col 3:23"});
    list.setVerses(mum, {"Ps 23", "Phil 4:6-7"});
    EXPECT_EQ(list.verses(mum), (std::vector<std::string>{"Ps 23", "Phil 4:6-7"}));
    EXPECT_EQ(list.verses(done), std::vector<std::string>{});
}

TEST_F(PrayerListStoreTest, DefaultSchedulesWrittenDownChangeNoListAndPrayedDaysReadRight)
{
    // Items in turn without a schedule row, one of them made later; a daily
    // one prayed for on some days; one answered midway; one put off.
    clock.set(makeMoment(2027, 2, 20, 9, 0, 0));
    const std::int32_t a = add("A");
    const std::int32_t b = add("B");
    const std::int32_t daily = add("Daily");
    const std::int32_t answered = add("Answered");
    PrayerListStore list(*store);
    list.ensureTables(today);
    clock.set(makeMoment(2027, 3, 3, 9, 0, 0));
    add("Later");
    list.setSchedule(daily, {ScheduleKind::Daily, 0, today});
    for (int day : {0, 1, 3})
        list.markPrayed(daily, today + days(day));
    list.markPrayed(a, today + days(2));
    list.defer(b, today + days(4));
    store->updatePrayer(answered, "Answered", "", "", PrayerStatus::Answered, "", false);

    std::vector<std::string> before;
    for (int day = 0; day < 10; ++day)
        before.push_back(listed(today + days(day)));
    EXPECT_EQ(before[1], "A B Daily+ ") << "prayed for on the day: listed and marked; answered: never";
    EXPECT_EQ(before[2], "A+ B Daily Later ") << "Daily due again after day 1; Later joins in turn";
    EXPECT_EQ(before[4], "Daily Later ") << "B put off on day 4, Later still missed";

    list.recordDefaultSchedules();
    EXPECT_EQ(list.schedule(a).kind, ScheduleKind::InTurn);
    EXPECT_EQ(list.schedule(a).since, makeDate(2027, 2, 20));
    for (int day = 0; day < 10; ++day)
        EXPECT_EQ(listed(today + days(day)), before[static_cast<std::size_t>(day)]) << "day " << day;
}

TEST_F(PrayerListStoreTest, JournalStoreAndBackupKeepTheListTables)
{
    const std::int32_t mum = add("Mum");
    {
        PrayerListStore list(*store);
        list.ensureTables(today);
        list.setSchedule(mum, {ScheduleKind::Weekly, 0, today});
        list.markPrayed(mum, today);
        list.setVerses(mum, {"Ps 23"});
    }
    auto expectListKept = [&](const char* when) {
        PrayerListStore list(*store);
        EXPECT_EQ(list.schedule(mum).kind, ScheduleKind::Weekly) << when;
        EXPECT_EQ(list.prayedDays(mum), std::vector<sys_days>{today}) << when;
        EXPECT_EQ(list.verses(mum), std::vector<std::string>{"Ps 23"}) << when;
    };

    // The journal's own work, by a store that reads and writes only its
    // tables, through a close and reopen.
    const std::int32_t other = add("Other");
    store->setPrayerStatus(other, PrayerStatus::Answered, {today, "yes"});
    store->deletePrayer(other);
    store->close();
    open();
    EXPECT_EQ(store->prayerTitle(mum), "Mum");
    expectListKept("after the journal's store wrote the file");

    // A backup holds them and a restore brings them back.
    PlanStore plans(dir.file("userreadplans.kova2"), clock);
    plans.close();
    store->close();
    UserDatabases dbs{dir.file("prayers.kova2"), dir.file("userreadplans.kova2")};
    writeBackupFile(dir.file("a.kova2bak"), dbs, startOf(today));
    open();
    PrayerListStore(*store).setVerses(mum, {});
    PrayerListStore(*store).unmarkPrayed(mum, today);
    store->close();
    restoreBackupFiles(dir.file("a.kova2bak"), dbs);
    open();
    expectListKept("after a restore");
}

TEST_F(PrayerListStoreTest, WelcomeSectionShowsWhatIsLeftToPrayForOnceTheListIsUsed)
{
    const std::int32_t mum = add("Mum <3");
    EXPECT_EQ(prayerListSection(*store, today), "") << "a reader who never used the list sees nothing new";
    PrayerListStore list(*store);
    list.ensureTables(today);
    list.setSchedule(mum, {ScheduleKind::Daily, 0, today});
    const std::string section = prayerListSection(*store, today);
    EXPECT_NE(section.find(std::string("href=\"") + kLinkPrayToday + "\""), std::string::npos);
    EXPECT_NE(section.find("Mum &lt;3"), std::string::npos);
    EXPECT_EQ(section.find(kLinkPrayedPrefix), std::string::npos) << "no item commands on the welcome page";
    list.markPrayed(mum, today);
    EXPECT_NE(prayerListSection(*store, today).find("You have prayed for everything"), std::string::npos);
}

} // namespace
} // namespace kovara::core

namespace kovara::core {
namespace {

// A reference typed to go with a prayer is kept in the Bible's own words when
// those read back as the same passage, else as typed; a bad one is refused
// with the parser's message.
TEST(AttachableReferenceTest, KeptInTheBiblesWordsOrAsTyped)
{
    const BibleStore kjv(test::builtFile("bible.kova2"), "King James Version", "KJV");
    test::TempDir dir;
    test::makeAlphaBetaBible(dir.file("alpha.kova2"));
    const BibleStore alpha(dir.file("alpha.kova2"), "Test Bible", "TB");
    const struct {
        const BibleStore& bible;
        const char* typed;
        const char* kept; // nullptr: refused
    } cases[] = {
        {kjv, "jn3:16", "John 3:16"},
        {kjv, "  phil 4:6-7 ", "Philippians 4:6-7"},
        {kjv, "John 3:16; Rom 8:28", "John 3:16; Rom 8:28"},
        {kjv, "Jn 99:1", nullptr},
        {kjv, "   ", nullptr},
        {alpha, " gen 1:2 ", "gen 1:2"}, // "Alpha 1:2" would not read back
    };
    for (const auto& c : cases) {
        std::string error;
        const std::optional<std::string> kept = attachableReference(c.typed, c.bible, error);
        if (c.kept) {
            EXPECT_EQ(kept, std::optional<std::string>(c.kept)) << c.typed;
            EXPECT_TRUE(error.empty());
        } else {
            EXPECT_EQ(kept, std::nullopt) << c.typed;
            EXPECT_FALSE(error.empty()) << c.typed;
        }
    }
}

} // namespace
} // namespace kovara::core
