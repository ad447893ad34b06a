#pragma once
// The plan details printout: one reading plan as an HTML table with a row per
// day (read mark, day number, calendar date, passage).
#include "core/base/datetime.h"

#include <functional>
#include <string>

namespace kovara::core {

class BibleStore;
class PlanStore;

// Formats a date the way the system's short date format does; handed in so
// that the core needs no locale and tests can fix it.
using DateFormatter = std::function<std::string(sys_days)>;

// The printout document of plan: title paragraph, table start (collapsed
// borders), header row (in <thead>, so that it repeats on every page), one
// row per day (day n dated start date + n - 1), table end; every line ends in
// CR LF. The title and the dates (the user's own text and locale) go in
// HTML-escaped; the passages are the program's own text. Raises the store's
// and the Bible store's errors.
std::string planPrintoutHtml(const PlanStore& plans, int plan, const BibleStore& bible,
                             const DateFormatter& shortDate);

} // namespace kovara::core
