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

// "Now" in local time. Nothing in the core reads the clock itself; whatever
// needs the current date or time is handed a Clock, and tests hand a fixed one.
class Clock {
public:
    virtual ~Clock() = default;
    virtual DateTime now() const = 0;
    DateTime today() const { return dateOf(now()); }
};

// The system clock, in local time.
class SystemClock : public Clock {
public:
    DateTime now() const override;
};

// A clock that always answers the same moment (tests, benchmarks).
class FixedClock : public Clock {
public:
    explicit FixedClock(DateTime now) : now_(now) {}
    DateTime now() const override { return now_; }
    void set(DateTime now) { now_ = now; }

private:
    DateTime now_;
};

} // namespace kovara::core
