#include "ui/app/internal_links.h"
#include "ui/base/core_names.h"

#include "core/app/internal_links.h"
#include "ui/base/dialogs.h"
#include "ui/base/text_codec.h"

#include <QAction>

namespace kovara::ui {

void handleInternalLink(const QString& link, WelcomeLinkTarget& target, Dialogs& dialogs)
{
    const std::string text = toBytes(link);
    const InternalLink parsed = parseInternalLink(text);
    switch (parsed.kind) {
    case InternalLinkKind::FaithsCheckbookToday:
        target.devFaithsCheckbook();
        return;
    case InternalLinkKind::NewReadPlan:
        target.newReadPlan();
        return;
    case InternalLinkKind::ReadPlan:
        target.showPlanDay(parsed.plan);
        return;
    case InternalLinkKind::CatchUp:
        target.catchUp(parsed.plan);
        return;
    case InternalLinkKind::PlanManager:
        target.readingPlanManager();
        return;
    case InternalLinkKind::NewPrayerItem:
        target.newPrayer();
        return;
    case InternalLinkKind::ViewActivePrayers:
        target.prayersActive();
        return;
    case InternalLinkKind::ViewInactivePrayers:
        target.prayersInactive();
        return;
    case InternalLinkKind::ViewAnsweredPrayers:
        target.prayersAnswered();
        return;
    case InternalLinkKind::ViewAllPrayers:
        target.prayersAll();
        return;
    case InternalLinkKind::Unknown:
        break;
    }
    dialogs.message(fromBytes(unknownLinkMessage(text)), Dialogs::Icon::Error);
}

namespace {

void trigger(QAction* action)
{
    if (action)
        action->trigger();
}

} // namespace

ActionLinkTarget::ActionLinkTarget(const Actions& actions,
                                   std::function<void(const PlanLinkTarget& plan)> showPlanDay,
                                   std::function<void(const PlanLinkTarget& plan)> catchUp)
    : actions_(actions), showPlanDay_(std::move(showPlanDay)), catchUp_(std::move(catchUp))
{
}

void ActionLinkTarget::devFaithsCheckbook() { trigger(actions_.devFaithsCheckbook); }
void ActionLinkTarget::newReadPlan() { trigger(actions_.newReadPlan); }
void ActionLinkTarget::showPlanDay(const PlanLinkTarget& plan)
{
    if (showPlanDay_)
        showPlanDay_(plan);
}
void ActionLinkTarget::readingPlanManager() { trigger(actions_.readingPlanManager); }
void ActionLinkTarget::newPrayer() { trigger(actions_.newPrayer); }
void ActionLinkTarget::prayersActive() { trigger(actions_.prayersActive); }
void ActionLinkTarget::prayersInactive() { trigger(actions_.prayersInactive); }
void ActionLinkTarget::prayersAnswered() { trigger(actions_.prayersAnswered); }
void ActionLinkTarget::prayersAll() { trigger(actions_.prayersAll); }
void ActionLinkTarget::catchUp(const PlanLinkTarget& plan)
{
    if (catchUp_)
        catchUp_(plan);
}

} // namespace kovara::ui
