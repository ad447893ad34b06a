#include "ui/widgets/dates.h"

#include "ui/widgets/text_codec.h"

#include <QLocale>
#include <QTime>

namespace kovara::ui {

namespace {
const QDate kDayZero(1899, 12, 30);

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

QDate ToQDate(TDateTime t)
{
    return kDayZero.addDays(DateOf(t));
}

TDateTime FromQDate(const QDate& date)
{
    return static_cast<TDateTime>(kDayZero.daysTo(date));
}

QString ShortDateText(TDateTime t)
{
    return QLocale::system().toString(ToQDate(t), QLocale::ShortFormat);
}

std::string ShortDateBytes(TDateTime t)
{
    return ToBytes(ShortDateText(t));
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
