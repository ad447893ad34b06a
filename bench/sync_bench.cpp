// Keeping computers in step: the cost of taking in changes, of writing one
// local change to the folder, and the folder's size after a year of use.
#include "core/base/datetime.h"
#include "core/plans/plan_store.h"
#include "core/prayer/prayer_store.h"
#include "core/sync/store_binding.h"
#include "core/sync/sync_folder.h"
#include "core/sync/sync_session.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <ctime>
#include <filesystem>
#include <string>
#include <unistd.h>

namespace {

using namespace kovara::core;
namespace fs = std::filesystem;

double threadCpuMs()
{
    timespec t{};
    ::clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_nsec) / 1e6;
}

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

// A year of use on one computer, through the program's own path. Each day
// the day's reading of three one-year plans is marked read; about ten prayer
// items a week are made (500 in the year), each edited five times over the
// following weeks (2 KB of formatted text each time) and given two dated
// notes. Once a day the session finds what changed and appends it to the
// folder, with a snapshot after every 2,000 changes, as the program does.
struct YearOfUse {
    static constexpr int kPlans = 3;
    static constexpr int kItems = 500;
    static constexpr int kChangesPerSnapshot = 2000;

    explicit YearOfUse(const std::string& name)
        : data(freshFolder(name)), shared(freshFolder(name + "-folder")), clock(makeMoment(2026, 1, 1, 7, 0, 0)),
          plans((data / "plans.kova2").string(), clock), prayers((data / "prayers.kova2").string(), &clock),
          binding(plans, prayers, {}), session((data / "session").string(), "here"), folder(shared, "here")
    {
        std::vector<std::string> days;
        for (int d = 1; d <= 365; ++d)
            days.push_back(std::to_string(d) + "-" + std::to_string(d));
        for (int p = 0; p < kPlans; ++p)
            plans.addPlan("Plan " + std::to_string(p), days, clock.now());
    }
    ~YearOfUse()
    {
        fs::remove_all(data);
        fs::remove_all(shared);
    }

    void edit(int item, int version)
    {
        PrayerSave save;
        save.title = "Prayer " + std::to_string(item);
        save.topic = "Topic " + std::to_string(item % 12);
        save.status = PrayerStatus::Active;
        save.textData = "{\\rtf1 " + std::string(2000, static_cast<char>('a' + version)) + "}";
        save.plainText = save.textData;
        save.previewText = save.textData.substr(0, 60);
        PrayerNotes notes;
        for (int n = 0; n < std::min(version, 2); ++n)
            notes.push_back(PrayerNote{clock.today(), "Note " + std::to_string(n) + " on item " + std::to_string(item)});
        save.notes = notes;
        prayers.savePrayer(items[static_cast<std::size_t>(item)], save);
    }

    // Day 1 .. 365 of the year.
    void live(int day)
    {
        clock.set(makeMoment(2026, 1, 1, 7, 0, 0) + std::chrono::days(day - 1));
        for (int p = 0; p < kPlans; ++p)
            plans.setDayDone(p, day, true);
        // Item i is made on day made(i) and edited a week apart four more
        // times, a note coming with the second and third versions.
        auto made = [](int item) { return 1 + item * 365 / (kItems + 40); };
        for (int item = 0; item < kItems; ++item) {
            const int since = day - made(item);
            if (since < 0 || since % 7 != 0 || since / 7 > 4)
                continue;
            if (since == 0)
                items.push_back(prayers.newPrayerItem());
            edit(item, since / 7);
        }
        write(session.captureLocal(binding, "Here", ++ms));
    }

    void write(const std::vector<Change>& changes)
    {
        changesWritten += static_cast<int>(changes.size());
        sinceSnapshot += static_cast<int>(changes.size());
        folder.write(changes);
        if (sinceSnapshot >= kChangesPerSnapshot) {
            folder.writeSnapshot(session.state().toBytes());
            sinceSnapshot = 0;
        }
    }

    std::uintmax_t folderBytes() const
    {
        std::uintmax_t bytes = 0;
        for (const auto& entry : fs::recursive_directory_iterator(shared))
            if (entry.is_regular_file())
                bytes += entry.file_size();
        return bytes;
    }

    fs::path data;
    fs::path shared;
    FixedClock clock;
    PlanStore plans;
    PrayerStore prayers;
    StoreBinding binding;
    SyncSession session;
    SyncFolder folder;
    std::vector<std::int32_t> items;
    std::int64_t ms = 1'000'000;
    int changesWritten = 0;
    int sinceSnapshot = 0;
};

// One local change on a year's data (three plans, 500 prayer items): found
// in the store the page announced and appended to the folder, flushed. A day
// marked read, then a prayer item's text edited.
// Made once for the benchmarks below (Google Benchmark calls each more than
// once).
YearOfUse& yearLived()
{
    static YearOfUse* year = [] {
        auto* made = new YearOfUse("local");
        for (int day = 1; day <= 365; ++day)
            made->live(day);
        made->folder.writeSnapshot(made->session.state().toBytes());
        return made;
    }();
    return *year;
}

void OneDayMarkedWritten(benchmark::State& state)
{
    YearOfUse& year = yearLived();
    static int day = 0;
    for (auto _ : state) {
        state.PauseTiming();
        year.plans.setDayDone(day % YearOfUse::kPlans, day / YearOfUse::kPlans % 365 + 1,
                              (day / (YearOfUse::kPlans * 365)) % 2 != 0);
        ++day;
        state.ResumeTiming();
        year.folder.write(year.session.captureLocal(year.binding, "Here", ++year.ms, StoreBinding::Plans));
    }
}
BENCHMARK(OneDayMarkedWritten)->Unit(benchmark::kMillisecond);

void OnePrayerEditWritten(benchmark::State& state)
{
    YearOfUse& year = yearLived();
    static int edit = 0;
    double capture = 0, write = 0;
    for (auto _ : state) {
        state.PauseTiming();
        year.edit(edit % YearOfUse::kItems, 5 + edit / YearOfUse::kItems % 2);
        ++edit;
        state.ResumeTiming();
        const double t0 = threadCpuMs();
        const std::vector<Change> changes =
            year.session.captureLocal(year.binding, "Here", ++year.ms, StoreBinding::Prayers);
        const double t1 = threadCpuMs();
        year.folder.write(changes);
        capture += t1 - t0;
        write += threadCpuMs() - t1;
    }
    // Processor time of the two parts (the machine may be busy).
    state.counters["capture_cpu_ms"] = capture / static_cast<double>(state.iterations());
    state.counters["write_cpu_ms"] = write / static_cast<double>(state.iterations());
}
BENCHMARK(OnePrayerEditWritten)->Unit(benchmark::kMillisecond);

// The folder after the year and a last snapshot. Reports its size in bytes
// and the number of changes written over the year.
void FolderAfterAYear(benchmark::State& state)
{
    for (auto _ : state) {
        YearOfUse year("year");
        for (int day = 1; day <= 365; ++day)
            year.live(day);
        year.folder.writeSnapshot(year.session.state().toBytes());
        state.counters["folder_bytes"] = static_cast<double>(year.folderBytes());
        state.counters["changes"] = year.changesWritten;
    }
}
BENCHMARK(FolderAfterAYear)->Unit(benchmark::kMillisecond)->Iterations(1);

} // namespace

BENCHMARK_MAIN();
