#pragma once
// The shell's own commands: welcome page, backup and restore, preferences,
// exit, copy, print, printer set-up, help, about, web site, support e-mail and
// update check. Also the enabling rules of Copy and Print.
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

    // Copy is enabled on the devotional, Bible reading and prayer pages while
    // their viewer or editor has a selection.
    static bool CopyEnabled(Page page, int selectionLength);
    // Print is enabled on the devotional, Bible reading and prayer pages, and
    // on the plan manager page while it has a plan chosen (index 0 or more).
    static bool PrintEnabled(Page page, int planManagerPlanIndex);

private:
    void ActionWelcomePageExecute();
    void ActionExitExecute();
    void ActionPreferencesExecute();

    Shell& shell_;
    QWidget* window_;
    std::function<TIniFile&()> settings_;
    std::function<void()> assignPreferences_;
    std::function<void()> buildWelcomePage_;
    TFormPreferencesDlg* preferencesDlg_; // owned by window_
};

} // namespace kovara::ui
