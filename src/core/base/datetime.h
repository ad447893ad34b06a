#pragma once
// Dates and times as the program keeps them: a double count of days since
// 1899-12-30, the fraction being the time of day, in local time. Stored moments
// (plan start dates, prayer times) are whole seconds since 1970-01-01 00:00 of
// the local calendar, with no time-zone conversion; the two conversions below
// are the only place that maps between the forms.
#include <chrono>
#include <cstdint>
#include <functional>

namespace kovara::core {

using DateTime = double;

constexpr double kUnixEpochDays = 25569.0; // 1970-01-01 as a DateTime

// seconds = round((t - 25569) * 86400)
std::int64_t dateTimeToStoredSeconds(DateTime t);
// t = seconds / 86400 + 25569
DateTime storedSecondsToDateTime(std::int64_t seconds);

// Calendar conversions (proleptic Gregorian, no time zone involved).
DateTime encodeDate(int year, int month, int day);
DateTime encodeDateTime(int year, int month, int day, int hour, int minute, int second);
std::chrono::year_month_day decodeDate(DateTime t);
// The time of day to the second (23:59:59 at most).
std::chrono::hh_mm_ss<std::chrono::seconds> decodeTime(DateTime t);
// The date part (whole days, rounded toward minus infinity).
int dateOf(DateTime t);
// 1 for January 1st.
int dayOfYear(DateTime t);

// Dates and moments as the code works with them: std::chrono's calendar types,
// holding the local calendar's date and wall-clock time (no time zone is kept
// anywhere, as the stored files keep none). The stored forms (whole seconds
// since 1970-01-01 00:00 in the databases, the day count above in older files)
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

// The day-count form (days since 1899-12-30, the fraction the time of day),
// rounded to the nearest second when read.
DateTime toDayCount(sys_seconds t);
inline DateTime toDayCount(sys_days d) { return toDayCount(startOf(d)); }
sys_seconds fromDayCount(DateTime t);

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
    explicit FixedClock(DateTime now) : now_(fromDayCount(now)) {}
    sys_seconds now() const override { return now_; }
    void set(sys_seconds now) { now_ = now; }
    void set(DateTime now) { now_ = fromDayCount(now); }

private:
    sys_seconds now_;
};

} // namespace kovara::core
