#pragma once
// The main window's command table: one QAction per command, created once and
// shared by the menu, the side bar, the tool bar and the welcome page's links,
// so that all of them run the same handler and show the same caption and
// enabled state.
#include <QString>
#include <functional>

class QAction;
class QObject;

namespace kovara::ui {

class Dialogs;

struct TMainActions {
    QAction* ActionWelcomePage = nullptr;
    QAction* ActionDevFaithsCheckbook = nullptr;
    QAction* ActionNewReadPlan = nullptr;
    QAction* ActionReadingPlanManager = nullptr;
    QAction* ActionNewPrayer = nullptr;
    QAction* ActionPrayersActive = nullptr;
    QAction* ActionPrayersAnswered = nullptr;
    QAction* ActionPrayersInactive = nullptr;
    QAction* ActionPrayersAll = nullptr;
    QAction* ActionCopy = nullptr;
    QAction* ActionBackup = nullptr;
    QAction* ActionRestore = nullptr;
    QAction* ActionPreferences = nullptr;
    QAction* ActionExit = nullptr;
    QAction* ActionPrint = nullptr;
    QAction* ActionPrintSetup = nullptr;
    QAction* ActionHelp = nullptr;
    QAction* ActionAbout = nullptr;
    QAction* ActionKOVAWebsite = nullptr;
    QAction* ActionEmail = nullptr;
    QAction* ActionCheckUpdate = nullptr;

    // Creates every action as a child of owner, with its object name, caption,
    // shortcut and hint.
    static TMainActions Create(QObject* owner);

    // Every action, in the order of the command table.
    QList<QAction*> All() const;
};

// Connects action's trigger to handler, run through the general error guard:
// an exception becomes a message box and never reaches the event loop.
void ConnectGuarded(QAction* action, Dialogs& dialogs, std::function<void()> handler);

} // namespace kovara::ui
