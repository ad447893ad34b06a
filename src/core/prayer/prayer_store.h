#pragma once
// The prayer journal's store: every prayer item lives as one row of the table
// prayerTracker in prayers.kova2. Nothing is cached; each operation is one
// short statement against the file (autocommit), so the file is always current.
// Items the user deletes are not removed: deleting one sets its status to
// "Deleted", after which no listing, count, topic list or title search sees
// it. Only a new item that was never saved is removed again (discardNewItem).
#include "core/base/datetime.h"
#include "core/db/database.h"
#include "core/db/sqlite_db.h"

#include <cstdint>
#include <string>
#include <vector>

namespace kovara::core {

// One row of the listing, fields in select order.
struct PrayerHeader {
    std::string prayerTitle;
    std::string prayerTopic;
    std::string previewText;
    std::string prayerStatus;
    DateTime createTime = 0;
    DateTime lastEditTime = 0;
    std::int32_t prayerIndex = 0;
};

using PrayerHeaders = std::vector<PrayerHeader>;

// Status values as stored, and the filter word for every item not deleted.
inline constexpr const char* kPrayerActive = "Active";
inline constexpr const char* kPrayerAnswered = "Answered";
inline constexpr const char* kPrayerInactive = "Inactive";
inline constexpr const char* kPrayerDeleted = "Deleted";
inline constexpr const char* kPrayerFilterAny = "Any";

class PrayerStore {
public:
    static constexpr const char* kTableName = "prayerTracker";

    // Opens (creating when missing) fileName and makes sure the table and its
    // four indexes exist; an existing table is left as it is. clock answers
    // "now" for new items and edit times (not owned; must outlive the store;
    // null means the system clock). Raises SqliteError when the file cannot be
    // opened or the schema cannot be made; the schema is then rolled back and
    // nothing is left open.
    explicit PrayerStore(const std::string& fileName, const Clock* clock = nullptr);
    // Closes the connection; never raises. A failing close is not reported
    // here (call close() first to see it).
    ~PrayerStore();
    PrayerStore(const PrayerStore&) = delete;
    PrayerStore& operator=(const PrayerStore&) = delete;

    // Closes the connection now; raises SqliteError when the engine refuses,
    // and the connection then stays open (see Database::close). Once closed,
    // any later operation on the store raises.
    void close();

    const std::string& fileName() const { return fileName_; }

    // Inserts an "Active" item under the first free default title ("New Prayer
    // Item", "New Prayer Item 2", ...) with createTime and lastEditTime both
    // set to createTime (0 = now), and returns its index.
    std::int32_t newPrayerItem(DateTime createTime = 0);
    // Removes the row of an item made by newPrayerItem whose editor was closed
    // without saving, so the journal is as it was before. A missing index
    // changes nothing.
    void discardNewItem(std::int32_t prayerIndex);

    // The stored times. Raise "Prayer index not valid: %d" when the row is
    // missing or holds no time.
    DateTime getCreateTime(std::int32_t prayerIndex) const;
    DateTime getLastEditTime(std::int32_t prayerIndex) const;

    // The listing for a status filter ("Active", "Answered", "Inactive",
    // "Deleted" or "Any"), ordered by orderClause (program-made SQL, may be
    // empty). Replaces the contents of headers. Raises for any other filter.
    void getPrayerHeaders(const std::string& statusFilter, const std::string& orderClause,
                          PrayerHeaders& headers) const;
    // The listing ordered by topic, then title (byte-wise: no topic first,
    // capitals before small letters).
    void getPrayerHeadersByTopic(const std::string& statusFilter, PrayerHeaders& headers) const;

    // The index of a live (not deleted) item with exactly this title, or -1.
    std::int32_t findPrayerByTitle(const std::string& title) const;

    // Column values; empty when the row is missing or the column is NULL.
    std::string getPrayerStatus(std::int32_t prayerIndex) const;
    std::string getPrayerTitle(std::int32_t prayerIndex) const;
    std::string getPrayerTopic(std::int32_t prayerIndex) const;
    // A copy of the stored document bytes; empty when there are none.
    std::string getPrayerText(std::int32_t prayerIndex) const;

    // Items matching a status filter (see getPrayerHeaders).
    int countPrayers(const std::string& statusFilter) const;

    // The distinct topics of live items in byte order, empty topics left out.
    std::vector<std::string> getTopicList() const;

    // Sets the status only; lastEditTime stays. A missing index changes nothing.
    void setPrayerStatus(std::int32_t prayerIndex, const std::string& status);

    // Replaces all five content columns at once; every empty value is stored
    // as NULL. touchEditTime also sets lastEditTime to now. A missing index
    // changes nothing.
    void updatePrayer(std::int32_t prayerIndex, const std::string& title, const std::string& topic,
                      const std::string& previewText, const std::string& status, const std::string& textData,
                      bool touchEditTime);

private:
    void ensureSchema();
    sqlite3* db() const;
    DateTime getTime(const char* column, std::int32_t prayerIndex) const;
    std::string getTextColumn(const char* column, const char* operation, std::int32_t prayerIndex) const;
    // The WHERE clause for a status filter; raises for an unknown filter.
    static std::string filterClause(const std::string& statusFilter, const char* operation);

    Database db_;
    std::string fileName_;
    const Clock* clock_;
};

} // namespace kovara::core
