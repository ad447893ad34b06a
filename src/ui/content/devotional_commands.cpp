#include "ui/content/devotional_commands.h"

#include "ui/app/main_actions.h"

namespace kovara::ui {

TDevotionalCommands::TDevotionalCommands(Shell& shell, const TMainActions& actions) : shell_(shell)
{
    ConnectGuarded(actions.ActionDevFaithsCheckbook, shell.GetDialogs(), [this] { ActionDevFaithsCheckbookExecute(); });
}

void TDevotionalCommands::ActionDevFaithsCheckbookExecute()
{
    // TODO: load today's entry into the devotional frame and record the day
    // as read, once the devotional frame is in.
    shell_.ShowPage(Page::Devotional);
}

} // namespace kovara::ui
