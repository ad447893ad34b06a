#include "ui/plans/reading_page.h"
#include "ui/base/core_names.h"

#include "ui/base/passage_view.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

namespace kovara::ui {

ReadingPage::ReadingPage(QWidget* parent) : QWidget(parent)
{
    passageView = new PassageView(this);
    planStatusLabel = new QLabel(this);
    // The standing has a line of its own above the buttons, kept even while
    // it is empty: the passage above keeps its height whether a standing is
    // shown or not, and at the usual widths the text never wraps. Only in a
    // very narrow window does it wrap rather than being cut off.
    planStatusLabel->setWordWrap(true);
    planStatusLabel->setMinimumHeight(planStatusLabel->fontMetrics().height());
    planManagerButton = new QPushButton(QStringLiteral("View or Edit Reading Plan"), this);
    markReadButton = new QPushButton(QStringLiteral("Mark Passage as Read"), this);
    QFont bold = markReadButton->font();
    bold.setBold(true);
    markReadButton->setFont(bold);
    // Nothing is shown yet, so there is nothing to mark or manage.
    planManagerButton->setEnabled(false);
    markReadButton->setEnabled(false);

    progressBar = new QProgressBar(this);
    progressBar->setObjectName(QStringLiteral("planProgressBar"));
    progressBar->setAccessibleName(tr("Plan Progress"));
    progressBar->setTextVisible(false);
    progressBar->setFixedHeight(6);
    progressBar->setRange(0, 100);
    progressLabel = new QLabel(this);
    progressLabel->setObjectName(QStringLiteral("planProgressLabel"));
    progressLabel->setWordWrap(true);
    catchUpButton = new QPushButton(tr("&Catch Up..."), this);
    catchUpButton->setObjectName(QStringLiteral("catchUpButton"));
    catchUpButton->setToolTip(tr("Ways to get back on track with this plan"));
    undoPanel = new QWidget(this);
    undoLabel = new QLabel(undoPanel);
    undoLabel->setWordWrap(true);
    undoButton = new QPushButton(tr("&Undo"), undoPanel);
    undoButton->setObjectName(QStringLiteral("undoCatchUpButton"));
    auto* undoRow = new QHBoxLayout(undoPanel);
    undoRow->setContentsMargins(0, 0, 0, 0);
    undoRow->addWidget(undoLabel, 1);
    undoRow->addWidget(undoButton);
    // Nothing shown yet.
    progressBar->hide();
    progressLabel->hide();
    catchUpButton->hide();
    undoPanel->hide();

    auto* progressRow = new QHBoxLayout;
    progressRow->addWidget(progressLabel, 1);
    progressRow->addWidget(catchUpButton);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(planManagerButton);
    buttons->addWidget(markReadButton);
    auto* bottom = new QVBoxLayout;
    bottom->setContentsMargins(8, 4, 8, 8);
    bottom->addWidget(progressBar);
    bottom->addLayout(progressRow);
    bottom->addWidget(undoPanel);
    bottom->addWidget(planStatusLabel);
    bottom->addLayout(buttons);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(passageView, 1);
    layout->addLayout(bottom);
}

} // namespace kovara::ui
