#pragma once
// Dates and times as the program keeps them: a double count of days since
// 1899-12-30, the fraction being the time of day, in local time. Stored moments
// (plan start dates, prayer times) are whole seconds since 1970-01-01 00:00 of
// the local calendar, with no time-zone conversion; the two conversions below
// are the only place that maps between the forms.
#include <cstdint>
#include <functional>

namespace kovara {

using TDateTime = double;

constexpr double kUnixEpochDays = 25569.0; // 1970-01-01 as a TDateTime

// seconds = round((t - 25569) * 86400)
std::int64_t DateTimeToStoredSeconds(TDateTime t);
// t = seconds / 86400 + 25569
TDateTime StoredSecondsToDateTime(std::int64_t seconds);

// Calendar conversions (proleptic Gregorian, no time zone involved).
TDateTime EncodeDate(int year, int month, int day);
TDateTime EncodeDateTime(int year, int month, int day, int hour, int minute, int second);
void DecodeDate(TDateTime t, int& year, int& month, int& day);
void DecodeTime(TDateTime t, int& hour, int& minute, int& second);
// The date part (whole days, rounded toward minus infinity).
int DateOf(TDateTime t);
// 1 for January 1st.
int DayOfYear(TDateTime t);

// "Now" in local time. Nothing in the core reads the clock itself; whatever
// needs the current date or time is handed a Clock, and tests hand a fixed one.
class Clock {
public:
    virtual ~Clock() = default;
    virtual TDateTime Now() const = 0;
    TDateTime Today() const { return DateOf(Now()); }
};

// The system clock, in local time.
class SystemClock : public Clock {
public:
    TDateTime Now() const override;
};

// A clock that always answers the same moment (tests, benchmarks).
class FixedClock : public Clock {
public:
    explicit FixedClock(TDateTime now) : now_(now) {}
    TDateTime Now() const override { return now_; }
    void Set(TDateTime now) { now_ = now; }

private:
    TDateTime now_;
};

} // namespace kovara
