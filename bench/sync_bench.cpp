// Keeping computers in step: the cost of taking in changes, of writing one
// local change to the folder, and the folder's size after a year of use.
#include "core/base/datetime.h"
#include "core/plans/plan_store.h"
#include "core/prayer/prayer_store.h"
#include "core/sync/store_binding.h"
#include "core/sync/sync_folder.h"
#include "core/sync/sync_session.h"

#include <benchmark/benchmark.h>

#include <filesystem>
#include <string>
#include <unistd.h>

namespace {

using namespace kovara::core;
namespace fs = std::filesystem;

fs::path freshFolder(const std::string& name)
{
    const fs::path path = fs::temp_directory_path() / ("kovara-sync-bench-" + std::to_string(::getpid()) + "-" + name);
    fs::remove_all(path);
    fs::create_directories(path);
    return path;
}

// 10,000 changes from another computer (days read on 20 plans of 365 days,
// 1,000 prayer items made and edited) merged and written into the stores.
void TenThousandIncomingChanges(benchmark::State& state)
{
    std::vector<Change> incoming;
    std::int64_t ms = 1'000'000;
    auto add = [&](EntityKind kind, const std::string& id, const std::string& field, const std::string& value) {
        incoming.push_back(Change{Stamp{Hlc{++ms, 0}, "other"}, kind, id, field, value, {}});
    };
    std::string days;
    for (int d = 1; d <= 365; ++d)
        days += (d > 1 ? "\n" : "") + std::to_string(d) + "-" + std::to_string(d);
    for (int p = 0; p < 20; ++p) {
        const std::string id = "{00000000-0000-4000-8000-" + std::to_string(100000000000 + p) + "}";
        add(EntityKind::Plan, id, "title", "Plan " + std::to_string(p));
        add(EntityKind::Plan, id, "start", "1767225600");
        add(EntityKind::Plan, id, "days", days);
        for (int d = 1; d <= 246; ++d)
            add(EntityKind::Plan, id, "read:" + std::to_string(d), "@1767225600");
    }
    for (int i = 0; incoming.size() < 10'000; ++i) {
        const std::string id = "prayer-" + std::to_string(i);
        add(EntityKind::Prayer, id, "title", "Prayer " + std::to_string(i));
        add(EntityKind::Prayer, id, "created", "1767225600");
        add(EntityKind::Prayer, id, "status", "Active");
        add(EntityKind::Prayer, id, "text", std::string(2000, 'x'));
        add(EntityKind::Prayer, id, "preview", "x");
    }
    incoming.resize(10'000);
    for (auto _ : state) {
        state.PauseTiming();
        const fs::path data = freshFolder("incoming");
        FixedClock clock(makeMoment(2026, 6, 1, 8, 0, 0));
        {
            PlanStore plans((data / "plans.kova2").string(), clock);
            PrayerStore prayers((data / "prayers.kova2").string(), &clock);
            StoreBinding binding(plans, prayers, {});
            SyncSession session((data / "session").string(), "here");
            IncomingChanges changes;
            changes.changes = incoming;
            state.ResumeTiming();
            session.takeIn(changes, binding, ms + 1);
            state.PauseTiming();
        }
        fs::remove_all(data);
        state.ResumeTiming();
    }
}
BENCHMARK(TenThousandIncomingChanges)->Unit(benchmark::kMillisecond)->Iterations(3);

// One day marked read: the change found in the stores and appended to the
// folder, flushed.
void OneLocalChangeWritten(benchmark::State& state)
{
    const fs::path data = freshFolder("local");
    const fs::path shared = freshFolder("local-folder");
    FixedClock clock(makeMoment(2026, 6, 1, 8, 0, 0));
    PlanStore plans((data / "plans.kova2").string(), clock);
    PrayerStore prayers((data / "prayers.kova2").string(), &clock);
    std::vector<std::string> days;
    for (int d = 1; d <= 365; ++d)
        days.push_back(std::to_string(d) + "-" + std::to_string(d));
    plans.addPlan("Year", days, clock.now());
    StoreBinding binding(plans, prayers, {});
    SyncSession session((data / "session").string(), "here");
    SyncFolder folder(shared, "here");
    std::int64_t ms = 1'000'000;
    folder.write(session.captureLocal(binding, "Here", ++ms));
    int day = 0;
    for (auto _ : state) {
        state.PauseTiming();
        plans.setDayDone(0, day % 365 + 1, (day / 365) % 2 == 0);
        ++day;
        state.ResumeTiming();
        folder.write(session.captureLocal(binding, "Here", ++ms));
    }
    fs::remove_all(data);
    fs::remove_all(shared);
}
BENCHMARK(OneLocalChangeWritten)->Unit(benchmark::kMillisecond);

// A year of daily use: 365 days read, 500 prayer items each edited 5 times
// (2 KB of text), then a snapshot. Reports the folder's size in bytes.
void FolderAfterAYear(benchmark::State& state)
{
    for (auto _ : state) {
        ReplicaState replica;
        HybridClock clock;
        std::int64_t ms = 1'000'000;
        const fs::path shared = freshFolder("year");
        SyncFolder folder(shared, "here");
        auto change = [&](EntityKind kind, const std::string& id, const std::string& field, const std::string& value) {
            Change c{Stamp{clock.tick(ms += 60'000), "here"}, kind, id, field, value, {}};
            if (keepsEveryValue(kind, field))
                if (const EntityState* e = replica.entity(kind, id))
                    if (auto it = e->fields.find(field); it != e->fields.end())
                        c.base = it->second.stamp;
            replica.apply(c);
            folder.write({c});
        };
        std::string days;
        for (int d = 1; d <= 365; ++d)
            days += (d > 1 ? "\n" : "") + std::to_string(d) + "-" + std::to_string(d);
        change(EntityKind::Plan, "{PLAN}", "title", "Through the Bible");
        change(EntityKind::Plan, "{PLAN}", "days", days);
        for (int d = 1; d <= 365; ++d)
            change(EntityKind::Plan, "{PLAN}", "read:" + std::to_string(d), "@" + std::to_string(1767225600 + d * 86400));
        for (int edit = 0; edit < 5; ++edit)
            for (int p = 0; p < 500; ++p)
                change(EntityKind::Prayer, "prayer-" + std::to_string(p), "text",
                       "{\\rtf1 " + std::string(2000, static_cast<char>('a' + edit)) + "}");
        folder.writeSnapshot(replica.toBytes());
        std::uintmax_t bytes = 0;
        for (const auto& entry : fs::recursive_directory_iterator(shared))
            if (entry.is_regular_file())
                bytes += entry.file_size();
        state.counters["folder_bytes"] = static_cast<double>(bytes);
        fs::remove_all(shared);
    }
}
BENCHMARK(FolderAfterAYear)->Unit(benchmark::kMillisecond)->Iterations(1);

} // namespace

BENCHMARK_MAIN();
