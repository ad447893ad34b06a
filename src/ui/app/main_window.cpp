#include "ui/app/main_window.h"
#include "ui/app/main_services.h"
#include "ui/app/single_instance.h"
#include "ui/base/page_frame.h"
#include "ui/base/core_names.h"

#include "core/settings/data_folders.h"
#include "core/app/preferences.h"
#include "core/settings/version.h"
#include "ui/app/app_commands.h"
#include "ui/base/error_guard.h"
#include "ui/app/welcome_page.h"
#include "ui/app/general_commands.h"
#include "ui/app/internal_links.h"
#include "ui/bible/bible_page.h"
#include "ui/bible/bible_versions_dialog.h"
#include "ui/bible/get_modules_dialog.h"
#include "ui/content/devotional_commands.h"
#include "ui/content/devotional_page.h"
#include "ui/plans/plan_controller.h"
#include "ui/plans/reading_page.h"
#include "ui/app/preferences_dialog.h"
#include "ui/prayer/pray_today_page.h"
#include "ui/prayer/pray_with_verse_dialog.h"
#include "ui/prayer/prayer_editor.h"
#include "ui/prayer/prayer_tracker_page.h"
#include "ui/prayer/prayer_commands.h"
#include "ui/prayer/version1_import.h"
#include "ui/base/content_page.h"
#include "ui/base/group_bar.h"
#include "ui/base/text_codec.h"
#include "ui/base/window_placement.h"
#include "core/settings/settings_keys.h"

#include <QAction>
#include <QCloseEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QTimer>
#include <QStackedWidget>
#include <QVBoxLayout>

namespace kovara::ui {

namespace {

constexpr int kClientWidth = 664;
constexpr int kClientHeight = 609;

// Object names of the pages, in the order of Page.
constexpr const char* kPageNames[] = {"welcomeTab", "devotionalTab", "readingTab",
                                      "planManagerTab", "prayerTrackerTab", "bibleTab", "prayTodayTab"};

} // namespace

MainWindow::MainWindow(const std::string& contentFolder, const std::string& appDataFolder,
                                 Dialogs& dialogs, const Clock& clock)
    : dialogs_(dialogs), clock_(clock), contentFolder_(contentFolder), appDataFolder_(appDataFolder), stores_(clock)
{
    // The old version's folder lies beside ours in the same per-user folder;
    // without a per-user folder there is nothing to look in.
    version1Import_ = [this](Shell&) {
        if (!trim(appDataFolder_).empty())
            importVersion1Data(*this, version1FolderFor(appDataFolder_));
    };
    setFont(windowFont());
    actions_ = MainActions::create(this);
    // Shortcuts work while a menu or dialog of the window has no focus.
    addActions(actions_.all());
    menus_ = buildMenus(*this, actions_);
    buildToolBar(*this, actions_);
    sideBar_ = buildSideBar(actions_);
    createPages();
    statusField_ = buildStatusBar(*this);
    createControllers();
    helpFile_ = contentFolder_ + "KOVA2.hlp";
    userDataFolder_ = userDataFolderFor(appDataFolder, contentFolder_);
    stores_.open(contentFolder_, userDataFolder_, [this](const std::string& problem) {
        return dialogs_.confirm(unexpectedDatabaseQuestion(fromBytes(problem)), Dialogs::Answer::No, Dialogs::Icon::Warning);
    });
    reportDamagedPlans(*this);
    createPrayerPage();
    createPlanPages();
    session().notifyPreferencesChanged();
    planCommands_->refreshPlanViews(PlanId());
    updateCaption();
    buildWelcomePage();
    createGeneralCommands();
    createReminder();

    resize(firstWindowSize(*this, QSize(kClientWidth, kClientHeight)));
    setMinimumSize(400, 300);
    // The window system chose the first position; afterwards the saved one.
    restoreWindowPlacement(*this, stores_.settings(), core::settings::kMainWindowPlacement);
}

MainWindow::~MainWindow()
{
    // A failure stops the sequence; whatever is left is still released by
    // the stores' own destructors.
    runGuarded(dialogs_, [this] { stores_.close(); });
    // The prayer editor keeps settings.ini for its placement: it goes before
    // the members do, and with it the two that refer to it.
    delete prayerCommands_;
    delete prayerTrackerPage_;
    delete prayerEditor_;
}

// ---- start-up and shutdown

void MainWindow::saveState()
{
    saveWindowPlacement(*this, stores_.settings(), core::settings::kMainWindowPlacement);
    if (biblePage_)
        biblePage_->saveLastChapter(stores_.settings());
    if (prayerTrackerPage_)
        stores_.preferences().splitPercent = prayerTrackerPage_->splitPercent();
}

// ---- layout

void MainWindow::createPages()
{
    pages_ = new QStackedWidget;
    pages_->setObjectName(QStringLiteral("pages"));
    for (const char* name : kPageNames) {
        auto* page = new QWidget;
        page->setObjectName(QString::fromLatin1(name));
        (new QVBoxLayout(page))->setContentsMargins(0, 0, 0, 0);
        pages_->addWidget(page);
    }
    connect(pages_, &QStackedWidget::currentChanged, this, [this] { updateActions(); });

    welcomePage_ = new WelcomePage(dialogs_);
    welcomePage_->setObjectName(QStringLiteral("welcomePage"));
    placePage(Page::Welcome, welcomePage_);

    // The other pages are made when first opened (ensurePage), so start-up
    // builds and lays out only this one.

    auto* central = new QWidget;
    auto* layout = new QHBoxLayout(central);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(sideBar_.bar);
    layout->addWidget(pages_, 1);
    setCentralWidget(central);
}

ContentPage* MainWindow::ensurePage(Page page)
{
    if (ContentPage* made = pageAt(page))
        return made;
    ContentPage* made = nullptr;
    switch (page) {
    case Page::Welcome:
        return welcomePage_;
    case Page::Devotional:
        devotionalPage_ = new DevotionalPage(clock_, dialogs_);
        devotionalPage_->setObjectName(QStringLiteral("devotionalPage"));
        // A verse reference on the devotional page opens its chapter.
        connect(devotionalPage_, &DevotionalPage::linkClicked, this,
                [this](const QString& href) { openBibleLink(href); });
        made = devotionalPage_;
        break;
    case Page::Reading: {
        ReadingPage* reading = planCommands_->readingPage();
        connect(reading, &ReadingPage::bibleLinkClicked, this, [this](const QString& href) { openBibleLink(href); });
        made = reading;
        break;
    }
    case Page::PlanManager:
        made = planCommands_->planManager();
        break;
    case Page::PrayerTracker:
        prayerTrackerPage_ = new PrayerTrackerPage(*this, [this]() -> PrayerEditor& { return prayerEditor(); });
        prayerTrackerPage_->setObjectName(QStringLiteral("prayerTrackerPage"));
        made = prayerTrackerPage_;
        break;
    case Page::PrayToday: {
        auto* prayToday = new PrayTodayPage(*this);
        prayToday->setObjectName(QStringLiteral("prayTodayPage"));
        connect(prayToday, &PrayTodayPage::bibleLinkClicked, this, [this](const QString& href) { openBibleLink(href); });
        made = prayToday;
        break;
    }
    case Page::Bible:
        biblePage_ = new BiblePage; // named "biblePage"
        biblePage_->setBible(bible());
        biblePage_->setSearchFile(contentFolder_ + "bible.kova2");
        biblePage_->setImportedBibleFolder(bibleVersionsFolder(userDataFolder_));
        connect(biblePage_, &BiblePage::prayWithVerseRequested, this, [this](const QString& verses) {
            runGuarded(dialogs_, [&] { PrayWithVerseDialog(*this, verses, this).chooseAndAttach(); }); });
        made = biblePage_;
        break;
    }
    placePage(page, made);
    made->show();
    // Opens on the last chapter read, or Genesis 1.
    if (page == Page::Bible)
        biblePage_->restoreLastChapter(stores_.settings());
    return made;
}

PrayerEditor& MainWindow::prayerEditor()
{
    // Made the first time an item is edited or created.
    if (!prayerEditor_) {
        prayerEditor_ = new PrayerEditor(dialogs_, &stores_.settings(), this);
        prayerEditor_->setBibleSource([this]() -> const BibleStore* { return &bible(); });
        connect(prayerEditor_, &PrayerEditor::bibleLinkClicked, this, &MainWindow::openBibleLink);
    }
    return *prayerEditor_;
}

ContentPage* MainWindow::pageAt(Page page) const
{
    return pages_->widget(static_cast<int>(page))->findChild<ContentPage*>(QString(), Qt::FindDirectChildrenOnly);
}

void MainWindow::placePage(Page page, ContentPage* content)
{
    pages_->widget(static_cast<int>(page))->layout()->addWidget(content);
    connect(content, &ContentPage::contentStateChanged, this, [this] { updateActions(); });
    connect(&session(), &ObservableSession::preferencesChanged, content,
            [this, content] { runGuarded(dialogs_, [this, content] { content->assignPreferences(stores_.preferences()); }); });
    if (stores_.isOpen())
        content->assignPreferences(stores_.preferences());
}

void MainWindow::createControllers()
{
    appCommands_ = std::make_unique<AppCommands>(
        *this, this, actions_, [this]() -> IniFile& { return stores_.settings(); }, [this] { buildWelcomePage(); });
    connectGuarded(actions_.readBibleAction, dialogs_, [this] { openBiblePage(); });
    connectGuarded(actions_.bibleVersionsAction, dialogs_, [this] { showBibleVersions(userDataFolder_, this); });
    connectGuarded(actions_.getModulesAction, dialogs_, [this] { showGetModules(stores_.settings(), this); });
    devotionalCommands_ = std::make_unique<DevotionalCommands>(
        *this, actions_.faithsCheckbookAction,
        [this]() -> DevotionalPage& { return *static_cast<DevotionalPage*>(ensurePage(Page::Devotional)); });
    backupCommands_ = std::make_unique<BackupCommands>(*this, *this, this);
    connectGuarded(actions_.backupAction, dialogs_, [this] { backupCommands_->backup(); });
    connectGuarded(actions_.restoreAction, dialogs_, [this] { backupCommands_->restore(); });
    // Welcome page links run the same actions as the menu entries.
    linkTarget_ = std::make_unique<ActionLinkTarget>(
        actions_.linkActions(), [this](const PlanLinkTarget& plan) { planCommands_->showPlanLink(plan); },
        [this](const PlanLinkTarget& plan) { planCommands_->catchUpLink(plan); });
    welcomePage_->setLinkTarget(*linkTarget_);
    welcomePage_->followSession(*this);
    connect(welcomePage_, &WelcomePage::prayTodayRequested, actions_.prayTodayAction, &QAction::trigger);
}

void MainWindow::createGeneralCommands()
{
    generalCommands_ = new GeneralCommands(*this, [this] { return pageAt(currentPage()); }, this);
    generalCommands_->connectActions(actions_, menus_.openHelpContents);
    updateActions();
}

void MainWindow::createReminder()
{
    const MainServices services = startMainServices(*this, *this, dialogs_, stores_.settings(), *appCommands_,
                                                    [this](const PlanId& plan) { planCommands_->showPlanDay(plan); },
                                                    [this] { actions_.prayTodayAction->trigger(); });
    reminder_ = services.reminder;
    sync_ = services.sync;
}

void MainWindow::createPlanPages()
{
    planCommands_ = new PlanController(*this, this);
    planCommands_->setObjectName(QStringLiteral("PlanCommands"));
    connectPlanActions(actions_, *planCommands_);
    planCommands_->setReadingMenu(menus_.reading, menus_.readingBreak);
    menus_.reading->insertAction(nullptr, planCommands_->exportCalendarAction);
    planCommands_->setSideBarGroup(sideBar_.plans);
}

void MainWindow::createPrayerPage()
{
    prayerCommands_ = new PrayerCommands(
        *this, [this]() -> PrayerTrackerPage& { return *static_cast<PrayerTrackerPage*>(ensurePage(Page::PrayerTracker)); },
        [this]() -> PrayerEditor& { return prayerEditor(); }, this);
    connectPrayerActions(actions_, *prayerCommands_);
    connectGuarded(actions_.prayTodayAction, dialogs_, [this] {
        static_cast<PrayTodayPage*>(ensurePage(Page::PrayToday))->setDay(clock_.today());
        showPage(Page::PrayToday);
    });
    // The prayer commands' journal export closes the Prayers menu.
    menus_.prayers->addSeparator();
    menus_.prayers->addAction(prayerCommands_->exportJournalAction);
}

// ---- Shell

void MainWindow::buildWelcomePage()
{
    welcomePage_->buildWelcomePage(*this);
}

void MainWindow::showPage(Page page)
{
    ensurePage(page);
    pages_->setCurrentIndex(static_cast<int>(page));
}

void MainWindow::openBiblePage()
{
    showPage(Page::Bible);
    biblePage_->focusGoToField();
}

void MainWindow::openBibleLink(const QString& href)
{
    if (href.startsWith(QStringLiteral("bible:")))
        openOnBiblePage([&href](BiblePage& page) { return page.openLink(href); }, false);
}

void MainWindow::openBibleReference(const QString& reference)
{
    // A reference that cannot be read stays in the field with its reason.
    openOnBiblePage([&reference](BiblePage& page) { return page.goTo(reference); }, true);
}

void MainWindow::openOnBiblePage(const std::function<bool(BiblePage&)>& open, bool showAnyway)
{
    runGuarded(dialogs_, [&] {
        if (ensurePage(Page::Bible) && showAnyway)
            showPage(Page::Bible);
        if (open(*biblePage_)) {
            showPage(Page::Bible);
            biblePage_->focusPassage();
        }
    });
}

Page MainWindow::currentPage() const
{
    return static_cast<Page>(pages_->currentIndex());
}

// ---- caption, enabling rules and the import offer

void MainWindow::updateCaption()
{
    setWindowTitle(tr("Kovara %1").arg(fromBytes(fileVersionText())));
    statusField_->clear();
}

void MainWindow::updateActions()
{
    sideBar_.bar->markCurrent(sideBarEntryOf(currentPage(), actions_));
    if (!generalCommands_)
        return; // still starting: both stay disabled
    actions_.copyAction->setEnabled(generalCommands_->canCopy());
    actions_.printAction->setEnabled(generalCommands_->canPrint());
}

void MainWindow::offerImport()
{
    runImportOffer(stores_.preferences().offerImport1x, dialogs_, [this] {
        version1Import_(*this);
        return !closing_; // questions cut short by the window closing were never answered
    }, [this] { stores_.preferences().savePreferences(); });
}

void MainWindow::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    // The offer comes once the window is on the screen, after the events
    // that put it there.
    if (!importOffered_) {
        importOffered_ = true;
        QTimer::singleShot(0, this, [this] { runGuarded(dialogs_, [this] { offerImport(); }); });
    }
}

void MainWindow::closeEvent(QCloseEvent* event)
{
    // Nothing asks for confirmation and nothing cancels the close.
    closing_ = true;
    runGuarded(dialogs_, [this] { saveState(); });
    event->accept();
}

void MainWindow::changeEvent(QEvent* event)
{
    QMainWindow::changeEvent(event);
    // The window's palette is never set, so it changes only when the
    // application's does. The pages hold their colours as set from the
    // preferences, and a "Default" colour stands for the palette's (see
    // pageBackColor), so a desktop switching to a dark or high-contrast theme
    // while Kovara runs has them taken again.
    if (event->type() == QEvent::PaletteChange && stores_.isOpen())
        session().notifyPreferencesChanged();
}

} // namespace kovara::ui
