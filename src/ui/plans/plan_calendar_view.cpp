#include "ui/plans/plan_calendar_view.h"

#include "ui/base/dates.h"
#include "ui/plans/plan_progress_text.h"

#include <QFocusEvent>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QScrollArea>
#include <QFontMetrics>
#include <QLocale>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QPen>
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
    setFocusPolicy(Qt::StrongFocus);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
}

void PlanCalendarView::setPlan(const PlanDays& days, sys_days today, std::function<QString(int day)> passage)
{
    states_ = planDayStates(days, today);
    start_ = dayOf(days.startDate);
    firstRow_ = toQDate(start_).dayOfWeek() - 1;
    passage_ = std::move(passage);
    placeLabels();
    // What the squares show, for a screen reader (the day list beside it
    // gives each day to the keyboard).
    const auto isRead = [](DayState state) {
        return state == DayState::ReadPast || state == DayState::ReadToday || state == DayState::ReadFuture;
    };
    const auto read = std::count_if(states_.begin(), states_.end(), isRead);
    const auto behind = std::count(states_.begin(), states_.end(), DayState::UnreadPast);
    summary_ = tr("%1 of %2 days read, %3 earlier days still to read")
                   .arg(read)
                   .arg(static_cast<qsizetype>(states_.size()))
                   .arg(behind);
    setAccessibleDescription(summary_);
    const auto todays = std::find_if(states_.begin(), states_.end(), [](DayState state) {
        return state == DayState::UnreadToday || state == DayState::ReadToday;
    });
    current_ = states_.empty() ? 0 : todays == states_.end() ? 1 : static_cast<int>(todays - states_.begin()) + 1;
    updateGeometry();
    resize(sizeHint());
    update();
}

QFont PlanCalendarView::smallFont() const
{
    QFont small = font();
    small.setPointSizeF(std::max(6.0, small.pointSizeF() - 1));
    return small;
}

void PlanCalendarView::placeLabels()
{
    const QFontMetrics metrics(smallFont());
    const QLocale locale;
    left_ = 0;
    for (const int weekday : {1, 3, 5})
        left_ = std::max(left_, metrics.horizontalAdvance(locale.dayName(weekday, QLocale::ShortFormat)) + 4);
    labels_.clear();
    const auto end = [&](const MonthLabel& label) { return label.x + metrics.horizontalAdvance(label.text) + 3; };
    const QDate start = toQDate(start_);
    const QDate last = start.addDays(dayCount() - 1);
    std::vector<QString> names; // each label's month name alone
    for (QDate month = start; !states_.empty() && month <= last;
         month = QDate(month.year(), month.month(), 1).addMonths(1)) {
        const int day = static_cast<int>(start.daysTo(month)) + 1;
        const bool withYear = month.month() == 1 || day == 1;
        const QString name = locale.monthName(month.month(), QLocale::ShortFormat);
        MonthLabel label{squarePosition(day).x(),
                         withYear ? name + QLatin1Char(' ') + QString::number(month.year()) : name};
        if (!labels_.empty() && end(labels_.back()) > label.x) {
            if (month.month() != 1)
                continue; // the month before keeps its place
            // A January: the month before gives way, keeping its name if that fits.
            labels_.back().text = names.back();
            if (end(labels_.back()) > label.x) {
                labels_.pop_back();
                names.pop_back();
            }
        }
        labels_.push_back(label);
        names.push_back(name);
    }
    labelsEnd_ = labels_.empty() ? 0 : end(labels_.back());
}

void PlanCalendarView::clear()
{
    states_.clear();
    current_ = 0;
    summary_.clear();
    setAccessibleDescription(QString());
    labels_.clear();
    labelsEnd_ = 0;
    passage_ = nullptr;
    updateGeometry();
    resize(sizeHint());
    update();
}

QSize PlanCalendarView::sizeHint() const
{
    const int columns = states_.empty() ? 0 : (firstRow_ + dayCount() + 6) / 7;
    return {std::max(left_ + columns * kPitch + 2, labelsEnd_), kTop + 7 * kPitch + 2};
}

QPoint PlanCalendarView::squarePosition(int day) const
{
    const int slot = firstRow_ + day - 1;
    return {left_ + 1 + (slot / 7) * kPitch, kTop + 1 + (slot % 7) * kPitch};
}

int PlanCalendarView::dayAt(const QPoint& pos) const
{
    if (pos.x() < left_ + 1 || pos.y() < kTop + 1)
        return 0;
    const int column = (pos.x() - left_ - 1) / kPitch;
    const int row = (pos.y() - kTop - 1) / kPitch;
    if (row > 6 || (pos.x() - left_ - 1) % kPitch >= kSquare || (pos.y() - kTop - 1) % kPitch >= kSquare)
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
    QString text = tr("Day %1, %2: %3").arg(countText(day)).arg(longDateText(start_ + std::chrono::days(day - 1)), passage);
    if (read)
        text += tr(" (read)");
    return text;
}

void PlanCalendarView::paintEvent(QPaintEvent* event)
{
    QPainter painter(this);
    const QRect area = event->rect();
    const QPalette& pal = palette();
    const QFont small = smallFont();
    const QFontMetrics metrics(small);
    painter.setFont(small);
    painter.setPen(pal.color(QPalette::WindowText));
    // The weekday names at the rows of Monday, Wednesday and Friday, and the
    // month names placed by placeLabels.
    if (area.left() < left_)
        for (const int weekday : {1, 3, 5})
            painter.drawText(QPoint(0, kTop + (weekday - 1) * kPitch + kSquare),
                             QLocale().dayName(weekday, QLocale::ShortFormat));
    for (const MonthLabel& label : labels_)
        if (label.x <= area.right() && label.x + metrics.horizontalAdvance(label.text) >= area.left())
            painter.drawText(QPoint(label.x, kTop - 3), label.text);
    if (states_.empty())
        return;
    const int firstColumn = std::max(0, (area.left() - left_ - 1) / kPitch);
    const int lastColumn = (area.right() - left_ - 1) / kPitch;
    for (int column = firstColumn; column <= lastColumn; ++column) {
        for (int row = 0; row < 7; ++row) {
            const int day = column * 7 + row - firstRow_ + 1;
            if (day < 1 || day > dayCount())
                continue;
            const DayState state = states_[static_cast<std::size_t>(day - 1)];
            painter.fillRect(QRect(squarePosition(day), QSize(kSquare, kSquare)), colorOf(state, pal));
            if (state == DayState::UnreadToday || state == DayState::ReadToday)
                painter.drawRect(QRect(squarePosition(day) - QPoint(1, 1), QSize(kSquare + 1, kSquare + 1)));
            if (day == current_ && hasFocus()) {
                painter.save();
                painter.setPen(QPen(pal.color(QPalette::Highlight), 2));
                painter.drawRect(QRect(squarePosition(day) - QPoint(1, 1), QSize(kSquare + 2, kSquare + 2)));
                painter.restore();
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

void PlanCalendarView::setCurrentDay(int day)
{
    if (states_.empty())
        return;
    current_ = std::clamp(day, 1, dayCount());
    // A screen reader announces the day the keyboard is on.
    setAccessibleDescription(dayToolTip(current_) + QStringLiteral(". ") + summary_);
    // Kept in view inside the scroll area around the calendar.
    for (QWidget* up = parentWidget(); up; up = up->parentWidget())
        if (auto* area = qobject_cast<QScrollArea*>(up)) {
            const QPoint at = squarePosition(current_);
            area->ensureVisible(at.x(), at.y(), kPitch * 2, 0);
            break;
        }
    update();
}

void PlanCalendarView::keyPressEvent(QKeyEvent* event)
{
    if (states_.empty())
        return QWidget::keyPressEvent(event);
    switch (event->key()) {
    case Qt::Key_Up:
        setCurrentDay(current_ - 1);
        break;
    case Qt::Key_Down:
        setCurrentDay(current_ + 1);
        break;
    case Qt::Key_Left:
        setCurrentDay(current_ - 7);
        break;
    case Qt::Key_Right:
        setCurrentDay(current_ + 7);
        break;
    case Qt::Key_Home:
        setCurrentDay(1);
        break;
    case Qt::Key_End:
        setCurrentDay(dayCount());
        break;
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Space:
        emit dayClicked(current_);
        break;
    default:
        return QWidget::keyPressEvent(event);
    }
    event->accept();
}

void PlanCalendarView::focusInEvent(QFocusEvent* event)
{
    setCurrentDay(current_);
    QWidget::focusInEvent(event);
}

void PlanCalendarView::focusOutEvent(QFocusEvent* event)
{
    update();
    QWidget::focusOutEvent(event);
}

void PlanCalendarView::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton)
        if (const int day = dayAt(event->position().toPoint()))
            emit dayClicked(day);
    QWidget::mouseReleaseEvent(event);
}

} // namespace kovara::ui
