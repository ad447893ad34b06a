#include "ui/app/app_stores.h"

#include "core/app/backup_file.h"
#include "core/app/preferences.h"
#include "core/app/user_session.h"
#include "core/base/exception.h"
#include "core/base/files.h"
#include "core/content/bible_store.h"
#include "core/content/devotional_store.h"
#include "core/plans/plan_store.h"
#include "core/prayer/prayer_store.h"
#include "core/settings/data_folders.h"
#include "core/settings/ini_file.h"
#include "ui/base/text_codec.h"

#include <QCoreApplication>

namespace kovara::ui {

AppStores::AppStores(const Clock& clock) : clock_(clock) {}

AppStores::~AppStores() = default;

void AppStores::open(const std::string& contentFolder, const std::string& userDataFolder,
                     const UnexpectedDatabaseQuestion& ask)
{
    ensureUserDataFolder(userDataFolder);
    settings_ = std::make_unique<IniFile>(userDataFolder + "settings.ini");
    prefs_ = std::make_unique<Preferences>(*settings_);

    // Shipped content is only read: opened read-only, a missing file is said
    // at once instead of being made empty in the program folder.
    const std::string devotionalFile = contentFolder + "devotional.kova2";
    if (!fileExists(devotionalFile))
        throw Exception(format("Devotional file not found: %s", devotionalFile));
    devotionalDb_ = Database(devotionalFile, SQLITE_OPEN_READONLY | SQLITE_OPEN_NOMUTEX);
    devotionals_.clear();
    devotionals_.push_back(std::make_unique<DevotionalStore>("faithsCheckbook", "Faith's Checkbook",
                                                             "R. M. Halvard", devotionalDb_.get()));
    bible_ = std::make_unique<BibleStore>(contentFolder + "bible.kova2", "King James Version", "KJV");

    session_ = std::make_unique<UserSession>(userDataFolder, clock_);
    // Looked at after an interrupted restore is settled, before a store
    // could add its tables to a file it does not know.
    recoverInterruptedRestore(session_->databases());
    for (const UnexpectedDatabase& found : findUnexpectedDatabases(session_->databases())) {
        if (!ask || !ask(found.problem))
            throw Exception(found.problem);
        setAsideDatabase(found.path);
    }
    session_->planStore();
    session_->prayerStore();
}

void AppStores::close()
{
    while (!devotionals_.empty())
        devotionals_.pop_back();
    devotionalDb_.close();
    if (session_)
        session_->shutdown();
    bible_.reset();
    // Saved here, not only by the object's destructor, so that a file that
    // cannot be written is reported.
    if (prefs_) {
        prefs_->savePreferences();
        prefs_.reset();
    }
}

PlanStore& AppStores::planStore()
{
    if (!session_)
        throw Exception(toBytes(QCoreApplication::translate("kovara::ui::MainWindow", "The reading plan store is not open")));
    return session_->planStore();
}

PrayerStore& AppStores::prayerStore()
{
    if (!session_)
        throw Exception(toBytes(QCoreApplication::translate("kovara::ui::MainWindow", "The prayer store is not open")));
    return session_->prayerStore();
}

void AppStores::closeUserStores()
{
    session_->close();
}

void AppStores::openUserStores()
{
    // Another program may still be finishing a write to one of the files.
    session_->openRetrying(kBackupLockWaitMs);
}

} // namespace kovara::ui
