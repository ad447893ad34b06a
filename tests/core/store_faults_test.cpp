// The user stores when something else holds their files: a second copy of
// the program on the same user data folder, a write that meets another
// connection's lock, and a file that is not a database at all.
#include "core/base/datetime.h"
#include "fixtures.h"
#include "core/plans/plan_store.h"
#include "core/prayer/prayer_store.h"

#include <filesystem>
#include <fstream>
#include <functional>
#include <gtest/gtest.h>
#include <iterator>
#include <memory>

namespace kovara::core {
namespace {

std::string readAll(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// What a user can see of both stores, in one line: every live prayer item with
// its topic and status, every plan with its start date, title and read days.
std::string snapshot(const PlanStore& plans, const PrayerStore& prayers)
{
    std::string text;
    const PrayerHeaders headers = prayers.prayerHeaders(std::nullopt, "prayerIndex");
    for (const auto& h : headers)
        text += h.prayerTitle + "/" + h.prayerTopic + "/" + h.prayerStatus.word() + "; ";
    for (int p = 0; p < plans.planCount(); ++p) {
        text += "| " + plans.planTitle(p) + " " + std::to_string(toStoredSeconds(plans.startDate(p))) + " ";
        for (int d = 1; d <= plans.dayCount(p); ++d)
            text += plans.isDayDone(p, d) ? "x" : "-";
    }
    return text;
}

// One copy of the program's user stores on a user data folder.
struct Copy {
    explicit Copy(const test::TempDir& dir)
        : plans(dir.file("userreadplans.kova2"), clock), prayers(dir.file("prayers.kova2"), &clock)
    {
    }
    FixedClock clock{makeMoment(2024, 5, 1, 9, 0, 0)};
    PlanStore plans;
    PrayerStore prayers;
};

class StoreFaultsTest : public ::testing::Test {
protected:
    StoreFaultsTest()
    {
        const std::int32_t item = first.prayers.newPrayerItem();
        first.prayers.updatePrayer(item, "Family", "Home", "", PrayerStatus::Active, "{\\rtf1 text}", false);
        first.plans.addPlan("Plan A", {"1-2", "3-4", "5-6"}, first.clock.today());
    }

    test::TempDir dir;
    Copy first{dir};
};

TEST_F(StoreFaultsTest, SecondCopyOnTheSameFolderStartsAndWorks)
{
    Copy second(dir);
    EXPECT_EQ(snapshot(second.plans, second.prayers), snapshot(first.plans, first.prayers));

    // Each copy's writes reach the file, and the other sees them once it reads
    // again (the plan store reads its plans at start and after its own changes).
    second.prayers.newPrayerItem();
    second.plans.setDayDone(0, 1, true);
    EXPECT_EQ(first.prayers.countPrayers(std::nullopt), 2);
    first.plans.loadPlans();
    EXPECT_TRUE(first.plans.isDayDone(0, 1));
    first.plans.addPlan("Plan B", {"7-8"}, first.clock.today());
    second.plans.loadPlans();
    EXPECT_EQ(second.plans.planCount(), 2);
}

// While another connection (the other copy in the middle of a write) holds
// the write lock, every kind of write raises the database's own message and
// changes nothing: not the files, and not what the store shows afterwards.
// Once the lock is gone the same write goes through.
TEST_F(StoreFaultsTest, WriteThatMeetsALockRaisesAndLosesNothing)
{
    struct Case {
        const char* name;
        std::function<void(Copy&)> write;
    };
    const Case cases[] = {
        {"new prayer item",
         [](Copy& c) {
             c.prayers.updatePrayer(c.prayers.newPrayerItem(), "Neighbours", "", "", PrayerStatus::Active, "", false);
         }},
        {"prayer edited",
         [](Copy& c) { c.prayers.updatePrayer(1, "Friends", "Work", "", PrayerStatus::Active, "{\\rtf1 new}", true); }},
        {"prayer status", [](Copy& c) { c.prayers.setPrayerStatus(1, PrayerStatus::Answered); }},
        {"day marked read", [](Copy& c) { c.plans.setDayDone(0, 2, true); }},
        {"days marked read", [](Copy& c) { c.plans.markDaysDoneThrough(0, 3); }},
        {"plan added", [](Copy& c) { c.plans.addPlan("Plan B", {"7-8", "9-10"}, c.clock.today()); }},
        {"plan renamed", [](Copy& c) { c.plans.renamePlan(0, "Plan Z"); }},
        {"plan restarted", [](Copy& c) { c.plans.setStartDate(0, c.clock.today() - std::chrono::days(10)); }},
        {"plan deleted", [](Copy& c) { c.plans.deletePlan(0); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        test::TempDir folder;
        Copy writer(folder);
        writer.prayers.updatePrayer(writer.prayers.newPrayerItem(), "Family", "Home", "", PrayerStatus::Active, "x", false);
        writer.plans.addPlan("Plan A", {"1-2", "3-4", "5-6"}, writer.clock.today());
        const std::string before = snapshot(writer.plans, writer.prayers);
        const std::string prayersFile = readAll(folder.file("prayers.kova2"));
        const std::string plansFile = readAll(folder.file("userreadplans.kova2"));

        sqlite3* other = nullptr;
        sqlite3* otherPlans = nullptr;
        openDatabase(folder.file("prayers.kova2"), other);
        openDatabase(folder.file("userreadplans.kova2"), otherPlans);
        execSQL(other, "BEGIN IMMEDIATE;");
        execSQL(otherPlans, "BEGIN IMMEDIATE;");
        // The wait for the lock is tested elsewhere; here it ends at once.
        sqlite3_busy_timeout(writer.prayers.connection(), 0);
        sqlite3_busy_timeout(writer.plans.handle(), 0);
        const std::string message = test::messageOf([&] { c.write(writer); });
        EXPECT_NE(message.find(" is in use by another program, which kept it locked for too long."), std::string::npos)
            << message;
        EXPECT_TRUE(message.ends_with("(SQLite Error 5 - database is locked)")) << message;
        EXPECT_EQ(snapshot(writer.plans, writer.prayers), before) << "what the store shows";
        execSQL(other, "ROLLBACK;");
        execSQL(otherPlans, "ROLLBACK;");
        closeDatabase(other);
        closeDatabase(otherPlans);

        EXPECT_TRUE(readAll(folder.file("prayers.kova2")) == prayersFile);
        EXPECT_TRUE(readAll(folder.file("userreadplans.kova2")) == plansFile);
        {
            Copy fresh(folder);
            EXPECT_EQ(snapshot(fresh.plans, fresh.prayers), before) << "what the files hold";
        }
        EXPECT_NO_THROW(c.write(writer));
        Copy fresh(folder);
        EXPECT_NE(snapshot(fresh.plans, fresh.prayers), before) << "the write goes through afterwards";
        EXPECT_EQ(snapshot(fresh.plans, fresh.prayers), snapshot(writer.plans, writer.prayers));
    }
}

// A store file that is not a database - text, or a database cut short - is
// refused with a message, and the file is left exactly as it was.
TEST_F(StoreFaultsTest, FileThatIsNotADatabaseIsRefusedAndLeftAsItWas)
{
    const std::string realPlans = readAll(dir.file("userreadplans.kova2"));
    const std::string realPrayers = readAll(dir.file("prayers.kova2"));
    const std::string bad[] = {
        "These are my notes, not a database.\n",
        realPlans.substr(0, realPlans.size() / 2),
        realPrayers.substr(0, 1500),
    };
    for (const std::string& bytes : bad) {
        test::TempDir folder;
        for (const char* name : {"prayers.kova2", "userreadplans.kova2"}) {
            SCOPED_TRACE(std::string(name) + " of " + std::to_string(bytes.size()) + " bytes");
            const std::string path = folder.file(name);
            std::ofstream(path, std::ios::binary) << bytes;
            FixedClock clock{makeMoment(2024, 5, 1, 9, 0, 0)};
            const std::string message = test::messageOf([&] {
                if (std::string(name) == "prayers.kova2")
                    PrayerStore store(path, &clock);
                else
                    PlanStore store(path, clock);
            });
            EXPECT_NE(message, "(nothing raised)");
            EXPECT_FALSE(message.empty());
            EXPECT_TRUE(readAll(path) == bytes);
            EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.path()), {}), 1)
                << "no journal or other file is left beside it";
            std::filesystem::remove(path);
        }
    }
}

} // namespace
} // namespace kovara::core
