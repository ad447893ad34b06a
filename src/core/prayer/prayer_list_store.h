#pragma once
// The prayer list's own tables in prayers.kova2, beside the journal's: each
// item's schedule, the days it was prayed for, the days it was put off ("Not
// today"), the verses attached to it, and the stretches of the cycle of items
// in turn. They are made the first time the list is used (ensureTables), never
// at start-up, so a reader who never opens the list keeps the file as it was.
// A program that does not know them reads and writes the journal as before;
// an item without a schedule row is "in turn" since the day it was made.
//
// The object is a light view over the prayer store's connection: it holds
// nothing of its own, so make one for each use and never keep it across a
// backup or restore (which replace the prayer store).
#include "core/prayer/prayer_schedule.h"
#include "core/prayer/prayer_store.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace kovara::core {

// The stored word of a schedule kind ("daily", "weekdays", "weekly",
// "monthly", "inTurn") and back; an unknown word reads as InTurn.
std::string scheduleWord(ScheduleKind kind);
ScheduleKind scheduleKindOf(const std::string& word);

// One read transaction over the connection for as long as it lives, so that
// the many small look-ups of a list share one lock and one check of the file
// (each statement outside a transaction takes its own). Does nothing inside a
// transaction already open. Ends quietly: it only ever read.
class ListReading {
public:
    explicit ListReading(sqlite3* db);
    ~ListReading();
    ListReading(const ListReading&) = delete;
    ListReading& operator=(const ListReading&) = delete;

private:
    sqlite3* db_;
    bool began_ = false;
};

class PrayerListStore {
public:
    static constexpr const char* kScheduleTable = "prayerSchedules";
    static constexpr const char* kPrayedTable = "prayerPrayed";
    static constexpr const char* kDeferredTable = "prayerDeferred";
    static constexpr const char* kVerseTable = "prayerVerses";
    static constexpr const char* kCycleTable = "prayerCycles";
    static constexpr int kDefaultCycleLength = 7;

    // Works on store's connection, which must outlive this object (the
    // journal's store itself is not changed through it).
    explicit PrayerListStore(const PrayerStore& store);

    // Whether the list's tables are in the file (the list was used once).
    bool exists() const;
    // Makes the tables when missing, in one transaction, with a first cycle
    // of the default length starting on today. Raises SqliteError on failure;
    // the file then stays as it was.
    void ensureTables(sys_days today);

    // The item's schedule; without a row, in turn since the day it was made.
    PrayerSchedule schedule(std::int32_t prayerIndex) const;
    void setSchedule(std::int32_t prayerIndex, const PrayerSchedule& schedule);

    // "Prayed" on a day and its undo; both idempotent.
    void markPrayed(std::int32_t prayerIndex, sys_days day);
    void unmarkPrayed(std::int32_t prayerIndex, sys_days day);
    // The days the item was prayed for, oldest first.
    std::vector<sys_days> prayedDays(std::int32_t prayerIndex) const;
    // "Not today": the item leaves the day's list and comes up on the next.
    void defer(std::int32_t prayerIndex, sys_days day);

    // The stretches of the cycle, ordered by start.
    std::vector<PrayerCycle> cycles() const;
    // The length in force on day (the default before the first stretch).
    int cycleLength(sys_days day) const;
    // A new length starts a new cycle on day; the same length changes nothing.
    void setCycleLength(int length, sys_days day);

    // The references attached to an item, in their order, as typed.
    std::vector<std::string> verses(std::int32_t prayerIndex) const;
    void setVerses(std::int32_t prayerIndex, const std::vector<std::string>& references);
    // Attaches reference after the item's verses; false (and nothing
    // written) when it is attached already.
    bool addVerse(std::int32_t prayerIndex, const std::string& reference);

    // What the list needs of every live item for day, in index order: a few
    // queries over the whole file (one for the latest prayed day of every
    // item), no walk over days.
    std::vector<ScheduledItem> scheduledItems(sys_days day) const;
    // Writes the schedule of every live item that has none as what it stands
    // for (in turn since the item was made), so that reading the list later
    // needs none of the journal's rows. Changes no item's list.
    void recordDefaultSchedules();
    // The list for day (see prayerListFor). Empty while the tables are missing.
    std::vector<ListEntry> listFor(sys_days day) const;

private:
    sqlite3* db() const { return store_.connection(); }
    // Runs body in one write transaction; on failure rolls back and raises.
    void inTransaction(const std::function<void()>& body);

    const PrayerStore& store_;
};

} // namespace kovara::core
