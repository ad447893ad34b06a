#pragma once
// The shell's own small commands: the welcome page, the preferences dialog
// and exit. Backup and restore and the general commands (copy, print, help,
// about, ...) have controllers of their own.
#include "ui/shell.h"

#include <functional>

class QWidget;

namespace kovara {
class TIniFile;
}

namespace kovara::ui {

class TFormPreferencesDlg;
struct TMainActions;

class TAppCommands {
public:
    // window is closed by "Exit Kovara" and parents the dialogs; settings
    // gives settings.ini (custom colours) once it is open; assignPreferences
    // hands the preferences to the display frames after the preferences
    // dialog's OK; buildWelcomePage rebuilds the summary and shows it.
    // Connects the handlers to actions and creates the preferences dialog,
    // hidden.
    TAppCommands(Shell& shell, QWidget* window, const TMainActions& actions, std::function<TIniFile&()> settings,
                 std::function<void()> assignPreferences, std::function<void()> buildWelcomePage);

private:
    void ActionWelcomePageExecute();
    void ActionExitExecute();
    void ActionPreferencesExecute();

    Shell& shell_;
    QWidget* window_;
    std::function<TIniFile&()> settings_;
    std::function<void()> assignPreferences_;
    std::function<void()> buildWelcomePage_;
    TFormPreferencesDlg* preferencesDlg_ = nullptr; // made on first use, owned by window_
};

} // namespace kovara::ui
