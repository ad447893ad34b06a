#include "ui/plans/plan_dates.h"

#include "ui/widgets/text_codec.h"

#include <QLocale>

namespace kovara::ui {

namespace {
const QDate kDayZero(1899, 12, 30);
}

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

} // namespace kovara::ui
