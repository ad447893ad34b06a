#include "ui/plans/plan_progress_text.h"

#include "ui/base/dates.h"
#include "ui/base/html_viewer.h"
#include "ui/base/text_codec.h"

#include <QCoreApplication>
#include <QLocale>

#include <algorithm>

namespace kovara::ui {

QString longDateText(sys_days d)
{
    return QLocale().toString(toQDate(d), QStringLiteral("d MMM yyyy"));
}

QString countText(int n)
{
    return QLocale().toString(n);
}

QString progressCountText(const PlanProgress& p)
{
    return QCoreApplication::translate("kovara::ui::PlanProgressText", "%1 of %2 days read (%3%)")
        .arg(countText(p.daysRead), countText(p.dayCount), countText(p.percent));
}

QString progressStandingText(const PlanProgress& p)
{
    if (p.finished)
        return p.finishedOn ? QCoreApplication::translate("kovara::ui::PlanProgressText", "finished on %1").arg(longDateText(*p.finishedOn)) : QCoreApplication::translate("kovara::ui::PlanProgressText", "finished");
    if (p.dueDay < 1)
        return QCoreApplication::translate("kovara::ui::PlanProgressText", "starts on %1").arg(longDateText(p.plannedFinish - std::chrono::days(p.dayCount - 1)));
    if (p.daysBehind >= 1)
        return QCoreApplication::translate("kovara::ui::PlanProgressText", "%n days behind", nullptr, p.daysBehind);
    return QCoreApplication::translate("kovara::ui::PlanProgressText", "up to date");
}

QString progressFinishText(const PlanProgress& p)
{
    if (p.finished)
        return {};
    if (p.projectedFinish)
        return QCoreApplication::translate("kovara::ui::PlanProgressText", "at your pace of the last 30 days you will finish on %1").arg(longDateText(*p.projectedFinish));
    return QCoreApplication::translate("kovara::ui::PlanProgressText", "planned to finish on %1").arg(longDateText(p.plannedFinish));
}

QString progressSummaryText(const PlanProgress& p)
{
    QString text = progressCountText(p) + QStringLiteral(" \u00B7 ") + progressStandingText(p);
    const QString finish = progressFinishText(p);
    if (!finish.isEmpty())
        text += QStringLiteral(" \u00B7 ") + finish;
    return text;
}

std::string progressHtml(const PlanProgress& p, const std::string& catchUpLink)
{
    // The summary line and, below it, the bar: a picture the viewer draws
    // (see HtmlViewer's progress-bar addresses), which lays out as one
    // character would, where a two-cell table cost a table layout and a font
    // of its own for each plan.
    QString html = QStringLiteral("<br><font size=\"-1\">") + progressSummaryText(p).toHtmlEscaped();
    if (p.daysBehind > 0 && !p.finished)
        html += QStringLiteral(" \u00B7 <a href=\"%1\">%2</a>")
                    .arg(QString::fromStdString(catchUpLink), QCoreApplication::translate("kovara::ui::PlanProgressText", "Catch up").toHtmlEscaped());
    html += QStringLiteral("</font><br>") + progressBarImageHtml(p.percent);
    return toBytes(html);
}

} // namespace kovara::ui
