#include "core/base/exception.h"
#include "core/plans/plan_store.h"
#include "core/prayer/prayer_store.h"
#include "core/sync/store_binding.h"
#include "core/sync/sync_session.h"
#include "fixtures.h"

#include <gtest/gtest.h>

namespace kovara::core {
namespace {

namespace fs = std::filesystem;
using test::TempDir;

// A computer with its user data folder, on a shared sync folder.
struct Desk {
    Desk(const fs::path& syncFolder, const std::string& name)
        : clock(makeMoment(2026, 3, 1, 8, 0, 0)), plans(data.file("userreadplans.kova2"), clock),
          prayers(data.file("prayers.kova2"), &clock), binding(plans, prayers, {}),
          session(data.file("sync-state"), newComputerId()), folder(syncFolder, session.computerId()), name(name)
    {
    }

    // One exchange as the program runs it: send local changes, take in the others'.
    SyncSession::Outcome exchange()
    {
        folder.write(session.captureLocal(binding, name, ++ms));
        folder.setPositions(session.positions());
        const IncomingChanges incoming = folder.readOthers();
        session.setPositions(folder.positions());
        SyncSession::Outcome outcome = session.takeIn(incoming, binding, ++ms);
        folder.write(outcome.toSend);
        session.save();
        return outcome;
    }

    TempDir data;
    FixedClock clock;
    PlanStore plans;
    PrayerStore prayers;
    StoreBinding binding;
    SyncSession session;
    SyncFolder folder;
    std::string name;
    std::int64_t ms = 5'000'000;
};

TEST(SyncSessionTest, APrayerAndADayMarkedOnOneComputerReachTheOtherThroughTheFolder)
{
    TempDir shared;
    Desk home(shared.path(), "Home"), laptop(shared.path(), "Laptop");
    const PlanId plan = home.plans.addPlan("Psalms", {"1-4", "5-7"}, home.clock.now());
    home.plans.setDayDone(0, 1, true);
    const std::int32_t item = home.prayers.newPrayerItem();
    PrayerSave save;
    save.title = "Travel";
    save.status = PrayerStatus::Active;
    home.prayers.savePrayer(item, save);
    home.exchange();

    const SyncSession::Outcome outcome = laptop.exchange();
    EXPECT_FALSE(outcome.written.empty());
    ASSERT_EQ(laptop.plans.indexOf(plan), 0);
    EXPECT_TRUE(laptop.plans.isDayDone(0, 1));
    EXPECT_TRUE(laptop.prayers.findPrayerByTitle("Travel"));
    EXPECT_EQ(laptop.session.state().value(EntityKind::Computer, home.session.computerId(), "name"), "Home");

    // A later run picks up where it stopped: the kept session knows it all.
    SyncSession again(laptop.data.file("sync-state"), laptop.session.computerId());
    again.load();
    EXPECT_TRUE(again.state() == laptop.session.state());
    EXPECT_EQ(again.positions(), laptop.session.positions());
    SyncSession other(laptop.data.file("sync-state"), newComputerId());
    other.load();
    EXPECT_TRUE(other.state().entities().empty()) << "another computer's kept session is not taken over";

    // The folder vanishes: a message, and nothing changes here.
    fs::remove_all(shared.path() / home.session.computerId());
    fs::remove_all(shared.path());
    EXPECT_THROW(laptop.exchange(), Exception);
    EXPECT_EQ(laptop.plans.planCount(), 1);
    EXPECT_TRUE(laptop.prayers.findPrayerByTitle("Travel"));
}

TEST(SyncSessionTest, TurningItOnWithDataOnBothSidesMergesBoth)
{
    TempDir shared;
    Desk home(shared.path(), "Home"), laptop(shared.path(), "Laptop");
    home.plans.addPlan("Home plan", {"1-4"}, home.clock.now());
    laptop.plans.addPlan("Laptop plan", {"5-7"}, laptop.clock.now());
    home.exchange();
    laptop.exchange();
    home.exchange();
    for (Desk* desk : {&home, &laptop}) {
        ASSERT_EQ(desk->plans.planCount(), 2);
        EXPECT_EQ(desk->plans.planTitle(0), "Home plan");
        EXPECT_EQ(desk->plans.planTitle(1), "Laptop plan");
    }
}

} // namespace
} // namespace kovara::core
