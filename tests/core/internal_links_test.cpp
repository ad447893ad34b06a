// Which command a clicked "koav2:" link names.
#include "core/app/internal_links.h"

#include "fixtures.h"

#include <gtest/gtest.h>

namespace kovara::core {
namespace {

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
