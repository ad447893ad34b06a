#pragma once
// The internal link scheme of generated pages. A link whose href starts with
// "koav2:" is not an address: a click on it runs one of the program's
// commands. This is the Qt-free half: the link texts the pages write and the
// parser that says which command a clicked text names.
#include <string>

namespace kovara::core {

inline constexpr const char* kLinkFaithsCheckbookToday = "koav2:FCtoday";
inline constexpr const char* kLinkNewReadPlan = "koav2:NewReadPlan";
// Followed by the plan's 0-based index in the plan store, in decimal.
inline constexpr const char* kLinkReadPlanPrefix = "koav2:ReadPlan/";
inline constexpr const char* kLinkPlanManager = "koav2:PlanManager";
// Followed by the plan's index, as the plan link: the catch-up choices for it.
inline constexpr const char* kLinkCatchUpPrefix = "koav2:CatchUp/";
inline constexpr const char* kLinkNewPrayerItem = "koav2:NewPrayerItem";
inline constexpr const char* kLinkViewActivePrayers = "koav2:ViewActivePrayers";
inline constexpr const char* kLinkViewInactivePrayers = "koav2:ViewInactivePrayers";
inline constexpr const char* kLinkViewAnsweredPrayers = "koav2:ViewAnsweredPrayers";
inline constexpr const char* kLinkViewAllPrayers = "koav2:ViewAllPrayers";

enum class InternalLinkKind {
    Unknown,
    FaithsCheckbookToday,
    NewReadPlan,
    ReadPlan,
    PlanManager,
    NewPrayerItem,
    ViewActivePrayers,
    ViewInactivePrayers,
    ViewAnsweredPrayers,
    ViewAllPrayers,
    CatchUp,
};

struct InternalLink {
    InternalLinkKind kind = InternalLinkKind::Unknown;
    int plan = 0; // for ReadPlan and CatchUp only
};

// Says which command link names. Texts are compared exactly, letter case
// included; the plan prefix matches any text that starts with it, every other
// entry only the whole text. For a plan link, at most the five characters
// after the prefix are read as a decimal integer (optional sign, digits only);
// anything else there, nothing included, raises
// "'%s' is not a valid integer value" with the characters read. The number is
// not checked against the plans: that is the reading page's business.
// A text that names no command gives kind Unknown.
InternalLink parseInternalLink(const std::string& link);

// "Error - Unknown link \"%s\"" with the link text.
std::string unknownLinkMessage(const std::string& link);

} // namespace kovara::core
