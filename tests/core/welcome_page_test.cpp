// The welcome page text, line by line: plans in each standing, prayer counts
// and the devotional reminder.
#include "core/app/welcome_page.h"

#include "core/settings/ini_file.h"
#include "core/app/preferences.h"
#include "fixtures.h"
#include "core/plans/plan_store.h"
#include "core/prayer/prayer_store.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace kovara::core {
namespace {

// 10 March 2024 is day 70 of its year.
const sys_days kToday = makeDate(2024, 3, 10);
using namespace std::chrono_literals;
constexpr int kTodayOfYear = 70;

std::string joinLines(const std::vector<std::string>& lines)
{
    std::string text;
    for (const std::string& line : lines)
        text += line + "\r\n";
    return text;
}

const char* const kNoPlans =
    "<li>You do not currently have any Bible reading plans. You can <a href=\"koav2:NewReadPlan\">start one now</a>.";
const char* const kNoPrayers = "<p>You do not have any prayer items in your Prayer Tracker. You can <a "
                               "href=\"koav2:NewPrayerItem\">add a prayer item</a> at any time.</p>";
const char* const kDevotional = "<p>You have not yet read today's <a href=\"koav2:FCtoday\"><i>Faith's "
                                "Checkbook</i></a> devotional.</p>";

class WelcomePageTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        plans = std::make_unique<PlanStore>(dir.file("userreadplans.kova2"), clock);
        prayers = std::make_unique<PrayerStore>(dir.file("prayers.kova2"), &clock);
    }
    std::string build() const { return buildWelcomePageText(*plans, *prayers, prefs, clock); }

    // A ten-day plan started daysAgo days before today, days 1..read read.
    int addPlan(const std::string& title, int daysAgo, int read)
    {
        const std::vector<std::string> days(10, "1-3");
        const int plan = *plans->indexOf(plans->addPlan(title, days, kToday - std::chrono::days(daysAgo)));
        if (read > 0)
            plans->markDaysDoneThrough(plan, read);
        return plan;
    }
    // Items of status; nothing makes deleted ones.
    void addPrayers(int count, std::optional<PrayerStatus> status)
    {
        for (int i = 0; i < count; ++i) {
            const std::int32_t index = prayers->newPrayerItem();
            if (status)
                prayers->setPrayerStatus(index, *status);
            else
                prayers->deletePrayer(index);
        }
    }

    test::TempDir dir;
    FixedClock clock{startOf(kToday) + 18h};
    IniFile ini{dir.file("settings.ini")};
    Preferences prefs{ini};
    std::unique_ptr<PlanStore> plans;
    std::unique_ptr<PrayerStore> prayers;
};

TEST_F(WelcomePageTest, ANewUserGetsTheStartingLinks)
{
    EXPECT_EQ(build(), joinLines({"<p>Welcome to Kovara.</p>", "<p>Bible reading plan summary:<ul>", kNoPlans,
                              "</ul></p>", kNoPrayers, kDevotional}));
}

TEST_F(WelcomePageTest, PlansShowTheirStandingAndPrayersTheirCounts)
{
    // Ordered by title in the store, so the indices follow the letters.
    addPlan("A <!-- Done", 2, 10);   // every day read although only day 3 is due
    addPlan("B <i>Behind</i>", 4, 2); // day 5 due, day 3 unread
    addPlan("C Today", 0, 0);        // day 1 due and unread
    addPlan("D Ahead", 1, 3);        // day 2 due, read through day 3
    addPrayers(3, PrayerStatus::Active);
    addPrayers(2, PrayerStatus::Answered);
    addPrayers(1, PrayerStatus::Inactive);
    addPrayers(1, std::nullopt); // deleted: counted nowhere
    prefs.lastFaithsCheckbookRead = kTodayOfYear;
    // Each plan's link names it by its lasting id.
    const auto link = [&](int plan) { return "<a href=\"koav2:ReadPlan/" + plans->id(plan).guid() + "\">"; };

    const std::vector<std::string> head = {
        "<p>Welcome to Kovara.</p>",
        "<p>Bible reading plan summary:<ul>",
        "<li>",
        link(0) + "A &lt;!-- Done</a>: ", // a title is text, never markup
        "You have completed this reading plan.",
        "</li>",
        "<li>",
        link(1) + "B &lt;i&gt;Behind&lt;/i&gt;</a>: ",
        "You are behind on this reading plan.",
        "</li>",
        "<li>",
        link(2) + "C Today</a>: ",
    };
    const std::vector<std::string> tail = {
        "</li>",
        "<li>",
        link(3) + "D Ahead</a>: ",
        "You are up to date on this plan.",
        "</li>",
        "<p><font size=\"-1\">You can always <a href=\"koav2:NewReadPlan\">create another plan</a> and <a "
        "href=\"koav2:PlanManager\">manage your plans</a>.</font></p>",
        "</ul></p>",
        "<p>",
        "<p>You have 6 prayer items in your Prayer Tracker.",
        "<ul>",
        "<li><a href=\"koav2:NewPrayerItem\">Create New Prayer Item</a></li>",
        "<li><a href=\"koav2:ViewActivePrayers\">View Active</a>: 3</li>",
        "<li><a href=\"koav2:ViewAnsweredPrayers\">View Answered</a>: 2</li>",
        "<li><a href=\"koav2:ViewInactivePrayers\">View Inactive</a>: 1</li>",
        "<li><a href=\"koav2:ViewAllPrayers\">View All</a>: 6</li>",
        "</ul></p>",
    };
    const auto page = [&](const std::string& standing) {
        std::vector<std::string> lines = head;
        lines.push_back(standing);
        lines.insert(lines.end(), tail.begin(), tail.end());
        return joinLines(lines);
    };
    EXPECT_EQ(build(), page("You have not yet read today's Scripture for this plan."));

    // The summary follows the store at each build.
    plans->setDayDone(2, 1, true);
    EXPECT_EQ(build(), page("You are up to date on this plan."));
}

TEST_F(WelcomePageTest, APlanThatHasNotStartedSaysWhenItStarts)
{
    // A week ahead, with and without day 1 read ahead; a plan starting today is due.
    addPlan("A week ahead", -7, 0);
    addPlan("B read ahead", -7, 1);
    addPlan("C today", 0, 0);
    const std::string page = build();
    EXPECT_NE(page.find("A week ahead</a>: \r\nThis reading plan starts on 2024-03-17.\r\n"), std::string::npos) << page;
    EXPECT_NE(page.find("B read ahead</a>: \r\nThis reading plan starts on 2024-03-17.\r\n"), std::string::npos) << page;
    EXPECT_NE(page.find("C today</a>: \r\nYou have not yet read today's Scripture"), std::string::npos) << page;
    EXPECT_EQ(page.find("behind"), std::string::npos) << page;

    // The reader's date format is handed in.
    const std::string local = buildWelcomePageText(*plans, *prayers, prefs, clock, {}, [](sys_days) {
        return std::string("17.3.<2024>");
    });
    EXPECT_NE(local.find("This reading plan starts on 17.3.&lt;2024&gt;."), std::string::npos) << local;
}

TEST_F(WelcomePageTest, OnePrayerItemIsWordedOnItsOwn)
{
    addPrayers(1, PrayerStatus::Answered);
    const std::string page = build();
    EXPECT_NE(page.find("\r\n<p>\r\nYou have one prayer item in your Prayer Tracker.\r\n<ul>\r\n"), std::string::npos)
        << page;
    EXPECT_NE(page.find("View Active</a>: 0</li>\r\n"), std::string::npos);
    EXPECT_NE(page.find("View Answered</a>: 1</li>\r\n"), std::string::npos);
    EXPECT_NE(page.find("View All</a>: 1</li>\r\n"), std::string::npos);
}

TEST_F(WelcomePageTest, TheDevotionalLineComparesOnlyTheDayOfTheYear)
{
    struct Case {
        sys_seconds now;
        int lastRead;
        bool shown;
    } cases[] = {
        {startOf(kToday) + 18h, kTodayOfYear, false},
        {startOf(kToday) + 18h, kTodayOfYear - 1, true},
        {startOf(kToday) + 18h, 0, true},
        {makeMoment(2023, 3, 11, 8, 0, 0), kTodayOfYear, false}, // day 70 of another year
        {makeMoment(2024, 12, 31, 23, 59, 0), 366, false},
        {makeMoment(2025, 1, 1, 0, 0, 0), 366, true},
    };
    for (const Case& c : cases) {
        clock.set(c.now);
        prefs.lastFaithsCheckbookRead = c.lastRead;
        const std::string page = build();
        EXPECT_EQ(page.find(kDevotional) != std::string::npos, c.shown) << c.lastRead;
    }
}

TEST_F(WelcomePageTest, StoreErrorsPropagate)
{
    prayers->close();
    EXPECT_NE(test::messageOf([&] { build(); }), "(nothing raised)");
}

} // namespace
} // namespace kovara::core
