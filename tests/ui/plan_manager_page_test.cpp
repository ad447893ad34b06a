// The plan manager page: the plan list and its no-plans entry, the day list's
// columns and check boxes, the two context actions, opening a day, and the
// delete and rename flows.
#include "ui/plans/plan_manager_page.h"
#include "ui/base/core_names.h"

#include "plan_test_shell.h"
#include "ui/plans/plan_controller.h"
#include "ui/base/dates.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QTest>
#include <QComboBox>
#include <QPushButton>
#include <QTreeWidget>
#include "plan_manager_controls.h"
#include "new_plan_controls.h"
#include <gtest/gtest.h>

namespace kovara::ui {
namespace {

const QString kRenameCaption = "Rename Reading Plan";

class PlanManagerTest : public ::testing::Test {
protected:
    PlanManagerTest()
    {
        QObject::connect(&controller, &PlanController::planEntriesChanged,
                         [this](const std::vector<PlanEntry>& e) { entries = e; });
    }
    PlanManagerPage& frame() { return *controller.planManager(); }
    test::PlanManagerControls controls() { return test::PlanManagerControls(frame()); }
    QTreeWidgetItem* line(int day) { return controls().dayList->topLevelItem(day - 1); }
    bool ticked(int day) { return line(day)->checkState(0) == Qt::Checked; }
    void select(int day) { controls().dayList->setCurrentItem(line(day)); }

    test::PlanTestShell shell;
    QWidget window;
    test::ScriptedNewPlanDlg* dlg = new test::ScriptedNewPlanDlg(shell.scripted, shell.fixedClock, &window);
    PlanController controller{shell, &window, dlg};
    std::vector<PlanEntry> entries;
};

TEST_F(PlanManagerTest, NoPlansShowsTheSingleEntry)
{
    controller.refreshPlanViews(PlanId());
    EXPECT_TRUE(frame().currentPlan().isNull());
    ASSERT_EQ(controls().planCombo->count(), 1);
    EXPECT_EQ(controls().planCombo->currentText(),
              "No reading plans have been created. Click \"Start New Reading Plan.\"");
    EXPECT_FALSE(controls().planCombo->isEnabled());
    EXPECT_FALSE(controls().deletePlanButton->isEnabled());
    EXPECT_FALSE(controls().renamePlanButton->isEnabled());
    EXPECT_TRUE(controls().newPlanButton->isEnabled());
    EXPECT_EQ(controls().dayList->topLevelItemCount(), 0);
    EXPECT_FALSE(controller.planManager()->canPrintWhole());

    // A plan started from here is selected; the reading page is not switched.
    dlg->script = [](test::ScriptedNewPlanDlg& d) { test::NewPlanControls(d).createPlanButton->click(); };
    shell.scripted.expectPrompt("Enter a name for your new reading plan:", "Bible in a Year");
    controls().newPlanButton->click();
    EXPECT_EQ(frame().currentPlan(), shell.id(0));
    EXPECT_TRUE(controls().planCombo->isEnabled());
    EXPECT_EQ(controls().dayList->topLevelItemCount(), 4);
    EXPECT_EQ(shell.page, kovara::ui::Page::Welcome);
}

TEST_F(PlanManagerTest, DayLinesAndTicking)
{
    shell.plans->addPlan("Gamma", {"1-31", "32-33", "81-90,91-92"}, makeDate(2024, 2, 28));
    shell.addPlan("Delta", 2, 0);
    shell.plans->setDayDone(1, 2, true);
    controller.refreshPlanViews(shell.id(1));
    EXPECT_EQ(controls().planCombo->currentText(), "Gamma");
    ASSERT_EQ(controls().dayList->topLevelItemCount(), 3);
    const QString dates[] = {shortDateText(makeDate(2024, 2, 28)), shortDateText(makeDate(2024, 2, 29)),
                             shortDateText(makeDate(2024, 3, 1))};
    const QString passages[] = {"Alpha 1", "Alpha 2:1-2", "Beta 1; Beta 2:1-2"};
    for (int day = 1; day <= 3; ++day) {
        EXPECT_EQ(line(day)->text(0), QString::number(day));
        EXPECT_EQ(line(day)->text(1), dates[day - 1]);
        EXPECT_EQ(line(day)->text(2), passages[day - 1]);
        EXPECT_EQ(ticked(day), day == 2);
    }

    // Ticking writes at once and the plan's entry follows its standing.
    EXPECT_TRUE(entries[1].bold);
    line(1)->setCheckState(0, Qt::Checked);
    line(3)->setCheckState(0, Qt::Checked);
    EXPECT_TRUE(shell.plans->isDayDone(1, 1));
    EXPECT_EQ(shell.plans->firstUnreadDay(1), std::nullopt);
    EXPECT_FALSE(entries[1].bold);
    line(2)->setCheckState(0, Qt::Unchecked);
    EXPECT_FALSE(shell.plans->isDayDone(1, 2));
    EXPECT_TRUE(entries[1].bold);

    // Choosing the other plan in the list shows its days.
    controls().planCombo->setCurrentIndex(0);
    emit controls().planCombo->activated(0);
    EXPECT_EQ(frame().currentPlan(), shell.id(0));
    EXPECT_EQ(controls().dayList->topLevelItemCount(), 2);
}

TEST_F(PlanManagerTest, SpaceTicksTheCurrentDayFromAnyColumnAndCopyKeyCopiesNothing)
{
    shell.addPlan("Delta", 3, 0);
    controller.refreshPlanViews(PlanId());
    QTreeWidget* list = controls().dayList;
    for (const int column : {0, 1, 2}) {
        list->setCurrentItem(line(2), column);
        QTest::keyClick(list, Qt::Key_Space);
        EXPECT_TRUE(ticked(2)) << "column " << column;
        EXPECT_TRUE(shell.plans->isDayDone(0, 2)) << "column " << column;
        QTest::keyClick(list, Qt::Key_Space);
        EXPECT_FALSE(shell.plans->isDayDone(0, 2)) << "column " << column;
    }
    EXPECT_FALSE(ticked(1));

    // Copy has nothing to copy on this page, so the key leaves the clipboard.
    QApplication::clipboard()->setText(QStringLiteral("kept"));
    list->setCurrentItem(line(1), 2);
    QTest::keyClick(list, Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(QApplication::clipboard()->text(), "kept");
}

TEST_F(PlanManagerTest, ContextActionsMarkThroughAndResetToADay)
{
    const int plan = shell.addPlan("Ten", 10, 0);
    shell.plans->setDayDone(plan, 1, true);
    shell.plans->setDayDone(plan, 9, true);
    controller.refreshPlanViews(shell.id(plan));
    EXPECT_FALSE(controls().markRangeAsDoneAction->isEnabled());
    EXPECT_EQ(controls().resetPlanToDayAction->text(), "Rest plan so that this day is today");

    select(7);
    EXPECT_TRUE(controls().markRangeAsDoneAction->isEnabled());
    EXPECT_EQ(controls().markRangeAsDoneAction->text(), "Mark all days through day 7 as read");
    EXPECT_EQ(controls().resetPlanToDayAction->text(), "Reset plan so that day 7 is today");

    // Day 7 falls on today: the plan is now behind.
    EXPECT_FALSE(entries[plan].bold);
    controls().resetPlanToDayAction->trigger();
    EXPECT_EQ(shell.plans->startDate(plan), shell.fixedClock.today() - std::chrono::days(6));
    EXPECT_EQ(shell.plans->todaysPlanDay(plan), 7);
    EXPECT_EQ(line(7)->text(1), shortDateText(shell.fixedClock.today()));
    EXPECT_EQ(line(1)->text(1), shortDateText(shell.fixedClock.today() - std::chrono::days(6)));
    EXPECT_TRUE(entries[plan].bold);

    // The refill kept day 7 selected; marking through it catches the plan up.
    EXPECT_EQ(controls().markRangeAsDoneAction->text(), "Mark all days through day 7 as read");
    controls().markRangeAsDoneAction->trigger();
    for (int day = 1; day <= 10; ++day) {
        EXPECT_EQ(ticked(day), day <= 7 || day == 9) << day;
        EXPECT_EQ(shell.plans->isDayDone(plan, day), day <= 7 || day == 9) << day;
    }
    EXPECT_FALSE(entries[plan].bold);

    // Opening a day, even a future one, shows it on the reading page.
    emit controls().dayList->itemActivated(line(10), 0);
    EXPECT_EQ(controller.currentPlan(), shell.id(plan));
    EXPECT_EQ(controller.currentPlanDay(), 10);
    EXPECT_EQ(shell.page, kovara::ui::Page::Reading);
}

TEST_F(PlanManagerTest, RenameAndDelete)
{
    shell.addPlan("Alpha", 2, 0);
    shell.addPlan("Beta", 2, 0);
    controller.refreshPlanViews(shell.id(1));
    const QString prompt = "Enter a new name for \"Beta.\"";

    // Unchanged: nothing happens. Cancel: nothing happens.
    shell.scripted.expectPrompt(prompt, "Beta");
    controls().renamePlanButton->click();
    EXPECT_EQ(shell.scripted.lastProposal, "Beta");
    shell.scripted.expectPrompt(prompt, "x", false);
    controls().renamePlanButton->click();

    // Its own title in other letters, another plan's title, blanks: refused,
    // each repeat prefilled with the trimmed text.
    shell.scripted.expectPrompt(prompt, "BETA");
    shell.scripted.expectMessage(
        "Sorry, there is already a plan with that name. Please specify a different plan name or cancel.");
    shell.scripted.expectPrompt(prompt, " alpha ");
    shell.scripted.expectMessage(
        "Sorry, there is already a plan with that name. Please specify a different plan name or cancel.");
    shell.scripted.expectPrompt(prompt, "  ");
    shell.scripted.expectMessage("Sorry, you cannot have an blank plan name. Please specify a new plan name or cancel.");
    shell.scripted.expectPrompt(prompt, " Aardvark ");
    controls().renamePlanButton->click();
    EXPECT_EQ(shell.scripted.lastProposal, "");
    EXPECT_EQ(shell.plans->planTitle(1), "Aardvark");
    // Retitling does not reorder until the next load.
    EXPECT_EQ(frame().currentPlan(), shell.id(1));
    EXPECT_EQ(controls().planCombo->itemText(1), "Aardvark");
    EXPECT_EQ(entries[1].title, "Aardvark");

    shell.scripted.expectConfirm("Are you absolutely certain that you wish to permanantly delete plan \"Aardvark\"?",
                                false);
    controls().deletePlanButton->click();
    EXPECT_EQ(shell.plans->planCount(), 2);
    shell.scripted.expectConfirm("Are you absolutely certain that you wish to permanantly delete plan \"Aardvark\"?",
                                true);
    controls().deletePlanButton->click();
    ASSERT_EQ(shell.plans->planCount(), 1);
    EXPECT_EQ(frame().currentPlan(), shell.id(0));
    EXPECT_EQ(controls().planCombo->currentText(), "Alpha");
    EXPECT_EQ(entries.size(), 1u);
}

TEST_F(PlanManagerTest, RenameAndDeleteQuoteTheTitleAsOneShortPlainLine)
{
    // 122 characters: the dialogs show its first 40 and last 39 around "…".
    const std::string title = "Big <i>italic</i> " + std::string(100, 'x') + " end";
    shell.addPlan(title, 2, 0);
    controller.refreshPlanViews(PlanId());
    const QString shown = "Big <i>italic</i> " + QString(22, u'x') + QChar(0x2026) + QString(35, u'x') + " end";

    shell.scripted.expectPrompt("Enter a new name for \"" + shown + ".\"", "x", false);
    controls().renamePlanButton->click();
    EXPECT_EQ(shell.scripted.lastProposal.toStdString(), title); // the whole title to edit
    shell.scripted.expectConfirm(
        "Are you absolutely certain that you wish to permanantly delete plan \"" + shown + "\"?", false);
    controls().deletePlanButton->click();
    EXPECT_EQ(shell.plans->planCount(), 1);
}

} // namespace
} // namespace kovara::ui
