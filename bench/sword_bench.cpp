// Bibles of the SWORD library: importing one and reading the imported text,
// with Debian's packaged modules, and the Bible page showing imported
// versions, versions side by side and a commentary. Run by hand
// (scripts/bench.sh), from the build folder, where the plug-in lies.
#include "core/app/preferences.h"
#include "core/content/bible_store.h"
#include "core/content/passage_page.h"
#include "core/settings/ini_file.h"
#include "core/sword/imported_bibles.h"
#include "core/sword/sword_import.h"
#include "ui/bible/bible_page.h"

#include <QApplication>
#include <QTemporaryDir>

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

// ---- shown on the Bible page (the chapter built, loaded and laid out)

struct Page {
    QTemporaryDir dir;
    IniFile ini{dir.filePath("settings.ini").toStdString()};
    Preferences prefs{ini};
    BibleStore kjv{KOVARA_BUILD_DIR "/bible.kova2", "King James Version", "KJV"};
    kovara::ui::BiblePage page;
    Page()
    {
        Library& l = Library::get();
        for (const char* name : {"engWEB2015eb", "engKJV2006eb", "spaRV1909eb"})
            l.imported(name);
        page.setBible(kjv);
        page.setImportedBibleFolder(l.folder);
        page.assignPreferences(prefs);
        page.resize(1000, 640);
        page.show();
        settle();
    }
    void settle()
    {
        QCoreApplication::processEvents();
        benchmark::DoNotOptimize(page.grab());
    }
    // The list's index of a module's version.
    int version(const char* abbreviation)
    {
        const QStringList names = page.versionNames();
        for (int i = 0; i < names.size(); ++i)
            if (names[i].startsWith(QString::fromLatin1(abbreviation) + " - "))
                return i;
        return -1;
    }
    // Never freed: its widgets must not outlive the QApplication of main.
    static Page& get()
    {
        static Page* page = new Page;
        return *page;
    }
};

// The chapter opened anew each time (another one shown between).
void chapterShown(benchmark::State& state, int book, int chapter)
{
    Page& p = Page::get();
    for (auto _ : state) {
        state.PauseTiming();
        p.page.openChapter(1, 1);
        p.settle();
        state.ResumeTiming();
        p.page.openChapter(book, chapter);
        p.settle();
    }
}

// A chapter in an imported version.
void BM_SwordChapterShownWEB(benchmark::State& state)
{
    Page& p = Page::get();
    p.page.setSideBySide({});
    p.page.chooseVersion(p.version("WEB"));
    chapterShown(state, 43, 3);
}

void BM_SwordPsalm119ShownRV1909(benchmark::State& state)
{
    Page& p = Page::get();
    p.page.setSideBySide({});
    p.page.chooseVersion(p.version("RV1909"));
    chapterShown(state, 19, 119);
}

// Three versions side by side: the shipped KJV, the WEB and the RV1909.
void BM_SwordPsalm119ThreeSideBySide(benchmark::State& state)
{
    Page& p = Page::get();
    p.page.chooseVersion(0);
    p.page.setSideBySide({p.version("WEB"), p.version("RV1909")});
    chapterShown(state, 19, 119);
    state.SetLabel(p.page.columnNames().join(", ").toStdString());
    p.page.setSideBySide({});
}

// A commentary entry read through the plug-in: a psalm's whole entry, and
// the same reached from the psalm's last verse (the pane walks back to the
// entry that covers it).
void BM_SwordCommentaryEntryTDavid(benchmark::State& state)
{
    Library& l = Library::get();
    std::size_t bytes = 0;
    for (auto _ : state)
        bytes = l.backend->commentaryEntry("TDavid", 19, 23, 1).size();
    state.counters["html_bytes"] = static_cast<double>(bytes);
}

// The pane showing the entry for the verse in view as the page opens a psalm.
void BM_SwordCommentaryShownTDavid(benchmark::State& state)
{
    Page& p = Page::get();
    p.page.chooseVersion(0);
    p.page.setCommentaryShown(true);
    const QStringList names = p.page.commentaryNames();
    p.page.chooseCommentary(static_cast<int>(names.indexOf("C. H. Spurgeon's Treasury of David")));
    chapterShown(state, 19, 23);
    p.page.setCommentaryShown(false);
}

} // namespace

BENCHMARK(BM_SwordImportWEB)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1)->Repetitions(3);
BENCHMARK(BM_SwordJohn3BuiltWEB)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK(BM_SwordPsalm119BuiltWEB)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK(BM_SwordChapterShownWEB)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK(BM_SwordPsalm119ShownRV1909)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK(BM_SwordPsalm119ThreeSideBySide)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK(BM_SwordCommentaryEntryTDavid)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);
BENCHMARK(BM_SwordCommentaryShownTDavid)->Unit(benchmark::kMillisecond)->Repetitions(5)->ReportAggregatesOnly(true);

int main(int argc, char* argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
