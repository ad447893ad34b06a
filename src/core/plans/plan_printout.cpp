#include "core/plans/plan_printout.h"

#include "core/base/html_escape.h"
#include "core/base/translation.h"
#include "core/content/bible_store.h"
#include "core/plans/plan_store.h"

namespace kovara::core {

std::string planPrintoutHtml(const PlanStore& plans, int plan, const BibleStore& bible,
                             const DateFormatter& shortDate)
{
    const char* const eol = "\r\n";
    std::string html = format("<p><b>%s</b></p>", htmlEscape(plans.planTitle(plan))) + eol;
    // Collapsed borders draw each cell edge once, not the table's and the
    // cell's side by side; a header row in <thead> is repeated at the top of
    // every printed page.
    html += std::string("<table border=\"1\" cellpadding=\"5\" cellspacing=\"0\" style=\"border-collapse: collapse\">") +
            eol;
    html += translatedText("kovara::core::PlanPrintout",
                           "<thead><tr><td>&nbsp;Read&nbsp;</td><td>&nbsp;Day&nbsp;</td><td>&nbsp;Date&nbsp;</td>"
                           "<td>&nbsp;Verses&nbsp;</td></tr></thead>") +
            eol;
    const sys_days start = dayOf(plans.startDate(plan));
    const int count = plans.dayCount(plan);
    for (int day = 1; day <= count; ++day) {
        const std::string mark = plans.isDayDone(plan, day) ? "<b>X</b>" : "&nbsp;";
        html += format("<tr><td>&nbsp;%s&nbsp;</td><td>&nbsp;%d&nbsp;</td><td>&nbsp;%s&nbsp;</td><td>&nbsp;%s&nbsp;</td></tr>",
                       mark, day, htmlEscape(shortDate(start + std::chrono::days(day - 1))), bible.referenceText(plans.dayVerses(plan, day))) +
                eol;
    }
    html += std::string("</table>") + eol;
    return html;
}

} // namespace kovara::core
