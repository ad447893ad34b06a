#pragma once
// The edge between the core's calendar types (sys_days, sys_seconds) and Qt's
// QDate/QDateTime, and the reader's date and time formats the pages show
// (QLocale(), in the language of the program's texts).
#include "ui/base/core_names.h"
#include "core/base/datetime.h"

#include <QDate>
#include <QDateTime>
#include <QString>
#include <string>

namespace kovara::ui {

QDate toQDate(sys_days d);
sys_days toSysDays(const QDate& date);
// The wall-clock date and time of t (Qt's local time, as the core keeps it).
QDateTime toQDateTime(sys_seconds t);
// d in the reader's short date format (QLocale()).
QString shortDateText(sys_days d);
// The short date, a blank and the long time of t (without a time-zone name:
// stored times carry none); the time is left out when t falls on midnight.
QString shortDateTimeText(sys_seconds t);
// The short date as bytes, for the core's text builders.
std::string shortDateBytes(sys_days d);

} // namespace kovara::ui
