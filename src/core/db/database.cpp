#include "core/db/database.h"

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
    sqlite3* db = nullptr;
    const int rc = sqlite3_open_v2(fileName.c_str(), &db, flags, nullptr);
    try {
        checkResult(rc, db);
    } catch (...) {
        // The engine hands back a handle even on failure (for its message);
        // it must be closed.
        closeQuietly(db);
        throw;
    }
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
    // On failure checkResult raises with the engine's text and db_ stays
    // owned: sqlite3_close leaves a connection it refused to close intact.
    checkResult(sqlite3_close(db_), db_);
    db_ = nullptr;
}

sqlite3* Database::release() noexcept
{
    return std::exchange(db_, nullptr);
}

} // namespace kovara::core
