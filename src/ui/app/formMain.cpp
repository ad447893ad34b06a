#include "ui/app/formMain.h"

#include "app/backup_file.h"
#include "app/user_session.h"

#include "app/data_folders.h"
#include "app/ini_file.h"
#include "app/kova_prefs.h"
#include "app/version.h"
#include "base/exception.h"
#include "content/kova_bible.h"
#include "content/kova_devotional.h"
#include "db/sqlite_db.h"
#include "plans/kova_readplan.h"
#include "prayer/kova_prayertracker.h"
#include "ui/app/app_commands.h"
#include "ui/app/error_guard.h"
#include "ui/app/frameWelcomePage.h"
#include "ui/app/general_commands.h"
#include "ui/app/idle_work.h"
#include "ui/app/internal_links.h"
#include "ui/app/platform.h"
#include "ui/content/devotional_commands.h"
#include "ui/content/frameBibleDisplay.h"
#include "ui/content/frameDevDisplay.h"
#include "ui/plans/framePlanManager.h"
#include "ui/plans/plan_controller.h"
#include "ui/plans/reading_page.h"
#include "ui/prayer/formEditPrayer.h"
#include "ui/prayer/framePrayerTracker.h"
#include "ui/prayer/prayer_commands.h"
#include "ui/prayer/version1_import.h"
#include "ui/widgets/group_bar.h"
#include "ui/widgets/html_viewer.h"
#include "ui/widgets/text_codec.h"
#include "ui/widgets/window_placement.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QPainter>
#include <QPainterPath>
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
constexpr const char* kPlacementSection = "Main Window State";

// Object names of the pages, in the order of Page.
constexpr const char* kPageNames[] = {"TabSheetWelcome", "TabSheetDevotional", "TabSheetBibleRead",
                                      "TabSheetPlanManager", "TabSheetPrayerTracker"};

// The tool bar pictures, painted small so that Qt derives the greyed
// (disabled) form itself.
enum class Picture { Home, Copy, Print, Help };

QIcon PaintIcon(Picture picture)
{
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(0x30, 0x30, 0x30), 1));
    switch (picture) {
    case Picture::Home: {
        QPainterPath roof;
        roof.moveTo(1.5, 8);
        roof.lineTo(8, 1.5);
        roof.lineTo(14.5, 8);
        roof.closeSubpath();
        p.setBrush(QColor(0xb0, 0x3a, 0x2e));
        p.drawPath(roof);
        p.setBrush(QColor(0xf2, 0xe6, 0xc8));
        p.drawRect(QRectF(3.5, 8, 9, 6.5));
        p.setBrush(QColor(0x6b, 0x4a, 0x2b));
        p.drawRect(QRectF(7, 10.5, 2.5, 4));
        break;
    }
    case Picture::Copy:
        p.setBrush(Qt::white);
        p.drawRect(QRectF(1.5, 1.5, 8, 10));
        p.setBrush(QColor(0xdd, 0xe8, 0xf8));
        p.drawRect(QRectF(6.5, 4.5, 8, 10));
        break;
    case Picture::Print:
        p.setBrush(Qt::white);
        p.drawRect(QRectF(4.5, 1.5, 7, 5));
        p.setBrush(QColor(0x90, 0x90, 0x90));
        p.drawRoundedRect(QRectF(1.5, 6.5, 13, 6), 1.5, 1.5);
        p.setBrush(Qt::white);
        p.drawRect(QRectF(4.5, 10.5, 7, 4));
        break;
    case Picture::Help:
        p.setBrush(QColor(0x2a, 0x5d, 0xb0));
        p.drawEllipse(QRectF(1.5, 1.5, 13, 13));
        p.setPen(Qt::white);
        QFont f = p.font();
        f.setBold(true);
        f.setPixelSize(11);
        p.setFont(f);
        p.drawText(QRectF(1.5, 1.5, 13, 13), Qt::AlignCenter, QStringLiteral("?"));
        break;
    }
    return QIcon(pixmap);
}

// The window's Copy command owns Ctrl+C. A page's own copy entry bound to the
// same key on its text widget would make the key ambiguous while that widget
// has the focus, and then neither would run. The entry stays in the widget's
// context menu; only its key binding goes.
void LeaveCopyKeyToTheWindow(QWidget* textWidget, QAction* pageCopy)
{
    textWidget->removeAction(pageCopy);
}

} // namespace

TFormMainWindow::TFormMainWindow(const std::string& programFolder, const std::string& appDataFolder,
                                 Dialogs& dialogs, const Clock& clock)
    : dialogs_(dialogs), clock_(clock), programFolder_(programFolder), appDataFolder_(appDataFolder)
{
    // The old version's folder lies beside ours in the same per-user folder;
    // without a per-user folder there is nothing to look in.
    version1Import_ = [this](Shell&) {
        if (!Trim(appDataFolder_).empty())
            ImportVersion1Data(*this, *this, Version1FolderFor(appDataFolder_));
    };
    setFont(QFont(QStringLiteral("Verdana"), 8));
    CreateActions();
    CreateMenus();
    CreateToolBar();
    CreateGroupBar();
    CreatePages();
    CreateStatusBar();
    CreateControllers();
    FormCreate(appDataFolder);
    CreateGeneralCommands();

    resize(kClientWidth, kClientHeight);
    setMinimumSize(400, 300);
    // The window system chose the first position; afterwards the saved one.
    RestoreWindowPlacement(*this, *settings_, kPlacementSection);

    idleTimer_ = new QTimer(this);
    idleTimer_->setSingleShot(true);
    idleTimer_->setInterval(0);
    connect(idleTimer_, &QTimer::timeout, this, [this] { RunGuarded(dialogs_, [this] { ApplicationEvents1Idle(); }); });
    // What the user does may change what Copy and Print offer; the idle pass
    // after each input event re-evaluates them.
    qApp->installEventFilter(this);
}

TFormMainWindow::~TFormMainWindow()
{
    qApp->removeEventFilter(this);
    FormDestroy();
    // The prayer editor keeps settings.ini for its placement: it goes before
    // the members do, and with it the two that refer to it.
    delete prayerCommands_;
    delete framePrayerTracker_;
    delete prayerEditor_;
}

// ---- start-up and shutdown

void TFormMainWindow::FormCreate(const std::string& appDataFolder)
{
    CreateNamedMutex();
    helpFile_ = programFolder_ + "KOVA2.hlp";

    userDataFolder_ = UserDataFolderFor(appDataFolder, programFolder_);
    EnsureUserDataFolder(userDataFolder_);
    // Finishes or discards a restore that was cut short, before either user
    // store opens its file.
    RecoverInterruptedUserData(userDataFolder_);

    settings_ = std::make_unique<TIniFile>(userDataFolder_ + "settings.ini");
    prefs_ = std::make_unique<TKOVAPreferences>(*settings_);
    CreatePrayerPage();
    CreatePlanPages();
    AssignPreferencesToFrames();

    OpenDatabase(programFolder_ + "devotional.kova2", devotionalDb_.db);
    devotionals_.clear();
    devotionals_.push_back(std::make_unique<TKOVADevotional>("faithsCheckbook", "Faith's Checkbook",
                                                             "R. M. Halvard", devotionalDb_.db));

    bible_ = std::make_unique<TKOVABible>(programFolder_ + "bible.kova2", "King James Version", "KJV");
    // The plan manager reaches the Bible store through the shell.

    session_ = std::make_unique<UserSession>(userDataFolder_, clock_);
    session_->Plans();
    planCommands_->RefreshPlanViews(0);
    session_->Prayers();

    UpdateCaption();
    BuildWelcomePage();
}

void TFormMainWindow::FormClose()
{
    SaveWindowPlacement(*this, *settings_, kPlacementSection);
    prefs_->SplitPercent = framePrayerTracker_->SplitPercent();
}

void TFormMainWindow::AssignPreferencesToFrames()
{
    frameWelcome_->AssignPreferences(*prefs_);
    frameBible_->AssignPreferences(*prefs_);
    frameDevotional_->AssignPreferences(*prefs_);
    framePrayerTracker_->AssignPreferences(*prefs_);
}

void TFormMainWindow::FormDestroy()
{
    // A failure stops the sequence; whatever is left is still released by
    // the members' own destructors.
    RunGuarded(dialogs_, [this] {
        while (!devotionals_.empty())
            devotionals_.pop_back();
        CloseDatabase(devotionalDb_.db);
        if (session_)
            session_->Shutdown();
        bible_.reset();
        // Saved here, not only by the object's destructor, so that a file
        // that cannot be written is reported.
        if (prefs_) {
            prefs_->SavePreferences();
            prefs_.reset();
        }
    });
}

TFormMainWindow::DevotionalConnection::~DevotionalConnection()
{
    if (db)
        sqlite3_close(db);
}

// ---- layout

void TFormMainWindow::CreateActions()
{
    actions_ = TMainActions::Create(this);
    actions_.ActionCopy->setEnabled(false);
    actions_.ActionPrint->setEnabled(false);
    // Shortcuts work while a menu or dialog of the window has no focus.
    addActions(actions_.All());
}

void TFormMainWindow::CreateMenus()
{
    QMenu* file = menuBar()->addMenu(QStringLiteral("File"));
    file->setObjectName(QStringLiteral("MenuFile"));
    file->addAction(actions_.ActionWelcomePage);
    file->addSeparator();
    file->addAction(actions_.ActionBackup);
    file->addAction(actions_.ActionRestore);
    file->addSeparator();
    file->addAction(actions_.ActionPrint);
    file->addAction(actions_.ActionPrintSetup);
    file->addSeparator();
    file->addAction(actions_.ActionPreferences);
    file->addSeparator();
    file->addAction(actions_.ActionExit);

    QMenu* edit = menuBar()->addMenu(QStringLiteral("Edit"));
    edit->setObjectName(QStringLiteral("MenuEdit"));
    edit->addAction(actions_.ActionCopy);

    // Plan entries are inserted above ReadingMenuBreak, one per plan.
    readingMenu_ = menuBar()->addMenu(QStringLiteral("Reading"));
    readingMenu_->setObjectName(QStringLiteral("MenuReading"));
    readingMenuBreak_ = readingMenu_->addSeparator();
    readingMenuBreak_->setObjectName(QStringLiteral("ReadingMenuBreak"));
    readingMenu_->addAction(actions_.ActionNewReadPlan);
    readingMenu_->addAction(actions_.ActionReadingPlanManager);

    QMenu* devotional = menuBar()->addMenu(QStringLiteral("Devotional"));
    devotional->setObjectName(QStringLiteral("MenuDevotional"));
    devotional->addAction(actions_.ActionDevFaithsCheckbook);

    QMenu* prayers = menuBar()->addMenu(QStringLiteral("Prayers"));
    prayers->setObjectName(QStringLiteral("MenuPrayers"));
    prayers->addAction(actions_.ActionNewPrayer);
    prayers->addSeparator();
    prayers->addAction(actions_.ActionPrayersActive);
    prayers->addAction(actions_.ActionPrayersAnswered);
    prayers->addAction(actions_.ActionPrayersInactive);
    prayers->addAction(actions_.ActionPrayersAll);

    QMenu* help = menuBar()->addMenu(QStringLiteral("Help"));
    help->setObjectName(QStringLiteral("MenuHelp"));
    // A plain entry, not ActionHelp: it always opens the help contents.
    openHelpContents_ = help->addAction(QStringLiteral("Open Help"));
    openHelpContents_->setObjectName(QStringLiteral("OpenHelpContents1"));
    help->addSeparator();
    help->addAction(actions_.ActionKOVAWebsite);
    help->addAction(actions_.ActionCheckUpdate);
    help->addAction(actions_.ActionEmail);
    help->addSeparator();
    help->addAction(actions_.ActionAbout);
}

void TFormMainWindow::CreateToolBar()
{
    QToolBar* bar = addToolBar(QStringLiteral("Tools"));
    bar->setObjectName(QStringLiteral("RzToolbar1"));
    bar->setMovable(false);
    bar->setFloatable(false);
    bar->setFixedHeight(kToolBarHeight);
    bar->setIconSize(QSize(16, 16));
    bar->toggleViewAction()->setVisible(false);

    actions_.ActionWelcomePage->setIcon(PaintIcon(Picture::Home));
    actions_.ActionCopy->setIcon(PaintIcon(Picture::Copy));
    actions_.ActionPrint->setIcon(PaintIcon(Picture::Print));
    actions_.ActionHelp->setIcon(PaintIcon(Picture::Help));
    // Menus show captions only; the pictures belong to the tool bar.
    for (QAction* action : {actions_.ActionWelcomePage, actions_.ActionCopy, actions_.ActionPrint, actions_.ActionHelp})
        action->setIconVisibleInMenu(false);

    const QList<QAction*> buttons = {actions_.ActionWelcomePage, actions_.ActionCopy, actions_.ActionPrint,
                                     actions_.ActionHelp};
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

void TFormMainWindow::CreateGroupBar()
{
    groupBar_ = new TGroupBar;
    groupBar_->setObjectName(QStringLiteral("RzGroupBar1"));
    groupBar_->setFixedWidth(kGroupBarWidth);

    groupBar_->AddGroup(QStringLiteral("RzGroupWelcome"), QStringLiteral("Welcome"))
        ->AddAction(actions_.ActionWelcomePage);
    groupBar_->AddGroup(QStringLiteral("RzGroupDevotionals"), QStringLiteral("Daily Devotional"))
        ->AddAction(actions_.ActionDevFaithsCheckbook);
    // Plan entries go before "Start New Reading Plan...", one per plan.
    groupPlans_ = groupBar_->AddGroup(QStringLiteral("RzGroupPlans"), QStringLiteral("Daily Bible Reading"));
    groupPlans_->AddAction(actions_.ActionNewReadPlan);
    TGroupBarGroup* prayers = groupBar_->AddGroup(QStringLiteral("RzGroupPrayerTracker"), QStringLiteral("Prayer Tracker"));
    for (QAction* action : {actions_.ActionNewPrayer, actions_.ActionPrayersActive, actions_.ActionPrayersAnswered,
                            actions_.ActionPrayersInactive, actions_.ActionPrayersAll})
        prayers->AddAction(action);
}

void TFormMainWindow::CreatePages()
{
    pages_ = new QStackedWidget;
    pages_->setObjectName(QStringLiteral("RzPageControl1"));
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

    frameWelcome_ = new TFrameKOVAWelcomePage(dialogs_);
    frameWelcome_->setObjectName(QStringLiteral("FrameKOVAWelcomePage1"));
    pageLayout(Page::Welcome)->addWidget(frameWelcome_);

    frameDevotional_ = new TFrameKOVADevotionalDisplay(clock_, dialogs_);
    frameDevotional_->setObjectName(QStringLiteral("FrameKOVADevotionalDisplay1"));
    pageLayout(Page::Devotional)->addWidget(frameDevotional_);
    // The reading, plan manager and prayer pages are filled once the
    // preferences exist (CreatePlanPages, CreatePrayerPage).

    connect(pages_, &QStackedWidget::currentChanged, this, [this] { updateActions(); });
    connect(frameDevotional_->Viewer(), &QTextEdit::selectionChanged, this, [this] { updateActions(); });
    LeaveCopyKeyToTheWindow(frameDevotional_->Viewer(), frameDevotional_->ActionCopy);

    auto* central = new QWidget;
    auto* layout = new QHBoxLayout(central);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(groupBar_);
    layout->addWidget(pages_, 1);
    setCentralWidget(central);
}

void TFormMainWindow::CreateStatusBar()
{
    statusBar()->setObjectName(QStringLiteral("RzStatusBar1"));
    statusField_ = new QLabel;
    statusField_->setObjectName(QStringLiteral("StatusField"));
    statusBar()->addWidget(statusField_, 1);
}

void TFormMainWindow::CreateControllers()
{
    appCommands_ = std::make_unique<TAppCommands>(
        *this, this, actions_, [this]() -> TIniFile& { return *settings_; }, [this] { AssignPreferencesToFrames(); },
        [this] { BuildWelcomePage(); });
    devotionalCommands_ = std::make_unique<TDevotionalCommands>(*this, actions_, *frameDevotional_);
    backupCommands_ = std::make_unique<BackupCommands>(*this, *this, this);
    ConnectGuarded(actions_.ActionBackup, dialogs_, [this] { backupCommands_->ActionBackupExecute(); });
    ConnectGuarded(actions_.ActionRestore, dialogs_, [this] { backupCommands_->ActionRestoreExecute(); });
    // Welcome page links run the same actions as the menu entries.
    linkTarget_ = std::make_unique<ActionLinkTarget>(
        ActionLinkTarget::Actions{actions_.ActionDevFaithsCheckbook, actions_.ActionNewReadPlan,
                                  actions_.ActionReadingPlanManager, actions_.ActionNewPrayer,
                                  actions_.ActionPrayersActive, actions_.ActionPrayersInactive,
                                  actions_.ActionPrayersAnswered, actions_.ActionPrayersAll},
        [this](int plan) { planCommands_->ShowPlanDay(plan, 0); });
    frameWelcome_->SetLinkTarget(*linkTarget_);
}

void TFormMainWindow::CreateGeneralCommands()
{
    GeneralTargets targets;
    targets.devotionalViewer = frameDevotional_->Viewer();
    targets.bibleViewer = frameBible_->Viewer();
    targets.prayerText = framePrayerTracker_->TextArea();
    targets.currentPlan = [this] { return planCommands_->PlanManager()->CurrentPlan(); };
    targets.printPlan = [this](int plan, QPrinter& printer) { planCommands_->PrintPlanDetails(plan, printer); };
    generalCommands_ = new TGeneralCommands(*this, std::move(targets), this);
    generalCommands_->CopyAction = actions_.ActionCopy;

    // The controller's slots run their own error guard.
    const auto bind = [this](QAction* action, void (TGeneralCommands::*slot)()) {
        connect(action, &QAction::triggered, generalCommands_, slot);
    };
    bind(actions_.ActionCopy, &TGeneralCommands::ActionCopyExecute);
    bind(actions_.ActionPrint, &TGeneralCommands::ActionPrintExecute);
    bind(actions_.ActionPrintSetup, &TGeneralCommands::ActionPrintSetupExecute);
    bind(actions_.ActionHelp, &TGeneralCommands::ActionHelpExecute);
    bind(openHelpContents_, &TGeneralCommands::OpenHelpContents1Click);
    bind(actions_.ActionKOVAWebsite, &TGeneralCommands::ActionKOVAWebsiteExecute);
    bind(actions_.ActionEmail, &TGeneralCommands::ActionEmailExecute);
    bind(actions_.ActionCheckUpdate, &TGeneralCommands::ActionCheckUpdateExecute);
    bind(actions_.ActionAbout, &TGeneralCommands::ActionAboutExecute);
    updateActions();
}

void TFormMainWindow::CreatePlanPages()
{
    planCommands_ = new PlanController(*this, this);
    planCommands_->setObjectName(QStringLiteral("PlanCommands"));

    TFrameKOVAReadingPage* reading = planCommands_->ReadingPage();
    reading->setObjectName(QStringLiteral("FrameKOVAReadingPage1"));
    QWidget* readingPage = pages_->widget(static_cast<int>(Page::BibleRead));
    readingPage->layout()->setContentsMargins(0, 0, 0, 0);
    readingPage->layout()->addWidget(reading);
    frameBible_ = reading->FrameKOVABibleDisplay1;
    frameBible_->setObjectName(QStringLiteral("FrameKOVABibleDisplay1"));
    connect(frameBible_->Viewer(), &QTextEdit::selectionChanged, this, [this] { updateActions(); });
    LeaveCopyKeyToTheWindow(frameBible_->Viewer(), frameBible_->ActionCopy);

    TFrameKOVAPlanManager* manager = planCommands_->PlanManager();
    manager->setObjectName(QStringLiteral("FrameKOVAPlanManager1"));
    QWidget* managerPage = pages_->widget(static_cast<int>(Page::PlanManager));
    managerPage->layout()->setContentsMargins(0, 0, 0, 0);
    managerPage->layout()->addWidget(manager);

    // The window's two plan actions are the ones in its menus and side bar;
    // the plan commands' own actions carry the handlers.
    connect(actions_.ActionNewReadPlan, &QAction::triggered, planCommands_->ActionNewReadPlan, &QAction::trigger);
    connect(actions_.ActionReadingPlanManager, &QAction::triggered, planCommands_->ActionReadingPlanManager,
            &QAction::trigger);
    planCommands_->SetReadingMenu(readingMenu_, readingMenuBreak_);
    planCommands_->SetPlanEntriesChanged([this](const std::vector<PlanEntry>& entries) { FillSideBarPlans(entries); });
}

void TFormMainWindow::CreatePrayerPage()
{
    prayerEditor_ = new TFormPrayerEdit(dialogs_, settings_.get(), this);
    prayerEditor_->setObjectName(QStringLiteral("FormPrayerEdit"));
    QWidget* page = pages_->widget(static_cast<int>(Page::PrayerTracker));
    framePrayerTracker_ = new TFrameKOVAPrayerTracker(*this, *prayerEditor_, page);
    framePrayerTracker_->setObjectName(QStringLiteral("FrameKOVAPrayerTracker1"));
    page->layout()->setContentsMargins(0, 0, 0, 0);
    page->layout()->addWidget(framePrayerTracker_);
    connect(framePrayerTracker_->TextArea(), &QTextEdit::selectionChanged, this, [this] { updateActions(); });
    LeaveCopyKeyToTheWindow(framePrayerTracker_->TextArea(), framePrayerTracker_->ActionCopy);

    prayerCommands_ = new TPrayerCommands(*this, *framePrayerTracker_, *prayerEditor_, this);
    // The controller's slots run their own error guard.
    connect(actions_.ActionNewPrayer, &QAction::triggered, prayerCommands_, &TPrayerCommands::ActionNewPrayerExecute);
    connect(actions_.ActionPrayersActive, &QAction::triggered, prayerCommands_,
            &TPrayerCommands::ActionPrayersActiveExecute);
    connect(actions_.ActionPrayersAnswered, &QAction::triggered, prayerCommands_,
            &TPrayerCommands::ActionPrayersAnsweredExecute);
    connect(actions_.ActionPrayersInactive, &QAction::triggered, prayerCommands_,
            &TPrayerCommands::ActionPrayersInactiveExecute);
    connect(actions_.ActionPrayersAll, &QAction::triggered, prayerCommands_, &TPrayerCommands::ActionPrayersAllExecute);
}

// ---- plan entries

void TFormMainWindow::FillSideBarPlans(const std::vector<PlanEntry>& entries)
{
    for (QAction* old : sideBarPlanEntries_) {
        groupPlans_->RemoveAction(old);
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
        ConnectGuarded(action, dialogs_, [this, plan] { planCommands_->PlanItemClick(plan); });
        groupPlans_->InsertAction(position, action, entry.bold);
        sideBarPlanEntries_.push_back(action);
        ++position;
    }
}

// ---- Shell

TKOVAPreferences& TFormMainWindow::Preferences()
{
    return *prefs_;
}

TKOVABible& TFormMainWindow::Bible()
{
    return *bible_;
}

TKOVADevotional& TFormMainWindow::Devotional()
{
    return *devotionals_.front();
}

TKOVAReadPlans& TFormMainWindow::ReadPlans()
{
    // A store that could not be opened again after a backup, restore or
    // import is opened again here, on its next use.
    if (!session_)
        throw Exception("The reading plan store is not open");
    return session_->Plans();
}

TKOVAPrayerTracker& TFormMainWindow::PrayerTracker()
{
    if (!session_)
        throw Exception("The prayer store is not open");
    return session_->Prayers();
}

void TFormMainWindow::CloseUserStores()
{
    session_->Close();
}

void TFormMainWindow::OpenUserStores()
{
    // Another program may still be finishing a write to one of the files.
    session_->OpenRetrying(kBackupLockWaitMs);
}

void TFormMainWindow::RefreshPlanViews(int plan)
{
    planCommands_->RefreshPlanViews(plan);
}

void TFormMainWindow::BuildWelcomePage()
{
    frameWelcome_->BuildWelcomePage(*this);
}

void TFormMainWindow::ShowPage(Page page)
{
    pages_->setCurrentIndex(static_cast<int>(page));
}

Page TFormMainWindow::CurrentPage() const
{
    return static_cast<Page>(pages_->currentIndex());
}

// ---- caption, enabling rules and idle work

void TFormMainWindow::UpdateCaption()
{
    setWindowTitle(FromBytes("Kovara " + FileVersionText()));
    statusField_->clear();
}

void TFormMainWindow::updateActions()
{
    if (!generalCommands_)
        return; // still starting: both stay disabled
    actions_.ActionCopy->setEnabled(generalCommands_->ActionCopyUpdate());
    actions_.ActionPrint->setEnabled(generalCommands_->ActionPrintUpdate());
}

void TFormMainWindow::ScheduleIdle()
{
    if (idleTimer_ && !idleTimer_->isActive())
        idleTimer_->start();
}

void TFormMainWindow::ApplicationEvents1Idle()
{
    RunImportOffer(
        prefs_->OfferImport1x, dialogs_,
        [this] {
            version1Import_(*this);
            // Questions cut short by the window closing were never answered.
            return !closing_;
        },
        [this] { prefs_->SavePreferences(); });
    updateActions();
}

void TFormMainWindow::showEvent(QShowEvent* event)
{
    QMainWindow::showEvent(event);
    ScheduleIdle();
}

void TFormMainWindow::closeEvent(QCloseEvent* event)
{
    // Nothing asks for confirmation and nothing cancels the close.
    closing_ = true;
    RunGuarded(dialogs_, [this] { FormClose(); });
    event->accept();
}

bool TFormMainWindow::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::MouseButtonRelease:
    case QEvent::KeyRelease:
    case QEvent::FocusIn:
    case QEvent::Shortcut:
        ScheduleIdle();
        break;
    default:
        break;
    }
    return QMainWindow::eventFilter(watched, event);
}

} // namespace kovara::ui
