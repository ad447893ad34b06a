#include "ui/content/devotional_commands.h"
#include "ui/base/core_names.h"

#include "ui/base/error_guard.h"
#include "ui/content/devotional_page.h"

namespace kovara::ui {

DevotionalCommands::DevotionalCommands(Shell& shell, QAction* action, std::function<DevotionalPage&()> page)
    : shell_(shell), page_(std::move(page))
{
    connectGuarded(action, shell.dialogs(), [this] { showFaithsCheckbook(); });
}

void DevotionalCommands::showFaithsCheckbook()
{
    shell_.showPage(Page::Devotional);
    // Also records today as the day the devotional was last opened.
    page_().openFaithsCheckbook(shell_.devotional(), shell_.preferences());
}

} // namespace kovara::ui
