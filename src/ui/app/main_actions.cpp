#include "ui/app/main_actions.h"

#include "ui/app/error_guard.h"

#include <QAction>
#include <QKeySequence>
#include <utility>

namespace kovara::ui {

namespace {

struct CommandRow {
    QAction* TMainActions::*field;
    const char* name;
    const char* caption;
    QKeySequence shortcut;
    const char* hint; // shown on the tool bar button; null for none
};

} // namespace

TMainActions TMainActions::Create(QObject* owner)
{
    // Captions, shortcuts and hints as the user sees them.
    const CommandRow rows[] = {
        {&TMainActions::ActionWelcomePage, "ActionWelcomePage", "Welcome and Summary", {}, "Welcome and Summary page"},
        {&TMainActions::ActionDevFaithsCheckbook, "ActionDevFaithsCheckbook", "Faith's Checkbook", {}, nullptr},
        {&TMainActions::ActionNewReadPlan, "ActionNewReadPlan", "Start New Reading Plan...", {}, nullptr},
        {&TMainActions::ActionReadingPlanManager, "ActionReadingPlanManager", "Reading Plan Manager", {}, nullptr},
        {&TMainActions::ActionNewPrayer, "ActionNewPrayer", "New Prayer Item...", {}, nullptr},
        {&TMainActions::ActionPrayersActive, "ActionPrayersActive", "View Active Prayers", {}, nullptr},
        {&TMainActions::ActionPrayersAnswered, "ActionPrayersAnswered", "View Answered Prayers", {}, nullptr},
        {&TMainActions::ActionPrayersInactive, "ActionPrayersInactive", "View Inactive Prayers", {}, nullptr},
        {&TMainActions::ActionPrayersAll, "ActionPrayersAll", "View All Prayers", {}, nullptr},
        {&TMainActions::ActionCopy, "ActionCopy", "Copy Selected Text", QKeySequence(Qt::CTRL | Qt::Key_C),
         "Copy Selected Text"},
        {&TMainActions::ActionBackup, "ActionBackup", "Backup...", {}, nullptr},
        {&TMainActions::ActionRestore, "ActionRestore", "Restore from Backup...", {}, nullptr},
        {&TMainActions::ActionPreferences, "ActionPreferences", "Preferences...", {}, nullptr},
        {&TMainActions::ActionExit, "ActionExit", "Exit Kovara", {}, nullptr},
        {&TMainActions::ActionPrint, "ActionPrint", "Print...", {}, "Print"},
        {&TMainActions::ActionPrintSetup, "ActionPrintSetup", "Printer Setup...", {}, nullptr},
        {&TMainActions::ActionHelp, "ActionHelp", "Open Help", QKeySequence(Qt::Key_F1), "Open Help File"},
        {&TMainActions::ActionAbout, "ActionAbout", "About Kovara", {}, nullptr},
        {&TMainActions::ActionKOVAWebsite, "ActionKOVAWebsite", "Kovara Website", {}, nullptr},
        {&TMainActions::ActionEmail, "ActionEmail", "Email Technical Support", {}, nullptr},
        {&TMainActions::ActionCheckUpdate, "ActionCheckUpdate", "Check for Updates", {}, nullptr},
    };

    TMainActions actions;
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

QList<QAction*> TMainActions::All() const
{
    return {ActionWelcomePage, ActionDevFaithsCheckbook, ActionNewReadPlan, ActionReadingPlanManager,
            ActionNewPrayer,   ActionPrayersActive,      ActionPrayersAnswered, ActionPrayersInactive,
            ActionPrayersAll,  ActionCopy,               ActionBackup,      ActionRestore,
            ActionPreferences, ActionExit,               ActionPrint,       ActionPrintSetup,
            ActionHelp,        ActionAbout,              ActionKOVAWebsite, ActionEmail,
            ActionCheckUpdate};
}

void ConnectGuarded(QAction* action, Dialogs& dialogs, std::function<void()> handler)
{
    QObject::connect(action, &QAction::triggered, action,
                     [&dialogs, handler = std::move(handler)] { RunGuarded(dialogs, handler); });
}

} // namespace kovara::ui
