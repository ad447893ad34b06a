#pragma once
// The main window: tool bar, side bar of command groups, status bar and the
// page area with its five pages. It owns everything that lives for the whole
// run (the preferences, the stores and the devotional connection), opens them
// in its constructor and frees them in its destructor, in the order the
// program relies on. Commands live in one controller per subsystem; the
// window only builds the layout and wires them up.
#include "ui/app/backup_commands.h"
#include "ui/app/dialogs.h"
#include "ui/app/main_actions.h"
#include "ui/shell.h"

#include <QMainWindow>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class QLabel;
class QMenu;
class QStackedWidget;
class QTimer;

struct sqlite3;

namespace kovara {
class Clock;
class TKOVABible;
class TIniFile;
class UserSession;
class TKOVADevotional;
class TKOVAPreferences;
class TKOVAPrayerTracker;
class TKOVAReadPlans;
} // namespace kovara

namespace kovara::ui {

class TAppCommands;
class TGeneralCommands;
class TDevotionalCommands;
class TFrameKOVABibleDisplay;
class TFrameKOVADevotionalDisplay;
class TGroupBar;
class TGroupBarGroup;
class TFormPrayerEdit;
class TFrameKOVAPrayerTracker;
class TPrayerCommands;
class TFrameKOVAWelcomePage;
class ActionLinkTarget;
class PlanController;
struct PlanEntry;

class TFormMainWindow : public QMainWindow, public Shell, public UserStoreHost {
    Q_OBJECT
public:
    // programFolder with a trailing separator; appDataFolder as the platform
    // reports it (no trailing separator, empty for none). dialogs answers every
    // message box and clock tells the date; both must outlive the window.
    // Raises when start-up fails, after releasing whatever it had opened.
    TFormMainWindow(const std::string& programFolder, const std::string& appDataFolder, Dialogs& dialogs,
                    const Clock& clock);
    ~TFormMainWindow() override;

    // Shell
    TKOVAPreferences& Preferences() override;
    TKOVABible& Bible() override;
    TKOVADevotional& Devotional() override;
    TKOVAReadPlans& ReadPlans() override;
    TKOVAPrayerTracker& PrayerTracker() override;
    Dialogs& GetDialogs() override { return dialogs_; }
    const Clock& GetClock() override { return clock_; }
    const std::string& ProgramFolder() const override { return programFolder_; }
    const std::string& UserDataFolder() const override { return userDataFolder_; }
    void ShowPage(Page page) override;
    Page CurrentPage() const override;

    // UserStoreHost: backup, restore and the version-1 import free and reopen
    // the plan store and the prayer store around their file work.
    void CloseUserStores() override;
    void OpenUserStores() override;
    void RefreshPlanViews(int plan) override;
    void BuildWelcomePage() override;

    // The help file shown by the help commands.
    const std::string& HelpFile() const { return helpFile_; }
    const TMainActions& Actions() const { return actions_; }

    // The caption "Kovara" and the file version; empties the status bar.
    void UpdateCaption();

    // Evaluates the enabling rules of Copy and Print.
    void updateActions();

    // Replaces the routine the idle handler runs for the one-time import
    // offer (tests count its calls).
    void SetVersion1Import(std::function<void(Shell&)> routine) { version1Import_ = std::move(routine); }

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void FormCreate(const std::string& appDataFolder);
    void FormClose();
    void FormDestroy();

    void CreateActions();
    void CreateMenus();
    void CreateToolBar();
    void CreateGroupBar();
    void CreatePages();
    void CreateStatusBar();
    void CreateControllers();
    // The prayer editor, the prayer page's frame and the prayer commands;
    // they need settings.ini, so they come once it is known.
    void CreatePrayerPage();
    // The reading page, the plan manager page and the plan commands; they
    // need the preferences.
    void CreatePlanPages();
    // Copy, print, printer set-up, help, about and the outside addresses;
    // they act on the pages' viewers, so they come once every page is filled.
    void CreateGeneralCommands();
    // Replaces the plan entries of the side bar (before "Start New Reading
    // Plan..."); the Reading menu's are kept by the plan commands.
    void FillSideBarPlans(const std::vector<PlanEntry>& entries);
    // Hands the preferences to the display frames, which apply them at once.
    void AssignPreferencesToFrames();

    // Runs the idle handler once the event queue is empty again.
    void ScheduleIdle();
    void ApplicationEvents1Idle();

    Dialogs& dialogs_;
    const Clock& clock_;
    std::string programFolder_;
    std::string appDataFolder_;
    std::string userDataFolder_;
    std::string helpFile_;

    TMainActions actions_;
    QMenu* readingMenu_ = nullptr;
    QAction* readingMenuBreak_ = nullptr;
    QAction* openHelpContents_ = nullptr; // "Open Help" of the Help menu
    std::vector<QAction*> sideBarPlanEntries_; // owned
    TGroupBar* groupBar_ = nullptr;
    TGroupBarGroup* groupPlans_ = nullptr;
    QStackedWidget* pages_ = nullptr;
    QLabel* statusField_ = nullptr;

    TFrameKOVAWelcomePage* frameWelcome_ = nullptr;
    TFrameKOVADevotionalDisplay* frameDevotional_ = nullptr;
    TFrameKOVABibleDisplay* frameBible_ = nullptr;
    TFrameKOVAPrayerTracker* framePrayerTracker_ = nullptr;
    TFormPrayerEdit* prayerEditor_ = nullptr; // hidden until an item is edited

    // The connection to devotional.kova2, lent to the devotional store. Closed
    // quietly here only when start-up fails half way; the normal shutdown
    // closes it itself so that a failure is shown.
    struct DevotionalConnection {
        sqlite3* db = nullptr;
        DevotionalConnection() = default;
        DevotionalConnection(const DevotionalConnection&) = delete;
        DevotionalConnection& operator=(const DevotionalConnection&) = delete;
        ~DevotionalConnection();
    };

    // Stores, declared so that an unwinding constructor frees them in the
    // same order as the destructor does: devotionals first, then their
    // connection, then the Bible store.
    std::unique_ptr<TIniFile> settings_;
    std::unique_ptr<TKOVAPreferences> prefs_;
    std::unique_ptr<TKOVABible> bible_;
    std::unique_ptr<UserSession> session_;
    DevotionalConnection devotionalDb_;
    std::vector<std::unique_ptr<TKOVADevotional>> devotionals_;

    std::unique_ptr<TAppCommands> appCommands_;
    std::unique_ptr<TDevotionalCommands> devotionalCommands_;
    std::unique_ptr<BackupCommands> backupCommands_;
    TGeneralCommands* generalCommands_ = nullptr; // owned as a child
    PlanController* planCommands_ = nullptr; // owned as a child
    std::unique_ptr<ActionLinkTarget> linkTarget_;
    TPrayerCommands* prayerCommands_ = nullptr; // owned as a child

    std::function<void(Shell&)> version1Import_;
    bool closing_ = false;
    QTimer* idleTimer_ = nullptr;
};

} // namespace kovara::ui
