#pragma once
// The main window's reading plan commands: "Start New Reading Plan..." and
// "Reading Plan Manager".
#include "ui/shell.h"

namespace kovara::ui {

struct TMainActions;

class TReadingCommands {
public:
    TReadingCommands(Shell& shell, const TMainActions& actions);

private:
    void ActionReadingPlanManagerExecute();

    Shell& shell_;
};

} // namespace kovara::ui
