// Bibles of the SWORD library: importing one and reading the imported text,
// with Debian's packaged modules. Run by hand (scripts/bench.sh), from the
// build folder, where the plug-in lies.
#include "core/content/bible_store.h"
#include "core/content/passage_page.h"
#include "core/sword/sword_import.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <filesystem>
#include <map>

namespace {

using namespace kovara::core;

struct Library {
    std::unique_ptr<SwordBackend> backend = loadSwordBackend();
    std::string folder = std::filesystem::temp_directory_path() / "kovara-sword-bench";
    std::map<std::string, SwordModuleInfo> modules;
    Library()
    {
        std::filesystem::create_directories(folder);
        for (const SwordModuleInfo& m : backend->modules())
            modules[m.name] = m;
    }
    // The module imported once, for the reading scenarios.
    std::string imported(const std::string& name)
    {
        const std::string file = folder + "/" + name + ".kova2";
        if (needsImport(file, modules.at(name)))
            importSwordBible(*backend, modules.at(name), file);
        return file;
    }
    static Library& get()
    {
        static Library library;
        return library;
    }
};

// The whole World English Bible (with the deuterocanon) with its index.
void BM_SwordImportWEB(benchmark::State& state)
{
    Library& l = Library::get();
    const std::string file = l.folder + "/web-import.kova2";
    for (auto _ : state)
        state.counters["verses"] = importSwordBible(*l.backend, l.modules.at("engWEB2015eb"), file).verses;
    std::remove(file.c_str());
}

// A chapter's passage page from an imported version (the page the views show).
void chapterBuilt(benchmark::State& state, const std::string& module, const char* spec)
{
    BibleStore bible(Library::get().imported(module), module, module);
    std::size_t bytes = 0;
    for (auto _ : state)
        bytes = buildPassagePage(spec, bible, false, "Bench", "Day 1 of 1").size();
    state.counters["html_bytes"] = static_cast<double>(bytes);
}

void BM_SwordJohn3BuiltWEB(benchmark::State& state) { chapterBuilt(state, "engWEB2015eb", "26122-26157"); }
void BM_SwordPsalm119BuiltWEB(benchmark::State& state) { chapterBuilt(state, "engWEB2015eb", "15900-16075"); }

} // namespace

BENCHMARK(BM_SwordImportWEB)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1)->Repetitions(3);
BENCHMARK(BM_SwordJohn3BuiltWEB)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK(BM_SwordPsalm119BuiltWEB)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK_MAIN();
