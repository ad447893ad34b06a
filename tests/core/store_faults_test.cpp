// The user stores when something else holds their files: a second copy of
// the program on the same user data folder, a write that meets another
// connection's lock, and a file that is not a database at all.
#include "base/datetime.h"
#include "fixtures.h"
#include "plans/kova_readplan.h"
#include "prayer/kova_prayertracker.h"

#include <filesystem>
#include <fstream>
#include <functional>
#include <gtest/gtest.h>
#include <iterator>
#include <memory>

namespace kovara {
namespace {

std::string ReadAll(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

// What a user can see of both stores, in one line: every live prayer item with
// its topic and status, every plan with its start date, title and read days.
std::string Snapshot(const TKOVAReadPlans& plans, const TKOVAPrayerTracker& prayers)
{
    std::string text;
    TPrayerHeaderRecArray headers;
    prayers.GetPrayerHeaders(kPrayerFilterAny, "prayerIndex", headers);
    for (const auto& h : headers)
        text += h.prayerTitle + "/" + h.prayerTopic + "/" + h.prayerStatus + "; ";
    for (int p = 0; p < plans.GetPlanCount(); ++p) {
        text += "| " + plans.GetPlanTitle(p) + " " + std::to_string(plans.GetStartDate(p)) + " ";
        for (int d = 1; d <= plans.GetDayCount(p); ++d)
            text += plans.IsDayDone(p, d) ? "x" : "-";
    }
    return text;
}

// One copy of the program's user stores on a user data folder.
struct Copy {
    explicit Copy(const test::TempDir& dir)
        : plans(dir.File("userreadplans.kova2"), clock), prayers(dir.File("prayers.kova2"), &clock)
    {
    }
    FixedClock clock{EncodeDateTime(2024, 5, 1, 9, 0, 0)};
    TKOVAReadPlans plans;
    TKOVAPrayerTracker prayers;
};

class StoreFaultsTest : public ::testing::Test {
protected:
    StoreFaultsTest()
    {
        const std::int32_t item = first.prayers.NewPrayerItem(0);
        first.prayers.UpdatePrayer(item, "Family", "Home", "", kPrayerActive, "{\\rtf1 text}", false);
        first.plans.AddPlan("Plan A", {"1-2", "3-4", "5-6"}, first.clock.Today());
    }

    test::TempDir dir;
    Copy first{dir};
};

TEST_F(StoreFaultsTest, SecondCopyOnTheSameFolderStartsAndWorks)
{
    Copy second(dir);
    EXPECT_EQ(Snapshot(second.plans, second.prayers), Snapshot(first.plans, first.prayers));

    // Each copy's writes reach the file, and the other sees them once it reads
    // again (the plan store reads its plans at start and after its own changes).
    second.prayers.NewPrayerItem(0);
    second.plans.SetDayDone(0, 1, true);
    EXPECT_EQ(first.prayers.CountPrayers(kPrayerFilterAny), 2);
    first.plans.LoadPlans();
    EXPECT_TRUE(first.plans.IsDayDone(0, 1));
    first.plans.AddPlan("Plan B", {"7-8"}, first.clock.Today());
    second.plans.LoadPlans();
    EXPECT_EQ(second.plans.GetPlanCount(), 2);
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
        {"new prayer item", [](Copy& c) { c.prayers.NewPrayerItem(0); }},
        {"prayer edited",
         [](Copy& c) { c.prayers.UpdatePrayer(1, "Friends", "Work", "", kPrayerActive, "{\\rtf1 new}", true); }},
        {"prayer status", [](Copy& c) { c.prayers.SetPrayerStatus(1, kPrayerAnswered); }},
        {"day marked read", [](Copy& c) { c.plans.SetDayDone(0, 2, true); }},
        {"days marked read", [](Copy& c) { c.plans.MarkDaysDoneThrough(0, 3); }},
        {"plan added", [](Copy& c) { c.plans.AddPlan("Plan B", {"7-8", "9-10"}, c.clock.Today()); }},
        {"plan renamed", [](Copy& c) { c.plans.RenamePlan(0, "Plan Z"); }},
        {"plan restarted", [](Copy& c) { c.plans.SetStartDate(0, c.clock.Today() - 10); }},
        {"plan deleted", [](Copy& c) { c.plans.DeletePlan(0); }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        test::TempDir folder;
        Copy writer(folder);
        writer.prayers.UpdatePrayer(writer.prayers.NewPrayerItem(0), "Family", "Home", "", kPrayerActive, "x", false);
        writer.plans.AddPlan("Plan A", {"1-2", "3-4", "5-6"}, writer.clock.Today());
        const std::string before = Snapshot(writer.plans, writer.prayers);
        const std::string prayersFile = ReadAll(folder.File("prayers.kova2"));
        const std::string plansFile = ReadAll(folder.File("userreadplans.kova2"));

        sqlite3* other = nullptr;
        sqlite3* otherPlans = nullptr;
        OpenDatabase(folder.File("prayers.kova2"), other);
        OpenDatabase(folder.File("userreadplans.kova2"), otherPlans);
        ExecSQL(other, "BEGIN IMMEDIATE;");
        ExecSQL(otherPlans, "BEGIN IMMEDIATE;");
        EXPECT_EQ(test::MessageOf([&] { c.write(writer); }), "SQLite Error 5 - database is locked");
        EXPECT_EQ(Snapshot(writer.plans, writer.prayers), before) << "what the store shows";
        ExecSQL(other, "ROLLBACK;");
        ExecSQL(otherPlans, "ROLLBACK;");
        CloseDatabase(other);
        CloseDatabase(otherPlans);

        EXPECT_TRUE(ReadAll(folder.File("prayers.kova2")) == prayersFile);
        EXPECT_TRUE(ReadAll(folder.File("userreadplans.kova2")) == plansFile);
        {
            Copy fresh(folder);
            EXPECT_EQ(Snapshot(fresh.plans, fresh.prayers), before) << "what the files hold";
        }
        EXPECT_NO_THROW(c.write(writer));
        Copy fresh(folder);
        EXPECT_NE(Snapshot(fresh.plans, fresh.prayers), before) << "the write goes through afterwards";
        EXPECT_EQ(Snapshot(fresh.plans, fresh.prayers), Snapshot(writer.plans, writer.prayers));
    }
}

// A store file that is not a database - text, or a database cut short - is
// refused with a message, and the file is left exactly as it was.
TEST_F(StoreFaultsTest, FileThatIsNotADatabaseIsRefusedAndLeftAsItWas)
{
    const std::string realPlans = ReadAll(dir.File("userreadplans.kova2"));
    const std::string realPrayers = ReadAll(dir.File("prayers.kova2"));
    const std::string bad[] = {
        "These are my notes, not a database.\n",
        realPlans.substr(0, realPlans.size() / 2),
        realPrayers.substr(0, 1500),
    };
    for (const std::string& bytes : bad) {
        test::TempDir folder;
        for (const char* name : {"prayers.kova2", "userreadplans.kova2"}) {
            SCOPED_TRACE(std::string(name) + " of " + std::to_string(bytes.size()) + " bytes");
            const std::string path = folder.File(name);
            std::ofstream(path, std::ios::binary) << bytes;
            FixedClock clock{EncodeDateTime(2024, 5, 1, 9, 0, 0)};
            const std::string message = test::MessageOf([&] {
                if (std::string(name) == "prayers.kova2")
                    TKOVAPrayerTracker store(path, &clock);
                else
                    TKOVAReadPlans store(path, clock);
            });
            EXPECT_NE(message, "(nothing raised)");
            EXPECT_FALSE(message.empty());
            EXPECT_TRUE(ReadAll(path) == bytes);
            EXPECT_EQ(std::distance(std::filesystem::directory_iterator(folder.Path()), {}), 1)
                << "no journal or other file is left beside it";
            std::filesystem::remove(path);
        }
    }
}

} // namespace
} // namespace kovara
