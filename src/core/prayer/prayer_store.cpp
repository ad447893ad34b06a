#include "core/prayer/prayer_store.h"

#include <climits>

namespace kovara::core {

namespace {
const SystemClock kSystemClock;

std::string noStatement(const char* operation)
{
    return format("TKOVAPrayerTracker.%s: Unable to assign statement", operation);
}

// Prepares sql or raises the operation's "no statement" message.
void requireStatement(const Statement& st, const char* operation)
{
    if (!st)
        throw Exception(noStatement(operation));
}
} // namespace

PrayerStore::PrayerStore(const std::string& fileName, const Clock* clock)
    : db_(fileName), fileName_(fileName), clock_(clock ? clock : &kSystemClock)
{
    // A failure here unwinds db_, which closes the file again.
    ensureSchema();
}

PrayerStore::~PrayerStore() = default;

void PrayerStore::close()
{
    db_.close();
}

sqlite3* PrayerStore::db() const
{
    if (!db_)
        throw Exception("TKOVAPrayerTracker Error: the prayer database is closed");
    return db_.get();
}

void PrayerStore::ensureSchema()
{
    if (tableExists(db(), kTableName))
        return;
    const char* t = kTableName;
    const std::string statements[] = {
        format("CREATE TABLE '%s' (prayerIndex INTEGER PRIMARY KEY, prayerTitle TEXT, prayerTopic TEXT, "
               "prayerTextData BLOB, prayerStatus TEXT, createTime INTEGER, lastEditTime INTEGER, "
               "previewText TEXT);",
               t),
        format("CREATE INDEX '%s_prayerIndex' ON %s (prayerIndex);", t, t),
        format("CREATE INDEX '%s_prayerTopic' ON %s (prayerTopic);", t, t),
        format("CREATE INDEX '%s_prayerTitle' ON %s (prayerTitle);", t, t),
        format("CREATE INDEX '%s_prayerStatus' ON %s (prayerStatus);", t, t),
    };
    execSQL(db(), "BEGIN TRANSACTION");
    try {
        for (const std::string& sql : statements)
            checkResult(sqlite3_exec(db(), sql.c_str(), nullptr, nullptr, nullptr), db());
        execSQL(db(), "COMMIT TRANSACTION");
    } catch (...) {
        // Undo the half-made schema so the file is not left with a table but
        // missing indexes, and the connection is not left inside a transaction.
        sqlite3_exec(db(), "ROLLBACK TRANSACTION", nullptr, nullptr, nullptr);
        throw;
    }
}

std::int32_t PrayerStore::newPrayerItem(DateTime createTime)
{
    std::string title = "New Prayer Item";
    for (int n = 2; findPrayerByTitle(title) != -1; ++n)
        title = format("New Prayer Item %d", n);

    if (createTime == 0)
        createTime = clock_->now();
    const std::int64_t seconds = dateTimeToStoredSeconds(createTime);

    Statement st(db(), format("INSERT INTO '%s' (prayerTitle, prayerStatus, createTime, lastEditTime) "
                              "VALUES (?,?,?,?);",
                              kTableName));
    requireStatement(st, "NewPrayerItem");
    st.run([&] {
        st.bindText(1, title);
        st.bindText(2, kPrayerActive);
        st.bindInt64(3, seconds);
        st.bindInt64(4, seconds);
        st.step();
    });
    return static_cast<std::int32_t>(sqlite3_last_insert_rowid(db()));
}

void PrayerStore::discardNewItem(std::int32_t prayerIndex)
{
    Statement st(db(), format("DELETE FROM '%s' WHERE prayerIndex=?;", kTableName));
    requireStatement(st, "DiscardNewItem");
    st.run([&] {
        st.bindInt(1, prayerIndex);
        st.step();
    });
}

DateTime PrayerStore::getTime(const char* column, std::int32_t prayerIndex) const
{
    std::int64_t seconds = 0;
    Statement st(db(), format("SELECT %s FROM '%s' WHERE prayerIndex=?;", column, kTableName));
    requireStatement(st, column[0] == 'c' ? "GetCreateTime" : "GetLastEditTime");
    st.run([&] {
        st.bindInt(1, prayerIndex);
        if (st.step() == SQLITE_ROW)
            seconds = st.columnInt64(0);
    });
    if (seconds == 0)
        throw Exception(format("Prayer index not valid: %d", prayerIndex));
    return storedSecondsToDateTime(seconds);
}

DateTime PrayerStore::getCreateTime(std::int32_t prayerIndex) const
{
    return getTime("createTime", prayerIndex);
}

DateTime PrayerStore::getLastEditTime(std::int32_t prayerIndex) const
{
    return getTime("lastEditTime", prayerIndex);
}

std::string PrayerStore::filterClause(const std::string& statusFilter, const char* operation)
{
    // The filter is formatted into the statement, so only the known words may
    // pass; anything else could change the statement's meaning.
    if (statusFilter == kPrayerFilterAny)
        return format(" WHERE prayerStatus!='%s'", kPrayerDeleted);
    if (statusFilter == kPrayerActive || statusFilter == kPrayerAnswered || statusFilter == kPrayerInactive ||
        statusFilter == kPrayerDeleted)
        return format(" WHERE prayerStatus='%s'", statusFilter);
    throw Exception(format("TKOVAPrayerTracker.%s Error: unknown status filter '%s'", operation, statusFilter));
}

void PrayerStore::getPrayerHeaders(const std::string& statusFilter, const std::string& orderClause,
                                          PrayerHeaders& headers) const
{
    std::string sql = format(
        "SELECT prayerTitle,prayerTopic,previewText,prayerStatus,createTime,lastEditTime,prayerIndex FROM %s",
        kTableName);
    sql += filterClause(statusFilter, "GetPrayerHeaders");
    if (!orderClause.empty())
        sql = format("%s ORDER BY %s", sql, orderClause);
    sql += ";";

    headers.clear();
    queryRows(db(), sql, noStatement("GetPrayerHeaders"), [&](Statement& st) {
        PrayerHeader rec;
        rec.prayerTitle = st.columnText(0);
        rec.prayerTopic = st.columnText(1);
        rec.previewText = st.columnText(2);
        rec.prayerStatus = st.columnText(3);
        rec.createTime = storedSecondsToDateTime(st.columnInt64(4));
        rec.lastEditTime = storedSecondsToDateTime(st.columnInt64(5));
        rec.prayerIndex = st.columnInt(6);
        headers.push_back(std::move(rec));
    });
}

void PrayerStore::getPrayerHeadersByTopic(const std::string& statusFilter,
                                                 PrayerHeaders& headers) const
{
    getPrayerHeaders(statusFilter, "prayerTopic, prayerTitle", headers);
}

std::int32_t PrayerStore::findPrayerByTitle(const std::string& title) const
{
    std::int32_t found = -1;
    Statement st(db(),
                 format("SELECT prayerIndex FROM '%s' WHERE prayerTitle=? AND prayerStatus!='%s';", kTableName,
                        kPrayerDeleted));
    requireStatement(st, "FindPrayerByTitle");
    st.run([&] {
        st.bindText(1, title);
        if (st.step() == SQLITE_ROW)
            found = st.columnInt(0);
    });
    return found;
}

std::string PrayerStore::getTextColumn(const char* column, const char* operation,
                                              std::int32_t prayerIndex) const
{
    std::string value;
    Statement st(db(), format("SELECT %s FROM '%s' WHERE prayerIndex=?;", column, kTableName));
    requireStatement(st, operation);
    st.run([&] {
        st.bindInt(1, prayerIndex);
        if (st.step() == SQLITE_ROW)
            value = st.columnText(0);
    });
    return value;
}

std::string PrayerStore::getPrayerStatus(std::int32_t prayerIndex) const
{
    return getTextColumn("prayerStatus", "GetPrayerStatus", prayerIndex);
}

std::string PrayerStore::getPrayerTitle(std::int32_t prayerIndex) const
{
    return getTextColumn("prayerTitle", "GetPrayerTitle", prayerIndex);
}

std::string PrayerStore::getPrayerTopic(std::int32_t prayerIndex) const
{
    return getTextColumn("prayerTopic", "GetPrayerTopic", prayerIndex);
}

std::string PrayerStore::getPrayerText(std::int32_t prayerIndex) const
{
    std::string bytes;
    Statement st(db(), format("SELECT prayerTextData FROM '%s' WHERE prayerIndex=?;", kTableName));
    requireStatement(st, "GetPrayerText");
    st.run([&] {
        st.bindInt(1, prayerIndex);
        if (st.step() == SQLITE_ROW) {
            const void* data = sqlite3_column_blob(st.handle(), 0);
            const int size = sqlite3_column_bytes(st.handle(), 0);
            if (data && size > 0)
                bytes.assign(static_cast<const char*>(data), static_cast<std::size_t>(size));
        }
    });
    return bytes;
}

int PrayerStore::countPrayers(const std::string& statusFilter) const
{
    const std::string sql = format("SELECT prayerIndex FROM '%s'%s;", kTableName,
                                   filterClause(statusFilter, "CountPrayers"));
    return queryRows(db(), sql, noStatement("CountPrayers"), [](Statement&) {});
}

std::vector<std::string> PrayerStore::getTopicList() const
{
    std::vector<std::string> topics;
    queryRows(db(),
              format("SELECT prayerTopic FROM '%s' WHERE prayerStatus!='%s' GROUP BY prayerTopic ORDER BY "
                     "prayerTopic;",
                     kTableName, kPrayerDeleted),
              noStatement("GetTopicList"), [&](Statement& st) {
                  std::string topic = st.columnText(0);
                  if (!topic.empty())
                      topics.push_back(std::move(topic));
              });
    return topics;
}

void PrayerStore::setPrayerStatus(std::int32_t prayerIndex, const std::string& status)
{
    Statement st(db(), format("UPDATE '%s' SET prayerStatus=? WHERE prayerIndex=%d", kTableName, prayerIndex));
    requireStatement(st, "SetPrayerStatus");
    st.run([&] {
        st.bindText(1, status);
        st.step();
    });
}

void PrayerStore::updatePrayer(std::int32_t prayerIndex, const std::string& title, const std::string& topic,
                                      const std::string& previewText, const std::string& status,
                                      const std::string& textData, bool touchEditTime)
{
    const DateTime now = clock_->now();
    const std::string sql =
        touchEditTime ? format("UPDATE '%s' SET prayerTitle=?, prayerTopic=?, prayerTextData=?, previewText=?, "
                               "prayerStatus=?, lastEditTime=? WHERE prayerIndex=%d",
                               kTableName, prayerIndex)
                      : format("UPDATE '%s' SET prayerTitle=?, prayerTopic=?, prayerTextData=?, previewText=?, "
                               "prayerStatus=? WHERE prayerIndex=%d",
                               kTableName, prayerIndex);
    Statement st(db(), sql);
    requireStatement(st, "UpdatePrayer");
    // Parameters left unbound are NULL, so every empty value is stored as NULL.
    st.run([&] {
        st.bindText(1, title);
        if (!topic.empty())
            st.bindText(2, topic);
        if (!textData.empty()) {
            if (textData.size() > static_cast<std::size_t>(INT_MAX))
                throw Exception("TKOVAPrayerTracker.UpdatePrayer Error: the prayer text is too large to store");
            const int rc = sqlite3_bind_blob(st.handle(), 3, textData.data(), static_cast<int>(textData.size()),
                                             SQLITE_TRANSIENT);
            if (rc != SQLITE_OK)
                raiseSQLiteError(rc, nullptr);
        }
        if (!previewText.empty())
            st.bindText(4, previewText);
        if (!status.empty())
            st.bindText(5, status);
        if (touchEditTime)
            st.bindInt64(6, dateTimeToStoredSeconds(now));
        st.step();
    });
}

} // namespace kovara::core
