#include "ui/app/backup_commands.h"

#include "app/backup_file.h"
#include "app/kova_prefs.h"
#include "plans/kova_readplan.h"
#include "prayer/kova_prayertracker.h"
#include "ui/app/dialogs.h"
#include "ui/shell.h"
#include <QCursor> // before the busy cursor, which needs the full type

#include "ui/widgets/busy_cursor.h"
#include "ui/widgets/text_codec.h"

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

    BackupProgress Callback()
    {
        return [this](std::int64_t done, std::int64_t total) { Update(done, total); };
    }

private:
    static constexpr int kSteps = 1000;

    void Update(std::int64_t done, std::int64_t total)
    {
        if (total <= 0)
            return;
        if (!dialog_) {
            dialog_ = std::make_unique<QProgressDialog>(label_, QString(), 0, kSteps, parent_);
            dialog_->setWindowTitle(QStringLiteral("Kovara"));
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

QString RestoreQuestion(const QString& path)
{
    return QStringLiteral("You are about to restore Prayer and Reading Plan data from \"%1\".\n\n"
                          "This will erase any existing Prayer and Reading Plan data you may have.\n"
                          "Are you sure you wish to proceed?")
        .arg(path);
}

TUserDatabases UserDatabasesIn(const std::string& userDataFolder)
{
    TUserDatabases databases;
    databases.PrayersPath = userDataFolder + "prayers.kova2";
    databases.PlansPath = userDataFolder + "userreadplans.kova2";
    return databases;
}

void RecoverInterruptedUserData(const std::string& userDataFolder)
{
    // The stores then open whatever the recovery left; a failure of the file
    // system here would show up there as an error of its own.
    try {
        RecoverInterruptedRestore(UserDatabasesIn(userDataFolder));
    } catch (...) {
    }
}

BackupCommands::BackupCommands(Shell& shell, UserStoreHost& host, QWidget* window)
    : shell_(shell), host_(host), window_(window)
{
}

void BackupCommands::WithStoresClosed(const std::function<void()>& work)
{
    std::exception_ptr failure;
    host_.CloseUserStores();
    try {
        work();
    } catch (...) {
        failure = std::current_exception();
    }
    // The work's own error says more than a store that is still busy: such a
    // store is opened again on its next use.
    try {
        host_.OpenUserStores();
    } catch (...) {
        if (!failure)
            throw;
    }
    if (failure)
        std::rethrow_exception(failure);
}

void BackupCommands::ActionBackupExecute()
{
    TKOVAPreferences& prefs = shell_.Preferences();
    Dialogs& dialogs = shell_.GetDialogs();
    QString path = dialogs.ChooseSaveFile(kBackupDialogTitle, kBackupFilter, FromBytes(prefs.LastBackupFile));
    if (path.isEmpty())
        return;
    // The dialog asked about overwriting the name as typed; a completed name
    // is a different file, so ask about that one here.
    if (QFileInfo(path).suffix().isEmpty()) {
        path += kBackupExtension;
        if (QFileInfo::exists(path) &&
            !dialogs.Confirm(QStringLiteral("%1 already exists.\nDo you want to replace it?").arg(path)))
            return;
    }
    WriteBackup(path);
    prefs.LastBackupFile = ToBytes(path);
    dialogs.Message(QStringLiteral("Backup process complete."));
}

void BackupCommands::WriteBackup(const QString& path)
{
    TUserDatabases databases;
    databases.PrayersPath = shell_.PrayerTracker().FileName();
    databases.PlansPath = shell_.ReadPlans().FileName();
    const TDateTime created = shell_.GetClock().Now();

    BusyCursor busy;
    CopyProgress progress(window_, QStringLiteral("Writing the backup..."));
    WithStoresClosed(
        [&] { WriteBackupFile(ToBytes(path), databases, created, progress.Callback(), lockWaitMs_); });
}

void BackupCommands::ActionRestoreExecute()
{
    TKOVAPreferences& prefs = shell_.Preferences();
    const QString path =
        shell_.GetDialogs().ChooseOpenFile(kRestoreDialogTitle, kBackupFilter, FromBytes(prefs.LastRestoreFile));
    if (path.isEmpty())
        return;
    // Remembered whatever the restore's outcome.
    prefs.LastRestoreFile = ToBytes(path);
    RestoreBackup(path);
}

void BackupCommands::RestoreBackup(const QString& path)
{
    Dialogs& dialogs = shell_.GetDialogs();
    const std::string file = ToBytes(path);
    const BackupCheck check = CheckBackupFile(file);
    if (check != BackupCheck::Valid) {
        dialogs.Message(FromBytes(BackupCheckMessage(check, file)), Dialogs::Icon::Warning);
        return;
    }
    if (!dialogs.Confirm(RestoreQuestion(path)))
        return;

    TUserDatabases databases;
    databases.PrayersPath = shell_.PrayerTracker().FileName();
    databases.PlansPath = shell_.ReadPlans().FileName();

    bool restored = false;
    {
        BusyCursor busy;
        CopyProgress progress(window_, QStringLiteral("Restoring the backup..."));
        WithStoresClosed([&] {
            try {
                RestoreBackupFiles(file, databases, progress.Callback());
                restored = true;
            } catch (const ERestoreFailed&) {
                // The current databases are as they were; told below, once
                // the stores are open again.
            }
        });
        host_.RefreshPlanViews(0);
        host_.BuildWelcomePage();
    }
    if (restored)
        dialogs.Message(QStringLiteral("Data restoration process complete."));
    else
        dialogs.Message(QString::fromLatin1(kRestoreFailedMessage), Dialogs::Icon::Error);
}

} // namespace kovara::ui
