#include "core/plans/plan_store.h"

#include "core/db/transaction.h"

#include "core/base/files.h"
#include "core/base/translation.h"
#include "core/content/bible_store.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cctype>
#include <cwctype>
#include <langinfo.h>
#include <locale.h>
#include <numeric>
#include <random>

namespace kovara::core {

namespace {

// Table names are program-made GUIDs, but they are read back from the file, so
// a quote inside one is doubled before it goes between single quotes.
std::string quoted(const std::string& name)
{
    std::string out;
    for (char c : name) {
        out += c;
        if (c == '\'')
            out += '\'';
    }
    return out;
}

// Holds one read transaction while it lives, unless one is open already:
// the engine then takes and checks its lock once for a run of queries
// instead of once for each.
class ReadTransaction {
public:
    explicit ReadTransaction(sqlite3* db) : db_(db), own_(sqlite3_get_autocommit(db) != 0)
    {
        if (own_)
            execSQL(db_, "BEGIN;");
    }
    ~ReadTransaction()
    {
        // Nothing was written: ending it cannot lose anything.
        if (own_)
            sqlite3_exec(db_, "COMMIT;", nullptr, nullptr, nullptr);
    }
    ReadTransaction(const ReadTransaction&) = delete;
    ReadTransaction& operator=(const ReadTransaction&) = delete;

private:
    sqlite3* db_;
    bool own_;
};

void dropTableQuietly(sqlite3* db, const std::string& tableName)
{
    const std::string sql = format("DROP TABLE IF EXISTS '%s';", quoted(tableName));
    sqlite3_exec(db, sql.c_str(), nullptr, nullptr, nullptr);
}

// The locale used for lower-casing: the user's own when it is a UTF-8 locale,
// else C.UTF-8 (which carries the full Unicode case mapping); made once.
locale_t caseLocale()
{
    static const locale_t loc = [] {
        locale_t user = newlocale(LC_CTYPE_MASK, "", static_cast<locale_t>(nullptr));
        if (user) {
            const std::string codeset = nl_langinfo_l(CODESET, user);
            if (codeset == "UTF-8")
                return user;
            freelocale(user);
        }
        return newlocale(LC_CTYPE_MASK, "C.UTF-8", static_cast<locale_t>(nullptr));
    }();
    return loc;
}

// Decodes one UTF-8 sequence at text[i]; returns its length, or 0 when the
// bytes there are not well-formed UTF-8.
std::size_t decodeUtf8(const std::string& text, std::size_t i, char32_t& cp)
{
    const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[k]); };
    const unsigned char b0 = byte(i);
    std::size_t len;
    char32_t min;
    if (b0 < 0x80) {
        cp = b0;
        return 1;
    } else if ((b0 & 0xE0) == 0xC0) {
        len = 2, cp = b0 & 0x1F, min = 0x80;
    } else if ((b0 & 0xF0) == 0xE0) {
        len = 3, cp = b0 & 0x0F, min = 0x800;
    } else if ((b0 & 0xF8) == 0xF0) {
        len = 4, cp = b0 & 0x07, min = 0x10000;
    } else {
        return 0;
    }
    if (i + len > text.size())
        return 0;
    for (std::size_t k = 1; k < len; ++k) {
        if ((byte(i + k) & 0xC0) != 0x80)
            return 0;
        cp = (cp << 6) | (byte(i + k) & 0x3F);
    }
    if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF))
        return 0;
    return len;
}

void encodeUtf8(char32_t cp, std::string& out)
{
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xF0 | (cp >> 18));
        out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

// Whether a day's text is a passage the views can show: verse runs "a-b"
// (or a single verse) of positive verse numbers, separated by commas.
bool isPassageText(const std::string& text)
{
    // The form this program writes ("1-31,1533-1550") is checked by a scan;
    // anything else goes through the full parse. Parsing every day of every
    // plan at start-up cost more than reading them.
    bool plain = !text.empty();
    std::size_t digits = 0;
    bool nonZero = false;
    for (const char c : text) {
        if (c >= '0' && c <= '9') {
            ++digits;
            nonZero = nonZero || c != '0';
        } else if ((c == ',' || c == '-') && digits > 0 && digits < 10 && nonZero) {
            digits = 0;
            nonZero = false;
        } else {
            plain = false;
            break;
        }
    }
    if (plain && digits > 0 && digits < 10 && nonZero)
        return true;
    try {
        const std::vector<VerseRun> runs = parseVerseSpec(text);
        return !runs.empty() && std::all_of(runs.begin(), runs.end(),
                                            [](const VerseRun& run) { return run.first >= 1 && run.last >= 1; });
    } catch (const std::exception&) {
        return false;
    }
}

} // namespace

std::string localeLowerCase(const std::string& text)
{
    const locale_t loc = caseLocale();
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size();) {
        char32_t cp = 0;
        const std::size_t len = decodeUtf8(text, i, cp);
        if (len == 0) {
            out += text[i++]; // not UTF-8: kept as it is
            continue;
        }
        if (loc)
            cp = static_cast<char32_t>(towlower_l(static_cast<wint_t>(cp), loc));
        else if (cp < 0x80)
            cp = static_cast<char32_t>(std::tolower(static_cast<int>(cp)));
        encodeUtf8(cp, out);
        i += len;
    }
    return out;
}

std::string newGuidString()
{
    std::random_device rd;
    std::array<std::uint8_t, 16> b{};
    for (std::size_t i = 0; i < b.size(); i += 4) {
        const std::uint32_t r = rd();
        for (std::size_t k = 0; k < 4; ++k)
            b[i + k] = static_cast<std::uint8_t>(r >> (8 * k));
    }
    b[6] = static_cast<std::uint8_t>((b[6] & 0x0F) | 0x40); // version 4: random
    b[8] = static_cast<std::uint8_t>((b[8] & 0x3F) | 0x80); // RFC 4122 variant
    std::string hex;
    for (std::uint8_t v : b)
        hex += format("%02X", static_cast<int>(v));
    return "{" + hex.substr(0, 8) + "-" + hex.substr(8, 4) + "-" + hex.substr(12, 4) + "-" + hex.substr(16, 4) + "-" +
           hex.substr(20, 12) + "}";
}

PlanStore::PlanStore(const std::string& fileName, const Clock& clock)
    : db_(fileName), fileName_(fileName), clock_(clock)
{
    // A failure below unwinds db_, which closes the file again.
    if (!tableExists(db(), kMasterTable))
        execSQL(db(),
                format("CREATE TABLE %s (tableName TEXT UNIQUE, planTitle TEXT, startDate INTEGER, status TEXT);",
                       kMasterTable));
    loadPlans();
}

PlanStore::~PlanStore() = default;

void PlanStore::close()
{
    db_.close();
}

sqlite3* PlanStore::db() const
{
    if (!db_)
        throw Exception("The reading plan database is closed");
    return db_.get();
}

void PlanStore::loadPlans()
{
    const ReadTransaction reading(db());
    // Built aside and swapped in, so a failed read keeps the plans as they were.
    std::vector<PlanRecord> loaded;
    queryRows(db(),
              format("SELECT tableName,planTitle,startDate FROM %s WHERE status='active' ORDER BY planTitle;",
                     kMasterTable),
              "PlanStore::loadPlans Error: Unable to assign statement", [&](Statement& st) {
                  PlanRecord rec;
                  rec.tableName = st.columnText(0);
                  rec.planTitle = st.columnText(1);
                  rec.startDate = fromStoredSeconds(st.columnInt64(2));
                  loaded.push_back(std::move(rec));
              });
    // Each plan is read on its own: a missing or damaged day table, or a day
    // whose text is not a passage, keeps that plan out and no other.
    std::vector<DamagedPlan> damaged;
    std::erase_if(loaded, [&](PlanRecord& rec) {
        try {
            queryRows(db(), format("SELECT dayVerses,dayDone FROM '%s' ORDER BY planDay;", quoted(rec.tableName)),
                      "PlanStore::loadPlans Error: Unable to assign statement", [&](Statement& st) {
                          rec.dayVerses.push_back(st.columnText(0));
                          // The flag as stored: an integer (as this program
                          // writes it) compared as a number, anything else
                          // as its text.
                          rec.dayDone.push_back(sqlite3_column_type(st.handle(), 1) == SQLITE_INTEGER
                                                    ? st.columnInt64(1) != 0
                                                    : st.columnText(1) != "0");
                      });
            for (std::size_t day = 0; day < rec.dayVerses.size(); ++day)
                if (!isPassageText(rec.dayVerses[day]))
                    throw Exception(withArgs(translatedText("kovara::core::PlanStore", "day %1 holds \"%2\", which is not a passage"),
                                             static_cast<int>(day + 1), rec.dayVerses[day]));
        } catch (const std::exception& e) {
            damaged.push_back({PlanId(rec.tableName), rec.planTitle, e.what()});
            return true;
        }
        rec.readDates.assign(rec.dayVerses.size(), std::nullopt);
        return false;
    });
    const auto byTable = [&loaded](const std::string& table) -> PlanRecord* {
        for (PlanRecord& rec : loaded)
            if (rec.tableName == table)
                return &rec;
        return nullptr;
    };
    if (tableExists(db(), kReadDatesTable))
        queryRows(db(), format("SELECT tableName,planDay,readDate FROM %s;", kReadDatesTable),
                  "PlanStore::loadPlans Error: Unable to assign statement", [&](Statement& st) {
                      PlanRecord* rec = byTable(st.columnText(0));
                      const int day = st.columnInt(1);
                      if (rec && day >= 1 && day <= static_cast<int>(rec->readDates.size()))
                          rec->readDates[static_cast<std::size_t>(day - 1)] = fromStoredSeconds(st.columnInt64(2));
                  });
    if (tableExists(db(), kOptionsTable))
        queryRows(db(), format("SELECT tableName,doubleUp,reminder FROM %s;", kOptionsTable),
                  "PlanStore::loadPlans Error: Unable to assign statement", [&](Statement& st) {
                      if (PlanRecord* rec = byTable(st.columnText(0))) {
                          rec->doubleUp = st.columnInt(1) != 0;
                          rec->reminder = st.columnInt(2) != 0;
                      }
                  });
    if (tableExists(db(), kVersionsTable))
        queryRows(db(), format("SELECT tableName,bibleVersion FROM %s;", kVersionsTable),
                  "PlanStore::loadPlans Error: Unable to assign statement", [&](Statement& st) {
                      if (PlanRecord* rec = byTable(st.columnText(0)))
                          rec->bibleVersion = st.columnText(1);
                  });
    plans_.swap(loaded);
    damaged_.swap(damaged);
}

void PlanStore::deleteDamagedPlans()
{
    for (const DamagedPlan& plan : damaged_)
        execSQL(db(), format("UPDATE '%s' SET status='deleted' WHERE tableName='%s';", kMasterTable,
                             quoted(plan.id.guid())));
    loadPlans();
}

PlanId PlanStore::addPlan(const std::string& title, const std::vector<std::string>& dayTexts, sys_seconds startDate,
                          const PlanId& id)
{
    const std::string tableName = id ? id.guid() : newGuidString();
    const std::int64_t start = toStoredSeconds(startDate);
    // Inside a caller's transaction (a batch), its rollback undoes all of it.
    const bool nested = !sqlite3_get_autocommit(db());
    execSQL(db(), format("CREATE TABLE '%s' (planDay INTEGER PRIMARY KEY, dayVerses TEXT, dayDone INTEGER);",
                        quoted(tableName)));
    try {
        inTransaction(db(), "BEGIN TRANSACTION", [&] {
            // Day texts are bound, never formatted into the statement, so a text
            // holding a quote is stored as it is.
            Statement insert(db(), format("INSERT INTO '%s' (planDay, dayVerses, dayDone) VALUES (NULL, ?, 0);",
                                         quoted(tableName)));
            if (!insert)
                throw Exception("PlanStore::addPlan Error: Unable to assign statement");
            insert.run([&] {
                for (const std::string& text : dayTexts) {
                    checkResult(sqlite3_reset(insert.handle()), db());
                    insert.bindText(1, text);
                    insert.step();
                }
            });
        });

        Statement master(db(),
                         format("INSERT INTO %s (planTitle, startDate, tableName, status) VALUES (?,?,?,'active');",
                                kMasterTable));
        if (!master)
            throw Exception("PlanStore::addPlan Error: Unable to assign statement");
        master.run([&] {
            master.bindText(1, title);
            master.bindInt64(2, start);
            master.bindText(3, tableName);
            master.step();
        });
    } catch (...) {
        // Leave nothing half-made behind: no open transaction, no day table
        // that no master row lists.
        if (!nested && !sqlite3_get_autocommit(db()))
            sqlite3_exec(db(), "ROLLBACK TRANSACTION", nullptr, nullptr, nullptr);
        dropTableQuietly(db(), tableName);
        throw;
    }
    loadPlans();
    return PlanId(tableName);
}

const PlanRecord& PlanStore::record(int plan) const
{
    if (plan < 0 || plan >= planCount())
        throw Exception(format("Plan index out of range: %d", plan));
    return plans_[static_cast<std::size_t>(plan)];
}

PlanRecord& PlanStore::planRef(int plan)
{
    return const_cast<PlanRecord&>(record(plan));
}

void PlanStore::checkDay(const PlanRecord& rec, int day) const
{
    if (day < 1 || day > static_cast<int>(rec.dayVerses.size()))
        throw Exception(format("Day out of range: %d", day));
}

const std::string& PlanStore::planTitle(int plan) const
{
    return record(plan).planTitle;
}

PlanId PlanStore::id(int plan) const
{
    return PlanId(record(plan).tableName);
}

sys_seconds PlanStore::startDate(int plan) const
{
    return record(plan).startDate;
}

void PlanStore::setStartDate(int plan, sys_seconds date)
{
    PlanRecord& rec = planRef(plan);
    execSQL(db(), format("UPDATE '%s' SET startDate=%d where tableName='%s';", kMasterTable,
                        toStoredSeconds(date), quoted(rec.tableName)));
    rec.startDate = date;
}

int PlanStore::dayCount(int plan) const
{
    return static_cast<int>(record(plan).dayVerses.size());
}

const std::string& PlanStore::dayVerses(int plan, int day) const
{
    const PlanRecord& rec = record(plan);
    checkDay(rec, day);
    return rec.dayVerses[static_cast<std::size_t>(day - 1)];
}

bool PlanStore::isDayDone(int plan, int day) const
{
    const PlanRecord& rec = record(plan);
    checkDay(rec, day);
    return rec.dayDone[static_cast<std::size_t>(day - 1)];
}

namespace {

// Runs body inside one transaction (a savepoint of the caller's, when one is
// open): committed when it returns, rolled back when it raises (the error is
// raised again).
template <typename Body>
void inTransaction(sqlite3* db, Body&& body)
{
    kovara::core::inTransaction(db, "BEGIN TRANSACTION", std::forward<Body>(body));
}

} // namespace

void PlanStore::ensureSideTable(const char* table)
{
    if (tableExists(db(), table))
        return;
    if (std::string(table) == kReadDatesTable)
        execSQL(db(), format("CREATE TABLE %s (tableName TEXT, planDay INTEGER, readDate INTEGER, "
                             "PRIMARY KEY (tableName, planDay));",
                             kReadDatesTable));
    else if (std::string(table) == kVersionsTable)
        execSQL(db(), format("CREATE TABLE %s (tableName TEXT PRIMARY KEY, bibleVersion TEXT);", kVersionsTable));
    else if (std::string(table) == kCalendarTable)
        execSQL(db(), format("CREATE TABLE %s (tableName TEXT PRIMARY KEY, calendarId TEXT, sequence INTEGER, "
                             "days TEXT);",
                             kCalendarTable));
    else
        execSQL(db(),
                format("CREATE TABLE %s (tableName TEXT PRIMARY KEY, doubleUp INTEGER, reminder INTEGER);", table));
}

void PlanStore::setDayDone(int plan, int day, bool done)
{
    const PlanRecord& rec = record(plan);
    checkDay(rec, day);
    if (rec.dayDone[static_cast<std::size_t>(day - 1)] == done)
        return;
    // A day is dated by its midnight.
    setDayDone(plan, day, done, done ? std::optional<sys_seconds>(startOf(clock_.today())) : std::nullopt);
}

void PlanStore::setDayDone(int plan, int day, bool done, std::optional<sys_seconds> readDate)
{
    PlanRecord& rec = planRef(plan);
    checkDay(rec, day);
    if (!done)
        readDate.reset();
    if (rec.dayDone[static_cast<std::size_t>(day - 1)] == done && rec.readDates[static_cast<std::size_t>(day - 1)] == readDate)
        return;
    const std::optional<sys_seconds> today = readDate;
    inTransaction(db(), [&] {
        execSQL(db(), format("UPDATE '%s' SET dayDone=%d where planDay=%d;", quoted(rec.tableName), done ? 1 : 0, day));
        if (done && today) {
            ensureSideTable(kReadDatesTable);
            execSQL(db(), format("INSERT OR REPLACE INTO %s (tableName, planDay, readDate) VALUES ('%s', %d, %d);",
                                 kReadDatesTable, quoted(rec.tableName), day, toStoredSeconds(*today)));
        } else if (tableExists(db(), kReadDatesTable)) {
            execSQL(db(), format("DELETE FROM %s WHERE tableName='%s' AND planDay=%d;", kReadDatesTable,
                                 quoted(rec.tableName), day));
        }
    });
    rec.dayDone[static_cast<std::size_t>(day - 1)] = done;
    rec.readDates[static_cast<std::size_t>(day - 1)] = today;
}

void PlanStore::markDaysDoneThrough(int plan, int day)
{
    const PlanRecord& rec = record(plan);
    checkDay(rec, day);
    std::vector<int> days(static_cast<std::size_t>(day));
    std::iota(days.begin(), days.end(), 1);
    markDaysDone(plan, days);
}

void PlanStore::markDaysDone(int plan, const std::vector<int>& days)
{
    PlanRecord& rec = planRef(plan);
    for (int d : days)
        checkDay(rec, d);
    // Days marked together were read over time, not all today: each counts
    // at its planned date, or today when that is still ahead, so the pace
    // does not take a morning's bookkeeping for a day's reading.
    const sys_days today = clock_.today();
    const sys_days start = dayOf(rec.startDate);
    const auto dateOf = [&](int d) { return startOf(std::min(today, start + std::chrono::days(d - 1))); };
    std::vector<int> newlyRead;
    for (int d : days)
        if (!rec.dayDone[static_cast<std::size_t>(d - 1)] &&
            std::find(newlyRead.begin(), newlyRead.end(), d) == newlyRead.end())
            newlyRead.push_back(d);
    if (newlyRead.empty())
        return;
    inTransaction(db(), [&] {
        ensureSideTable(kReadDatesTable);
        Statement mark(db(), format("UPDATE '%s' SET dayDone=1 WHERE planDay=?;", quoted(rec.tableName)));
        Statement date(db(), format("INSERT OR REPLACE INTO %s (tableName, planDay, readDate) VALUES (?, ?, ?);",
                                    kReadDatesTable));
        if (!mark || !date)
            throw Exception("PlanStore::markDaysDone Error: Unable to assign statement");
        mark.run([&] {
            date.run([&] {
                for (int d : newlyRead) {
                    checkResult(sqlite3_reset(mark.handle()), db());
                    mark.bindInt(1, d);
                    mark.step();
                    checkResult(sqlite3_reset(date.handle()), db());
                    date.bindText(1, rec.tableName);
                    date.bindInt(2, d);
                    date.bindInt64(3, toStoredSeconds(dateOf(d)));
                    date.step();
                }
            });
        });
    });
    for (int d : newlyRead) {
        rec.readDates[static_cast<std::size_t>(d - 1)] = dateOf(d);
        rec.dayDone[static_cast<std::size_t>(d - 1)] = true;
    }
}

CalendarExportState PlanStore::calendarExportState(int plan) const
{
    const PlanRecord& rec = record(plan);
    CalendarExportState state;
    if (!tableExists(db(), kCalendarTable))
        return state;
    Statement st(db(), format("SELECT calendarId, sequence, days FROM %s WHERE tableName=?;", kCalendarTable));
    if (!st)
        throw Exception("PlanStore::calendarExportState Error: Unable to assign statement");
    st.run([&] {
        st.bindText(1, rec.tableName);
        if (st.step() != SQLITE_ROW)
            return;
        state.calendarId = st.columnText(0);
        state.sequence = st.columnInt(1);
        const std::string days = st.columnText(2);
        for (std::size_t at = 0; at < days.size();) {
            std::size_t end = days.find(',', at);
            if (end == std::string::npos)
                end = days.size();
            const int day = std::atoi(days.substr(at, end - at).c_str());
            if (day > 0)
                state.days.push_back(day);
            at = end + 1;
        }
    });
    return state;
}

void PlanStore::setCalendarExportState(int plan, const CalendarExportState& state)
{
    const PlanRecord& rec = record(plan);
    std::string days;
    for (int day : state.days)
        days += (days.empty() ? "" : ",") + std::to_string(day);
    inTransaction(db(), [&] {
        ensureSideTable(kCalendarTable);
        Statement st(db(), format("INSERT OR REPLACE INTO %s (tableName, calendarId, sequence, days) "
                                  "VALUES (?, ?, ?, ?);",
                                  kCalendarTable));
        if (!st)
            throw Exception("PlanStore::setCalendarExportState Error: Unable to assign statement");
        st.run([&] {
            st.bindText(1, rec.tableName);
            st.bindText(2, state.calendarId);
            st.bindInt(3, state.sequence);
            st.bindText(4, days);
            st.step();
        });
    });
}

std::optional<sys_seconds> PlanStore::readDate(int plan, int day) const
{
    const PlanRecord& rec = record(plan);
    checkDay(rec, day);
    return rec.readDates[static_cast<std::size_t>(day - 1)];
}

void PlanStore::writeOptions(const PlanRecord& rec, bool doubleUp, bool reminder)
{
    ensureSideTable(kOptionsTable);
    execSQL(db(), format("INSERT OR REPLACE INTO %s (tableName, doubleUp, reminder) VALUES ('%s', %d, %d);",
                         kOptionsTable, quoted(rec.tableName), doubleUp ? 1 : 0, reminder ? 1 : 0));
}

void PlanStore::setDoubleUp(int plan, bool on)
{
    PlanRecord& rec = planRef(plan);
    if (rec.doubleUp == on)
        return;
    writeOptions(rec, on, rec.reminder);
    rec.doubleUp = on;
}

void PlanStore::setReminder(int plan, bool on)
{
    PlanRecord& rec = planRef(plan);
    if (rec.reminder == on)
        return;
    writeOptions(rec, rec.doubleUp, on);
    rec.reminder = on;
}

void PlanStore::setBibleVersion(int plan, const std::string& module)
{
    PlanRecord& rec = planRef(plan);
    if (rec.bibleVersion == module)
        return;
    if (module.empty() && !tableExists(db(), kVersionsTable)) {
        rec.bibleVersion.clear();
        return;
    }
    ensureSideTable(kVersionsTable);
    Statement st(db(), module.empty() ? format("DELETE FROM %s WHERE tableName=?;", kVersionsTable)
                                      : format("INSERT OR REPLACE INTO %s (tableName, bibleVersion) VALUES (?, ?);",
                                               kVersionsTable));
    if (!st)
        throw Exception("PlanStore::setBibleVersion Error: Unable to assign statement");
    st.run([&] {
        st.bindText(1, rec.tableName);
        if (!module.empty())
            st.bindText(2, module);
        st.step();
    });
    rec.bibleVersion = module;
}

std::optional<int> PlanStore::indexOf(const PlanId& plan) const
{
    if (plan.isNull())
        return std::nullopt;
    for (std::size_t i = 0; i < plans_.size(); ++i)
        if (plans_[i].tableName == plan.guid())
            return static_cast<int>(i);
    return std::nullopt;
}

PlanReplacement PlanStore::replacePlan(int plan, const std::vector<std::string>& dayTexts,
                                       const std::vector<bool>& done,
                                       const std::vector<std::optional<sys_seconds>>& readDates,
                                       sys_seconds startDate, const std::function<void(int, int)>& progress)
{
    const PlanRecord& old = record(plan);
    if (done.size() != dayTexts.size() || (!readDates.empty() && readDates.size() != dayTexts.size()))
        throw Exception("PlanStore::replacePlan Error: day lists of different lengths");
    PlanReplacement replacement{PlanId(old.tableName), PlanId(newGuidString())};
    const std::string& table = replacement.newPlan.guid();
    const int total = static_cast<int>(dayTexts.size());
    inTransaction(db(), [&] {
        execSQL(db(), format("CREATE TABLE '%s' (planDay INTEGER PRIMARY KEY, dayVerses TEXT, dayDone INTEGER);",
                             quoted(table)));
        Statement insert(db(), format("INSERT INTO '%s' (planDay, dayVerses, dayDone) VALUES (NULL, ?, ?);",
                                      quoted(table)));
        if (!insert)
            throw Exception("PlanStore::replacePlan Error: Unable to assign statement");
        insert.run([&] {
            for (int i = 0; i < total; ++i) {
                checkResult(sqlite3_reset(insert.handle()), db());
                insert.bindText(1, dayTexts[static_cast<std::size_t>(i)]);
                insert.bindInt(2, done[static_cast<std::size_t>(i)] ? 1 : 0);
                insert.step();
                if (progress && i % 1000 == 0)
                    progress(i, total);
            }
        });
        // Read dates go beside only where the old plan kept any.
        if (tableExists(db(), kReadDatesTable) && !readDates.empty()) {
            Statement dates(db(), format("INSERT INTO %s (tableName, planDay, readDate) VALUES (?, ?, ?);",
                                         kReadDatesTable));
            if (!dates)
                throw Exception("PlanStore::replacePlan Error: Unable to assign statement");
            dates.run([&] {
                for (int i = 0; i < total; ++i) {
                    const std::optional<sys_seconds>& date = readDates[static_cast<std::size_t>(i)];
                    if (!done[static_cast<std::size_t>(i)] || !date)
                        continue;
                    checkResult(sqlite3_reset(dates.handle()), db());
                    dates.bindText(1, table);
                    dates.bindInt(2, i + 1);
                    dates.bindInt64(3, toStoredSeconds(*date));
                    dates.step();
                }
            });
        }
        if (tableExists(db(), kOptionsTable))
            execSQL(db(), format("INSERT INTO %s (tableName, doubleUp, reminder) SELECT '%s', 0, reminder FROM %s "
                                 "WHERE tableName='%s';",
                                 kOptionsTable, quoted(table), kOptionsTable, quoted(old.tableName)));
        if (tableExists(db(), kVersionsTable))
            execSQL(db(), format("INSERT INTO %s (tableName, bibleVersion) SELECT '%s', bibleVersion FROM %s "
                                 "WHERE tableName='%s';",
                                 kVersionsTable, quoted(table), kVersionsTable, quoted(old.tableName)));
        // The calendar export goes on under the same UIDs.
        if (tableExists(db(), kCalendarTable))
            execSQL(db(), format("INSERT INTO %s (tableName, calendarId, sequence, days) SELECT '%s', calendarId, "
                                 "sequence, days FROM %s WHERE tableName='%s';",
                                 kCalendarTable, quoted(table), kCalendarTable, quoted(old.tableName)));
        execSQL(db(), format("UPDATE '%s' SET status='deleted' WHERE tableName='%s';", kMasterTable,
                             quoted(old.tableName)));
        Statement master(db(),
                         format("INSERT INTO %s (planTitle, startDate, tableName, status) VALUES (?,?,?,'active');",
                                kMasterTable));
        if (!master)
            throw Exception("PlanStore::replacePlan Error: Unable to assign statement");
        master.run([&] {
            master.bindText(1, old.planTitle);
            master.bindInt64(2, toStoredSeconds(startDate));
            master.bindText(3, table);
            master.step();
        });
    });
    if (progress)
        progress(total, total);
    loadPlans();
    return replacement;
}

void PlanStore::undoReplacement(const PlanReplacement& replacement)
{
    if (!indexOf(replacement.newPlan))
        throw Exception("The replaced reading plan can no longer be restored");
    inTransaction(db(), [&] {
        const std::string oldTable = quoted(replacement.oldPlan.guid());
        const std::string newTable = quoted(replacement.newPlan.guid());
        execSQL(db(), format("DELETE FROM %s WHERE tableName='%s';", kMasterTable, newTable));
        execSQL(db(), format("DROP TABLE '%s';", newTable));
        if (tableExists(db(), kReadDatesTable))
            execSQL(db(), format("DELETE FROM %s WHERE tableName='%s';", kReadDatesTable, newTable));
        if (tableExists(db(), kOptionsTable))
            execSQL(db(), format("DELETE FROM %s WHERE tableName='%s';", kOptionsTable, newTable));
        // The version read in since the replacement goes back with the plan.
        if (tableExists(db(), kVersionsTable)) {
            execSQL(db(), format("DELETE FROM %s WHERE tableName='%s';", kVersionsTable, oldTable));
            execSQL(db(), format("INSERT INTO %s (tableName, bibleVersion) SELECT '%s', bibleVersion "
                                 "FROM %s WHERE tableName='%s';",
                                 kVersionsTable, oldTable, kVersionsTable, newTable));
            execSQL(db(), format("DELETE FROM %s WHERE tableName='%s';", kVersionsTable, newTable));
        }
        if (tableExists(db(), kCalendarTable)) {
            // A calendar exported since the replacement keeps its newer state.
            execSQL(db(), format("INSERT OR REPLACE INTO %s (tableName, calendarId, sequence, days) SELECT '%s', "
                                 "calendarId, sequence, days FROM %s WHERE tableName='%s' AND sequence > "
                                 "coalesce((SELECT sequence FROM %s WHERE tableName='%s'), -1);",
                                 kCalendarTable, oldTable, kCalendarTable, newTable, kCalendarTable, oldTable));
            execSQL(db(), format("DELETE FROM %s WHERE tableName='%s';", kCalendarTable, newTable));
        }
        execSQL(db(), format("UPDATE '%s' SET status='active' WHERE tableName='%s';", kMasterTable, oldTable));
    });
    loadPlans();
}

void PlanStore::deletePlan(int plan)
{
    const PlanRecord& rec = record(plan);
    execSQL(db(),
            format("UPDATE '%s' SET status='deleted' WHERE tableName='%s';", kMasterTable, quoted(rec.tableName)));
    loadPlans();
}

bool PlanStore::restorePlan(const PlanId& plan)
{
    if (!hasPlan(plan))
        return false;
    execSQL(db(), format("UPDATE '%s' SET status='active' WHERE tableName='%s';", kMasterTable, quoted(plan.guid())));
    loadPlans();
    return true;
}

bool PlanStore::hasPlan(const PlanId& plan) const
{
    Statement st(db(), format("SELECT 1 FROM %s WHERE tableName=?;", kMasterTable));
    if (!st)
        throw Exception("PlanStore::hasPlan Error: Unable to assign statement");
    bool found = false;
    st.run([&] {
        st.bindText(1, plan.guid());
        found = st.step() == SQLITE_ROW;
    });
    return found;
}

void PlanStore::renamePlan(int plan, const std::string& title)
{
    PlanRecord& rec = planRef(plan);
    Statement st(db(), format("UPDATE %s SET planTitle=? WHERE tableName='%s';", kMasterTable, quoted(rec.tableName)));
    if (!st)
        throw Exception("PlanStore::renamePlan Error: Unable to assign statement");
    st.run([&] {
        st.bindText(1, title);
        st.step();
    });
    rec.planTitle = title;
}

bool PlanStore::planTitleExists(const std::string& text) const
{
    const std::string wanted = localeLowerCase(text);
    return std::any_of(plans_.begin(), plans_.end(),
                       [&](const PlanRecord& rec) { return localeLowerCase(rec.planTitle) == wanted; });
}

std::optional<int> PlanStore::firstUnreadDay(int plan) const
{
    const PlanRecord& rec = record(plan);
    const auto it = std::find(rec.dayDone.begin(), rec.dayDone.end(), false);
    if (it == rec.dayDone.end())
        return std::nullopt;
    return static_cast<int>(it - rec.dayDone.begin()) + 1;
}

int PlanStore::todaysPlanDay(int plan) const
{
    const PlanRecord& rec = record(plan);
    // Whole days between the start and now, the part of a day left over
    // dropped. Before the start no day is due.
    const sys_seconds now = clock_.now();
    if (now < rec.startDate)
        return 0;
    const std::chrono::seconds span = now - rec.startDate;
    const long long day = std::chrono::duration_cast<std::chrono::days>(span).count() + 1;
    return static_cast<int>(std::min<long long>(day, static_cast<long long>(rec.dayVerses.size())));
}

std::vector<std::string> loadTemplateVerses(const std::string& fileName, const std::string& tableName)
{
    if (!fileExists(fileName))
        throw Exception(format("Plan file not found: %s", fileName));
    Database db(fileName);
    std::vector<std::string> days;
    queryRows(db.get(), format("SELECT verses FROM %s ORDER BY day;", tableName),
              "LoadTemplateVerses Error: Unable to assign statement",
              [&](Statement& st) { days.push_back(st.columnText(0)); });
    db.close();
    if (days.empty())
        throw Exception(format("No lines returned for %s, %s", fileName, tableName));
    return days;
}

} // namespace kovara::core
