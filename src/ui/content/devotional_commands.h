#pragma once
// The main window's devotional command, "Faith's Checkbook".
#include "ui/base/core_names.h"
#include "ui/base/shell.h"

class QAction;

namespace kovara::ui {

class DevotionalPage;

class DevotionalCommands {
public:
    // frame is the devotional page; action runs the devotional command (neither
    // is owned).
    DevotionalCommands(Shell& shell, QAction* action, DevotionalPage& frame);

private:
    void showFaithsCheckbook();

    Shell& shell_;
    DevotionalPage& frame_;
};

} // namespace kovara::ui
