#pragma once
// The question when an item is marked answered from the prayer page: on which
// day it was answered (not before the item was made, not after today) and,
// optionally, how.
#include "ui/base/core_names.h"
#include "core/base/datetime.h"

#include <QDialog>
#include <QString>

class QDateEdit;
class QLineEdit;

namespace kovara::ui {

class PrayerAnsweredDialog : public QDialog {
    Q_OBJECT
public:
    // date is proposed, brought within [created, today]; note is the text of
    // an earlier answer, or empty.
    PrayerAnsweredDialog(sys_days date, const QString& note, sys_days created, sys_days today,
                         QWidget* parent = nullptr);

    sys_days date() const;
    QString note() const;

    QDateEdit* dateEdit() const { return dateEdit_; }
    QLineEdit* noteEdit() const { return noteEdit_; }

private:
    QDateEdit* dateEdit_;
    QLineEdit* noteEdit_;
};

} // namespace kovara::ui
