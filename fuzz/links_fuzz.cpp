// The parser of the program's internal links, as clicked on a generated page.
// A link that names no command is Unknown, a plan link (to read or to catch
// up) names a plan by its id or its position, and a bad position raises the
// integer message; nothing else may happen.
#include "core/app/internal_links.h"
#include "core/base/exception.h"
#include "fuzz_support.h"

#include <cstring>

using namespace kovara::core;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string link(reinterpret_cast<const char*>(data), size);
    const char* prefix = nullptr;
    InternalLinkKind planKind = InternalLinkKind::Unknown;
    if (link.rfind(kLinkReadPlanPrefix, 0) == 0) {
        prefix = kLinkReadPlanPrefix;
        planKind = InternalLinkKind::ReadPlan;
    } else if (link.rfind(kLinkCatchUpPrefix, 0) == 0) {
        prefix = kLinkCatchUpPrefix;
        planKind = InternalLinkKind::CatchUp;
    }
    try {
        const InternalLink parsed = parseInternalLink(link);
        if (prefix) {
            fuzz::expect(parsed.kind == planKind, "a plan link parsed as another kind");
            // At most five characters are read, so a position has at most five digits.
            if (const int* position = std::get_if<int>(&parsed.plan))
                fuzz::expect(*position >= -9999 && *position <= 99999, "plan number out of range");
            else
                fuzz::expect(!std::get<PlanId>(parsed.plan).isNull(), "a plan link without a plan");
        } else {
            fuzz::expect(parsed.kind != InternalLinkKind::ReadPlan && parsed.kind != InternalLinkKind::CatchUp,
                         "a plan link without the plan prefix");
        }
        if (parsed.kind == InternalLinkKind::Unknown)
            fuzz::expect(unknownLinkMessage(link).find(link) != std::string::npos, "unknown-link message lost the link");
    } catch (const Exception& e) {
        fuzz::expect(prefix != nullptr, "a link without a plan prefix raised: " + std::string(e.what()));
        // what() ends at a zero byte, so the phrase is only there when the
        // characters read hold none.
        const std::string number = link.substr(std::strlen(prefix), 5);
        if (number.find('\0') == std::string::npos)
            fuzz::expect(std::string(e.what()) == "'" + number + "' is not a valid integer value",
                         "unexpected message: " + std::string(e.what()));
    }
    return 0;
}
