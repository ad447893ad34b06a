#include "app/internal_links.h"

#include "base/exception.h"

#include <cstring>

namespace kovara {

namespace {

// Plan numbers are decimal only; the general integer conversion also takes
// hexadecimal forms ("$1F", "0x1F"), which a link must not.
int DecimalPlanNumber(const std::string& text)
{
    std::size_t i = 0;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        ++i;
    bool digits = i < text.size();
    for (; i < text.size(); ++i)
        digits = digits && text[i] >= '0' && text[i] <= '9';
    if (!digits)
        throw Exception(Format("'%s' is not a valid integer value", text));
    return StrToInt(text);
}

} // namespace

TInternalLink ParseInternalLink(const std::string& link)
{
    // The order of the table decides when more than one entry could match.
    if (link == kLinkFaithsCheckbookToday)
        return {TInternalLinkKind::FaithsCheckbookToday};
    if (link == kLinkNewReadPlan)
        return {TInternalLinkKind::NewReadPlan};
    const std::size_t prefixLength = std::strlen(kLinkReadPlanPrefix);
    if (link.compare(0, prefixLength, kLinkReadPlanPrefix) == 0)
        return {TInternalLinkKind::ReadPlan, DecimalPlanNumber(link.substr(prefixLength, 5))};
    if (link == kLinkPlanManager)
        return {TInternalLinkKind::PlanManager};
    if (link == kLinkNewPrayerItem)
        return {TInternalLinkKind::NewPrayerItem};
    if (link == kLinkViewActivePrayers)
        return {TInternalLinkKind::ViewActivePrayers};
    if (link == kLinkViewInactivePrayers)
        return {TInternalLinkKind::ViewInactivePrayers};
    if (link == kLinkViewAnsweredPrayers)
        return {TInternalLinkKind::ViewAnsweredPrayers};
    if (link == kLinkViewAllPrayers)
        return {TInternalLinkKind::ViewAllPrayers};
    return {};
}

std::string UnknownLinkMessage(const std::string& link)
{
    return Format("Error - Unknown link \"%s\"", link);
}

} // namespace kovara
