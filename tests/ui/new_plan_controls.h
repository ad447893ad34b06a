#pragma once
// The new-plan dialog's fields and buttons, found by their object names, for
// tests that fill them in as the reader does.
#include "ui/plans/new_plan_dialog.h"

#include <QComboBox>
#include <QDateEdit>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

namespace kovara::ui::test {

struct NewPlanControls {
    explicit NewPlanControls(const NewPlanDialog& dialog)
        : sevenTypesPlanRadio(dialog.findChild<QRadioButton*>("sevenTypesPlanRadio")),
          otNtPlanRadio(dialog.findChild<QRadioButton*>("otNtPlanRadio")),
          customPlanRadio(dialog.findChild<QRadioButton*>("customPlanRadio")),
          startBookCombo(dialog.findChild<QComboBox*>("startBookCombo")),
          startChapterCombo(dialog.findChild<QComboBox*>("startChapterCombo")),
          endBookCombo(dialog.findChild<QComboBox*>("endBookCombo")),
          endChapterCombo(dialog.findChild<QComboBox*>("endChapterCombo")),
          completionDateEdit(dialog.findChild<QDateEdit*>("completionDateEdit")),
          customDetailsLabel(dialog.findChild<QLabel*>("customDetailsLabel")),
          cancelButton(dialog.findChild<QPushButton*>("cancelButton")),
          createPlanButton(dialog.findChild<QPushButton*>("createPlanButton"))
    {
    }

    QRadioButton* sevenTypesPlanRadio;
    QRadioButton* otNtPlanRadio;
    QRadioButton* customPlanRadio;
    QComboBox* startBookCombo;
    QComboBox* startChapterCombo;
    QComboBox* endBookCombo;
    QComboBox* endChapterCombo;
    QDateEdit* completionDateEdit;
    QLabel* customDetailsLabel;
    QPushButton* cancelButton;
    QPushButton* createPlanButton;
};

} // namespace kovara::ui::test
