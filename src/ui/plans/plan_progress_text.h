#pragma once
// The words and the small bar that tell a reader how far they are in a plan,
// shared by the reading page, the plan manager and the welcome page. The
// words stay plain and encouraging: how much is read, whether the reader is
// behind or up to date, and when the plan will be finished.
#include "ui/base/core_names.h"
#include "core/plans/plan_progress.h"

#include <QString>
#include <string>

namespace kovara::ui {

// A date as "3 Mar 2027".
QString longDateText(sys_days d);

// n as the reader writes numbers ("31.102" in Germany, "31,102" in England).
QString countText(int n);
// "28 of 365 days read (7%)"
QString progressCountText(const PlanProgress& p);
// "3 days behind", "up to date", "finished on 3 Mar 2027", "starts on ..."
QString progressStandingText(const PlanProgress& p);
// When the plan will be finished: at the reader's recent pace, or as planned
// when there is no recent reading to go by. Empty for a finished plan.
QString progressFinishText(const PlanProgress& p);
// The three above in one line.
QString progressSummaryText(const PlanProgress& p);

// The same for the welcome page, as HTML: a thin bar, the summary line and,
// while the reader is behind, a "Catch up" link to catchUpLink.
std::string progressHtml(const PlanProgress& p, const std::string& catchUpLink);

} // namespace kovara::ui
