#include "ui/app/main_actions.h"
#include "ui/base/core_names.h"

#include "ui/base/error_guard.h"

#include <QAction>
#include <QCoreApplication>
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
        {&MainActions::welcomePageAction, "welcomePageAction",
         QT_TRANSLATE_NOOP("kovara::ui::MainActions", "&Welcome and Summary"), {},
         QT_TRANSLATE_NOOP("kovara::ui::MainActions", "Welcome and Summary page")},
        {&MainActions::faithsCheckbookAction, "faithsCheckbookAction",
         QT_TRANSLATE_NOOP("kovara::ui::MainActions", "&Faith's Checkbook"), {}, nullptr},
        {&MainActions::readBibleAction, "readBibleAction",
         QT_TRANSLATE_NOOP("kovara::ui::MainActions", "Read the &Bible"), QKeySequence(Qt::CTRL | Qt::Key_B),
         QT_TRANSLATE_NOOP("kovara::ui::MainActions", "Read the Bible (Ctrl+B)")},
        {&MainActions::bibleVersionsAction, "bibleVersionsAction",
         QT_TRANSLATE_NOOP("kovara::ui::MainActions", "Bible &Versions..."), {}, nullptr},
        {&MainActions::getModulesAction, "getModulesAction",
         QT_TRANSLATE_NOOP("kovara::ui::MainActions", "&Get Bibles and Commentaries..."), {}, nullptr},
        {&MainActions::newPlanAction, "newPlanAction",
         QT_TRANSLATE_NOOP("kovara::ui::MainActions", "&Start New Reading Plan..."), {}, nullptr},
        {&MainActions::planManagerAction, "planManagerAction",
         QT_TRANSLATE_NOOP("kovara::ui::MainActions", "Reading Plan &Manager"), {}, nullptr},
        {&MainActions::newPrayerAction, "newPrayerAction",
         QT_TRANSLATE_NOOP("kovara::ui::MainActions", "&New Prayer Item..."), {}, nullptr},
        {&MainActions::prayTodayAction, "prayTodayAction",
         QT_TRANSLATE_NOOP("kovara::ui::MainActions", "&Pray Today"), QKeySequence(Qt::CTRL | Qt::Key_T), nullptr},
        {&MainActions::activePrayersAction, "activePrayersAction",
         QT_TRANSLATE_NOOP("kovara::ui::MainActions", "View Ac&tive Prayers"), {}, nullptr},
        {&MainActions::answeredPrayersAction, "answeredPrayersAction",
         QT_TRANSLATE_NOOP("kovara::ui::MainActions", "View &Answered Prayers"), {}, nullptr},
        {&MainActions::inactivePrayersAction, "inactivePrayersAction",
         QT_TRANSLATE_NOOP("kovara::ui::MainActions", "View &Inactive Prayers"), {}, nullptr},
        {&MainActions::allPrayersAction, "allPrayersAction",
         QT_TRANSLATE_NOOP("kovara::ui::MainActions", "View A&ll Prayers"), {}, nullptr},
        {&MainActions::copyAction, "copyAction", QT_TRANSLATE_NOOP("kovara::ui::MainActions", "&Copy Selected Text"),
         QKeySequence(Qt::CTRL | Qt::Key_C), QT_TRANSLATE_NOOP("kovara::ui::MainActions", "Copy Selected Text")},
        {&MainActions::backupAction, "backupAction", QT_TRANSLATE_NOOP("kovara::ui::MainActions", "&Backup..."), {},
         nullptr},
        {&MainActions::restoreAction, "restoreAction",
         QT_TRANSLATE_NOOP("kovara::ui::MainActions", "&Restore from Backup..."), {}, nullptr},
        {&MainActions::preferencesAction, "preferencesAction",
         QT_TRANSLATE_NOOP("kovara::ui::MainActions", "Pr&eferences..."), {}, nullptr},
        {&MainActions::exitAction, "exitAction", QT_TRANSLATE_NOOP("kovara::ui::MainActions", "E&xit Kovara"),
         QKeySequence(Qt::CTRL | Qt::Key_Q), nullptr},
        {&MainActions::printAction, "printAction", QT_TRANSLATE_NOOP("kovara::ui::MainActions", "&Print..."),
         QKeySequence(Qt::CTRL | Qt::Key_P), QT_TRANSLATE_NOOP("kovara::ui::MainActions", "Print")},
        {&MainActions::printSetupAction, "printSetupAction",
         QT_TRANSLATE_NOOP("kovara::ui::MainActions", "Printer Set&up..."), {}, nullptr},
        {&MainActions::helpAction, "helpAction", QT_TRANSLATE_NOOP("kovara::ui::MainActions", "&Open Help"),
         QKeySequence(Qt::Key_F1), QT_TRANSLATE_NOOP("kovara::ui::MainActions", "Open Help File")},
        {&MainActions::aboutAction, "aboutAction", QT_TRANSLATE_NOOP("kovara::ui::MainActions", "&About Kovara"), {},
         nullptr},
        {&MainActions::websiteAction, "websiteAction", QT_TRANSLATE_NOOP("kovara::ui::MainActions", "Kovara &Website"),
         {}, nullptr},
        {&MainActions::emailAction, "emailAction",
         QT_TRANSLATE_NOOP("kovara::ui::MainActions", "&Email Technical Support"), {}, nullptr},
        {&MainActions::checkUpdateAction, "checkUpdateAction",
         QT_TRANSLATE_NOOP("kovara::ui::MainActions", "Check for &Updates"), {}, nullptr},
    };

    MainActions actions;
    for (const CommandRow& row : rows) {
        auto* action = new QAction(QCoreApplication::translate("kovara::ui::MainActions", row.caption), owner);
        action->setObjectName(QString::fromLatin1(row.name));
        if (!row.shortcut.isEmpty()) {
            action->setShortcut(row.shortcut);
            // The shortcut works wherever focus is inside the main window.
            action->setShortcutContext(Qt::WindowShortcut);
        }
        if (row.hint)
            action->setToolTip(QCoreApplication::translate("kovara::ui::MainActions", row.hint));
        actions.*(row.field) = action;
    }
    // Copy and Print wait for a page that has something to copy or print.
    actions.copyAction->setEnabled(false);
    actions.printAction->setEnabled(false);
    return actions;
}

QList<QAction*> MainActions::all() const
{
    return {welcomePageAction, faithsCheckbookAction, newPlanAction, planManagerAction,
            newPrayerAction,   activePrayersAction,      answeredPrayersAction, inactivePrayersAction,
            allPrayersAction,  copyAction,               backupAction,      restoreAction,
            preferencesAction, exitAction,               printAction,       printSetupAction,
            helpAction,        aboutAction,              websiteAction, emailAction,
            checkUpdateAction, readBibleAction, bibleVersionsAction, getModulesAction, prayTodayAction};
}


} // namespace kovara::ui
