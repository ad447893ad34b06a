// The parser of the program's internal links, as clicked on a generated page.
// A link that names no command is Unknown and a bad plan number raises the
// integer message; nothing else may happen.
#include "core/app/internal_links.h"
#include "core/base/exception.h"
#include "fuzz_support.h"

#include <cstring>

using namespace kovara::core;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string link(reinterpret_cast<const char*>(data), size);
    const bool planLink = link.rfind(kLinkReadPlanPrefix, 0) == 0;
    try {
        const InternalLink parsed = parseInternalLink(link);
        if (planLink) {
            fuzz::expect(parsed.kind == InternalLinkKind::ReadPlan, "a plan link parsed as another kind");
            // At most five characters are read, so the number has at most five digits.
            fuzz::expect(parsed.plan >= -9999 && parsed.plan <= 99999, "plan number out of range");
        } else if (parsed.kind == InternalLinkKind::ReadPlan) {
            fuzz::fail("ReadPlan without the plan prefix");
        }
        if (parsed.kind == InternalLinkKind::Unknown)
            fuzz::expect(unknownLinkMessage(link).find(link) != std::string::npos, "unknown-link message lost the link");
    } catch (const Exception& e) {
        fuzz::expect(planLink, "a link without the plan prefix raised: " + std::string(e.what()));
        // what() ends at a zero byte, so the phrase is only there when the
        // characters read hold none.
        const std::string number = link.substr(std::strlen(kLinkReadPlanPrefix), 5);
        if (number.find('\0') == std::string::npos)
            fuzz::expect(std::string(e.what()) == "'" + number + "' is not a valid integer value",
                         "unexpected message: " + std::string(e.what()));
    }
    return 0;
}
