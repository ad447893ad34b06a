#include "ui/prayer/prayer_answered_dialog.h"

#include "ui/base/dates.h"

#include <QDateEdit>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

#include <algorithm>

namespace kovara::ui {

PrayerAnsweredDialog::PrayerAnsweredDialog(sys_days date, const QString& note, sys_days created, sys_days today,
                                           QWidget* parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("prayerAnsweredDialog"));
    setWindowTitle(tr("Prayer Answered"));

    dateEdit_ = new QDateEdit(this);
    dateEdit_->setObjectName(QStringLiteral("answeredDateEdit"));
    dateEdit_->setCalendarPopup(true);
    // An item cannot be answered before it was made, nor on a day to come.
    const sys_days earliest = std::min(created, today);
    dateEdit_->setDateRange(toQDate(earliest), toQDate(today));
    dateEdit_->setDate(toQDate(std::clamp(date, earliest, today)));

    noteEdit_ = new QLineEdit(note, this);
    noteEdit_->setObjectName(QStringLiteral("answerNoteEdit"));
    noteEdit_->setPlaceholderText(tr("optional"));

    auto* form = new QFormLayout;
    auto* dateLabel = new QLabel(tr("Answered &on:"), this);
    dateLabel->setBuddy(dateEdit_);
    form->addRow(dateLabel, dateEdit_);
    auto* noteLabel = new QLabel(tr("&How was it answered?"), this);
    noteLabel->setBuddy(noteEdit_);
    form->addRow(noteLabel, noteEdit_);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);
    // Wide enough for its title and a note of a few words.
    setMinimumWidth(std::max(380, fontMetrics().horizontalAdvance(windowTitle()) + 160));
    noteEdit_->setFocus();
}

sys_days PrayerAnsweredDialog::date() const
{
    return toSysDays(dateEdit_->date());
}

QString PrayerAnsweredDialog::note() const
{
    return noteEdit_->text();
}

} // namespace kovara::ui
