#include "core/prayer/prayer_store.h"
#include "fixtures.h"
#include "ui/base/core_names.h"
#include "passage_view_controls.h"
#include "scripted_dialogs.h"

#include "core/base/datetime.h"
#include "core/base/exception.h"
#include "core/plans/plan_store.h"
#include "ui/app/main_window.h"
#include "ui/prayer/version1_import.h"
#include "ui/bible/bible_page.h"
#include "ui/app/backup_commands.h"
#include "ui/app/welcome_page.h"
#include "ui/app/help_viewer.h"
#include "ui/base/passage_view.h"
#include "ui/content/devotional_page.h"
#include "ui/prayer/prayer_tracker_page.h"
#include "ui/base/html_viewer.h"
#include "ui/base/group_bar.h"
#include "ui/base/content_page.h"
#include "ui/plans/plan_controller.h"

#include <QScreen>
#include <functional>
#include <QAccessible>
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
void spinEvents(int milliseconds = 50)
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
        kovara::test::makeAlphaBetaBible(program.file("bible.kova2"));
        kovara::test::makeDevotional(program.file("devotional.kova2"),
                                     {{1, 1, "<p>First of January</p>"}, {3, 5, "<p>Fifth of March</p>"}});
    }

    std::unique_ptr<MainWindow> open()
    {
        return std::make_unique<MainWindow>(program.folder(), appData.path().string(), dialogs, clock);
    }

    // A menu's entries, separators as "-".
    static QStringList entries(const QMenu* menu)
    {
        QStringList entries;
        for (const QAction* action : menu->actions())
            entries << (action->isSeparator() ? QStringLiteral("-") : sideBarCaption(action->text()));
        return entries;
    }

    kovara::test::TempDir program;
    kovara::test::TempDir appData;
    test::ScriptedDialogs dialogs;
    FixedClock clock{makeMoment(2024, 3, 5, 9, 0, 0)};
};

// What a reader relies on in the menus: the menu bar in its order, each
// command in the menu one looks for it in (wherever it stands there), Exit
// and About last as on every desktop, and an entry and its key running the
// same command.
TEST_F(MainWindowTest, EachCommandIsInTheMenuOneLooksForItIn)
{
    auto window = open();
    const QList<QAction*> top = window->menuBar()->actions();
    QStringList titles;
    for (const QAction* a : top)
        titles << sideBarCaption(a->text());
    ASSERT_EQ(titles, QStringList({"File", "Edit", "Reading", "Bible", "Devotional", "Prayers", "Help"}));

    const std::pair<const char*, QStringList> where[] = {
        {"File", {"Welcome and Summary", "Backup...", "Restore from Backup...", "Print...", "Printer Setup...",
                  "Preferences...", "Exit Kovara"}},
        {"Edit", {"Copy Selected Text"}},
        {"Reading", {"Start New Reading Plan...", "Reading Plan Manager", "Export Plan to Calendar..."}},
        {"Bible", {"Read the Bible", "Bible Versions...", "Get Bibles and Commentaries..."}},
        {"Devotional", {"Faith's Checkbook"}},
        {"Prayers", {"New Prayer Item...", "Pray Today", "View Active Prayers", "View Answered Prayers",
                     "View Inactive Prayers", "View All Prayers", "Export Prayer Journal..."}},
        {"Help", {"Open Help", "Kovara Website", "Check for Updates", "Email Technical Support", "About Kovara"}},
    };
    for (const auto& [title, commands] : where) {
        const QStringList shown = entries(top[titles.indexOf(QString::fromLatin1(title))]->menu());
        for (const QString& command : commands)
            EXPECT_TRUE(shown.contains(command)) << title << ": " << command.toStdString();
    }
    EXPECT_EQ(entries(top[0]->menu()).last(), "Exit Kovara");
    EXPECT_EQ(entries(top[6]->menu()).last(), "About Kovara");

    // Plan entries go above the Reading menu's break, its commands below.
    EXPECT_EQ(top[2]->menu()->actions().first()->objectName(), "ReadingMenuBreak");
    // The help menu's "Open Help" is its own entry, not the F1 command.
    const QAction* openHelp = top[6]->menu()->actions().first();
    EXPECT_NE(openHelp, window->mainActions().helpAction);
    EXPECT_TRUE(openHelp->shortcut().isEmpty());
    // An entry and its key are one command.
    EXPECT_EQ(top[1]->menu()->actions().first(), window->mainActions().copyAction);
}

TEST_F(MainWindowTest, EveryMenuAndEntryHasItsOwnAltLetter)
{
    std::filesystem::create_directories(appData.path() / "Kovara 2");
    {
        // Titles whose first letters the menu's own entries already use.
        PlanStore plans((appData.path() / "Kovara 2" / "userreadplans.kova2").string(), clock);
        plans.addPlan("Start & More", {"1-2"}, clock.today());
        plans.addPlan("Reading Plan", {"1-2"}, clock.today());
        plans.addPlan("S", {"1-2"}, clock.today());
    }
    auto window = open();
    const auto altLetters = [](const QList<QAction*>& actions, const QString& where) {
        QString letters;
        for (const QAction* a : actions) {
            if (a->isSeparator())
                continue;
            const QString text = QString(a->text()).replace(QStringLiteral("&&"), QString());
            const qsizetype at = text.indexOf(QLatin1Char('&'));
            // "S" is the one title without a free letter left.
            if (sideBarCaption(a->text()) == QStringLiteral("S"))
                continue;
            EXPECT_GE(at, 0) << where.toStdString() << ": " << a->text().toStdString();
            if (at < 0)
                continue;
            const QChar letter = text[at + 1].toLower();
            EXPECT_FALSE(letters.contains(letter)) << where.toStdString() << ": " << a->text().toStdString();
            letters += letter;
        }
        return letters;
    };
    EXPECT_EQ(altLetters(window->menuBar()->actions(), "menu bar"), "ferbdph");
    for (const QAction* menu : window->menuBar()->actions())
        altLetters(menu->menu()->actions(), menu->text());
    // A title's own "&" stays a shown "&".
    EXPECT_TRUE(entries(window->menuBar()->actions()[2]->menu()).contains("Start && More"));

    window->show();
    QApplication::setActiveWindow(window.get());
    QMenu* file = window->menuBar()->actions()[0]->menu();
    for (const QKeyCombination key : {QKeyCombination(Qt::AltModifier, Qt::Key_F), QKeyCombination(Qt::Key_F10)}) {
        QTest::keyClick(window.get(), key.key(), key.keyboardModifiers());
        spinEvents();
        EXPECT_TRUE(file->isVisible()) << QKeySequence(key).toString().toStdString();
        file->hide();
        spinEvents();
    }

    // A lone Alt, pressed and released where the focus is, moves into the
    // menu bar on its first menu; Esc leaves it again.
    QTest::keyClick(window->menuBar(), Qt::Key_Escape);
    spinEvents();
    auto* focus = window->findChild<QWidget*>("welcomeTab")->findChild<HtmlViewer*>();
    ASSERT_TRUE(focus);
    focus->setFocus();
    spinEvents();
    ASSERT_EQ(window->menuBar()->activeAction(), nullptr);
    QTest::keyPress(focus, Qt::Key_Alt, Qt::AltModifier);
    QTest::keyRelease(focus, Qt::Key_Alt);
    spinEvents();
    EXPECT_EQ(window->menuBar()->activeAction(), window->menuBar()->actions().first());
    EXPECT_FALSE(file->isVisible()) << "highlighted, not opened";
}

TEST_F(MainWindowTest, TabFollowsTheSideBarTopToBottom)
{
    std::filesystem::create_directories(appData.path() / "Kovara 2");
    {
        PlanStore plans((appData.path() / "Kovara 2" / "userreadplans.kova2").string(), clock);
        plans.addPlan("First", {"1-2"}, clock.today());
        plans.addPlan("Second", {"1-2"}, clock.today());
    }
    auto window = open();
    window->show();
    // Plan entries are made again after every change; the order must hold.
    window->session().notifyPlansChanged();
    const auto* bar = window->findChild<GroupBar*>("sideBar");
    QList<QWidget*> visual;
    for (const GroupBarGroup* group : bar->groups())
        for (const QAction* a : group->entryActions())
            visual << group->buttonFor(a);
    QList<QWidget*> chain;
    for (QWidget* w = visual.first(); chain.size() < visual.size(); w = w->nextInFocusChain()) {
        if (visual.contains(w))
            chain << w;
        if (w->nextInFocusChain() == visual.first())
            break;
    }
    ASSERT_EQ(chain.size(), visual.size());
    const auto texts = [](const QList<QWidget*>& buttons) {
        QStringList texts;
        for (const QWidget* b : buttons)
            texts << static_cast<const QToolButton*>(b)->text();
        return texts;
    };
    EXPECT_EQ(texts(chain), texts(visual));
}

TEST_F(MainWindowTest, LongPlanTitleIsCutShortWithItsFullTextAsTooltip)
{
    const QString title = QStringLiteral("Whole Bible ") + QString(QStringLiteral("and then some more ")).repeated(16).trimmed();
    std::filesystem::create_directories(appData.path() / "Kovara 2");
    {
        PlanStore plans((appData.path() / "Kovara 2" / "userreadplans.kova2").string(), clock);
        plans.addPlan(title.toStdString(), {"1-2"}, clock.today());
    }
    auto window = open();
    window->show();
    spinEvents();

    // The side bar entry stays inside the bar.
    const auto* bar = window->findChild<GroupBar*>("sideBar");
    const auto* group = window->findChild<GroupBarGroup*>("plansGroup");
    const QToolButton* entry = group->buttonFor(group->entryActions().first());
    const QRect inBar(entry->mapTo(bar, QPoint(0, 0)), entry->size());
    EXPECT_TRUE(bar->rect().contains(inBar)) << inBar.x() << "," << inBar.width();
    EXPECT_EQ(entry->toolTip(), title);

    // The Reading menu keeps a sensible width.
    QMenu* reading = window->menuBar()->actions()[2]->menu();
    const QAction* menuEntry = reading->actions().first();
    EXPECT_TRUE(menuEntry->text().endsWith(QChar(0x2026))) << menuEntry->text().toStdString();
    EXPECT_EQ(menuEntry->toolTip(), title);
    EXPECT_LT(reading->sizeHint().width(), 500);

    // The reading page's title ends inside the page.
    group->entryActions().first()->trigger();
    spinEvents();
    const QLabel* label = test::PassageControls(*window->findChild<PassageView*>("passageView")).titleLabel;
    EXPECT_TRUE(label->text().endsWith(QChar(0x2026)));
    EXPECT_EQ(label->toolTip(), title);
    EXPECT_LE(label->mapTo(window.get(), QPoint(label->width(), 0)).x(), window->width());
    EXPECT_LE(label->fontMetrics().horizontalAdvance(label->text()), label->contentsRect().width());
}

TEST_F(MainWindowTest, ReadOnlyViewsShowNoTextCaret)
{
    auto window = open();
    for (Page page : {Page::Devotional, Page::Reading, Page::PrayerTracker}) // each made when first opened
        window->showPage(page);
    int views = 0;
    for (const QTextEdit* view : window->findChildren<QTextEdit*>()) {
        if (!view->isReadOnly())
            continue;
        ++views;
        // The caret is drawn only where keys move it.
        const bool caret = (view->textInteractionFlags() & (Qt::TextSelectableByKeyboard | Qt::TextEditable)) &&
                           view->cursorWidth() > 0;
        EXPECT_FALSE(caret) << view->objectName().toStdString() << " in "
                            << view->parentWidget()->objectName().toStdString();
    }
    EXPECT_GE(views, 4); // welcome, devotional, passage, prayer text
}

TEST_F(MainWindowTest, SideBarGroupsAndToolBar)
{
    auto window = open();
    const auto* bar = window->findChild<GroupBar*>("sideBar");
    ASSERT_TRUE(bar);
    EXPECT_EQ(bar->width(), 193);
    struct Group {
        QString name, caption;
        QStringList entries;
    };
    const Group expected[] = {
        {"welcomeGroup", "Welcome", {"Welcome and Summary"}},
        {"devotionalsGroup", "Daily Devotional", {"Faith's Checkbook"}},
        {"plansGroup", "Daily Bible Reading", {"Start New Reading Plan..."}},
        {"bibleGroup", "Bible", {"Read the Bible"}},
        {"prayerTrackerGroup",
         "Prayer Tracker",
         {"New Prayer Item...", "Pray Today", "View Active Prayers", "View Answered Prayers",
          "View Inactive Prayers", "View All Prayers"}},
    };
    const QList<GroupBarGroup*> groups = bar->groups();
    ASSERT_EQ(groups.size(), 5);
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(groups[i]->objectName(), expected[i].name);
        EXPECT_EQ(groups[i]->caption(), expected[i].caption);
        // What the buttons show: the menus' captions, "..." included.
        QStringList entries;
        for (const QAction* a : groups[i]->entryActions())
            entries << groups[i]->buttonFor(a)->text();
        EXPECT_EQ(entries, expected[i].entries) << expected[i].name.toStdString();

        // What a screen reader is told: a named group holding named buttons.
        QAccessibleInterface* group = QAccessible::queryAccessibleInterface(groups[i]);
        ASSERT_TRUE(group);
        EXPECT_EQ(group->role(), QAccessible::Grouping);
        EXPECT_EQ(group->text(QAccessible::Name), expected[i].caption);
        QStringList buttons;
        for (int c = 0; c < group->childCount(); ++c)
            if (QAccessibleInterface* child = group->child(c); child->role() == QAccessible::Button)
                buttons << child->text(QAccessible::Name);
        // Each button is read as the caption it shows.
        EXPECT_EQ(buttons, expected[i].entries) << expected[i].name.toStdString();
    }

    const auto* tools = window->findChild<QToolBar*>("toolBar");
    ASSERT_TRUE(tools);
    QStringList hints;
    for (const QAction* a : tools->actions())
        if (!a->toolTip().isEmpty() && a->isVisible() && !a->icon().isNull())
            hints << a->toolTip();
    EXPECT_EQ(hints, QStringList({"Welcome and Summary page", "Read the Bible (Ctrl+B)", "Copy Selected Text", "Print",
                                    "Open Help File"}));
}

TEST_F(MainWindowTest, StartsOnTheWelcomePageWithCaptionAndShortcuts)
{
    auto window = open();
    EXPECT_EQ(window->windowTitle(), "Kovara 2.0.1.2");
    EXPECT_EQ(window->findChild<QLabel*>("statusField")->text(), "");
    EXPECT_EQ(window->currentPage(), Page::Welcome);
    const auto* pages = window->findChild<QStackedWidget*>("pages");
    ASSERT_TRUE(pages);
    EXPECT_EQ(pages->currentWidget()->objectName(), "welcomeTab");
    EXPECT_EQ(pages->count(), 7);

    EXPECT_EQ(window->mainActions().copyAction->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_C));
    EXPECT_EQ(window->mainActions().helpAction->shortcut(), QKeySequence(Qt::Key_F1));
    EXPECT_EQ(window->mainActions().readBibleAction->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_B));
    EXPECT_EQ(window->mainActions().exitAction->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_Q));
    EXPECT_EQ(window->mainActions().printAction->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_P));
    EXPECT_EQ(window->mainActions().prayTodayAction->shortcut(), QKeySequence(Qt::CTRL | Qt::Key_T));
    // The first window shows a page whole: about two thirds of the screen.
    const QSize screen = window->screen()->availableGeometry().size();
    EXPECT_GE(window->width(), std::min(screen.width(), std::max(664, screen.width() * 2 / 3)));
    EXPECT_GE(window->height(), std::min(screen.height(), std::max(609, screen.height() * 2 / 3)));
    EXPECT_GE(window->width(), 664);
    EXPECT_EQ(window->helpFile(), program.folder() + "KOVA2.hlp");
    EXPECT_TRUE(std::filesystem::is_directory(appData.path() / "Kovara 2"));
    EXPECT_EQ(window->userDataFolder(), appData.path().string() + "/Kovara 2/");
}

TEST_F(MainWindowTest, PrayTodayOpensTheListPageAndMakesTheListsTablesThen)
{
    auto window = open();
    EXPECT_FALSE(tableExists(window->prayerStore().connection(), "prayerCycles")) << "not at start-up";
    window->mainActions().prayTodayAction->trigger();
    EXPECT_EQ(window->currentPage(), Page::PrayToday);
    EXPECT_TRUE(window->findChild<QWidget*>("prayTodayPage"));
    EXPECT_TRUE(tableExists(window->prayerStore().connection(), "prayerCycles"));
}

TEST_F(MainWindowTest, ADesktopTurningDarkRecoloursThePagesLeftAtDefault)
{
    auto window = open();
    window->showPage(Page::Reading); // made when first opened
    const QPalette saved = QApplication::palette();
    const HtmlViewer* welcome = window->findChild<WelcomePage*>()->viewer();
    const HtmlViewer* passage = window->findChild<PassageView*>()->viewer();
    ASSERT_EQ(welcome->defaultBackground(), QColor(0xFF, 0xFB, 0xF0)); // cream

    // A dark theme: the rest of the roles derived from its window colour.
    QPalette dark(QColor(0x30, 0x30, 0x30));
    dark.setColor(QPalette::Base, QColor(0x20, 0x20, 0x20));
    dark.setColor(QPalette::Text, QColor(0xe0, 0xe0, 0xe0));
    dark.setColor(QPalette::Link, QColor(0x7a, 0xb8, 0xff));
    QApplication::setPalette(dark);
    QApplication::processEvents();
    for (const HtmlViewer* viewer : {welcome, passage}) {
        EXPECT_EQ(viewer->defaultBackground(), QColor(0x20, 0x20, 0x20));
        EXPECT_EQ(viewer->defaultFontColor(), QColor(0xe0, 0xe0, 0xe0));
    }
    // KOVARA_SCREENSHOT_DIR=<folder> keeps a picture of each page under the
    // dark palette, to look at.
    if (const QString folder = qEnvironmentVariable("KOVARA_SCREENSHOT_DIR"); !folder.isEmpty()) {
        const MainActions& a = window->mainActions();
        window->show();
        for (QAction* page : {a.welcomePageAction, a.faithsCheckbookAction, a.answeredPrayersAction,
                              a.planManagerAction}) {
            page->trigger();
            spinEvents();
            window->grab().save(folder + "/dark_" + page->objectName() + ".png");
        }
    }
    QApplication::setPalette(saved);
    QApplication::processEvents();
    EXPECT_EQ(welcome->defaultBackground(), QColor(0xFF, 0xFB, 0xF0));
    EXPECT_EQ(welcome->defaultFontColor(), QColor(Qt::black));
}

TEST_F(MainWindowTest, BlankAppDataFolderFallsBackToUserDataInProgramFolder)
{
    auto window = std::make_unique<MainWindow>(program.folder(), " ", dialogs, clock);
    EXPECT_EQ(window->userDataFolder(), program.folder() + "User Data/");
    EXPECT_TRUE(std::filesystem::is_directory(program.path() / "User Data"));
}

TEST_F(MainWindowTest, MissingBibleEndsStartUp)
{
    std::filesystem::remove(program.file("bible.kova2"));
    EXPECT_EQ(kovara::test::messageOf([&] { open(); }), "Bible file not found: " + program.file("bible.kova2"));
    // A devotional table that is not there stops start-up at that step too.
    sqlite3* db = nullptr;
    openDatabase(program.file("devotional.kova2"), db);
    execSQL(db, "DROP TABLE faithsCheckbook;");
    closeDatabase(db);
    EXPECT_NE(kovara::test::messageOf([&] { open(); }).find("faithsCheckbook"), std::string::npos);
    // A missing devotional is said as such, and no empty file is left in its
    // place in the program folder.
    std::filesystem::remove(program.file("devotional.kova2"));
    EXPECT_EQ(kovara::test::messageOf([&] { open(); }),
              "Devotional file not found: " + program.file("devotional.kova2"));
    EXPECT_FALSE(std::filesystem::exists(program.file("devotional.kova2")));
}

TEST_F(MainWindowTest, CommandsSwitchPagesAndCopyPrintFollowThePage)
{
    auto window = open();
    const MainActions& a = window->mainActions();
    EXPECT_FALSE(a.copyAction->isEnabled());
    EXPECT_FALSE(a.printAction->isEnabled());

    struct Case {
        QAction* command;
        Page page;
        bool print;
    };
    const Case cases[] = {
        {a.planManagerAction, Page::PlanManager, false}, // no plan chosen
        {a.answeredPrayersAction, Page::PrayerTracker, true},
        {a.faithsCheckbookAction, Page::Devotional, true},
        {a.welcomePageAction, Page::Welcome, false},
    };
    for (const Case& c : cases) {
        c.command->trigger();
        EXPECT_EQ(window->currentPage(), c.page) << c.command->objectName().toStdString();
        EXPECT_EQ(a.printAction->isEnabled(), c.print) << c.command->objectName().toStdString();
        EXPECT_FALSE(a.copyAction->isEnabled());
    }
    EXPECT_EQ(window->findChild<PrayerTrackerPage*>("prayerTrackerPage")->currentFilter(), PrayerStatus::Answered);
}

TEST_F(MainWindowTest, DevotionalPageShowsTodayAndCopyFollowsItsSelection)
{
    auto window = open();
    window->mainActions().faithsCheckbookAction->trigger();
    auto* frame = window->findChild<DevotionalPage*>("devotionalPage");
    ASSERT_TRUE(frame);
    EXPECT_NE(frame->pageText().find("Fifth of March"), std::string::npos);

    QAction* copy = window->mainActions().copyAction;
    EXPECT_FALSE(copy->isEnabled());
    frame->findChild<HtmlViewer*>("devotionalViewer")->selectWholePage();
    EXPECT_TRUE(copy->isEnabled());
    window->showPage(Page::Welcome);
    EXPECT_FALSE(copy->isEnabled());
}

TEST_F(MainWindowTest, PlanEntriesComeFromTheStoreAndOpenTheirDay)
{
    std::filesystem::create_directories(appData.path() / "Kovara 2");
    {
        PlanStore plans((appData.path() / "Kovara 2" / "userreadplans.kova2").string(), clock);
        ASSERT_TRUE(plans.indexOf(plans.addPlan("Beta & more", {"81-85", "86-90", "91-95"}, clock.today() - std::chrono::days(2))));
        const int upToDate = *plans.indexOf(plans.addPlan("Alpha daily", {"1-10", "11-20"}, clock.today()));
        plans.setDayDone(upToDate, 1, true);
    }
    auto window = open();
    const QMenu* reading = window->menuBar()->actions()[2]->menu();
    // Plan entries above the break, in plan order; "&" is shown, not a mnemonic.
    EXPECT_EQ(entries(reading), QStringList({"Alpha daily", "Beta && more", "-", "Start New Reading Plan...",
                                             "Reading Plan Manager", "-", "Export Plan to Calendar..."}));
    const auto* group = window->findChild<GroupBarGroup*>("plansGroup");
    const QList<QAction*> side = group->entryActions();
    ASSERT_EQ(side.size(), 3);
    EXPECT_EQ(side[1]->text(), "Beta && more");
    EXPECT_EQ(side[2], window->mainActions().newPlanAction);
    EXPECT_FALSE(group->buttonFor(side[0])->font().bold()) << "today's day is read";
    EXPECT_TRUE(group->buttonFor(side[1])->font().bold()) << "behind";

    // A behind plan opens on its first unread day.
    side[1]->trigger();
    EXPECT_EQ(window->currentPage(), Page::Reading);
    const auto* page = window->findChild<PassageView*>("passageView");
    ASSERT_TRUE(page);
    EXPECT_EQ(page->verseSpec(), "81-85");
    EXPECT_TRUE(window->mainActions().printAction->isEnabled());
}

TEST_F(MainWindowTest, WelcomeSummaryAndItsLinksRunTheCommands)
{
    auto window = open();
    auto* welcome = window->findChild<WelcomePage*>("welcomePage");
    ASSERT_TRUE(welcome);
    EXPECT_FALSE(welcome->pageText().empty());
    welcome->handleLinkClicked("koav2:ViewInactivePrayers");
    EXPECT_EQ(window->currentPage(), Page::PrayerTracker);
    EXPECT_EQ(window->findChild<PrayerTrackerPage*>("prayerTrackerPage")->currentFilter(), PrayerStatus::Inactive);
    window->mainActions().welcomePageAction->trigger();
    EXPECT_EQ(window->currentPage(), Page::Welcome);
}

// A plan that is behind shows its progress and a catch-up link on the welcome
// page; the link offers the choices for that plan and applies the one taken.
TEST_F(MainWindowTest, WelcomeProgressAndItsCatchUpLink)
{
    std::filesystem::create_directories(appData.path() / "Kovara 2");
    {
        PlanStore plans((appData.path() / "Kovara 2" / "userreadplans.kova2").string(), clock);
        plans.addPlan("Behind", {"1-1", "2-2", "3-3", "4-4", "5-5", "6-6"}, clock.today() - std::chrono::days(3));
        plans.addPlan("Current", {"1-1", "2-2"}, clock.today());
    }
    auto window = open();
    const std::string page = window->findChild<WelcomePage*>("welcomePage")->pageText();
    EXPECT_NE(page.find("0 of 6 days read (0%) \xC2\xB7 3 days behind"), std::string::npos) << page;
    const std::string behind = window->planStore().id(0).guid();
    EXPECT_NE(page.find("<a href=\"koav2:CatchUp/" + behind + "\">Catch up</a>"), std::string::npos);
    EXPECT_EQ(page.find("koav2:CatchUp/" + window->planStore().id(1).guid()), std::string::npos)
        << "a plan on time has no catch-up link";

    auto* plans = window->findChild<PlanController*>("PlanCommands");
    std::optional<QString> offered;
    plans->chooseCatchUp = [&](const CatchUpPreview& preview) {
        offered = preview.title;
        return std::optional<CatchUpChoice>(CatchUpChoice::StartAgain);
    };
    window->findChild<WelcomePage*>("welcomePage")->handleLinkClicked(QString::fromStdString("koav2:CatchUp/" + behind));
    EXPECT_EQ(offered, "Behind");
    EXPECT_EQ(window->planStore().startDate(0), startOf(clock.today()));
    EXPECT_EQ(window->currentPage(), Page::Reading);
    // A link of the older form names the plan by its position.
    offered.reset();
    dialogs.expectMessage("You are up to date on \"Behind\": there is nothing to catch up.");
    window->findChild<WelcomePage*>("welcomePage")->handleLinkClicked("koav2:CatchUp/0");
    EXPECT_EQ(offered, std::nullopt);
}

TEST_F(MainWindowTest, HelpCommandsOpenThePageContextOrTheContents)
{
    std::filesystem::copy_file(kovara::test::builtFile("KOVA2.hlp"), program.file("KOVA2.hlp"));
    auto window = open();
    EXPECT_FALSE(window->findChild<HelpViewer*>()) << "made when first asked for";
    window->showPage(Page::Devotional);
    window->mainActions().helpAction->trigger();
    auto* help = window->findChild<HelpViewer*>();
    ASSERT_TRUE(help);
    EXPECT_TRUE(help->isVisible());
    EXPECT_EQ(help->currentAnchor(), "context40");
    // The Help menu's own entry always opens the contents.
    window->findChild<QAction*>("openHelpContentsAction")->trigger();
    EXPECT_EQ(help->currentAnchor(), "");
    help->close();
}

TEST_F(MainWindowTest, EachPageNamesItsHelpAndItsPrintout)
{
    std::filesystem::create_directories(appData.path() / "Kovara 2");
    {
        PlanStore plans((appData.path() / "Kovara 2" / "userreadplans.kova2").string(), clock);
        plans.addPlan("Gospels", {"1-3", "4-6"}, clock.today());
    }
    auto window = open();
    window->findChild<QAction*>("PlanEntry0")->trigger(); // the plan's day on the reading page
    window->mainActions().faithsCheckbookAction->trigger(); // today's entry
    const struct {
        Page page;
        const char* name;
        HelpContext help;
        QString title; // empty: not checked
    } cases[] = {
        {Page::Welcome, "welcomePage", HelpContext::Contents, ""},
        {Page::Devotional, "devotionalPage", HelpContext::Devotional, "Faith's Checkbook 2024-03-05"},
        {Page::Reading, "readingPage", HelpContext::Reading, "Gospels Day 1 of 2"},
        {Page::PlanManager, "planManagerPage", HelpContext::PlanManager, "Gospels"},
        {Page::PrayerTracker, "prayerTrackerPage", HelpContext::PrayerTracker, "Prayer Journal"},
        {Page::Bible, "biblePage", HelpContext::Bible, ""},
    };
    HelpViewer help;
    help.setHelpFile(QString::fromStdString(kovara::test::builtFile("KOVA2.hlp")));
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        window->showPage(c.page);
        const auto* page = window->findChild<ContentPage*>(c.name);
        ASSERT_TRUE(page);
        EXPECT_EQ(page->helpContext(), c.help);
        if (c.help != HelpContext::Contents) {
            help.showContext(static_cast<int>(c.help));
            EXPECT_EQ(help.currentAnchor(), HelpViewer::contextAnchor(static_cast<int>(c.help)))
                << "the shipped help has the page's place";
        }
        if (!c.title.isEmpty()) {
            EXPECT_EQ(page->printTitle(), c.title);
        }
    }
    help.close();
}

TEST_F(MainWindowTest, RestoreReplacesTheStoresAndRebuildsTheViews)
{
    auto window = open();
    window->planStore().addPlan("Alpha daily", {"1-10", "11-20"}, clock.today());
    window->session().notifyPlansChanged();
    const QString backup = QString::fromStdString(appData.file("saved.kova2bak"));
    dialogs.expectSaveFile(kBackupDialogTitle, backup);
    dialogs.expectMessage("Backup process complete.");
    window->mainActions().backupAction->trigger();

    window->planStore().addPlan("Later plan", {"1-5"}, clock.today());
    window->session().notifyPlansChanged();
    const QMenu* reading = window->menuBar()->actions()[2]->menu();
    ASSERT_EQ(reading->actions().size(), 7);

    dialogs.expectOpenFile(kRestoreDialogTitle, backup);
    dialogs.expectConfirm(restoreQuestion(backup), true, Dialogs::Answer::No, Dialogs::Icon::Warning);
    dialogs.expectMessage("Data restoration process complete.");
    window->showPage(Page::PlanManager);
    window->mainActions().restoreAction->trigger();
    EXPECT_EQ(window->planStore().planCount(), 1);
    EXPECT_EQ(entries(reading), QStringList({"Alpha daily", "-", "Start New Reading Plan...", "Reading Plan Manager", "-",
                                             "Export Plan to Calendar..."}));
    EXPECT_EQ(window->currentPage(), Page::Welcome);
}

TEST_F(MainWindowTest, CtrlCCopiesTheSelectionAndF1OpensHelp)
{
    std::filesystem::copy_file(kovara::test::builtFile("KOVA2.hlp"), program.file("KOVA2.hlp"));
    auto window = open();
    window->show();
    spinEvents();
    window->mainActions().faithsCheckbookAction->trigger();
    auto* viewer = window->findChild<DevotionalPage*>("devotionalPage")->findChild<HtmlViewer*>("devotionalViewer");
    viewer->selectWholePage();
    viewer->setFocus();
    QApplication::clipboard()->clear();
    QTest::keyClick(viewer, Qt::Key_C, Qt::ControlModifier);
    EXPECT_TRUE(QApplication::clipboard()->text().contains("Fifth of March"));

    window->mainActions().allPrayersAction->trigger();
    QTextEdit* text = window->findChild<PrayerTrackerPage*>("prayerTrackerPage")->findChild<QTextEdit*>("textEdit");
    text->setPlainText("Pray for rain");
    text->selectAll();
    text->setFocus();
    QApplication::clipboard()->clear();
    QTest::keyClick(text, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QApplication::clipboard()->text(), "Pray for rain");

    window->showPage(Page::Devotional);
    QTest::keyClick(window.get(), Qt::Key_F1);
    auto* help = window->findChild<HelpViewer*>();
    EXPECT_TRUE(help->isVisible());
    EXPECT_EQ(help->currentAnchor(), "context40");
    help->close();
}

TEST_F(MainWindowTest, ExitClosesTheWindow)
{
    auto window = open();
    window->show();
    spinEvents();
    window->mainActions().exitAction->trigger();
    EXPECT_FALSE(window->isVisible());
}

// settings.ini as text, for checking what reached the file.
std::string readFile(const std::filesystem::path& path)
{
    std::ifstream in(path);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

TEST_F(MainWindowTest, ReadTheBibleOpensTheLastChapterAndSavesItOnClose)
{
    {
        auto window = open();
        window->show();
        spinEvents();
        window->mainActions().readBibleAction->trigger();
        EXPECT_EQ(window->currentPage(), Page::Bible);
        auto* page = window->findChild<BiblePage*>("biblePage");
        ASSERT_TRUE(page);
        EXPECT_EQ(std::make_pair(page->book(), page->chapter()), std::make_pair(1, 1));
        page->openChapter(2, 2);
        window->mainActions().exitAction->trigger();
    }
    const std::string settings = readFile(appData.path() / "Kovara 2" / "settings.ini");
    EXPECT_NE(settings.find("[Bible Page]\nBook=2\nChapter=2"), std::string::npos) << settings;

    auto window = open();
    window->mainActions().readBibleAction->trigger();
    const auto* page = window->findChild<BiblePage*>("biblePage");
    EXPECT_EQ(std::make_pair(page->book(), page->chapter()), std::make_pair(2, 2));
}

TEST_F(MainWindowTest, ChapterHeadingsAndDevotionalReferencesOpenTheBiblePage)
{
    auto window = open();
    window->planStore().addPlan("Plan", {"1-3", "4-6"}, clock.today());
    window->session().notifyPlansChanged();
    window->findChild<GroupBarGroup*>("plansGroup")->entryActions()[0]->trigger();
    ASSERT_EQ(window->currentPage(), Page::Reading);
    HtmlViewer* day = window->findChild<PassageView*>("passageView")->viewer();
    EXPECT_TRUE(day->pageText().contains(QStringLiteral("<a href=\"bible:1.1\">"))) << day->pageText().toStdString();
    emit day->linkClicked(QStringLiteral("bible:1.1"));
    EXPECT_EQ(window->currentPage(), Page::Bible);
    const auto* page = window->findChild<BiblePage*>("biblePage");
    EXPECT_EQ(std::make_pair(page->book(), page->chapter()), std::make_pair(1, 1));

    window->mainActions().faithsCheckbookAction->trigger();
    auto* entry = window->findChild<DevotionalPage*>("devotionalPage")->findChild<HtmlViewer*>("devotionalViewer");
    emit entry->linkClicked(QStringLiteral("bible:2.2.1-2"));
    EXPECT_EQ(window->currentPage(), Page::Bible);
    EXPECT_EQ(std::make_pair(page->book(), page->chapter()), std::make_pair(2, 2));
    EXPECT_EQ(page->firstHighlighted(), 1);
    EXPECT_EQ(page->lastHighlighted(), 2);

    // Other links leave the page as it is.
    window->mainActions().faithsCheckbookAction->trigger();
    emit entry->linkClicked(QStringLiteral("https://x.org"));
    EXPECT_EQ(window->currentPage(), Page::Devotional);

    // A reference from the command line.
    window->openBibleReference(QStringLiteral("Exodus 1:3")); // book 2 of the test Bible
    EXPECT_EQ(window->currentPage(), Page::Bible);
    EXPECT_EQ(std::make_pair(page->book(), page->chapter()), std::make_pair(2, 1));
    EXPECT_EQ(page->firstHighlighted(), 3);
}

TEST_F(MainWindowTest, SideBarMarksTheBibleHoweverThePageWasOpened)
{
    auto window = open();
    const auto* bar = window->findChild<GroupBar*>("sideBar");
    const MainActions& actions = window->mainActions();
    // The entries marked as the page shown, by caption.
    const auto marked = [&] {
        QStringList captions;
        for (const GroupBarGroup* group : bar->groups())
            for (const QAction* action : group->entryActions())
                if (group->buttonFor(action)->property("current").toBool())
                    captions << group->buttonFor(action)->text();
        return captions;
    };
    EXPECT_EQ(marked(), QStringList{QStringLiteral("Welcome and Summary")});
    const std::pair<const char*, std::function<void()>> routes[] = {
        {"Read the Bible", [&] { actions.readBibleAction->trigger(); }},
        {"a reference", [&] { window->openBibleReference(QStringLiteral("Exodus 1:3")); }},
        {"a link", [&] { window->openBibleLink(QStringLiteral("bible:2.2")); }},
    };
    for (const auto& [route, openBible] : routes) {
        actions.faithsCheckbookAction->trigger();
        EXPECT_EQ(marked(), QStringList{QStringLiteral("Faith's Checkbook")}) << route;
        openBible();
        ASSERT_EQ(window->currentPage(), Page::Bible) << route;
        EXPECT_EQ(marked(), QStringList{QStringLiteral("Read the Bible")}) << route;
    }
}

TEST_F(MainWindowTest, FirstShowOffersTheImportOnceAndSavesPreferences)
{
    const auto settings = appData.path() / "Kovara 2" / "settings.ini";
    int imports = 0;
    {
        auto window = open();
        window->setVersion1Import([&](Shell&) { ++imports; });
        EXPECT_EQ(imports, 0) << "nothing runs before the window is shown";
        window->show();
        spinEvents();
        EXPECT_EQ(imports, 1);
        EXPECT_NE(readFile(settings).find("OfferImport1x=0"), std::string::npos);
        // Showing the window again, or working in it, does not offer it again.
        window->showPage(Page::Devotional);
        QEvent input(QEvent::KeyRelease);
        QApplication::sendEvent(window.get(), &input);
        window->hide();
        window->show();
        spinEvents();
        EXPECT_EQ(imports, 1);
    }
    auto again = open();
    again->setVersion1Import([&](Shell&) { ++imports; });
    again->show();
    spinEvents();
    EXPECT_EQ(imports, 1) << "a second run with the saved flag never offers it";
}

TEST_F(MainWindowTest, ShutdownWritesPlacementAndEveryPreference)
{
    const auto settings = appData.path() / "Kovara 2" / "settings.ini";
    {
        auto window = open();
        window->setVersion1Import([](Shell&) {});
        window->show();
        spinEvents();
        // Closing copies the prayer page's split into the preferences.
        window->mainActions().activePrayersAction->trigger(); // the prayer page is made when first opened
        window->findChild<PrayerTrackerPage*>("prayerTrackerPage")->setSplitPercent(60);
        window->close();
    }
    const std::string text = readFile(settings);
    for (const char* line : {"[Main Window State]", "Saved=1", "ParagraphMode=1", "SplitPercent=60",
                             "TextBackColor=15793151", "TextFontColor=0", "TextFontName=Verdana", "TextFontSize=10",
                             "LastBackupFile=", "LastRestoreFile=", "LastFaithsCheckbookRead=0", "OfferImport1x=0"})
        EXPECT_NE(text.find(line), std::string::npos) << line << " missing from:\n" << text;
}

TEST_F(MainWindowTest, UnwritableSettingsAreReportedAtClose)
{
    const auto settings = appData.path() / "Kovara 2" / "settings.ini";
    auto window = open();
    window->setVersion1Import([](Shell&) {});
    window->show();
    spinEvents();
    // A folder in the file's place: nothing can be written over it.
    std::filesystem::remove(settings);
    std::filesystem::create_directory(settings);
    const QString message = QString::fromStdString("Unable to write to " + settings.string());
    dialogs.expectMessage(message); // the placement, on closing
    dialogs.expectMessage(message); // the preferences, on destruction
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
            // An event loop inside a question may offer it again.
            runImportOffer(offer, dialogs, [&] { ++imports; return true; }, [&] { ++saves; });
            if (c.raises)
                throw Exception("damaged file");
            return c.answered;
        };
        if (c.raises)
            dialogs.expectMessage("damaged file");
        runImportOffer(offer, dialogs, import, [&] { ++saves; });
        EXPECT_EQ(offer, c.offerAfter);
        EXPECT_EQ(imports, 1);
        EXPECT_EQ(saves, c.saves);
        EXPECT_TRUE(dialogs.done());
        // A later offer runs again only when the offer stands.
        runImportOffer(offer, dialogs, [&] { ++imports; return true; }, [&] { ++saves; });
        EXPECT_EQ(imports, c.offerAfter ? 2 : 1);
        EXPECT_FALSE(offer);
    }

    // A save that fails is shown too.
    bool offer = true;
    dialogs.expectMessage("Unable to write to /x/settings.ini");
    runImportOffer(offer, dialogs, [] { return true; }, [] { throw Exception("Unable to write to /x/settings.ini"); });
}

// A plan whose day table is missing no longer keeps Kovara from starting: the
// window opens with the other plans, one question names the damaged plan, and
// Yes deletes it while No keeps it aside (asked again at the next start).
TEST_F(MainWindowTest, StartsWithADamagedPlanNamedAndOffersToDeleteIt)
{
    const std::string plansFile = (appData.path() / "Kovara 2" / "userreadplans.kova2").string();
    std::filesystem::create_directories(appData.path() / "Kovara 2");
    {
        PlanStore plans(plansFile, clock);
        plans.addPlan("Sound plan", {"1-2"}, clock.today());
        execSQL(plans.handle(), "INSERT INTO KOVA2PlanMaster (tableName, planTitle, startDate, status) VALUES "
                                "('{0D0E0A0D-0000-4000-8000-000000000000}', 'Lost <plan>', 0, 'active');");
    }
    const QString question = QStringLiteral(
        "These reading plans are damaged and cannot be opened:\n\n"
        "\u2022 \"Lost <plan>\": SQLite Error 1 - no such table: {0D0E0A0D-0000-4000-8000-000000000000}\n\n"
        "They are left out of the plan lists. Your other plans and your prayers are not affected, and restoring a "
        "backup that holds these plans brings them back.\n\nDo you want to delete the damaged plans?");
    for (const bool yes : {false, true}) {
        SCOPED_TRACE(yes ? "deleted" : "kept");
        dialogs.expectConfirm(question, yes, Dialogs::Answer::No, Dialogs::Icon::Warning);
        auto window = open();
        EXPECT_TRUE(dialogs.done());
        ASSERT_EQ(window->planStore().planCount(), 1);
        EXPECT_EQ(window->planStore().planTitle(0), "Sound plan");
    }
    auto window = open(); // nothing left to ask about
    EXPECT_TRUE(window->planStore().damagedPlans().empty());
}

// prayers.kova2 is another program's SQLite file: the start says what it
// holds and changes nothing. No ends the start with the file as it was; Yes
// sets it aside and starts with a new journal.
TEST_F(MainWindowTest, StartOnADatabaseThatIsNoPrayerJournalAsksBeforeChangingIt)
{
    const std::string folder = (appData.path() / "Kovara 2").string() + "/";
    std::filesystem::create_directories(folder);
    const std::string prayers = folder + "prayers.kova2";
    {
        sqlite3* db = nullptr;
        openDatabase(prayers, db);
        execSQL(db, "CREATE TABLE contacts (name TEXT); INSERT INTO contacts VALUES ('Ann');");
        closeDatabase(db);
    }
    const auto bytesOf = [](const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    };
    const std::string before = bytesOf(prayers);
    const std::string problem = prayers + " is not a prayer journal (the table prayerTracker is missing), but it holds "
                                          "1 other tables (contacts): a file of another program, or a journal that "
                                          "has lost its items.";
    const QString question = unexpectedDatabaseQuestion(QString::fromStdString(problem));
    EXPECT_TRUE(question.startsWith(QString::fromStdString(problem) + "\n\nKovara has not changed this file."));

    dialogs.expectConfirm(question, false, Dialogs::Answer::No, Dialogs::Icon::Warning);
    EXPECT_EQ(kovara::test::messageOf([&] { open(); }), problem);
    EXPECT_TRUE(bytesOf(prayers) == before) << "the file was changed";

    dialogs.expectConfirm(question, true, Dialogs::Answer::No, Dialogs::Icon::Warning);
    auto window = open();
    EXPECT_TRUE(dialogs.done());
    EXPECT_TRUE(bytesOf(prayers + ".unrecognised") == before);
    EXPECT_EQ(window->prayerStore().countPrayers(std::nullopt), 0);
}

} // namespace
} // namespace kovara::ui
