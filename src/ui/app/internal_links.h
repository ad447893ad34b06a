#pragma once
// Dispatching a clicked internal link ("koav2:...") to the command it names.
// The commands are reached through WelcomeLinkTarget, which the main window
// implements; ActionLinkTarget is a ready implementation that triggers the
// main window's actions, so a link runs the very handler its menu entry runs.
#include <QString>
#include <functional>

class QAction;

namespace kovara::ui {

class Dialogs;

// The commands the internal links run.
class WelcomeLinkTarget {
public:
    virtual ~WelcomeLinkTarget() = default;
    virtual void DevFaithsCheckbook() = 0;   // today's devotional
    virtual void NewReadPlan() = 0;          // start a new reading plan
    virtual void ShowPlanDay(int plan) = 0;  // that plan's day to read now (day 0)
    virtual void ReadingPlanManager() = 0;   // the plan manager page
    virtual void NewPrayer() = 0;
    virtual void PrayersActive() = 0;
    virtual void PrayersInactive() = 0;
    virtual void PrayersAnswered() = 0;
    virtual void PrayersAll() = 0;
};

// Runs the command link names on target. A link that names no command shows
// "Error - Unknown link \"%s\"" through dialogs and runs nothing. A plan link
// whose number is not an integer raises "'%s' is not a valid integer value";
// so does anything target raises (the caller runs this under the error guard).
void HandleInternalLink(const QString& link, WelcomeLinkTarget& target, Dialogs& dialogs);

// A target that triggers QActions (not owned; each must outlive the target)
// and hands plan links to a function. A disabled action does nothing, as its
// menu entry would.
class ActionLinkTarget : public WelcomeLinkTarget {
public:
    struct Actions {
        QAction* DevFaithsCheckbook = nullptr;
        QAction* NewReadPlan = nullptr;
        QAction* ReadingPlanManager = nullptr;
        QAction* NewPrayer = nullptr;
        QAction* PrayersActive = nullptr;
        QAction* PrayersInactive = nullptr;
        QAction* PrayersAnswered = nullptr;
        QAction* PrayersAll = nullptr;
    };

    ActionLinkTarget(const Actions& actions, std::function<void(int plan)> showPlanDay);

    void DevFaithsCheckbook() override;
    void NewReadPlan() override;
    void ShowPlanDay(int plan) override;
    void ReadingPlanManager() override;
    void NewPrayer() override;
    void PrayersActive() override;
    void PrayersInactive() override;
    void PrayersAnswered() override;
    void PrayersAll() override;

private:
    Actions actions_;
    std::function<void(int)> showPlanDay_;
};

} // namespace kovara::ui
