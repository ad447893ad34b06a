#include "ui/plans/reading_page.h"
#include "ui/base/core_names.h"

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
    // The standing shares its line with the two buttons; in a narrow window it
    // wraps onto a second line rather than being cut off.
    planStatusLabel->setWordWrap(true);
    planManagerButton = new QPushButton(QStringLiteral("View or Edit Reading Plan"), this);
    markReadButton = new QPushButton(QStringLiteral("Mark Passage as Read"), this);
    QFont bold = markReadButton->font();
    bold.setBold(true);
    markReadButton->setFont(bold);
    // Nothing is shown yet, so there is nothing to mark or manage.
    planManagerButton->setEnabled(false);
    markReadButton->setEnabled(false);

    auto* bottom = new QHBoxLayout;
    bottom->setContentsMargins(8, 4, 8, 8);
    bottom->addWidget(planStatusLabel, 1);
    bottom->addWidget(planManagerButton);
    bottom->addWidget(markReadButton);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(passageView, 1);
    layout->addLayout(bottom);
}

} // namespace kovara::ui
