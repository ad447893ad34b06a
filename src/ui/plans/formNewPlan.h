#pragma once
// The dialog that makes the day texts of a new reading plan: one of the two
// one-year templates, or a custom stretch of the Bible read by a completion
// date. It is created once and reused, so the user's last choices stay; when
// it closes with OK, PlanDays holds the new plan's day texts.
#include "plans/new_plan.h"

#include <QDialog>
#include <string>
#include <vector>

class QComboBox;
class QDateEdit;
class QLabel;
class QPushButton;
class QRadioButton;

namespace kovara {
class Clock;
class TKOVABible;
} // namespace kovara

namespace kovara::ui {

class Dialogs;

class TFormNewPlanDlg : public QDialog {
    Q_OBJECT
public:
    // dialogs shows the refusal and load-failure messages; clock gives today.
    // Both must outlive the dialog.
    TFormNewPlanDlg(Dialogs& dialogs, const Clock& clock, QWidget* parent = nullptr);

    // Fills the book lists from bible (not owned) the first time and whenever
    // another Bible store is given; the same store again keeps the choices.
    void SetBible(TKOVABible& bible);

    // Checks the sources (raises "Bible not assigned to TFormNewPlanDlg" or
    // "Reading plan file <path> not found."; the dialog is then not shown),
    // moves a completion date left in the past back to today, and runs the
    // dialog. True when it closed with OK; PlanDays then holds the days.
    bool Execute();

    TNewPlanKind SelectedKind() const;

    void UpdateControls();
    void FillStartChapters();
    void FillEndChapters();
    int GetStartVerseIndex() const;
    int GetEndVerseIndex() const;
    void UpdateCustomDetails();
    // Makes PlanDays for the selected kind and closes with OK; shows the
    // refusal or the template's error instead and stays open.
    void ButtonCreatePlanClick();

    // Absent until SetBible; not owned.
    TKOVABible* Bible = nullptr;
    // Full path of readplans.kova2; set before each showing.
    std::string PlanFileName;
    // The day texts, day 1 first, of the last plan made with OK.
    std::vector<std::string> PlanDays;

    QRadioButton* RadioButtonPlanSeven;
    QRadioButton* RadioButtonPlanOtNt;
    QRadioButton* RadioButtonPlanCustom;
    QComboBox* RzComboBoxStartBook;
    QComboBox* RzComboBoxStartChapter;
    QComboBox* RzComboBoxEndBook;
    QComboBox* RzComboBoxEndChapter;
    QDateEdit* RzDateTimeEditCustomComplete;
    QLabel* LabelCustomDetails;
    QPushButton* ButtonCancel;
    QPushButton* ButtonCreatePlan;

protected:
    // Shows the dialog modally and returns its result (QDialog::Accepted or
    // Rejected). Tests replace it to drive the controls without a modal loop.
    virtual int RunModal();

private:
    void StartBookChanged(int index);
    void EndBookChanged(int index);
    void StartChapterChanged(int index);
    void EndChapterChanged(int index);
    void CompletionDateChanged();
    // Shows stretch_ in the four lists without raising their change signals.
    void ShowStretch(bool refillStart, bool refillEnd);
    TCustomPlanFigures Figures() const;

    Dialogs& dialogs_;
    const Clock& clock_;
    TCustomStretch stretch_;
};

} // namespace kovara::ui
