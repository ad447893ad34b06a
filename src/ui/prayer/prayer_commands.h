#pragma once
// The main window's prayer commands: a new prayer item and the four views of
// the prayer page.
#include "ui/shell.h"

namespace kovara::ui {

struct TMainActions;

class TPrayerCommands {
public:
    TPrayerCommands(Shell& shell, const TMainActions& actions);

private:
    void ShowPrayers();

    Shell& shell_;
};

} // namespace kovara::ui
