#include "ui/content/devotional_commands.h"

#include "ui/app/main_actions.h"
#include "ui/content/frameDevDisplay.h"

namespace kovara::ui {

TDevotionalCommands::TDevotionalCommands(Shell& shell, const TMainActions& actions,
                                         TFrameKOVADevotionalDisplay& frame)
    : shell_(shell), frame_(frame)
{
    ConnectGuarded(actions.ActionDevFaithsCheckbook, shell.GetDialogs(), [this] { ActionDevFaithsCheckbookExecute(); });
}

void TDevotionalCommands::ActionDevFaithsCheckbookExecute()
{
    shell_.ShowPage(Page::Devotional);
    // Also records today as the day the devotional was last opened.
    frame_.OpenFaithsCheckbook(shell_.Devotional(), shell_.Preferences());
}

} // namespace kovara::ui
