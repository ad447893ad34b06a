#pragma once
// The one guard that every command, slot and event handler runs through: an
// exception becomes a message box captioned "Kovara" and the program goes on.
// No exception may cross into Qt's event loop.
#include "ui/app/dialogs.h"

#include <exception>
#include <functional>

namespace kovara::ui {

// Runs body; shows any exception's message through dialogs. Returns false when
// body raised.
bool RunGuarded(Dialogs& dialogs, const std::function<void()>& body);

} // namespace kovara::ui
