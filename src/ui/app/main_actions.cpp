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
    // Captions, shortcuts and hints as the user sees them; "&" marks the
    // letter that picks the entry in its menu (shown underlined).
    const CommandRow rows[] = {
        {&MainActions::welcomePageAction, "welcomePageAction", "&Welcome and Summary", {}, "Welcome and Summary page"},
        {&MainActions::faithsCheckbookAction, "faithsCheckbookAction", "&Faith's Checkbook", {}, nullptr},
        {&MainActions::readBibleAction, "readBibleAction", "Read the &Bible", QKeySequence(Qt::CTRL | Qt::Key_B),
         "Read the Bible (Ctrl+B)"},
        {&MainActions::newPlanAction, "newPlanAction", "&Start New Reading Plan...", {}, nullptr},
        {&MainActions::planManagerAction, "planManagerAction", "Reading Plan &Manager", {}, nullptr},
        {&MainActions::newPrayerAction, "newPrayerAction", "&New Prayer Item...", {}, nullptr},
        {&MainActions::activePrayersAction, "activePrayersAction", "View Ac&tive Prayers", {}, nullptr},
        {&MainActions::answeredPrayersAction, "answeredPrayersAction", "View &Answered Prayers", {}, nullptr},
        {&MainActions::inactivePrayersAction, "inactivePrayersAction", "View &Inactive Prayers", {}, nullptr},
        {&MainActions::allPrayersAction, "allPrayersAction", "View A&ll Prayers", {}, nullptr},
        {&MainActions::copyAction, "copyAction", "&Copy Selected Text", QKeySequence(Qt::CTRL | Qt::Key_C),
         "Copy Selected Text"},
        {&MainActions::backupAction, "backupAction", "&Backup...", {}, nullptr},
        {&MainActions::restoreAction, "restoreAction", "&Restore from Backup...", {}, nullptr},
        {&MainActions::preferencesAction, "preferencesAction", "Pr&eferences...", {}, nullptr},
        {&MainActions::exitAction, "exitAction", "E&xit Kovara", {}, nullptr},
        {&MainActions::printAction, "printAction", "&Print...", {}, "Print"},
        {&MainActions::printSetupAction, "printSetupAction", "Printer Set&up...", {}, nullptr},
        {&MainActions::helpAction, "helpAction", "&Open Help", QKeySequence(Qt::Key_F1), "Open Help File"},
        {&MainActions::aboutAction, "aboutAction", "&About Kovara", {}, nullptr},
        {&MainActions::websiteAction, "websiteAction", "Kovara &Website", {}, nullptr},
        {&MainActions::emailAction, "emailAction", "&Email Technical Support", {}, nullptr},
        {&MainActions::checkUpdateAction, "checkUpdateAction", "Check for &Updates", {}, nullptr},
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
