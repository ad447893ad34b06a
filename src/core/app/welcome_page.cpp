#include "core/app/welcome_page.h"

#include "core/app/internal_links.h"
#include "core/app/preferences.h"
#include "core/base/datetime.h"
#include "core/base/exception.h"
#include "core/base/html_escape.h"
#include "core/base/translation.h"
#include "core/plans/plan_store.h"
#include "core/plans/todays_reading.h"
#include "core/prayer/prayer_store.h"

namespace kovara::core {

namespace {

std::string isoDateText(sys_days d)
{
    const std::chrono::year_month_day ymd{d};
    return format("%04d-%02d-%02d", static_cast<int>(ymd.year()), static_cast<unsigned>(ymd.month()),
                  static_cast<unsigned>(ymd.day()));
}

std::string standingText(PlanStanding standing, const std::string& startText)
{
    switch (standing) {
    case PlanStanding::NotStarted:
        return withArgs(translatedText("kovara::core::WelcomePage", "This reading plan starts on %1."), startText);
    case PlanStanding::Completed:
        return translatedText("kovara::core::WelcomePage", "You have completed this reading plan.");
    case PlanStanding::Behind:
        return translatedText("kovara::core::WelcomePage", "You are behind on this reading plan.");
    case PlanStanding::DueToday:
        return translatedText("kovara::core::WelcomePage", "You have not yet read today's Scripture for this plan.");
    case PlanStanding::UpToDate:
        break;
    }
    return translatedText("kovara::core::WelcomePage", "You are up to date on this plan.");
}

} // namespace

std::string buildWelcomePageText(const PlanStore& plans, const PrayerStore& prayers,
                                 const Preferences& prefs, const Clock& clock,
                                 const std::function<std::string(int plan)>& planDetails,
                                 const std::function<std::string(sys_days)>& dateText)
{
    std::string page;
    const auto line = [&page](const std::string& text) {
        page += text;
        page += "\r\n";
    };

    line(translatedText("kovara::core::WelcomePage", "<p>Welcome to Kovara.</p>"));
    line(translatedText("kovara::core::WelcomePage", "<p>Bible reading plan summary:<ul>"));
    const int planCount = plans.planCount();
    if (planCount == 0) {
        line(withArgs(translatedText("kovara::core::WelcomePage", "<li>You do not currently have any Bible reading plans. You can <a href=\"%1\">start one "
                    "now</a>."),
                    kLinkNewReadPlan));
    } else {
        for (int i = 0; i < planCount; ++i) {
            line("<li>");
            line(format("<a href=\"%s\">%s</a>: ", readPlanLink(plans.id(i)), htmlEscape(plans.planTitle(i))));
            const sys_days start = dayOf(plans.startDate(i));
            line(standingText(planStanding(plans, i), htmlEscape(dateText ? dateText(start) : isoDateText(start))));
            if (planDetails)
                line(planDetails(i));
            line("</li>");
        }
        line(withArgs(translatedText("kovara::core::WelcomePage", "<p><font size=\"-1\">You can always <a href=\"%1\">create another plan</a> and <a "
                    "href=\"%2\">manage your plans</a>.</font></p>"),
                    kLinkNewReadPlan, kLinkPlanManager));
    }
    line("</ul></p>");

    const PrayerStore::StatusCounts counts = prayers.countByStatus();
    const int count = counts.all;
    if (count < 1) {
        line(withArgs(translatedText("kovara::core::WelcomePage", "<p>You do not have any prayer items in your Prayer Tracker. You can <a href=\"%1\">add a "
                    "prayer item</a> at any time.</p>"),
                    kLinkNewPrayerItem));
    } else {
        line("<p>");
        line(translatedCount("kovara::core::WelcomePage", "<p>You have %n prayer items in your Prayer Tracker.", nullptr, count));
        line("<ul>");
        line(withArgs(translatedText("kovara::core::WelcomePage", "<li><a href=\"%1\">Create New Prayer Item</a></li>"), kLinkNewPrayerItem));
        line(withArgs(translatedText("kovara::core::WelcomePage", "<li><a href=\"%1\">View Active</a>: %2</li>"), kLinkViewActivePrayers,
                    counts.active));
        line(withArgs(translatedText("kovara::core::WelcomePage", "<li><a href=\"%1\">View Answered</a>: %2</li>"), kLinkViewAnsweredPrayers,
                    counts.answered));
        line(withArgs(translatedText("kovara::core::WelcomePage", "<li><a href=\"%1\">View Inactive</a>: %2</li>"), kLinkViewInactivePrayers,
                    counts.inactive));
        line(withArgs(translatedText("kovara::core::WelcomePage", "<li><a href=\"%1\">View All</a>: %2</li>"), kLinkViewAllPrayers, count));
        line("</ul></p>");
    }

    // Opening the devotional records only the day of the year, so a year-old
    // record of the same day counts as read.
    if (dayOfYear(clock.today()) != prefs.lastFaithsCheckbookRead)
        line(withArgs(translatedText("kovara::core::WelcomePage", "<p>You have not yet read today's <a href=\"%1\"><i>Faith's Checkbook</i></a> devotional.</p>"),
                    kLinkFaithsCheckbookToday));
    return page;
}

} // namespace kovara::core
