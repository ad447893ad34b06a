#include "core/plans/new_plan.h"

#include "core/content/bible_store.h"
#include "fixtures.h"
#include "core/plans/plan_store.h"

#include <gtest/gtest.h>

#include <set>

namespace kovara::core {
namespace {

const sys_days kToday = makeDate(2024, 3, 10);
using std::chrono::days;
using namespace std::chrono_literals;

TEST(CustomPlanTest, DayTextsAndSummaryLine)
{
    struct Case {
        int first, last, daysAhead;
        std::vector<std::string> days; // empty: refused
        const char* details;
    };
    const Case cases[] = {
        {1, 31, 0, {"1-31"}, "(31 total verses; 1 days; 31 verses per day.)"},
        {1, 10, 2, {"1-4", "5-7", "8-10"}, "(10 total verses; 3 days; About 3 verses per day.)"},
        {1, 5, 1, {"1-3", "4-5"}, "(5 total verses; 2 days; About 2 verses per day.)"},    // 2.5 -> 2
        {11, 17, 1, {"11-14", "15-17"}, "(7 total verses; 2 days; About 4 verses per day.)"}, // 3.5 -> 4
        {1, 3, 1, {"1-2", "3-3"}, "(3 total verses; 2 days; About 2 verses per day.)"},      // 1.5 -> 2
        {1, 4, 2, {"1-2", "3-3", "4-4"}, "(4 total verses; 3 days; About one verse per day.)"},
        {5, 5, 0, {"5-5"}, "(1 total verses; 1 days; One verse per day.)"},
        {1, 14, 6, {"1-2", "3-4", "5-6", "7-8", "9-10", "11-12", "13-14"}, "(14 total verses; 7 days; 2 verses per day.)"},
        {1, 3, 3, {}, "(3 total verses; 4 days; Less than one verse per day.)"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(format("%d-%d over %d days ahead", c.first, c.last, c.daysAhead));
        const CustomPlanFigures f = customPlanFigures(c.first, c.last, kToday, kToday + days(c.daysAhead));
        EXPECT_EQ(customDetailsText(f), c.details);
        if (c.days.empty())
            EXPECT_EQ(test::messageOf([&] { customPlanDays(f); }), kLessThanOneVersePerDay);
        else
            EXPECT_EQ(customPlanDays(f), c.days);
    }
    // The whole Bible in a year: every verse once, the last day ends the stretch.
    const auto year = customPlanDays(customPlanFigures(1, 31102, kToday, kToday + days(364)));
    ASSERT_EQ(year.size(), 365u);
    EXPECT_EQ(year.front(), "1-86");
    EXPECT_EQ(year.back(), "31018-31102");
}

TEST(CustomPlanTest, CompletionDateNeverBeforeToday)
{
    // Today is taken at a quarter past six in the morning; only days count.
    const sys_seconds now = startOf(kToday) + 6h + 14min + 24s;
    const struct {
        sys_seconds chosen;
        sys_days expected;
    } cases[] = {
        {startOf(kToday - days(1)), kToday},
        {startOf(kToday - days(400)), kToday},
        {startOf(kToday) - 12h, kToday}, // yesterday noon
        {startOf(kToday), kToday},       // earlier today is still today, not moved
        {startOf(kToday) + 2h + 24min, kToday},
        {startOf(kToday + days(30)), kToday + days(30)},
        {startOf(kToday + days(30)) + 18h, kToday + days(30)},
    };
    for (const auto& c : cases)
        EXPECT_EQ(clampCompletionDate(c.chosen, now), c.expected) << toStoredSeconds(c.chosen);
}

class StretchTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        test::makeAlphaBetaBible(dir.file("bible.kova2"));
        bible = std::make_unique<BibleStore>(dir.file("bible.kova2"), "Test", "T");
    }
    test::TempDir dir;
    std::unique_ptr<BibleStore> bible;
};

TEST_F(StretchTest, LinkedChoicesKeepTheStretchNonEmpty)
{
    CustomStretch s = CustomStretch::firstBook(*bible);
    EXPECT_EQ(s.startVerseIndex(*bible), 1);
    EXPECT_EQ(s.endVerseIndex(*bible), 80); // the whole of Alpha

    s.changeStartBook(2, *bible); // end book Alpha now lies before: follows to Beta's last chapter
    EXPECT_EQ(std::vector<int>({s.startBook, s.startChapter, s.endBook, s.endChapter}), std::vector<int>({2, 1, 2, 2}));
    s.changeEndChapter(1);
    s.changeStartChapter(2); // end chapter follows the start
    EXPECT_EQ(std::vector<int>({s.startChapter, s.endChapter}), std::vector<int>({2, 2}));
    EXPECT_EQ(s.startVerseIndex(*bible), 91);
    EXPECT_EQ(s.endVerseIndex(*bible), 102);
    s.changeEndChapter(1); // start chapter follows the end
    EXPECT_EQ(std::vector<int>({s.startChapter, s.endChapter}), std::vector<int>({1, 1}));

    s.changeStartChapter(2);
    s.changeEndBook(1, *bible); // start book moves back to Alpha, chapter 1
    EXPECT_EQ(std::vector<int>({s.startBook, s.startChapter, s.endBook, s.endChapter}), std::vector<int>({1, 1, 1, 3}));
    s.changeStartChapter(2);
    s.changeEndBook(2, *bible); // a later end book leaves the start alone
    EXPECT_EQ(std::vector<int>({s.startBook, s.startChapter, s.endBook, s.endChapter}), std::vector<int>({1, 2, 2, 2}));
    EXPECT_EQ(customDetailsText(customPlanFigures(s.startVerseIndex(*bible), s.endVerseIndex(*bible), kToday, kToday)),
              "(71 total verses; 1 days; 71 verses per day.)");
}

TEST_F(StretchTest, OpeningChecksNameWhatIsMissing)
{
    const std::string missing = dir.file("readplans.kova2");
    EXPECT_EQ(test::messageOf([&] { checkNewPlanSources(nullptr, missing); }), "Bible not assigned to checkNewPlanSources");
    EXPECT_EQ(test::messageOf([&] { checkNewPlanSources(bible.get(), missing); }),
              "Reading plan file " + missing + " not found.");
    EXPECT_NO_THROW(checkNewPlanSources(bible.get(), dir.file("bible.kova2")));
}

TEST(PlanNameTest, ProposalCountsUpFromTheKindsBase)
{
    const std::set<std::string> titles = {"Bible in a Year", "Bible in a Year 2", "Custom Reading Plan 2"};
    const auto exists = [&](const std::string& t) { return titles.count(t) > 0; };
    EXPECT_EQ(proposePlanName(defaultPlanName(NewPlanKind::SevenTypes), exists), "Bible in a Year 3");
    EXPECT_EQ(proposePlanName(defaultPlanName(NewPlanKind::OtNtDaily), exists), "Bible in a Year 3");
    EXPECT_EQ(proposePlanName(defaultPlanName(NewPlanKind::Custom), exists), "Custom Reading Plan");
    EXPECT_EQ(templateTableOf(NewPlanKind::SevenTypes), "sevenTypes");
    EXPECT_EQ(templateTableOf(NewPlanKind::OtNtDaily), "otntDaily");
}

TEST(PlanNameTest, PromptRepeatsUntilANameIsFreeAndTrimsIt)
{
    test::TempDir dir;
    FixedClock clock(kToday);
    PlanStore plans(dir.file("userreadplans.kova2"), clock);
    plans.addPlan("Alpha", {"1-1"}, kToday);
    const auto exists = [&](const std::string& t) { return plans.planTitleExists(t); };

    struct Case {
        const char* what;
        std::vector<std::optional<std::string>> typed;
        std::vector<std::string> prefills;
        std::vector<std::string> notices;
        std::optional<std::string> result;
    };
    const Case cases[] = {
        {"blanks around", {"  Beta  "}, {"Proposal"}, {}, "Beta"},
        {"blank, then taken in other case, then free",
         {" \t ", "alpha ", "Gamma"},
         {"Proposal", "", "alpha"},
         {kBlankPlanName, kDuplicatePlanName},
         "Gamma"},
        {"cancel", {std::nullopt}, {"Proposal"}, {}, std::nullopt},
        {"cancel after a refusal", {"ALPHA", std::nullopt}, {"Proposal", "ALPHA"}, {kDuplicatePlanName}, std::nullopt},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        std::size_t next = 0;
        std::vector<std::string> prefills, notices;
        const auto result = askPlanName(
            "Proposal",
            [&](const std::string& prefill) {
                prefills.push_back(prefill);
                return next < c.typed.size() ? c.typed[next++] : std::nullopt;
            },
            [&](const std::string& message) { notices.push_back(message); }, exists);
        EXPECT_EQ(result, c.result);
        EXPECT_EQ(prefills, c.prefills);
        EXPECT_EQ(notices, c.notices);
    }
}

} // namespace
} // namespace kovara::core
