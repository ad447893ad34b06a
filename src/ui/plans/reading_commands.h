#pragma once
// The main window's reading plan commands: "Start New Reading Plan..." and
// "Reading Plan Manager".
#include "ui/app/main_actions.h"
#include "ui/shell.h"

namespace kovara::ui {

class TReadingCommands {
public:
    // setPlanEntries replaces the plan entries of the menu and side bar.
    TReadingCommands(Shell& shell, const TMainActions& actions, SetPlanEntriesFn setPlanEntries);

    // Rebuilds the plan entries from the plan store: one per plan in index
    // order, bold when the plan needs reading. planIndex is the plan the plan
    // manager is to show.
    void RefreshPlanViews(int planIndex);

private:
    void ActionReadingPlanManagerExecute();
    void PlanItemClick(int planIndex);

    Shell& shell_;
    SetPlanEntriesFn setPlanEntries_;
};

} // namespace kovara::ui
