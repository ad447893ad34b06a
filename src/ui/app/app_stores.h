#pragma once
// What the program keeps open for the whole run: settings.ini with the
// preferences, the devotionals with their connection, the Bible and the
// user's own stores (plans and prayers). open() opens them in order; close()
// releases them in the order the program relies on and lets a failure be
// reported (the preferences are saved then), while the destructor releases
// whatever is left quietly, as after a start-up that failed half way.
#include "ui/base/core_names.h"
#include "core/db/database.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace kovara::core {
class BibleStore;
class Clock;
class DevotionalStore;
class IniFile;
class PlanStore;
class Preferences;
class PrayerStore;
class UserSession;
} // namespace kovara::core

namespace kovara::ui {

// Asked, with what was found, about a user database that holds tables but
// not its store's (see findUnexpectedDatabases): true sets the file aside and
// starts with a new one, false leaves it as it is.
using UnexpectedDatabaseQuestion = std::function<bool(const std::string& problem)>;

class AppStores {
public:
    explicit AppStores(const Clock& clock);
    ~AppStores();
    AppStores(const AppStores&) = delete;
    AppStores& operator=(const AppStores&) = delete;

    // Opens settings.ini in userDataFolder (made when missing), the shipped
    // devotional and Bible of contentFolder, and the user's stores. Raises
    // the first failure, keeping what was opened for the destructor. A user
    // database the stores do not recognise is never changed: unless ask
    // agrees to set it aside, opening stops with the problem as the error.
    void open(const std::string& contentFolder, const std::string& userDataFolder,
              const UnexpectedDatabaseQuestion& ask = {});
    // Releases everything in order: devotionals, their connection, the
    // user's stores, the Bible; then saves and releases the preferences.
    // Raises the first failure; the rest is left to the destructor.
    void close();

    // Whether open() got as far as the preferences.
    bool isOpen() const { return prefs_ != nullptr; }
    IniFile& settings() { return *settings_; }
    Preferences& preferences() { return *prefs_; }
    BibleStore& bible() { return *bible_; }
    DevotionalStore& devotional() { return *devotionals_.front(); }
    // The user's stores; raise when they are not open (a store that could
    // not be opened again after a backup, restore or import is opened again
    // on its next use).
    PlanStore& planStore();
    PrayerStore& prayerStore();
    // Around backup, restore and the version-1 import.
    void closeUserStores();
    void openUserStores();

private:
    const Clock& clock_;
    // Declared so that the destructor frees them in the same order as
    // close(): devotionals first, then their connection, then the Bible.
    std::unique_ptr<IniFile> settings_;
    std::unique_ptr<Preferences> prefs_;
    std::unique_ptr<BibleStore> bible_;
    std::unique_ptr<UserSession> session_;
    Database devotionalDb_;
    std::vector<std::unique_ptr<DevotionalStore>> devotionals_;
};

} // namespace kovara::ui
