#include "app/user_session.h"

#include "db/sqlite_db.h"
#include "plans/kova_readplan.h"
#include "prayer/kova_prayertracker.h"

#include <chrono>
#include <thread>

namespace kovara {

namespace {
bool IsLockedError(const std::exception& e)
{
    const std::string message = e.what();
    return message.rfind(Format("SQLite Error %d ", SQLITE_BUSY), 0) == 0 ||
           message.rfind(Format("SQLite Error %d ", SQLITE_LOCKED), 0) == 0;
}
} // namespace

UserSession::UserSession(std::string userDataFolder, const Clock& clock)
    : folder_(std::move(userDataFolder)), clock_(clock)
{
}

UserSession::~UserSession()
{
    Close();
}

TUserDatabases UserSession::Databases() const
{
    TUserDatabases databases;
    databases.PrayersPath = folder_ + "prayers.kova2";
    databases.PlansPath = folder_ + "userreadplans.kova2";
    return databases;
}

void UserSession::OpenPlans()
{
    if (!plans_)
        plans_ = std::make_unique<TKOVAReadPlans>(Databases().PlansPath, clock_);
}

void UserSession::OpenPrayers()
{
    if (!prayers_)
        prayers_ = std::make_unique<TKOVAPrayerTracker>(Databases().PrayersPath, &clock_);
}

TKOVAReadPlans& UserSession::Plans()
{
    if (!plans_) {
        if (heldClosed_)
            throw Exception("The reading plan store is not open");
        OpenPlans();
    }
    return *plans_;
}

TKOVAPrayerTracker& UserSession::Prayers()
{
    if (!prayers_) {
        if (heldClosed_)
            throw Exception("The prayer store is not open");
        OpenPrayers();
    }
    return *prayers_;
}

void UserSession::Open()
{
    heldClosed_ = false;
    OpenPlans();
    OpenPrayers();
}

void UserSession::OpenRetrying(int waitMs)
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(waitMs);
    for (;;) {
        try {
            Open();
            return;
        } catch (const std::exception& e) {
            if (!IsLockedError(e) || std::chrono::steady_clock::now() >= deadline)
                throw;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
}

void UserSession::Close()
{
    heldClosed_ = true;
    prayers_.reset();
    plans_.reset();
}

void UserSession::Shutdown()
{
    heldClosed_ = true;
    std::exception_ptr failure;
    if (prayers_) {
        try {
            prayers_->Close();
        } catch (...) {
            failure = std::current_exception();
        }
        prayers_.reset();
    }
    plans_.reset();
    if (failure)
        std::rethrow_exception(failure);
}

} // namespace kovara
