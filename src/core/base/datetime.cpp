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
} // namespace

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

namespace {
constexpr double kUnixEpochDays = 25569.0; // 1970-01-01 as a day count
}

DayCount toDayCount(sys_seconds t)
{
    return static_cast<double>(toStoredSeconds(t)) / 86400.0 + kUnixEpochDays;
}

sys_seconds fromDayCount(DayCount t)
{
    return fromStoredSeconds(static_cast<std::int64_t>(std::llround((t - kUnixEpochDays) * 86400.0)));
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
