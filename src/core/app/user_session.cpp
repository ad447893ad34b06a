#include "core/app/user_session.h"

#include "core/db/sqlite_db.h"
#include "core/plans/plan_store.h"
#include "core/prayer/prayer_store.h"

#include <chrono>
#include <thread>

namespace kovara::core {

namespace {
bool isLockedError(const std::exception& e)
{
    const std::string message = e.what();
    return message.rfind(format("SQLite Error %d ", SQLITE_BUSY), 0) == 0 ||
           message.rfind(format("SQLite Error %d ", SQLITE_LOCKED), 0) == 0;
}
} // namespace

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
