#pragma once
// A plan as a calendar: one small square per day, a column per week with
// Monday on top (the weekdays named at the left, the months above the
// columns where they begin, with the year at each January and at the
// start), coloured by whether the day is read and whether its date is
// past, today or still to come. Hovering shows the day's date and passage;
// clicking opens the day. From the keyboard the arrow keys go from day to
// day (Up and Down a day, Left and Right a week, Home and End), Enter or
// Space opens the day, and a screen reader hears each day as the tooltip
// says it. Only the squares in view are painted, so even a
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
    // The day the keyboard is on (today's, or day 1, after setPlan); 0
    // without days.
    int currentDay() const { return current_; }
    void setCurrentDay(int day);

    static constexpr int kSquare = 10;
    static constexpr int kPitch = 12;
    static constexpr int kTop = 14; // room for the month names

    // A month's name over the column where it begins: "Mar", or "Jan 2027"
    // and the first month's "Dec 2026". Where two would overlap, a January
    // keeps its place (the year change stays visible) and the month before
    // it is shortened to its name, or left out when even that does not fit.
    struct MonthLabel {
        int x;
        QString text;
    };
    const std::vector<MonthLabel>& monthLabels() const { return labels_; }

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
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    std::vector<DayState> states_;
    sys_days start_{};
    int firstRow_ = 0; // the weekday row of day 1 (0 = Monday)
    int current_ = 0;  // the keyboard's day
    QString summary_;  // the accessible description without a current day
    int left_ = 0;     // room for the weekday names
    int labelsEnd_ = 0; // where the last month name ends
    std::vector<MonthLabel> labels_;

    QFont smallFont() const;
    void placeLabels();
    std::function<QString(int)> passage_;
};

} // namespace kovara::ui
