#pragma once
// The main window's devotional command, "Faith's Checkbook".
#include "ui/base/core_names.h"
#include "ui/base/shell.h"
#include <functional>

class QAction;

namespace kovara::ui {

class DevotionalPage;

class DevotionalCommands {
public:
    // page gives the devotional page, made on first use by whoever owns it;
    // action runs the devotional command (not owned).
    DevotionalCommands(Shell& shell, QAction* action, std::function<DevotionalPage&()> page);

private:
    void showFaithsCheckbook();

    Shell& shell_;
    std::function<DevotionalPage&()> page_;
};

} // namespace kovara::ui
