#pragma once
// One devotional in devotional.kova2: a table with one HTML entry per calendar
// day (columns entryIndex, month, day, devotionalText). The store borrows the
// connection (several devotionals share one file); its owner - a Database -
// closes it after the store is gone.
#include "core/db/sqlite_db.h"

#include <string>

namespace kovara::core {

class DevotionalStore {
public:
    // Keeps the four and checks that the table has rows. Raises
    // "DevotionalStore.Create: Unable to get entryIndex from %s" for an empty
    // table, and SqliteError for a table that is not there. db is not owned and
    // must outlive the store.
    DevotionalStore(const std::string& tableName, const std::string& title, const std::string& author, sqlite3* db);
    DevotionalStore(const DevotionalStore&) = delete;
    DevotionalStore& operator=(const DevotionalStore&) = delete;

    const std::string& tableName() const { return tableName_; }
    const std::string& title() const { return title_; }
    const std::string& author() const { return author_; }

    // The entry of a calendar day, as stored. A day without an entry does not
    // raise: the result is then a readable error text, which the page shows in
    // place of the entry. Engine failures raise SqliteError.
    std::string entryByDay(int month, int day) const;

private:
    std::string tableName_;
    std::string title_;
    std::string author_;
    sqlite3* db_;
};

} // namespace kovara::core
