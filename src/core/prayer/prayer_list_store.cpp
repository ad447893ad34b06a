#include "core/prayer/prayer_list_store.h"

#include "core/base/exception.h"

#include <algorithm>

namespace kovara::core {

namespace {

std::int64_t stored(sys_days day) { return toStoredSeconds(startOf(day)); }
sys_days dayFrom(std::int64_t seconds) { return dayOf(fromStoredSeconds(seconds)); }

std::string noStatement(const char* operation)
{
    return format("PrayerListStore.%s Error: Unable to assign statement", operation);
}

struct KindWord {
    ScheduleKind kind;
    const char* word;
};
constexpr KindWord kKindWords[] = {
    {ScheduleKind::Daily, "daily"},     {ScheduleKind::Weekdays, "weekdays"}, {ScheduleKind::Weekly, "weekly"},
    {ScheduleKind::Monthly, "monthly"}, {ScheduleKind::InTurn, "inTurn"},
};

} // namespace

std::string scheduleWord(ScheduleKind kind)
{
    for (const KindWord& k : kKindWords)
        if (k.kind == kind)
            return k.word;
    return "inTurn";
}

ScheduleKind scheduleKindOf(const std::string& word)
{
    for (const KindWord& k : kKindWords)
        if (word == k.word)
            return k.kind;
    return ScheduleKind::InTurn;
}

ListReading::ListReading(sqlite3* db) : db_(db)
{
    if (sqlite3_get_autocommit(db_)) {
        execSQL(db_, "BEGIN;");
        began_ = true;
    }
}

ListReading::~ListReading()
{
    if (began_)
        sqlite3_exec(db_, "COMMIT;", nullptr, nullptr, nullptr);
}

PrayerListStore::PrayerListStore(const PrayerStore& store) : store_(store) {}

void PrayerListStore::inTransaction(const std::function<void()>& body)
{
    // The journal's transaction over the shared connection; it changes
    // nothing of the store object itself.
    const_cast<PrayerStore&>(store_).inTransaction(body);
}

bool PrayerListStore::exists() const { return tableExists(db(), kCycleTable); }

void PrayerListStore::ensureTables(sys_days today)
{
    if (exists())
        return;
    inTransaction([&] {
        execSQL(db(), format("CREATE TABLE IF NOT EXISTS %s (prayerIndex INTEGER PRIMARY KEY, scheduleKind TEXT, "
                             "weekdayMask INTEGER, scheduleDay INTEGER);",
                             kScheduleTable));
        execSQL(db(), format("CREATE TABLE IF NOT EXISTS %s (prayerIndex INTEGER, prayedDay INTEGER, "
                             "PRIMARY KEY (prayerIndex, prayedDay)) WITHOUT ROWID;",
                             kPrayedTable));
        execSQL(db(), format("CREATE TABLE IF NOT EXISTS %s (prayerIndex INTEGER, deferredDay INTEGER, "
                             "PRIMARY KEY (prayerIndex, deferredDay)) WITHOUT ROWID;",
                             kDeferredTable));
        execSQL(db(), format("CREATE TABLE IF NOT EXISTS %s (prayerIndex INTEGER, versePosition INTEGER, "
                             "verseReference TEXT, PRIMARY KEY (prayerIndex, versePosition));",
                             kVerseTable));
        // Made last: its presence says the list's tables are all there.
        execSQL(db(), format("CREATE TABLE %s (cycleStart INTEGER PRIMARY KEY, cycleLength INTEGER);", kCycleTable));
        execSQL(db(), format("INSERT INTO %s (cycleStart, cycleLength) VALUES (%d, %d);", kCycleTable, stored(today),
                             kDefaultCycleLength));
    });
}

PrayerSchedule PrayerListStore::schedule(std::int32_t prayerIndex) const
{
    PrayerSchedule result;
    result.since = dayFrom(0);
    queryRow(db(), format("SELECT createTime FROM '%s' WHERE prayerIndex=%d;", PrayerStore::kTableName, prayerIndex),
             noStatement("schedule"), [&](Statement& st) { result.since = dayFrom(st.columnInt64(0)); });
    if (!exists())
        return result;
    queryRow(db(),
             format("SELECT scheduleKind, weekdayMask, scheduleDay FROM %s WHERE prayerIndex=%d;", kScheduleTable,
                    prayerIndex),
             noStatement("schedule"), [&](Statement& st) {
                 result.kind = scheduleKindOf(st.columnText(0));
                 result.weekdays = static_cast<unsigned>(st.columnInt(1)) & kAllWeekdays;
                 result.since = dayFrom(st.columnInt64(2));
             });
    return result;
}

void PrayerListStore::setSchedule(std::int32_t prayerIndex, const PrayerSchedule& schedule)
{
    Statement st(db(), format("INSERT OR REPLACE INTO %s (prayerIndex, scheduleKind, weekdayMask, scheduleDay) "
                              "VALUES (?,?,?,?);",
                              kScheduleTable));
    if (!st)
        throw Exception(noStatement("setSchedule"));
    st.run([&] {
        st.bindInt(1, prayerIndex);
        st.bindText(2, scheduleWord(schedule.kind));
        st.bindInt(3, static_cast<int>(schedule.weekdays & kAllWeekdays));
        st.bindInt64(4, stored(schedule.since));
        st.step();
    });
}

void PrayerListStore::markPrayed(std::int32_t prayerIndex, sys_days day)
{
    execSQL(db(), format("INSERT OR IGNORE INTO %s (prayerIndex, prayedDay) VALUES (%d, %d);", kPrayedTable,
                         prayerIndex, stored(day)));
}

void PrayerListStore::unmarkPrayed(std::int32_t prayerIndex, sys_days day)
{
    execSQL(db(), format("DELETE FROM %s WHERE prayerIndex=%d AND prayedDay=%d;", kPrayedTable, prayerIndex,
                         stored(day)));
}

std::vector<sys_days> PrayerListStore::prayedDays(std::int32_t prayerIndex) const
{
    std::vector<sys_days> days;
    if (!exists())
        return days;
    queryRows(db(),
              format("SELECT prayedDay FROM %s WHERE prayerIndex=%d ORDER BY prayedDay;", kPrayedTable, prayerIndex),
              noStatement("prayedDays"), [&](Statement& st) { days.push_back(dayFrom(st.columnInt64(0))); });
    return days;
}

void PrayerListStore::defer(std::int32_t prayerIndex, sys_days day)
{
    execSQL(db(), format("INSERT OR IGNORE INTO %s (prayerIndex, deferredDay) VALUES (%d, %d);", kDeferredTable,
                         prayerIndex, stored(day)));
}

std::vector<PrayerCycle> PrayerListStore::cycles() const
{
    std::vector<PrayerCycle> result;
    if (!exists())
        return result;
    queryRows(db(), format("SELECT cycleStart, cycleLength FROM %s ORDER BY cycleStart;", kCycleTable),
              noStatement("cycles"), [&](Statement& st) {
                  result.push_back({dayFrom(st.columnInt64(0)), std::max(1, st.columnInt(1))});
              });
    return result;
}

int PrayerListStore::cycleLength(sys_days day) const
{
    int length = kDefaultCycleLength;
    for (const PrayerCycle& c : cycles())
        if (c.start <= day)
            length = c.length;
    return length;
}

void PrayerListStore::setCycleLength(int length, sys_days day)
{
    if (length < 1)
        throw Exception(format("A cycle of %d days is not possible", length));
    if (cycleLength(day) == length)
        return;
    execSQL(db(), format("INSERT OR REPLACE INTO %s (cycleStart, cycleLength) VALUES (%d, %d);", kCycleTable,
                         stored(day), length));
}

std::vector<std::string> PrayerListStore::verses(std::int32_t prayerIndex) const
{
    std::vector<std::string> result;
    if (!exists())
        return result;
    queryRows(db(),
              format("SELECT verseReference FROM %s WHERE prayerIndex=%d ORDER BY versePosition;", kVerseTable,
                     prayerIndex),
              noStatement("verses"), [&](Statement& st) { result.push_back(st.columnText(0)); });
    return result;
}

void PrayerListStore::setVerses(std::int32_t prayerIndex, const std::vector<std::string>& references)
{
    inTransaction([&] {
        execSQL(db(), format("DELETE FROM %s WHERE prayerIndex=%d;", kVerseTable, prayerIndex));
        Statement st(db(),
                     format("INSERT INTO %s (prayerIndex, versePosition, verseReference) VALUES (?,?,?);", kVerseTable));
        if (!st)
            throw Exception(noStatement("setVerses"));
        st.run([&] {
            int position = 0;
            for (const std::string& reference : references) {
                sqlite3_reset(st.handle());
                st.bindInt(1, prayerIndex);
                st.bindInt(2, ++position);
                st.bindText(3, reference);
                st.step();
            }
        });
    });
}

bool PrayerListStore::addVerse(std::int32_t prayerIndex, const std::string& reference)
{
    std::vector<std::string> references = verses(prayerIndex);
    if (std::find(references.begin(), references.end(), reference) != references.end())
        return false;
    references.push_back(reference);
    setVerses(prayerIndex, references);
    return true;
}

std::vector<ScheduledItem> PrayerListStore::scheduledItems(sys_days day) const
{
    std::vector<ScheduledItem> items;
    if (!exists())
        return items;
    const std::int64_t d = stored(day);
    // Every item that is active, or answered (whose answer date keeps its
    // place in the cycle it was answered in), with its schedule, answer date
    // and latest prayed day up to day. Only the journal's index of statuses
    // is read, never its rows: each row holds the item's whole text, and
    // reading ten thousand of them costs far more than the list itself.
    // Every look-up of the list's own tables goes through their keys.
    const std::string answered = storedWord(PrayerStatus::Answered);
    const std::string sql = format(
        "SELECT t.prayerIndex, t.prayerStatus, s.scheduleKind, s.weekdayMask, s.scheduleDay, "
        "CASE WHEN t.prayerStatus='%s' THEN (SELECT answeredTime FROM %s WHERE prayerIndex=t.prayerIndex) END, "
        "(SELECT MAX(prayedDay) FROM %s WHERE prayerIndex=t.prayerIndex AND prayedDay<=%d) "
        "FROM '%s' t LEFT JOIN %s s ON s.prayerIndex=t.prayerIndex "
        "WHERE t.prayerStatus IN ('%s','%s');",
        answered, PrayerStore::kAnswerTable, kPrayedTable, d, PrayerStore::kTableName, kScheduleTable,
        storedWord(PrayerStatus::Active), answered);
    std::vector<std::size_t> unscheduled;
    std::vector<std::size_t> prayedOnDay;
    queryRows(db(), sql, noStatement("scheduledItems"), [&](Statement& st) {
        ScheduledItem item;
        item.prayerIndex = st.columnInt(0);
        const std::string status = st.columnText(1);
        item.active = status == storedWord(PrayerStatus::Active);
        if (sqlite3_column_type(st.handle(), 2) == SQLITE_NULL) {
            unscheduled.push_back(items.size());
        } else {
            item.schedule.kind = scheduleKindOf(st.columnText(2));
            item.schedule.weekdays = static_cast<unsigned>(st.columnInt(3)) & kAllWeekdays;
            item.schedule.since = dayFrom(st.columnInt64(4));
        }
        if (sqlite3_column_type(st.handle(), 5) != SQLITE_NULL)
            item.closedOn = dayFrom(st.columnInt64(5));
        if (sqlite3_column_type(st.handle(), 6) != SQLITE_NULL) {
            if (st.columnInt64(6) == d) {
                item.prayedOnDay = true;
                prayedOnDay.push_back(items.size());
            } else {
                item.lastPrayedBefore = dayFrom(st.columnInt64(6));
            }
        }
        items.push_back(std::move(item));
    });
    // The few items prayed for on day itself: the day they were prayed for
    // before it.
    if (!prayedOnDay.empty()) {
        Statement st(db(),
                     format("SELECT MAX(prayedDay) FROM %s WHERE prayerIndex=? AND prayedDay<%d;", kPrayedTable, d));
        if (!st)
            throw Exception(noStatement("scheduledItems"));
        st.run([&] {
            for (std::size_t i : prayedOnDay) {
                sqlite3_reset(st.handle());
                st.bindInt(1, items[i].prayerIndex);
                if (st.step() == SQLITE_ROW && sqlite3_column_type(st.handle(), 0) != SQLITE_NULL)
                    items[i].lastPrayedBefore = dayFrom(st.columnInt64(0));
            }
        });
    }
    // The items put off on day: a handful, read in one pass.
    std::vector<std::int32_t> deferred;
    queryRows(db(), format("SELECT prayerIndex FROM %s WHERE deferredDay=%d;", kDeferredTable, d),
              noStatement("scheduledItems"), [&](Statement& st) { deferred.push_back(st.columnInt(0)); });
    std::sort(deferred.begin(), deferred.end());
    // An item without a schedule row is in turn since the day it was made:
    // only its row gives that day (recordDefaultSchedules keeps them few).
    if (!unscheduled.empty()) {
        Statement st(db(), format("SELECT createTime FROM '%s' WHERE prayerIndex=?;", PrayerStore::kTableName));
        if (!st)
            throw Exception(noStatement("scheduledItems"));
        st.run([&] {
            for (std::size_t i : unscheduled) {
                sqlite3_reset(st.handle());
                st.bindInt(1, items[i].prayerIndex);
                items[i].schedule.since = dayFrom(st.step() == SQLITE_ROW ? st.columnInt64(0) : 0);
            }
        });
    }
    std::sort(items.begin(), items.end(),
              [](const ScheduledItem& a, const ScheduledItem& b) { return a.prayerIndex < b.prayerIndex; });
    for (ScheduledItem& item : items)
        item.deferredOnDay = std::binary_search(deferred.begin(), deferred.end(), item.prayerIndex);
    return items;
}

void PrayerListStore::recordDefaultSchedules()
{
    if (!exists())
        return;
    std::vector<std::int32_t> missing;
    queryRows(db(),
              format("SELECT t.prayerIndex FROM '%s' t WHERE t.prayerStatus IN ('%s','%s') AND NOT EXISTS "
                     "(SELECT 1 FROM %s s WHERE s.prayerIndex=t.prayerIndex);",
                     PrayerStore::kTableName, storedWord(PrayerStatus::Active), storedWord(PrayerStatus::Answered),
                     kScheduleTable),
              noStatement("recordDefaultSchedules"), [&](Statement& st) { missing.push_back(st.columnInt(0)); });
    if (missing.empty())
        return;
    inTransaction([&] {
        for (std::int32_t index : missing)
            setSchedule(index, schedule(index));
    });
}

std::vector<ListEntry> PrayerListStore::listFor(sys_days day) const
{
    return prayerListFor(day, scheduledItems(day), cycles());
}

} // namespace kovara::core
