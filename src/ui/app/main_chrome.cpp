#include "ui/app/main_chrome.h"

#include "ui/app/main_actions.h"
#include "ui/base/group_bar.h"
#include "ui/base/painted_icon.h"
#include "ui/base/shell.h"
#include "ui/plans/plan_controller.h"
#include "ui/prayer/prayer_commands.h"

#include <QAction>
#include <QCoreApplication>
#include <QLabel>
#include <QMainWindow>
#include <QStatusBar>
#include <QMenu>
#include <QMenuBar>
#include <QToolBar>

namespace kovara::ui {

namespace {

constexpr int kGroupBarWidth = 193;
constexpr int kToolBarHeight = 29;
constexpr int kToolButtonSize = 24;

} // namespace

MainMenus buildMenus(QMainWindow& window, const MainActions& actions)
{
    MainMenus menus;
    QMenu* file = window.menuBar()->addMenu(QCoreApplication::translate("kovara::ui::MainWindow", "&File"));
    file->setObjectName(QStringLiteral("fileMenu"));
    file->addAction(actions.welcomePageAction);
    file->addSeparator();
    file->addAction(actions.backupAction);
    file->addAction(actions.restoreAction);
    file->addSeparator();
    file->addAction(actions.printAction);
    file->addAction(actions.printSetupAction);
    file->addSeparator();
    file->addAction(actions.preferencesAction);
    file->addSeparator();
    file->addAction(actions.exitAction);

    QMenu* edit = window.menuBar()->addMenu(QCoreApplication::translate("kovara::ui::MainWindow", "&Edit"));
    edit->setObjectName(QStringLiteral("editMenu"));
    edit->addAction(actions.copyAction);

    // Plan entries are inserted above menus.readingBreak, one per plan.
    menus.reading = window.menuBar()->addMenu(QCoreApplication::translate("kovara::ui::MainWindow", "&Reading"));
    menus.reading->setObjectName(QStringLiteral("readingMenu"));
    menus.readingBreak = menus.reading->addSeparator();
    menus.readingBreak->setObjectName(QStringLiteral("ReadingMenuBreak"));
    menus.reading->addAction(actions.newPlanAction);
    menus.reading->addAction(actions.planManagerAction);
    menus.reading->addSeparator();

    QMenu* bibleMenu = window.menuBar()->addMenu(QCoreApplication::translate("kovara::ui::MainWindow", "&Bible"));
    bibleMenu->setObjectName(QStringLiteral("bibleMenu"));
    bibleMenu->addAction(actions.readBibleAction);
    bibleMenu->addAction(actions.bibleVersionsAction);
    bibleMenu->addAction(actions.getModulesAction);

    QMenu* devotional = window.menuBar()->addMenu(QCoreApplication::translate("kovara::ui::MainWindow", "&Devotional"));
    devotional->setObjectName(QStringLiteral("devotionalMenu"));
    devotional->addAction(actions.faithsCheckbookAction);

    menus.prayers = window.menuBar()->addMenu(QCoreApplication::translate("kovara::ui::MainWindow", "&Prayers"));
    menus.prayers->setObjectName(QStringLiteral("prayersMenu"));
    menus.prayers->addAction(actions.newPrayerAction);
    menus.prayers->addAction(actions.prayTodayAction);
    menus.prayers->addSeparator();
    menus.prayers->addAction(actions.activePrayersAction);
    menus.prayers->addAction(actions.answeredPrayersAction);
    menus.prayers->addAction(actions.inactivePrayersAction);
    menus.prayers->addAction(actions.allPrayersAction);

    QMenu* help = window.menuBar()->addMenu(QCoreApplication::translate("kovara::ui::MainWindow", "&Help"));
    help->setObjectName(QStringLiteral("helpMenu"));
    // A plain entry, not helpAction: it always opens the help contents.
    menus.openHelpContents = help->addAction(QCoreApplication::translate("kovara::ui::MainWindow", "&Open Help"));
    menus.openHelpContents->setObjectName(QStringLiteral("openHelpContentsAction"));
    help->addSeparator();
    help->addAction(actions.websiteAction);
    help->addAction(actions.checkUpdateAction);
    help->addAction(actions.emailAction);
    help->addSeparator();
    help->addAction(actions.aboutAction);

    // F10 opens the first menu, as on other Linux desktops; a lone Alt and
    // the Alt letters are the menu bar's own.
    auto* openMenus = new QAction(&window);
    openMenus->setObjectName(QStringLiteral("openMenuBarAction"));
    openMenus->setShortcut(QKeySequence(Qt::Key_F10));
    openMenus->setShortcutContext(Qt::WindowShortcut);
    window.addAction(openMenus);
    QObject::connect(openMenus, &QAction::triggered, &window, [&window] { window.menuBar()->setActiveAction(window.menuBar()->actions().first()); });
    return menus;
}

void buildToolBar(QMainWindow& window, const MainActions& actions)
{
    QToolBar* bar = window.addToolBar(QCoreApplication::translate("kovara::ui::MainWindow", "Tools"));
    bar->setObjectName(QStringLiteral("toolBar"));
    bar->setMovable(false);
    bar->setFloatable(false);
    bar->setFixedHeight(kToolBarHeight);
    bar->setIconSize(QSize(16, 16));
    bar->toggleViewAction()->setVisible(false);

    actions.welcomePageAction->setIcon(toolBarIcon(ToolBarPicture::Home));
    actions.copyAction->setIcon(toolBarIcon(ToolBarPicture::Copy));
    actions.printAction->setIcon(toolBarIcon(ToolBarPicture::Print));
    actions.helpAction->setIcon(toolBarIcon(ToolBarPicture::Help));
    actions.readBibleAction->setIcon(toolBarIcon(ToolBarPicture::Bible));
    // Menus show captions only; the pictures belong to the tool bar.
    for (QAction* action : {actions.welcomePageAction, actions.readBibleAction, actions.copyAction,
                            actions.printAction, actions.helpAction})
        action->setIconVisibleInMenu(false);

    const QList<QAction*> buttons = {actions.welcomePageAction, actions.readBibleAction, actions.copyAction,
                                     actions.printAction, actions.helpAction};
    for (int i = 0; i < buttons.size(); ++i) {
        if (i > 0) {
            auto* gap = new QWidget(bar);
            gap->setFixedWidth(4);
            bar->addWidget(gap);
        }
        bar->addAction(buttons[i]);
        if (QWidget* button = bar->widgetForAction(buttons[i]))
            button->setFixedSize(kToolButtonSize, kToolButtonSize);
    }
}

QLabel* buildStatusBar(QMainWindow& window)
{
    window.statusBar()->setObjectName(QStringLiteral("statusBar"));
    auto* field = new QLabel;
    field->setObjectName(QStringLiteral("statusField"));
    window.statusBar()->addWidget(field, 1);
    return field;
}

SideBar buildSideBar(const MainActions& actions)
{
    SideBar side;
    side.bar = new GroupBar;
    side.bar->setObjectName(QStringLiteral("sideBar"));
    side.bar->setFixedWidth(kGroupBarWidth);

    side.bar->addGroup(QStringLiteral("welcomeGroup"), QCoreApplication::translate("kovara::ui::MainWindow", "Welcome"))
        ->addCommand(actions.welcomePageAction);
    side.bar->addGroup(QStringLiteral("devotionalsGroup"), QCoreApplication::translate("kovara::ui::MainWindow", "Daily Devotional"))
        ->addCommand(actions.faithsCheckbookAction);
    // Plan entries go before "Start New Reading Plan...", one per plan.
    side.plans = side.bar->addGroup(QStringLiteral("plansGroup"), QCoreApplication::translate("kovara::ui::MainWindow", "Daily Bible Reading"));
    side.plans->addCommand(actions.newPlanAction);
    side.bar->addGroup(QStringLiteral("bibleGroup"), QCoreApplication::translate("kovara::ui::MainWindow", "Bible"))->addCommand(actions.readBibleAction);
    GroupBarGroup* prayers = side.bar->addGroup(QStringLiteral("prayerTrackerGroup"), QCoreApplication::translate("kovara::ui::MainWindow", "Prayer Tracker"));
    for (QAction* action : {actions.newPrayerAction, actions.prayTodayAction, actions.activePrayersAction, actions.answeredPrayersAction,
                            actions.inactivePrayersAction, actions.allPrayersAction})
        prayers->addCommand(action);
    return side;
}

QAction* sideBarEntryOf(Page page, const MainActions& actions)
{
    switch (page) {
    case Page::Welcome: return actions.welcomePageAction;
    case Page::Devotional: return actions.faithsCheckbookAction;
    case Page::Bible: return actions.readBibleAction;
    case Page::PrayToday: return actions.prayTodayAction;
    default: return nullptr;
    }
}

void connectPlanActions(const MainActions& actions, PlanController& plans)
{
    // The plan commands' own actions carry the handlers.
    QObject::connect(actions.newPlanAction, &QAction::triggered, plans.newPlanAction, &QAction::trigger);
    QObject::connect(actions.planManagerAction, &QAction::triggered, plans.planManagerAction, &QAction::trigger);
}

void connectPrayerActions(const MainActions& actions, PrayerCommands& prayers)
{
    QObject::connect(actions.newPrayerAction, &QAction::triggered, &prayers, &PrayerCommands::newPrayerCommand);
    QObject::connect(actions.activePrayersAction, &QAction::triggered, &prayers, &PrayerCommands::showActivePrayers);
    QObject::connect(actions.answeredPrayersAction, &QAction::triggered, &prayers,
                     &PrayerCommands::showAnsweredPrayers);
    QObject::connect(actions.inactivePrayersAction, &QAction::triggered, &prayers,
                     &PrayerCommands::showInactivePrayers);
    QObject::connect(actions.allPrayersAction, &QAction::triggered, &prayers, &PrayerCommands::showAllPrayers);
}

} // namespace kovara::ui
