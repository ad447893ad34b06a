#include "prayer/kova_prayertracker.h"

#include <climits>

namespace kovara {

namespace {
const SystemClock kSystemClock;

std::string NoStatement(const char* operation)
{
    return Format("TKOVAPrayerTracker.%s: Unable to assign statement", operation);
}

// Prepares sql or raises the operation's "no statement" message.
void RequireStatement(const Statement& st, const char* operation)
{
    if (!st)
        throw Exception(NoStatement(operation));
}
} // namespace

TKOVAPrayerTracker::TKOVAPrayerTracker(const std::string& fileName, const Clock* clock)
    : fileName_(fileName), clock_(clock ? clock : &kSystemClock)
{
    OpenDatabase(fileName_, db_);
    try {
        EnsureSchema();
    } catch (...) {
        sqlite3_close(db_);
        db_ = nullptr;
        throw;
    }
}

TKOVAPrayerTracker::~TKOVAPrayerTracker()
{
    if (db_)
        sqlite3_close(db_);
}

void TKOVAPrayerTracker::Close()
{
    CloseDatabase(db_);
}

sqlite3* TKOVAPrayerTracker::Db() const
{
    if (!db_)
        throw Exception("TKOVAPrayerTracker Error: the prayer database is closed");
    return db_;
}

void TKOVAPrayerTracker::EnsureSchema()
{
    if (TableExists(db_, kTableName))
        return;
    const char* t = kTableName;
    const std::string statements[] = {
        Format("CREATE TABLE '%s' (prayerIndex INTEGER PRIMARY KEY, prayerTitle TEXT, prayerTopic TEXT, "
               "prayerTextData BLOB, prayerStatus TEXT, createTime INTEGER, lastEditTime INTEGER, "
               "previewText TEXT);",
               t),
        Format("CREATE INDEX '%s_prayerIndex' ON %s (prayerIndex);", t, t),
        Format("CREATE INDEX '%s_prayerTopic' ON %s (prayerTopic);", t, t),
        Format("CREATE INDEX '%s_prayerTitle' ON %s (prayerTitle);", t, t),
        Format("CREATE INDEX '%s_prayerStatus' ON %s (prayerStatus);", t, t),
    };
    ExecSQL(db_, "BEGIN TRANSACTION");
    try {
        for (const std::string& sql : statements)
            CheckResult(sqlite3_exec(db_, sql.c_str(), nullptr, nullptr, nullptr), db_);
        ExecSQL(db_, "COMMIT TRANSACTION");
    } catch (...) {
        // Undo the half-made schema so the file is not left with a table but
        // missing indexes, and the connection is not left inside a transaction.
        sqlite3_exec(db_, "ROLLBACK TRANSACTION", nullptr, nullptr, nullptr);
        throw;
    }
}

std::int32_t TKOVAPrayerTracker::NewPrayerItem(TDateTime createTime)
{
    std::string title = "New Prayer Item";
    for (int n = 2; FindPrayerByTitle(title) != -1; ++n)
        title = Format("New Prayer Item %d", n);

    if (createTime == 0)
        createTime = clock_->Now();
    const std::int64_t seconds = DateTimeToStoredSeconds(createTime);

    Statement st(Db(), Format("INSERT INTO '%s' (prayerTitle, prayerStatus, createTime, lastEditTime) "
                              "VALUES (?,?,?,?);",
                              kTableName));
    RequireStatement(st, "NewPrayerItem");
    st.Run([&] {
        st.BindText(1, title);
        st.BindText(2, kPrayerActive);
        st.BindInt64(3, seconds);
        st.BindInt64(4, seconds);
        st.Step();
    });
    return static_cast<std::int32_t>(sqlite3_last_insert_rowid(db_));
}

TDateTime TKOVAPrayerTracker::GetTime(const char* column, std::int32_t prayerIndex) const
{
    std::int64_t seconds = 0;
    Statement st(Db(), Format("SELECT %s FROM '%s' WHERE prayerIndex=?;", column, kTableName));
    RequireStatement(st, column[0] == 'c' ? "GetCreateTime" : "GetLastEditTime");
    st.Run([&] {
        st.BindInt(1, prayerIndex);
        if (st.Step() == SQLITE_ROW)
            seconds = st.ColumnInt64(0);
    });
    if (seconds == 0)
        throw Exception(Format("Prayer index not valid: %d", prayerIndex));
    return StoredSecondsToDateTime(seconds);
}

TDateTime TKOVAPrayerTracker::GetCreateTime(std::int32_t prayerIndex) const
{
    return GetTime("createTime", prayerIndex);
}

TDateTime TKOVAPrayerTracker::GetLastEditTime(std::int32_t prayerIndex) const
{
    return GetTime("lastEditTime", prayerIndex);
}

std::string TKOVAPrayerTracker::FilterClause(const std::string& statusFilter, const char* operation)
{
    // The filter is formatted into the statement, so only the known words may
    // pass; anything else could change the statement's meaning.
    if (statusFilter == kPrayerFilterAny)
        return Format(" WHERE prayerStatus!='%s'", kPrayerDeleted);
    if (statusFilter == kPrayerActive || statusFilter == kPrayerAnswered || statusFilter == kPrayerInactive ||
        statusFilter == kPrayerDeleted)
        return Format(" WHERE prayerStatus='%s'", statusFilter);
    throw Exception(Format("TKOVAPrayerTracker.%s Error: unknown status filter '%s'", operation, statusFilter));
}

void TKOVAPrayerTracker::GetPrayerHeaders(const std::string& statusFilter, const std::string& orderClause,
                                          TPrayerHeaderRecArray& headers) const
{
    std::string sql = Format(
        "SELECT prayerTitle,prayerTopic,previewText,prayerStatus,createTime,lastEditTime,prayerIndex FROM %s",
        kTableName);
    sql += FilterClause(statusFilter, "GetPrayerHeaders");
    if (!orderClause.empty())
        sql = Format("%s ORDER BY %s", sql, orderClause);
    sql += ";";

    headers.clear();
    QueryRows(Db(), sql, NoStatement("GetPrayerHeaders"), [&](Statement& st) {
        TPrayerHeaderRec rec;
        rec.prayerTitle = st.ColumnText(0);
        rec.prayerTopic = st.ColumnText(1);
        rec.previewText = st.ColumnText(2);
        rec.prayerStatus = st.ColumnText(3);
        rec.createTime = StoredSecondsToDateTime(st.ColumnInt64(4));
        rec.lastEditTime = StoredSecondsToDateTime(st.ColumnInt64(5));
        rec.prayerIndex = st.ColumnInt(6);
        headers.push_back(std::move(rec));
    });
}

void TKOVAPrayerTracker::GetPrayerHeadersByTopic(const std::string& statusFilter,
                                                 TPrayerHeaderRecArray& headers) const
{
    GetPrayerHeaders(statusFilter, "prayerTopic, prayerTitle", headers);
}

std::int32_t TKOVAPrayerTracker::FindPrayerByTitle(const std::string& title) const
{
    std::int32_t found = -1;
    Statement st(Db(),
                 Format("SELECT prayerIndex FROM '%s' WHERE prayerTitle=? AND prayerStatus!='%s';", kTableName,
                        kPrayerDeleted));
    RequireStatement(st, "FindPrayerByTitle");
    st.Run([&] {
        st.BindText(1, title);
        if (st.Step() == SQLITE_ROW)
            found = st.ColumnInt(0);
    });
    return found;
}

std::string TKOVAPrayerTracker::GetTextColumn(const char* column, const char* operation,
                                              std::int32_t prayerIndex) const
{
    std::string value;
    Statement st(Db(), Format("SELECT %s FROM '%s' WHERE prayerIndex=?;", column, kTableName));
    RequireStatement(st, operation);
    st.Run([&] {
        st.BindInt(1, prayerIndex);
        if (st.Step() == SQLITE_ROW)
            value = st.ColumnText(0);
    });
    return value;
}

std::string TKOVAPrayerTracker::GetPrayerStatus(std::int32_t prayerIndex) const
{
    return GetTextColumn("prayerStatus", "GetPrayerStatus", prayerIndex);
}

std::string TKOVAPrayerTracker::GetPrayerTitle(std::int32_t prayerIndex) const
{
    return GetTextColumn("prayerTitle", "GetPrayerTitle", prayerIndex);
}

std::string TKOVAPrayerTracker::GetPrayerTopic(std::int32_t prayerIndex) const
{
    return GetTextColumn("prayerTopic", "GetPrayerTopic", prayerIndex);
}

std::string TKOVAPrayerTracker::GetPrayerText(std::int32_t prayerIndex) const
{
    std::string bytes;
    Statement st(Db(), Format("SELECT prayerTextData FROM '%s' WHERE prayerIndex=?;", kTableName));
    RequireStatement(st, "GetPrayerText");
    st.Run([&] {
        st.BindInt(1, prayerIndex);
        if (st.Step() == SQLITE_ROW) {
            const void* data = sqlite3_column_blob(st.Handle(), 0);
            const int size = sqlite3_column_bytes(st.Handle(), 0);
            if (data && size > 0)
                bytes.assign(static_cast<const char*>(data), static_cast<std::size_t>(size));
        }
    });
    return bytes;
}

int TKOVAPrayerTracker::CountPrayers(const std::string& statusFilter) const
{
    const std::string sql = Format("SELECT prayerIndex FROM '%s'%s;", kTableName,
                                   FilterClause(statusFilter, "CountPrayers"));
    return QueryRows(Db(), sql, NoStatement("CountPrayers"), [](Statement&) {});
}

std::vector<std::string> TKOVAPrayerTracker::GetTopicList() const
{
    std::vector<std::string> topics;
    QueryRows(Db(),
              Format("SELECT prayerTopic FROM '%s' WHERE prayerStatus!='%s' GROUP BY prayerTopic ORDER BY "
                     "prayerTopic;",
                     kTableName, kPrayerDeleted),
              NoStatement("GetTopicList"), [&](Statement& st) {
                  std::string topic = st.ColumnText(0);
                  if (!topic.empty())
                      topics.push_back(std::move(topic));
              });
    return topics;
}

void TKOVAPrayerTracker::SetPrayerStatus(std::int32_t prayerIndex, const std::string& status)
{
    Statement st(Db(), Format("UPDATE '%s' SET prayerStatus=? WHERE prayerIndex=%d", kTableName, prayerIndex));
    RequireStatement(st, "SetPrayerStatus");
    st.Run([&] {
        st.BindText(1, status);
        st.Step();
    });
}

void TKOVAPrayerTracker::UpdatePrayer(std::int32_t prayerIndex, const std::string& title, const std::string& topic,
                                      const std::string& previewText, const std::string& status,
                                      const std::string& textData, bool touchEditTime)
{
    const TDateTime now = clock_->Now();
    const std::string sql =
        touchEditTime ? Format("UPDATE '%s' SET prayerTitle=?, prayerTopic=?, prayerTextData=?, previewText=?, "
                               "prayerStatus=?, lastEditTime=? WHERE prayerIndex=%d",
                               kTableName, prayerIndex)
                      : Format("UPDATE '%s' SET prayerTitle=?, prayerTopic=?, prayerTextData=?, previewText=?, "
                               "prayerStatus=? WHERE prayerIndex=%d",
                               kTableName, prayerIndex);
    Statement st(Db(), sql);
    RequireStatement(st, "UpdatePrayer");
    // Parameters left unbound are NULL, so every empty value is stored as NULL.
    st.Run([&] {
        st.BindText(1, title);
        if (!topic.empty())
            st.BindText(2, topic);
        if (!textData.empty()) {
            if (textData.size() > static_cast<std::size_t>(INT_MAX))
                throw Exception("TKOVAPrayerTracker.UpdatePrayer Error: the prayer text is too large to store");
            const int rc = sqlite3_bind_blob(st.Handle(), 3, textData.data(), static_cast<int>(textData.size()),
                                             SQLITE_TRANSIENT);
            if (rc != SQLITE_OK)
                RaiseSQLiteError(rc, nullptr);
        }
        if (!previewText.empty())
            st.BindText(4, previewText);
        if (!status.empty())
            st.BindText(5, status);
        if (touchEditTime)
            st.BindInt64(6, DateTimeToStoredSeconds(now));
        st.Step();
    });
}

} // namespace kovara
