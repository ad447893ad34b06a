#pragma once
// Dispatching a clicked internal link ("koav2:...") to the command it names.
// The commands are reached through WelcomeLinkTarget, which the main window
// implements; ActionLinkTarget is a ready implementation that triggers the
// main window's actions, so a link runs the very handler its menu entry runs.
#include "ui/base/core_names.h"
#include "core/app/internal_links.h"

#include <QString>
#include <functional>

class QAction;

namespace kovara::ui {

class Dialogs;

// The commands the internal links run.
class WelcomeLinkTarget {
public:
    virtual ~WelcomeLinkTarget() = default;
    virtual void devFaithsCheckbook() = 0;   // today's devotional
    virtual void newReadPlan() = 0;          // start a new reading plan
    // That plan's day to read now (day 0); plan is as the link names it.
    virtual void showPlanDay(const PlanLinkTarget& plan) = 0;
    virtual void readingPlanManager() = 0;   // the plan manager page
    virtual void newPrayer() = 0;
    virtual void prayersActive() = 0;
    virtual void prayersInactive() = 0;
    virtual void prayersAnswered() = 0;
    virtual void prayersAll() = 0;
    // The catch-up choices for that plan.
    virtual void catchUp(const PlanLinkTarget& /*plan*/) {}
};

// Runs the command link names on target. A link that names no command shows
// "Error - Unknown link \"%s\"" through dialogs and runs nothing. A plan link
// whose number is not an integer raises "'%s' is not a valid integer value";
// so does anything target raises (the caller runs this under the error guard).
void handleInternalLink(const QString& link, WelcomeLinkTarget& target, Dialogs& dialogs);

// A target that triggers QActions (not owned; each must outlive the target)
// and hands plan links to a function. A disabled action does nothing, as its
// menu entry would.
class ActionLinkTarget : public WelcomeLinkTarget {
public:
    struct Actions {
        QAction* devFaithsCheckbook = nullptr;
        QAction* newReadPlan = nullptr;
        QAction* readingPlanManager = nullptr;
        QAction* newPrayer = nullptr;
        QAction* prayersActive = nullptr;
        QAction* prayersInactive = nullptr;
        QAction* prayersAnswered = nullptr;
        QAction* prayersAll = nullptr;
    };

    ActionLinkTarget(const Actions& actions, std::function<void(const PlanLinkTarget& plan)> showPlanDay,
                     std::function<void(const PlanLinkTarget& plan)> catchUp = {});

    void devFaithsCheckbook() override;
    void newReadPlan() override;
    void showPlanDay(const PlanLinkTarget& plan) override;
    void readingPlanManager() override;
    void newPrayer() override;
    void prayersActive() override;
    void prayersInactive() override;
    void prayersAnswered() override;
    void prayersAll() override;
    void catchUp(const PlanLinkTarget& plan) override;

private:
    Actions actions_;
    std::function<void(const PlanLinkTarget&)> showPlanDay_;
    std::function<void(const PlanLinkTarget&)> catchUp_;
};

} // namespace kovara::ui
