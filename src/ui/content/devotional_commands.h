#pragma once
// The main window's devotional command, "Faith's Checkbook".
#include "ui/shell.h"

namespace kovara::ui {

struct TMainActions;

class TDevotionalCommands {
public:
    TDevotionalCommands(Shell& shell, const TMainActions& actions);

private:
    void ActionDevFaithsCheckbookExecute();

    Shell& shell_;
};

} // namespace kovara::ui
