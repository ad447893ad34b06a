#pragma once
// The dialog that makes the day texts of a new reading plan: one of the two
// one-year templates, or a custom stretch of the Bible read by a completion
// date. It is created once and reused, so the user's last choices stay; when
// it closes with OK, planDays holds the new plan's day texts.
#include "ui/base/core_names.h"
#include "core/plans/new_plan.h"

#include <QDialog>
#include <string>
#include <vector>

class QComboBox;
class QDateEdit;
class QLabel;
class QPushButton;
class QRadioButton;

namespace kovara::core {
class Clock;
class BibleStore;
} // namespace kovara::core

namespace kovara::ui {

class Dialogs;

class NewPlanDialog : public QDialog {
    Q_OBJECT
public:
    // dialogs shows the refusal and load-failure messages; clock gives today.
    // Both must outlive the dialog.
    NewPlanDialog(Dialogs& dialogs, const Clock& clock, QWidget* parent = nullptr);

    // Fills the book lists from bible (not owned) the first time and whenever
    // another Bible store is given; the same store again keeps the choices.
    void setBible(BibleStore& bible);

    // Checks the sources (raises "Bible not assigned to checkNewPlanSources" or
    // "Reading plan file <path> not found."; the dialog is then not shown),
    // moves a completion date left in the past back to today, and runs the
    // dialog. True when it closed with OK; planDays then holds the days.
    bool execute();

    NewPlanKind selectedKind() const;

    void updateControls();
    void fillStartChapters();
    void fillEndChapters();
    int startVerseIndex() const;
    int endVerseIndex() const;
    void updateCustomDetails();
    // Makes planDays for the selected kind and closes with OK; shows the
    // refusal or the template's error instead and stays open.
    void onCreatePlanClicked();

    // Absent until setBible; not owned.
    BibleStore* bible_ = nullptr;
    // Full path of readplans.kova2; set before each showing.
    std::string planFileName;
    // The day texts, day 1 first, of the last plan made with OK.
    std::vector<std::string> planDays;


protected:
    // Shows the dialog modally and returns its result (QDialog::Accepted or
    // Rejected). Tests replace it to drive the controls without a modal loop.
    virtual int runModal();

private:
    QRadioButton* sevenTypesPlanRadio_;
    QRadioButton* otNtPlanRadio_;
    QRadioButton* customPlanRadio_;
    QComboBox* startBookCombo_;
    QComboBox* startChapterCombo_;
    QComboBox* endBookCombo_;
    QComboBox* endChapterCombo_;
    QDateEdit* completionDateEdit_;
    QLabel* customDetailsLabel_;
    QPushButton* cancelButton_;
    QPushButton* createPlanButton_;

    void startBookChanged(int index);
    void endBookChanged(int index);
    void startChapterChanged(int index);
    void endChapterChanged(int index);
    void completionDateChanged();
    // Puts a completion date before today back to today; true when it did.
    bool keepCompletionDateFromToday();
    // Shows stretch_ in the four lists without raising their change signals.
    void showStretch(bool refillStart, bool refillEnd);
    CustomPlanFigures customFigures() const;

    Dialogs& dialogs_;
    const Clock& clock_;
    CustomStretch stretch_;
};

} // namespace kovara::ui
