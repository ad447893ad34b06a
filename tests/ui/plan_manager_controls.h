#pragma once
// The plan manager page's widgets, found by their object names, for tests
// that read and press them as the reader does.
#include "ui/plans/plan_calendar_view.h"
#include "ui/plans/plan_manager_page.h"

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>

namespace kovara::ui::test {

struct PlanManagerControls {
    explicit PlanManagerControls(const PlanManagerPage& page)
        : titleLabel(page.findChild<QLabel*>("planManagerTitle")),
          planCombo(page.findChild<QComboBox*>("planCombo")),
          noPlansLabel(page.findChild<QLabel*>("noPlansLabel")),
          dayList(page.findChild<QTreeWidget*>("dayList")),
          calendarView(page.findChild<PlanCalendarView*>("planCalendar")),
          deletePlanButton(page.findChild<QPushButton*>("deletePlanButton")),
          renamePlanButton(page.findChild<QPushButton*>("renamePlanButton")),
          newPlanButton(page.findChild<QPushButton*>("newPlanButton")),
          markRangeAsDoneAction(page.findChild<QAction*>("markRangeAsDoneAction")),
          resetPlanToDayAction(page.findChild<QAction*>("resetPlanToDayAction"))
    {
    }

    QLabel* titleLabel;
    QComboBox* planCombo;
    QLabel* noPlansLabel;
    QTreeWidget* dayList;
    PlanCalendarView* calendarView;
    QPushButton* deletePlanButton;
    QPushButton* renamePlanButton;
    QPushButton* newPlanButton;
    QAction* markRangeAsDoneAction;
    QAction* resetPlanToDayAction;
};

} // namespace kovara::ui::test
