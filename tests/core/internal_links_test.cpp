// Which command a clicked "koav2:" link names.
#include "core/app/internal_links.h"

#include "fixtures.h"

#include <gtest/gtest.h>

namespace kovara::core {
namespace {

using K = InternalLinkKind;

TEST(InternalLinksTest, EachLinkNamesItsCommand)
{
    struct Case {
        const char* link;
        K kind;
        PlanLinkTarget plan;
    } cases[] = {
        {"koav2:FCtoday", K::FaithsCheckbookToday, 0},
        {"koav2:NewReadPlan", K::NewReadPlan, 0},
        {"koav2:ReadPlan/0", K::ReadPlan, 0},
        {"koav2:ReadPlan/1", K::ReadPlan, 1},
        {"koav2:ReadPlan/-1", K::ReadPlan, -1}, // range is the reading page's to check
        {"koav2:ReadPlan/123456", K::ReadPlan, 12345}, // five characters are read
        {"koav2:CatchUp/2", K::CatchUp, 2},
        // The form pages write now: the plan's id, however long.
        {"koav2:ReadPlan/{0A1B2C3D-0000-4000-8000-00000000000F}", K::ReadPlan,
         PlanId("{0A1B2C3D-0000-4000-8000-00000000000F}")},
        {"koav2:CatchUp/{0A1B2C3D-0000-4000-8000-00000000000F}", K::CatchUp,
         PlanId("{0A1B2C3D-0000-4000-8000-00000000000F}")},
        // As a clicked link's URL gives it, the braces percent-encoded.
        {"koav2:ReadPlan/%7B0A1B2C3D-0000-4000-8000-00000000000F%7D", K::ReadPlan,
         PlanId("{0A1B2C3D-0000-4000-8000-00000000000F}")},
        {"koav2:CatchUp/%7b0A1B2C3D-0000-4000-8000-00000000000F%7d", K::CatchUp,
         PlanId("{0A1B2C3D-0000-4000-8000-00000000000F}")},
        {"koav2:PlanManager", K::PlanManager, 0},
        {"koav2:NewPrayerItem", K::NewPrayerItem, 0},
        {"koav2:ViewActivePrayers", K::ViewActivePrayers, 0},
        {"koav2:ViewInactivePrayers", K::ViewInactivePrayers, 0},
        {"koav2:ViewAnsweredPrayers", K::ViewAnsweredPrayers, 0},
        {"koav2:ViewAllPrayers", K::ViewAllPrayers, 0},
        // Exact text, case included; whole-text entries take no suffix.
        {"koav2:readplan/1", K::Unknown, 0},
        {"KOAV2:FCtoday", K::Unknown, 0},
        {"koav2:FCtoday ", K::Unknown, 0},
        {"koav2:ReadPlan", K::Unknown, 0},
        {"koav2:", K::Unknown, 0},
        {"", K::Unknown, 0},
        {"https://example.org/", K::Unknown, 0},
    };
    for (const Case& c : cases) {
        const InternalLink link = parseInternalLink(c.link);
        EXPECT_EQ(link.kind, c.kind) << c.link;
        EXPECT_TRUE(link.plan == c.plan) << c.link;
    }
}

TEST(InternalLinksTest, PlanLinksCarryThePlanIdAndParseBack)
{
    const PlanId plan("{0A1B2C3D-0000-4000-8000-00000000000F}");
    EXPECT_EQ(readPlanLink(plan), "koav2:ReadPlan/{0A1B2C3D-0000-4000-8000-00000000000F}");
    EXPECT_EQ(catchUpLink(plan), "koav2:CatchUp/{0A1B2C3D-0000-4000-8000-00000000000F}");
    EXPECT_TRUE(parseInternalLink(readPlanLink(plan)).plan == PlanLinkTarget(plan));
}

TEST(InternalLinksTest, APlanNumberMustBeADecimalInteger)
{
    struct Case {
        const char* link;
        const char* message;
    } cases[] = {
        {"koav2:ReadPlan/", "'' is not a valid integer value"},
        {"koav2:ReadPlan/x", "'x' is not a valid integer value"},
        {"koav2:ReadPlan/1 ", "'1 ' is not a valid integer value"},
        {"koav2:ReadPlan/ 1", "' 1' is not a valid integer value"},
        {"koav2:ReadPlan/-", "'-' is not a valid integer value"},
        {"koav2:ReadPlan/0x1F", "'0x1F' is not a valid integer value"},
        {"koav2:ReadPlan/$1F", "'$1F' is not a valid integer value"},
        {"koav2:ReadPlan/12a456", "'12a45' is not a valid integer value"},
        // Only a whole id in braces is an id.
        {"koav2:ReadPlan/{0A1B", "'{0A1B' is not a valid integer value"},
        {"koav2:CatchUp/{}x", "'{}x' is not a valid integer value"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(test::messageOf([&] { parseInternalLink(c.link); }), c.message) << c.link;
}

TEST(InternalLinksTest, UnknownLinkMessageQuotesTheText)
{
    EXPECT_EQ(unknownLinkMessage("koav2:readplan/1"), "Error - Unknown link \"koav2:readplan/1\"");
}

} // namespace
} // namespace kovara::core
