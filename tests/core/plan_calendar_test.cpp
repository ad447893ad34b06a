#include "core/plans/plan_calendar.h"
#include "core/plans/plan_store.h"
#include "fixtures.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <fstream>

namespace kovara::core {
namespace {

TEST(PlanCalendarTest, TextValuesAreEscapedAndLongLinesFoldedBetweenCharacters)
{
    EXPECT_EQ(escapeICalendarText("a,b;c\\d\r\ne\nf"), "a\\,b\\;c\\\\d\\ne\\nf");
    // 73 octets, then two letters of two octets each: the second would end at 77.
    const std::string longLine = "SUMMARY:" + std::string(65, 'x') + "\xC3\xA9\xC3\xA9";
    EXPECT_EQ(foldICalendarLine(longLine), "SUMMARY:" + std::string(65, 'x') + "\xC3\xA9\r\n \xC3\xA9\r\n");
    EXPECT_EQ(foldICalendarLine("END:VEVENT"), "END:VEVENT\r\n");
}

class PlanCalendarFileTest : public ::testing::Test {
protected:
    test::TempDir dir;
    FixedClock clock{makeMoment(2026, 12, 10, 9, 0, 0)};
};

// The exported file is read back by an independent parser (Debian's
// python3-icalendar), which also checks that it is well formed.
TEST_F(PlanCalendarFileTest, OneAllDayEventPerUnreadDayReadBackByAnotherParser)
{
    PlanStore plans(dir.file("userreadplans.kova2"), clock);
    const int plan = *plans.indexOf(plans.addPlan("Psalms, \"daily\"; with care", {"1-2", "3-4", "5-6", "7-8"}, makeDate(2026, 12, 30)));
    plans.setDayDone(plan, 2, true);
    const std::string ics = planToICalendar(
        plans, plan, [](const std::string& spec) { return "Passage " + spec; }, makeMoment(2026, 12, 10, 8, 5, 3));
    EXPECT_EQ(ics.substr(0, 17), "BEGIN:VCALENDAR\r\n");
    const std::string file = dir.file("plan.ics");
    std::ofstream(file, std::ios::binary) << ics;

    const std::string script = dir.file("read.py");
    std::ofstream(script) << R"(import sys, icalendar
cal = icalendar.Calendar.from_ical(open(sys.argv[1], 'rb').read())
assert cal['VERSION'] == '2.0' and cal['PRODID']
for e in cal.walk('VEVENT'):
    for key in ('UID', 'DTSTAMP', 'DTSTART', 'DTEND', 'SUMMARY'):
        assert key in e, key
    print(e.decoded('DTSTART').isoformat(), e.decoded('DTEND').isoformat(), e['DTSTAMP'].to_ical().decode(),
          str(e['SUMMARY']), str(e['DESCRIPTION']), sep='|')
)";
    // Debian's own interpreter, which sees Debian's Python packages.
    FILE* out = popen(("/usr/bin/python3 " + script + " " + file + " 2>&1").c_str(), "r");
    ASSERT_NE(out, nullptr);
    std::string read;
    char buf[512];
    while (fgets(buf, sizeof buf, out))
        read += buf;
    EXPECT_EQ(pclose(out), 0) << read;
    EXPECT_EQ(read,
              "2026-12-30|2026-12-31|20261210T080503Z|Psalms, \"daily\"; with care: Passage 1-2|Day 1 of 4\n"
              "2027-01-01|2027-01-02|20261210T080503Z|Psalms, \"daily\"; with care: Passage 5-6|Day 3 of 4\n"
              "2027-01-02|2027-01-03|20261210T080503Z|Psalms, \"daily\"; with care: Passage 7-8|Day 4 of 4\n");
}

} // namespace
} // namespace kovara::core
