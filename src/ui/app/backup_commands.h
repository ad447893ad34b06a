#pragma once
// "Backup..." and "Restore from Backup...": the two commands that copy the
// user's two databases (prayers.kova2 and userreadplans.kova2) into one
// *.kova2bak file and back. The file work itself lives in the core
// (app/backup_file.h); this piece asks the user, closes and reopens the
// stores around the file work, and refreshes the views afterwards.
//
// Both commands free the plan store and the prayer store and create new ones
// on the same paths, so nothing may keep either store across them: every
// view asks the shell for the store at each use.
//
// Wiring in the main window, in outline:
//   class TFormMainWindow : public QMainWindow, public Shell, public UserStoreHost
//   // before the plan store and the prayer store are first opened:
//   RecoverInterruptedUserData(userDataFolder_);
//   // after the actions are made:
//   backupCommands_ = std::make_unique<BackupCommands>(*this, *this, this);
//   ConnectGuarded(actions.ActionBackup, dialogs, [this] { backupCommands_->ActionBackupExecute(); });
//   ConnectGuarded(actions.ActionRestore, dialogs, [this] { backupCommands_->ActionRestoreExecute(); });
//   // UserStoreHost:
//   void CloseUserStores() override { prayer_.reset(); plans_.reset(); }
//   void OpenUserStores() override
//   {
//       if (!plans_) plans_ = std::make_unique<TKOVAReadPlans>(userDataFolder_ + "userreadplans.kova2", clock_);
//       if (!prayer_) prayer_ = std::make_unique<TKOVAPrayerTracker>(userDataFolder_ + "prayers.kova2", &clock_);
//   }
//   void RefreshPlanViews(int plan) override { readingCommands_->RefreshPlanViews(plan); }
//   void BuildWelcomePage() override { frameWelcome_->BuildWelcomePage(*this); }
// The idle handler keeps calling ImportVersion1Data(*this) (ui/prayer/version1_import.h),
// which finds the UserStoreHost on the shell.
#include "app/backup_file.h"

#include <QString>
#include <functional>
#include <string>

class QWidget;

namespace kovara {
struct TUserDatabases;
}

namespace kovara::ui {

class Shell;

// What the commands need from the main window beyond Shell: freeing and
// recreating the two user stores, and rebuilding the views of their data.
class UserStoreHost {
public:
    virtual ~UserStoreHost() = default;

    // Frees the prayer store, then the plan store, closing their database
    // files. Afterwards Shell::PrayerTracker() and Shell::ReadPlans() must not
    // be called until OpenUserStores has run. While they are closed a progress
    // window may be shown, so paint events and timers can still be delivered
    // (no user input: the progress window is application-modal).
    virtual void CloseUserStores() = 0;
    // Creates each store that is missing again on its path: the plan store
    // first, then the prayer store, retrying for a moment while another
    // program finishes a write. Raises when a store cannot be opened; a
    // store opened before the failure stays open, and the one still missing
    // is opened again on its next use.
    virtual void OpenUserStores() = 0;
    // Rebuilds the plan entries of the Reading menu and the side bar, reloads
    // the plan manager on plan and shows the reading page again.
    virtual void RefreshPlanViews(int plan) = 0;
    // Rebuilds the welcome summary from the current stores and makes it the
    // current page.
    virtual void BuildWelcomePage() = 0;
};

// The dialogs' titles and filter.
inline const QString kBackupDialogTitle = QStringLiteral("Specify backup file location and name");
inline const QString kRestoreDialogTitle = QStringLiteral("Specity backup file to restore");
inline const QString kBackupFilter = QStringLiteral("Kovara backup files (*.kova2bak)");
inline const QString kBackupExtension = QStringLiteral(".kova2bak");

// The confirmation before a restore, for the file at path.
QString RestoreQuestion(const QString& path);

// The two user databases of a user data folder (with its trailing separator).
TUserDatabases UserDatabasesIn(const std::string& userDataFolder);

// Run at start-up before either user store is opened: finishes a restore that
// was interrupted after both restored images were complete, or throws away
// what an earlier interrupted restore left behind. Never raises.
void RecoverInterruptedUserData(const std::string& userDataFolder);

class BackupCommands {
public:
    // shell and host are usually the same main window; window parents the
    // progress window (may be null). None is owned; all must outlive this.
    BackupCommands(Shell& shell, UserStoreHost& host, QWidget* window = nullptr);

    // "Backup...": asks where to write the backup, writes it and says so. A
    // name typed without an extension gets ".kova2bak". An error (the file
    // cannot be written, a database cannot be read) is raised after both
    // stores are open again; an earlier file at the chosen path is then left
    // as it was and LastBackupFile does not change. The current page stays.
    void ActionBackupExecute();

    // "Restore from Backup...": asks for the backup file, checks it, asks for
    // confirmation, and replaces both databases from it, keeping the current
    // ones as .old files beside them. A damaged backup leaves the current
    // databases exactly as they were and shows the failure message. Both
    // stores are open again afterwards whatever happened; a restore that got
    // as far as closing them ends on the rebuilt welcome page. LastRestoreFile
    // is set to the chosen file whatever the outcome.
    void ActionRestoreExecute();

    // The same without the file dialogs, for a path already chosen.
    void WriteBackup(const QString& path);
    void RestoreBackup(const QString& path);

    // How long a backup waits for another program's write to end.
    void SetLockWait(int ms) { lockWaitMs_ = ms; }

private:
    // Closes both stores, runs work, and opens both stores again whether work
    // succeeded or raised; then raises work's error, if any. When a store
    // cannot be opened again after work succeeded, that error is raised; after
    // work failed, work's error is the one raised (the store that is still
    // missing is opened again on its next use).
    void WithStoresClosed(const std::function<void()>& work);

    Shell& shell_;
    UserStoreHost& host_;
    QWidget* window_;
    int lockWaitMs_ = kBackupLockWaitMs;
};

} // namespace kovara::ui
