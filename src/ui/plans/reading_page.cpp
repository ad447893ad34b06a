#include "ui/plans/reading_page.h"
#include "ui/base/core_names.h"

#include "ui/base/button_row.h"
#include "ui/base/passage_view.h"

#include <QHBoxLayout>
#include <QLabel>
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
    planManagerButton = new QPushButton(tr("View or Edit Reading Plan"), this);
    markReadButton = new QPushButton(tr("Mark Passage as Read"), this);
    QFont bold = markReadButton->font();
    bold.setBold(true);
    markReadButton->setFont(bold);
    // Nothing is shown yet, so there is nothing to mark or manage.
    planManagerButton->setEnabled(false);
    markReadButton->setEnabled(false);

    auto* buttons = new ButtonRow;
    buttons->addStretch(1);
    buttons->addWidget(planManagerButton);
    buttons->addWidget(markReadButton);
    auto* bottom = new QVBoxLayout;
    bottom->setContentsMargins(8, 4, 8, 8);
    bottom->addWidget(planStatusLabel);
    bottom->addLayout(buttons);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(passageView, 1);
    layout->addLayout(bottom);
}

} // namespace kovara::ui
