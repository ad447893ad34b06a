#pragma once
// The edge between the core's day counts (DateTime, days since 1899-12-30)
// and Qt's QDate, and the system's date and time formats the pages show.
#include "ui/base/core_names.h"
#include "core/base/datetime.h"

#include <QDate>
#include <QDateTime>
#include <QString>
#include <string>

namespace kovara::ui {

// The calendar date of t (its time of day dropped).
QDate toQDate(DateTime t);
// Midnight of date as a DateTime.
DateTime fromQDate(const QDate& date);
// t in the system's short date format (QLocale::system()).
QString shortDateText(DateTime t);
// The short date, a blank and the long time of t (without a time-zone name:
// stored times carry none); the time is left out when t falls on midnight.
QString shortDateTimeText(DateTime t);
// The short date as bytes, for the core's text builders.
std::string shortDateBytes(DateTime t);

// The same edge for the core's calendar types.
QDate toQDate(sys_days d);
sys_days toSysDays(const QDate& date);
QDateTime toQDateTime(sys_seconds t);
QString shortDateText(sys_days d);
QString shortDateTimeText(sys_seconds t);
std::string shortDateBytes(sys_days d);

} // namespace kovara::ui
