#pragma once
// Database: the one owner of an SQLite connection. Every store keeps its
// connection in one, so every store follows the same rules: the destructor
// never raises, and close() is the place where a failing close is reported.
#include "core/db/sqlite_db.h"

#include <string>

namespace kovara::core {

class Database {
public:
    // Flags for a connection that may write and creates a missing file. Each
    // such connection is used by one thread only, so the engine need not lock
    // its mutex around every call (a measurable share of reading the plans at
    // start-up).
    static constexpr int kReadWriteCreate = SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE | SQLITE_OPEN_NOMUTEX;

    // A closed object: owns nothing until another Database is moved into it.
    Database() = default;

    // Opens fileName with the given sqlite3_open_v2 flags. Raises SqliteError
    // (naming fileName, see raiseSQLiteError) when the engine refuses; the
    // half-made handle the engine hands back is closed again, so nothing stays
    // open. The connection waits up to kBusyTimeoutMs for another
    // connection's lock before a statement fails as locked.
    explicit Database(const std::string& fileName, int flags = kReadWriteCreate);

    // Closes the connection when one is still owned and never raises. A
    // connection that cannot close yet (a statement someone forgot to finalize)
    // is handed to sqlite3_close_v2, which frees it once the last such
    // statement is finalized; the failure itself is not reported here - call
    // close() first to see it.
    ~Database();

    Database(const Database&) = delete;
    Database& operator=(const Database&) = delete;

    // Takes over other's connection; other is left closed.
    Database(Database&& other) noexcept;
    // Closes this object's own connection quietly (as the destructor does),
    // then takes over other's; other is left closed.
    Database& operator=(Database&& other) noexcept;

    // Closes the connection now. Does nothing when already closed. Raises
    // SqliteError when the engine refuses (SQLITE_BUSY while a statement is
    // unfinalized); the connection then stays open and usable, still owned
    // here, so the caller may finish what holds it and call close() again, or
    // leave it to the destructor.
    void close();

    // The raw connection, or null when closed. Still owned by this object:
    // never close it through the pointer.
    sqlite3* handle() const { return db_; }
    sqlite3* get() const { return db_; }
    bool isOpen() const { return db_ != nullptr; }
    explicit operator bool() const { return isOpen(); }

    // Gives up ownership: returns the connection (null when closed) and
    // leaves this object closed. The caller now closes it.
    [[nodiscard]] sqlite3* release() noexcept;

private:
    sqlite3* db_ = nullptr;
};

} // namespace kovara::core
