#pragma once
// The devotional's date field: a QDateEdit that also takes a date typed as
// people write it. Qt's own field edits a date section by section, so typing
// a whole date over it lands digits in the wrong sections ("29 Feb 2028"
// typed over a date in a 28-day month gave the 25th). Here typed text is
// edited freely and read as a whole when the user presses Enter or leaves
// the field; text that is not a date puts the previous date back. The arrow
// keys, the mouse wheel and the pop-up calendar work as in Qt's field.
#include "ui/base/core_names.h"
#include <QDateEdit>

class QLocale;

namespace kovara::ui {

class DateField : public QDateEdit {
    Q_OBJECT
public:
    explicit DateField(QWidget* parent = nullptr);

    // Reads text as a date: the field's display format, the locale's short
    // and long formats, day-month-year and month-day-year with the month as a
    // number or a name (in the locale's language or English, full or short,
    // any case), and year-month-day. Numeric dates follow the order of
    // displayFormat when it is ambiguous. The year has four digits. An
    // invalid QDate when the text is none of these or names no real day
    // ("31 Feb 2028").
    static QDate parseTypedDate(const QString& text, const QString& displayFormat, const QLocale& locale);

protected:
    QValidator::State validate(QString& input, int& pos) const override;
    QDateTime dateTimeFromText(const QString& text) const override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    QDate typedDate(const QString& text) const;
};

} // namespace kovara::ui
