#include "ui/plans/plan_calendar_view.h"

#include "ui/base/dates.h"
#include "ui/plans/plan_progress_text.h"

#include <QHelpEvent>
#include <QLocale>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QToolTip>

#include <algorithm>

namespace kovara::ui {

namespace {

QColor colorOf(DayState state, const QPalette& palette)
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

} // namespace

PlanCalendarView::PlanCalendarView(QWidget* parent) : QWidget(parent)
{
    setAccessibleName(tr("Plan Calendar"));
    setMouseTracking(false);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

void PlanCalendarView::setPlan(const PlanDays& days, DateTime today, std::function<QString(int day)> passage)
{
    states_ = planDayStates(days, today);
    start_ = days.startDate;
    firstRow_ = toQDate(start_).dayOfWeek() - 1;
    passage_ = std::move(passage);
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
    QString text = tr("Day %1, %2: %3").arg(day).arg(longDateText(start_ + day - 1), passage);
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
    for (int column = firstColumn; column <= lastColumn; ++column) {
        for (int row = 0; row < 7; ++row) {
            const int day = column * 7 + row - firstRow_ + 1;
            if (day < 1 || day > dayCount())
                continue;
            const QDate date = start.addDays(day - 1);
            if (date.day() == 1 || day == 1) {
                const QString name = QLocale::system().monthName(date.month(), QLocale::ShortFormat);
                painter.drawText(QPoint(1 + column * kPitch, kTop - 3),
                                 date.month() == 1 || day == 1 ? name + QLatin1Char(' ') + QString::number(date.year())
                                                               : name);
            }
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
