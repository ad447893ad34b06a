// The reading-plan commands: starting a plan with its name prompt, the reading
// page with marking read and catching up, the page after reloads of the store,
// the plan entries of the menu and side bar, and the plan printout.
#include "ui/plans/plan_controller.h"
#include "ui/base/core_names.h"

#include "plan_test_shell.h"
#include "core/plans/plan_printout.h"
#include "ui/base/error_guard.h"
#include "ui/base/passage_view.h"
#include "ui/base/dates.h"
#include "ui/plans/reading_page.h"
#include "reading_page_controls.h"
#include "ui/base/html_viewer.h"

#include <QAction>
#include <QComboBox>
#include <QFileInfo>
#include <QLabel>
#include <QMenu>
#include <QPrinter>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextTable>
#include <QPushButton>
#include <QRadioButton>
#include <QDateEdit>
#include "plan_manager_controls.h"
#include "new_plan_controls.h"
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
        QObject::connect(&controller, &PlanController::planEntriesChanged,
                         [this](const std::vector<PlanEntry>& e) { entries = e; });
    }
    test::ReadingControls Page() { return test::ReadingControls(*controller.readingPage()); }
    QString heading() { return Page().passage.dayLabel->text(); }
    bool bold(int plan) const { return entries.at(plan).bold; }

    test::PlanTestShell shell;
    QWidget window;
    test::ScriptedNewPlanDlg* dlg = new test::ScriptedNewPlanDlg(shell.scripted, shell.fixedClock, &window);
    PlanController controller{shell, &window, dlg};
    std::vector<PlanEntry> entries;
};

TEST_F(PlanControllerTest, NewPlanNameIsProposedTrimmedAndChecked)
{
    shell.plans->addPlan("Bible in a Year", {"1-1"}, shell.fixedClock.today());
    shell.plans->addPlan("Bible in a Year 2", {"1-1"}, shell.fixedClock.today());
    dlg->script = [](test::ScriptedNewPlanDlg& d) {
        test::NewPlanControls(d).otNtPlanRadio->click();
        test::NewPlanControls(d).createPlanButton->click();
    };
    shell.scripted.expectPrompt(kNamePrompt, "   ");
    shell.scripted.expectMessage("Sorry, you cannot have an blank plan name. Please specify a plan name.");
    shell.scripted.expectPrompt(kNamePrompt, " bible in a year 2");
    shell.scripted.expectMessage("Sorry, there is already a plan with that name. Please specify a different plan name.");
    shell.scripted.expectPrompt(kNamePrompt, "  Alpha  ");
    // The proposal skips the titles in use; each repeat shows the trimmed text.
    const PlanId added = controller.startNewPlan();
    EXPECT_EQ(shell.scripted.lastProposal, "bible in a year 2");
    ASSERT_EQ(shell.plans->indexOf(added), 0);
    EXPECT_EQ(shell.plans->planTitle(0), "Alpha");
    EXPECT_EQ(shell.plans->dayCount(0), 3);
    EXPECT_EQ(shell.plans->startDate(0), startOf(shell.fixedClock.today()));
    // The plan views were refreshed on the new plan; the reading page stays.
    EXPECT_EQ(test::PlanManagerControls(*controller.planManager()).planCombo->currentText(), "Alpha");
    ASSERT_EQ(entries.size(), 3u);
    EXPECT_EQ(entries[0].title, "Alpha");
    EXPECT_EQ(shell.page, kovara::ui::Page::Welcome);

    // Cancelling the prompt makes nothing, though the dialog closed with OK.
    shell.scripted.expectPrompt(kNamePrompt, "", false);
    EXPECT_TRUE(controller.startNewPlan().isNull());
    EXPECT_EQ(shell.scripted.lastProposal, "Bible in a Year 3");
    EXPECT_EQ(shell.plans->planCount(), 3);
}

TEST_F(PlanControllerTest, NewCustomPlanOpensOnItsFirstDay)
{
    dlg->script = [this](test::ScriptedNewPlanDlg& d) {
        test::NewPlanControls(d).customPlanRadio->click();
        test::NewPlanControls(d).startBookCombo->setCurrentIndex(1);
        test::NewPlanControls(d).endChapterCombo->setCurrentIndex(0);
        test::NewPlanControls(d).completionDateEdit->setDate(toQDate(shell.fixedClock.today()).addDays(2));
        test::NewPlanControls(d).createPlanButton->click();
    };
    shell.scripted.expectPrompt(kNamePrompt, "Custom Reading Plan");
    controller.newPlanAction->trigger();
    EXPECT_EQ(shell.scripted.lastProposal, "Custom Reading Plan");
    ASSERT_EQ(shell.plans->planCount(), 1);
    EXPECT_EQ(shell.plans->record(0).dayVerses, (std::vector<std::string>{"81-84", "85-87", "88-90"}));

    EXPECT_EQ(shell.page, kovara::ui::Page::Reading);
    EXPECT_EQ(Page().passage.titleLabel->text(), "Custom Reading Plan");
    EXPECT_EQ(heading(), "Day 1 of 3: Beta 1:1-4");
    EXPECT_EQ(Page().planStatusLabel->text(), "");
    EXPECT_TRUE(Page().markReadButton->isEnabled());
    EXPECT_TRUE(Page().planManagerButton->isEnabled());
    EXPECT_TRUE(bold(0));

    // Marking today's day moves nothing: the next day is not due yet.
    Page().markReadButton->click();
    EXPECT_EQ(heading(), "Day 1 of 3: Beta 1:1-4");
    EXPECT_EQ(Page().planStatusLabel->text(), kMarked);
    EXPECT_FALSE(Page().markReadButton->isEnabled());
    EXPECT_FALSE(bold(0));
}

TEST_F(PlanControllerTest, CatchingUpDayByDayThenCompleting)
{
    const int plan = shell.addPlan("Behind", 8, 5); // today is day 6
    controller.refreshPlanViews(PlanId());
    EXPECT_TRUE(bold(plan));
    controller.showPlanDay(shell.id(plan));
    EXPECT_EQ(controller.currentPlanDay(), 1);
    EXPECT_EQ(Page().planStatusLabel->text(), kBehind);

    for (int day = 1; day <= 5; ++day) {
        SCOPED_TRACE(day);
        shell.scripted.expectMessage(kCatchingUp);
        Page().markReadButton->click();
        EXPECT_EQ(controller.currentPlanDay(), day + 1);
        EXPECT_TRUE(Page().markReadButton->isEnabled());
    }
    EXPECT_EQ(Page().planStatusLabel->text(), "");
    Page().markReadButton->click(); // day 6, today: nothing more to load
    EXPECT_EQ(controller.currentPlanDay(), 6);
    EXPECT_EQ(Page().planStatusLabel->text(), kMarked);
    EXPECT_FALSE(bold(plan));

    // Days ahead of time, then the last unread one.
    controller.showPlanDay(shell.id(plan), 8);
    Page().markReadButton->click();
    controller.showPlanDay(shell.id(plan), 7);
    shell.scripted.expectMessage(kCongratulations);
    Page().markReadButton->click();
    EXPECT_EQ(controller.currentPlanDay(), 7);

    controller.showPlanDay(shell.id(plan));
    EXPECT_EQ(controller.currentPlanDay(), 6);
    EXPECT_EQ(Page().planStatusLabel->text(), kCompleted);
    EXPECT_FALSE(Page().markReadButton->isEnabled());
}

TEST_F(PlanControllerTest, ReadingPageFollowsItsPlanThroughReloads)
{
    shell.addPlan("Alpha", 3, 0);
    const int beta = shell.addPlan("Beta", 3, 0);
    controller.refreshPlanViews(PlanId());
    controller.showPlanDay(shell.id(beta), 2);
    ASSERT_EQ(controller.currentPlan(), shell.id(1));

    // Deleting the plan before it moves it to index 0; the page shows it again.
    controller.planManager()->setPlans(PlanId());
    shell.scripted.expectConfirm("Are you absolutely certain that you wish to permanantly delete plan \"Alpha\"?", true);
    test::PlanManagerControls(*controller.planManager()).deletePlanButton->click();
    EXPECT_EQ(controller.currentPlan(), shell.id(0));
    EXPECT_EQ(controller.currentPlanDay(), 2);
    EXPECT_EQ(Page().passage.titleLabel->text(), "Beta");
    Page().markReadButton->click();
    EXPECT_TRUE(shell.plans->isDayDone(0, 2));
    EXPECT_EQ(shell.plans->planTitle(0), "Beta");

    // A restore reopens the store: the same plan is found again.
    shell.reopenPlans();
    controller.refreshPlanViews(PlanId());
    EXPECT_EQ(controller.currentPlan(), shell.id(0));
    EXPECT_TRUE(Page().planManagerButton->isEnabled());
    EXPECT_FALSE(Page().markReadButton->isEnabled());
    EXPECT_EQ(Page().planStatusLabel->text(), kMarked);

    // Its deletion clears the page and leaves nothing to mark.
    shell.scripted.expectConfirm("Are you absolutely certain that you wish to permanantly delete plan \"Beta\"?", true);
    test::PlanManagerControls(*controller.planManager()).deletePlanButton->click();
    EXPECT_TRUE(controller.currentPlan().isNull());
    EXPECT_FALSE(Page().markReadButton->isEnabled());
    EXPECT_FALSE(Page().planManagerButton->isEnabled());
    EXPECT_EQ(heading(), "");
    EXPECT_EQ(Page().passage.viewer->pageText(), "");
}

TEST_F(PlanControllerTest, PlanEntriesInTheReadingMenuAndTheirChecks)
{
    QMenu menu;
    QAction* readingMenuBreak = menu.addSeparator();
    menu.addAction(controller.newPlanAction);
    controller.setReadingMenu(&menu, readingMenuBreak);

    shell.addPlan("Due & Today", 3, 0);
    shell.addPlan("Ahead", 3, 0);
    shell.plans->setDayDone(0, 1, true);
    controller.refreshPlanViews(PlanId());
    controller.refreshPlanViews(PlanId()); // a second rebuild replaces the entries
    const QList<QAction*> actions = menu.actions();
    ASSERT_EQ(actions.size(), 4);
    // Each entry gets a free Alt letter; the title's own "&" stays shown.
    EXPECT_EQ(actions[0]->text(), "&Ahead");
    EXPECT_EQ(actions[1]->text(), "&Due && Today");
    EXPECT_EQ(actions[2], readingMenuBreak);
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_FALSE(entries[0].bold);
    EXPECT_TRUE(entries[1].bold);

    actions[1]->trigger();
    EXPECT_EQ(controller.currentPlan(), shell.id(1));
    EXPECT_EQ(shell.page, kovara::ui::Page::Reading);

    // An entry or a page left naming a plan deleted elsewhere is handled as a
    // position beyond the last plan: the entry names the position, the page
    // forgets the plan quietly.
    const PlanId gone("{00000000-0000-4000-8000-000000000000}");
    shell.scripted.expectMessage("Specified plan index is out of range (2 requested, 1 max)");
    runGuarded(shell.scripted, [&] { controller.openPlanEntry(gone); });
    controller.showPlanDay(gone);
    EXPECT_TRUE(controller.currentPlan().isNull());
    EXPECT_FALSE(Page().markReadButton->isEnabled());
    EXPECT_FALSE(Page().planManagerButton->isEnabled());
    shell.scripted.expectMessage("Plan index out of range (-1)");
    Page().markReadButton->click(); // disabled: nothing happens
    runGuarded(shell.scripted, [&] { controller.onMarkReadClicked(); });
}

TEST_F(PlanControllerTest, PrintoutGoesThroughTheHiddenViewer)
{
    const int plan = shell.addPlan("Psalms & Hymns", 3, 2);
    shell.plans->setDayDone(plan, 2, true);
    controller.refreshPlanViews(shell.id(plan));
    EXPECT_TRUE(controller.planManager()->canPrintWhole());
    shell.prefs->textFontName = "Courier";
    shell.prefs->textFontSize = 15;

    shell.scripted.expectPrint(false);
    controller.printPlanDetails(shell.id(plan));
    EXPECT_EQ(controller.printViewer()->pageText(), "");

    QPrinter printer;
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(QString::fromStdString(shell.dir.file("plan.pdf")));
    controller.printPlanDetails(shell.id(plan), printer);
    const QString html = controller.printViewer()->pageText();
    EXPECT_EQ(html.toStdString(), planPrintoutHtml(*shell.plans, plan, *shell.bible_, [](sys_days d) {
                  return shortDateBytes(d);
              }));
    EXPECT_TRUE(html.startsWith("<p><b>Psalms &amp; Hymns</b></p>\r\n"));
    EXPECT_TRUE(html.contains("<td>&nbsp;<b>X</b>&nbsp;</td><td>&nbsp;2&nbsp;</td><td>&nbsp;" +
                              shortDateText(shell.fixedClock.today() - std::chrono::days(1)) + "&nbsp;</td>"));
    // As laid out for printing: one header row that repeats on each page,
    // and cell borders drawn once.
    QTextTable* table = nullptr;
    for (QTextBlock b = controller.printViewer()->document()->begin(); b.isValid() && !table; b = b.next())
        table = QTextCursor(b).currentTable();
    ASSERT_TRUE(table);
    EXPECT_EQ(table->rows(), 4);
    EXPECT_EQ(table->format().headerRowCount(), 1);
    EXPECT_TRUE(table->format().borderCollapse());
    EXPECT_FALSE(controller.printViewer()->isVisible());
    EXPECT_EQ(controller.printViewer()->defaultFontName(), "Courier");
    EXPECT_EQ(controller.printViewer()->defaultFontSize(), 15);
    EXPECT_GT(QFileInfo(QString::fromStdString(shell.dir.file("plan.pdf"))).size(), 0);
}

// What the controller and the plan manager change is told to the session,
// with the plan's id where one plan changed; the views that made the change
// stay as they are.
TEST_F(PlanControllerTest, ChangesAreToldToTheSessionWithThePlanChanged)
{
    shell.addPlan("Alpha", 3, 0);
    shell.addPlan("Beta", 3, 0);
    const PlanId beta = shell.id(1);
    controller.refreshPlanViews(beta);
    std::vector<PlanId> told;
    QObject::connect(&shell.session(), &ObservableSession::plansChanged,
                     [&](const PlanId& plan) { told.push_back(plan); });

    controller.showPlanDay(beta);
    Page().markReadButton->click();
    EXPECT_EQ(controller.planManager()->currentPlan(), beta) << "the manager keeps its plan";
    shell.scripted.expectConfirm("Are you absolutely certain that you wish to permanantly delete plan \"Beta\"?", true);
    test::PlanManagerControls(*controller.planManager()).deletePlanButton->click();
    EXPECT_EQ(told, (std::vector<PlanId>{beta, PlanId()}));

    // A change made elsewhere (an import) refreshes the views.
    shell.addPlan("Gamma", 3, 0);
    shell.session().notifyPlansChanged();
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[1].plan, shell.id(1));
}

// Links on a page made before the plans were reloaded: one that carries the
// plan's id opens that plan wherever it now stands in the list; one that
// carries a position (the older form) reads the list as it is now.
TEST_F(PlanControllerTest, PlanLinksOpenThePlanTheyName)
{
    shell.addPlan("Beta", 3, 0);
    const PlanId beta = shell.id(0);
    shell.addPlan("Alpha", 3, 0); // Beta moves to position 1
    controller.refreshPlanViews(PlanId());

    controller.showPlanLink(beta);
    EXPECT_EQ(controller.currentPlan(), beta);
    EXPECT_EQ(Page().passage.titleLabel->text(), "Beta");
    controller.showPlanLink(0);
    EXPECT_EQ(Page().passage.titleLabel->text(), "Alpha");

    // A plan that is gone, by id or by a position at the count, is forgotten
    // quietly; a negative position names itself.
    for (const PlanLinkTarget& gone : {PlanLinkTarget(PlanId("{00000000-0000-4000-8000-000000000000}")),
                                       PlanLinkTarget(2)}) {
        controller.showPlanLink(beta);
        controller.showPlanLink(gone);
        EXPECT_TRUE(controller.currentPlan().isNull());
        EXPECT_FALSE(Page().markReadButton->isEnabled());
    }
    EXPECT_EQ(kovara::test::messageOf([&] { controller.showPlanLink(-1); }), "Plan index out of range: -1");
    // Catch-up links raise the store's range message for a plan that is gone.
    EXPECT_EQ(kovara::test::messageOf([&] { controller.catchUpLink(5); }), "Plan index out of range: 5");
    EXPECT_EQ(kovara::test::messageOf([&] { controller.catchUpLink(PlanId("{00000000-0000-4000-8000-000000000000}")); }),
              "Plan index out of range: 2");
}

} // namespace
} // namespace kovara::ui
