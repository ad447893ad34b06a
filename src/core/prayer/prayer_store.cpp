#include "core/prayer/prayer_store.h"

#include "core/db/transaction.h"

#include <algorithm>
#include <iterator>

#include <cstring>

#include <cctype>
#include <climits>

namespace kovara::core {

namespace {
const SystemClock kSystemClock;

std::string noStatement(const char* operation)
{
    return format("PrayerStore::%s: Unable to assign statement", operation);
}

// The listing's columns, in the order headerOf reads them.
constexpr const char* kHeaderColumns =
    "prayerTitle,prayerTopic,previewText,prayerStatus,createTime,lastEditTime,prayerIndex";

// One row of kHeaderColumns as a header.
PrayerHeader headerOf(Statement& st)
{
    PrayerHeader rec;
    rec.prayerTitle = st.columnText(0);
    rec.prayerTopic = st.columnText(1);
    rec.previewText = st.columnText(2);
    rec.prayerStatus = StoredStatus::fromWord(st.columnText(3));
    rec.createTime = fromStoredSeconds(st.columnInt64(4));
    rec.lastEditTime = fromStoredSeconds(st.columnInt64(5));
    rec.prayerIndex = st.columnInt(6);
    return rec;
}

// An answer or note date as stored (midnight seconds); a time of day written
// by another program is dropped.
sys_days storedDate(std::int64_t seconds)
{
    return dayOf(fromStoredSeconds(seconds));
}

// The info table's 'searchIndex' value once the index holds every item; an
// index built before accented Greek was folded for search holds '1' and is
// built again.
constexpr const char* kSearchIndexBuilt = "2";

// The text as the index holds it and a search looks for it (see its
// definition below).
std::string foldedForSearch(const std::string& text);

// The statement that makes the full-text index when it is missing.
std::string createSearchTableSql()
{
    return format("CREATE VIRTUAL TABLE IF NOT EXISTS %s USING fts5(title, topic, body, notes, "
                  "tokenize='unicode61 remove_diacritics 2');",
                  PrayerStore::kSearchTable);
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
    // Items made but never saved (the program ended while their editor was
    // open) are not part of the journal.
    discardUnsavedItems();
    // A damage that cannot be mended now (a file another program has locked)
    // only affects searching; the items are still there to be read.
    try {
        repairSearchIndex(db());
    } catch (const std::exception&) {
    }
}

PrayerStore::~PrayerStore() = default;

void PrayerStore::close()
{
    db_.close();
}

sqlite3* PrayerStore::db() const
{
    if (!db_)
        throw Exception("PrayerStore Error: the prayer database is closed");
    return db_.get();
}

void PrayerStore::ensureSchema()
{
    // A file that has every table is not written to at all. A new user's file
    // gets the item table and the journal's tables in one transaction: one
    // set of disk flushes, and a failure leaves no half-made schema.
    const bool trackerMissing = !tableExists(db(), kTableName);
    bool journalMissing = false;
    for (const char* table : {kAnswerTable, kNoteTable, kSearchTable, kInfoTable})
        journalMissing = journalMissing || !tableExists(db(), table);
    if (!trackerMissing && !journalMissing)
        return;
    inTransaction([&] {
        if (trackerMissing)
            createTrackerTable();
        if (journalMissing)
            createJournalTables();
    });
}

void PrayerStore::createTrackerTable()
{
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
    for (const std::string& sql : statements)
        checkResult(sqlite3_exec(db(), sql.c_str(), nullptr, nullptr, nullptr), db());
}

std::int32_t PrayerStore::newPrayerItem(std::optional<sys_seconds> createTime)
{
    std::string title = "New Prayer Item";
    for (int n = 2; findPrayerByTitle(title); ++n)
        title = format("New Prayer Item %d", n);

    const std::int64_t seconds = toStoredSeconds(createTime.value_or(clock_->now()));

    std::int32_t index = -1;
    // The row and its mark as not yet saved go in together: whatever ends
    // the program before the first save, the next open removes both.
    inTransaction([&] {
        Statement st(db(), format("INSERT INTO '%s' (prayerTitle, prayerStatus, createTime, lastEditTime) "
                                  "VALUES (?,?,?,?);",
                                  kTableName));
        requireStatement(st, "newPrayerItem");
        st.run([&] {
            st.bindText(1, title);
            st.bindText(2, storedWord(PrayerStatus::Active));
            st.bindInt64(3, seconds);
            st.bindInt64(4, seconds);
            st.step();
        });
        index = static_cast<std::int32_t>(sqlite3_last_insert_rowid(db()));
        execSQL(db(), format("INSERT OR REPLACE INTO %s (infoKey, infoValue) VALUES ('%s%d', '');", kInfoTable,
                             kUnsavedKey, index));
    });
    return index;
}

void PrayerStore::discardNewItem(std::int32_t prayerIndex)
{
    inTransaction([&] {
        Statement st(db(), format("DELETE FROM '%s' WHERE prayerIndex=?;", kTableName));
        requireStatement(st, "discardNewItem");
        st.run([&] {
            st.bindInt(1, prayerIndex);
            st.step();
        });
        execSQL(db(), format("DELETE FROM %s WHERE infoKey='%s%d';", kInfoTable, kUnsavedKey, prayerIndex));
    });
}

void PrayerStore::discardUnsavedItems()
{
    std::vector<std::int32_t> unsaved;
    queryRows(db(), format("SELECT substr(infoKey, %d) FROM %s WHERE infoKey LIKE '%s%%';",
                           static_cast<int>(std::strlen(kUnsavedKey)) + 1, kInfoTable, kUnsavedKey),
              noStatement("discardNewItem"), [&](Statement& st) { unsaved.push_back(st.columnInt(0)); });
    if (unsaved.empty())
        return;
    try {
        for (const std::int32_t index : unsaved)
            discardNewItem(index);
    } catch (const std::exception&) {
        // A file that cannot be written (read-only) opens as it is; the
        // items are removed at an open that can write.
    }
}

sys_seconds PrayerStore::time(const char* column, std::int32_t prayerIndex) const
{
    std::int64_t seconds = 0;
    Statement st(db(), format("SELECT %s FROM '%s' WHERE prayerIndex=?;", column, kTableName));
    requireStatement(st, column[0] == 'c' ? "createTime" : "lastEditTime");
    st.run([&] {
        st.bindInt(1, prayerIndex);
        if (st.step() == SQLITE_ROW)
            seconds = st.columnInt64(0);
    });
    if (seconds == 0)
        throw Exception(format("Prayer index not valid: %d", prayerIndex));
    return fromStoredSeconds(seconds);
}

sys_seconds PrayerStore::createTime(std::int32_t prayerIndex) const
{
    return time("createTime", prayerIndex);
}

sys_seconds PrayerStore::lastEditTime(std::int32_t prayerIndex) const
{
    return time("lastEditTime", prayerIndex);
}

std::string PrayerStore::filterClause(PrayerFilter statusFilter, const char* operation)
{
    // The stored word is formatted into the statement: only the program's
    // own words, never a value cast from elsewhere.
    if (!statusFilter)
        return format(" WHERE prayerStatus!='%s'", StoredStatus::deleted().word());
    try {
        return format(" WHERE prayerStatus='%s'", storedWord(*statusFilter));
    } catch (const Exception& e) {
        throw Exception(format("PrayerStore::%s Error: %s", operation, e.what()));
    }
}

PrayerHeaders PrayerStore::prayerHeaders(PrayerFilter statusFilter, const std::string& orderClause) const
{
    std::string sql = format("SELECT %s FROM %s", kHeaderColumns, kTableName);
    sql += filterClause(statusFilter, "prayerHeaders");
    if (!orderClause.empty())
        sql = format("%s ORDER BY %s", sql, orderClause);
    sql += ";";

    PrayerHeaders headers;
    queryRows(db(), sql, noStatement("prayerHeaders"), [&](Statement& st) {
        headers.push_back(headerOf(st));
    });
    return headers;
}

namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }
char lowerAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

// <0, 0 or >0 as a comes before, with or after b, in the order of naturalLess
// without its byte-wise tie-break.
int compareNaturally(const std::string& a, const std::string& b)
{
    std::size_t i = 0, j = 0;
    while (i < a.size() && j < b.size()) {
        if (isDigit(a[i]) && isDigit(b[j])) {
            // Two numbers: by their values, leading zeros aside.
            while (i < a.size() && a[i] == '0' && i + 1 < a.size() && isDigit(a[i + 1]))
                ++i;
            while (j < b.size() && b[j] == '0' && j + 1 < b.size() && isDigit(b[j + 1]))
                ++j;
            std::size_t endA = i, endB = j;
            while (endA < a.size() && isDigit(a[endA]))
                ++endA;
            while (endB < b.size() && isDigit(b[endB]))
                ++endB;
            if (endA - i != endB - j)
                return endA - i < endB - j ? -1 : 1;
            if (const int c = a.compare(i, endA - i, b, j, endB - j))
                return c;
            i = endA;
            j = endB;
            continue;
        }
        const unsigned char x = static_cast<unsigned char>(lowerAscii(a[i]));
        const unsigned char y = static_cast<unsigned char>(lowerAscii(b[j]));
        if (x != y)
            return x < y ? -1 : 1;
        ++i;
        ++j;
    }
    if (i < a.size())
        return 1;
    return j < b.size() ? -1 : 0;
}

} // namespace

bool naturalLess(const std::string& a, const std::string& b)
{
    const int c = compareNaturally(a, b);
    return c != 0 ? c < 0 : a < b;
}

PrayerHeaders PrayerStore::prayerHeadersByTopic(PrayerFilter statusFilter) const
{
    return sortedByTopic(prayerHeaders(statusFilter, std::string()));
}

std::optional<std::int32_t> PrayerStore::findPrayerByTitle(const std::string& title) const
{
    std::optional<std::int32_t> found;
    Statement st(db(),
                 format("SELECT prayerIndex FROM '%s' WHERE prayerTitle=? AND prayerStatus!='%s';", kTableName,
                        StoredStatus::deleted().word()));
    requireStatement(st, "findPrayerByTitle");
    st.run([&] {
        st.bindText(1, title);
        if (st.step() == SQLITE_ROW)
            found = st.columnInt(0);
    });
    return found;
}

std::string PrayerStore::textColumn(const char* column, const char* operation,
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

StoredStatus PrayerStore::prayerStatus(std::int32_t prayerIndex) const
{
    return StoredStatus::fromWord(textColumn("prayerStatus", "prayerStatus", prayerIndex));
}

std::string PrayerStore::prayerTitle(std::int32_t prayerIndex) const
{
    return textColumn("prayerTitle", "prayerTitle", prayerIndex);
}

std::string PrayerStore::prayerTopic(std::int32_t prayerIndex) const
{
    return textColumn("prayerTopic", "prayerTopic", prayerIndex);
}

std::string PrayerStore::prayerText(std::int32_t prayerIndex) const
{
    std::string bytes;
    Statement st(db(), format("SELECT prayerTextData FROM '%s' WHERE prayerIndex=?;", kTableName));
    requireStatement(st, "prayerText");
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

int PrayerStore::countPrayers(PrayerFilter statusFilter) const
{
    const std::string sql = format("SELECT prayerIndex FROM '%s'%s;", kTableName,
                                   filterClause(statusFilter, "countPrayers"));
    return queryRows(db(), sql, noStatement("countPrayers"), [](Statement&) {});
}

PrayerStore::StatusCounts PrayerStore::countByStatus() const
{
    StatusCounts counts;
    const std::string active = storedWord(PrayerStatus::Active);
    const std::string answered = storedWord(PrayerStatus::Answered);
    const std::string inactive = storedWord(PrayerStatus::Inactive);
    queryRows(db(),
              format("SELECT prayerStatus,count(*) FROM '%s' WHERE prayerStatus!='%s' GROUP BY prayerStatus;",
                     kTableName, StoredStatus::deleted().word()),
              noStatement("countByStatus"), [&](Statement& st) {
                  const std::string word = st.columnText(0);
                  const int n = st.columnInt(1);
                  counts.all += n;
                  if (word == active)
                      counts.active += n;
                  else if (word == answered)
                      counts.answered += n;
                  else if (word == inactive)
                      counts.inactive += n;
              });
    return counts;
}

std::vector<std::string> PrayerStore::topicList() const
{
    std::vector<std::string> topics;
    queryRows(db(),
              format("SELECT prayerTopic FROM '%s' WHERE prayerStatus!='%s' GROUP BY prayerTopic ORDER BY "
                     "prayerTopic;",
                     kTableName, StoredStatus::deleted().word()),
              noStatement("topicList"), [&](Statement& st) {
                  std::string topic = st.columnText(0);
                  if (!topic.empty())
                      topics.push_back(std::move(topic));
              });
    std::sort(topics.begin(), topics.end(), naturalLess); // in the listing's order
    return topics;
}

void PrayerStore::writeStatus(std::int32_t prayerIndex, const StoredStatus& status)
{
    markSaved(prayerIndex);
    Statement st(db(), format("UPDATE '%s' SET prayerStatus=? WHERE prayerIndex=%d", kTableName, prayerIndex));
    requireStatement(st, "setPrayerStatus");
    st.run([&] {
        st.bindText(1, status.word());
        st.step();
    });
}

void PrayerStore::markSaved(std::int32_t prayerIndex)
{
    execSQL(db(), format("DELETE FROM %s WHERE infoKey='%s%d';", kInfoTable, kUnsavedKey, prayerIndex));
}

void PrayerStore::setPrayerStatus(std::int32_t prayerIndex, PrayerStatus status)
{
    inTransaction([&] { writeStatus(prayerIndex, status); });
}

void PrayerStore::deletePrayer(std::int32_t prayerIndex)
{
    inTransaction([&] {
        writeStatus(prayerIndex, StoredStatus::deleted());
        execSQL(db(), format("DELETE FROM %s WHERE rowid=%d;", kSearchTable, prayerIndex));
    });
}

void PrayerStore::setPrayerStatus(std::int32_t prayerIndex, PrayerStatus status, const PrayerAnswer& answer)
{
    inTransaction([&] {
        writeStatus(prayerIndex, status);
        writeAnswer(prayerIndex, answer);
        writeSearchEntry(prayerIndex, std::nullopt);
    });
}

void PrayerStore::updatePrayer(std::int32_t prayerIndex, const std::string& title, const std::string& topic,
                               const std::string& previewText, const StoredStatus& status,
                               const std::string& textData, bool touchEditTime)
{
    PrayerSave save;
    save.title = title;
    save.topic = topic;
    save.previewText = previewText;
    save.status = status;
    save.textData = textData;
    save.plainText = previewText;
    save.touchEditTime = touchEditTime;
    savePrayer(prayerIndex, save);
}

void PrayerStore::savePrayer(std::int32_t prayerIndex, const PrayerSave& save)
{
    inTransaction([&] {
        writeContent(prayerIndex, save);
        if (save.answer)
            writeAnswer(prayerIndex, *save.answer);
        if (save.notes)
            writeNotes(prayerIndex, *save.notes);
        writeSearchEntry(prayerIndex, save.plainText);
    });
}

void PrayerStore::writeContent(std::int32_t prayerIndex, const PrayerSave& save)
{
    markSaved(prayerIndex);
    const sys_seconds now = clock_->now();
    const std::string sql =
        save.touchEditTime ? format("UPDATE '%s' SET prayerTitle=?, prayerTopic=?, prayerTextData=?, previewText=?, "
                                    "prayerStatus=?, lastEditTime=? WHERE prayerIndex=%d",
                                    kTableName, prayerIndex)
                           : format("UPDATE '%s' SET prayerTitle=?, prayerTopic=?, prayerTextData=?, previewText=?, "
                                    "prayerStatus=? WHERE prayerIndex=%d",
                                    kTableName, prayerIndex);
    Statement st(db(), sql);
    requireStatement(st, "updatePrayer");
    // Parameters left unbound are NULL, so every empty value is stored as NULL.
    st.run([&] {
        st.bindText(1, save.title);
        if (!save.topic.empty())
            st.bindText(2, save.topic);
        if (!save.textData.empty()) {
            if (save.textData.size() > static_cast<std::size_t>(INT_MAX))
                throw Exception("PrayerStore::updatePrayer Error: the prayer text is too large to store");
            const int rc = sqlite3_bind_blob(st.handle(), 3, save.textData.data(),
                                             static_cast<int>(save.textData.size()), SQLITE_TRANSIENT);
            if (rc != SQLITE_OK)
                raiseSQLiteError(rc, nullptr);
        }
        if (!save.previewText.empty())
            st.bindText(4, save.previewText);
        if (!save.status.empty())
            st.bindText(5, save.status.word());
        if (save.touchEditTime)
            st.bindInt64(6, toStoredSeconds(now));
        st.step();
    });
}

// ---- The journal: answers, notes and the search index ----

void PrayerStore::createJournalTables()
{
    // Tables beside prayerTracker, each made when missing.
    execSQL(db(), format("CREATE TABLE IF NOT EXISTS %s (prayerIndex INTEGER PRIMARY KEY, "
                         "answeredTime INTEGER, answerNote TEXT);",
                         kAnswerTable));
    execSQL(db(), format("CREATE TABLE IF NOT EXISTS %s (noteIndex INTEGER PRIMARY KEY, prayerIndex INTEGER, "
                         "noteTime INTEGER, noteText TEXT);",
                         kNoteTable));
    execSQL(db(), format("CREATE INDEX IF NOT EXISTS %s_prayerIndex ON %s (prayerIndex, noteTime);",
                         kNoteTable, kNoteTable));
    execSQL(db(), createSearchTableSql());
    execSQL(db(), format("CREATE TABLE IF NOT EXISTS %s (infoKey TEXT PRIMARY KEY, infoValue TEXT);",
                         kInfoTable));
    // A journal without items has nothing to index: it is ready at once.
    bool empty = true;
    queryRow(db(), format("SELECT 1 FROM '%s' LIMIT 1;", kTableName), noStatement("searchIndex"),
             [&](Statement&) { empty = false; });
    if (empty)
        execSQL(db(), format("INSERT OR REPLACE INTO %s (infoKey, infoValue) VALUES ('searchIndex', '%s');",
                             kInfoTable, kSearchIndexBuilt));
}

// Inside a transaction the caller holds on the connection (a batch of
// changes from other computers), a savepoint of it.
void PrayerStore::inTransaction(const std::function<void()>& body)
{
    kovara::core::inTransaction(db(), "BEGIN IMMEDIATE TRANSACTION", body);
}

void PrayerStore::writeAnswer(std::int32_t prayerIndex, const PrayerAnswer& answer)
{
    Statement st(db(), format("INSERT OR REPLACE INTO %s (prayerIndex, answeredTime, answerNote) VALUES (?,?,?);",
                              kAnswerTable));
    requireStatement(st, "setAnswer");
    st.run([&] {
        st.bindInt(1, prayerIndex);
        st.bindInt64(2, toStoredSeconds(startOf(answer.answeredTime)));
        st.bindText(3, answer.answerNote);
        st.step();
    });
}

void PrayerStore::writeNotes(std::int32_t prayerIndex, const PrayerNotes& notes)
{
    execSQL(db(), format("DELETE FROM %s WHERE prayerIndex=%d;", kNoteTable, prayerIndex));
    Statement st(db(), format("INSERT INTO %s (prayerIndex, noteTime, noteText) VALUES (?,?,?);", kNoteTable));
    requireStatement(st, "setNotes");
    st.run([&] {
        for (const PrayerNote& note : notes) {
            sqlite3_reset(st.handle());
            st.bindInt(1, prayerIndex);
            st.bindInt64(2, toStoredSeconds(startOf(note.noteTime)));
            st.bindText(3, note.noteText);
            st.step();
        }
    });
}

void PrayerStore::writeSearchEntry(std::int32_t prayerIndex, const std::optional<std::string>& plainText)
{
    std::string title;
    std::string topic;
    std::string status;
    const bool found = queryRow(
        db(), format("SELECT prayerTitle, prayerTopic, prayerStatus FROM '%s' WHERE prayerIndex=%d;", kTableName,
                     prayerIndex),
        noStatement("searchIndex"), [&](Statement& st) {
            title = st.columnText(0);
            topic = st.columnText(1);
            status = st.columnText(2);
        });
    std::string body;
    if (plainText) {
        body = *plainText;
    } else {
        queryRow(db(), format("SELECT body FROM %s WHERE rowid=%d;", kSearchTable, prayerIndex),
                 noStatement("searchIndex"), [&](Statement& st) { body = st.columnText(0); });
    }
    execSQL(db(), format("DELETE FROM %s WHERE rowid=%d;", kSearchTable, prayerIndex));
    if (!found || StoredStatus::fromWord(status).isDeleted())
        return;

    std::string noteText;
    if (const std::optional<PrayerAnswer> given = answer(prayerIndex))
        noteText = given->answerNote;
    for (const PrayerNote& note : notes(prayerIndex))
        noteText += "\n" + note.noteText;

    Statement st(db(), format("INSERT INTO %s (rowid, title, topic, body, notes) VALUES (?,?,?,?,?);", kSearchTable));
    requireStatement(st, "searchIndex");
    st.run([&] {
        st.bindInt(1, prayerIndex);
        st.bindText(2, foldedForSearch(title));
        st.bindText(3, foldedForSearch(topic));
        st.bindText(4, foldedForSearch(body));
        st.bindText(5, foldedForSearch(noteText));
        st.step();
    });
}

std::optional<PrayerAnswer> PrayerStore::answer(std::int32_t prayerIndex) const
{
    std::optional<PrayerAnswer> answer;
    queryRow(db(), format("SELECT answeredTime, answerNote FROM %s WHERE prayerIndex=%d;", kAnswerTable, prayerIndex),
             noStatement("answer"), [&](Statement& st) {
                 answer = PrayerAnswer{storedDate(st.columnInt64(0)), st.columnText(1)};
             });
    return answer;
}

std::map<std::int32_t, PrayerAnswer> PrayerStore::answers() const
{
    std::map<std::int32_t, PrayerAnswer> answers;
    queryRows(db(), format("SELECT prayerIndex, answeredTime, answerNote FROM %s;", kAnswerTable),
              noStatement("answer"), [&](Statement& st) {
                  answers[st.columnInt(0)] = PrayerAnswer{storedDate(st.columnInt64(1)), st.columnText(2)};
              });
    return answers;
}

PrayerNotes PrayerStore::notes(std::int32_t prayerIndex) const
{
    PrayerNotes notes;
    queryRows(db(),
              format("SELECT noteTime, noteText FROM %s WHERE prayerIndex=%d ORDER BY noteTime, noteIndex;",
                     kNoteTable, prayerIndex),
              noStatement("notes"), [&](Statement& st) {
                  notes.push_back(PrayerNote{storedDate(st.columnInt64(0)), st.columnText(1)});
              });
    return notes;
}

std::optional<PrayerNote> PrayerStore::latestNote(std::int32_t prayerIndex) const
{
    std::optional<PrayerNote> note;
    queryRow(db(),
             format("SELECT noteTime, noteText FROM %s WHERE prayerIndex=%d ORDER BY noteTime DESC, noteIndex DESC "
                    "LIMIT 1;",
                    kNoteTable, prayerIndex),
             noStatement("notes"), [&](Statement& st) {
                 note = PrayerNote{storedDate(st.columnInt64(0)), st.columnText(1)};
             });
    return note;
}

PrayerHeaders PrayerStore::selectPrayers(const PrayerSelection& selection) const
{
    PrayerHeaders headers;
    if (selection.statuses.empty())
        return headers;
    std::vector<std::string> words;
    try {
        for (const PrayerStatus status : selection.statuses)
            words.push_back(storedWord(status));
    } catch (const Exception& e) {
        throw Exception(format("PrayerStore::selectPrayers Error: %s", e.what()));
    }

    // Program-made SQL with every value bound.
    std::string sql = format("SELECT p.prayerTitle,p.prayerTopic,p.previewText,p.prayerStatus,p.createTime,"
                             "p.lastEditTime,p.prayerIndex FROM '%s' p LEFT JOIN %s a ON a.prayerIndex=p.prayerIndex "
                             "WHERE p.prayerStatus IN (",
                             kTableName, kAnswerTable);
    for (std::size_t i = 0; i < selection.statuses.size(); ++i)
        sql += i ? ",?" : "?";
    sql += ")";
    if (!selection.allTopics)
        sql += selection.topic.empty() ? " AND p.prayerTopic IS NULL" : " AND p.prayerTopic=?";
    const char* created = "(p.createTime>=? AND p.createTime<?)";
    const std::string answered = format("(p.prayerStatus='%s' AND a.answeredTime>=? AND a.answeredTime<?)",
                                        storedWord(PrayerStatus::Answered));
    using Field = PrayerSelection::DateField;
    switch (selection.dateField) {
    case Field::Any:
        break;
    case Field::Created:
        sql += format(" AND %s", created);
        break;
    case Field::Answered:
        sql += format(" AND %s", answered);
        break;
    case Field::CreatedOrAnswered:
        sql += format(" AND (%s OR %s)", created, answered);
        break;
    }
    sql += " ORDER BY p.prayerTopic, p.createTime, p.prayerTitle;";

    const std::int64_t from = toStoredSeconds(startOf(selection.from));
    const std::int64_t until = toStoredSeconds(startOf(selection.to + std::chrono::days{1})); // the whole last day
    Statement st(db(), sql);
    requireStatement(st, "selectPrayers");
    st.run([&] {
        int n = 0;
        for (const std::string& word : words)
            st.bindText(++n, word);
        if (!selection.allTopics && !selection.topic.empty())
            st.bindText(++n, selection.topic);
        const int ranges = selection.dateField == Field::Any ? 0 : selection.dateField == Field::CreatedOrAnswered ? 2 : 1;
        for (int r = 0; r < ranges; ++r) {
            st.bindInt64(++n, from);
            st.bindInt64(++n, until);
        }
        while (st.step() == SQLITE_ROW) {
            headers.push_back(headerOf(st));
        }
    });
    // Topics in the listing's order; within one, the statement's order
    // (oldest first) stays.
    std::stable_sort(headers.begin(), headers.end(), [](const PrayerHeader& a, const PrayerHeader& b) {
        return a.prayerTopic != b.prayerTopic && naturalLess(a.prayerTopic, b.prayerTopic);
    });
    return headers;
}

bool PrayerStore::repairSearchIndex(sqlite3* db)
{
    if (!tableExists(db, kSearchTable))
        return false;
    const std::string check = format("INSERT INTO %s(%s) VALUES('integrity-check');", kSearchTable, kSearchTable);
    if ((sqlite3_exec(db, check.c_str(), nullptr, nullptr, nullptr) & 0xFF) != SQLITE_CORRUPT)
        return false;
    // Dropping the table never reads the damaged index; the new one is
    // built from the items the next time the journal needs it.
    execSQL(db, "BEGIN IMMEDIATE;");
    try {
        execSQL(db, format("DROP TABLE %s;", kSearchTable));
        execSQL(db, createSearchTableSql());
        if (tableExists(db, kInfoTable))
            execSQL(db, format("INSERT OR REPLACE INTO %s (infoKey, infoValue) VALUES ('searchIndex', '0');",
                               kInfoTable));
        execSQL(db, "COMMIT;");
    } catch (...) {
        sqlite3_exec(db, "ROLLBACK;", nullptr, nullptr, nullptr);
        throw;
    }
    return true;
}

bool PrayerStore::searchIndexReady() const
{
    std::string value;
    queryRow(db(), format("SELECT infoValue FROM %s WHERE infoKey='searchIndex';", kInfoTable),
             noStatement("searchIndex"), [&](Statement& st) { value = st.columnText(0); });
    return value == kSearchIndexBuilt;
}

void PrayerStore::buildSearchIndex(const std::function<std::string(const std::string& textData)>& plainTextOf,
                                   const std::function<void(int done, int total)>& progress)
{
    std::vector<std::int32_t> items;
    queryRows(db(), format("SELECT prayerIndex FROM '%s' WHERE prayerStatus!='%s';", kTableName,
                           StoredStatus::deleted().word()),
              noStatement("searchIndex"), [&](Statement& st) { items.push_back(st.columnInt(0)); });
    const int total = static_cast<int>(items.size());
    inTransaction([&] {
        execSQL(db(), format("DELETE FROM %s;", kSearchTable));
        for (int i = 0; i < total; ++i) {
            if (progress && i % 50 == 0)
                progress(i, total);
            const std::string data = prayerText(items[static_cast<std::size_t>(i)]);
            writeSearchEntry(items[static_cast<std::size_t>(i)], data.empty() ? std::string() : plainTextOf(data));
        }
        execSQL(db(), format("INSERT OR REPLACE INTO %s (infoKey, infoValue) VALUES ('searchIndex', '%s');",
                             kInfoTable, kSearchIndexBuilt));
    });
    if (progress)
        progress(total, total);
}

namespace {

// What a character of a search is, for the query builder.
enum class CharKind { Word, Symbol, Quote, Separator };

// The code point of the UTF-8 sequence at text[i] and its length (a byte that
// does not start a valid sequence counts as one character of its own).
char32_t codePointAt(const std::string& text, std::size_t i, std::size_t& length)
{
    const auto b0 = static_cast<unsigned char>(text[i]);
    int more = b0 >= 0xF0 ? 3 : b0 >= 0xE0 ? 2 : b0 >= 0xC0 ? 1 : 0;
    char32_t cp = more == 3 ? b0 & 0x07 : more == 2 ? b0 & 0x0F : more == 1 ? b0 & 0x1F : b0;
    length = 1;
    for (int k = 1; k <= more; ++k) {
        if (i + k >= text.size() || (static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80)
            return b0;
        cp = (cp << 6) | (static_cast<unsigned char>(text[i + k]) & 0x3F);
        length = static_cast<std::size_t>(k) + 1;
    }
    return cp;
}

// Greek letters with accents, breathings, a diaeresis or an iota below
// (monotonic and polytonic) as their bare letter: the index's tokenizer
// folds case (the final sigma too) in every script but takes accents off
// Latin letters only, so "ΑΓΑΠΗ" or "θεος" would not find "ἀγάπη" or
// "θεὸς". The table is Unicode's decompositions of the Greek blocks.
char32_t bareGreekLetter(char32_t cp)
{
    struct Bare {
        char16_t letter, bare;
    };
    static constexpr Bare kBare[] = {
        {0x0386, 0x0391}, {0x0388, 0x0395}, {0x0389, 0x0397}, {0x038A, 0x0399}, {0x038C, 0x039F}, {0x038E, 0x03A5},
        {0x038F, 0x03A9}, {0x0390, 0x03B9}, {0x03AA, 0x0399}, {0x03AB, 0x03A5}, {0x03AC, 0x03B1}, {0x03AD, 0x03B5},
        {0x03AE, 0x03B7}, {0x03AF, 0x03B9}, {0x03B0, 0x03C5}, {0x03CA, 0x03B9}, {0x03CB, 0x03C5},
        {0x03CC, 0x03BF}, {0x03CD, 0x03C5}, {0x03CE, 0x03C9}, {0x03D3, 0x03D2}, {0x03D4, 0x03D2}, {0x1F00, 0x03B1},
        {0x1F01, 0x03B1}, {0x1F02, 0x03B1}, {0x1F03, 0x03B1}, {0x1F04, 0x03B1}, {0x1F05, 0x03B1}, {0x1F06, 0x03B1},
        {0x1F07, 0x03B1}, {0x1F08, 0x0391}, {0x1F09, 0x0391}, {0x1F0A, 0x0391}, {0x1F0B, 0x0391}, {0x1F0C, 0x0391},
        {0x1F0D, 0x0391}, {0x1F0E, 0x0391}, {0x1F0F, 0x0391}, {0x1F10, 0x03B5}, {0x1F11, 0x03B5}, {0x1F12, 0x03B5},
        {0x1F13, 0x03B5}, {0x1F14, 0x03B5}, {0x1F15, 0x03B5}, {0x1F18, 0x0395}, {0x1F19, 0x0395}, {0x1F1A, 0x0395},
        {0x1F1B, 0x0395}, {0x1F1C, 0x0395}, {0x1F1D, 0x0395}, {0x1F20, 0x03B7}, {0x1F21, 0x03B7}, {0x1F22, 0x03B7},
        {0x1F23, 0x03B7}, {0x1F24, 0x03B7}, {0x1F25, 0x03B7}, {0x1F26, 0x03B7}, {0x1F27, 0x03B7}, {0x1F28, 0x0397},
        {0x1F29, 0x0397}, {0x1F2A, 0x0397}, {0x1F2B, 0x0397}, {0x1F2C, 0x0397}, {0x1F2D, 0x0397}, {0x1F2E, 0x0397},
        {0x1F2F, 0x0397}, {0x1F30, 0x03B9}, {0x1F31, 0x03B9}, {0x1F32, 0x03B9}, {0x1F33, 0x03B9}, {0x1F34, 0x03B9},
        {0x1F35, 0x03B9}, {0x1F36, 0x03B9}, {0x1F37, 0x03B9}, {0x1F38, 0x0399}, {0x1F39, 0x0399}, {0x1F3A, 0x0399},
        {0x1F3B, 0x0399}, {0x1F3C, 0x0399}, {0x1F3D, 0x0399}, {0x1F3E, 0x0399}, {0x1F3F, 0x0399}, {0x1F40, 0x03BF},
        {0x1F41, 0x03BF}, {0x1F42, 0x03BF}, {0x1F43, 0x03BF}, {0x1F44, 0x03BF}, {0x1F45, 0x03BF}, {0x1F48, 0x039F},
        {0x1F49, 0x039F}, {0x1F4A, 0x039F}, {0x1F4B, 0x039F}, {0x1F4C, 0x039F}, {0x1F4D, 0x039F}, {0x1F50, 0x03C5},
        {0x1F51, 0x03C5}, {0x1F52, 0x03C5}, {0x1F53, 0x03C5}, {0x1F54, 0x03C5}, {0x1F55, 0x03C5}, {0x1F56, 0x03C5},
        {0x1F57, 0x03C5}, {0x1F59, 0x03A5}, {0x1F5B, 0x03A5}, {0x1F5D, 0x03A5}, {0x1F5F, 0x03A5}, {0x1F60, 0x03C9},
        {0x1F61, 0x03C9}, {0x1F62, 0x03C9}, {0x1F63, 0x03C9}, {0x1F64, 0x03C9}, {0x1F65, 0x03C9}, {0x1F66, 0x03C9},
        {0x1F67, 0x03C9}, {0x1F68, 0x03A9}, {0x1F69, 0x03A9}, {0x1F6A, 0x03A9}, {0x1F6B, 0x03A9}, {0x1F6C, 0x03A9},
        {0x1F6D, 0x03A9}, {0x1F6E, 0x03A9}, {0x1F6F, 0x03A9}, {0x1F70, 0x03B1}, {0x1F71, 0x03B1}, {0x1F72, 0x03B5},
        {0x1F73, 0x03B5}, {0x1F74, 0x03B7}, {0x1F75, 0x03B7}, {0x1F76, 0x03B9}, {0x1F77, 0x03B9}, {0x1F78, 0x03BF},
        {0x1F79, 0x03BF}, {0x1F7A, 0x03C5}, {0x1F7B, 0x03C5}, {0x1F7C, 0x03C9}, {0x1F7D, 0x03C9}, {0x1F80, 0x03B1},
        {0x1F81, 0x03B1}, {0x1F82, 0x03B1}, {0x1F83, 0x03B1}, {0x1F84, 0x03B1}, {0x1F85, 0x03B1}, {0x1F86, 0x03B1},
        {0x1F87, 0x03B1}, {0x1F88, 0x0391}, {0x1F89, 0x0391}, {0x1F8A, 0x0391}, {0x1F8B, 0x0391}, {0x1F8C, 0x0391},
        {0x1F8D, 0x0391}, {0x1F8E, 0x0391}, {0x1F8F, 0x0391}, {0x1F90, 0x03B7}, {0x1F91, 0x03B7}, {0x1F92, 0x03B7},
        {0x1F93, 0x03B7}, {0x1F94, 0x03B7}, {0x1F95, 0x03B7}, {0x1F96, 0x03B7}, {0x1F97, 0x03B7}, {0x1F98, 0x0397},
        {0x1F99, 0x0397}, {0x1F9A, 0x0397}, {0x1F9B, 0x0397}, {0x1F9C, 0x0397}, {0x1F9D, 0x0397}, {0x1F9E, 0x0397},
        {0x1F9F, 0x0397}, {0x1FA0, 0x03C9}, {0x1FA1, 0x03C9}, {0x1FA2, 0x03C9}, {0x1FA3, 0x03C9}, {0x1FA4, 0x03C9},
        {0x1FA5, 0x03C9}, {0x1FA6, 0x03C9}, {0x1FA7, 0x03C9}, {0x1FA8, 0x03A9}, {0x1FA9, 0x03A9}, {0x1FAA, 0x03A9},
        {0x1FAB, 0x03A9}, {0x1FAC, 0x03A9}, {0x1FAD, 0x03A9}, {0x1FAE, 0x03A9}, {0x1FAF, 0x03A9}, {0x1FB0, 0x03B1},
        {0x1FB1, 0x03B1}, {0x1FB2, 0x03B1}, {0x1FB3, 0x03B1}, {0x1FB4, 0x03B1}, {0x1FB6, 0x03B1}, {0x1FB7, 0x03B1},
        {0x1FB8, 0x0391}, {0x1FB9, 0x0391}, {0x1FBA, 0x0391}, {0x1FBB, 0x0391}, {0x1FBC, 0x0391}, {0x1FBE, 0x03B9},
        {0x1FC2, 0x03B7}, {0x1FC3, 0x03B7}, {0x1FC4, 0x03B7}, {0x1FC6, 0x03B7}, {0x1FC7, 0x03B7}, {0x1FC8, 0x0395},
        {0x1FC9, 0x0395}, {0x1FCA, 0x0397}, {0x1FCB, 0x0397}, {0x1FCC, 0x0397}, {0x1FD0, 0x03B9}, {0x1FD1, 0x03B9},
        {0x1FD2, 0x03B9}, {0x1FD3, 0x03B9}, {0x1FD6, 0x03B9}, {0x1FD7, 0x03B9}, {0x1FD8, 0x0399}, {0x1FD9, 0x0399},
        {0x1FDA, 0x0399}, {0x1FDB, 0x0399}, {0x1FE0, 0x03C5}, {0x1FE1, 0x03C5}, {0x1FE2, 0x03C5}, {0x1FE3, 0x03C5},
        {0x1FE4, 0x03C1}, {0x1FE5, 0x03C1}, {0x1FE6, 0x03C5}, {0x1FE7, 0x03C5}, {0x1FE8, 0x03A5}, {0x1FE9, 0x03A5},
        {0x1FEA, 0x03A5}, {0x1FEB, 0x03A5}, {0x1FEC, 0x03A1}, {0x1FF2, 0x03C9}, {0x1FF3, 0x03C9}, {0x1FF4, 0x03C9},
        {0x1FF6, 0x03C9}, {0x1FF7, 0x03C9}, {0x1FF8, 0x039F}, {0x1FF9, 0x039F}, {0x1FFA, 0x03A9}, {0x1FFB, 0x03A9},
        {0x1FFC, 0x03A9},
    };
    if (cp < kBare[0].letter || cp > std::end(kBare)[-1].letter)
        return cp;
    const auto* found = std::lower_bound(std::begin(kBare), std::end(kBare), cp,
                                         [](const Bare& b, char32_t c) { return b.letter < c; });
    return found != std::end(kBare) && found->letter == cp ? found->bare : cp;
}

// text (UTF-8) with every Greek letter bare; anything else as it was.
std::string foldedForSearch(const std::string& text)
{
    std::string folded;
    folded.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        std::size_t length = 1;
        const auto byte = static_cast<unsigned char>(text[i]);
        const char32_t cp = byte < 0xC0 ? byte : codePointAt(text, i, length);
        const char32_t bare = byte < 0xC0 ? cp : bareGreekLetter(cp);
        if (bare == cp) {
            folded.append(text, i, length);
        } else {
            // Every bare letter is in U+0370 to U+03FF: two bytes.
            folded += static_cast<char>(0xC0 | (bare >> 6));
            folded += static_cast<char>(0x80 | (bare & 0x3F));
        }
        i += length;
    }
    return folded;
}

// Symbols, pictographs and emoji (with their joiners and variation
// selectors): the index's tokenizer drops them, so they are looked for as
// typed instead.
bool isSymbol(char32_t cp)
{
    return (cp >= 0x2100 && cp <= 0x2BFF) || (cp >= 0x1F000 && cp <= 0x1FAFF) || (cp >= 0xFE00 && cp <= 0xFE0F) ||
           cp == 0x200D || (cp >= 0xE0020 && cp <= 0xE007F) || cp == 0x20E3 || cp == 0x3030 || cp == 0x303D ||
           cp == 0x3297 || cp == 0x3299;
}

// Splits words into its pieces, calling onChar(kind, bytes) for each.
template <typename F>
void scanSearch(const std::string& words, F onChar)
{
    for (std::size_t i = 0; i < words.size();) {
        std::size_t length = 1;
        const auto byte = static_cast<unsigned char>(words[i]);
        CharKind kind = CharKind::Separator;
        if (byte == '"') {
            kind = CharKind::Quote;
        } else if (byte >= 0x80) {
            kind = isSymbol(codePointAt(words, i, length)) ? CharKind::Symbol : CharKind::Word;
        } else if (std::isalnum(byte)) {
            kind = CharKind::Word;
        }
        onChar(kind, words.substr(i, length));
        i += length;
    }
}

} // namespace

std::string PrayerStore::searchQuery(const std::string& typed)
{
    const std::string words = foldedForSearch(typed);
    // Every run of letters and digits (and of other characters beyond ASCII,
    // which the engine's tokenizer sorts out) is a word; outside quotes each
    // becomes one quoted prefix term, inside them the words make one phrase.
    // All terms must match. Quotes and operators typed by the user never
    // reach the query syntax.
    std::string query;
    std::string term;
    std::vector<std::string> phrase;
    bool inPhrase = false;
    auto add = [&](const std::string& part) {
        if (!query.empty())
            query += ' ';
        query += part;
    };
    auto flushTerm = [&] {
        if (term.empty())
            return;
        if (inPhrase)
            phrase.push_back(term);
        else
            add('"' + term + "\"*");
        term.clear();
    };
    auto flushPhrase = [&](bool closed) {
        if (phrase.empty())
            return;
        std::string joined;
        for (const std::string& word : phrase)
            joined += (joined.empty() ? "" : " ") + word;
        // Still being typed: its last word may go on.
        add('"' + joined + (closed ? "\"" : "\" *"));
        phrase.clear();
    };
    scanSearch(words, [&](CharKind kind, const std::string& bytes) {
        if (kind == CharKind::Word) {
            term += bytes;
            return;
        }
        flushTerm();
        if (kind == CharKind::Quote) {
            if (inPhrase)
                flushPhrase(true);
            inPhrase = !inPhrase;
        }
    });
    flushTerm();
    flushPhrase(false);
    return query;
}

std::vector<std::string> PrayerStore::searchSymbols(const std::string& words)
{
    std::vector<std::string> symbols;
    std::string run;
    scanSearch(words, [&](CharKind kind, const std::string& bytes) {
        if (kind == CharKind::Symbol) {
            run += bytes;
        } else if (!run.empty()) {
            symbols.push_back(run);
            run.clear();
        }
    });
    if (!run.empty())
        symbols.push_back(run);
    return symbols;
}

std::string PrayerStore::searchCondition(const std::string& words, std::vector<std::string>& values)
{
    // The index finds the words; symbols are looked for in the text it keeps.
    std::string condition;
    const std::string query = searchQuery(words);
    if (!query.empty()) {
        condition = format("%s MATCH ?", kSearchTable);
        values.push_back(query);
    }
    for (const std::string& symbol : searchSymbols(words)) {
        if (!condition.empty())
            condition += " AND ";
        condition += "instr(coalesce(title,'')||char(10)||coalesce(topic,'')||char(10)||coalesce(body,'')||"
                     "char(10)||coalesce(notes,''), ?) > 0";
        values.push_back(symbol);
    }
    return condition;
}

PrayerHeaders PrayerStore::prayerHeadersMatching(PrayerFilter statusFilter, const std::string& words) const
{
    std::vector<std::string> values;
    const std::string condition = searchCondition(words, values);
    if (condition.empty())
        return prayerHeadersByTopic(statusFilter);
    // One statement: the index finds the rows, the listing's filter and
    // order apply to them alone.
    std::string sql = format("SELECT %s FROM %s", kHeaderColumns, kTableName);
    sql += filterClause(statusFilter, "prayerHeaders");
    sql += format(" AND prayerIndex IN (SELECT rowid FROM %s WHERE %s);", kSearchTable, condition);
    PrayerHeaders headers;
    Statement st(db(), sql);
    requireStatement(st, "prayerHeaders");
    st.run([&] {
        for (std::size_t i = 0; i < values.size(); ++i)
            st.bindText(static_cast<int>(i) + 1, values[i]);
        while (st.step() == SQLITE_ROW) {
            headers.push_back(headerOf(st));
        }
    });
    return sortedByTopic(std::move(headers));
}

PrayerHeaders PrayerStore::sortedByTopic(PrayerHeaders headers)
{
    std::stable_sort(headers.begin(), headers.end(), [](const PrayerHeader& a, const PrayerHeader& b) {
        if (a.prayerTopic != b.prayerTopic)
            return naturalLess(a.prayerTopic, b.prayerTopic);
        if (a.prayerTitle != b.prayerTitle)
            return naturalLess(a.prayerTitle, b.prayerTitle);
        return a.prayerIndex < b.prayerIndex;
    });
    return headers;
}

std::vector<std::int32_t> PrayerStore::searchPrayers(const std::string& words) const
{
    std::vector<std::int32_t> found;
    std::vector<std::string> values;
    const std::string condition = searchCondition(words, values);
    if (condition.empty())
        return found;
    Statement st(db(), format("SELECT s.rowid FROM %s s JOIN '%s' p ON p.prayerIndex=s.rowid "
                              "WHERE s.rowid IN (SELECT rowid FROM %s WHERE %s) AND p.prayerStatus!='%s' "
                              "ORDER BY s.rowid;",
                              kSearchTable, kTableName, kSearchTable, condition, StoredStatus::deleted().word()));
    requireStatement(st, "searchPrayers");
    st.run([&] {
        for (std::size_t i = 0; i < values.size(); ++i)
            st.bindText(static_cast<int>(i) + 1, values[i]);
        while (st.step() == SQLITE_ROW)
            found.push_back(st.columnInt(0));
    });
    return found;
}

} // namespace kovara::core
