#pragma once
// The reading page's widgets, found by their object names, for tests that
// read and press them as the reader does.
#include "passage_view_controls.h"
#include "ui/base/passage_view.h"
#include "ui/plans/reading_page.h"

#include <QLabel>
#include <QProgressBar>
#include <QPushButton>

namespace kovara::ui::test {

struct ReadingControls {
    explicit ReadingControls(const ReadingPage& page)
        : passageView(page.findChild<PassageView*>("passageView")),
          passage(*passageView),
          planStatusLabel(page.findChild<QLabel*>("planStatusLabel")),
          planManagerButton(page.findChild<QPushButton*>("planManagerButton")),
          markReadButton(page.findChild<QPushButton*>("markReadButton")),
          progressBar(page.findChild<QProgressBar*>("planProgressBar")),
          progressLabel(page.findChild<QLabel*>("planProgressLabel")),
          catchUpButton(page.findChild<QPushButton*>("catchUpButton")),
          undoPanel(page.findChild<QWidget*>("undoPanel")),
          undoLabel(page.findChild<QLabel*>("undoLabel")),
          undoButton(page.findChild<QPushButton*>("undoCatchUpButton"))
    {
    }

    PassageView* passageView;
    PassageControls passage; // the passage view's labels and viewer
    QLabel* planStatusLabel;
    QPushButton* planManagerButton;
    QPushButton* markReadButton;
    QProgressBar* progressBar;
    QLabel* progressLabel;
    QPushButton* catchUpButton;
    QWidget* undoPanel;
    QLabel* undoLabel;
    QPushButton* undoButton;
};

} // namespace kovara::ui::test
