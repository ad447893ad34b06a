#include "fixtures.h"
#include "scripted_dialogs.h"

#include "base/datetime.h"
#include "base/exception.h"
#include "plans/kova_readplan.h"
#include "ui/app/formMain.h"
#include "ui/app/idle_work.h"
#include "ui/app/backup_commands.h"
#include "ui/app/frameWelcomePage.h"
#include "ui/app/help_viewer.h"
#include "ui/content/frameBibleDisplay.h"
#include "ui/content/frameDevDisplay.h"
#include "ui/prayer/framePrayerTracker.h"
#include "ui/widgets/html_viewer.h"
#include "ui/widgets/group_bar.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QTest>
#include <QElapsedTimer>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QStackedWidget>
#include <QStatusBar>
#include <QTextEdit>
#include <QToolBar>
#include <QToolButton>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <memory>

namespace kovara::ui {
namespace {

// Lets queued and zero-timeout work run, as the event loop would.
void SpinEvents(int milliseconds = 50)
{
    QElapsedTimer timer;
    timer.start();
    while (timer.elapsed() < milliseconds)
        QApplication::processEvents(QEventLoop::AllEvents, 10);
}

// A program folder holding a small Bible and a devotional of two entries,
// and an empty per-user folder.
class MainWindowTest : public ::testing::Test {
protected:
    MainWindowTest()
    {
        kovara::test::MakeAlphaBetaBible(program.File("bible.kova2"));
        sqlite3* db = nullptr;
        OpenDatabase(program.File("devotional.kova2"), db);
        ExecSQL(db, "CREATE TABLE faithsCheckbook (entryIndex INTEGER PRIMARY KEY, month INTEGER, day INTEGER, "
                    "devotionalText TEXT);"
                    "INSERT INTO faithsCheckbook VALUES (1,1,1,'<p>First of January</p>');"
                    "INSERT INTO faithsCheckbook VALUES (2,3,5,'<p>Fifth of March</p>');");
        CloseDatabase(db);
    }

    std::unique_ptr<TFormMainWindow> Open()
    {
        return std::make_unique<TFormMainWindow>(program.Folder(), appData.Path().string(), dialogs, clock);
    }

    // A menu's entries, separators as "-".
    static QStringList Entries(const QMenu* menu)
    {
        QStringList entries;
        for (const QAction* action : menu->actions())
            entries << (action->isSeparator() ? QStringLiteral("-") : action->text());
        return entries;
    }

    kovara::test::TempDir program;
    kovara::test::TempDir appData;
    test::ScriptedDialogs dialogs;
    FixedClock clock{EncodeDateTime(2024, 3, 5, 9, 0, 0)};
};

TEST_F(MainWindowTest, MenusHoldTheirCommandsInOrder)
{
    auto window = Open();
    const QList<QAction*> top = window->menuBar()->actions();
    QStringList titles;
    for (const QAction* a : top)
        titles << a->text();
    EXPECT_EQ(titles, QStringList({"File", "Edit", "Reading", "Devotional", "Prayers", "Help"}));

    const QStringList expected[] = {
        {"Welcome and Summary", "-", "Backup...", "Restore from Backup...", "-", "Print...", "Printer Setup...", "-",
         "Preferences...", "-", "Exit Kovara"},
        {"Copy Selected Text"},
        // With no plans: only the break and the two plan commands.
        {"-", "Start New Reading Plan...", "Reading Plan Manager"},
        {"Faith's Checkbook"},
        {"New Prayer Item...", "-", "View Active Prayers", "View Answered Prayers", "View Inactive Prayers",
         "View All Prayers"},
        {"Open Help", "-", "Kovara Website", "Check for Updates", "Email Technical Support", "-", "About Kovara"},
    };
    for (int i = 0; i < top.size(); ++i)
        EXPECT_EQ(Entries(top[i]->menu()), expected[i]) << titles[i].toStdString();

    const QMenu* reading = top[2]->menu();
    EXPECT_EQ(reading->actions().first()->objectName(), "ReadingMenuBreak");
    // The help menu's "Open Help" is its own entry, not the F1 command.
    const QAction* openHelp = top[5]->menu()->actions().first();
    EXPECT_NE(openHelp, window->Actions().ActionHelp);
    EXPECT_TRUE(openHelp->shortcut().isEmpty());
    // Menus and the command table share the same action objects.
    EXPECT_EQ(top[1]->menu()->actions().first(), window->Actions().ActionCopy);
}

TEST_F(MainWindowTest, SideBarGroupsAndToolBar)
{
    auto window = Open();
    const auto* bar = window->findChild<TGroupBar*>("RzGroupBar1");
    ASSERT_TRUE(bar);
    EXPECT_EQ(bar->width(), 193);
    struct Group {
        QString name, caption;
        QStringList entries;
    };
    const Group expected[] = {
        {"RzGroupWelcome", "Welcome", {"Welcome and Summary"}},
        {"RzGroupDevotionals", "Daily Devotional", {"Faith's Checkbook"}},
        {"RzGroupPlans", "Daily Bible Reading", {"Start New Reading Plan..."}},
        {"RzGroupPrayerTracker",
         "Prayer Tracker",
         {"New Prayer Item...", "View Active Prayers", "View Answered Prayers", "View Inactive Prayers",
          "View All Prayers"}},
    };
    const QList<TGroupBarGroup*> groups = bar->Groups();
    ASSERT_EQ(groups.size(), 4);
    for (int i = 0; i < 4; ++i) {
        EXPECT_EQ(groups[i]->objectName(), expected[i].name);
        EXPECT_EQ(groups[i]->Caption(), expected[i].caption);
        QStringList entries;
        for (const QAction* a : groups[i]->EntryActions())
            entries << a->text();
        EXPECT_EQ(entries, expected[i].entries) << expected[i].name.toStdString();
    }

    const auto* tools = window->findChild<QToolBar*>("RzToolbar1");
    ASSERT_TRUE(tools);
    QStringList hints;
    for (const QAction* a : tools->actions())
        if (!a->toolTip().isEmpty() && a->isVisible() && !a->icon().isNull())
            hints << a->toolTip();
    EXPECT_EQ(hints, QStringList({"Welcome and Summary page", "Copy Selected Text", "Print", "Open Help File"}));
}

TEST_F(MainWindowTest, StartsOnTheWelcomePageWithCaptionAndShortcuts)
{
    auto window = Open();
    EXPECT_EQ(window->windowTitle(), "Kovara 2.0.1.2");
    EXPECT_EQ(window->findChild<QLabel*>("StatusField")->text(), "");
    EXPECT_EQ(window->CurrentPage(), Page::Welcome);
    const auto* pages = window->findChild<QStackedWidget*>("RzPageControl1");
    ASSERT_TRUE(pages);
    EXPECT_EQ(pages->currentWidget()->objectName(), "TabSheetWelcome");
    EXPECT_EQ(pages->count(), 5);

    EXPECT_EQ(window->Actions().ActionCopy->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_C));
    EXPECT_EQ(window->Actions().ActionHelp->shortcut(), QKeySequence(Qt::Key_F1));
    EXPECT_EQ(window->HelpFile(), program.Folder() + "KOVA2.hlp");
    EXPECT_TRUE(std::filesystem::is_directory(appData.Path() / "Kovara 2"));
    EXPECT_EQ(window->UserDataFolder(), appData.Path().string() + "/Kovara 2/");
}

TEST_F(MainWindowTest, BlankAppDataFolderFallsBackToUserDataInProgramFolder)
{
    auto window = std::make_unique<TFormMainWindow>(program.Folder(), " ", dialogs, clock);
    EXPECT_EQ(window->UserDataFolder(), program.Folder() + "User Data/");
    EXPECT_TRUE(std::filesystem::is_directory(program.Path() / "User Data"));
}

TEST_F(MainWindowTest, MissingBibleEndsStartUp)
{
    std::filesystem::remove(program.File("bible.kova2"));
    EXPECT_EQ(kovara::test::MessageOf([&] { Open(); }), "Bible file not found: " + program.File("bible.kova2"));
    // A devotional table that is not there stops start-up at that step too.
    sqlite3* db = nullptr;
    OpenDatabase(program.File("devotional.kova2"), db);
    ExecSQL(db, "DROP TABLE faithsCheckbook;");
    CloseDatabase(db);
    EXPECT_NE(kovara::test::MessageOf([&] { Open(); }).find("faithsCheckbook"), std::string::npos);
}

TEST_F(MainWindowTest, CommandsSwitchPagesAndCopyPrintFollowThePage)
{
    auto window = Open();
    const TMainActions& a = window->Actions();
    EXPECT_FALSE(a.ActionCopy->isEnabled());
    EXPECT_FALSE(a.ActionPrint->isEnabled());

    struct Case {
        QAction* command;
        Page page;
        bool print;
    };
    const Case cases[] = {
        {a.ActionReadingPlanManager, Page::PlanManager, false}, // no plan chosen
        {a.ActionPrayersAnswered, Page::PrayerTracker, true},
        {a.ActionDevFaithsCheckbook, Page::Devotional, true},
        {a.ActionWelcomePage, Page::Welcome, false},
    };
    for (const Case& c : cases) {
        c.command->trigger();
        EXPECT_EQ(window->CurrentPage(), c.page) << c.command->objectName().toStdString();
        EXPECT_EQ(a.ActionPrint->isEnabled(), c.print) << c.command->objectName().toStdString();
        EXPECT_FALSE(a.ActionCopy->isEnabled());
    }
    EXPECT_EQ(window->findChild<TFrameKOVAPrayerTracker*>("FrameKOVAPrayerTracker1")->CurrentFilter(), "Answered");
}

TEST_F(MainWindowTest, DevotionalPageShowsTodayAndCopyFollowsItsSelection)
{
    auto window = Open();
    window->Actions().ActionDevFaithsCheckbook->trigger();
    auto* frame = window->findChild<TFrameKOVADevotionalDisplay*>("FrameKOVADevotionalDisplay1");
    ASSERT_TRUE(frame);
    EXPECT_NE(frame->PageText().find("Fifth of March"), std::string::npos);

    QAction* copy = window->Actions().ActionCopy;
    EXPECT_FALSE(copy->isEnabled());
    frame->Viewer()->SelectWholePage();
    EXPECT_TRUE(copy->isEnabled());
    window->ShowPage(Page::Welcome);
    EXPECT_FALSE(copy->isEnabled());
}

TEST_F(MainWindowTest, PlanEntriesComeFromTheStoreAndOpenTheirDay)
{
    std::filesystem::create_directories(appData.Path() / "Kovara 2");
    {
        TKOVAReadPlans plans((appData.Path() / "Kovara 2" / "userreadplans.kova2").string(), clock);
        ASSERT_GE(plans.AddPlan("Beta & more", {"81-85", "86-90", "91-95"}, clock.Today() - 2), 0);
        const int upToDate = plans.AddPlan("Alpha daily", {"1-10", "11-20"}, clock.Today());
        plans.SetDayDone(upToDate, 1, true);
    }
    auto window = Open();
    const QMenu* reading = window->menuBar()->actions()[2]->menu();
    // Plan entries above the break, in plan order; "&" is shown, not a mnemonic.
    EXPECT_EQ(Entries(reading), QStringList({"Alpha daily", "Beta && more", "-", "Start New Reading Plan...",
                                             "Reading Plan Manager"}));
    const auto* group = window->findChild<TGroupBarGroup*>("RzGroupPlans");
    const QList<QAction*> side = group->EntryActions();
    ASSERT_EQ(side.size(), 3);
    EXPECT_EQ(side[1]->text(), "Beta && more");
    EXPECT_EQ(side[2], window->Actions().ActionNewReadPlan);
    EXPECT_FALSE(group->ButtonFor(side[0])->font().bold()) << "today's day is read";
    EXPECT_TRUE(group->ButtonFor(side[1])->font().bold()) << "behind";

    // A behind plan opens on its first unread day.
    side[1]->trigger();
    EXPECT_EQ(window->CurrentPage(), Page::BibleRead);
    const auto* page = window->findChild<TFrameKOVABibleDisplay*>("FrameKOVABibleDisplay1");
    ASSERT_TRUE(page);
    EXPECT_EQ(page->VerseSpec(), "81-85");
    EXPECT_TRUE(window->Actions().ActionPrint->isEnabled());
}

TEST_F(MainWindowTest, WelcomeSummaryAndItsLinksRunTheCommands)
{
    auto window = Open();
    auto* welcome = window->findChild<TFrameKOVAWelcomePage*>("FrameKOVAWelcomePage1");
    ASSERT_TRUE(welcome);
    EXPECT_FALSE(welcome->PageText().empty());
    welcome->HTMLViewer1HotSpotClick("koav2:ViewInactivePrayers");
    EXPECT_EQ(window->CurrentPage(), Page::PrayerTracker);
    EXPECT_EQ(window->findChild<TFrameKOVAPrayerTracker*>("FrameKOVAPrayerTracker1")->CurrentFilter(), "Inactive");
    window->Actions().ActionWelcomePage->trigger();
    EXPECT_EQ(window->CurrentPage(), Page::Welcome);
}

TEST_F(MainWindowTest, HelpCommandsOpenThePageContextOrTheContents)
{
    std::filesystem::copy_file(kovara::test::BuiltFile("KOVA2.hlp"), program.File("KOVA2.hlp"));
    auto window = Open();
    auto* help = window->findChild<THelpViewer*>();
    ASSERT_TRUE(help);
    window->ShowPage(Page::Devotional);
    window->Actions().ActionHelp->trigger();
    EXPECT_TRUE(help->isVisible());
    EXPECT_EQ(help->CurrentAnchor(), "context40");
    // The Help menu's own entry always opens the contents.
    window->findChild<QAction*>("OpenHelpContents1")->trigger();
    EXPECT_EQ(help->CurrentAnchor(), "");
    help->close();
}

TEST_F(MainWindowTest, RestoreReplacesTheStoresAndRebuildsTheViews)
{
    auto window = Open();
    window->ReadPlans().AddPlan("Alpha daily", {"1-10", "11-20"}, clock.Today());
    window->RefreshPlanViews(0);
    const QString backup = QString::fromStdString(appData.File("saved.kova2bak"));
    dialogs.ExpectSaveFile(kBackupDialogTitle, backup);
    dialogs.ExpectMessage("Backup process complete.");
    window->Actions().ActionBackup->trigger();

    window->ReadPlans().AddPlan("Later plan", {"1-5"}, clock.Today());
    window->RefreshPlanViews(0);
    const QMenu* reading = window->menuBar()->actions()[2]->menu();
    ASSERT_EQ(reading->actions().size(), 5);

    dialogs.ExpectOpenFile(kRestoreDialogTitle, backup);
    dialogs.ExpectConfirm(RestoreQuestion(backup), true);
    dialogs.ExpectMessage("Data restoration process complete.");
    window->ShowPage(Page::PlanManager);
    window->Actions().ActionRestore->trigger();
    EXPECT_EQ(window->ReadPlans().GetPlanCount(), 1);
    EXPECT_EQ(Entries(reading), QStringList({"Alpha daily", "-", "Start New Reading Plan...", "Reading Plan Manager"}));
    EXPECT_EQ(window->CurrentPage(), Page::Welcome);
}

TEST_F(MainWindowTest, CtrlCCopiesTheSelectionAndF1OpensHelp)
{
    std::filesystem::copy_file(kovara::test::BuiltFile("KOVA2.hlp"), program.File("KOVA2.hlp"));
    auto window = Open();
    window->show();
    SpinEvents();
    window->Actions().ActionDevFaithsCheckbook->trigger();
    auto* viewer = window->findChild<TFrameKOVADevotionalDisplay*>("FrameKOVADevotionalDisplay1")->Viewer();
    viewer->SelectWholePage();
    viewer->setFocus();
    QApplication::clipboard()->clear();
    QTest::keyClick(viewer, Qt::Key_C, Qt::ControlModifier);
    EXPECT_TRUE(QApplication::clipboard()->text().contains("Fifth of March"));

    window->Actions().ActionPrayersAll->trigger();
    QTextEdit* text = window->findChild<TFrameKOVAPrayerTracker*>("FrameKOVAPrayerTracker1")->TextArea();
    text->setPlainText("Pray for rain");
    text->selectAll();
    text->setFocus();
    QApplication::clipboard()->clear();
    QTest::keyClick(text, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QApplication::clipboard()->text(), "Pray for rain");

    window->ShowPage(Page::Devotional);
    QTest::keyClick(window.get(), Qt::Key_F1);
    auto* help = window->findChild<THelpViewer*>();
    EXPECT_TRUE(help->isVisible());
    EXPECT_EQ(help->CurrentAnchor(), "context40");
    help->close();
}

TEST_F(MainWindowTest, ExitClosesTheWindow)
{
    auto window = Open();
    window->show();
    SpinEvents();
    window->Actions().ActionExit->trigger();
    EXPECT_FALSE(window->isVisible());
}

// settings.ini as text, for checking what reached the file.
std::string ReadFile(const std::filesystem::path& path)
{
    std::ifstream in(path);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

TEST_F(MainWindowTest, FirstIdleOffersTheImportOnceAndSavesPreferences)
{
    const auto settings = appData.Path() / "Kovara 2" / "settings.ini";
    int imports = 0;
    {
        auto window = Open();
        window->SetVersion1Import([&](Shell&) { ++imports; });
        EXPECT_EQ(imports, 0) << "nothing runs before the window is shown";
        window->show();
        SpinEvents();
        EXPECT_EQ(imports, 1);
        EXPECT_NE(ReadFile(settings).find("OfferImport1x=0"), std::string::npos);
        // Later idle passes do not offer it again.
        window->ShowPage(Page::Devotional);
        QEvent input(QEvent::KeyRelease); // any input arms the idle pass
        QApplication::sendEvent(window.get(), &input);
        SpinEvents();
        EXPECT_EQ(imports, 1);
    }
    auto again = Open();
    again->SetVersion1Import([&](Shell&) { ++imports; });
    again->show();
    SpinEvents();
    EXPECT_EQ(imports, 1) << "a second run with the saved flag never offers it";
}

TEST_F(MainWindowTest, ShutdownWritesPlacementAndEveryPreference)
{
    const auto settings = appData.Path() / "Kovara 2" / "settings.ini";
    {
        auto window = Open();
        window->SetVersion1Import([](Shell&) {});
        window->show();
        SpinEvents();
        // Closing copies the prayer page's split into the preferences.
        window->findChild<TFrameKOVAPrayerTracker*>("FrameKOVAPrayerTracker1")->SetSplitPercent(60);
        window->close();
    }
    const std::string text = ReadFile(settings);
    for (const char* line : {"[Main Window State]", "Saved=1", "ParagraphMode=1", "SplitPercent=60",
                             "TextBackColor=15793151", "TextFontColor=0", "TextFontName=Verdana", "TextFontSize=10",
                             "LastBackupFile=", "LastRestoreFile=", "LastFaithsCheckbookRead=0", "OfferImport1x=0"})
        EXPECT_NE(text.find(line), std::string::npos) << line << " missing from:\n" << text;
}

TEST_F(MainWindowTest, UnwritableSettingsAreReportedAtClose)
{
    const auto settings = appData.Path() / "Kovara 2" / "settings.ini";
    auto window = Open();
    window->SetVersion1Import([](Shell&) {});
    window->show();
    SpinEvents();
    // A folder in the file's place: nothing can be written over it.
    std::filesystem::remove(settings);
    std::filesystem::create_directory(settings);
    const QString message = QString::fromStdString("Unable to write to " + settings.string());
    dialogs.ExpectMessage(message); // the placement, on closing
    dialogs.ExpectMessage(message); // the preferences, on destruction
    window->close();
    window.reset();
}

TEST(ImportOfferTest, ClearedOnlyOnceTheQuestionsWereAnsweredOrTheImportFailed)
{
    test::ScriptedDialogs dialogs;
    const struct {
        const char* name;
        bool answered;
        bool raises;
        bool offerAfter;
        int saves;
    } cases[] = {
        {"questions answered", true, false, false, 1},
        {"import failed with its message", true, true, false, 1},
        {"cut short by the window closing", false, false, true, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        bool offer = true;
        int imports = 0, saves = 0;
        const auto import = [&] {
            ++imports;
            EXPECT_TRUE(offer) << "the offer stays until the questions are answered";
            // An event loop inside a question may run the idle work again.
            RunImportOffer(offer, dialogs, [&] { ++imports; return true; }, [&] { ++saves; });
            if (c.raises)
                throw Exception("damaged file");
            return c.answered;
        };
        if (c.raises)
            dialogs.ExpectMessage("damaged file");
        RunImportOffer(offer, dialogs, import, [&] { ++saves; });
        EXPECT_EQ(offer, c.offerAfter);
        EXPECT_EQ(imports, 1);
        EXPECT_EQ(saves, c.saves);
        EXPECT_TRUE(dialogs.Done());
        // The next idle moment offers again only when the offer stands.
        RunImportOffer(offer, dialogs, [&] { ++imports; return true; }, [&] { ++saves; });
        EXPECT_EQ(imports, c.offerAfter ? 2 : 1);
        EXPECT_FALSE(offer);
    }

    // A save that fails is shown too.
    bool offer = true;
    dialogs.ExpectMessage("Unable to write to /x/settings.ini");
    RunImportOffer(offer, dialogs, [] { return true; }, [] { throw Exception("Unable to write to /x/settings.ini"); });
}

} // namespace
} // namespace kovara::ui
