#pragma once
// The edge between the core's day counts (TDateTime, days since 1899-12-30)
// and Qt's QDate, and the system's short date format the plan pages show.
#include "base/datetime.h"

#include <QDate>
#include <QString>
#include <string>

namespace kovara::ui {

// The calendar date of t (its time of day dropped).
QDate ToQDate(TDateTime t);
// Midnight of date as a TDateTime.
TDateTime FromQDate(const QDate& date);
// t in the system's short date format (QLocale::system()).
QString ShortDateText(TDateTime t);
// The same as bytes, for the core's text builders.
std::string ShortDateBytes(TDateTime t);

} // namespace kovara::ui
