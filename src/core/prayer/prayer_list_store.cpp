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

std::vector<ScheduledItem> PrayerListStore::scheduledItems(sys_days day) const
{
    std::vector<ScheduledItem> items;
    if (!exists())
        return items;
    const std::int64_t d = stored(day);
    // Every item that is active, or answered (whose answer date keeps its
    // place in the cycle it was answered in), with its schedule, answer date, latest prayed day
    // before day, and whether it was prayed for or put off on day.
    const std::string sql = format(
        "SELECT t.prayerIndex, t.prayerStatus, t.createTime, s.scheduleKind, s.weekdayMask, s.scheduleDay, "
        "a.answeredTime, p.lastDay, (SELECT 1 FROM %s WHERE prayerIndex=t.prayerIndex AND prayedDay=%d), "
        "(SELECT 1 FROM %s WHERE prayerIndex=t.prayerIndex AND deferredDay=%d) "
        "FROM '%s' t LEFT JOIN %s s ON s.prayerIndex=t.prayerIndex "
        "LEFT JOIN %s a ON a.prayerIndex=t.prayerIndex "
        "LEFT JOIN (SELECT prayerIndex, MAX(prayedDay) AS lastDay FROM %s WHERE prayedDay<%d GROUP BY prayerIndex) p "
        "ON p.prayerIndex=t.prayerIndex "
        "WHERE t.prayerStatus IN ('%s','%s') ORDER BY t.prayerIndex;",
        kPrayedTable, d, kDeferredTable, d, PrayerStore::kTableName, kScheduleTable, PrayerStore::kAnswerTable,
        kPrayedTable, d, storedWord(PrayerStatus::Active), storedWord(PrayerStatus::Answered));
    queryRows(db(), sql, noStatement("scheduledItems"), [&](Statement& st) {
        ScheduledItem item;
        item.prayerIndex = st.columnInt(0);
        const std::string status = st.columnText(1);
        item.active = status == storedWord(PrayerStatus::Active);
        if (sqlite3_column_type(st.handle(), 3) == SQLITE_NULL) {
            item.schedule.since = dayFrom(st.columnInt64(2));
        } else {
            item.schedule.kind = scheduleKindOf(st.columnText(3));
            item.schedule.weekdays = static_cast<unsigned>(st.columnInt(4)) & kAllWeekdays;
            item.schedule.since = dayFrom(st.columnInt64(5));
        }
        if (status == storedWord(PrayerStatus::Answered) && sqlite3_column_type(st.handle(), 6) != SQLITE_NULL)
            item.closedOn = dayFrom(st.columnInt64(6));
        if (sqlite3_column_type(st.handle(), 7) != SQLITE_NULL)
            item.lastPrayedBefore = dayFrom(st.columnInt64(7));
        item.prayedOnDay = st.columnInt(8) != 0;
        item.deferredOnDay = st.columnInt(9) != 0;
        items.push_back(std::move(item));
    });
    return items;
}

std::vector<ListEntry> PrayerListStore::listFor(sys_days day) const
{
    return prayerListFor(day, scheduledItems(day), cycles());
}

} // namespace kovara::core
