#include "core/plans/plan_calendar.h"

#include "core/settings/version.h"
#include "core/base/exception.h"
#include "core/plans/plan_store.h"

namespace kovara::core {

namespace {

std::string dateValue(sys_days d)
{
    const std::chrono::year_month_day date{d};
    return format("%04d%02d%02d", static_cast<int>(date.year()), static_cast<unsigned>(date.month()),
                  static_cast<unsigned>(date.day()));
}

std::string stampValue(sys_seconds t)
{
    const std::chrono::hh_mm_ss<std::chrono::seconds> time{t - startOf(dayOf(t))};
    return dateValue(dayOf(t)) + format("T%02d%02d%02dZ", static_cast<int>(time.hours().count()),
                                 static_cast<int>(time.minutes().count()), static_cast<int>(time.seconds().count()));
}

// The table name without its braces, lower case: a stable part of each UID.
std::string uidBase(const std::string& tableName)
{
    std::string out;
    for (char c : tableName)
        if (c != '{' && c != '}')
            out += static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    return out;
}

} // namespace

std::string escapeICalendarText(const std::string& text)
{
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (c == '\\' || c == ';' || c == ',') {
            out += '\\';
            out += c;
        } else if (c == '\r') {
            out += "\\n";
            if (i + 1 < text.size() && text[i + 1] == '\n')
                ++i;
        } else if (c == '\n') {
            out += "\\n";
        } else if (static_cast<unsigned char>(c) < 0x20 && c != '\t') {
            // Other control characters are not allowed in a TEXT value.
        } else {
            out += c;
        }
    }
    return out;
}

std::string foldICalendarLine(const std::string& line)
{
    std::string out;
    std::size_t used = 0; // octets on the current line
    for (std::size_t i = 0; i < line.size();) {
        // The whole UTF-8 sequence starting here goes on one line.
        std::size_t len = 1;
        while (i + len < line.size() && (static_cast<unsigned char>(line[i + len]) & 0xC0) == 0x80)
            ++len;
        if (used + len > 75) {
            out += "\r\n ";
            used = 1;
        }
        out.append(line, i, len);
        used += len;
        i += len;
    }
    out += "\r\n";
    return out;
}

PlanCalendar buildPlanCalendar(const PlanStore& plans, int plan,
                               const std::function<std::string(const std::string&)>& passage, sys_seconds stampUtc)
{
    const PlanRecord& rec = plans.record(plan);
    const CalendarExportState last = plans.calendarExportState(plan);
    PlanCalendar result;
    // A plan exported before export states were kept used its table name:
    // its first id stays that, so earlier imports are updated too.
    result.state.calendarId = last.calendarId.empty() ? uidBase(rec.tableName) : last.calendarId;
    result.state.sequence = last.sequence + 1;

    std::string& text = result.text;
    const auto line = [&text](const std::string& content) { text += foldICalendarLine(content); };
    line("BEGIN:VCALENDAR");
    line("VERSION:2.0");
    line(format("PRODID:-//Kovara//Kovara %s//EN", fileVersionText()));
    line("CALSCALE:GREGORIAN");
    line("METHOD:PUBLISH");
    line("X-WR-CALNAME:" + escapeICalendarText(rec.planTitle));
    const std::string stamp = stampValue(stampUtc);
    const int count = static_cast<int>(rec.dayVerses.size());
    const sys_days start = dayOf(rec.startDate);
    const auto event = [&](int day, bool cancelled) {
        const sys_days date = start + std::chrono::days(day - 1);
        line("BEGIN:VEVENT");
        line(format("UID:%s-%d@kovara.example.org", result.state.calendarId, day));
        line("DTSTAMP:" + stamp);
        line(format("SEQUENCE:%d", result.state.sequence));
        line("DTSTART;VALUE=DATE:" + dateValue(date));
        line("DTEND;VALUE=DATE:" + dateValue(date + std::chrono::days(1)));
        if (day <= count) {
            line("SUMMARY:" + escapeICalendarText(rec.planTitle + ": " +
                                                  passage(rec.dayVerses[static_cast<std::size_t>(day - 1)])));
            line("DESCRIPTION:" + escapeICalendarText(format("Day %d of %d", day, count)));
        } else {
            line("SUMMARY:" + escapeICalendarText(rec.planTitle));
        }
        if (cancelled)
            line("STATUS:CANCELLED");
        line("TRANSP:TRANSPARENT");
        line("END:VEVENT");
    };
    for (int day = 1; day <= count; ++day) {
        if (rec.dayDone[static_cast<std::size_t>(day - 1)])
            continue;
        event(day, false);
        result.state.days.push_back(day);
    }
    result.daysToRead = static_cast<int>(result.state.days.size());
    for (int day : last.days)
        if (day > count || rec.dayDone[static_cast<std::size_t>(day - 1)])
            event(day, true);
    line("END:VCALENDAR");
    return result;
}

std::string planToICalendar(const PlanStore& plans, int plan,
                            const std::function<std::string(const std::string&)>& passage, sys_seconds stampUtc)
{
    return buildPlanCalendar(plans, plan, passage, stampUtc).text;
}

} // namespace kovara::core
