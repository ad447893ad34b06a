#pragma once
// The internal link scheme of generated pages. A link whose href starts with
// "koav2:" is not an address: a click on it runs one of the program's
// commands. This is the Qt-free half: the link texts the pages write and the
// parser that says which command a clicked text names.
#include "core/plans/plan_id.h"

#include <string>
#include <variant>

namespace kovara::core {

inline constexpr const char* kLinkFaithsCheckbookToday = "koav2:FCtoday";
inline constexpr const char* kLinkNewReadPlan = "koav2:NewReadPlan";
// Followed by the plan's id (its GUID, braces included), which names the same
// plan however the list is reloaded. Pages made by earlier versions put the
// plan's 0-based position in the list there instead, in decimal; such links
// are still followed.
inline constexpr const char* kLinkReadPlanPrefix = "koav2:ReadPlan/";
inline constexpr const char* kLinkPlanManager = "koav2:PlanManager";
// Followed by the plan's id or position, as the plan link: the catch-up
// choices for it.
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

// The plan a plan link names: its id, or (older links) its position in the
// plan list.
using PlanLinkTarget = std::variant<int, PlanId>;

struct InternalLink {
    InternalLinkKind kind = InternalLinkKind::Unknown;
    PlanLinkTarget plan = 0; // for ReadPlan and CatchUp only
};

// Says which command link names. Texts are compared exactly, letter case
// included; the plan prefixes match any text that starts with them, every
// other entry only the whole text. For a plan link, a rest that starts with
// "{" and ends with "}" (or, as in a clicked link's URL, starts with "%7B"
// and ends with "%7D") is the plan's id; otherwise at most the five
// characters after the prefix are read as a decimal integer (optional sign,
// digits only), and anything else there, nothing included, raises
// "'%s' is not a valid integer value" with the characters read. Neither form
// is checked against the plans: that is the reading page's business.
// A text that names no command gives kind Unknown.
InternalLink parseInternalLink(const std::string& link);

// The links the pages write for a plan: its day to read, and its catch-up
// choices.
std::string readPlanLink(const PlanId& plan);
std::string catchUpLink(const PlanId& plan);

// "Error - Unknown link \"%s\"" with the link text.
std::string unknownLinkMessage(const std::string& link);

} // namespace kovara::core
