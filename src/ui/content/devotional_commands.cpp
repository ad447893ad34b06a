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
    // TODO: OpenFaithsCheckbook(devotional, preferences), which also records
    // today as read, once the preferences object is in.
    frame_.SetDevotional(shell_.Devotional());
}

} // namespace kovara::ui
