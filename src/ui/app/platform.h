#pragma once
// Small platform services of the shell: the per-user application-data folder
// and closing the main window on SIGTERM/SIGINT.
#include "ui/base/core_names.h"
#include <QString>

class QWidget;

namespace kovara::ui {

// The per-user application-data folder (normally ~/.local/share), without a
// trailing separator; empty when the platform reports none.
QString appDataFolder();

// Closes window the ordinary way when the process receives SIGTERM or SIGINT,
// so that placement and preferences are saved.
void closeOnTerminationSignals(QWidget* window);

} // namespace kovara::ui
