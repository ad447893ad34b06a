#include "ui/app/main_window.h"
#include "ui/app/single_instance.h"
#include "ui/base/core_names.h"

#include "core/app/backup_file.h"
#include "core/app/user_session.h"

#include "core/settings/data_folders.h"
#include "core/settings/ini_file.h"
#include "core/app/preferences.h"
#include "core/settings/version.h"
#include "core/base/exception.h"
#include "core/content/bible_store.h"
#include "core/content/devotional_store.h"
#include "core/db/sqlite_db.h"
#include "core/plans/plan_store.h"
#include "core/prayer/prayer_store.h"
#include "ui/app/app_commands.h"
#include "ui/base/error_guard.h"
#include "ui/app/welcome_page.h"
#include "ui/app/general_commands.h"
#include "ui/app/idle_work.h"
#include "ui/app/internal_links.h"
#include "ui/app/platform.h"
#include "ui/bible/bible_page.h"
#include "ui/content/devotional_commands.h"
#include "ui/base/passage_view.h"
#include "ui/content/devotional_page.h"
#include "ui/plans/plan_manager_page.h"
#include "ui/plans/plan_controller.h"
#include "ui/plans/reading_page.h"
#include "ui/plans/reminder_notifier.h"
#include "ui/plans/reminder_settings_panel.h"
#include "ui/app/preferences_dialog.h"
#include "ui/prayer/prayer_editor.h"
#include "ui/prayer/prayer_tracker_page.h"
#include "ui/prayer/prayer_commands.h"
#include "ui/prayer/version1_import.h"
#include "ui/base/group_bar.h"
#include "ui/base/html_viewer.h"
#include <QDateEdit>
#include "ui/base/painted_icon.h"
#include "ui/base/text_codec.h"
#include "ui/base/window_placement.h"
#include "core/settings/settings_keys.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDBusConnection>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QStackedWidget>
#include <QStatusBar>
#include <QTextEdit>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

namespace kovara::ui {

namespace {

constexpr int kClientWidth = 664;
constexpr int kClientHeight = 609;
constexpr int kGroupBarWidth = 193;
constexpr int kToolBarHeight = 29;
constexpr int kToolButtonSize = 24;

// Object names of the pages, in the order of Page.
constexpr const char* kPageNames[] = {"welcomeTab", "devotionalTab", "readingTab",
                                      "planManagerTab", "prayerTrackerTab", "bibleTab"};

} // namespace

MainWindow::MainWindow(const std::string& contentFolder, const std::string& appDataFolder,
                                 Dialogs& dialogs, const Clock& clock)
    : dialogs_(dialogs), clock_(clock), contentFolder_(contentFolder), appDataFolder_(appDataFolder)
{
    // The old version's folder lies beside ours in the same per-user folder;
    // without a per-user folder there is nothing to look in.
    version1Import_ = [this](Shell&) {
        if (!trim(appDataFolder_).empty())
            importVersion1Data(*this, version1FolderFor(appDataFolder_));
    };
    setFont(QFont(QStringLiteral("Verdana"), 8));
    createActions();
    createMenus();
    createToolBar();
    createGroupBar();
    createPages();
    createStatusBar();
    createControllers();
    connectSession();
    loadContent(appDataFolder);
    createGeneralCommands();
    createReminder();

    resize(kClientWidth, kClientHeight);
    setMinimumSize(400, 300);
    // The window system chose the first position; afterwards the saved one.
    restoreWindowPlacement(*this, *settings_, core::settings::kMainWindowPlacement);

    idleTimer_ = new QTimer(this);
    idleTimer_->setSingleShot(true);
    idleTimer_->setInterval(0);
    connect(idleTimer_, &QTimer::timeout, this, [this] { runGuarded(dialogs_, [this] { onIdle(); }); });
    // What the user does may change what Copy and Print offer; the idle pass
    // after each input event re-evaluates them.
    qApp->installEventFilter(this);
}

MainWindow::~MainWindow()
{
    qApp->removeEventFilter(this);
    shutDown();
    // The prayer editor keeps settings.ini for its placement: it goes before
    // the members do, and with it the two that refer to it.
    delete prayerCommands_;
    delete prayerTrackerPage_;
    delete prayerEditor_;
}

// ---- start-up and shutdown

void MainWindow::loadContent(const std::string& appDataFolder)
{
    helpFile_ = contentFolder_ + "KOVA2.hlp";

    userDataFolder_ = userDataFolderFor(appDataFolder, contentFolder_);
    ensureUserDataFolder(userDataFolder_);
    settings_ = std::make_unique<IniFile>(userDataFolder_ + "settings.ini");
    prefs_ = std::make_unique<Preferences>(*settings_);
    createPrayerPage();
    createPlanPages();
    assignPreferencesToFrames();

    devotionalDb_ = Database(contentFolder_ + "devotional.kova2");
    devotionals_.clear();
    devotionals_.push_back(std::make_unique<DevotionalStore>("faithsCheckbook", "Faith's Checkbook",
                                                             "R. M. Halvard", devotionalDb_.get()));

    bible_ = std::make_unique<BibleStore>(contentFolder_ + "bible.kova2", "King James Version", "KJV");
    // The plan manager reaches the Bible store through the shell.

    session_ = std::make_unique<UserSession>(userDataFolder_, clock_);
    session_->planStore();
    planCommands_->refreshPlanViews(0);
    session_->prayerStore();

    updateCaption();
    buildWelcomePage();
}

void MainWindow::saveState()
{
    saveWindowPlacement(*this, *settings_, core::settings::kMainWindowPlacement);
    if (biblePage_)
        biblePage_->saveLastChapter(*settings_);
    prefs_->splitPercent = prayerTrackerPage_->splitPercent();
}

void MainWindow::assignPreferencesToFrames()
{
    welcomePage_->assignPreferences(*prefs_);
    readingPassage_->assignPreferences(*prefs_);
    devotionalPage_->assignPreferences(*prefs_);
    if (biblePage_)
        biblePage_->assignPreferences(*prefs_);
    prayerTrackerPage_->assignPreferences(*prefs_);
}

void MainWindow::shutDown()
{
    // A failure stops the sequence; whatever is left is still released by
    // the members' own destructors.
    runGuarded(dialogs_, [this] {
        while (!devotionals_.empty())
            devotionals_.pop_back();
        devotionalDb_.close();
        if (session_)
            session_->shutdown();
        bible_.reset();
        // Saved here, not only by the object's destructor, so that a file
        // that cannot be written is reported.
        if (prefs_) {
            prefs_->savePreferences();
            prefs_.reset();
        }
    });
}

// ---- layout

void MainWindow::createActions()
{
    actions_ = MainActions::create(this);
    actions_.copyAction->setEnabled(false);
    actions_.printAction->setEnabled(false);
    // Shortcuts work while a menu or dialog of the window has no focus.
    addActions(actions_.all());
}

void MainWindow::createMenus()
{
    QMenu* file = menuBar()->addMenu(tr("&File"));
    file->setObjectName(QStringLiteral("fileMenu"));
    file->addAction(actions_.welcomePageAction);
    file->addSeparator();
    file->addAction(actions_.backupAction);
    file->addAction(actions_.restoreAction);
    file->addSeparator();
    file->addAction(actions_.printAction);
    file->addAction(actions_.printSetupAction);
    file->addSeparator();
    file->addAction(actions_.preferencesAction);
    file->addSeparator();
    file->addAction(actions_.exitAction);

    QMenu* edit = menuBar()->addMenu(tr("&Edit"));
    edit->setObjectName(QStringLiteral("editMenu"));
    edit->addAction(actions_.copyAction);

    // Plan entries are inserted above readingMenuBreak_, one per plan.
    readingMenu_ = menuBar()->addMenu(tr("&Reading"));
    readingMenu_->setObjectName(QStringLiteral("readingMenu"));
    readingMenuBreak_ = readingMenu_->addSeparator();
    readingMenuBreak_->setObjectName(QStringLiteral("ReadingMenuBreak"));
    readingMenu_->addAction(actions_.newPlanAction);
    readingMenu_->addAction(actions_.planManagerAction);
    readingMenuExtras_ = readingMenu_->addSeparator();

    QMenu* bibleMenu = menuBar()->addMenu(tr("&Bible"));
    bibleMenu->setObjectName(QStringLiteral("bibleMenu"));
    bibleMenu->addAction(actions_.readBibleAction);

    QMenu* devotional = menuBar()->addMenu(tr("&Devotional"));
    devotional->setObjectName(QStringLiteral("devotionalMenu"));
    devotional->addAction(actions_.faithsCheckbookAction);

    QMenu* prayers = menuBar()->addMenu(tr("&Prayers"));
    prayers->setObjectName(QStringLiteral("prayersMenu"));
    prayers->addAction(actions_.newPrayerAction);
    prayers->addSeparator();
    prayers->addAction(actions_.activePrayersAction);
    prayers->addAction(actions_.answeredPrayersAction);
    prayers->addAction(actions_.inactivePrayersAction);
    prayers->addAction(actions_.allPrayersAction);

    QMenu* help = menuBar()->addMenu(tr("&Help"));
    help->setObjectName(QStringLiteral("helpMenu"));
    // A plain entry, not helpAction: it always opens the help contents.
    openHelpContents_ = help->addAction(tr("&Open Help"));
    openHelpContents_->setObjectName(QStringLiteral("openHelpContentsAction"));
    help->addSeparator();
    help->addAction(actions_.websiteAction);
    help->addAction(actions_.checkUpdateAction);
    help->addAction(actions_.emailAction);
    help->addSeparator();
    help->addAction(actions_.aboutAction);

    // F10 opens the first menu, as on other Linux desktops; a lone Alt and
    // the Alt letters are the menu bar's own.
    auto* openMenus = new QAction(this);
    openMenus->setObjectName(QStringLiteral("openMenuBarAction"));
    openMenus->setShortcut(QKeySequence(Qt::Key_F10));
    openMenus->setShortcutContext(Qt::WindowShortcut);
    addAction(openMenus);
    connect(openMenus, &QAction::triggered, this, [this] { menuBar()->setActiveAction(menuBar()->actions().first()); });
}

void MainWindow::createToolBar()
{
    QToolBar* bar = addToolBar(tr("Tools"));
    bar->setObjectName(QStringLiteral("toolBar"));
    bar->setMovable(false);
    bar->setFloatable(false);
    bar->setFixedHeight(kToolBarHeight);
    bar->setIconSize(QSize(16, 16));
    bar->toggleViewAction()->setVisible(false);

    actions_.welcomePageAction->setIcon(toolBarIcon(ToolBarPicture::Home));
    actions_.copyAction->setIcon(toolBarIcon(ToolBarPicture::Copy));
    actions_.printAction->setIcon(toolBarIcon(ToolBarPicture::Print));
    actions_.helpAction->setIcon(toolBarIcon(ToolBarPicture::Help));
    actions_.readBibleAction->setIcon(toolBarIcon(ToolBarPicture::Bible));
    // Menus show captions only; the pictures belong to the tool bar.
    for (QAction* action : {actions_.welcomePageAction, actions_.readBibleAction, actions_.copyAction,
                            actions_.printAction, actions_.helpAction})
        action->setIconVisibleInMenu(false);

    const QList<QAction*> buttons = {actions_.welcomePageAction, actions_.readBibleAction, actions_.copyAction,
                                     actions_.printAction, actions_.helpAction};
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

void MainWindow::createGroupBar()
{
    groupBar_ = new GroupBar;
    groupBar_->setObjectName(QStringLiteral("sideBar"));
    groupBar_->setFixedWidth(kGroupBarWidth);

    groupBar_->addGroup(QStringLiteral("welcomeGroup"), tr("Welcome"))
        ->addCommand(actions_.welcomePageAction);
    groupBar_->addGroup(QStringLiteral("devotionalsGroup"), tr("Daily Devotional"))
        ->addCommand(actions_.faithsCheckbookAction);
    // Plan entries go before "Start New Reading Plan...", one per plan.
    groupPlans_ = groupBar_->addGroup(QStringLiteral("plansGroup"), tr("Daily Bible Reading"));
    groupPlans_->addCommand(actions_.newPlanAction);
    groupBar_->addGroup(QStringLiteral("bibleGroup"), tr("Bible"))->addCommand(actions_.readBibleAction);
    GroupBarGroup* prayers = groupBar_->addGroup(QStringLiteral("prayerTrackerGroup"), tr("Prayer Tracker"));
    for (QAction* action : {actions_.newPrayerAction, actions_.activePrayersAction, actions_.answeredPrayersAction,
                            actions_.inactivePrayersAction, actions_.allPrayersAction})
        prayers->addCommand(action);
}

void MainWindow::createPages()
{
    pages_ = new QStackedWidget;
    pages_->setObjectName(QStringLiteral("pages"));
    for (const char* name : kPageNames) {
        auto* page = new QWidget;
        page->setObjectName(QString::fromLatin1(name));
        new QVBoxLayout(page);
        pages_->addWidget(page);
    }
    const auto pageLayout = [this](Page page) {
        auto* layout = static_cast<QVBoxLayout*>(pages_->widget(static_cast<int>(page))->layout());
        layout->setContentsMargins(0, 0, 0, 0);
        return layout;
    };

    welcomePage_ = new WelcomePage(dialogs_);
    welcomePage_->setObjectName(QStringLiteral("welcomePage"));
    pageLayout(Page::Welcome)->addWidget(welcomePage_);

    devotionalPage_ = new DevotionalPage(clock_, dialogs_);
    devotionalPage_->setObjectName(QStringLiteral("devotionalPage"));
    pageLayout(Page::Devotional)->addWidget(devotionalPage_);
    // The Bible page is made when first opened (prepareBiblePage), so
    // start-up does not pay for it.
    // The reading, plan manager and prayer pages are filled once the
    // preferences exist (createPlanPages, createPrayerPage).

    connect(pages_, &QStackedWidget::currentChanged, this, [this] { updateActions(); });
    takeOverCopy(devotionalPage_->viewer(), devotionalPage_->copyAction);
    // A verse reference on the devotional page opens its chapter.
    connect(devotionalPage_->viewer(), &HtmlViewer::linkClicked, this,
            [this](const QString& href) { openBibleLink(href); });

    auto* central = new QWidget;
    auto* layout = new QHBoxLayout(central);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(groupBar_);
    layout->addWidget(pages_, 1);
    setCentralWidget(central);
}

void MainWindow::createStatusBar()
{
    statusBar()->setObjectName(QStringLiteral("statusBar"));
    statusField_ = new QLabel;
    statusField_->setObjectName(QStringLiteral("statusField"));
    statusBar()->addWidget(statusField_, 1);
}

void MainWindow::createControllers()
{
    appCommands_ = std::make_unique<AppCommands>(
        *this, this, actions_, [this]() -> IniFile& { return *settings_; }, [this] { buildWelcomePage(); });
    connectGuarded(actions_.readBibleAction, dialogs_, [this] { openBiblePage(); });
    devotionalCommands_ = std::make_unique<DevotionalCommands>(*this, actions_.faithsCheckbookAction, *devotionalPage_);
    backupCommands_ = std::make_unique<BackupCommands>(*this, *this, this);
    connectGuarded(actions_.backupAction, dialogs_, [this] { backupCommands_->backup(); });
    connectGuarded(actions_.restoreAction, dialogs_, [this] { backupCommands_->restore(); });
    // Welcome page links run the same actions as the menu entries.
    linkTarget_ = std::make_unique<ActionLinkTarget>(
        ActionLinkTarget::Actions{actions_.faithsCheckbookAction, actions_.newPlanAction,
                                  actions_.planManagerAction, actions_.newPrayerAction,
                                  actions_.activePrayersAction, actions_.inactivePrayersAction,
                                  actions_.answeredPrayersAction, actions_.allPrayersAction},
        [this](int plan) { planCommands_->showPlanDay(plan, 0); },
        [this](int plan) { planCommands_->catchUp(plan); });
    welcomePage_->setLinkTarget(*linkTarget_);
}

void MainWindow::connectSession()
{
    ObservableSession& events = session();
    const auto guarded = [this](auto body) { return [this, body] { runGuarded(dialogs_, body); }; };
    connect(&events, &ObservableSession::storesReplaced, this, guarded([this] {
                planCommands_->refreshPlanViews(0);
                buildWelcomePage();
            }));
    // The summary follows without taking the reader away from the page shown.
    const auto summary = [this] {
        welcomePage_->buildWelcomePage(planStore(), prayerStore(), preferences(), clock());
    };
    connect(&events, &ObservableSession::plansChanged, this, guarded([this, summary] {
                planCommands_->refreshPlanViews(0);
                summary();
            }));
    connect(&events, &ObservableSession::prayersChanged, this, guarded(summary));
    connect(&events, &ObservableSession::preferencesChanged, this, guarded([this] { assignPreferencesToFrames(); }));
}

void MainWindow::createGeneralCommands()
{
    GeneralTargets targets;
    targets.devotionalViewer = devotionalPage_->viewer();
    targets.bibleViewer = readingPassage_->viewer();
    targets.biblePageViewer = [this] { return biblePage_ ? biblePage_->passageView->viewer() : nullptr; };
    targets.prayerText = prayerTrackerPage_->textArea();
    targets.currentPlan = [this] { return planCommands_->planManager()->currentPlan(); };
    targets.printPlan = [this](int plan, QPrinter& printer) { planCommands_->printPlanDetails(plan, printer); };
    targets.documentTitle = [this] { return printTitle(); };
    generalCommands_ = new GeneralCommands(*this, std::move(targets), this);
    generalCommands_->copyAction = actions_.copyAction;

    // The controller's slots run their own error guard.
    const auto bind = [this](QAction* action, void (GeneralCommands::*slot)()) {
        connect(action, &QAction::triggered, generalCommands_, slot);
    };
    bind(actions_.copyAction, &GeneralCommands::copy);
    bind(actions_.printAction, &GeneralCommands::print);
    bind(actions_.printSetupAction, &GeneralCommands::printSetup);
    bind(actions_.helpAction, &GeneralCommands::showHelp);
    bind(openHelpContents_, &GeneralCommands::openHelpContents);
    bind(actions_.websiteAction, &GeneralCommands::openWebsite);
    bind(actions_.emailAction, &GeneralCommands::sendEmail);
    bind(actions_.checkUpdateAction, &GeneralCommands::checkUpdate);
    bind(actions_.aboutAction, &GeneralCommands::showAbout);
    updateActions();
}

void MainWindow::createReminder()
{
    reminder_ = new ReminderNotifier(*this, [] { return QDBusConnection::sessionBus(); }, this);
    reminder_->openPlan = [this](int plan) {
        runGuarded(dialogs_, [this, plan] {
            SingleInstance::bringForward(this);
            planCommands_->showPlanDay(plan, 0);
        });
    };
    // Without a notification service the window says it itself.
    reminder_->fallback = [this](const QString& text) {
        statusBar()->showMessage(text);
        SingleInstance::bringForward(this);
    };
    reminder_->setSettings(ReminderSettings::read(*settings_));
    appCommands_->setPreferencesExtension([this](PreferencesDialog& dialog) {
        auto* panel = new ReminderSettingsPanel(&dialog);
        panel->aboutToShow = [this, panel] {
            runGuarded(dialogs_, [this, panel] { panel->load(reminder_->settings(), planStore()); });
        };
        connect(&dialog, &QDialog::accepted, panel, [this, panel] {
            runGuarded(dialogs_, [this, panel] {
                const ReminderSettings settings = panel->apply(planStore());
                settings.write(*settings_);
                updateAutostartEntry(settings.startAtLogin);
                reminder_->setSettings(settings);
            });
        });
        dialog.addSection(panel);
    });
}

void MainWindow::createPlanPages()
{
    planCommands_ = new PlanController(*this, this);
    planCommands_->setObjectName(QStringLiteral("PlanCommands"));

    ReadingPage* reading = planCommands_->readingPage();
    reading->setObjectName(QStringLiteral("readingPage"));
    QWidget* readingPage = pages_->widget(static_cast<int>(Page::Reading));
    readingPage->layout()->setContentsMargins(0, 0, 0, 0);
    readingPage->layout()->addWidget(reading);
    readingPassage_ = reading->passageView;
    readingPassage_->setObjectName(QStringLiteral("passageView"));
    takeOverCopy(readingPassage_->viewer(), readingPassage_->copyAction);
    // A plan day's chapter headings open their chapters on the Bible page.
    readingPassage_->setChapterLinks(true);
    connect(readingPassage_->viewer(), &HtmlViewer::linkClicked, this,
            [this](const QString& href) { openBibleLink(href); });

    PlanManagerPage* manager = planCommands_->planManager();
    manager->setObjectName(QStringLiteral("planManagerPage"));
    QWidget* managerPage = pages_->widget(static_cast<int>(Page::PlanManager));
    managerPage->layout()->setContentsMargins(0, 0, 0, 0);
    managerPage->layout()->addWidget(manager);

    // The window's two plan actions are the ones in its menus and side bar;
    // the plan commands' own actions carry the handlers.
    connect(actions_.newPlanAction, &QAction::triggered, planCommands_->newPlanAction, &QAction::trigger);
    connect(actions_.planManagerAction, &QAction::triggered, planCommands_->planManagerAction,
            &QAction::trigger);
    planCommands_->setReadingMenu(readingMenu_, readingMenuBreak_);
    readingMenu_->insertAction(nullptr, planCommands_->exportCalendarAction);
    planCommands_->setPlanEntriesChanged([this](const std::vector<PlanEntry>& entries) { fillSideBarPlans(entries); });
}

void MainWindow::createPrayerPage()
{
    prayerEditor_ = new PrayerEditor(dialogs_, settings_.get(), this);
    QWidget* page = pages_->widget(static_cast<int>(Page::PrayerTracker));
    prayerTrackerPage_ = new PrayerTrackerPage(*this, *prayerEditor_, page);
    prayerTrackerPage_->setObjectName(QStringLiteral("prayerTrackerPage"));
    page->layout()->setContentsMargins(0, 0, 0, 0);
    page->layout()->addWidget(prayerTrackerPage_);
    takeOverCopy(prayerTrackerPage_->textArea(), prayerTrackerPage_->copyAction);

    prayerCommands_ = new PrayerCommands(*this, *prayerTrackerPage_, *prayerEditor_, this);
    // The controller's slots run their own error guard.
    connect(actions_.newPrayerAction, &QAction::triggered, prayerCommands_, &PrayerCommands::newPrayerCommand);
    connect(actions_.activePrayersAction, &QAction::triggered, prayerCommands_,
            &PrayerCommands::showActivePrayers);
    connect(actions_.answeredPrayersAction, &QAction::triggered, prayerCommands_,
            &PrayerCommands::showAnsweredPrayers);
    connect(actions_.inactivePrayersAction, &QAction::triggered, prayerCommands_,
            &PrayerCommands::showInactivePrayers);
    connect(actions_.allPrayersAction, &QAction::triggered, prayerCommands_, &PrayerCommands::showAllPrayers);
    // The journal export belongs to the prayer commands; it closes the
    // Prayers menu after the views.
    if (auto* prayers = menuBar()->findChild<QMenu*>(QStringLiteral("prayersMenu"))) {
        prayers->addSeparator();
        prayers->addAction(prayerCommands_->exportJournalAction);
    }
}

// ---- plan entries

void MainWindow::fillSideBarPlans(const std::vector<PlanEntry>& entries)
{
    for (QAction* old : sideBarPlanEntries_) {
        groupPlans_->removeCommand(old);
        delete old;
    }
    sideBarPlanEntries_.clear();

    int position = 0;
    for (const PlanEntry& entry : entries) {
        // A plan title is the user's own text: a single "&" would otherwise be
        // taken as a mnemonic marker and vanish from the caption.
        auto* action = new QAction(QString(entry.title).replace(QLatin1Char('&'), QLatin1String("&&")), this);
        action->setObjectName(QStringLiteral("PlanEntry%1").arg(position));
        const int plan = entry.plan;
        connectGuarded(action, dialogs_, [this, plan] { planCommands_->planItemClick(plan); });
        groupPlans_->insertCommand(position, action, entry.bold);
        sideBarPlanEntries_.push_back(action);
        ++position;
    }
}

// ---- Shell

Preferences& MainWindow::preferences()
{
    return *prefs_;
}

BibleStore& MainWindow::bible()
{
    return *bible_;
}

DevotionalStore& MainWindow::devotional()
{
    return *devotionals_.front();
}

PlanStore& MainWindow::planStore()
{
    // A store that could not be opened again after a backup, restore or
    // import is opened again here, on its next use.
    if (!session_)
        throw Exception(toBytes(tr("The reading plan store is not open")));
    return session_->planStore();
}

PrayerStore& MainWindow::prayerStore()
{
    if (!session_)
        throw Exception(toBytes(tr("The prayer store is not open")));
    return session_->prayerStore();
}

void MainWindow::closeUserStores()
{
    session_->close();
}

void MainWindow::openUserStores()
{
    // Another program may still be finishing a write to one of the files.
    session_->openRetrying(kBackupLockWaitMs);
}

void MainWindow::buildWelcomePage()
{
    welcomePage_->buildWelcomePage(*this);
}

void MainWindow::showPage(Page page)
{
    pages_->setCurrentIndex(static_cast<int>(page));
}

void MainWindow::takeOverCopy(QTextEdit* text, QAction* pageCopy)
{
    // Copy and Print follow the selection.
    connect(text, &QTextEdit::selectionChanged, this, [this] { updateActions(); });
    // The window's Copy command owns Ctrl+C. A page's own copy entry bound to
    // the same key on its text widget would make the key ambiguous while that
    // widget has the focus, and then neither would run. The entry stays in
    // the widget's context menu; only its key binding goes.
    text->removeAction(pageCopy);
}

QString MainWindow::printTitle()
{
    switch (currentPage()) {
    case Page::Devotional:
        return devotionalPage_->titleLabel->text() + QLatin1Char(' ') +
               devotionalPage_->dateEdit->date().toString(Qt::ISODate);
    case Page::Reading: {
        // The plan and its day: "Whole Bible Day 12 of 364".
        const std::string& dayLine = readingPassage_->dayLine();
        return fromBytes(readingPassage_->title() + " " + dayLine.substr(0, dayLine.find(':')));
    }
    case Page::Bible:
        return biblePage_ ? fromBytes(biblePage_->passageView->title()) : QString();
    case Page::PlanManager: {
        const int plan = planCommands_->planManager()->currentPlan();
        return plan >= 0 ? fromBytes(planStore().planTitle(plan)) : QString();
    }
    case Page::PrayerTracker: {
        const PrayerHeader* item = prayerTrackerPage_->selectedRecord();
        return item ? fromBytes(item->prayerTitle) : tr("Prayer Journal");
    }
    case Page::Welcome:
        break;
    }
    return {};
}

void MainWindow::prepareBiblePage()
{
    // The page is made and filled when first shown, so start-up does not pay
    // for it.
    if (!biblePage_) {
        biblePage_ = new BiblePage;
        biblePage_->setObjectName(QStringLiteral("biblePage"));
        pages_->widget(static_cast<int>(Page::Bible))->layout()->addWidget(biblePage_);
        takeOverCopy(biblePage_->passageView->viewer(), biblePage_->passageView->copyAction);
        biblePage_->assignPreferences(*prefs_);
    }
    if (biblePage_->book() == 0) {
        biblePage_->setBible(bible());
        biblePage_->setSearchFile(contentFolder_ + "bible.kova2");
        biblePage_->restoreLastChapter(*settings_);
    }
}

void MainWindow::openBiblePage()
{
    prepareBiblePage();
    showPage(Page::Bible);
    biblePage_->goToEdit->setFocus();
}

void MainWindow::openBibleLink(const QString& href)
{
    if (!href.startsWith(QStringLiteral("bible:")))
        return;
    runGuarded(dialogs_, [this, &href] {
        prepareBiblePage();
        if (biblePage_->openLink(href)) {
            showPage(Page::Bible);
            biblePage_->passageView->viewer()->setFocus();
        }
    });
}

Page MainWindow::currentPage() const
{
    return static_cast<Page>(pages_->currentIndex());
}

// ---- caption, enabling rules and idle work

void MainWindow::updateCaption()
{
    setWindowTitle(tr("Kovara %1").arg(fromBytes(fileVersionText())));
    statusField_->clear();
}

void MainWindow::updateActions()
{
    if (!generalCommands_)
        return; // still starting: both stay disabled
    actions_.copyAction->setEnabled(generalCommands_->canCopy());
    actions_.printAction->setEnabled(generalCommands_->canPrint());
}

void MainWindow::scheduleIdle()
{
    if (idleTimer_ && !idleTimer_->isActive())
        idleTimer_->start();
}

void MainWindow::onIdle()
{
    runImportOffer(
        prefs_->offerImport1x, dialogs_,
        [this] {
            version1Import_(*this);
            // Questions cut short by the window closing were never answered.
            return !closing_;
        },
        [this] { prefs_->savePreferences(); });
    updateActions();
}

void MainWindow::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    scheduleIdle();
}

void MainWindow::closeEvent(QCloseEvent* event)
{
    // Nothing asks for confirmation and nothing cancels the close.
    closing_ = true;
    runGuarded(dialogs_, [this] { saveState(); });
    event->accept();
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::MouseButtonRelease:
    case QEvent::KeyRelease:
    case QEvent::FocusIn:
    case QEvent::Shortcut:
        scheduleIdle();
        break;
    case QEvent::PaletteChange:
        // The page area's palette is never set, so it changes only when the
        // application's does; it stands for the whole window. The pages hold their colours as set from the
        // preferences, and a "Default" colour stands for the palette's (see
        // pageBackColor), so a desktop switching to a dark or high-contrast
        // theme while Kovara runs has them taken again.
        if (watched == centralWidget() && prefs_)
            runGuarded(dialogs_, [this] { assignPreferencesToFrames(); });
        break;
    default:
        break;
    }
    return QMainWindow::eventFilter(watched, event);
}

} // namespace kovara::ui
