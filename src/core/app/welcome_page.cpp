#include "app/welcome_page.h"

#include "app/internal_links.h"
#include "app/kova_prefs.h"
#include "base/datetime.h"
#include "base/exception.h"
#include "plans/kova_readplan.h"
#include "plans/todays_reading.h"
#include "prayer/kova_prayertracker.h"

namespace kovara {

namespace {

const char* StandingText(TPlanStanding standing)
{
    switch (standing) {
    case TPlanStanding::Completed:
        return "You have completed this reading plan.";
    case TPlanStanding::Behind:
        return "You are behind on this reading plan.";
    case TPlanStanding::DueToday:
        return "You have not yet read today's Scripture for this plan.";
    case TPlanStanding::UpToDate:
        break;
    }
    return "You are up to date on this plan.";
}

} // namespace

std::string BuildWelcomePageText(const TKOVAReadPlans& plans, const TKOVAPrayerTracker& prayers,
                                 const TKOVAPreferences& prefs, const Clock& clock)
{
    std::string page;
    const auto line = [&page](const std::string& text) {
        page += text;
        page += "\r\n";
    };

    line("<p>Welcome to Kovara.</p>");
    line("<p>Bible reading plan summary:<ul>");
    const int planCount = plans.GetPlanCount();
    if (planCount == 0) {
        line(Format("<li>You do not currently have any Bible reading plans. You can <a href=\"%s\">start one "
                    "now</a>.",
                    kLinkNewReadPlan));
    } else {
        for (int i = 0; i < planCount; ++i) {
            line("<li>");
            line(Format("<a href=\"%s%d\">%s</a>: ", kLinkReadPlanPrefix, i, plans.GetPlanTitle(i)));
            line(StandingText(GetPlanStanding(plans, i)));
            line("</li>");
        }
        line(Format("<p><font size=\"-1\">You can always <a href=\"%s\">create another plan</a> and <a "
                    "href=\"%s\">manage your plans</a>.</font></p>",
                    kLinkNewReadPlan, kLinkPlanManager));
    }
    line("</ul></p>");

    const int count = prayers.CountPrayers(kPrayerFilterAny);
    if (count < 1) {
        line(Format("<p>You do not have any prayer items in your Prayer Tracker. You can <a href=\"%s\">add a "
                    "prayer item</a> at any time.</p>",
                    kLinkNewPrayerItem));
    } else {
        line("<p>");
        if (count == 1)
            line("You have one prayer item in your Prayer Tracker.");
        else
            line(Format("<p>You have %d prayer items in your Prayer Tracker.", count));
        line("<ul>");
        line(Format("<li><a href=\"%s\">Create New Prayer Item</a></li>", kLinkNewPrayerItem));
        line(Format("<li><a href=\"%s\">View Active</a>: %d</li>", kLinkViewActivePrayers,
                    prayers.CountPrayers(kPrayerActive)));
        line(Format("<li><a href=\"%s\">View Answered</a>: %d</li>", kLinkViewAnsweredPrayers,
                    prayers.CountPrayers(kPrayerAnswered)));
        line(Format("<li><a href=\"%s\">View Inactive</a>: %d</li>", kLinkViewInactivePrayers,
                    prayers.CountPrayers(kPrayerInactive)));
        line(Format("<li><a href=\"%s\">View All</a>: %d</li>", kLinkViewAllPrayers,
                    prayers.CountPrayers(kPrayerFilterAny)));
        line("</ul></p>");
    }

    // Opening the devotional records only the day of the year, so a year-old
    // record of the same day counts as read.
    if (DayOfYear(clock.Now()) != prefs.LastFaithsCheckbookRead)
        line(Format("<p>You have not yet read today's <a href=\"%s\"><i>Faith's Checkbook</i></a> devotional.</p>",
                    kLinkFaithsCheckbookToday));
    return page;
}

} // namespace kovara
