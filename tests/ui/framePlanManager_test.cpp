// The plan manager page: the plan list and its no-plans entry, the day list's
// columns and check boxes, the two context actions, opening a day, and the
// delete and rename flows.
#include "ui/plans/framePlanManager.h"

#include "plan_test_shell.h"
#include "ui/plans/plan_controller.h"
#include "ui/widgets/dates.h"

#include <QAction>
#include <QComboBox>
#include <QPushButton>
#include <QTreeWidget>
#include <gtest/gtest.h>

namespace kovara::ui {
namespace {

const QString kRenameCaption = "Rename Reading Plan";

class PlanManagerTest : public ::testing::Test {
protected:
    PlanManagerTest()
    {
        controller.SetPlanEntriesChanged([this](const std::vector<PlanEntry>& e) { entries = e; });
    }
    TFrameKOVAPlanManager& Frame() { return *controller.PlanManager(); }
    QTreeWidgetItem* Line(int day) { return Frame().RzCheckList1->topLevelItem(day - 1); }
    bool Ticked(int day) { return Line(day)->checkState(0) == Qt::Checked; }
    void Select(int day) { Frame().RzCheckList1->setCurrentItem(Line(day)); }

    test::PlanTestShell shell;
    QWidget window;
    test::ScriptedNewPlanDlg* dlg = new test::ScriptedNewPlanDlg(shell.dialogs, shell.clock, &window);
    PlanController controller{shell, &window, dlg};
    std::vector<PlanEntry> entries;
};

TEST_F(PlanManagerTest, NoPlansShowsTheSingleEntry)
{
    controller.RefreshPlanViews(0);
    EXPECT_EQ(Frame().CurrentPlan(), -1);
    ASSERT_EQ(Frame().RzComboBoxPlan->count(), 1);
    EXPECT_EQ(Frame().RzComboBoxPlan->currentText(),
              "No reading plans have been created. Click \"Start New Reading Plan.\"");
    EXPECT_FALSE(Frame().RzComboBoxPlan->isEnabled());
    EXPECT_FALSE(Frame().ButtonDeletePlan->isEnabled());
    EXPECT_FALSE(Frame().ButtonRenamePlan->isEnabled());
    EXPECT_TRUE(Frame().ButtonNewPlan->isEnabled());
    EXPECT_EQ(Frame().RzCheckList1->topLevelItemCount(), 0);
    EXPECT_FALSE(controller.CanPrintPlan());

    // A plan started from here is selected; the reading page is not switched.
    dlg->script = [](test::ScriptedNewPlanDlg& d) { d.ButtonCreatePlan->click(); };
    shell.dialogs.ExpectPrompt("Enter a name for your new reading plan:", "Bible in a Year");
    Frame().ButtonNewPlan->click();
    EXPECT_EQ(Frame().CurrentPlan(), 0);
    EXPECT_TRUE(Frame().RzComboBoxPlan->isEnabled());
    EXPECT_EQ(Frame().RzCheckList1->topLevelItemCount(), 4);
    EXPECT_EQ(shell.page, kovara::ui::Page::Welcome);
}

TEST_F(PlanManagerTest, DayLinesAndTicking)
{
    shell.plans->AddPlan("Gamma", {"1-31", "32-33", "81-90,91-92"}, EncodeDate(2024, 2, 28));
    shell.AddPlan("Delta", 2, 0);
    shell.plans->SetDayDone(1, 2, true);
    controller.RefreshPlanViews(1);
    EXPECT_EQ(Frame().RzComboBoxPlan->currentText(), "Gamma");
    ASSERT_EQ(Frame().RzCheckList1->topLevelItemCount(), 3);
    const QString dates[] = {ShortDateText(EncodeDate(2024, 2, 28)), ShortDateText(EncodeDate(2024, 2, 29)),
                             ShortDateText(EncodeDate(2024, 3, 1))};
    const QString passages[] = {"Alpha 1", "Alpha 2:1-2", "Beta 1; Beta 2:1-2"};
    for (int day = 1; day <= 3; ++day) {
        EXPECT_EQ(Line(day)->text(0), QString::number(day));
        EXPECT_EQ(Line(day)->text(1), dates[day - 1]);
        EXPECT_EQ(Line(day)->text(2), passages[day - 1]);
        EXPECT_EQ(Ticked(day), day == 2);
    }

    // Ticking writes at once and the plan's entry follows its standing.
    EXPECT_TRUE(entries[1].bold);
    Line(1)->setCheckState(0, Qt::Checked);
    Line(3)->setCheckState(0, Qt::Checked);
    EXPECT_TRUE(shell.plans->IsDayDone(1, 1));
    EXPECT_EQ(shell.plans->GetFirstUnreadDay(1), kAllDaysRead);
    EXPECT_FALSE(entries[1].bold);
    Line(2)->setCheckState(0, Qt::Unchecked);
    EXPECT_FALSE(shell.plans->IsDayDone(1, 2));
    EXPECT_TRUE(entries[1].bold);

    // Choosing the other plan in the list shows its days.
    Frame().RzComboBoxPlan->setCurrentIndex(0);
    emit Frame().RzComboBoxPlan->activated(0);
    EXPECT_EQ(Frame().CurrentPlan(), 0);
    EXPECT_EQ(Frame().RzCheckList1->topLevelItemCount(), 2);
}

TEST_F(PlanManagerTest, ContextActionsMarkThroughAndResetToADay)
{
    const int plan = shell.AddPlan("Ten", 10, 0);
    shell.plans->SetDayDone(plan, 1, true);
    shell.plans->SetDayDone(plan, 9, true);
    controller.RefreshPlanViews(plan);
    EXPECT_FALSE(Frame().ActionMarkRangeAsDone->isEnabled());
    EXPECT_EQ(Frame().ActionResetPlanToDay->text(), "Rest plan so that this day is today");

    Select(7);
    EXPECT_TRUE(Frame().ActionMarkRangeAsDone->isEnabled());
    EXPECT_EQ(Frame().ActionMarkRangeAsDone->text(), "Mark all days through day 7 as read");
    EXPECT_EQ(Frame().ActionResetPlanToDay->text(), "Reset plan so that day 7 is today");

    // Day 7 falls on today: the plan is now behind.
    EXPECT_FALSE(entries[plan].bold);
    Frame().ActionResetPlanToDay->trigger();
    EXPECT_EQ(shell.plans->GetStartDate(plan), shell.clock.Today() - 6);
    EXPECT_EQ(shell.plans->GetTodaysPlanDay(plan), 7);
    EXPECT_EQ(Line(7)->text(1), ShortDateText(shell.clock.Today()));
    EXPECT_EQ(Line(1)->text(1), ShortDateText(shell.clock.Today() - 6));
    EXPECT_TRUE(entries[plan].bold);

    // The refill kept day 7 selected; marking through it catches the plan up.
    EXPECT_EQ(Frame().ActionMarkRangeAsDone->text(), "Mark all days through day 7 as read");
    Frame().ActionMarkRangeAsDone->trigger();
    for (int day = 1; day <= 10; ++day) {
        EXPECT_EQ(Ticked(day), day <= 7 || day == 9) << day;
        EXPECT_EQ(shell.plans->IsDayDone(plan, day), day <= 7 || day == 9) << day;
    }
    EXPECT_FALSE(entries[plan].bold);

    // Opening a day, even a future one, shows it on the reading page.
    emit Frame().RzCheckList1->itemActivated(Line(10), 0);
    EXPECT_EQ(controller.CurrentPlan(), plan);
    EXPECT_EQ(controller.CurrentPlanDay(), 10);
    EXPECT_EQ(shell.page, kovara::ui::Page::BibleRead);
}

TEST_F(PlanManagerTest, RenameAndDelete)
{
    shell.AddPlan("Alpha", 2, 0);
    shell.AddPlan("Beta", 2, 0);
    controller.RefreshPlanViews(1);
    const QString prompt = "Enter a new name for \"Beta.\"";

    // Unchanged: nothing happens. Cancel: nothing happens.
    shell.dialogs.ExpectPrompt(prompt, "Beta");
    Frame().ButtonRenamePlan->click();
    EXPECT_EQ(shell.dialogs.lastProposal, "Beta");
    shell.dialogs.ExpectPrompt(prompt, "x", false);
    Frame().ButtonRenamePlan->click();

    // Its own title in other letters, another plan's title, blanks: refused,
    // each repeat prefilled with the trimmed text.
    shell.dialogs.ExpectPrompt(prompt, "BETA");
    shell.dialogs.ExpectMessage(
        "Sorry, there is already a plan with that name. Please specify a different plan name or cancel.");
    shell.dialogs.ExpectPrompt(prompt, " alpha ");
    shell.dialogs.ExpectMessage(
        "Sorry, there is already a plan with that name. Please specify a different plan name or cancel.");
    shell.dialogs.ExpectPrompt(prompt, "  ");
    shell.dialogs.ExpectMessage("Sorry, you cannot have an blank plan name. Please specify a new plan name or cancel.");
    shell.dialogs.ExpectPrompt(prompt, " Aardvark ");
    Frame().ButtonRenamePlan->click();
    EXPECT_EQ(shell.dialogs.lastProposal, "");
    EXPECT_EQ(shell.plans->GetPlanTitle(1), "Aardvark");
    // Retitling does not reorder until the next load.
    EXPECT_EQ(Frame().CurrentPlan(), 1);
    EXPECT_EQ(Frame().RzComboBoxPlan->itemText(1), "Aardvark");
    EXPECT_EQ(entries[1].title, "Aardvark");

    shell.dialogs.ExpectConfirm("Are you absolutely certain that you wish to permanantly delete plan \"Aardvark\"?",
                                false);
    Frame().ButtonDeletePlan->click();
    EXPECT_EQ(shell.plans->GetPlanCount(), 2);
    shell.dialogs.ExpectConfirm("Are you absolutely certain that you wish to permanantly delete plan \"Aardvark\"?",
                                true);
    Frame().ButtonDeletePlan->click();
    ASSERT_EQ(shell.plans->GetPlanCount(), 1);
    EXPECT_EQ(Frame().CurrentPlan(), 0);
    EXPECT_EQ(Frame().RzComboBoxPlan->currentText(), "Alpha");
    EXPECT_EQ(entries.size(), 1u);
}

} // namespace
} // namespace kovara::ui
