// Texts that share a line with buttons must stay readable at the main window's
// first-run size: the page area is then about 470 pixels wide.
#include "plan_test_shell.h"
#include "ui/base/core_names.h"
#include "ui/plans/plan_manager_page.h"
#include "ui/plans/plan_controller.h"
#include "ui/plans/reading_page.h"
#include "ui/base/passage_view.h"

#include <QFontMetrics>
#include <QLabel>
#include <QLayout>
#include <QComboBox>
#include <QTreeWidget>
#include "reading_page_controls.h"
#include "plan_manager_controls.h"
#include <gtest/gtest.h>

namespace kovara::ui {
namespace {

constexpr int kPageWidth = 470;
constexpr int kPageHeight = 420;

// The whole text fits into the room the layout gave the label.
::testing::AssertionResult textFits(const QLabel& label)
{
    const QRect room = label.contentsRect();
    const int flags = label.wordWrap() ? Qt::TextWordWrap : 0;
    const QRect needed =
        label.fontMetrics().boundingRect(QRect(room.topLeft(), QSize(room.width(), 100000)), flags, label.text());
    if (needed.width() <= room.width() && needed.height() <= room.height())
        return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << '"' << label.text().toStdString() << "\" needs " << needed.width() << 'x'
                                         << needed.height() << " but has " << room.width() << 'x' << room.height();
}

// Lays the page out at the given size the way the main window does: the
// window's own minimum size wins over what the page's layout would ask for.
void layOut(QWidget& page)
{
    page.setMinimumSize(1, 1);
    page.resize(kPageWidth, kPageHeight);
    page.show();
    page.layout()->activate();
}

TEST(PageLayoutTest, ReadingStatusIsNotCutOffBesideTheButtons)
{
    for (const char* status : {"Note: You are behind on your reading plan.", "This plan has been completed.",
                               "This plan day has been marked as read."}) {
        ReadingPage page;
        page.setStanding(QString::fromUtf8(status), true);
        layOut(page);
        EXPECT_TRUE(textFits(*test::ReadingControls(page).planStatusLabel));
    }
}

TEST(PageLayoutTest, ReadingStatusTakesOneLineAndThePassageKeepsItsHeight)
{
    ReadingPage page;
    const test::ReadingControls controls(page);
    layOut(page);
    const int passageHeight = controls.passageView->height();
    const int oneLine = controls.planStatusLabel->fontMetrics().height();
    for (const char* status : {"Note: You are behind on your reading plan.", "This plan has been completed.",
                               "This plan day has been marked as read.", ""}) {
        page.setStanding(QString::fromUtf8(status), true);
        page.layout()->activate();
        EXPECT_EQ(controls.passageView->height(), passageHeight) << status;
        EXPECT_LT(controls.planStatusLabel->height(), 2 * oneLine) << status;
    }
}

TEST(PageLayoutTest, PlanManagerColumnsFitTheirTextsAndTheNoPlansEntryWraps)
{
    test::PlanTestShell shell;
    QWidget window;
    auto* dlg = new test::ScriptedNewPlanDlg(shell.scripted, shell.fixedClock, &window);
    PlanController controller{shell, &window, dlg};
    PlanManagerPage& frame = *controller.planManager();
    frame.setParent(nullptr);
    controller.refreshPlanViews(PlanId());
    layOut(frame);
    EXPECT_FALSE(test::PlanManagerControls(frame).planCombo->isVisible());
    ASSERT_TRUE(test::PlanManagerControls(frame).noPlansLabel->isVisible());
    EXPECT_TRUE(textFits(*test::PlanManagerControls(frame).noPlansLabel));

    shell.addPlan("Plan", 12, 0);
    controller.refreshPlanViews(PlanId());
    frame.layout()->activate();
    QTreeWidget* list = test::PlanManagerControls(frame).dayList;
    EXPECT_TRUE(test::PlanManagerControls(frame).planCombo->isVisible());
    EXPECT_FALSE(test::PlanManagerControls(frame).noPlansLabel->isVisible());
    // Day and Date are as wide as their texts need, and no wider; the passage
    // has the rest of the list.
    const QFontMetrics metrics(list->font());
    for (const int column : {0, 1}) {
        const int text = metrics.horizontalAdvance(list->topLevelItem(11)->text(column));
        EXPECT_GE(list->columnWidth(column), text) << column;
        EXPECT_LE(list->columnWidth(column), text + 60) << column;
    }
    EXPECT_GE(list->columnWidth(2), list->viewport()->width() - list->columnWidth(0) - list->columnWidth(1) - 1);
    frame.setParent(&window);
}

TEST(PageLayoutTest, PlanManagerHintIsNotCutOff)
{
    test::PlanTestShell shell;
    QWidget window;
    auto* dlg = new test::ScriptedNewPlanDlg(shell.scripted, shell.fixedClock, &window);
    PlanController controller{shell, &window, dlg};
    PlanManagerPage& frame = *controller.planManager();
    frame.setParent(nullptr);
    layOut(frame);
    const QLabel* hint = nullptr;
    for (const QLabel* label : frame.findChildren<QLabel*>())
        if (label->text() == QStringLiteral("Right-click plan days for additional options."))
            hint = label;
    ASSERT_NE(hint, nullptr);
    EXPECT_TRUE(textFits(*hint));
    frame.setParent(&window); // the window owns the frame again and frees it
}

} // namespace
} // namespace kovara::ui
