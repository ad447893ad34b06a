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
      buildWelcomePage_(std::move(buildWelcomePage)),
      preferencesDlg_(new TFormPreferencesDlg(window))
{
    Dialogs& dialogs = shell.GetDialogs();
    ConnectGuarded(actions.ActionWelcomePage, dialogs, [this] { ActionWelcomePageExecute(); });
    ConnectGuarded(actions.ActionExit, dialogs, [this] { ActionExitExecute(); });

    // Handlers still to come, each with its own piece:
    // backup and restore of the two user databases;
    ConnectGuarded(actions.ActionBackup, dialogs, [] {});
    ConnectGuarded(actions.ActionRestore, dialogs, [] {});
    ConnectGuarded(actions.ActionPreferences, dialogs, [this] { ActionPreferencesExecute(); });
    // copy and print of the current page, printer set-up;
    ConnectGuarded(actions.ActionCopy, dialogs, [] {});
    ConnectGuarded(actions.ActionPrint, dialogs, [] {});
    ConnectGuarded(actions.ActionPrintSetup, dialogs, [] {});
    // help on the current page, the about box, the web site, the support
    // e-mail and the update check.
    ConnectGuarded(actions.ActionHelp, dialogs, [] {});
    ConnectGuarded(actions.ActionAbout, dialogs, [] {});
    ConnectGuarded(actions.ActionKOVAWebsite, dialogs, [] {});
    ConnectGuarded(actions.ActionEmail, dialogs, [] {});
    ConnectGuarded(actions.ActionCheckUpdate, dialogs, [] {});
}

bool TAppCommands::CopyEnabled(Page page, int selectionLength)
{
    switch (page) {
    case Page::Devotional:
    case Page::BibleRead:
    case Page::PrayerTracker:
        return selectionLength > 0;
    case Page::Welcome:
    case Page::PlanManager:
        break;
    }
    return false;
}

bool TAppCommands::PrintEnabled(Page page, int planManagerPlanIndex)
{
    switch (page) {
    case Page::Devotional:
    case Page::BibleRead:
    case Page::PrayerTracker:
        return true;
    case Page::PlanManager:
        return planManagerPlanIndex >= 0;
    case Page::Welcome:
        break;
    }
    return false;
}

void TAppCommands::ActionWelcomePageExecute()
{
    buildWelcomePage_();
}

void TAppCommands::ActionPreferencesExecute()
{
    ExecutePreferences(*preferencesDlg_, shell_.Preferences(), settings_(), assignPreferences_);
}

void TAppCommands::ActionExitExecute()
{
    // Closing the window ends the program; placement and preferences are saved
    // on the way out.
    window_->close();
}

} // namespace kovara::ui
