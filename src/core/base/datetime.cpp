#include "core/base/datetime.h"

#include <cmath>
#include <ctime>

namespace kovara::core {

namespace {
// Days from 0000-03-01 style civil algorithm (Howard Hinnant's days_from_civil),
// shifted so that 1970-01-01 is day 0.
long long daysFromCivil(long long y, unsigned m, unsigned d)
{
    y -= m <= 2;
    const long long era = (y >= 0 ? y : y - 399) / 400;
    const unsigned yoe = static_cast<unsigned>(y - era * 400);
    const unsigned doy = (153 * (m + (m > 2 ? -3 : 9)) + 2) / 5 + d - 1;
    const unsigned doe = yoe * 365 + yoe / 4 - yoe / 100 + doy;
    return era * 146097 + static_cast<long long>(doe) - 719468;
}

void civilFromDays(long long z, int& year, int& month, int& day)
{
    z += 719468;
    const long long era = (z >= 0 ? z : z - 146096) / 146097;
    const unsigned doe = static_cast<unsigned>(z - era * 146097);
    const unsigned yoe = (doe - doe / 1460 + doe / 36524 - doe / 146096) / 365;
    const long long y = static_cast<long long>(yoe) + era * 400;
    const unsigned doy = doe - (365 * yoe + yoe / 4 - yoe / 100);
    const unsigned mp = (5 * doy + 2) / 153;
    const unsigned d = doy - (153 * mp + 2) / 5 + 1;
    const unsigned m = mp + (mp < 10 ? 3 : -9);
    year = static_cast<int>(y + (m <= 2));
    month = static_cast<int>(m);
    day = static_cast<int>(d);
}
} // namespace

std::int64_t dateTimeToStoredSeconds(DateTime t)
{
    return static_cast<std::int64_t>(std::llround((t - kUnixEpochDays) * 86400.0));
}

DateTime storedSecondsToDateTime(std::int64_t seconds)
{
    return static_cast<double>(seconds) / 86400.0 + kUnixEpochDays;
}

DateTime encodeDate(int year, int month, int day)
{
    return static_cast<double>(daysFromCivil(year, static_cast<unsigned>(month), static_cast<unsigned>(day))) +
           kUnixEpochDays;
}

DateTime encodeDateTime(int year, int month, int day, int hour, int minute, int second)
{
    return encodeDate(year, month, day) + (hour * 3600 + minute * 60 + second) / 86400.0;
}

int dateOf(DateTime t)
{
    return static_cast<int>(std::floor(t));
}

std::chrono::year_month_day decodeDate(DateTime t)
{
    int year = 0, month = 0, day = 0;
    civilFromDays(static_cast<long long>(dateOf(t)) - static_cast<long long>(kUnixEpochDays), year, month, day);
    return std::chrono::year_month_day{std::chrono::year{year}, std::chrono::month{static_cast<unsigned>(month)},
                                       std::chrono::day{static_cast<unsigned>(day)}};
}

std::chrono::hh_mm_ss<std::chrono::seconds> decodeTime(DateTime t)
{
    long long secs = std::llround((t - std::floor(t)) * 86400.0);
    if (secs >= 86400)
        secs = 86399;
    return std::chrono::hh_mm_ss<std::chrono::seconds>{std::chrono::seconds{secs}};
}

int dayOfYear(DateTime t)
{
    const int year = static_cast<int>(decodeDate(t).year());
    return dateOf(t) - dateOf(encodeDate(year, 1, 1)) + 1;
}

sys_days makeDate(int year, int month, int day)
{
    return sys_days{std::chrono::days{daysFromCivil(year, static_cast<unsigned>(month), static_cast<unsigned>(day))}};
}

sys_seconds makeMoment(int year, int month, int day, int hour, int minute, int second)
{
    return startOf(makeDate(year, month, day)) + std::chrono::hours{hour} + std::chrono::minutes{minute} +
           std::chrono::seconds{second};
}

int dayOfYear(sys_days d)
{
    const std::chrono::year_month_day ymd{d};
    return static_cast<int>((d - sys_days{ymd.year() / std::chrono::January / 1}).count()) + 1;
}

DateTime toDayCount(sys_seconds t)
{
    return storedSecondsToDateTime(toStoredSeconds(t));
}

sys_seconds fromDayCount(DateTime t)
{
    return fromStoredSeconds(dateTimeToStoredSeconds(t));
}

sys_seconds SystemClock::now() const
{
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return makeMoment(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min,
                      local.tm_sec);
}

} // namespace kovara::core
