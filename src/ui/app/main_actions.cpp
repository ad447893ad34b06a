#include "ui/app/main_actions.h"
#include "ui/base/core_names.h"

#include "ui/base/error_guard.h"

#include <QAction>
#include <QKeySequence>
#include <utility>

namespace kovara::ui {

namespace {

struct CommandRow {
    QAction* MainActions::*field;
    const char* name;
    const char* caption;
    QKeySequence shortcut;
    const char* hint; // shown on the tool bar button; null for none
};

} // namespace

MainActions MainActions::create(QObject* owner)
{
    // Captions, shortcuts and hints as the user sees them.
    const CommandRow rows[] = {
        {&MainActions::welcomePageAction, "ActionWelcomePage", "Welcome and Summary", {}, "Welcome and Summary page"},
        {&MainActions::faithsCheckbookAction, "ActionDevFaithsCheckbook", "Faith's Checkbook", {}, nullptr},
        {&MainActions::readBibleAction, "ActionReadBible", "Read the Bible", QKeySequence(Qt::CTRL | Qt::Key_B),
         "Read the Bible (Ctrl+B)"},
        {&MainActions::newPlanAction, "ActionNewReadPlan", "Start New Reading Plan...", {}, nullptr},
        {&MainActions::planManagerAction, "ActionReadingPlanManager", "Reading Plan Manager", {}, nullptr},
        {&MainActions::newPrayerAction, "ActionNewPrayer", "New Prayer Item...", {}, nullptr},
        {&MainActions::activePrayersAction, "ActionPrayersActive", "View Active Prayers", {}, nullptr},
        {&MainActions::answeredPrayersAction, "ActionPrayersAnswered", "View Answered Prayers", {}, nullptr},
        {&MainActions::inactivePrayersAction, "ActionPrayersInactive", "View Inactive Prayers", {}, nullptr},
        {&MainActions::allPrayersAction, "ActionPrayersAll", "View All Prayers", {}, nullptr},
        {&MainActions::copyAction, "ActionCopy", "Copy Selected Text", QKeySequence(Qt::CTRL | Qt::Key_C),
         "Copy Selected Text"},
        {&MainActions::backupAction, "ActionBackup", "Backup...", {}, nullptr},
        {&MainActions::restoreAction, "ActionRestore", "Restore from Backup...", {}, nullptr},
        {&MainActions::preferencesAction, "ActionPreferences", "Preferences...", {}, nullptr},
        {&MainActions::exitAction, "ActionExit", "Exit Kovara", {}, nullptr},
        {&MainActions::printAction, "ActionPrint", "Print...", {}, "Print"},
        {&MainActions::printSetupAction, "ActionPrintSetup", "Printer Setup...", {}, nullptr},
        {&MainActions::helpAction, "ActionHelp", "Open Help", QKeySequence(Qt::Key_F1), "Open Help File"},
        {&MainActions::aboutAction, "ActionAbout", "About Kovara", {}, nullptr},
        {&MainActions::websiteAction, "ActionKOVAWebsite", "Kovara Website", {}, nullptr},
        {&MainActions::emailAction, "ActionEmail", "Email Technical Support", {}, nullptr},
        {&MainActions::checkUpdateAction, "ActionCheckUpdate", "Check for Updates", {}, nullptr},
    };

    MainActions actions;
    for (const CommandRow& row : rows) {
        auto* action = new QAction(QString::fromUtf8(row.caption), owner);
        action->setObjectName(QString::fromLatin1(row.name));
        if (!row.shortcut.isEmpty()) {
            action->setShortcut(row.shortcut);
            // The shortcut works wherever focus is inside the main window.
            action->setShortcutContext(Qt::WindowShortcut);
        }
        if (row.hint)
            action->setToolTip(QString::fromUtf8(row.hint));
        actions.*(row.field) = action;
    }
    return actions;
}

QList<QAction*> MainActions::all() const
{
    return {welcomePageAction, faithsCheckbookAction, newPlanAction, planManagerAction,
            newPrayerAction,   activePrayersAction,      answeredPrayersAction, inactivePrayersAction,
            allPrayersAction,  copyAction,               backupAction,      restoreAction,
            preferencesAction, exitAction,               printAction,       printSetupAction,
            helpAction,        aboutAction,              websiteAction, emailAction,
            checkUpdateAction, readBibleAction};
}


} // namespace kovara::ui
