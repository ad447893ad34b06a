#pragma once
// A plan as a calendar: one small square per day, a column per week with
// Monday on top, coloured by whether the day is read and whether its date is
// past, today or still to come. Hovering shows the day's date and passage;
// clicking opens the day. Only the squares in view are painted, so even a
// plan of tens of thousands of days shows at once.
#include "ui/base/core_names.h"
#include "core/plans/plan_progress.h"

#include <QColor>
#include <QWidget>
#include <functional>
#include <string>
#include <vector>

namespace kovara::ui {

class PlanCalendarView : public QWidget {
    Q_OBJECT
public:
    explicit PlanCalendarView(QWidget* parent = nullptr);

    // Shows the days; passage(day) gives a day's passage for its tooltip.
    void setPlan(const PlanDays& days, sys_days today, std::function<QString(int day)> passage);
    void clear();

    int dayCount() const { return static_cast<int>(states_.size()); }
    const std::vector<DayState>& states() const { return states_; }
    // The day whose square holds pos, or 0.
    int dayAt(const QPoint& pos) const;
    // The top left corner of day's square.
    QPoint squarePosition(int day) const;
    // The tooltip text of day: "Day %1, %2: %3".
    QString dayToolTip(int day) const;

    static constexpr int kSquare = 10;
    static constexpr int kPitch = 12;
    static constexpr int kTop = 14; // room for the month names

    QSize sizeHint() const override;

    // The colour of a day's square, and a one-line key to the colours.
    static QColor colorOf(DayState state, const QPalette& palette);
    static QString legendHtml(const QPalette& palette);

signals:
    void dayClicked(int day);

protected:
    void paintEvent(QPaintEvent* event) override;
    bool event(QEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    std::vector<DayState> states_;
    sys_days start_{};
    int firstRow_ = 0; // the weekday row of day 1 (0 = Monday)
    std::function<QString(int)> passage_;
};

} // namespace kovara::ui
