#include "content/kova_devotional.h"

namespace kovara {

TKOVADevotional::TKOVADevotional(const std::string& tableName, const std::string& title, const std::string& author,
                                 sqlite3* db)
    : tableName_(tableName), title_(title), author_(author), db_(db)
{
    const bool hasRows =
        QueryRow(db_, Format("SELECT entryIndex FROM %s;", tableName_),
                 Format("TKOVADevotional.Create: Unable to assign statement to db %s table %s", title_, tableName_),
                 [](Statement&) {});
    if (!hasRows)
        throw Exception(Format("TKOVADevotional.Create: Unable to get entryIndex from %s", tableName_));
}

std::string TKOVADevotional::GetEntryByDay(int month, int day) const
{
    std::string entry = Format("TOVADevotional.GetEntryByDay Error: no entry found for %d-%d in %s", month, day, title_);
    QueryRow(db_, Format("SELECT devotionalText FROM %s WHERE month=%d AND day=%d;", tableName_, month, day),
             Format("TKOVADevotional.GetEntryByDay: Unable to assign statement to db %s table %s for %d-%d", title_,
                    tableName_, month, day),
             [&](Statement& st) { entry = st.ColumnText(0); });
    return entry;
}

} // namespace kovara
