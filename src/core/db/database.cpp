#include "core/db/database.h"

#include <fcntl.h>
#include <unistd.h>
#include <utility>

namespace kovara::core {

namespace {
// Closes without reporting. sqlite3_close_v2 succeeds even while statements
// are left, deferring the release until the last of them is finalized.
void closeQuietly(sqlite3* db) noexcept
{
    if (db)
        sqlite3_close_v2(db);
}
} // namespace

Database::Database(const std::string& fileName, int flags)
{
    // A new database file is its owner's alone (the engine would make it
    // readable by everyone); its journals take the same mode. An empty file
    // is a new, empty database to the engine.
    bool created = false;
    if ((flags & SQLITE_OPEN_CREATE) && !fileName.empty() && fileName != ":memory:" &&
        fileName.rfind("file:", 0) != 0) {
        const int fd = ::open(fileName.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0600);
        created = fd >= 0;
        if (created)
            ::close(fd);
    }
    // Each connection would otherwise set aside and write through about 200
    // KB for small allocations and a first batch of cached pages; the
    // program's databases are read in a few hundred statements, and at
    // start-up every page first written costs more than those allocations
    // save. Set before the engine's first use (later calls are refused and
    // change nothing).
    static const bool configured = [] {
        sqlite3_config(SQLITE_CONFIG_LOOKASIDE, 128, 32);
        sqlite3_config(SQLITE_CONFIG_PAGECACHE, nullptr, 0, 0);
        return true;
    }();
    (void)configured;
    sqlite3* db = nullptr;
    const int rc = sqlite3_open_v2(fileName.c_str(), &db, flags, nullptr);
    try {
        if (rc != SQLITE_OK)
            raiseSQLiteError(rc, db, fileName);
    } catch (...) {
        // The engine hands back a handle even on failure (for its message);
        // it must be closed.
        closeQuietly(db);
        if (created)
            ::unlink(fileName.c_str());
        throw;
    }
    // A write of another copy or program is waited for a moment instead of
    // failing at once with "database is locked".
    sqlite3_busy_timeout(db, kBusyTimeoutMs);
    db_ = db;
}

Database::~Database()
{
    closeQuietly(db_);
}

Database::Database(Database&& other) noexcept : db_(std::exchange(other.db_, nullptr))
{
}

Database& Database::operator=(Database&& other) noexcept
{
    if (this != &other) {
        closeQuietly(db_);
        db_ = std::exchange(other.db_, nullptr);
    }
    return *this;
}

void Database::close()
{
    if (!db_)
        return;
    // On failure the engine's text is raised and db_ stays owned:
    // sqlite3_close leaves a connection it refused to close intact. A refusal
    // is about this program's statements, not the file, so nothing is said
    // about the file.
    const int rc = sqlite3_close(db_);
    if (rc != SQLITE_OK)
        throw SqliteError(format("SQLite Error %d - %s", rc, std::string(sqlite3_errmsg(db_))), rc);
    db_ = nullptr;
}

sqlite3* Database::release() noexcept
{
    return std::exchange(db_, nullptr);
}

} // namespace kovara::core
