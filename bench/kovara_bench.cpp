// Times the work a user waits for, on the shipped content of the build folder
// (bible.kova2, readplans.kova2) and on user data made here from it: passage
// pages, the plan manager, plan creation, the welcome page, the prayer
// tracker, backup and restore against gzip on the same file, and the RTF
// codec. Every scenario is repeated and its median compared with its target
// in a table printed at the end. Runs on the offscreen platform.
//
//   build/kovara_bench [--benchmark_filter=REGEX] [--benchmark_repetitions=N]
#include "core/app/backup_file.h"
#include "ui/base/core_names.h"
#include "core/settings/ini_file.h"
#include "core/app/preferences.h"
#include "core/app/welcome_page.h"
#include "bench_data.h"
#include "core/content/passage_page.h"
#include "ui/base/dialogs.h"
#include "ui/app/welcome_page.h"
#include "ui/base/passage_view.h"
#include "ui/plans/plan_manager_page.h"
#include "ui/plans/plan_controller.h"
#include "core/prayer/prayer_list_store.h"
#include "ui/prayer/pray_today_page.h"
#include "ui/prayer/prayer_editor.h"
#include "ui/prayer/journal_export.h"
#include "ui/prayer/prayer_search.h"
#include "ui/prayer/prayer_tracker_page.h"
#include "ui/prayer/rtf_codec.h"
#include "ui/base/shell.h"
#include "ui/base/html_viewer.h"
#include "ui/bible/bible_page.h"
#include "ui/bible/search_panel.h"

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QTemporaryDir>
#include <QTextDocument>
#include <QTreeWidget>
#include <benchmark/benchmark.h>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <stdexcept>

namespace {

using namespace kovara::core;
using namespace kovara::ui;
namespace fs = std::filesystem;

const std::string kProgramFolder = std::string(KOVARA_BUILD_DIR) + "/";

// Everything the scenarios share, made once on first use: a work folder, the
// shipped Bible, preferences on a fresh settings.ini, and the made-up user data.
struct World {
    World()
        : folder(dir.path().toStdString() + "/"), ini(folder + "settings.ini"), prefs(ini),
          bible(kProgramFolder + "bible.kova2", "King James Version", "KJV")
    {
        std::fprintf(stderr, "making benchmark data in %s ...\n", folder.c_str());
        // 10,000 prayers of about 2 KB each (a text that size takes two
        // database pages, so the file is about 40 MB), and a 20 MB one.
        bench::makePrayerDatabase(folder + "prayers10000.kova2", bible, 10000, 2000);
        bench::makePrayerDatabase(folder + "prayers20MB.kova2", bible, 4800, 2000);
        bench::makePrayerDatabase(folder + "prayers500.kova2", bible, 500, 2000);
        bench::makePlanDatabase(folder + "plans50.kova2", kProgramFolder, 50, clock);
        bench::makePlanDatabase(folder + "plans10.kova2", kProgramFolder, 10, clock);
        std::fprintf(stderr, "prayers databases: 10,000 items %.1f MB, backup source %.1f MB\n",
                     static_cast<double>(fs::file_size(folder + "prayers10000.kova2")) / 1e6,
                     static_cast<double>(fs::file_size(folder + "prayers20MB.kova2")) / 1e6);
    }
    static World& get()
    {
        static World world;
        return world;
    }

    QTemporaryDir dir;
    std::string folder;
    SystemClock clock;
    IniFile ini;
    Preferences prefs;
    BibleStore bible;
    QtDialogs dialogs;
};

// The shell the plan and prayer frames are built on, over a plan database and
// a prayer database of the world's folder.
class BenchShell : public Shell {
public:
    BenchShell(const std::string& plansFile, const std::string& prayersFile)
        : w_(World::get()), plans_(plansFile, w_.clock), prayers_(prayersFile, &w_.clock)
    {
    }
    Preferences& preferences() override { return w_.prefs; }
    BibleStore& bible() override { return w_.bible; }
    DevotionalStore& devotional() override { throw std::logic_error("no devotional in the benchmarks"); }
    PlanStore& planStore() override { return plans_; }
    PrayerStore& prayerStore() override { return prayers_; }
    Dialogs& dialogs() override { return w_.dialogs; }
    const Clock& clock() override { return w_.clock; }
    const std::string& contentFolder() const override { return kProgramFolder; }
    const std::string& userDataFolder() const override { return w_.folder; }
    void showPage(Page) override {}
    Page currentPage() const override { return Page::PlanManager; }

private:
    World& w_;
    PlanStore plans_;
    PrayerStore prayers_;
};

// Lets the window system deliver what a change queued (layout, paint) and
// paints the visible part, as a user would see it.
void settle(QWidget& widget)
{
    QCoreApplication::processEvents();
    benchmark::DoNotOptimize(widget.grab());
}

std::string verseRange(int first, int last)
{
    return std::to_string(first) + "-" + std::to_string(last);
}

std::string psalm119()
{
    const BibleStore& bible = World::get().bible;
    return verseRange(bible.verseIndex(19, 119, 1), bible.verseIndex(19, 119, 176));
}

// ---- passage pages

void passageShown(benchmark::State& state, const std::string& spec)
{
    World& w = World::get();
    PassageView frame;
    frame.assignPreferences(w.prefs);
    frame.resize(900, 640);
    frame.show();
    settle(frame);
    for (auto _ : state) {
        frame.loadPlanVerses(spec, "Bench", "Day 1 of 1", w.bible);
        // The scroll bars need the whole document's height.
        benchmark::DoNotOptimize(frame.viewer()->document()->documentLayout()->documentSize());
        settle(frame);
    }
    state.counters["html_bytes"] = static_cast<double>(frame.viewer()->document()->characterCount());
}

void BM_Psalm119Shown(benchmark::State& state) { passageShown(state, psalm119()); }

void BM_WholeBibleBuilt(benchmark::State& state)
{
    World& w = World::get();
    std::size_t bytes = 0;
    for (auto _ : state)
        bytes = buildPassagePage("1-31102", w.bible, w.prefs.paragraphMode, "Bench", "Day 1 of 1").size();
    state.counters["html_bytes"] = static_cast<double>(bytes);
}

void BM_WholeBibleShown(benchmark::State& state) { passageShown(state, "1-31102"); }

// ---- reading plans

// The plan manager filled with the second plan (in title order) of file,
// coming each time from the first, "A Short Plan": a nearly empty manager.
void managerFilled(benchmark::State& state, const std::string& file)
{
    World& w = World::get();
    BenchShell shell(file, w.folder + "prayers500.kova2");
    QWidget window;
    PlanController controller(shell, &window);
    auto* manager = controller.planManager();
    manager->resize(900, 640);
    manager->show();
    const int shortPlan = 0, measured = 1;
    for (auto _ : state) {
        state.PauseTiming();
        manager->showPlan(shortPlan);
        settle(*manager);
        state.ResumeTiming();
        manager->setPlans(shell.planStore().id(measured));
        settle(*manager);
    }
    state.counters["rows"] = manager->findChild<QTreeWidget*>("dayList")->topLevelItemCount();
}

void BM_PlanManager31102Days(benchmark::State& state)
{
    World& w = World::get();
    const std::string file = w.folder + "plan31102.kova2";
    if (!fs::exists(file)) {
        std::vector<std::string> verses;
        for (int v = 1; v <= 31102; ++v)
            verses.push_back(verseRange(v, v));
        PlanStore plans(file, w.clock);
        plans.addPlan("One Verse a Day", verses, w.clock.today());
        plans.addPlan("A Short Plan", {"1-3"}, w.clock.today());
    }
    managerFilled(state, file);
}

void BM_PlanManager365Days(benchmark::State& state)
{
    World& w = World::get();
    const std::string file = w.folder + "plan365.kova2";
    if (!fs::exists(file)) {
        PlanStore plans(file, w.clock);
        const PlanId year = plans.addPlan("Bible in a Year", loadTemplateVerses(kProgramFolder + "readplans.kova2", "otntDaily"),
                                       w.clock.today() - std::chrono::days(20));
        plans.markDaysDoneThrough(*plans.indexOf(year), 5);
        plans.addPlan("A Short Plan", {"1-3"}, w.clock.today());
    }
    managerFilled(state, file);
}

// One catch-up choice applied, as the reader waits for it: the store changed,
// the plan views refreshed and the reading page shown again. Each run starts
// from a fresh copy of a plan started 20 days ago with 5 days read.
void catchUpApplied(benchmark::State& state, int days, CatchUpChoice choice)
{
    World& w = World::get();
    const std::string source = w.folder + "catchup" + std::to_string(days) + ".kova2";
    if (!fs::exists(source)) {
        std::vector<std::string> verses;
        if (days == 365) {
            verses = loadTemplateVerses(kProgramFolder + "readplans.kova2", "otntDaily");
        } else {
            for (int v = 1; v <= days; ++v)
                verses.push_back(verseRange(v, v));
        }
        PlanStore plans(source, w.clock);
        const PlanId plan = plans.addPlan("Behind", verses, w.clock.today() - std::chrono::days(20));
        plans.markDaysDoneThrough(*plans.indexOf(plan), 5);
    }
    const std::string file = w.folder + "catchup_work.kova2";
    for (auto _ : state) {
        state.PauseTiming();
        fs::copy_file(source, file, fs::copy_options::overwrite_existing);
        {
            BenchShell shell(file, w.folder + "prayers500.kova2");
            QWidget window;
            PlanController controller(shell, &window);
            controller.refreshPlanViews(PlanId());
            const PlanId plan = shell.planStore().id(0);
            controller.showPlanDay(plan);
            state.ResumeTiming();
            controller.applyCatchUp(plan, choice);
            state.PauseTiming();
        }
        state.ResumeTiming();
    }
}

void BM_CatchUpStartAgain365(benchmark::State& state) { catchUpApplied(state, 365, CatchUpChoice::StartAgain); }
void BM_CatchUpKeepFinish365(benchmark::State& state) { catchUpApplied(state, 365, CatchUpChoice::KeepFinish); }
void BM_CatchUpDoubleUp365(benchmark::State& state) { catchUpApplied(state, 365, CatchUpChoice::DoubleUp); }
void BM_CatchUpStartAgain31102(benchmark::State& state) { catchUpApplied(state, 31102, CatchUpChoice::StartAgain); }
void BM_CatchUpKeepFinish31102(benchmark::State& state) { catchUpApplied(state, 31102, CatchUpChoice::KeepFinish); }
void BM_CatchUpDoubleUp31102(benchmark::State& state) { catchUpApplied(state, 31102, CatchUpChoice::DoubleUp); }

void BM_Plan365FromTemplate(benchmark::State& state)
{
    World& w = World::get();
    const std::string file = w.folder + "plans_created.kova2";
    fs::remove(file);
    PlanStore plans(file, w.clock);
    int n = 0;
    for (auto _ : state) {
        const auto year = loadTemplateVerses(kProgramFolder + "readplans.kova2", "otntDaily");
        benchmark::DoNotOptimize(plans.addPlan("Bible in a Year " + std::to_string(++n), year, w.clock.today()));
    }
}

// ---- welcome page and prayer tracker

void welcomePage(benchmark::State& state, const std::string& plansFile, const std::string& prayersFile)
{
    World& w = World::get();
    BenchShell shell(w.folder + plansFile, w.folder + prayersFile);
    WelcomePage frame(w.dialogs);
    frame.assignPreferences(w.prefs);
    frame.resize(900, 640);
    frame.show();
    for (auto _ : state) {
        frame.buildWelcomePage(shell.planStore(), shell.prayerStore(), w.prefs, w.clock);
        settle(frame);
    }
    state.counters["html_bytes"] = static_cast<double>(frame.pageText().size());
}

void BM_Welcome50Plans10000Prayers(benchmark::State& state)
{
    welcomePage(state, "plans50.kova2", "prayers10000.kova2");
}
void BM_Welcome10Plans500Prayers(benchmark::State& state) { welcomePage(state, "plans10.kova2", "prayers500.kova2"); }

void BM_PrayerTrackerAllTab10000(benchmark::State& state)
{
    World& w = World::get();
    BenchShell shell(w.folder + "plans10.kova2", w.folder + "prayers10000.kova2");
    PrayerEditor editor(w.dialogs);
    PrayerTrackerPage frame(shell, editor);
    frame.assignPreferences(w.prefs);
    frame.resize(900, 640);
    frame.show();
    for (auto _ : state) {
        state.PauseTiming();
        frame.initPrayers(shell.prayerStore(), PrayerStatus::Answered, -1); // another tab first
        settle(frame);
        state.ResumeTiming();
        frame.initPrayers(shell.prayerStore(), std::nullopt, -1);
        settle(frame);
    }
    state.counters["rows"] = frame.findChild<QListWidget*>("prayerList")->count();
}

// Today's prayer list over a copy of the 10,000 items, with the schedules a
// heavy user might give them (most in turn over 30 days, some daily, weekly,
// monthly or on two weekdays, a verse on every tenth) and 60 days of praying
// through the list, computed and shown.
void BM_PrayToday10000(benchmark::State& state)
{
    World& w = World::get();
    const std::string file = w.folder + "praytoday10000.kova2";
    fs::copy_file(w.folder + "prayers10000.kova2", file, fs::copy_options::overwrite_existing);
    BenchShell shell(w.folder + "plans10.kova2", file);
    const sys_days today = w.clock.today();
    const sys_days start = today - std::chrono::days(60);
    {
        PrayerListStore list(shell.prayerStore());
        list.ensureTables(start);
        list.setCycleLength(30, start);
        execSQL(shell.prayerStore().connection(), "BEGIN");
        int n = 0;
        for (const PrayerHeader& item : shell.prayerStore().prayerHeaders(PrayerStatus::Active, "")) {
            const int slot = n++ % 100;
            PrayerSchedule schedule{ScheduleKind::InTurn, 0, start};
            if (slot < 3)
                schedule.kind = ScheduleKind::Daily;
            else if (slot < 13)
                schedule.kind = ScheduleKind::Weekly;
            else if (slot < 23)
                schedule.kind = ScheduleKind::Monthly;
            else if (slot < 28)
                schedule = {ScheduleKind::Weekdays, weekdayBit(std::chrono::Monday) | weekdayBit(std::chrono::Thursday),
                            start};
            list.setSchedule(item.prayerIndex, schedule);
            if (slot % 10 == 0)
                execSQL(shell.prayerStore().connection(),
                        "INSERT INTO prayerVerses VALUES (" + std::to_string(item.prayerIndex) + ", 1, 'Phil 4:6-7');");
        }
        execSQL(shell.prayerStore().connection(), "COMMIT");
    }
    execSQL(shell.prayerStore().connection(), "BEGIN");
    for (sys_days d = start; d < today; d += std::chrono::days(1))
        for (const ListEntry& entry : PrayerListStore(shell.prayerStore()).listFor(d))
            PrayerListStore(shell.prayerStore()).markPrayed(entry.prayerIndex, d);
    execSQL(shell.prayerStore().connection(), "COMMIT");

    PrayTodayPage page(shell);
    page.assignPreferences(w.prefs);
    page.resize(900, 640);
    page.show();
    settle(page);
    for (auto _ : state) {
        page.refresh();
        settle(page);
    }
    state.counters["items"] = static_cast<double>(PrayerListStore(shell.prayerStore()).listFor(today).size());
}

// ---- backup and restore against gzip on the same file

std::string quoted(const std::string& path) { return "'" + path + "'"; }

void runCommand(const std::string& command)
{
    if (std::system(command.c_str()) != 0)
        throw std::runtime_error("failed: " + command);
}

UserDatabases backupSource()
{
    World& w = World::get();
    return {w.folder + "prayers20MB.kova2", w.folder + "plans10.kova2"};
}

void BM_Backup20MB(benchmark::State& state)
{
    const std::string backup = World::get().folder + "bench.kova2bak";
    for (auto _ : state)
        writeBackupFile(backup, backupSource(), World::get().clock.now());
    state.counters["file_MB"] = static_cast<double>(fs::file_size(backup)) / 1e6;
}

void BM_Gzip9SameFile(benchmark::State& state)
{
    const std::string out = World::get().folder + "prayers.gz";
    for (auto _ : state)
        runCommand("gzip -9 -c " + quoted(backupSource().prayersPath) + " > " + quoted(out));
    state.counters["file_MB"] = static_cast<double>(fs::file_size(out)) / 1e6;
}

void BM_Restore20MB(benchmark::State& state)
{
    World& w = World::get();
    const std::string backup = w.folder + "bench.kova2bak";
    if (!fs::exists(backup))
        writeBackupFile(backup, backupSource(), w.clock.now());
    fs::create_directories(w.folder + "restore");
    const UserDatabases target{w.folder + "restore/prayers.kova2", w.folder + "restore/userreadplans.kova2"};
    fs::copy_file(w.folder + "prayers500.kova2", target.prayersPath, fs::copy_options::overwrite_existing);
    fs::copy_file(w.folder + "plans10.kova2", target.plansPath, fs::copy_options::overwrite_existing);
    for (auto _ : state)
        restoreBackupFiles(backup, target);
}

void BM_GunzipSameFile(benchmark::State& state)
{
    World& w = World::get();
    const std::string gz = w.folder + "prayers.gz";
    if (!fs::exists(gz))
        runCommand("gzip -9 -c " + quoted(backupSource().prayersPath) + " > " + quoted(gz));
    for (auto _ : state)
        runCommand("gunzip -c " + quoted(gz) + " > " + quoted(w.folder + "prayers.gunzipped"));
}

// ---- the prayer text codec

QByteArray rtf200KB()
{
    static const QByteArray rtf = [] {
        const auto verses = bench::verseTexts(World::get().bible, 3000);
        std::size_t next = 0;
        // Formatting every few sentences, as a prayer journal has it.
        std::string text = bench::prayerRtf(verses, next, 200 * 1024);
        for (std::size_t at = 400; at + 200 < text.size(); at += 997) {
            const std::size_t blank = text.find(' ', at);
            if (blank == std::string::npos)
                break;
            text.insert(blank, (at / 997) % 2 ? " {\\i\\cf1" : " {\\b");
            text.insert(text.find(' ', blank + 40), "}");
        }
        return QByteArray::fromStdString(text);
    }();
    return rtf;
}

void BM_Rtf200KBRead(benchmark::State& state)
{
    QTextDocument doc;
    const QByteArray rtf = rtf200KB();
    for (auto _ : state)
        readRtf(rtf, doc);
    state.counters["rtf_KB"] = rtf.size() / 1024.0;
}

void BM_Rtf200KBWrite(benchmark::State& state)
{
    QTextDocument doc;
    readRtf(rtf200KB(), doc);
    QByteArray out;
    for (auto _ : state)
        out = writeRtf(doc);
    state.counters["rtf_KB"] = out.size() / 1024.0;
}

// ---- the prayer journal: search index, search, export

// Makes the index of an older file's 10,000 items ready to search: a copy of
// the 10,000-item database, whose index is built once.
std::string searchableTenThousand()
{
    World& w = World::get();
    const std::string file = w.folder + "prayers10000search.kova2";
    if (!fs::exists(file)) {
        fs::copy_file(w.folder + "prayers10000.kova2", file);
        PrayerStore store(file, &w.clock);
        store.buildSearchIndex(plainTextOfDocument);
    }
    return file;
}

// An older file's 10,000 items of about 2 KB indexed the first time the
// tracker opens it (the progress window has no parent here).
void BM_SearchIndexBuild10000(benchmark::State& state)
{
    World& w = World::get();
    const std::string file = w.folder + "prayers10000index.kova2";
    for (auto _ : state) {
        state.PauseTiming();
        fs::copy_file(w.folder + "prayers10000.kova2", file, fs::copy_options::overwrite_existing);
        {
            sqlite3* db = nullptr;
            openDatabase(file, db);
            execSQL(db, "DELETE FROM prayerJournalInfo;"); // as an older program left it
            closeDatabase(db);
        }
        PrayerStore store(file, &w.clock);
        state.ResumeTiming();
        benchmark::DoNotOptimize(ensureSearchIndex(store, nullptr));
    }
}

// One keystroke in the tracker's search field on the All tab of 10,000
// items, until the matching list and the first match's text are shown. The
// keystrokes type words letter by letter, so the result changes each time.
void BM_PrayerSearchKeystroke10000(benchmark::State& state)
{
    World& w = World::get();
    BenchShell shell(w.folder + "plans10.kova2", searchableTenThousand());
    PrayerEditor editor(w.dialogs);
    PrayerTrackerPage frame(shell, editor);
    frame.assignPreferences(w.prefs);
    frame.resize(900, 640);
    frame.show();
    frame.initPrayers(shell.prayerStore(), std::nullopt, -1);
    settle(frame);
    static const QString typed = QStringLiteral("righteousness shall go before ");
    static int next = 0;
    for (auto _ : state) {
        state.PauseTiming();
        if (next >= typed.size()) {
            next = 0;
            frame.findChild<QLineEdit*>("searchEdit")->clear();
            settle(frame);
        }
        const QString text = typed.left(++next);
        state.ResumeTiming();
        frame.findChild<QLineEdit*>("searchEdit")->setText(text);
        settle(frame);
    }
    state.counters["rows"] = frame.findChild<QListWidget*>("prayerList")->count();
}

// 1,000 items of about 2 KB chosen and written to a PDF.
void BM_JournalExport1000Pdf(benchmark::State& state)
{
    World& w = World::get();
    const std::string file = w.folder + "prayers1000.kova2";
    if (!fs::exists(file))
        bench::makePrayerDatabase(file, w.bible, 1000, 2000);
    PrayerStore store(file, &w.clock);
    PrayerSelection all;
    all.statuses = {PrayerStatus::Active, PrayerStatus::Answered, PrayerStatus::Inactive};
    const QString pdf = QString::fromStdString(w.folder + "journal.pdf");
    int pages = 0;
    for (auto _ : state) {
        const PrayerHeaders items = store.selectPrayers(all);
        QTextDocument doc;
        JournalExport::buildDocument(doc, store, all, items, w.clock.today());
        JournalExport::writePdf(doc, pdf, [&](const QString&, int, int total) { pages = total; });
    }
    state.counters["pages"] = pages;
}

// ---- the Bible page

// Starts what start does on the panel and waits until the panel sends
// signal (its worker thread's answer shown), then lets it paint.
void awaitPanel(SearchPanel& panel, void (SearchPanel::*signal)(), const std::function<void()>& start)
{
    QEventLoop loop;
    const auto done = QObject::connect(&panel, signal, &loop, &QEventLoop::quit);
    start();
    loop.exec();
    QObject::disconnect(done);
    settle(panel);
}

// One search as the user sees it: typed text searched on the panel's worker
// thread, the count and the first 200 results shown.
void searchShown(SearchPanel& panel, const QString& text)
{
    panel.setSearchText(text);
    awaitPanel(panel, &SearchPanel::resultsShown, [&] { panel.searchNow(); });
}

SearchPanel& searchPanel()
{
    static SearchPanel* panel = [] {
        auto* p = new SearchPanel;
        std::vector<QString> names;
        for (int book = 1; book <= 66; ++book)
            names.push_back(QString::fromStdString(World::get().bible.longBookName(book)));
        p->setBible(kProgramFolder + "bible.kova2", std::move(names), QStringLiteral("KJV"));
        p->resize(420, 640);
        p->show();
        searchShown(*p, QStringLiteral("warm")); // opens the index once
        return p;
    }();
    return *panel;
}

// Words and phrases people look up, a different one in each repetition; the
// median is taken over them.
void BM_SearchWordOrPhrase(benchmark::State& state)
{
    static const char* const queries[] = {
        "faith", "hope", "charity", "\"the word of the lord\"", "believ*", "jerusalem", "shepherd", "grace",
        "\"in the beginning\"", "forgive", "\"love one another\"", "resurrection", "mercy", "light", "peace",
    };
    static int next = 0;
    SearchPanel& panel = searchPanel();
    const char* query = queries[next++ % std::size(queries)];
    for (auto _ : state)
        searchShown(panel, QString::fromUtf8(query));
    state.SetLabel(query);
}

// From the last key of a word or phrase typed into the search field to its
// results shown, the pause the panel waits for included. The keys before it
// come 40 ms apart, a quick typist's pace, so searches they start are
// overtaken and cancelled as they would be; the field starts empty.
void BM_SearchKeyToResults(benchmark::State& state)
{
    static const char* const queries[] = {"faith", "hope", "charity", "\"the word of the lord\"", "jerusalem",
                                          "shepherd", "grace", "forgive", "\"love one another\"", "mercy"};
    static int next = 0;
    SearchPanel& panel = searchPanel();
    auto* edit = panel.findChild<QLineEdit*>("searchEdit");
    const QString query = QString::fromUtf8(queries[next++ % std::size(queries)]);
    const auto type = [edit](QChar c) {
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
        QKeyEvent release(QEvent::KeyRelease, 0, Qt::NoModifier, QString(c));
        QApplication::sendEvent(edit, &press);
        QApplication::sendEvent(edit, &release);
    };
    for (auto _ : state) {
        state.PauseTiming();
        panel.setSearchText(QString()); // an empty field, no results
        panel.searchNow();
        settle(panel);
        edit->setFocus();
        for (qsizetype i = 0; i + 1 < query.size(); ++i) {
            type(query[i]);
            QElapsedTimer gap;
            gap.start();
            while (gap.elapsed() < 40)
                QCoreApplication::processEvents(QEventLoop::AllEvents, 5);
        }
        state.ResumeTiming();
        awaitPanel(panel, &SearchPanel::resultsShown, [&] { type(query.back()); });
        state.PauseTiming();
        if (edit->text() != query || panel.foundCount() == 0)
            state.SkipWithError("the results shown are not those of the text typed");
        state.ResumeTiming();
    }
    state.SetLabel(query.toStdString());
}

// The commonest word: every verse but a few hundred, counted, 200 shown.
void BM_SearchThe(benchmark::State& state)
{
    SearchPanel& panel = searchPanel();
    for (auto _ : state)
        searchShown(panel, QStringLiteral("the"));
    state.SetLabel(panel.findChild<QLabel*>("countLabel")->text().toStdString());
}

// The next 200 results of "shall" (6,061 verses) read and added below those
// shown, as when the reader scrolls to the end of the list: pages 2 to 30,
// one in each repetition, each below all the pages before it.
void BM_SearchNextPage(benchmark::State& state)
{
    SearchPanel& panel = searchPanel();
    for (auto _ : state) {
        state.PauseTiming();
        if (panel.foundCount() == 0 || panel.shownCount() >= panel.foundCount() ||
            panel.findChild<QLineEdit*>("searchEdit")->text() != QStringLiteral("shall"))
            searchShown(panel, QStringLiteral("shall"));
        state.ResumeTiming();
        awaitPanel(panel, &SearchPanel::moreResultsShown, [&] { panel.loadMore(); });
    }
    state.counters["shown"] = panel.shownCount();
}

// A chapter opened from a typed reference and shown, Psalm 119 among them.
void BM_ChapterFromReference(benchmark::State& state)
{
    static const char* const references[] = {"Psalm 119", "jn 3:16", "Gen 1:1-2:3", "1 Cor 13", "Rev 22:21",
                                             "Ps 119:105", "Isa 53", "Matt 5"};
    static BiblePage* page = [] {
        auto* p = new BiblePage;
        p->setBible(World::get().bible);
        p->assignPreferences(World::get().prefs);
        p->resize(1000, 640);
        p->show();
        settle(*p);
        return p;
    }();
    static int next = 0;
    const char* reference = references[next++ % std::size(references)];
    for (auto _ : state) {
        state.PauseTiming();
        page->openChapter(2, 1); // another chapter first, so the timed one is loaded anew
        settle(*page);
        state.ResumeTiming();
        if (!page->goTo(QString::fromUtf8(reference)))
            state.SkipWithError("reference not opened");
        settle(*page);
    }
    state.SetLabel(reference);
}

// ---- the table of targets

struct Target {
    const char* name;
    const char* scenario;
    double limitMs;          // a time target; 0 when the target is a ratio
    const char* baseline;    // the benchmark the ratio is taken against
    double ratio;
};

const Target kTargets[] = {
    {"BM_Psalm119Shown", "passage page of Psalm 119 built and shown", 50, nullptr, 0},
    {"BM_WholeBibleBuilt", "passage page of the whole Bible built", 1000, nullptr, 0},
    {"BM_WholeBibleShown", "passage page of the whole Bible built and shown", 3000, nullptr, 0},
    {"BM_PlanManager31102Days", "plan manager with calendar, 31,102-day plan", 1500, nullptr, 0},
    {"BM_PlanManager365Days", "plan manager with calendar, 365-day plan", 50, nullptr, 0},
    {"BM_CatchUpStartAgain365", "catch-up: start again, 365 days", 100, nullptr, 0},
    {"BM_CatchUpKeepFinish365", "catch-up: keep my finish date, 365 days", 100, nullptr, 0},
    {"BM_CatchUpDoubleUp365", "catch-up: double up, 365 days", 100, nullptr, 0},
    {"BM_CatchUpStartAgain31102", "catch-up: start again, 31,102 days", 2000, nullptr, 0},
    {"BM_CatchUpKeepFinish31102", "catch-up: keep my finish date, 31,102 days", 2000, nullptr, 0},
    {"BM_CatchUpDoubleUp31102", "catch-up: double up, 31,102 days", 2000, nullptr, 0},
    {"BM_Plan365FromTemplate", "365-day plan created from a template", 100, nullptr, 0},
    {"BM_Welcome50Plans10000Prayers", "welcome page, 50 plans and 10,000 prayers", 100, nullptr, 0},
    {"BM_Welcome10Plans500Prayers", "welcome page, 10 plans and 500 prayers", 100, nullptr, 0},
    {"BM_PrayerTrackerAllTab10000", "prayer tracker All tab, 10,000 items", 300, nullptr, 0},
    {"BM_PrayToday10000", "today's prayer list of 10,000 scheduled items shown", 50, nullptr, 0},
    {"BM_Backup20MB", "backup of a 20 MB prayers database", 0, "BM_Gzip9SameFile", 1.2},
    {"BM_Restore20MB", "restore of that backup", 0, "BM_GunzipSameFile", 1.2},
    {"BM_SearchIndexBuild10000", "search index built for 10,000 prayers", 3000, nullptr, 0},
    {"BM_PrayerSearchKeystroke10000", "prayer search, one keystroke, 10,000 items", 30, nullptr, 0},
    {"BM_JournalExport1000Pdf", "prayer journal of 1,000 items to PDF", 5000, nullptr, 0},
    {"BM_SearchWordOrPhrase", "Bible search, a word or phrase, 200 shown", 15, nullptr, 0},
    {"BM_SearchKeyToResults", "Bible search, last key typed to results shown", 120, nullptr, 0},
    {"BM_SearchThe", "Bible search for \"the\", counted, 200 shown", 100, nullptr, 0},
    {"BM_SearchNextPage", "Bible search, the next 200 results shown", 15, nullptr, 0},
    {"BM_ChapterFromReference", "chapter opened from a reference and shown", 30, nullptr, 0},
    {"BM_Rtf200KBRead", "RTF of a 200 KB prayer text read", 100, nullptr, 0},
    {"BM_Rtf200KBWrite", "RTF of a 200 KB prayer text written", 100, nullptr, 0},
};

// Prints the usual console lines and keeps each benchmark's median time.
class MedianReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override
    {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs)
            if (run.run_type == Run::RT_Aggregate && run.aggregate_name == "median")
                medians[run.run_name.function_name] = run.GetAdjustedRealTime();
    }
    std::map<std::string, double> medians; // milliseconds
};

void printTargets(const std::map<std::string, double>& medians)
{
    std::printf("\n%-50s %12s %18s  %s\n", "scenario", "median", "target", "met");
    for (const Target& t : kTargets) {
        const auto found = medians.find(t.name);
        if (found == medians.end())
            continue;
        const double ms = found->second;
        if (t.baseline) {
            const auto base = medians.find(t.baseline);
            if (base == medians.end())
                continue;
            const double ratio = ms / base->second;
            std::printf("%-50s %9.1f ms   <= %.1fx %-6s %.1f ms  %s (%.2fx)\n", t.scenario, ms, t.ratio,
                        t.baseline[3] == 'G' && t.baseline[4] == 'z' ? "gzip" : "gunzip", base->second,
                        ratio <= t.ratio ? "yes" : "NO", ratio);
        } else {
            std::printf("%-50s %9.1f ms   < %9.0f ms     %s\n", t.scenario, ms, t.limitMs,
                        ms < t.limitMs ? "yes" : "NO");
        }
    }
}

} // namespace

#define KOVARA_BENCH(fn, reps)                                                                                     \
    BENCHMARK(fn)->Unit(benchmark::kMillisecond)->UseRealTime()->Iterations(1)->Repetitions(reps)             \
        ->ReportAggregatesOnly(true)

KOVARA_BENCH(BM_Psalm119Shown, 15);
KOVARA_BENCH(BM_WholeBibleBuilt, 5);
KOVARA_BENCH(BM_WholeBibleShown, 3);
KOVARA_BENCH(BM_PlanManager31102Days, 5);
KOVARA_BENCH(BM_PlanManager365Days, 15);
KOVARA_BENCH(BM_CatchUpStartAgain365, 15);
KOVARA_BENCH(BM_CatchUpKeepFinish365, 15);
KOVARA_BENCH(BM_CatchUpDoubleUp365, 15);
KOVARA_BENCH(BM_CatchUpStartAgain31102, 3);
KOVARA_BENCH(BM_CatchUpKeepFinish31102, 3);
KOVARA_BENCH(BM_CatchUpDoubleUp31102, 3);
KOVARA_BENCH(BM_Plan365FromTemplate, 15);
KOVARA_BENCH(BM_Welcome50Plans10000Prayers, 15);
KOVARA_BENCH(BM_Welcome10Plans500Prayers, 15);
KOVARA_BENCH(BM_PrayerTrackerAllTab10000, 7);
KOVARA_BENCH(BM_PrayToday10000, 9);
KOVARA_BENCH(BM_SearchIndexBuild10000, 3);
KOVARA_BENCH(BM_PrayerSearchKeystroke10000, 30);
KOVARA_BENCH(BM_JournalExport1000Pdf, 3);
KOVARA_BENCH(BM_Gzip9SameFile, 5);
KOVARA_BENCH(BM_SearchWordOrPhrase, 30);
KOVARA_BENCH(BM_SearchKeyToResults, 20);
KOVARA_BENCH(BM_SearchThe, 9);
KOVARA_BENCH(BM_SearchNextPage, 29);
KOVARA_BENCH(BM_ChapterFromReference, 16);
KOVARA_BENCH(BM_Backup20MB, 5);
KOVARA_BENCH(BM_GunzipSameFile, 5);
KOVARA_BENCH(BM_Restore20MB, 5);
KOVARA_BENCH(BM_Rtf200KBRead, 15);
KOVARA_BENCH(BM_Rtf200KBWrite, 15);

// Drops the offscreen platform's notice about size hints, printed for every
// window shown, so the figures stay readable.
static QtMessageHandler previousHandler = nullptr;
static void quietHandler(QtMsgType type, const QMessageLogContext& context, const QString& message)
{
    if (!message.contains(QLatin1String("propagateSizeHints")) && previousHandler)
        previousHandler(type, context, message);
}

int main(int argc, char* argv[])
{
    previousHandler = qInstallMessageHandler(quietHandler);
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    MedianReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    printTargets(reporter.medians);
    benchmark::Shutdown();
    return 0;
}
