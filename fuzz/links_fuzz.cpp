// The parser of the program's internal links, as clicked on a generated page.
// A link that names no command is Unknown and a bad plan number raises the
// integer message; nothing else may happen.
#include "app/internal_links.h"
#include "base/exception.h"
#include "fuzz_support.h"

#include <cstring>

using namespace kovara;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string link(reinterpret_cast<const char*>(data), size);
    const bool planLink = link.rfind(kLinkReadPlanPrefix, 0) == 0;
    try {
        const TInternalLink parsed = ParseInternalLink(link);
        if (planLink) {
            fuzz::Expect(parsed.kind == TInternalLinkKind::ReadPlan, "a plan link parsed as another kind");
            // At most five characters are read, so the number has at most five digits.
            fuzz::Expect(parsed.plan >= -9999 && parsed.plan <= 99999, "plan number out of range");
        } else if (parsed.kind == TInternalLinkKind::ReadPlan) {
            fuzz::Fail("ReadPlan without the plan prefix");
        }
        if (parsed.kind == TInternalLinkKind::Unknown)
            fuzz::Expect(UnknownLinkMessage(link).find(link) != std::string::npos, "unknown-link message lost the link");
    } catch (const Exception& e) {
        fuzz::Expect(planLink, "a link without the plan prefix raised: " + std::string(e.what()));
        // what() ends at a zero byte, so the phrase is only there when the
        // characters read hold none.
        const std::string number = link.substr(std::strlen(kLinkReadPlanPrefix), 5);
        if (number.find('\0') == std::string::npos)
            fuzz::Expect(std::string(e.what()) == "'" + number + "' is not a valid integer value",
                         "unexpected message: " + std::string(e.what()));
    }
    return 0;
}
