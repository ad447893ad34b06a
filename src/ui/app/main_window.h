#pragma once
// The main window: tool bar, side bar of command groups, status bar and the
// page area with its six pages (welcome, devotional, the reading page of a
// plan day, the plan manager, the prayer journal and the Bible page, the
// last made when first opened). It owns everything that lives for the whole
// run (the preferences, the stores and the devotional connection), opens them
// in its constructor and frees them in its destructor, in the order the
// program relies on. Commands live in one controller per subsystem and the
// pages follow the session's signals themselves; the window only builds the
// layout and connects them.
#include "ui/base/core_names.h"
#include "ui/app/app_stores.h"
#include "ui/app/backup_commands.h"
#include "ui/base/dialogs.h"
#include "ui/app/main_actions.h"
#include "ui/app/main_chrome.h"
#include "ui/base/shell.h"

#include <QMainWindow>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class QLabel;
class QTextEdit;
class QMenu;
class QStackedWidget;

struct sqlite3;

namespace kovara::core {
class Clock;
class BibleStore;
class IniFile;
class UserSession;
class DevotionalStore;
class Preferences;
class PrayerStore;
class PlanStore;
} // namespace kovara::core

namespace kovara::ui {

class AppCommands;
class GeneralCommands;
class DevotionalCommands;
class PassageView;
class DevotionalPage;
class BiblePage;
class GroupBar;
class GroupBarGroup;
class PrayerEditor;
class PrayerTrackerPage;
class PrayerCommands;
class WelcomePage;
class ActionLinkTarget;
class PlanController;
class ReminderNotifier;
class SyncController;
class ContentPage;

class MainWindow : public QMainWindow, public Shell, public UserStoreHost {
    Q_OBJECT
public:
    // contentFolder (the shipped content) with a trailing separator; appDataFolder as the platform
    // reports it (no trailing separator, empty for none). dialogs answers every
    // message box and clock tells the date; both must outlive the window.
    // Raises when start-up fails, after releasing whatever it had opened.
    MainWindow(const std::string& contentFolder, const std::string& appDataFolder, Dialogs& dialogs,
                    const Clock& clock);
    ~MainWindow() override;

    // Shell
    Preferences& preferences() override { return stores_.preferences(); }
    BibleStore& bible() override { return stores_.bible(); }
    DevotionalStore& devotional() override { return stores_.devotional(); }
    PlanStore& planStore() override { return stores_.planStore(); }
    PrayerStore& prayerStore() override { return stores_.prayerStore(); }
    Dialogs& dialogs() override { return dialogs_; }
    const Clock& clock() override { return clock_; }
    const std::string& contentFolder() const override { return contentFolder_; }
    const std::string& userDataFolder() const override { return userDataFolder_; }
    void showPage(Page page) override;
    Page currentPage() const override;
    // "Read the Bible": fills the Bible page on first use (the last chapter
    // read, or Genesis 1), shows it and puts the focus in its go-to field.
    void openBiblePage();
    // A "bible:" link clicked on a plan day or the devotional page: opens
    // that chapter on the Bible page (other links are left alone).
    void openBibleLink(const QString& href);
    // A reference given on the command line ("John 3:16"): opens it on the
    // Bible page, or leaves it in the page's field with the reason it could
    // not be read.
    void openBibleReference(const QString& reference);
    // Runs open on the Bible page (made when needed) and shows it with the
    // focus on the text when open succeeds (always when showAnyway).
    void openOnBiblePage(const std::function<bool(BiblePage&)>& open, bool showAnyway);

    // UserStoreHost: backup, restore and the version-1 import free and reopen
    // the plan store and the prayer store around their file work.
    void closeUserStores() override { stores_.closeUserStores(); }
    void openUserStores() override { stores_.openUserStores(); }
    // Rebuilds the welcome summary from the current stores and makes it the
    // current page.
    void buildWelcomePage();

    // The help file shown by the help commands.
    const std::string& helpFile() const { return helpFile_; }
    const MainActions& mainActions() const { return actions_; }
    ReminderNotifier* reminder() const { return reminder_; }

    // The caption "Kovara" and the file version; empties the status bar.
    void updateCaption();

    // Evaluates the enabling rules of Copy and Print for the current page.
    void updateActions();

    // Replaces the routine the import offer runs once the window is first
    // shown (tests count its calls).
    void setVersion1Import(std::function<void(Shell&)> routine) { version1Import_ = std::move(routine); }

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    // The page in the stack's place for page; null until it is made.
    ContentPage* pageAt(Page page) const;
    // The page, made and placed the first time it is needed.
    ContentPage* ensurePage(Page page);
    PrayerEditor& prayerEditor();
    // Puts content into the stack's place for page; Copy and Print follow
    // it, and it takes the preferences now and whenever they change.
    void placePage(Page page, ContentPage* content);
    void saveState();

    void createPages();
    void createControllers();
    // The prayer commands, which make the prayer page and the editor on
    // first use.
    void createPrayerPage();
    // The plan commands, which make the reading page and the plan manager
    // page on first use.
    void createPlanPages();
    // Copy, print, printer set-up, help, about and the outside addresses.
    void createGeneralCommands();
    // The daily reading reminder and its section of the preferences; it
    // needs settings.ini and the plan store.
    // The reading reminder and the folder sync, with their preferences sections.
    void createReminder();
    // The one-time offer to take over the previous version's data.
    void offerImport();

    Dialogs& dialogs_;
    const Clock& clock_;
    std::string contentFolder_;
    std::string appDataFolder_;
    std::string userDataFolder_;
    std::string helpFile_;

    MainActions actions_;
    MainMenus menus_;
    SideBar sideBar_;
    QStackedWidget* pages_ = nullptr;
    QLabel* statusField_ = nullptr;

    WelcomePage* welcomePage_ = nullptr;
    // Each made when first opened.
    DevotionalPage* devotionalPage_ = nullptr;
    BiblePage* biblePage_ = nullptr;
    PrayerTrackerPage* prayerTrackerPage_ = nullptr;
    PrayerEditor* prayerEditor_ = nullptr; // made when an item is first edited

    AppStores stores_;

    std::unique_ptr<AppCommands> appCommands_;
    std::unique_ptr<DevotionalCommands> devotionalCommands_;
    std::unique_ptr<BackupCommands> backupCommands_;
    GeneralCommands* generalCommands_ = nullptr; // owned as a child
    PlanController* planCommands_ = nullptr; // owned as a child
    std::unique_ptr<ActionLinkTarget> linkTarget_;
    PrayerCommands* prayerCommands_ = nullptr; // owned as a child
    ReminderNotifier* reminder_ = nullptr;     // owned as a child
    SyncController* sync_ = nullptr;           // owned as a child

    std::function<void(Shell&)> version1Import_;
    bool importOffered_ = false;
    bool closing_ = false;
};

} // namespace kovara::ui
