#include "ui/app/backup_commands.h"
#include "ui/base/core_names.h"

#include "core/app/backup_file.h"
#include "core/app/preferences.h"
#include "core/plans/plan_store.h"
#include "core/prayer/prayer_store.h"
#include "ui/base/dialogs.h"
#include "ui/base/shell.h"
#include <QCursor> // before the busy cursor, which needs the full type

#include "ui/base/busy_cursor.h"
#include "ui/base/text_codec.h"
#include "ui/base/user_text.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QProgressDialog>
#include <algorithm>
#include <exception>
#include <memory>

namespace kovara::ui {

namespace {

// A progress window for the copy: it appears only when the work looks like
// taking more than a moment, has no Cancel button (a half-made copy is never
// wanted) and blocks all input to the other windows while it is up.
class CopyProgress {
public:
    CopyProgress(QWidget* parent, const QString& label) : parent_(parent), label_(label) {}

    BackupProgress callback()
    {
        return [this](std::int64_t done, std::int64_t total) { update(done, total); };
    }

private:
    static constexpr int kSteps = 1000;

    void update(std::int64_t done, std::int64_t total)
    {
        if (total <= 0)
            return;
        if (!dialog_) {
            dialog_ = std::make_unique<QProgressDialog>(label_, QString(), 0, kSteps, parent_);
            dialog_->setWindowTitle(QCoreApplication::translate("kovara::ui::BackupCommands", "Kovara"));
            dialog_->setWindowModality(Qt::ApplicationModal);
            dialog_->setMinimumDuration(500);
            dialog_->setAutoClose(false);
            dialog_->setAutoReset(false);
            dialog_->setValue(0);
        }
        const auto step = static_cast<int>(std::min<std::int64_t>(done, total) * kSteps / total);
        if (step != dialog_->value())
            dialog_->setValue(step);
    }

    QWidget* parent_;
    QString label_;
    std::unique_ptr<QProgressDialog> dialog_;
};

} // namespace

QString restoreQuestion(const QString& path)
{
    return QCoreApplication::translate("kovara::ui::BackupCommands", "You are about to restore Prayer and Reading Plan data from \"%1\".\n\n"
                          "This will erase any existing Prayer and Reading Plan data you may have.\n"
                          "Are you sure you wish to proceed?")
        .arg(plainUserText(path));
}

UserDatabases userDatabasesIn(const std::string& userDataFolder)
{
    UserDatabases databases;
    databases.prayersPath = userDataFolder + "prayers.kova2";
    databases.plansPath = userDataFolder + "userreadplans.kova2";
    return databases;
}

void recoverInterruptedUserData(const std::string& userDataFolder)
{
    // The stores then open whatever the recovery left; a failure of the file
    // system here would show up there as an error of its own.
    try {
        recoverInterruptedRestore(userDatabasesIn(userDataFolder));
    } catch (...) {
    }
}

QString unexpectedDatabaseQuestion(const QString& problem)
{
    return QCoreApplication::translate(
               "kovara::ui::BackupCommands",
               "%1\n\nKovara has not changed this file. Do you want to set it aside (it is renamed, with "
               "\".unrecognised\" added to its name) and start with a new, empty one? A backup can then be "
               "restored. No ends Kovara and leaves the file as it is.")
        .arg(problem);
}

bool reportDamagedPlans(Shell& shell)
{
    PlanStore& plans = shell.planStore();
    if (plans.damagedPlans().empty())
        return false;
    QString list;
    for (const core::DamagedPlan& plan : plans.damagedPlans())
        list += QCoreApplication::translate("kovara::ui::BackupCommands", "\u2022 \"%1\": %2\n")
                    .arg(plainUserText(fromBytes(plan.planTitle)), plainUserText(fromBytes(plan.reason)));
    const QString question = QCoreApplication::translate(
        "kovara::ui::BackupCommands",
        "These reading plans are damaged and cannot be opened:\n\n%1\n"
        "They are left out of the plan lists. Your other plans and your prayers are not affected, and "
        "restoring a backup that holds these plans brings them back.\n\n"
        "Do you want to delete the damaged plans?").arg(list);
    if (!shell.dialogs().confirm(question, Dialogs::Answer::No, Dialogs::Icon::Warning))
        return false;
    plans.deleteDamagedPlans();
    return true;
}

BackupCommands::BackupCommands(Shell& shell, UserStoreHost& host, QWidget* window)
    : shell_(shell), host_(host), window_(window)
{
}

void BackupCommands::withStoresClosed(const std::function<void()>& work)
{
    std::exception_ptr failure;
    host_.closeUserStores();
    try {
        work();
    } catch (...) {
        failure = std::current_exception();
    }
    // The work's own error says more than a store that is still busy: such a
    // store is opened again on its next use.
    try {
        host_.openUserStores();
    } catch (...) {
        if (!failure)
            throw;
    }
    if (failure)
        std::rethrow_exception(failure);
}

void BackupCommands::backup()
{
    Preferences& prefs = shell_.preferences();
    Dialogs& dialogs = shell_.dialogs();
    QString path = dialogs.chooseSaveFile(QCoreApplication::translate("kovara::ui::BackupCommands", kBackupDialogTitle),
                                          QCoreApplication::translate("kovara::ui::BackupCommands", kBackupFilter),
                                          fromBytes(prefs.lastBackupFile));
    if (path.isEmpty())
        return;
    // The dialog asked about overwriting the name as typed; a completed name
    // is a different file, so ask about that one here.
    if (QFileInfo(path).suffix().isEmpty()) {
        path += kBackupExtension;
        if (QFileInfo::exists(path) &&
            !dialogs.confirm(QCoreApplication::translate("kovara::ui::BackupCommands", "%1 already exists.\nDo you want to replace it?").arg(plainUserText(path))))
            return;
    }
    writeBackup(path);
    prefs.lastBackupFile = toBytes(path);
    dialogs.message(QCoreApplication::translate("kovara::ui::BackupCommands", "Backup process complete."));
}

void BackupCommands::writeBackup(const QString& path)
{
    UserDatabases databases;
    databases.prayersPath = shell_.prayerStore().fileName();
    databases.plansPath = shell_.planStore().fileName();
    const sys_seconds created = shell_.clock().now();

    BusyCursor busy;
    CopyProgress progress(window_, QCoreApplication::translate("kovara::ui::BackupCommands", "Writing the backup..."));
    withStoresClosed(
        [&] { writeBackupFile(toBytes(path), databases, created, progress.callback(), lockWaitMs_); });
}

void BackupCommands::restore()
{
    Preferences& prefs = shell_.preferences();
    const QString path =
        shell_.dialogs().chooseOpenFile(QCoreApplication::translate("kovara::ui::BackupCommands", kRestoreDialogTitle),
                                           QCoreApplication::translate("kovara::ui::BackupCommands", kBackupFilter),
                                           fromBytes(prefs.lastRestoreFile));
    if (path.isEmpty())
        return;
    // Remembered whatever the restore's outcome.
    prefs.lastRestoreFile = toBytes(path);
    restoreBackup(path);
}

void BackupCommands::restoreBackup(const QString& path)
{
    Dialogs& dialogs = shell_.dialogs();
    const std::string file = toBytes(path);
    const BackupCheck check = checkBackupFile(file);
    if (check != BackupCheck::Valid) {
        dialogs.message(fromBytes(backupCheckMessage(check, file)), Dialogs::Icon::Warning);
        return;
    }
    UserDatabases databases;
    databases.prayersPath = shell_.prayerStore().fileName();
    databases.plansPath = shell_.planStore().fileName();

    // The whole file is checked before the reader is asked to give up the
    // current data for it: a damaged backup is refused without the question.
    std::string damage;
    {
        BusyCursor busy;
        CopyProgress progress(window_, QCoreApplication::translate("kovara::ui::BackupCommands", "Checking the backup..."));
        try {
            checkBackupContents(file, databases, progress.callback());
        } catch (const RestoreFailed& e) {
            damage = e.what();
        }
    }
    if (!damage.empty()) {
        dialogs.message(fromBytes(damage), Dialogs::Icon::Error);
        return;
    }
    // A warning, not a plain question: Yes replaces the user's data.
    if (!dialogs.confirm(restoreQuestion(path), Dialogs::Answer::No, Dialogs::Icon::Warning))
        return;

    bool restored = false;
    std::string failure;
    {
        BusyCursor busy;
        CopyProgress progress(window_, QCoreApplication::translate("kovara::ui::BackupCommands", "Restoring the backup..."));
        withStoresClosed([&] {
            try {
                restoreBackupFiles(file, databases, progress.callback(), lockWaitMs_);
                restored = true;
            } catch (const RestoreFailed& e) {
                // The current databases are as they were; told below, once
                // the stores are open again.
                failure = e.what();
            }
        });
        shell_.session().notifyStoresReplaced();
    }
    if (restored)
        dialogs.message(QCoreApplication::translate("kovara::ui::BackupCommands", "Data restoration process complete."));
    else
        dialogs.message(fromBytes(failure), Dialogs::Icon::Error);
    if (reportDamagedPlans(shell_))
        shell_.session().notifyPlansChanged();
}

} // namespace kovara::ui
