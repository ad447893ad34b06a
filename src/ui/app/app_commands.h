#pragma once
// The shell's own small commands: the welcome page, the preferences dialog
// and exit. Backup and restore and the general commands (copy, print, help,
// about, ...) have controllers of their own.
#include "ui/base/core_names.h"
#include "ui/base/shell.h"

#include <functional>

class QWidget;

namespace kovara::core {
class IniFile;
}

namespace kovara::ui {

class PreferencesDialog;
struct MainActions;

class AppCommands {
public:
    // window is closed by "Exit Kovara" and parents the dialogs; settings
    // gives settings.ini (custom colours) once it is open; the preferences
    // dialog's OK is announced on the shell's session (preferencesChanged);
    // buildWelcomePage rebuilds the summary and shows it.
    // Connects the handlers to actions and creates the preferences dialog,
    // hidden.
    AppCommands(Shell& shell, QWidget* window, const MainActions& actions, std::function<IniFile&()> settings,
                 std::function<void()> buildWelcomePage);

    // Called once on the preferences dialog when it is first made, to add the
    // sections of other parts of the program.
    void setPreferencesExtension(std::function<void(PreferencesDialog&)> extend) { extend_ = std::move(extend); }

private:
    void showWelcomePage();
    void exitProgram();
    void editPreferences();

    Shell& shell_;
    QWidget* window_;
    std::function<IniFile&()> settings_;
    std::function<void()> buildWelcomePage_;
    std::function<void(PreferencesDialog&)> extend_;
    PreferencesDialog* preferencesDlg_ = nullptr; // made on first use, owned by window_
};

} // namespace kovara::ui
