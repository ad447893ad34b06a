#pragma once
// The prayer item's dates as the tracker and the editor show them, in the
// user's own formats: the short date, and for moments the short date followed
// by the long time (without a time-zone name: stored times carry none).
#include "base/datetime.h"

#include <QString>

namespace kovara::ui {

// The date of t in the system's short date format.
QString ShortDateText(TDateTime t);
// The short date, a blank and the long time of t; the time is left out when
// t falls exactly on midnight.
QString ShortDateTimeText(TDateTime t);

} // namespace kovara::ui
