// The edge between the core's calendar types and Qt's: dates on either side of
// 1970 and the time of day must come across unchanged.
#include "ui/base/dates.h"

#include <gtest/gtest.h>

using namespace kovara::core;
using namespace kovara::ui;

TEST(DateEdgeTest, DatesAndMomentsCrossUnchanged)
{
    const QDate dates[] = {QDate(1899, 12, 30), QDate(1969, 12, 31), QDate(1970, 1, 1), QDate(2024, 2, 29),
                           QDate(2100, 3, 1)};
    for (const QDate& date : dates) {
        SCOPED_TRACE(date.toString(Qt::ISODate).toStdString());
        const sys_days day = toSysDays(date);
        EXPECT_EQ(day, makeDate(date.year(), date.month(), date.day()));
        EXPECT_EQ(toQDate(day), date);
        EXPECT_EQ(toQDateTime(startOf(day) + std::chrono::seconds{45296}), QDateTime(date, QTime(12, 34, 56)));
    }
}

TEST(DateEdgeTest, MidnightShowsTheDateAlone)
{
    const sys_days day = makeDate(2024, 5, 1);
    EXPECT_EQ(shortDateTimeText(startOf(day)), shortDateText(day));
    EXPECT_TRUE(shortDateTimeText(startOf(day) + std::chrono::minutes{90}).startsWith(shortDateText(day) + u' '));
}
