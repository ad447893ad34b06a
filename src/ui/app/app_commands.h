#pragma once
// The shell's own commands: welcome page, backup and restore, preferences,
// exit, copy, print, printer set-up, help, about, web site, support e-mail and
// update check. Also the enabling rules of Copy and Print.
#include "ui/shell.h"

class QWidget;

namespace kovara::ui {

struct TMainActions;

class TAppCommands {
public:
    // window is closed by "Exit Kovara". Connects the handlers to actions.
    TAppCommands(Shell& shell, QWidget* window, const TMainActions& actions);

    // Copy is enabled on the devotional, Bible reading and prayer pages while
    // their viewer or editor has a selection.
    static bool CopyEnabled(Page page, int selectionLength);
    // Print is enabled on the devotional, Bible reading and prayer pages, and
    // on the plan manager page while it has a plan chosen (index 0 or more).
    static bool PrintEnabled(Page page, int planManagerPlanIndex);

private:
    void ActionWelcomePageExecute();
    void ActionExitExecute();

    Shell& shell_;
    QWidget* window_;
};

} // namespace kovara::ui
