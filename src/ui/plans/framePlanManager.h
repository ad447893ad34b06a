#pragma once
// The plan manager page: one plan at a time as a list of all its days (day
// number, date and passage, with a check box for the read flag). Here the user
// switches plans, ticks days, marks every day up to one as read, moves the
// start so that a chosen day falls on today, opens a day on the reading page,
// and creates, deletes or retitles plans.
#include <QWidget>

class QAction;
class QComboBox;
class QLabel;
class QMenu;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;

namespace kovara {
class TKOVAReadPlans;
}

namespace kovara::ui {

class Shell;

// What the plan manager asks of the reading-plan commands around it.
class PlanViews {
public:
    virtual ~PlanViews() = default;
    // Rebuilds the plan entries of the Reading menu and the side bar.
    virtual void RebuildPlanMenus() = 0;
    // Rebuilds the plan entries and refills the plan manager on plan.
    virtual void RefreshPlanViews(int plan) = 0;
    // Shows plan's day (0 = the day to read now) on the reading page.
    virtual void ShowPlanDay(int plan, int day) = 0;
    // Asks for and creates a new plan; its index, or -1.
    virtual int StartNewPlan() = 0;
};

class TFrameKOVAPlanManager : public QWidget {
    Q_OBJECT
public:
    // shell gives the stores, dialogs and clock; views the commands around
    // the page. Both must outlive the frame. The plan store is asked from the
    // shell at each use, since restore replaces it.
    TFrameKOVAPlanManager(Shell& shell, PlanViews& views, QWidget* parent = nullptr);

    // Refills the plan list from the store and shows plan (the first plan when
    // plan is not one of them), or the single entry for no plans.
    void SetPlans(int plan);
    // Fills the day list with plan's days and makes it CurrentPlan.
    void ShowPlan(int plan);

    // The plan shown; -1 when there are no plans. The Print command prints it.
    int CurrentPlan() const { return currentPlan_; }

    // Enables the two day actions for the selected day and puts its number in
    // their captions; disables them when no day is selected.
    void UpdateDayActions();
    // The day the two actions act on (the selected day when last updated).
    int TargetDay() const { return targetDay_; }

    void ActionMarkRangeAsDoneExecute();
    void ActionResetPlanToDayExecute();
    void ButtonNewPlanClick();
    void ButtonDeletePlanClick();
    void ButtonRenamePlanClick();

    QLabel* LabelTitle;
    QComboBox* RzComboBoxPlan;
    // One line per day: day number, short date and passage; the check box in
    // the first column is the day's read flag.
    QTreeWidget* RzCheckList1;
    QPushButton* ButtonDeletePlan;
    QPushButton* ButtonRenamePlan;
    QPushButton* ButtonNewPlan;
    QMenu* PopupMenuPlanManager;
    QAction* ActionMarkRangeAsDone;
    QAction* ActionResetPlanToDay;

private:
    TKOVAReadPlans& Plans();
    int SelectedDay() const;
    void DayItemChanged(QTreeWidgetItem* item, int column);
    void DayItemDoubleClicked(QTreeWidgetItem* item);
    void ShowContextMenu(const QPoint& pos);

    Shell& shell_;
    PlanViews& views_;
    int currentPlan_ = -1;
    int targetDay_ = 0;
};

} // namespace kovara::ui
