#pragma once
// The main window's devotional command, "Faith's Checkbook".
#include "ui/shell.h"

namespace kovara::ui {

class TFrameKOVADevotionalDisplay;
struct TMainActions;

class TDevotionalCommands {
public:
    // frame is the devotional page (not owned).
    TDevotionalCommands(Shell& shell, const TMainActions& actions, TFrameKOVADevotionalDisplay& frame);

private:
    void ActionDevFaithsCheckbookExecute();

    Shell& shell_;
    TFrameKOVADevotionalDisplay& frame_;
};

} // namespace kovara::ui
