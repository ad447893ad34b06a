#include "core/app/user_session.h"

#include "core/db/sqlite_db.h"
#include "core/plans/plan_store.h"
#include "core/prayer/prayer_store.h"

#include "core/base/files.h"
#include "core/base/translation.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <optional>
#include <thread>

namespace kovara::core {

namespace {
bool isLockedError(const std::exception& e)
{
    const auto* error = dynamic_cast<const SqliteError*>(&e);
    return error && ((error->code() & 0xff) == SQLITE_BUSY || (error->code() & 0xff) == SQLITE_LOCKED);
}
// The names of the tables in the file at path, without opening it for
// writing; nothing when it cannot be read as a database.
std::optional<std::vector<std::string>> tablesIn(const std::string& path)
{
    sqlite3* db = nullptr;
    std::optional<std::vector<std::string>> tables;
    if (sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READONLY, nullptr) == SQLITE_OK) {
        try {
            std::vector<std::string> names;
            queryRows(db, "SELECT name FROM sqlite_master WHERE type='table' ORDER BY name;", "tables",
                      [&](Statement& st) { names.push_back(st.columnText(0)); });
            tables = std::move(names);
        } catch (const std::exception&) {
        }
    }
    sqlite3_close(db);
    return tables;
}

std::string listed(const std::vector<std::string>& names)
{
    constexpr std::size_t kShown = 5;
    std::string list;
    for (std::size_t i = 0; i < names.size() && i < kShown; ++i)
        list += (i ? ", " : "") + names[i];
    if (names.size() > kShown)
        list += ", ...";
    return list;
}
} // namespace

std::vector<UnexpectedDatabase> findUnexpectedDatabases(const UserDatabases& databases)
{
    std::vector<UnexpectedDatabase> found;
    const struct {
        const std::string& path;
        const std::string& table;
        const char* problem;
    } files[] = {
        {databases.plansPath, databases.plansTable,
         QT_TRANSLATE_NOOP("kovara::core::UserSession",
                           "%1 has no list of reading plans (the table %2 is missing), but it holds %3 other "
                           "tables (%4): plans and their progress whose list has been lost, or a file of another "
                           "program.")},
        {databases.prayersPath, databases.prayersTable,
         QT_TRANSLATE_NOOP("kovara::core::UserSession",
                           "%1 is not a prayer journal (the table %2 is missing), but it holds %3 other tables "
                           "(%4): a file of another program, or a journal that has lost its items.")},
    };
    for (const auto& file : files) {
        if (!pathExists(file.path))
            continue;
        const auto tables = tablesIn(file.path);
        if (!tables || tables->empty() ||
            std::find(tables->begin(), tables->end(), file.table) != tables->end())
            continue;
        found.push_back({file.path, withArgs(translatedText("kovara::core::UserSession", file.problem), file.path,
                                             file.table, static_cast<int>(tables->size()), listed(*tables))});
    }
    return found;
}

std::string setAsideDatabase(const std::string& path)
{
    std::string target = path + ".unrecognised";
    for (int n = 2; pathExists(target); ++n)
        target = format("%s.unrecognised%d", path, n);
    if (::rename(path.c_str(), target.c_str()) != 0)
        throw Exception(withArgs(translatedText("kovara::core::UserSession", "Unable to rename %1 to %2: %3"), path,
                                 target, std::string(std::strerror(errno))));
    // A journal beside it belongs to it.
    for (const char* suffix : {"-journal", "-wal", "-shm"})
        if (pathExists(path + suffix))
            ::rename((path + suffix).c_str(), (target + suffix).c_str());
    return target;
}

UserSession::UserSession(std::string userDataFolder, const Clock& clock)
    : folder_(std::move(userDataFolder)), clock_(clock)
{
}

UserSession::~UserSession()
{
    close();
}

UserDatabases UserSession::databases() const
{
    UserDatabases databases;
    databases.prayersPath = folder_ + "prayers.kova2";
    databases.plansPath = folder_ + "userreadplans.kova2";
    return databases;
}

void UserSession::recoverOnce()
{
    if (recovered_)
        return;
    recovered_ = true;
    step(SessionStep::RecoverRestore);
    // File system errors are left to the stores' own opening to report.
    try {
        recoverInterruptedRestore(databases());
    } catch (...) {
    }
}

void UserSession::openPlans()
{
    if (plans_)
        return;
    recoverOnce();
    step(SessionStep::OpenPlans);
    plans_ = std::make_unique<PlanStore>(databases().plansPath, clock_);
}

void UserSession::openPrayers()
{
    if (prayers_)
        return;
    recoverOnce();
    step(SessionStep::OpenPrayers);
    prayers_ = std::make_unique<PrayerStore>(databases().prayersPath, &clock_);
}

PlanStore& UserSession::planStore()
{
    if (!plans_) {
        if (heldClosed_)
            throw Exception("The reading plan store is not open");
        openPlans();
    }
    return *plans_;
}

PrayerStore& UserSession::prayerStore()
{
    if (!prayers_) {
        if (heldClosed_)
            throw Exception("The prayer store is not open");
        openPrayers();
    }
    return *prayers_;
}

void UserSession::open()
{
    heldClosed_ = false;
    openPlans();
    openPrayers();
}

void UserSession::openRetrying(int waitMs)
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(waitMs);
    for (;;) {
        try {
            open();
            return;
        } catch (const std::exception& e) {
            if (!isLockedError(e) || std::chrono::steady_clock::now() >= deadline)
                throw;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
}

void UserSession::close()
{
    heldClosed_ = true;
    if (prayers_) {
        step(SessionStep::ClosePrayers);
        prayers_.reset();
    }
    if (plans_) {
        step(SessionStep::ClosePlans);
        plans_.reset();
    }
}

void UserSession::shutdown()
{
    heldClosed_ = true;
    // Both stores are closed and freed whatever happens; the first failing
    // close is the one raised, once both are gone.
    std::exception_ptr failure;
    if (prayers_) {
        try {
            prayers_->close();
        } catch (...) {
            failure = std::current_exception();
        }
        prayers_.reset();
    }
    if (plans_) {
        try {
            plans_->close();
        } catch (...) {
            if (!failure)
                failure = std::current_exception();
        }
        plans_.reset();
    }
    if (failure)
        std::rethrow_exception(failure);
}

} // namespace kovara::core
