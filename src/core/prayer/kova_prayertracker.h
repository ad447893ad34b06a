#pragma once
// The prayer journal's store: every prayer item lives as one row of the table
// prayerTracker in prayers.kova2. Nothing is cached; each operation is one
// short statement against the file (autocommit), so the file is always current.
// Items are never removed: deleting one sets its status to "Deleted", after
// which no listing, count, topic list or title search sees it.
#include "base/datetime.h"
#include "db/sqlite_db.h"

#include <cstdint>
#include <string>
#include <vector>

namespace kovara {

// One row of the listing, fields in select order.
struct TPrayerHeaderRec {
    std::string prayerTitle;
    std::string prayerTopic;
    std::string previewText;
    std::string prayerStatus;
    TDateTime createTime = 0;
    TDateTime lastEditTime = 0;
    std::int32_t prayerIndex = 0;
};

using TPrayerHeaderRecArray = std::vector<TPrayerHeaderRec>;

// Status values as stored, and the filter word for every item not deleted.
inline constexpr const char* kPrayerActive = "Active";
inline constexpr const char* kPrayerAnswered = "Answered";
inline constexpr const char* kPrayerInactive = "Inactive";
inline constexpr const char* kPrayerDeleted = "Deleted";
inline constexpr const char* kPrayerFilterAny = "Any";

class TKOVAPrayerTracker {
public:
    static constexpr const char* kTableName = "prayerTracker";

    // Opens (creating when missing) fileName and makes sure the table and its
    // four indexes exist; an existing table is left as it is. clock answers
    // "now" for new items and edit times (not owned; must outlive the store;
    // null means the system clock). Raises ESQLite3 when the file cannot be
    // opened or the schema cannot be made; the schema is then rolled back and
    // nothing is left open.
    explicit TKOVAPrayerTracker(const std::string& fileName, const Clock* clock = nullptr);
    // Closes the connection; a failing close is not reported here (call Close
    // first to see it).
    ~TKOVAPrayerTracker();
    TKOVAPrayerTracker(const TKOVAPrayerTracker&) = delete;
    TKOVAPrayerTracker& operator=(const TKOVAPrayerTracker&) = delete;

    // Closes the connection now; raises ESQLite3 when the engine refuses.
    // Any later operation on the store raises.
    void Close();

    const std::string& FileName() const { return fileName_; }

    // Inserts an "Active" item under the first free default title ("New Prayer
    // Item", "New Prayer Item 2", ...) with createTime and lastEditTime both
    // set to createTime (0 = now), and returns its index.
    std::int32_t NewPrayerItem(TDateTime createTime = 0);

    // The stored times. Raise "Prayer index not valid: %d" when the row is
    // missing or holds no time.
    TDateTime GetCreateTime(std::int32_t prayerIndex) const;
    TDateTime GetLastEditTime(std::int32_t prayerIndex) const;

    // The listing for a status filter ("Active", "Answered", "Inactive",
    // "Deleted" or "Any"), ordered by orderClause (program-made SQL, may be
    // empty). Replaces the contents of headers. Raises for any other filter.
    void GetPrayerHeaders(const std::string& statusFilter, const std::string& orderClause,
                          TPrayerHeaderRecArray& headers) const;
    // The listing ordered by topic, then title (byte-wise: no topic first,
    // capitals before small letters).
    void GetPrayerHeadersByTopic(const std::string& statusFilter, TPrayerHeaderRecArray& headers) const;

    // The index of a live (not deleted) item with exactly this title, or -1.
    std::int32_t FindPrayerByTitle(const std::string& title) const;

    // Column values; empty when the row is missing or the column is NULL.
    std::string GetPrayerStatus(std::int32_t prayerIndex) const;
    std::string GetPrayerTitle(std::int32_t prayerIndex) const;
    std::string GetPrayerTopic(std::int32_t prayerIndex) const;
    // A copy of the stored document bytes; empty when there are none.
    std::string GetPrayerText(std::int32_t prayerIndex) const;

    // Items matching a status filter (see GetPrayerHeaders).
    int CountPrayers(const std::string& statusFilter) const;

    // The distinct topics of live items in byte order, empty topics left out.
    std::vector<std::string> GetTopicList() const;

    // Sets the status only; lastEditTime stays. A missing index changes nothing.
    void SetPrayerStatus(std::int32_t prayerIndex, const std::string& status);

    // Replaces all five content columns at once; every empty value is stored
    // as NULL. touchEditTime also sets lastEditTime to now. A missing index
    // changes nothing.
    void UpdatePrayer(std::int32_t prayerIndex, const std::string& title, const std::string& topic,
                      const std::string& previewText, const std::string& status, const std::string& textData,
                      bool touchEditTime);

private:
    void EnsureSchema();
    sqlite3* Db() const;
    TDateTime GetTime(const char* column, std::int32_t prayerIndex) const;
    std::string GetTextColumn(const char* column, const char* operation, std::int32_t prayerIndex) const;
    // The WHERE clause for a status filter; raises for an unknown filter.
    static std::string FilterClause(const std::string& statusFilter, const char* operation);

    sqlite3* db_ = nullptr;
    std::string fileName_;
    const Clock* clock_;
};

} // namespace kovara
