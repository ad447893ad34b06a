#include "ui/plans/plan_calendar_view.h"

#include "ui/base/dates.h"
#include "ui/plans/plan_progress_text.h"

#include <QHelpEvent>
#include <QFontMetrics>
#include <QLocale>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QToolTip>

#include <algorithm>
#include <utility>

namespace kovara::ui {

QColor PlanCalendarView::colorOf(DayState state, const QPalette& palette)
{
    switch (state) {
    case DayState::ReadPast:
    case DayState::ReadToday:
        return QColor(0x3c, 0x8d, 0x40);
    case DayState::ReadFuture:
        return QColor(0x8f, 0xc9, 0x92);
    case DayState::UnreadPast:
        return QColor(0xe0, 0xa0, 0x3c);
    case DayState::UnreadToday:
        return palette.color(QPalette::Highlight);
    case DayState::UnreadFuture:
        break;
    }
    return QColor(0xd8, 0xd8, 0xd8);
}

QString PlanCalendarView::legendHtml(const QPalette& palette)
{
    const std::pair<DayState, QString> keys[] = {
        {DayState::ReadPast, tr("read")},
        {DayState::UnreadPast, tr("still to read")},
        {DayState::UnreadToday, tr("today")},
        {DayState::UnreadFuture, tr("to come")},
        {DayState::ReadFuture, tr("read ahead")},
    };
    QString html;
    for (const auto& [state, text] : keys) {
        if (!html.isEmpty())
            html += QStringLiteral("&nbsp;&nbsp; ");
        html += QStringLiteral("<span style=\"color:%1\">\u25A0</span> %2")
                    .arg(colorOf(state, palette).name(), text.toHtmlEscaped());
    }
    return html;
}

PlanCalendarView::PlanCalendarView(QWidget* parent) : QWidget(parent)
{
    setAccessibleName(tr("Plan Calendar"));
    setMouseTracking(false);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

void PlanCalendarView::setPlan(const PlanDays& days, sys_days today, std::function<QString(int day)> passage)
{
    states_ = planDayStates(days, today);
    start_ = dayOf(days.startDate);
    firstRow_ = toQDate(start_).dayOfWeek() - 1;
    passage_ = std::move(passage);
    // What the squares show, for a screen reader (the day list beside it
    // gives each day to the keyboard).
    const auto isRead = [](DayState state) {
        return state == DayState::ReadPast || state == DayState::ReadToday || state == DayState::ReadFuture;
    };
    const auto read = std::count_if(states_.begin(), states_.end(), isRead);
    const auto behind = std::count(states_.begin(), states_.end(), DayState::UnreadPast);
    setAccessibleDescription(tr("%1 of %2 days read, %3 earlier days still to read")
                                 .arg(read)
                                 .arg(static_cast<qsizetype>(states_.size()))
                                 .arg(behind));
    updateGeometry();
    resize(sizeHint());
    update();
}

void PlanCalendarView::clear()
{
    states_.clear();
    passage_ = nullptr;
    updateGeometry();
    resize(sizeHint());
    update();
}

QSize PlanCalendarView::sizeHint() const
{
    const int columns = states_.empty() ? 0 : (firstRow_ + dayCount() + 6) / 7;
    return {columns * kPitch + 2, kTop + 7 * kPitch + 2};
}

QPoint PlanCalendarView::squarePosition(int day) const
{
    const int slot = firstRow_ + day - 1;
    return {1 + (slot / 7) * kPitch, kTop + 1 + (slot % 7) * kPitch};
}

int PlanCalendarView::dayAt(const QPoint& pos) const
{
    if (pos.x() < 1 || pos.y() < kTop + 1)
        return 0;
    const int column = (pos.x() - 1) / kPitch;
    const int row = (pos.y() - kTop - 1) / kPitch;
    if (row > 6 || (pos.x() - 1) % kPitch >= kSquare || (pos.y() - kTop - 1) % kPitch >= kSquare)
        return 0;
    const int day = column * 7 + row - firstRow_ + 1;
    return day >= 1 && day <= dayCount() ? day : 0;
}

QString PlanCalendarView::dayToolTip(int day) const
{
    const QString passage = passage_ ? passage_(day) : QString();
    const bool read = states_[static_cast<std::size_t>(day - 1)] == DayState::ReadPast ||
                      states_[static_cast<std::size_t>(day - 1)] == DayState::ReadToday ||
                      states_[static_cast<std::size_t>(day - 1)] == DayState::ReadFuture;
    QString text = tr("Day %1, %2: %3").arg(day).arg(longDateText(start_ + std::chrono::days(day - 1)), passage);
    if (read)
        text += tr(" (read)");
    return text;
}

void PlanCalendarView::paintEvent(QPaintEvent* event)
{
    QPainter painter(this);
    const QRect area = event->rect();
    const int firstColumn = std::max(0, (area.left() - 1) / kPitch);
    const int lastColumn = (area.right() - 1) / kPitch;
    const QPalette& pal = palette();
    // Month names above the column where each month begins.
    QFont small = font();
    small.setPointSizeF(std::max(6.0, small.pointSizeF() - 1));
    painter.setFont(small);
    painter.setPen(pal.color(QPalette::WindowText));
    const QDate start = toQDate(start_);
    const QFontMetrics metrics(small);
    // Month names go above the column where the month begins, unless the one
    // before would be overlapped; the scan starts a few columns early so
    // that a partial repaint makes the same choice as a full one.
    int labelEnd = -1;
    for (int column = std::max(0, firstColumn - 12); column <= lastColumn; ++column) {
        for (int row = 0; row < 7; ++row) {
            const int day = column * 7 + row - firstRow_ + 1;
            if (day < 1 || day > dayCount())
                continue;
            const QDate date = start.addDays(day - 1);
            if (date.day() == 1 || day == 1) {
                const QString name = QLocale().monthName(date.month(), QLocale::ShortFormat);
                const QString label =
                    date.month() == 1 || day == 1 ? name + QLatin1Char(' ') + QString::number(date.year()) : name;
                const int x = 1 + column * kPitch;
                if (x > labelEnd) {
                    painter.setPen(pal.color(QPalette::WindowText));
                    painter.drawText(QPoint(x, kTop - 3), label);
                    labelEnd = x + metrics.horizontalAdvance(label) + 3;
                }
            }
            if (column < firstColumn)
                continue;
            painter.fillRect(QRect(squarePosition(day), QSize(kSquare, kSquare)),
                             colorOf(states_[static_cast<std::size_t>(day - 1)], pal));
            if (states_[static_cast<std::size_t>(day - 1)] == DayState::UnreadToday ||
                states_[static_cast<std::size_t>(day - 1)] == DayState::ReadToday) {
                painter.setPen(pal.color(QPalette::WindowText));
                painter.drawRect(QRect(squarePosition(day) - QPoint(1, 1), QSize(kSquare + 1, kSquare + 1)));
            }
        }
    }
}

bool PlanCalendarView::event(QEvent* event)
{
    if (event->type() == QEvent::ToolTip) {
        auto* help = static_cast<QHelpEvent*>(event);
        if (const int day = dayAt(help->pos()))
            QToolTip::showText(help->globalPos(), dayToolTip(day), this);
        else
            QToolTip::hideText();
        return true;
    }
    return QWidget::event(event);
}

void PlanCalendarView::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        if (const int day = dayAt(event->position().toPoint()))
            emit dayClicked(day);
    QWidget::mouseReleaseEvent(event);
}

} // namespace kovara::ui
