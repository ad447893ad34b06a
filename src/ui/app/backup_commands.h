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
// How the main window wires it: it calls recoverInterruptedUserData on the
// user data folder before its UserSession opens either store, makes one
// BackupCommands with itself as both Shell and UserStoreHost, and connects the
// Backup and Restore actions to backup() and restore(). As UserStoreHost it
// closes and reopens the stores through its UserSession and rebuilds the plan
// views and the welcome page.
#include "ui/base/core_names.h"
#include "core/app/backup_file.h"
#include "ui/base/user_store_host.h"

#include <QString>
#include <functional>
#include <string>

class QWidget;

namespace kovara::core {
struct UserDatabases;
}

namespace kovara::ui {

class Shell;


// The dialogs' titles and filter, in English; they are shown translated.
inline const char* const kBackupDialogTitle =
    QT_TRANSLATE_NOOP("kovara::ui::BackupCommands", "Specify backup file location and name");
inline const char* const kRestoreDialogTitle =
    QT_TRANSLATE_NOOP("kovara::ui::BackupCommands", "Specity backup file to restore");
inline const char* const kBackupFilter =
    QT_TRANSLATE_NOOP("kovara::ui::BackupCommands", "Kovara backup files (*.kova2bak)");
inline const QString kBackupExtension = QStringLiteral(".kova2bak");

// The confirmation before a restore, for the file at path.
QString restoreQuestion(const QString& path);

// The two user databases of a user data folder (with its trailing separator).
UserDatabases userDatabasesIn(const std::string& userDataFolder);

// Run at start-up before either user store is opened: finishes a restore that
// was interrupted after both restored images were complete, or throws away
// what an earlier interrupted restore left behind. Never raises.
void recoverInterruptedUserData(const std::string& userDataFolder);

// Run once the user stores are open (at start and after a restore): when
// reading plans could not be loaded, names them and their problem in one
// message and asks whether to delete them. They stay out of the plan lists
// either way; Yes marks them deleted in the file, No leaves them there for a
// restore (and the question comes again at the next start). Returns true when
// plans were deleted.
bool reportDamagedPlans(Shell& shell);

// The question at start about a user database the stores do not recognise;
// problem says what was found in it.
QString unexpectedDatabaseQuestion(const QString& problem);

class BackupCommands {
public:
    // shell and host are usually the same main window; window parents the
    // progress window (may be null). None is owned; all must outlive this.
    BackupCommands(Shell& shell, UserStoreHost& host, QWidget* window = nullptr);

    // "Backup...": asks where to write the backup, writes it and says so. A
    // name typed without an extension gets ".kova2bak". An error (the file
    // cannot be written, a database cannot be read) is raised after both
    // stores are open again; an earlier file at the chosen path is then left
    // as it was and lastBackupFile does not change. The current page stays.
    void backup();

    // "Restore from Backup...": asks for the backup file, checks it, asks for
    // confirmation, and replaces both databases from it, keeping the current
    // ones as .old files beside them. A damaged backup leaves the current
    // databases exactly as they were and shows the failure message. Both
    // stores are open again afterwards whatever happened; a restore that got
    // as far as closing them ends on the rebuilt welcome page. lastRestoreFile
    // is set to the chosen file whatever the outcome.
    void restore();

    // The same without the file dialogs, for a path already chosen.
    void writeBackup(const QString& path);
    void restoreBackup(const QString& path);

    // How long a backup or a restore waits for another program's write to end.
    void setLockWait(int ms) { lockWaitMs_ = ms; }

private:
    // Closes both stores, runs work, and opens both stores again whether work
    // succeeded or raised; then raises work's error, if any. When a store
    // cannot be opened again after work succeeded, that error is raised; after
    // work failed, work's error is the one raised (the store that is still
    // missing is opened again on its next use).
    void withStoresClosed(const std::function<void()>& work);

    Shell& shell_;
    UserStoreHost& host_;
    QWidget* window_;
    int lockWaitMs_ = kBackupLockWaitMs;
};

} // namespace kovara::ui
