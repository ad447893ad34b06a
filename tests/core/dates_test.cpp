// The calendar types and their stored forms: the databases' seconds since
// 1970 and the older day count from 1899-12-30 must map onto the same dates.
#include "core/base/datetime.h"

#include <gtest/gtest.h>

using namespace kovara::core;
using namespace std::chrono;

TEST(DatesTest, StoredFormsAgreeWithTheCalendar)
{
    struct Case {
        int y, m, d, h, mi, s;
        std::int64_t stored;
        double dayCount;
    };
    const Case cases[] = {
        {1970, 1, 1, 0, 0, 0, 0, 25569.0},
        {1899, 12, 30, 0, 0, 0, -2209161600, 0.0},
        {2000, 2, 29, 6, 0, 0, 951804000, 36585.25},
        {2024, 12, 31, 18, 0, 0, 1735668000, 45657.75},
        {1969, 12, 31, 12, 0, 0, -43200, 25568.5},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(testing::Message() << c.y << "-" << c.m << "-" << c.d);
        const sys_seconds t = makeMoment(c.y, c.m, c.d, c.h, c.mi, c.s);
        EXPECT_EQ(toStoredSeconds(t), c.stored);
        EXPECT_EQ(fromStoredSeconds(c.stored), t);
        EXPECT_DOUBLE_EQ(toDayCount(t), c.dayCount);
        EXPECT_EQ(fromDayCount(c.dayCount), t);
        EXPECT_EQ(dayOf(t), makeDate(c.y, c.m, c.d));
        EXPECT_EQ(year_month_day{dayOf(t)}, year{c.y} / c.m / c.d);
    }
}

TEST(DatesTest, DayCountsRoundToTheNearestSecondAndDatesFloor)
{
    // A time stored by the older program with a fraction of a second.
    EXPECT_EQ(fromDayCount(25569.0 + 1.4 / 86400), fromStoredSeconds(1));
    EXPECT_EQ(fromDayCount(25569.0 - 0.6 / 86400), fromStoredSeconds(-1));
    // Before 1970 a moment's date is the day it falls in, not the one after.
    EXPECT_EQ(dayOf(makeMoment(1969, 12, 31, 23, 59, 59)), makeDate(1969, 12, 31));
}

TEST(DatesTest, DayOfYearCountsLeapDays)
{
    EXPECT_EQ(dayOfYear(makeDate(2024, 1, 1)), 1);
    EXPECT_EQ(dayOfYear(makeDate(2024, 12, 31)), 366);
    EXPECT_EQ(dayOfYear(makeDate(2023, 12, 31)), 365);
    EXPECT_EQ(dayOfYear(makeDate(2024, 3, 1)), 61);
}

TEST(DatesTest, FixedClockAnswersItsMomentAndDate)
{
    FixedClock clock{makeMoment(2026, 12, 10, 18, 30, 0)};
    EXPECT_EQ(clock.today(), makeDate(2026, 12, 10));
    clock.set(clock.now() + hours{6});
    EXPECT_EQ(clock.today(), makeDate(2026, 12, 11));
}
