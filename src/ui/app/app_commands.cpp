#include "ui/app/app_commands.h"

#include "ui/app/formPreferences.h"
#include "ui/app/main_actions.h"

#include <QAction>
#include <QWidget>
#include <utility>

namespace kovara::ui {

TAppCommands::TAppCommands(Shell& shell, QWidget* window, const TMainActions& actions,
                           std::function<TIniFile&()> settings, std::function<void()> assignPreferences,
                           std::function<void()> buildWelcomePage)
    : shell_(shell), window_(window), settings_(std::move(settings)), assignPreferences_(std::move(assignPreferences)),
      buildWelcomePage_(std::move(buildWelcomePage))
{
    Dialogs& dialogs = shell.GetDialogs();
    ConnectGuarded(actions.ActionWelcomePage, dialogs, [this] { ActionWelcomePageExecute(); });
    ConnectGuarded(actions.ActionExit, dialogs, [this] { ActionExitExecute(); });
    ConnectGuarded(actions.ActionPreferences, dialogs, [this] { ActionPreferencesExecute(); });
}

void TAppCommands::ActionWelcomePageExecute()
{
    buildWelcomePage_();
}

void TAppCommands::ActionPreferencesExecute()
{
    // The dialog is made on first use: its font list reads every installed
    // font, which would slow every start for a dialog opened now and then.
    if (!preferencesDlg_)
        preferencesDlg_ = new TFormPreferencesDlg(window_);
    ExecutePreferences(*preferencesDlg_, shell_.Preferences(), settings_(), assignPreferences_);
}

void TAppCommands::ActionExitExecute()
{
    // Closing the window ends the program; placement and preferences are saved
    // on the way out.
    window_->close();
}

} // namespace kovara::ui
