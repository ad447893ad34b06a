#pragma once
// Dates and times, the stored forms they are read from and written to, and
// the clock that tells "now".
#include <chrono>
#include <cstdint>
#include <functional>

namespace kovara::core {

// Dates and moments as the code works with them: std::chrono's calendar types,
// holding the local calendar's date and wall-clock time (no time zone is kept
// anywhere, as the stored files keep none). The stored forms (whole seconds
// since 1970-01-01 00:00 in the databases, the day count below in older files)
// are converted to and from these only where files are read and written.
using std::chrono::sys_days;
using std::chrono::sys_seconds;

// A calendar date (proleptic Gregorian).
sys_days makeDate(int year, int month, int day);
// A date and a time of day.
sys_seconds makeMoment(int year, int month, int day, int hour, int minute, int second);
// The date a moment falls on.
inline sys_days dayOf(sys_seconds t) { return std::chrono::floor<std::chrono::days>(t); }
// Midnight of a date, as a moment.
inline sys_seconds startOf(sys_days d) { return sys_seconds{d}; }
// 1 for January 1st.
int dayOfYear(sys_days d);

// The databases' form: whole seconds since 1970-01-01 00:00.
inline std::int64_t toStoredSeconds(sys_seconds t) { return t.time_since_epoch().count(); }
inline sys_seconds fromStoredSeconds(std::int64_t seconds) { return sys_seconds{std::chrono::seconds{seconds}}; }

// The day-count form older files keep (the previous major version's data and
// the backup file's header): days since 1899-12-30 as a double, the fraction
// being the time of day. Read to the nearest second.
using DayCount = double;
DayCount toDayCount(sys_seconds t);
inline DayCount toDayCount(sys_days d) { return toDayCount(startOf(d)); }
sys_seconds fromDayCount(DayCount t);

// "Now" in local time. Nothing in the core reads the clock itself; whatever
// needs the current date or time is handed a Clock, and tests hand a fixed one.
class Clock {
public:
    virtual ~Clock() = default;
    virtual sys_seconds now() const = 0;
    sys_days today() const { return dayOf(now()); }
};

// The system clock, in local time.
class SystemClock : public Clock {
public:
    sys_seconds now() const override;
};

// A clock that always answers the same moment (tests, benchmarks).
class FixedClock : public Clock {
public:
    explicit FixedClock(sys_seconds now) : now_(now) {}
    explicit FixedClock(sys_days today) : now_(today) {}
    sys_seconds now() const override { return now_; }
    void set(sys_seconds now) { now_ = now; }

private:
    sys_seconds now_;
};

} // namespace kovara::core
