#include "ui/content/date_field.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QLocale>
#include <QRegularExpression>

namespace kovara::ui {

namespace {

// A month name or its abbreviation (three letters or more) in locale's
// language; 0 when it names none.
int monthByName(const QString& word, const QLocale& locale)
{
    if (word.size() < 3)
        return 0;
    for (int month = 1; month <= 12; ++month)
        for (const QLocale::FormatType type : {QLocale::LongFormat, QLocale::ShortFormat}) {
            QString name = locale.monthName(month, type);
            if (name.endsWith(QLatin1Char('.')))
                name.chop(1);
            if (name.compare(word, Qt::CaseInsensitive) == 0 ||
                (type == QLocale::LongFormat && name.startsWith(word, Qt::CaseInsensitive)))
                return month;
        }
    return 0;
}

} // namespace

DateField::DateField(QWidget* parent) : QDateEdit(parent)
{
    // The date changes when the typing is done, not at every key.
    setKeyboardTracking(false);
}

QDate DateField::parseTypedDate(const QString& text, const QString& displayFormat, const QLocale& locale)
{
    const QString simple = text.simplified();
    if (simple.isEmpty())
        return {};
    // The field's own text first: it is what the field shows.
    if (const QDate shown = locale.toDate(simple, displayFormat); shown.isValid())
        return shown;

    // Otherwise the date's parts: numbers and words, whatever stands between.
    static const QRegularExpression part(QStringLiteral("(\\d+)|([^\\W\\d_]+)"));
    QList<int> numbers;
    QList<int> numberLengths;
    int namedMonth = 0;
    for (const QRegularExpressionMatch& m : part.globalMatch(simple)) {
        if (m.capturedLength(1) > 0) {
            if (m.capturedLength(1) > 4)
                return {};
            numbers << m.captured(1).toInt();
            numberLengths << int(m.capturedLength(1));
            continue;
        }
        const QString word = m.captured(2);
        int month = monthByName(word, locale);
        if (month == 0)
            month = monthByName(word, QLocale(QLocale::English));
        // One month name, nothing else in words ("29th" is read as 29).
        if (month == 0 && !QStringList({"st", "nd", "rd", "th"}).contains(word.toLower()))
            return {};
        if (month != 0) {
            if (namedMonth != 0)
                return {};
            namedMonth = month;
        }
    }

    int year = 0, month = 0, day = 0;
    if (namedMonth != 0) {
        // "29 Feb 2028", "Feb 29 2028", "Feb 29, 2028", "2028 Feb 29".
        if (numbers.size() != 2)
            return {};
        month = namedMonth;
        const int yearAt = numberLengths[0] == 4 ? 0 : 1;
        if (numberLengths[yearAt] != 4)
            return {};
        year = numbers[yearAt];
        day = numbers[1 - yearAt];
    } else {
        if (numbers.size() != 3)
            return {};
        if (numberLengths[0] == 4) { // 2028-02-29
            year = numbers[0], month = numbers[1], day = numbers[2];
        } else if (numberLengths[2] == 4) {
            // Day and month in the order the field shows them.
            const qsizetype d = displayFormat.indexOf(QLatin1Char('d'));
            const qsizetype mo = displayFormat.indexOf(QLatin1Char('M'));
            const bool monthFirst = mo >= 0 && d >= 0 && mo < d;
            year = numbers[2];
            month = monthFirst ? numbers[0] : numbers[1];
            day = monthFirst ? numbers[1] : numbers[0];
        } else {
            return {};
        }
    }
    return QDate(year, month, day); // invalid for a day the month lacks
}

QDate DateField::typedDate(const QString& text) const
{
    const QDate date = parseTypedDate(text, displayFormat(), locale());
    return date.isValid() && date >= minimumDate() && date <= maximumDate() ? date : QDate();
}

QValidator::State DateField::validate(QString& input, int& pos) const
{
    Q_UNUSED(pos);
    // Anything may be typed; only a whole date is taken.
    return typedDate(input).isValid() ? QValidator::Acceptable : QValidator::Intermediate;
}

QDateTime DateField::dateTimeFromText(const QString& text) const
{
    const QDate date = typedDate(text);
    return date.isValid() ? QDateTime(date, time()) : dateTime();
}

void DateField::keyPressEvent(QKeyEvent* event)
{
    // Printable keys go straight into the text, so blanks, dots and slashes
    // are typed instead of moving between the date's sections.
    const QString text = event->text();
    const bool printable = !text.isEmpty() && text.at(0).isPrint() &&
                           !(event->modifiers() & ~(Qt::ShiftModifier | Qt::KeypadModifier));
    if (printable) {
        QAbstractSpinBox::keyPressEvent(event);
        return;
    }
    QDateEdit::keyPressEvent(event);
}

} // namespace kovara::ui
