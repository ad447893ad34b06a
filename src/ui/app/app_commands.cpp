#include "ui/base/error_guard.h"
#include "ui/app/app_commands.h"
#include "ui/base/core_names.h"

#include "ui/app/preferences_dialog.h"
#include "ui/app/main_actions.h"

#include <QAction>
#include <QWidget>
#include <utility>

namespace kovara::ui {

AppCommands::AppCommands(Shell& shell, QWidget* window, const MainActions& actions,
                           std::function<IniFile&()> settings, std::function<void()> buildWelcomePage)
    : shell_(shell), window_(window), settings_(std::move(settings)), buildWelcomePage_(std::move(buildWelcomePage))
{
    Dialogs& dialogs = shell.dialogs();
    connectGuarded(actions.welcomePageAction, dialogs, [this] { showWelcomePage(); });
    connectGuarded(actions.exitAction, dialogs, [this] { exitProgram(); });
    connectGuarded(actions.preferencesAction, dialogs, [this] { editPreferences(); });
}

void AppCommands::showWelcomePage()
{
    buildWelcomePage_();
}

void AppCommands::editPreferences()
{
    // The dialog is made on first use: its font list reads every installed
    // font, which would slow every start for a dialog opened now and then.
    if (!preferencesDlg_) {
        preferencesDlg_ = new PreferencesDialog(window_);
        if (extend_)
            extend_(*preferencesDlg_);
    }
    executePreferences(*preferencesDlg_, shell_.preferences(), settings_(),
                       [this] { shell_.session().notifyPreferencesChanged(); });
}

void AppCommands::exitProgram()
{
    // Closing the window ends the program; placement and preferences are saved
    // on the way out.
    window_->close();
}

} // namespace kovara::ui
