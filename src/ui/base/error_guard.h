#pragma once
// The one guard that every command, slot and event handler runs through: an
// exception becomes a message box captioned "Kovara" and the program goes on.
// No exception may cross into Qt's event loop.
#include "ui/base/core_names.h"
#include "ui/base/dialogs.h"

#include <exception>
#include <functional>

class QAction;

namespace kovara::ui {

// Runs body; shows any exception's message through dialogs. Returns false when
// body raised.
bool runGuarded(Dialogs& dialogs, const std::function<void()>& body);

// Connects action's trigger to handler, run through the general error guard:
// an exception becomes a message box and never reaches the event loop.
void connectGuarded(QAction* action, Dialogs& dialogs, std::function<void()> handler);

} // namespace kovara::ui
