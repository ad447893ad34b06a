#pragma once
// The reading page: the passage of the plan day being read, with the plan's
// one-line standing and the buttons to open the plan manager and to mark the
// passage as read below it. The page only holds the widgets; the reading-plan
// commands (plan_controller.h) decide what they show.
#include <QWidget>

class QLabel;
class QPushButton;

namespace kovara::ui {

class TFrameKOVABibleDisplay;

class TFrameKOVAReadingPage : public QWidget {
    Q_OBJECT
public:
    explicit TFrameKOVAReadingPage(QWidget* parent = nullptr);

    // Its title label shows the plan title, its date label the day heading.
    TFrameKOVABibleDisplay* FrameKOVABibleDisplay1;
    QLabel* LabelReadPlanStatus;
    QPushButton* ButtonPlanManager; // "View or Edit Reading Plan"
    QPushButton* ButtonMarkRead;    // "Mark Passage as Read"
};

} // namespace kovara::ui
