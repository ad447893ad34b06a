#pragma once
// The main window's command table: one QAction per command, created once and
// shared by the menu, the side bar, the tool bar and the welcome page's links,
// so that all of them run the same handler and show the same caption and
// enabled state.
#include "ui/base/core_names.h"
#include "ui/app/internal_links.h"
#include <QString>
#include <functional>

class QAction;
class QObject;

namespace kovara::ui {

class Dialogs;

struct MainActions {
    QAction* welcomePageAction = nullptr;
    QAction* faithsCheckbookAction = nullptr;
    QAction* readBibleAction = nullptr;
    QAction* bibleVersionsAction = nullptr;
    QAction* getModulesAction = nullptr;
    QAction* newPlanAction = nullptr;
    QAction* planManagerAction = nullptr;
    QAction* newPrayerAction = nullptr;
    QAction* prayTodayAction = nullptr;
    QAction* activePrayersAction = nullptr;
    QAction* answeredPrayersAction = nullptr;
    QAction* inactivePrayersAction = nullptr;
    QAction* allPrayersAction = nullptr;
    QAction* copyAction = nullptr;
    QAction* backupAction = nullptr;
    QAction* restoreAction = nullptr;
    QAction* preferencesAction = nullptr;
    QAction* exitAction = nullptr;
    QAction* printAction = nullptr;
    QAction* printSetupAction = nullptr;
    QAction* helpAction = nullptr;
    QAction* aboutAction = nullptr;
    QAction* websiteAction = nullptr;
    QAction* emailAction = nullptr;
    QAction* checkUpdateAction = nullptr;

    // Creates every action as a child of owner, with its object name, caption,
    // shortcut and hint.
    static MainActions create(QObject* owner);

    // Every action, in the order of the command table.
    QList<QAction*> all() const;
    // The actions the welcome page's links run.
    ActionLinkTarget::Actions linkActions() const
    {
        return {faithsCheckbookAction,  newPlanAction,         planManagerAction,      newPrayerAction,
                activePrayersAction,    inactivePrayersAction, answeredPrayersAction, allPrayersAction};
    }
};


} // namespace kovara::ui
