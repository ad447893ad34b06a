// The reading-plan commands: starting a plan with its name prompt, the reading
// page with marking read and catching up, the page after reloads of the store,
// the plan entries of the menu and side bar, and the plan printout.
#include "ui/plans/plan_controller.h"

#include "plan_test_shell.h"
#include "plans/plan_printout.h"
#include "ui/app/error_guard.h"
#include "ui/content/frameBibleDisplay.h"
#include "ui/widgets/dates.h"
#include "ui/plans/reading_page.h"
#include "ui/widgets/html_viewer.h"

#include <QAction>
#include <QComboBox>
#include <QFileInfo>
#include <QLabel>
#include <QMenu>
#include <QPrinter>
#include <QPushButton>
#include <QRadioButton>
#include <QDateEdit>
#include <gtest/gtest.h>

namespace kovara::ui {
namespace {

const QString kNamePrompt = "Enter a name for your new reading plan:";
const QString kCatchingUp = "You're catching up! The next unread day of your plan has been loaded.";
const QString kCongratulations = "Congratulations, you have completed this reading plan!";
const QString kBehind = "Note: You are behind on your reading plan.";
const QString kMarked = "This plan day has been marked as read.";
const QString kCompleted = "This plan has been completed.";

class PlanControllerTest : public ::testing::Test {
protected:
    PlanControllerTest()
    {
        controller.SetPlanEntriesChanged([this](const std::vector<PlanEntry>& e) { entries = e; });
    }
    TFrameKOVAReadingPage& Page() { return *controller.ReadingPage(); }
    QString Heading() { return Page().FrameKOVABibleDisplay1->LabelDate->text(); }
    bool Bold(int plan) const { return entries.at(plan).bold; }

    test::PlanTestShell shell;
    QWidget window;
    test::ScriptedNewPlanDlg* dlg = new test::ScriptedNewPlanDlg(shell.dialogs, shell.clock, &window);
    PlanController controller{shell, &window, dlg};
    std::vector<PlanEntry> entries;
};

TEST_F(PlanControllerTest, NewPlanNameIsProposedTrimmedAndChecked)
{
    shell.plans->AddPlan("Bible in a Year", {"1-1"}, shell.clock.Today());
    shell.plans->AddPlan("Bible in a Year 2", {"1-1"}, shell.clock.Today());
    dlg->script = [](test::ScriptedNewPlanDlg& d) {
        d.RadioButtonPlanOtNt->click();
        d.ButtonCreatePlan->click();
    };
    shell.dialogs.ExpectPrompt(kNamePrompt, "   ");
    shell.dialogs.ExpectMessage("Sorry, you cannot have an blank plan name. Please specify a plan name.");
    shell.dialogs.ExpectPrompt(kNamePrompt, " bible in a year 2");
    shell.dialogs.ExpectMessage("Sorry, there is already a plan with that name. Please specify a different plan name.");
    shell.dialogs.ExpectPrompt(kNamePrompt, "  Alpha  ");
    // The proposal skips the titles in use; each repeat shows the trimmed text.
    const int index = controller.StartNewPlan();
    EXPECT_EQ(shell.dialogs.lastProposal, "bible in a year 2");
    ASSERT_EQ(index, 0);
    EXPECT_EQ(shell.plans->GetPlanTitle(0), "Alpha");
    EXPECT_EQ(shell.plans->GetDayCount(0), 3);
    EXPECT_EQ(shell.plans->GetStartDate(0), shell.clock.Today());
    // The plan views were refreshed on the new plan; the reading page stays.
    EXPECT_EQ(controller.PlanManager()->RzComboBoxPlan->currentText(), "Alpha");
    ASSERT_EQ(entries.size(), 3u);
    EXPECT_EQ(entries[0].title, "Alpha");
    EXPECT_EQ(shell.page, kovara::ui::Page::Welcome);

    // Cancelling the prompt makes nothing, though the dialog closed with OK.
    shell.dialogs.ExpectPrompt(kNamePrompt, "", false);
    EXPECT_EQ(controller.StartNewPlan(), -1);
    EXPECT_EQ(shell.dialogs.lastProposal, "Bible in a Year 3");
    EXPECT_EQ(shell.plans->GetPlanCount(), 3);
}

TEST_F(PlanControllerTest, NewCustomPlanOpensOnItsFirstDay)
{
    dlg->script = [this](test::ScriptedNewPlanDlg& d) {
        d.RadioButtonPlanCustom->click();
        d.RzComboBoxStartBook->setCurrentIndex(1);
        d.RzComboBoxEndChapter->setCurrentIndex(0);
        d.RzDateTimeEditCustomComplete->setDate(ToQDate(shell.clock.Today()).addDays(2));
        d.ButtonCreatePlan->click();
    };
    shell.dialogs.ExpectPrompt(kNamePrompt, "Custom Reading Plan");
    controller.ActionNewReadPlan->trigger();
    EXPECT_EQ(shell.dialogs.lastProposal, "Custom Reading Plan");
    ASSERT_EQ(shell.plans->GetPlanCount(), 1);
    EXPECT_EQ(shell.plans->Plan(0).DayVerses, (std::vector<std::string>{"81-84", "85-87", "88-90"}));

    EXPECT_EQ(shell.page, kovara::ui::Page::BibleRead);
    EXPECT_EQ(Page().FrameKOVABibleDisplay1->LabelTitle->text(), "Custom Reading Plan");
    EXPECT_EQ(Heading(), "Day 1 of 3: Beta 1:1-4");
    EXPECT_EQ(Page().LabelReadPlanStatus->text(), "");
    EXPECT_TRUE(Page().ButtonMarkRead->isEnabled());
    EXPECT_TRUE(Page().ButtonPlanManager->isEnabled());
    EXPECT_TRUE(Bold(0));

    // Marking today's day moves nothing: the next day is not due yet.
    Page().ButtonMarkRead->click();
    EXPECT_EQ(Heading(), "Day 1 of 3: Beta 1:1-4");
    EXPECT_EQ(Page().LabelReadPlanStatus->text(), kMarked);
    EXPECT_FALSE(Page().ButtonMarkRead->isEnabled());
    EXPECT_FALSE(Bold(0));
}

TEST_F(PlanControllerTest, CatchingUpDayByDayThenCompleting)
{
    const int plan = shell.AddPlan("Behind", 8, 5); // today is day 6
    controller.RefreshPlanViews(0);
    EXPECT_TRUE(Bold(plan));
    controller.ShowPlanDay(plan, 0);
    EXPECT_EQ(controller.CurrentPlanDay(), 1);
    EXPECT_EQ(Page().LabelReadPlanStatus->text(), kBehind);

    for (int day = 1; day <= 5; ++day) {
        SCOPED_TRACE(day);
        shell.dialogs.ExpectMessage(kCatchingUp);
        Page().ButtonMarkRead->click();
        EXPECT_EQ(controller.CurrentPlanDay(), day + 1);
        EXPECT_TRUE(Page().ButtonMarkRead->isEnabled());
    }
    EXPECT_EQ(Page().LabelReadPlanStatus->text(), "");
    Page().ButtonMarkRead->click(); // day 6, today: nothing more to load
    EXPECT_EQ(controller.CurrentPlanDay(), 6);
    EXPECT_EQ(Page().LabelReadPlanStatus->text(), kMarked);
    EXPECT_FALSE(Bold(plan));

    // Days ahead of time, then the last unread one.
    controller.ShowPlanDay(plan, 8);
    Page().ButtonMarkRead->click();
    controller.ShowPlanDay(plan, 7);
    shell.dialogs.ExpectMessage(kCongratulations);
    Page().ButtonMarkRead->click();
    EXPECT_EQ(controller.CurrentPlanDay(), 7);

    controller.ShowPlanDay(plan, 0);
    EXPECT_EQ(controller.CurrentPlanDay(), 6);
    EXPECT_EQ(Page().LabelReadPlanStatus->text(), kCompleted);
    EXPECT_FALSE(Page().ButtonMarkRead->isEnabled());
}

TEST_F(PlanControllerTest, ReadingPageFollowsItsPlanThroughReloads)
{
    shell.AddPlan("Alpha", 3, 0);
    const int beta = shell.AddPlan("Beta", 3, 0);
    controller.RefreshPlanViews(0);
    controller.ShowPlanDay(beta, 2);
    ASSERT_EQ(controller.CurrentPlan(), 1);

    // Deleting the plan before it moves it to index 0; the page shows it again.
    controller.PlanManager()->SetPlans(0);
    shell.dialogs.ExpectConfirm("Are you absolutely certain that you wish to permanantly delete plan \"Alpha\"?", true);
    controller.PlanManager()->ButtonDeletePlan->click();
    EXPECT_EQ(controller.CurrentPlan(), 0);
    EXPECT_EQ(controller.CurrentPlanDay(), 2);
    EXPECT_EQ(Page().FrameKOVABibleDisplay1->LabelTitle->text(), "Beta");
    Page().ButtonMarkRead->click();
    EXPECT_TRUE(shell.plans->IsDayDone(0, 2));
    EXPECT_EQ(shell.plans->GetPlanTitle(0), "Beta");

    // A restore reopens the store: the same plan is found again.
    shell.ReopenPlans();
    controller.RefreshPlanViews(0);
    EXPECT_EQ(controller.CurrentPlan(), 0);
    EXPECT_TRUE(Page().ButtonPlanManager->isEnabled());
    EXPECT_FALSE(Page().ButtonMarkRead->isEnabled());
    EXPECT_EQ(Page().LabelReadPlanStatus->text(), kMarked);

    // Its deletion clears the page and leaves nothing to mark.
    shell.dialogs.ExpectConfirm("Are you absolutely certain that you wish to permanantly delete plan \"Beta\"?", true);
    controller.PlanManager()->ButtonDeletePlan->click();
    EXPECT_EQ(controller.CurrentPlan(), -1);
    EXPECT_FALSE(Page().ButtonMarkRead->isEnabled());
    EXPECT_FALSE(Page().ButtonPlanManager->isEnabled());
    EXPECT_EQ(Heading(), "");
    EXPECT_EQ(Page().FrameKOVABibleDisplay1->HTMLViewer1->PageText(), "");
}

TEST_F(PlanControllerTest, PlanEntriesInTheReadingMenuAndTheirChecks)
{
    QMenu menu;
    QAction* readingMenuBreak = menu.addSeparator();
    menu.addAction(controller.ActionNewReadPlan);
    controller.SetReadingMenu(&menu, readingMenuBreak);

    shell.AddPlan("Due & Today", 3, 0);
    shell.AddPlan("Ahead", 3, 0);
    shell.plans->SetDayDone(0, 1, true);
    controller.RefreshPlanViews(0);
    controller.RefreshPlanViews(0); // a second rebuild replaces the entries
    const QList<QAction*> actions = menu.actions();
    ASSERT_EQ(actions.size(), 4);
    EXPECT_EQ(actions[0]->text(), "Ahead");
    EXPECT_EQ(actions[1]->text(), "Due && Today");
    EXPECT_EQ(actions[2], readingMenuBreak);
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_FALSE(entries[0].bold);
    EXPECT_TRUE(entries[1].bold);

    actions[1]->trigger();
    EXPECT_EQ(controller.CurrentPlan(), 1);
    EXPECT_EQ(shell.page, kovara::ui::Page::BibleRead);

    shell.dialogs.ExpectMessage("Specified plan index is out of range (2 requested, 1 max)");
    RunGuarded(shell.dialogs, [&] { controller.PlanItemClick(2); });
    // A plan index equal to the count (a plan deleted elsewhere) forgets the
    // plan quietly.
    controller.ShowPlanDay(2, 0);
    EXPECT_EQ(controller.CurrentPlan(), -1);
    EXPECT_FALSE(Page().ButtonMarkRead->isEnabled());
    EXPECT_FALSE(Page().ButtonPlanManager->isEnabled());
    shell.dialogs.ExpectMessage("Plan index out of range (-1)");
    Page().ButtonMarkRead->click(); // disabled: nothing happens
    RunGuarded(shell.dialogs, [&] { controller.ButtonMarkReadClick(); });
}

TEST_F(PlanControllerTest, PrintoutGoesThroughTheHiddenViewer)
{
    const int plan = shell.AddPlan("Psalms & Hymns", 3, 2);
    shell.plans->SetDayDone(plan, 2, true);
    controller.RefreshPlanViews(plan);
    EXPECT_TRUE(controller.CanPrintPlan());
    shell.prefs->TextFontName = "Courier";
    shell.prefs->TextFontSize = 15;

    shell.dialogs.ExpectPrint(false);
    controller.PrintPlanDetails(plan);
    EXPECT_EQ(controller.HTMLViewerTempPrint->PageText(), "");

    QPrinter printer;
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(QString::fromStdString(shell.dir.File("plan.pdf")));
    controller.PrintPlanDetails(plan, printer);
    const QString html = controller.HTMLViewerTempPrint->PageText();
    EXPECT_EQ(html.toStdString(), PlanPrintoutHtml(*shell.plans, plan, *shell.bible, [](TDateTime t) {
                  return ShortDateBytes(t);
              }));
    EXPECT_TRUE(html.startsWith("<p><b>Psalms & Hymns</b></p>\r\n"));
    EXPECT_TRUE(html.contains("<td>&nbsp;<b>X</b>&nbsp;</td><td>&nbsp;2&nbsp;</td><td>&nbsp;" +
                              ShortDateText(shell.clock.Today() - 1) + "&nbsp;</td>"));
    EXPECT_FALSE(controller.HTMLViewerTempPrint->isVisible());
    EXPECT_EQ(controller.HTMLViewerTempPrint->DefaultFontName(), "Courier");
    EXPECT_EQ(controller.HTMLViewerTempPrint->DefaultFontSize(), 15);
    EXPECT_GT(QFileInfo(QString::fromStdString(shell.dir.File("plan.pdf"))).size(), 0);
}

} // namespace
} // namespace kovara::ui
