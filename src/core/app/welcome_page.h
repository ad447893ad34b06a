#pragma once
// The text of the welcome page: a greeting and a summary of the user's reading
// plans, prayer items and today's devotional, each line with internal links
// (see internal_links.h) into the program.
#include "core/base/datetime.h"

#include <functional>
#include <string>

namespace kovara::core {

class Clock;
class Preferences;
class PrayerStore;
class PlanStore;

// Builds the page as HTML lines, each ended by CR LF. Plan titles go in
// HTML-escaped, so a title shows exactly as it was typed.
// The devotional line appears unless prefs.lastFaithsCheckbookRead equals
// today's day of the year (1 to 366) by clock. Store errors propagate; nothing
// is returned then.
// planDetails(plan), when given, adds HTML of its own after each plan's
// standing (the progress bar and line).
// dateText(d), when given, writes the start date of a plan that has not
// started yet in the reader's format; without it the date is written as
// YYYY-MM-DD.
std::string buildWelcomePageText(const PlanStore& plans, const PrayerStore& prayers,
                                 const Preferences& prefs, const Clock& clock,
                                 const std::function<std::string(int plan)>& planDetails = {},
                                 const std::function<std::string(sys_days)>& dateText = {});

} // namespace kovara::core
