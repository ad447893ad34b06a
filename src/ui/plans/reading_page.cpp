#include "ui/plans/reading_page.h"
#include "ui/base/core_names.h"

#include "ui/base/button_row.h"
#include "ui/base/html_viewer.h"
#include "ui/base/passage_view.h"
#include "ui/base/text_codec.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

namespace kovara::ui {

ReadingPage::ReadingPage(QWidget* parent) : ContentPage(parent)
{
    passageView = new PassageView(this);
    followText(passageView->viewer(), passageView->copyAction);
    planStatusLabel = new QLabel(this);
    // The standing has a line of its own above the buttons, kept even while
    // it is empty, so the passage above keeps its height whether a standing
    // is shown or not. It does not wrap: the page is never narrower than the
    // standing, so it is never cut off either.
    planStatusLabel->setMinimumHeight(planStatusLabel->fontMetrics().height());
    planStatusLabel->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
    planManagerButton = new QPushButton(tr("View or Edit Reading Plan"), this);
    markReadButton = new QPushButton(tr("Mark Passage as Read"), this);
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

    auto* buttons = new ButtonRow;
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

void ReadingPage::assignPreferences(Preferences& prefs)
{
    passageView->assignPreferences(prefs);
}

HtmlViewer* ReadingPage::pagedPrintout() const
{
    return passageView->viewer();
}

QString ReadingPage::printTitle() const
{
    const std::string& dayLine = passageView->dayLine();
    return fromBytes(passageView->title() + " " + dayLine.substr(0, dayLine.find(':')));
}

} // namespace kovara::ui
