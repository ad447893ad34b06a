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
    // A continuation is itself folded, its leading blank counted: 75 + 74 + 51.
    EXPECT_EQ(foldICalendarLine(std::string(200, 'x')),
              std::string(75, 'x') + "\r\n " + std::string(74, 'x') + "\r\n " + std::string(51, 'x') + "\r\n");
}

class PlanCalendarFileTest : public ::testing::Test {
protected:
    test::TempDir dir;
    FixedClock clock{makeMoment(2026, 12, 10, 9, 0, 0)};
};

// The exported file is read back by an independent parser (Debian's
// python3-icalendar), which also checks that it is well formed.
// Runs Debian's python3-icalendar on the file: one line per event, or the
// parser's complaint.
std::string readBack(test::TempDir& dir, const std::string& ics, const std::string& perEvent)
{
    const std::string file = dir.file("plan.ics");
    std::ofstream(file, std::ios::binary | std::ios::trunc) << ics;
    const std::string script = dir.file("read.py");
    std::ofstream(script, std::ios::trunc) << "import sys, icalendar\n"
                                              "cal = icalendar.Calendar.from_ical(open(sys.argv[1], 'rb').read())\n"
                                              "assert cal['VERSION'] == '2.0' and cal['PRODID']\n"
                                              "for e in cal.walk('VEVENT'):\n"
                                              "    for key in ('UID', 'DTSTAMP', 'DTSTART', 'DTEND', 'SUMMARY'):\n"
                                              "        assert key in e, key\n"
                                              "    print(" + perEvent + ", sep='|')\n";
    FILE* out = popen(("/usr/bin/python3 " + script + " " + file + " 2>&1").c_str(), "r");
    if (!out)
        return "(python3 did not start)";
    std::string read;
    char buf[512];
    while (fgets(buf, sizeof buf, out))
        read += buf;
    if (pclose(out) != 0)
        read += "(failed)";
    return read;
}

// After reading and a catch-up that divides the rest again, the next export
// keeps the UIDs and raises the SEQUENCE: days read or dropped since come
// back cancelled, so a calendar program updates its events instead of adding
// a second set.
TEST_F(PlanCalendarFileTest, ExportingAgainUpdatesTheEventsOfTheLastExport)
{
    PlanStore plans(dir.file("userreadplans.kova2"), clock);
    const sys_days start = makeDate(2026, 12, 8);
    int plan = *plans.indexOf(plans.addPlan("P", {"1", "2", "3", "4", "5", "6"}, start));
    const auto passage = [](const std::string& spec) { return "V" + spec; };
    const std::string fields = "e['UID'], e['SEQUENCE'], e.decoded('DTSTART').isoformat(), str(e['SUMMARY']), "
                               "str(e.get('STATUS', ''))";
    const PlanCalendar first = buildPlanCalendar(plans, plan, passage, makeMoment(2026, 12, 10, 8, 0, 0));
    EXPECT_EQ(first.daysToRead, 6);
    const std::string uid = first.state.calendarId;
    plans.setCalendarExportState(plan, first.state);

    plans.setDayDone(plan, 1, true);
    plans.setDayDone(plan, 2, true);
    // Keep my finish date: the four unread days become two.
    plans.replacePlan(plan, {"1", "2", "3-4", "5-6"}, {true, true, false, false}, {}, startOf(start));
    plan = 0;
    const PlanCalendar second = buildPlanCalendar(plans, plan, passage, makeMoment(2026, 12, 10, 9, 0, 0));
    EXPECT_EQ(second.daysToRead, 2);
    EXPECT_EQ(second.state.days, (std::vector<int>{3, 4}));
    EXPECT_EQ(readBack(dir, second.text, fields),
              uid + "-3@kovara.example.org|1|2026-12-10|P: V3-4|\n" +
              uid + "-4@kovara.example.org|1|2026-12-11|P: V5-6|\n" +
              uid + "-1@kovara.example.org|1|2026-12-08|P: V1|CANCELLED\n" +
              uid + "-2@kovara.example.org|1|2026-12-09|P: V2|CANCELLED\n" +
              uid + "-5@kovara.example.org|1|2026-12-12|P|CANCELLED\n" +
              uid + "-6@kovara.example.org|1|2026-12-13|P|CANCELLED\n");

    // Remembered: the export after that cancels nothing more and counts on.
    plans.setCalendarExportState(plan, second.state);
    const PlanCalendar third = buildPlanCalendar(plans, plan, passage, makeMoment(2026, 12, 10, 10, 0, 0));
    EXPECT_EQ(third.text.find("CANCELLED"), std::string::npos);
    EXPECT_NE(third.text.find("SEQUENCE:2\r\n"), std::string::npos);
    EXPECT_NE(third.text.find("UID:" + uid + "-3@"), std::string::npos);
}

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
