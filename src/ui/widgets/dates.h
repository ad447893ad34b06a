#pragma once
// The edge between the core's day counts (TDateTime, days since 1899-12-30)
// and Qt's QDate, and the system's date and time formats the pages show.
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
// The short date, a blank and the long time of t (without a time-zone name:
// stored times carry none); the time is left out when t falls on midnight.
QString ShortDateTimeText(TDateTime t);
// The short date as bytes, for the core's text builders.
std::string ShortDateBytes(TDateTime t);

} // namespace kovara::ui
