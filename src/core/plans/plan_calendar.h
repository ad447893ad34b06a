#pragma once
// A plan's remaining days as an iCalendar file (RFC 5545): one all-day event
// per unread day on the day's date, so that a calendar program shows what is
// left to read.
#include "core/base/datetime.h"

#include <functional>
#include <string>

namespace kovara::core {

class PlanStore;

// The text of a VCALENDAR with one VEVENT per unread day of plan: summary
// "<title>: <passage>", description "Day %d of %d", the day's date as an
// all-day DTSTART and the next date as DTEND, a UID that stays the same for
// the same plan day, and stampUtc (a UTC moment) as DTSTAMP. passage turns a
// verse specification into its reference text. Lines end in CR LF and are
// folded at 75 octets without cutting a UTF-8 character; text values are
// escaped. Raises the store's range message for a bad plan.
std::string planToICalendar(const PlanStore& plans, int plan,
                            const std::function<std::string(const std::string&)>& passage, sys_seconds stampUtc);

// A TEXT value escaped: backslash, semicolon, comma and line breaks.
std::string escapeICalendarText(const std::string& text);
// One content line folded to lines of at most 75 octets, each ending in CR LF.
std::string foldICalendarLine(const std::string& line);

} // namespace kovara::core
