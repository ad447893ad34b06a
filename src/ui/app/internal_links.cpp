#include "ui/app/internal_links.h"

#include "app/internal_links.h"
#include "ui/app/dialogs.h"
#include "ui/widgets/text_codec.h"

#include <QAction>

namespace kovara::ui {

void HandleInternalLink(const QString& link, WelcomeLinkTarget& target, Dialogs& dialogs)
{
    const std::string text = ToBytes(link);
    const TInternalLink parsed = ParseInternalLink(text);
    switch (parsed.kind) {
    case TInternalLinkKind::FaithsCheckbookToday:
        target.DevFaithsCheckbook();
        return;
    case TInternalLinkKind::NewReadPlan:
        target.NewReadPlan();
        return;
    case TInternalLinkKind::ReadPlan:
        target.ShowPlanDay(parsed.plan);
        return;
    case TInternalLinkKind::PlanManager:
        target.ReadingPlanManager();
        return;
    case TInternalLinkKind::NewPrayerItem:
        target.NewPrayer();
        return;
    case TInternalLinkKind::ViewActivePrayers:
        target.PrayersActive();
        return;
    case TInternalLinkKind::ViewInactivePrayers:
        target.PrayersInactive();
        return;
    case TInternalLinkKind::ViewAnsweredPrayers:
        target.PrayersAnswered();
        return;
    case TInternalLinkKind::ViewAllPrayers:
        target.PrayersAll();
        return;
    case TInternalLinkKind::Unknown:
        break;
    }
    dialogs.Message(FromBytes(UnknownLinkMessage(text)), Dialogs::Icon::Error);
}

namespace {

void Trigger(QAction* action)
{
    if (action)
        action->trigger();
}

} // namespace

ActionLinkTarget::ActionLinkTarget(const Actions& actions, std::function<void(int plan)> showPlanDay)
    : actions_(actions), showPlanDay_(std::move(showPlanDay))
{
}

void ActionLinkTarget::DevFaithsCheckbook() { Trigger(actions_.DevFaithsCheckbook); }
void ActionLinkTarget::NewReadPlan() { Trigger(actions_.NewReadPlan); }
void ActionLinkTarget::ShowPlanDay(int plan)
{
    if (showPlanDay_)
        showPlanDay_(plan);
}
void ActionLinkTarget::ReadingPlanManager() { Trigger(actions_.ReadingPlanManager); }
void ActionLinkTarget::NewPrayer() { Trigger(actions_.NewPrayer); }
void ActionLinkTarget::PrayersActive() { Trigger(actions_.PrayersActive); }
void ActionLinkTarget::PrayersInactive() { Trigger(actions_.PrayersInactive); }
void ActionLinkTarget::PrayersAnswered() { Trigger(actions_.PrayersAnswered); }
void ActionLinkTarget::PrayersAll() { Trigger(actions_.PrayersAll); }

} // namespace kovara::ui
