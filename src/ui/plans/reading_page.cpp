#include "ui/plans/reading_page.h"

#include "ui/content/frameBibleDisplay.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace kovara::ui {

TFrameKOVAReadingPage::TFrameKOVAReadingPage(QWidget* parent) : QWidget(parent)
{
    FrameKOVABibleDisplay1 = new TFrameKOVABibleDisplay(this);
    LabelReadPlanStatus = new QLabel(this);
    // The standing shares its line with the two buttons; in a narrow window it
    // wraps onto a second line rather than being cut off.
    LabelReadPlanStatus->setWordWrap(true);
    ButtonPlanManager = new QPushButton(QStringLiteral("View or Edit Reading Plan"), this);
    ButtonMarkRead = new QPushButton(QStringLiteral("Mark Passage as Read"), this);
    QFont bold = ButtonMarkRead->font();
    bold.setBold(true);
    ButtonMarkRead->setFont(bold);
    // Nothing is shown yet, so there is nothing to mark or manage.
    ButtonPlanManager->setEnabled(false);
    ButtonMarkRead->setEnabled(false);

    auto* bottom = new QHBoxLayout;
    bottom->setContentsMargins(8, 4, 8, 8);
    bottom->addWidget(LabelReadPlanStatus, 1);
    bottom->addWidget(ButtonPlanManager);
    bottom->addWidget(ButtonMarkRead);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(FrameKOVABibleDisplay1, 1);
    layout->addLayout(bottom);
}

} // namespace kovara::ui
