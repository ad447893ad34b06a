#pragma once
// A plan's remaining days as an iCalendar file (RFC 5545): one all-day event
// per unread day on the day's date, so that a calendar program shows what is
// left to read.
#include "core/base/datetime.h"
#include "core/plans/plan_store.h"

#include <functional>
#include <string>

namespace kovara::core {

// A calendar export and what to remember of it once it has been written.
struct PlanCalendar {
    std::string text;
    CalendarExportState state; // for PlanStore::setCalendarExportState
    int daysToRead = 0;        // the events that are not cancellations
};

// The text of a VCALENDAR with one VEVENT per unread day of plan: summary
// "<title>: <passage>", description "Day %d of %d", the day's date as an
// all-day DTSTART and the next date as DTEND, a UID made of the plan's
// calendar id and the day number, and stampUtc (a UTC moment) as DTSTAMP.
// The calendar id is kept with the plan's export state and survives a
// catch-up, so an export imported again updates the events of the last one:
// every event carries a SEQUENCE one above the last export's, and each day the
// last export wrote that is now read, or no longer in the plan, is written
// again as cancelled. passage turns a verse specification into its reference
// text. Lines end in CR LF and are folded at 75 octets without cutting a
// UTF-8 character; text values are escaped. Raises the store's range message
// for a bad plan. Nothing is written to the store.
PlanCalendar buildPlanCalendar(const PlanStore& plans, int plan,
                               const std::function<std::string(const std::string&)>& passage, sys_seconds stampUtc);
// buildPlanCalendar's text.
std::string planToICalendar(const PlanStore& plans, int plan,
                            const std::function<std::string(const std::string&)>& passage, sys_seconds stampUtc);

// A TEXT value escaped: backslash, semicolon, comma and line breaks.
std::string escapeICalendarText(const std::string& text);
// One content line folded to lines of at most 75 octets, each ending in CR LF.
std::string foldICalendarLine(const std::string& line);

} // namespace kovara::core
