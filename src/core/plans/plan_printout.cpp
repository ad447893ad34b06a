#include "plans/plan_printout.h"

#include "content/kova_bible.h"
#include "plans/kova_readplan.h"

namespace kovara {

std::string PlanPrintoutHtml(const TKOVAReadPlans& plans, int plan, const TKOVABible& bible,
                             const DateFormatter& shortDate)
{
    const char* const eol = "\r\n";
    std::string html = Format("<p><b>%s</b></p>", plans.GetPlanTitle(plan)) + eol;
    html += std::string("<table border=\"1\" cellpadding=\"5\" cellspacing=\"0\">") + eol;
    html += std::string("<tr><td>&nbsp;Read&nbsp;</td><td>&nbsp;Day&nbsp;</td><td>&nbsp;Date&nbsp;</td>"
                        "<td>&nbsp;Verses&nbsp;</td></tr>") +
            eol;
    const TDateTime start = plans.GetStartDate(plan);
    const int count = plans.GetDayCount(plan);
    for (int day = 1; day <= count; ++day) {
        const std::string mark = plans.IsDayDone(plan, day) ? "<b>X</b>" : "&nbsp;";
        html += Format("<tr><td>&nbsp;%s&nbsp;</td><td>&nbsp;%d&nbsp;</td><td>&nbsp;%s&nbsp;</td><td>&nbsp;%s&nbsp;</td></tr>",
                       mark, day, shortDate(start + (day - 1)), bible.GetReferenceText(plans.GetDayVerses(plan, day))) +
                eol;
    }
    html += std::string("</table>") + eol;
    return html;
}

} // namespace kovara
