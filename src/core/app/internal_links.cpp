#include "core/app/internal_links.h"

#include "core/base/exception.h"

#include <cstring>

namespace kovara::core {

namespace {

// Plan numbers are decimal only; the general integer conversion also takes
// hexadecimal forms ("$1F", "0x1F"), which a link must not.
int decimalPlanNumber(const std::string& text)
{
    std::size_t i = 0;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        ++i;
    bool digits = i < text.size();
    for (; i < text.size(); ++i)
        digits = digits && text[i] >= '0' && text[i] <= '9';
    if (!digits)
        throw Exception(format("'%s' is not a valid integer value", text));
    return strToInt(text);
}

} // namespace

InternalLink parseInternalLink(const std::string& link)
{
    // The order of the table decides when more than one entry could match.
    if (link == kLinkFaithsCheckbookToday)
        return {InternalLinkKind::FaithsCheckbookToday};
    if (link == kLinkNewReadPlan)
        return {InternalLinkKind::NewReadPlan};
    const std::size_t prefixLength = std::strlen(kLinkReadPlanPrefix);
    if (link.compare(0, prefixLength, kLinkReadPlanPrefix) == 0)
        return {InternalLinkKind::ReadPlan, decimalPlanNumber(link.substr(prefixLength, 5))};
    const std::size_t catchUpLength = std::strlen(kLinkCatchUpPrefix);
    if (link.compare(0, catchUpLength, kLinkCatchUpPrefix) == 0)
        return {InternalLinkKind::CatchUp, decimalPlanNumber(link.substr(catchUpLength, 5))};
    if (link == kLinkPlanManager)
        return {InternalLinkKind::PlanManager};
    if (link == kLinkNewPrayerItem)
        return {InternalLinkKind::NewPrayerItem};
    if (link == kLinkViewActivePrayers)
        return {InternalLinkKind::ViewActivePrayers};
    if (link == kLinkViewInactivePrayers)
        return {InternalLinkKind::ViewInactivePrayers};
    if (link == kLinkViewAnsweredPrayers)
        return {InternalLinkKind::ViewAnsweredPrayers};
    if (link == kLinkViewAllPrayers)
        return {InternalLinkKind::ViewAllPrayers};
    return {};
}

std::string unknownLinkMessage(const std::string& link)
{
    return format("Error - Unknown link \"%s\"", link);
}

} // namespace kovara::core
