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
        int plan;
    } cases[] = {
        {"koav2:FCtoday", K::FaithsCheckbookToday, 0},
        {"koav2:NewReadPlan", K::NewReadPlan, 0},
        {"koav2:ReadPlan/0", K::ReadPlan, 0},
        {"koav2:ReadPlan/1", K::ReadPlan, 1},
        {"koav2:ReadPlan/-1", K::ReadPlan, -1}, // range is the reading page's to check
        {"koav2:ReadPlan/123456", K::ReadPlan, 12345}, // five characters are read
        {"koav2:CatchUp/2", K::CatchUp, 2},
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
        EXPECT_EQ(link.plan, c.plan) << c.link;
    }
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
