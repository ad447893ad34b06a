#include "ui/plans/reading_commands.h"

#include "plans/kova_readplan.h"
#include "plans/todays_reading.h"

#include <utility>

namespace kovara::ui {

TReadingCommands::TReadingCommands(Shell& shell, const TMainActions& actions, SetPlanEntriesFn setPlanEntries)
    : shell_(shell), setPlanEntries_(std::move(setPlanEntries))
{
    Dialogs& dialogs = shell.GetDialogs();
    // TODO: StartNewPlan, then show the new plan's day, once the new plan
    // dialog is in.
    ConnectGuarded(actions.ActionNewReadPlan, dialogs, [] {});
    ConnectGuarded(actions.ActionReadingPlanManager, dialogs, [this] { ActionReadingPlanManagerExecute(); });
}

void TReadingCommands::RefreshPlanViews(int /*planIndex*/)
{
    const TKOVAReadPlans& plans = shell_.ReadPlans();
    std::vector<TPlanEntry> entries;
    for (int plan = 0; plan < plans.GetPlanCount(); ++plan)
        entries.push_back({plans.GetPlanTitle(plan), PlanNeedsReading(plans, plan), [this, plan] { PlanItemClick(plan); }});
    setPlanEntries_(entries);
    // TODO: fill the plan manager with planIndex once its frame is in.
}

void TReadingCommands::PlanItemClick(int planIndex)
{
    // The store may have changed since the entries were built.
    CheckPlanEntryIndex(planIndex, shell_.ReadPlans().GetPlanCount());
    // TODO: ShowPlanDay(planIndex) once the reading page is in.
    shell_.ShowPage(Page::BibleRead);
}

void TReadingCommands::ActionReadingPlanManagerExecute()
{
    // The manager keeps showing whichever plan it showed; it is not refreshed.
    shell_.ShowPage(Page::PlanManager);
}

} // namespace kovara::ui
