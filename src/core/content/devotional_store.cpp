#include "core/content/devotional_store.h"

namespace kovara::core {

DevotionalStore::DevotionalStore(const std::string& tableName, const std::string& title, const std::string& author,
                                 sqlite3* db)
    : tableName_(tableName), title_(title), author_(author), db_(db)
{
    const bool hasRows =
        queryRow(db_, format("SELECT entryIndex FROM %s;", tableName_),
                 format("DevotionalStore: Unable to assign statement to db %s table %s", title_, tableName_),
                 [](Statement&) {});
    if (!hasRows)
        throw Exception(format("DevotionalStore: Unable to get entryIndex from %s", tableName_));
}

std::string DevotionalStore::entryByDay(int month, int day) const
{
    std::string entry = format("DevotionalStore::entryByDay Error: no entry found for %d-%d in %s", month, day, title_);
    queryRow(db_, format("SELECT devotionalText FROM %s WHERE month=%d AND day=%d;", tableName_, month, day),
             format("DevotionalStore::entryByDay: Unable to assign statement to db %s table %s for %d-%d", title_,
                    tableName_, month, day),
             [&](Statement& st) { entry = st.columnText(0); });
    return entry;
}

} // namespace kovara::core
