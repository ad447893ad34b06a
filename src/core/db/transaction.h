#pragma once
// One unit of work on a connection that composes: a transaction of its own,
// or a savepoint inside the caller's.
#include "core/db/sqlite_db.h"

namespace kovara::core {

// Runs body as one unit of work on db: inside a transaction opened with
// begin ("BEGIN TRANSACTION", "BEGIN IMMEDIATE TRANSACTION") and committed
// when body returns; or, when the caller already holds a transaction, inside
// a savepoint of it, so that a store's own all-or-nothing operations can be
// gathered into one larger transaction (one commit for a whole batch). When
// body or the commit raises, its work is rolled back (to the savepoint when
// nested; the caller's transaction stays open) and the error passes on.
template <typename Body>
void inTransaction(sqlite3* db, const char* begin, Body&& body)
{
    if (!sqlite3_get_autocommit(db)) {
        execSQL(db, "SAVEPOINT kovara_unit");
        try {
            body();
            execSQL(db, "RELEASE SAVEPOINT kovara_unit");
        } catch (...) {
            if (!sqlite3_get_autocommit(db)) {
                sqlite3_exec(db, "ROLLBACK TO SAVEPOINT kovara_unit", nullptr, nullptr, nullptr);
                sqlite3_exec(db, "RELEASE SAVEPOINT kovara_unit", nullptr, nullptr, nullptr);
            }
            throw;
        }
        return;
    }
    execSQL(db, begin);
    try {
        body();
        execSQL(db, "COMMIT TRANSACTION");
    } catch (...) {
        // A failed COMMIT may leave the transaction open; a failed step may
        // already have rolled it back, in which case this does nothing.
        if (!sqlite3_get_autocommit(db))
            sqlite3_exec(db, "ROLLBACK TRANSACTION", nullptr, nullptr, nullptr);
        throw;
    }
}

} // namespace kovara::core
