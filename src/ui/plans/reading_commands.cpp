#include "ui/plans/reading_commands.h"

#include "ui/app/main_actions.h"

namespace kovara::ui {

TReadingCommands::TReadingCommands(Shell& shell, const TMainActions& actions) : shell_(shell)
{
    Dialogs& dialogs = shell.GetDialogs();
    // TODO: StartNewPlan, then show the new plan's day, once the new plan
    // dialog is in.
    ConnectGuarded(actions.ActionNewReadPlan, dialogs, [] {});
    ConnectGuarded(actions.ActionReadingPlanManager, dialogs, [this] { ActionReadingPlanManagerExecute(); });
}

void TReadingCommands::ActionReadingPlanManagerExecute()
{
    // The manager keeps showing whichever plan it showed; it is not refreshed.
    shell_.ShowPage(Page::PlanManager);
}

} // namespace kovara::ui
