// The new-plan dialog: the linked book and chapter lists, the completion date,
// the summary line, the custom day texts, templates and the refusals.
#include "ui/plans/formNewPlan.h"

#include "plan_test_shell.h"
#include "ui/widgets/dates.h"

#include <QComboBox>
#include <QDateEdit>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <gtest/gtest.h>

namespace kovara::ui {
namespace {

using Strings = std::vector<std::string>;

class NewPlanDlgTest : public ::testing::Test {
protected:
    NewPlanDlgTest()
    {
        dlg.SetBible(*shell.bible);
        dlg.PlanFileName = shell.dir.File("readplans.kova2");
    }
    QDate Today() const { return ToQDate(shell.clock.Today()); }
    void ChooseCustom(int startBook, int startChapter, int endBook, int endChapter, int daysAhead)
    {
        dlg.RadioButtonPlanCustom->click();
        dlg.RzComboBoxStartBook->setCurrentIndex(startBook - 1);
        dlg.RzComboBoxEndBook->setCurrentIndex(endBook - 1);
        dlg.RzComboBoxStartChapter->setCurrentIndex(startChapter - 1);
        dlg.RzComboBoxEndChapter->setCurrentIndex(endChapter - 1);
        dlg.RzDateTimeEditCustomComplete->setDate(Today().addDays(daysAhead));
    }

    test::PlanTestShell shell;
    test::ScriptedNewPlanDlg dlg{shell.dialogs, shell.clock};
};

TEST_F(NewPlanDlgTest, FirstUseOffersTheWholeFirstBookAndTheSevenTypesPlan)
{
    EXPECT_TRUE(dlg.RadioButtonPlanSeven->isChecked());
    EXPECT_FALSE(dlg.RzComboBoxStartBook->isEnabled());
    EXPECT_EQ(dlg.RzComboBoxStartBook->currentText(), "Alpha");
    EXPECT_EQ(dlg.RzComboBoxEndBook->currentText(), "Alpha");
    EXPECT_EQ(dlg.RzComboBoxStartChapter->currentText(), "1");
    EXPECT_EQ(dlg.RzComboBoxEndChapter->currentText(), "3");
    EXPECT_EQ(dlg.RzComboBoxEndChapter->count(), 3);
    EXPECT_EQ(dlg.RzDateTimeEditCustomComplete->date(), Today());
    EXPECT_EQ(dlg.LabelCustomDetails->text(), "(80 total verses; 1 days; 80 verses per day.)");

    dlg.RadioButtonPlanCustom->click();
    EXPECT_TRUE(dlg.RzComboBoxStartBook->isEnabled());
    EXPECT_TRUE(dlg.LabelCustomDetails->isEnabled());
}

TEST_F(NewPlanDlgTest, LinkedListsKeepTheStretchNonEmpty)
{
    dlg.RadioButtonPlanCustom->click();
    // A start book after the end book takes the end book along, to its last
    // chapter.
    dlg.RzComboBoxStartBook->setCurrentIndex(1);
    EXPECT_EQ(dlg.RzComboBoxEndBook->currentText(), "Beta");
    EXPECT_EQ(dlg.RzComboBoxEndChapter->count(), 2);
    EXPECT_EQ(dlg.RzComboBoxEndChapter->currentText(), "2");
    EXPECT_EQ(dlg.GetStartVerseIndex(), 81);
    EXPECT_EQ(dlg.GetEndVerseIndex(), 102);

    // An end book before the start book moves the start to it, chapter 1.
    dlg.RzComboBoxStartChapter->setCurrentIndex(1);
    dlg.RzComboBoxEndBook->setCurrentIndex(0);
    EXPECT_EQ(dlg.RzComboBoxStartBook->currentText(), "Alpha");
    EXPECT_EQ(dlg.RzComboBoxStartChapter->count(), 3);
    EXPECT_EQ(dlg.RzComboBoxStartChapter->currentText(), "1");
    EXPECT_EQ(dlg.RzComboBoxEndChapter->currentText(), "3");

    // Within one book the chapters follow each other both ways.
    dlg.RzComboBoxEndChapter->setCurrentIndex(1);
    dlg.RzComboBoxStartChapter->setCurrentIndex(2);
    EXPECT_EQ(dlg.RzComboBoxEndChapter->currentText(), "3");
    dlg.RzComboBoxEndChapter->setCurrentIndex(0);
    EXPECT_EQ(dlg.RzComboBoxStartChapter->currentText(), "1");
    EXPECT_EQ(dlg.GetStartVerseIndex(), 1);
    EXPECT_EQ(dlg.GetEndVerseIndex(), 31);
    EXPECT_EQ(dlg.LabelCustomDetails->text(), "(31 total verses; 1 days; 31 verses per day.)");
}

TEST_F(NewPlanDlgTest, CompletionDateNeverGoesBeforeToday)
{
    dlg.RadioButtonPlanCustom->click();
    dlg.RzDateTimeEditCustomComplete->setDate(Today().addDays(-3));
    EXPECT_EQ(dlg.RzDateTimeEditCustomComplete->date(), Today());
    dlg.RzDateTimeEditCustomComplete->setDate(Today().addDays(4));
    EXPECT_EQ(dlg.RzDateTimeEditCustomComplete->date(), Today().addDays(4));

    // A date chosen days ago that has since passed is today again when the
    // dialog opens.
    shell.clock.Set(test::PlanTestShell::kNow + 10);
    ASSERT_FALSE(dlg.Execute());
    EXPECT_EQ(dlg.RzDateTimeEditCustomComplete->date(), ToQDate(shell.clock.Today()));
}

TEST_F(NewPlanDlgTest, CustomPlansGetTheirDayTextsOrAreRefused)
{
    struct Case {
        int startBook, startChapter, endBook, endChapter, daysAhead;
        const char* details;
        Strings days; // empty: refused
    };
    const Case cases[] = {
        {2, 1, 2, 1, 2, "(10 total verses; 3 days; About 3 verses per day.)", {"81-84", "85-87", "88-90"}},
        {1, 1, 1, 1, 0, "(31 total verses; 1 days; 31 verses per day.)", {"1-31"}},
        {2, 1, 2, 1, 3, "(10 total verses; 4 days; About 2 verses per day.)", {"81-83", "84-86", "87-88", "89-90"}},
        {2, 1, 2, 1, 10, "(10 total verses; 11 days; Less than one verse per day.)", {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.details);
        dlg.PlanDays = {"earlier"};
        ChooseCustom(c.startBook, c.startChapter, c.endBook, c.endChapter, c.daysAhead);
        EXPECT_EQ(dlg.LabelCustomDetails->text(), c.details);
        if (c.days.empty())
            shell.dialogs.ExpectMessage(
                "Based on the completion date you have chosen, this plan would have less than one verse per day. A "
                "reading plan must have at least one verse per day. Please adjust your completion date.");
        dlg.script = [](test::ScriptedNewPlanDlg& d) { d.ButtonCreatePlan->click(); };
        EXPECT_EQ(dlg.Execute(), !c.days.empty());
        EXPECT_EQ(dlg.PlanDays, c.days.empty() ? Strings{"earlier"} : c.days);
        EXPECT_TRUE(shell.dialogs.Done());
    }
}

TEST_F(NewPlanDlgTest, TemplatesAndTheirFailures)
{
    dlg.script = [](test::ScriptedNewPlanDlg& d) { d.ButtonCreatePlan->click(); };
    EXPECT_TRUE(dlg.Execute());
    EXPECT_EQ(dlg.PlanDays, (Strings{"1-31", "32-56", "57-80", "81-102"}));
    dlg.RadioButtonPlanOtNt->click();
    EXPECT_TRUE(dlg.Execute());
    EXPECT_EQ(dlg.PlanDays.size(), 3u);

    // A template that cannot be read shows its message and keeps the dialog
    // open with the earlier days.
    kovara::test::TempDir other;
    test::MakeTemplateDatabase(other.File("readplans.kova2"));
    {
        sqlite3* db = nullptr;
        OpenDatabase(other.File("readplans.kova2"), db);
        ExecSQL(db, "DELETE FROM otntDaily;");
        CloseDatabase(db);
    }
    dlg.PlanFileName = other.File("readplans.kova2");
    shell.dialogs.ExpectMessage(QString::fromStdString("No lines returned for " + dlg.PlanFileName + ", otntDaily"));
    EXPECT_FALSE(dlg.Execute());
    EXPECT_EQ(dlg.PlanDays.size(), 3u);

    // The dialog does not open without a template file or a Bible.
    dlg.PlanFileName = other.File("missing.kova2");
    EXPECT_EQ(kovara::test::MessageOf([&] { dlg.Execute(); }),
              "Reading plan file " + dlg.PlanFileName + " not found.");
    test::ScriptedNewPlanDlg fresh(shell.dialogs, shell.clock);
    fresh.PlanFileName = shell.dir.File("readplans.kova2");
    EXPECT_EQ(kovara::test::MessageOf([&] { fresh.Execute(); }), "Bible not assigned to TFormNewPlanDlg");
    EXPECT_EQ(dlg.shown, 3);
    EXPECT_EQ(fresh.shown, 0);
}

} // namespace
} // namespace kovara::ui
