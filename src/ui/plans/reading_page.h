#pragma once
// The reading page: the passage of the plan day being read, with the plan's
// one-line standing and the buttons to open the plan manager and to mark the
// passage as read below it. The page only holds the widgets; the reading-plan
// commands (plan_controller.h) decide what they show.
#include "ui/base/core_names.h"
#include "ui/base/content_page.h"

class QLabel;
class QProgressBar;
class QPushButton;
class QWidget;

namespace kovara::ui {

class PassageView;

class ReadingPage : public ContentPage {
    Q_OBJECT
public:
    explicit ReadingPage(QWidget* parent = nullptr);

    // The passage takes the reader's font and colours.
    void assignPreferences(Preferences& prefs) override;

    // Copy and Print: the passage's selection and its pages, named after the
    // plan and its day ("Whole Bible Day 12 of 364").
    HtmlViewer* pagedPrintout() const override;
    QString printTitle() const override;
    HelpContext helpContext() const override { return HelpContext::Reading; }

    // Its title label shows the plan title, its date label the day heading.
    PassageView* passageView;
    QLabel* planStatusLabel;
    QPushButton* planManagerButton; // "View or Edit Reading Plan"
    QPushButton* markReadButton;    // "Mark Passage as Read"
    // How far the reader is in the plan: a thin bar and a summary line, with
    // "Catch Up..." beside them while the reader is behind.
    QProgressBar* progressBar;
    QLabel* progressLabel;
    QPushButton* catchUpButton;
    // Shown right after the plan's days were divided again, with the button
    // that puts the old plan back.
    QWidget* undoPanel;
    QLabel* undoLabel;
    QPushButton* undoButton;
};

} // namespace kovara::ui
