#pragma once
// The user's reading plans, kept in userreadplans.kova2: a master table that
// lists every plan, and one day table per plan named by a random GUID. Every
// active plan is held in memory in full, so the questions asked on every
// screen refresh (titles, today's plan day, read flags) never touch the
// database; each change is written to the database first and to memory second,
// so a failed write leaves memory as it was.
#include "core/base/datetime.h"
#include "core/db/database.h"
#include "core/db/sqlite_db.h"
#include "core/plans/plan_id.h"

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace kovara::core {

struct PlanRecord {
    std::string planTitle;
    std::string tableName;
    // Day 1's date; a start written by an earlier version may carry a time of
    // day, which is kept as it is.
    sys_seconds startDate{};
    // Day n lives at position n - 1 in both lists; they always have the same
    // length. dayDone is true for a day read (the file keeps 0 for unread,
    // and anything else counts as read).
    std::vector<std::string> dayVerses;
    std::vector<bool> dayDone;
    // Beside the stored plan (tables of their own, see PlanStore): the moment
    // each day was marked read (nothing when not known: unread, or read
    // before dates were kept), and the plan's reading options.
    std::vector<std::optional<sys_seconds>> readDates;
    bool doubleUp = false; // reading two plan days a day until caught up
    bool reminder = true;  // the daily reminder covers this plan
    // The Bible version the plan is read in: the SWORD module of an imported
    // Bible; empty for the shipped Bible.
    std::string bibleVersion;
};

// What the last calendar export of a plan wrote, so that the next one updates
// the reader's calendar instead of adding to it.
struct CalendarExportState {
    // The stable part of every event's UID; empty until the first export.
    std::string calendarId;
    // The SEQUENCE the events were written with; -1 before the first export.
    int sequence = -1;
    // The plan days written as events to read (not cancelled), ascending.
    std::vector<int> days;
};

// What replacePlan needs to put the replaced plan back exactly.
struct PlanReplacement {
    PlanId oldPlan;
    PlanId newPlan;
};

// An active plan that could not be loaded: its day table is missing or
// unreadable, or a day holds text that is not a passage.
struct DamagedPlan {
    PlanId id;
    std::string planTitle;
    std::string reason; // the first problem found, for the reader
};

class PlanStore {
public:
    static constexpr const char* kMasterTable = "KOVA2PlanMaster";
    // Kept beside the master table, each created when first written, so that a
    // database that never used them stays exactly as it was: the date each
    // plan day was marked read, and each plan's reading options.
    static constexpr const char* kReadDatesTable = "KOVA2PlanReadDates";
    static constexpr const char* kOptionsTable = "KOVA2PlanOptions";
    // The state of each plan's last calendar export (see CalendarExportState).
    static constexpr const char* kCalendarTable = "KOVA2PlanCalendar";
    // The Bible version each plan is read in (see PlanRecord::bibleVersion).
    static constexpr const char* kVersionsTable = "KOVA2PlanVersions";

    // Opens (creating when missing) the plan database at fileName, creates the
    // master table when it is not there and loads the active plans. The clock
    // answers "now" for todaysPlanDay and must outlive the store. Raises
    // SqliteError when the file cannot be opened or read; nothing stays open then.
    PlanStore(const std::string& fileName, const Clock& clock);
    // Closes the connection; never raises, so a store can be freed while an
    // error unwinds. A failing close is not reported here (call close() first
    // to see it).
    ~PlanStore();
    PlanStore(const PlanStore&) = delete;
    PlanStore& operator=(const PlanStore&) = delete;

    // Closes the connection now; raises SqliteError when the engine refuses,
    // and the connection then stays open (see Database::close). Once closed,
    // every operation that reaches the database raises; the plans in memory
    // can still be read.
    void close();

    // Reads every active plan and its days again, ordered by title (byte-wise,
    // case-sensitive). Plan indices change. A plan that cannot be read is
    // left out and listed by damagedPlans(), so one damaged plan never keeps
    // the others from loading. When the master table itself cannot be read,
    // raises and the plans loaded before stay as they were.
    void loadPlans();
    // The active plans the last loadPlans left out, in title order.
    const std::vector<DamagedPlan>& damagedPlans() const { return damaged_; }
    // Marks every damaged plan deleted (as deletePlan does: its rows stay in
    // the file) and reloads.
    void deleteDamagedPlans();

    int planCount() const { return static_cast<int>(plans_.size()); }
    const std::string& fileName() const { return fileName_; }

    // Creates a plan of the given day texts (day 1 first), every day unread,
    // starting on startDate, and reloads. Returns the new plan's id. The day
    // rows go in inside one
    // transaction; when anything fails, the transaction is rolled back and the
    // new day table dropped, so nothing half-made remains and no transaction
    // stays open; the error is then raised.
    // id, when given, names the new plan (a plan made on another computer
    // keeps its GUID); a new GUID otherwise.
    PlanId addPlan(const std::string& title, const std::vector<std::string>& dayTexts, sys_seconds startDate,
                   const PlanId& id = {});

    // Each raises "Plan index out of range: %d" for a plan outside
    // 0 .. count - 1 and, where a day is taken, "Day out of range: %d" for a
    // day outside 1 .. day count.
    const std::string& planTitle(int plan) const;
    // The plan's lasting id (its day table's name).
    PlanId id(int plan) const;
    sys_seconds startDate(int plan) const;
    void setStartDate(int plan, sys_seconds date);
    int dayCount(int plan) const;
    const std::string& dayVerses(int plan, int day) const;
    bool isDayDone(int plan, int day) const;
    // Writes only when the flag changes. A day marked read gets today's date
    // as its read date; a day marked unread loses its date.
    void setDayDone(int plan, int day, bool done);
    // The same with the read date given (nothing: not known); writes when
    // the flag or the date changes.
    void setDayDone(int plan, int day, bool done, std::optional<sys_seconds> readDate);
    // Marks days 1 .. day read; later days keep their flags (markDaysDone).
    void markDaysDoneThrough(int plan, int day);
    // Marks the given days read in one transaction (days already read, and
    // repeats, are left alone). A day marked this way gets its planned date
    // as its read date, or today when that date is still ahead, so that
    // bookkeeping (ticking off days read elsewhere, an import) does not count
    // as a day's reading in the pace. Raises the day range message before
    // writing anything when a day is outside the plan.
    void markDaysDone(int plan, const std::vector<int>& days);
    // The date day was marked read; nothing when unread or not known.
    std::optional<sys_seconds> readDate(int plan, int day) const;

    // The state of the plan's last calendar export (the default state when it
    // was never exported), and its replacement after an export was written.
    // replacePlan hands the state on to the replacing plan.
    CalendarExportState calendarExportState(int plan) const;
    void setCalendarExportState(int plan, const CalendarExportState& state);

    // The plan's reading options, written to the options table.
    void setDoubleUp(int plan, bool on);
    void setReminder(int plan, bool on);
    // The version the plan is read in, written to the versions table; empty
    // goes back to the shipped Bible. Raises SqliteError when it cannot be
    // written, and the plan then keeps its version.
    void setBibleVersion(int plan, const std::string& module);

    // Replaces plan by a new plan of the same title: dayTexts with the read
    // flags done (same length), starting on startDate. readDates, when not
    // empty, gives the new days' read dates. The old plan is marked deleted
    // and the new one listed, in one transaction; its options are copied.
    // progress(done, total) is called now and then while the days are
    // written. Reloads; returns what undoReplacement needs. On failure
    // nothing changes and the error is raised.
    PlanReplacement replacePlan(int plan, const std::vector<std::string>& dayTexts, const std::vector<bool>& done,
                                const std::vector<std::optional<sys_seconds>>& readDates, sys_seconds startDate,
                                const std::function<void(int, int)>& progress = {});
    // Puts the replaced plan back and removes its replacement with every row
    // of it, in one transaction, so the database is as before replacePlan.
    // Reloads. Raises when either plan is not found as replacePlan left it.
    void undoReplacement(const PlanReplacement& replacement);
    // The position of the loaded plan with this id in the list as it is now;
    // nothing when no loaded plan has it (a null id included).
    std::optional<int> indexOf(const PlanId& plan) const;
    // Marks the plan deleted (its rows stay in the database) and reloads.
    void deletePlan(int plan);
    // Lists a deleted plan again and reloads; false when the file holds no
    // plan of that id.
    bool restorePlan(const PlanId& plan);
    // True when the file holds the plan, listed or deleted.
    bool hasPlan(const PlanId& plan) const;
    // Changes the title without reloading: the plan keeps its index.
    void renamePlan(int plan, const std::string& title);

    // True when a loaded plan's title equals text, ignoring letter case in any
    // script (see localeLowerCase).
    bool planTitleExists(const std::string& text) const;
    // The first unread day; nothing when every day is read.
    std::optional<int> firstUnreadDay(int plan) const;
    // The plan day that falls on today: whole days between the start date and
    // now plus one, at most the day count; 0 while the start is still ahead
    // (no day is due yet, so the plan is never behind before it starts).
    int todaysPlanDay(int plan) const;

    const PlanRecord& record(int plan) const;
    // The open connection (null once closed), for diagnostics and tests;
    // owned by the store.
    sqlite3* handle() const { return db_.get(); }

private:
    // The open connection; raises when the store has been closed.
    sqlite3* db() const;
    PlanRecord& planRef(int plan);
    void checkDay(const PlanRecord& rec, int day) const;
    void ensureSideTable(const char* table);
    void writeOptions(const PlanRecord& rec, bool doubleUp, bool reminder);

    Database db_;
    std::string fileName_;
    const Clock& clock_;
    std::vector<PlanRecord> plans_;
    std::vector<DamagedPlan> damaged_;
};

// Reads a plan template: the `verses` column of table tableName in the
// template database at fileName, ordered by `day`. Opens and closes its own
// connection. Raises "Plan file not found: %s" when the file is missing,
// "No lines returned for %s, %s" when the table has no rows, and SqliteError for
// database failures (a missing table included).
std::vector<std::string> loadTemplateVerses(const std::string& fileName, const std::string& tableName);

// A new random GUID in registry form: "{XXXXXXXX-XXXX-XXXX-XXXX-XXXXXXXXXXXX}",
// upper-case hexadecimal, 38 characters.
std::string newGuidString();

// Lower-cases UTF-8 text by the user's locale (falling back to the Unicode
// case mapping of C.UTF-8 when the locale is not a UTF-8 one), so titles in any
// script compare without regard to case. Bytes that are not valid UTF-8 are
// kept as they are.
std::string localeLowerCase(const std::string& text);

} // namespace kovara::core
