#include "core/app/internal_links.h"

#include "core/base/exception.h"

#include <cctype>
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

bool startsWithNoCase(const std::string& text, std::size_t at, const char* part)
{
    const std::size_t n = std::strlen(part);
    if (at + n > text.size())
        return false;
    for (std::size_t i = 0; i < n; ++i)
        if (std::toupper(static_cast<unsigned char>(text[at + i])) != part[i])
            return false;
    return true;
}

// The rest of a plan link after its prefix: an id in braces, else a position.
// A clicked link reaches the program as a URL, in which the braces come
// percent-encoded ("%7B", "%7D"); they are taken as braces.
PlanLinkTarget planTarget(const std::string& rest)
{
    if (rest.size() >= 2 && rest.front() == '{' && rest.back() == '}')
        return PlanId(rest);
    if (rest.size() >= 6 && startsWithNoCase(rest, 0, "%7B") && startsWithNoCase(rest, rest.size() - 3, "%7D"))
        return PlanId("{" + rest.substr(3, rest.size() - 6) + "}");
    return decimalPlanNumber(rest.substr(0, 5));
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
        return {InternalLinkKind::ReadPlan, planTarget(link.substr(prefixLength))};
    const std::size_t catchUpLength = std::strlen(kLinkCatchUpPrefix);
    if (link.compare(0, catchUpLength, kLinkCatchUpPrefix) == 0)
        return {InternalLinkKind::CatchUp, planTarget(link.substr(catchUpLength))};
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

std::string readPlanLink(const PlanId& plan)
{
    return kLinkReadPlanPrefix + plan.guid();
}

std::string catchUpLink(const PlanId& plan)
{
    return kLinkCatchUpPrefix + plan.guid();
}

std::string unknownLinkMessage(const std::string& link)
{
    return format("Error - Unknown link \"%s\"", link);
}

} // namespace kovara::core
