// The welcome page text, line by line: plans in each standing, prayer counts
// and the devotional reminder.
#include "app/welcome_page.h"

#include "app/ini_file.h"
#include "app/kova_prefs.h"
#include "fixtures.h"
#include "plans/kova_readplan.h"
#include "prayer/kova_prayertracker.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace kovara {
namespace {

// 10 March 2024 is day 70 of its year.
const TDateTime kToday = EncodeDate(2024, 3, 10);
constexpr int kTodayOfYear = 70;

std::string Lines(const std::vector<std::string>& lines)
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
        plans = std::make_unique<TKOVAReadPlans>(dir.File("userreadplans.kova2"), clock);
        prayers = std::make_unique<TKOVAPrayerTracker>(dir.File("prayers.kova2"), &clock);
    }
    std::string Build() const { return BuildWelcomePageText(*plans, *prayers, prefs, clock); }

    // A ten-day plan started daysAgo days before today, days 1..read read.
    int Plan(const std::string& title, int daysAgo, int read)
    {
        const std::vector<std::string> days(10, "1-3");
        const int plan = plans->AddPlan(title, days, kToday - daysAgo);
        if (read > 0)
            plans->MarkDaysDoneThrough(plan, read);
        return plan;
    }
    void Prayers(int count, const char* status)
    {
        for (int i = 0; i < count; ++i)
            prayers->SetPrayerStatus(prayers->NewPrayerItem(), status);
    }

    test::TempDir dir;
    FixedClock clock{kToday + 0.75};
    TIniFile ini{dir.File("settings.ini")};
    TKOVAPreferences prefs{ini};
    std::unique_ptr<TKOVAReadPlans> plans;
    std::unique_ptr<TKOVAPrayerTracker> prayers;
};

TEST_F(WelcomePageTest, ANewUserGetsTheStartingLinks)
{
    EXPECT_EQ(Build(), Lines({"<p>Welcome to Kovara.</p>", "<p>Bible reading plan summary:<ul>", kNoPlans,
                              "</ul></p>", kNoPrayers, kDevotional}));
}

TEST_F(WelcomePageTest, PlansShowTheirStandingAndPrayersTheirCounts)
{
    // Ordered by title in the store, so the indices follow the letters.
    Plan("A <b>Done</b>", 2, 10); // every day read although only day 3 is due
    Plan("B Behind", 4, 2);       // day 5 due, day 3 unread
    Plan("C Today", 0, 0);        // day 1 due and unread
    Plan("D Ahead", 1, 3);        // day 2 due, read through day 3
    Prayers(3, kPrayerActive);
    Prayers(2, kPrayerAnswered);
    Prayers(1, kPrayerInactive);
    Prayers(1, kPrayerDeleted); // counted nowhere
    prefs.LastFaithsCheckbookRead = kTodayOfYear;

    const std::vector<std::string> head = {
        "<p>Welcome to Kovara.</p>",
        "<p>Bible reading plan summary:<ul>",
        "<li>",
        "<a href=\"koav2:ReadPlan/0\">A <b>Done</b></a>: ",
        "You have completed this reading plan.",
        "</li>",
        "<li>",
        "<a href=\"koav2:ReadPlan/1\">B Behind</a>: ",
        "You are behind on this reading plan.",
        "</li>",
        "<li>",
        "<a href=\"koav2:ReadPlan/2\">C Today</a>: ",
    };
    const std::vector<std::string> tail = {
        "</li>",
        "<li>",
        "<a href=\"koav2:ReadPlan/3\">D Ahead</a>: ",
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
        return Lines(lines);
    };
    EXPECT_EQ(Build(), page("You have not yet read today's Scripture for this plan."));

    // The summary follows the store at each build.
    plans->SetDayDone(2, 1, true);
    EXPECT_EQ(Build(), page("You are up to date on this plan."));
}

TEST_F(WelcomePageTest, OnePrayerItemIsWordedOnItsOwn)
{
    Prayers(1, kPrayerAnswered);
    const std::string page = Build();
    EXPECT_NE(page.find("\r\n<p>\r\nYou have one prayer item in your Prayer Tracker.\r\n<ul>\r\n"), std::string::npos)
        << page;
    EXPECT_NE(page.find("View Active</a>: 0</li>\r\n"), std::string::npos);
    EXPECT_NE(page.find("View Answered</a>: 1</li>\r\n"), std::string::npos);
    EXPECT_NE(page.find("View All</a>: 1</li>\r\n"), std::string::npos);
}

TEST_F(WelcomePageTest, TheDevotionalLineComparesOnlyTheDayOfTheYear)
{
    struct Case {
        TDateTime now;
        int lastRead;
        bool shown;
    } cases[] = {
        {kToday + 0.75, kTodayOfYear, false},
        {kToday + 0.75, kTodayOfYear - 1, true},
        {kToday + 0.75, 0, true},
        {EncodeDateTime(2023, 3, 11, 8, 0, 0), kTodayOfYear, false}, // day 70 of another year
        {EncodeDateTime(2024, 12, 31, 23, 59, 0), 366, false},
        {EncodeDateTime(2025, 1, 1, 0, 0, 0), 366, true},
    };
    for (const Case& c : cases) {
        clock.Set(c.now);
        prefs.LastFaithsCheckbookRead = c.lastRead;
        const std::string page = Build();
        EXPECT_EQ(page.find(kDevotional) != std::string::npos, c.shown) << c.lastRead;
    }
}

TEST_F(WelcomePageTest, StoreErrorsPropagate)
{
    prayers->Close();
    EXPECT_NE(test::MessageOf([&] { Build(); }), "(nothing raised)");
}

} // namespace
} // namespace kovara
