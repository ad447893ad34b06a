#pragma once
// The plan manager page: one plan at a time as a list of all its days (day
// number, date and passage, with a check box for the read flag). Here the user
// switches plans, ticks days, marks every day up to one as read, moves the
// start so that a chosen day falls on today, opens a day on the reading page,
// and creates, deletes or retitles plans.
#include "ui/base/core_names.h"
#include "ui/base/content_page.h"
#include "core/plans/plan_id.h"

#include <optional>

class QAction;
class QComboBox;
class QLabel;
class QMenu;
class QPrinter;
class QProgressBar;
class QPushButton;
class QScrollArea;
class QTreeWidget;
class QTreeWidgetItem;

namespace kovara::core {
class PlanStore;
}

namespace kovara::ui {

class Shell;
class PlanCalendarView;

// What the plan manager asks of the reading-plan commands around it.
class PlanViews {
public:
    virtual ~PlanViews() = default;
    // Rebuilds the plan entries of the Reading menu and the side bar.
    virtual void rebuildPlanMenus() = 0;
    // Rebuilds the plan entries and refills the plan manager on plan.
    virtual void refreshPlanViews(const PlanId& plan) = 0;
    // Tells the session's other listeners that plan changed (a null plan: the
    // list of plans changed); the caller has refreshed the plan views itself.
    virtual void notifyPlansChanged(const PlanId& plan) = 0;
    // Shows plan's day (by default the day to read now) on the reading page.
    virtual void showPlanDay(const PlanId& plan, std::optional<int> day = std::nullopt) = 0;
    // Asks for and creates a new plan; its id, or a null id when cancelled.
    virtual PlanId startNewPlan() = 0;
    // Prints plan's day table on printer (already chosen); raises on failure.
    virtual void printPlanDetails(const PlanId& plan, QPrinter& printer, int fromPage = 0, int toPage = 0) = 0;
};

class PlanManagerPage : public ContentPage {
    Q_OBJECT
public:
    // shell gives the stores, dialogs and clock; views the commands around
    // the page. Both must outlive the frame. The plan store is asked from the
    // shell at each use, since restore replaces it.
    PlanManagerPage(Shell& shell, PlanViews& views, QWidget* parent = nullptr);

    // Refills the plan list from the store and shows plan (the first plan when
    // plan is not one of them), or the single entry for no plans.
    void setPlans(const PlanId& plan);
    // Fills the day list with the days of the plan at position plan in the
    // store's list and makes it currentPlan.
    void showPlan(int plan);

    // The plan shown; null when there are no plans. The Print command prints it.
    const PlanId& currentPlan() const { return currentPlan_; }

    // Print: the plan shown, whole, named after its title.
    bool canPrintWhole() const override { return !currentPlan_.isNull(); }
    void printWhole(QPrinter& printer) override;
    QString printTitle() const override;
    HelpContext helpContext() const override { return HelpContext::PlanManager; }

    // Enables the two day actions for the selected day and puts its number in
    // their captions; disables them when no day is selected.
    void updateDayActions();

    void markRangeAsDone();
    void resetPlanToDay();
    void onNewPlanClicked();
    void onDeletePlanClicked();
    void onRenamePlanClicked();

protected:
    // The day list's keys: Space ticks or clears the current row's day from
    // any column; the copy key does nothing here, like the Copy command.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    PlanStore& planStore();
    // The shown plan's position in the store's list as it is now; -1 when no
    // plan is shown (the store then raises its range message).
    int currentIndex() const;
    // The day of the selected line; nothing when no line is selected.
    std::optional<int> selectedDay() const;
    void dayItemChanged(QTreeWidgetItem* item, int column);
    void dayItemDoubleClicked(QTreeWidgetItem* item);
    void showContextMenu(const QPoint& pos);
    void showProgress();

    QLabel* titleLabel_;
    QComboBox* planCombo_;     // hidden while there are no plans
    QLabel* noPlansLabel_;     // shown instead of planCombo_ then
    // One line per day: day number, short date and passage; the check box in
    // the first column is the day's read flag.
    QTreeWidget* dayList_;
    // The plan's progress: a thin bar, a summary line and the plan as a
    // calendar of day squares (clicking a square opens that day).
    QProgressBar* progressBar_;
    QLabel* progressLabel_;
    QScrollArea* calendarArea_;
    PlanCalendarView* calendarView_;
    QLabel* calendarLegend_;
    QPushButton* deletePlanButton_;
    QPushButton* renamePlanButton_;
    QPushButton* newPlanButton_;
    QMenu* dayListMenu_;
    QAction* markRangeAsDoneAction_;
    QAction* resetPlanToDayAction_;

    Shell& shell_;
    PlanViews& views_;
    PlanId currentPlan_;
    int targetDay_ = 0;
};

} // namespace kovara::ui
