#include "ui/base/dates.h"
#include "ui/base/core_names.h"

#include "ui/base/text_codec.h"

#include <QLocale>
#include <QTime>

namespace kovara::ui {

namespace {
// The system's long time format without its time-zone field ("t" runs outside
// quoted text): the stored moments are local wall-clock times with no zone.
QString longTimeFormat()
{
    const QString format = QLocale().timeFormat(QLocale::LongFormat);
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

namespace {
const QDate kUnixDay(1970, 1, 1);
}

QDate toQDate(sys_days d)
{
    return kUnixDay.addDays(d.time_since_epoch().count());
}

sys_days toSysDays(const QDate& date)
{
    return sys_days{std::chrono::days{kUnixDay.daysTo(date)}};
}

QDateTime toQDateTime(sys_seconds t)
{
    const sys_days day = dayOf(t);
    const auto secondOfDay = static_cast<int>((t - startOf(day)).count());
    return QDateTime(toQDate(day), QTime(0, 0).addSecs(secondOfDay));
}

QString shortDateText(sys_days d)
{
    return QLocale().toString(toQDate(d), QLocale::ShortFormat);
}

std::string shortDateBytes(sys_days d)
{
    return toBytes(shortDateText(d));
}

QString shortDateTimeText(sys_seconds t)
{
    const sys_days day = dayOf(t);
    if (t == startOf(day))
        return shortDateText(day);
    return shortDateText(day) + u' ' + QLocale().toString(toQDateTime(t).time(), longTimeFormat());
}

} // namespace kovara::ui
