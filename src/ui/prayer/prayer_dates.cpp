#include "ui/prayer/prayer_dates.h"

#include <QDate>
#include <QLocale>
#include <QTime>

namespace kovara::ui {

namespace {

// The system's long time format without its time-zone field ("t" runs outside
// quoted text): the stored moments are local wall-clock times with no zone.
QString LongTimeFormat()
{
    const QString format = QLocale::system().timeFormat(QLocale::LongFormat);
    QString out;
    bool quoted = false;
    for (const QChar ch : format) {
        if (ch == u'\'')
            quoted = !quoted;
        if (!quoted && ch == u't')
            continue;
        out += ch;
    }
    return out.trimmed();
}

} // namespace

QString ShortDateText(TDateTime t)
{
    int year = 0, month = 0, day = 0;
    DecodeDate(t, year, month, day);
    return QLocale::system().toString(QDate(year, month, day), QLocale::ShortFormat);
}

QString ShortDateTimeText(TDateTime t)
{
    int hour = 0, minute = 0, second = 0;
    DecodeTime(t, hour, minute, second);
    if (hour == 0 && minute == 0 && second == 0)
        return ShortDateText(t);
    return ShortDateText(t) + u' ' + QLocale::system().toString(QTime(hour, minute, second), LongTimeFormat());
}

} // namespace kovara::ui
