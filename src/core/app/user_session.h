#pragma once
// The user's two stores (reading plans and prayers) on their files in the user
// data folder, and the order in which they open, close and open again around
// backup, restore and import.
//
// Opening order: the plan store, then the prayer store. Closing order: the
// prayer store, then the plan store. Between close() and the next open() the
// stores are held closed (their files are being copied or replaced) and asking
// for one raises. Outside such a hold a store that is missing - because it
// could not be opened again after a backup, say, while another program held
// its file - is opened again on its next use, so a passing failure never
// leaves the program without its data until a restart.
//
// Before either store first opens, a restore that was cut short is finished or
// its leftovers thrown away (see recoverInterruptedRestore), so the stores
// never open a half-replaced pair of files.
#include "core/app/backup_file.h"
#include "core/base/datetime.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace kovara::core {

class PlanStore;
class PrayerStore;

// A user database that holds tables, but not the one its store lives on: a
// plan file without its list of plans, or an SQLite file that is no prayer
// journal. A store opened on it would add its own tables and leave the rest
// orphaned, so the file is looked at first and left as it is until the
// reader decides.
struct UnexpectedDatabase {
    std::string path;
    std::string problem; // what was found, for the reader
};

// Looks at the two user databases without changing them. Returns one entry
// for each that exists, holds tables and lacks its store's table; a missing
// or empty file (a new user), a store's own file and a file SQLite cannot
// read (reported when the store opens it) give none.
std::vector<UnexpectedDatabase> findUnexpectedDatabases(const UserDatabases& databases);

// Renames the file (and any journal beside it) to the first free name of
// path + ".unrecognised", ".unrecognised2", ...; returns the new name. Raises
// Exception when the rename fails.
std::string setAsideDatabase(const std::string& path);

// What the session does to the files, in order, for whoever follows it.
enum class SessionStep { RecoverRestore, OpenPlans, OpenPrayers, ClosePrayers, ClosePlans };

class UserSession {
public:
    // userDataFolder ends with a separator. Opens nothing yet. The clock must
    // outlive the session.
    UserSession(std::string userDataFolder, const Clock& clock);
    ~UserSession();
    UserSession(const UserSession&) = delete;
    UserSession& operator=(const UserSession&) = delete;

    // The stores. Each is opened here when missing and not held closed;
    // raises the open's error when that fails, or "The reading plan store is
    // not open" / "The prayer store is not open" while held closed.
    PlanStore& planStore();
    PrayerStore& prayerStore();

    // Opens each missing store, plans first. Ends a hold even when it fails;
    // raises the first failure (a store opened before it stays open).
    void open();
    // open(), tried again every few milliseconds for up to waitMs while the
    // failure is a database locked by another program.
    void openRetrying(int waitMs);
    // Frees the prayer store, then the plan store, and holds both closed
    // until the next open(). Never raises.
    void close();
    // The end of the session: closes the prayer store, then the plan store,
    // and frees both. A failed close is reported: the first one is raised
    // after both stores are freed.
    void shutdown();

    bool isOpen() const { return plans_ && prayers_; }
    bool isHeldClosed() const { return heldClosed_; }

    // Called with each step as it is taken (opening, closing, the recovery of
    // an interrupted restore).
    void setObserver(std::function<void(SessionStep)> observer) { observer_ = std::move(observer); }

    // The files of both stores.
    UserDatabases databases() const;
    const std::string& folder() const { return folder_; }

private:
    void recoverOnce();
    void openPlans();
    void openPrayers();
    void step(SessionStep s)
    {
        if (observer_)
            observer_(s);
    }

    std::string folder_;
    const Clock& clock_;
    std::unique_ptr<PlanStore> plans_;
    std::unique_ptr<PrayerStore> prayers_;
    bool heldClosed_ = false;
    bool recovered_ = false;
    std::function<void(SessionStep)> observer_;
};

} // namespace kovara::core
