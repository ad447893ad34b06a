// The new-plan dialog: the linked book and chapter lists, the completion date,
// the summary line, the custom day texts, templates and the refusals.
#include "ui/plans/new_plan_dialog.h"
#include "ui/base/core_names.h"

#include "plan_test_shell.h"
#include "ui/base/dates.h"

#include <QComboBox>
#include <QDateEdit>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include "new_plan_controls.h"
#include <gtest/gtest.h>

namespace kovara::ui {
namespace {

using Strings = std::vector<std::string>;

class NewPlanDialogTest : public ::testing::Test {
protected:
    NewPlanDialogTest()
    {
        dlg.setBible(*shell.bible_);
        dlg.planFileName = shell.dir.file("readplans.kova2");
    }
    QDate today() const { return toQDate(shell.fixedClock.today()); }
    void chooseCustom(int startBook, int startChapter, int endBook, int endChapter, int daysAhead)
    {
        test::NewPlanControls(dlg).customPlanRadio->click();
        test::NewPlanControls(dlg).startBookCombo->setCurrentIndex(startBook - 1);
        test::NewPlanControls(dlg).endBookCombo->setCurrentIndex(endBook - 1);
        test::NewPlanControls(dlg).startChapterCombo->setCurrentIndex(startChapter - 1);
        test::NewPlanControls(dlg).endChapterCombo->setCurrentIndex(endChapter - 1);
        test::NewPlanControls(dlg).completionDateEdit->setDate(today().addDays(daysAhead));
    }

    test::PlanTestShell shell;
    test::ScriptedNewPlanDlg dlg{shell.scripted, shell.fixedClock};
};

TEST_F(NewPlanDialogTest, FirstUseOffersTheWholeFirstBookAndTheSevenTypesPlan)
{
    EXPECT_TRUE(test::NewPlanControls(dlg).sevenTypesPlanRadio->isChecked());
    EXPECT_FALSE(test::NewPlanControls(dlg).startBookCombo->isEnabled());
    EXPECT_EQ(test::NewPlanControls(dlg).startBookCombo->currentText(), "Alpha");
    EXPECT_EQ(test::NewPlanControls(dlg).endBookCombo->currentText(), "Alpha");
    EXPECT_EQ(test::NewPlanControls(dlg).startChapterCombo->currentText(), "1");
    EXPECT_EQ(test::NewPlanControls(dlg).endChapterCombo->currentText(), "3");
    EXPECT_EQ(test::NewPlanControls(dlg).endChapterCombo->count(), 3);
    EXPECT_EQ(test::NewPlanControls(dlg).completionDateEdit->date(), today());
    EXPECT_EQ(test::NewPlanControls(dlg).customDetailsLabel->text(), "(80 total verses; 1 days; 80 verses per day.)");

    test::NewPlanControls(dlg).customPlanRadio->click();
    EXPECT_TRUE(test::NewPlanControls(dlg).startBookCombo->isEnabled());
    EXPECT_TRUE(test::NewPlanControls(dlg).customDetailsLabel->isEnabled());
}

TEST_F(NewPlanDialogTest, LinkedListsKeepTheStretchNonEmpty)
{
    test::NewPlanControls(dlg).customPlanRadio->click();
    // A start book after the end book takes the end book along, to its last
    // chapter.
    test::NewPlanControls(dlg).startBookCombo->setCurrentIndex(1);
    EXPECT_EQ(test::NewPlanControls(dlg).endBookCombo->currentText(), "Beta");
    EXPECT_EQ(test::NewPlanControls(dlg).endChapterCombo->count(), 2);
    EXPECT_EQ(test::NewPlanControls(dlg).endChapterCombo->currentText(), "2");
    EXPECT_EQ(dlg.startVerseIndex(), 81);
    EXPECT_EQ(dlg.endVerseIndex(), 102);

    // An end book before the start book moves the start to it, chapter 1.
    test::NewPlanControls(dlg).startChapterCombo->setCurrentIndex(1);
    test::NewPlanControls(dlg).endBookCombo->setCurrentIndex(0);
    EXPECT_EQ(test::NewPlanControls(dlg).startBookCombo->currentText(), "Alpha");
    EXPECT_EQ(test::NewPlanControls(dlg).startChapterCombo->count(), 3);
    EXPECT_EQ(test::NewPlanControls(dlg).startChapterCombo->currentText(), "1");
    EXPECT_EQ(test::NewPlanControls(dlg).endChapterCombo->currentText(), "3");

    // Within one book the chapters follow each other both ways.
    test::NewPlanControls(dlg).endChapterCombo->setCurrentIndex(1);
    test::NewPlanControls(dlg).startChapterCombo->setCurrentIndex(2);
    EXPECT_EQ(test::NewPlanControls(dlg).endChapterCombo->currentText(), "3");
    test::NewPlanControls(dlg).endChapterCombo->setCurrentIndex(0);
    EXPECT_EQ(test::NewPlanControls(dlg).startChapterCombo->currentText(), "1");
    EXPECT_EQ(dlg.startVerseIndex(), 1);
    EXPECT_EQ(dlg.endVerseIndex(), 31);
    EXPECT_EQ(test::NewPlanControls(dlg).customDetailsLabel->text(), "(31 total verses; 1 days; 31 verses per day.)");
}

TEST_F(NewPlanDialogTest, ReachingTheOtherBookKeepsTheChosenChapters)
{
    test::NewPlanControls(dlg).customPlanRadio->click();
    // Alpha 1 to Beta 1; moving the start to Beta leaves the end at Beta 1.
    test::NewPlanControls(dlg).endBookCombo->setCurrentIndex(1);
    test::NewPlanControls(dlg).endChapterCombo->setCurrentIndex(0);
    test::NewPlanControls(dlg).startBookCombo->setCurrentIndex(1);
    EXPECT_EQ(test::NewPlanControls(dlg).endBookCombo->currentText(), "Beta");
    EXPECT_EQ(test::NewPlanControls(dlg).endChapterCombo->currentText(), "1");
    EXPECT_EQ(dlg.startVerseIndex(), 81);
    EXPECT_EQ(dlg.endVerseIndex(), 90);

    // Alpha 2 to Beta 1; moving the end to Alpha leaves the start at Alpha 2
    // (the end goes to Alpha's last chapter, as any new end book does).
    test::NewPlanControls(dlg).startBookCombo->setCurrentIndex(0);
    test::NewPlanControls(dlg).startChapterCombo->setCurrentIndex(1);
    test::NewPlanControls(dlg).endBookCombo->setCurrentIndex(0);
    EXPECT_EQ(test::NewPlanControls(dlg).startBookCombo->currentText(), "Alpha");
    EXPECT_EQ(test::NewPlanControls(dlg).startChapterCombo->currentText(), "2");
    EXPECT_EQ(test::NewPlanControls(dlg).endChapterCombo->currentText(), "3");
    EXPECT_EQ(dlg.startVerseIndex(), 32);
    EXPECT_EQ(dlg.endVerseIndex(), 80);
}

TEST_F(NewPlanDialogTest, CompletionDateNeverGoesBeforeToday)
{
    test::NewPlanControls(dlg).customPlanRadio->click();
    test::NewPlanControls(dlg).completionDateEdit->setDate(today().addDays(-3));
    EXPECT_EQ(test::NewPlanControls(dlg).completionDateEdit->date(), today());
    test::NewPlanControls(dlg).completionDateEdit->setDate(today().addDays(4));
    EXPECT_EQ(test::NewPlanControls(dlg).completionDateEdit->date(), today().addDays(4));

    // A date chosen days ago that has since passed is today again when the
    // dialog opens.
    shell.fixedClock.set(test::PlanTestShell::kNow + std::chrono::days(10));
    ASSERT_FALSE(dlg.execute());
    EXPECT_EQ(test::NewPlanControls(dlg).completionDateEdit->date(), toQDate(shell.fixedClock.today()));
}

TEST_F(NewPlanDialogTest, CustomPlansGetTheirDayTextsOrAreRefused)
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
        dlg.planDays = {"earlier"};
        chooseCustom(c.startBook, c.startChapter, c.endBook, c.endChapter, c.daysAhead);
        EXPECT_EQ(test::NewPlanControls(dlg).customDetailsLabel->text(), c.details);
        if (c.days.empty())
            shell.scripted.expectMessage(
                "Based on the completion date you have chosen, this plan would have less than one verse per day. A "
                "reading plan must have at least one verse per day. Please adjust your completion date.");
        dlg.script = [](test::ScriptedNewPlanDlg& d) { test::NewPlanControls(d).createPlanButton->click(); };
        EXPECT_EQ(dlg.execute(), !c.days.empty());
        EXPECT_EQ(dlg.planDays, c.days.empty() ? Strings{"earlier"} : c.days);
        EXPECT_TRUE(shell.scripted.done());
    }
}

TEST_F(NewPlanDialogTest, TemplatesAndTheirFailures)
{
    dlg.script = [](test::ScriptedNewPlanDlg& d) { test::NewPlanControls(d).createPlanButton->click(); };
    EXPECT_TRUE(dlg.execute());
    EXPECT_EQ(dlg.planDays, (Strings{"1-31", "32-56", "57-80", "81-102"}));
    test::NewPlanControls(dlg).otNtPlanRadio->click();
    EXPECT_TRUE(dlg.execute());
    EXPECT_EQ(dlg.planDays.size(), 3u);

    // A template that cannot be read shows its message and keeps the dialog
    // open with the earlier days.
    kovara::test::TempDir other;
    test::makeTemplateDatabase(other.file("readplans.kova2"));
    {
        sqlite3* db = nullptr;
        openDatabase(other.file("readplans.kova2"), db);
        execSQL(db, "DELETE FROM otntDaily;");
        closeDatabase(db);
    }
    dlg.planFileName = other.file("readplans.kova2");
    shell.scripted.expectMessage(QString::fromStdString("No lines returned for " + dlg.planFileName + ", otntDaily"));
    EXPECT_FALSE(dlg.execute());
    EXPECT_EQ(dlg.planDays.size(), 3u);

    // The dialog does not open without a template file or a Bible.
    dlg.planFileName = other.file("missing.kova2");
    EXPECT_EQ(kovara::test::messageOf([&] { dlg.execute(); }),
              "Reading plan file " + dlg.planFileName + " not found.");
    test::ScriptedNewPlanDlg fresh(shell.scripted, shell.fixedClock);
    fresh.planFileName = shell.dir.file("readplans.kova2");
    EXPECT_EQ(kovara::test::messageOf([&] { fresh.execute(); }), "Bible not assigned to checkNewPlanSources");
    EXPECT_EQ(dlg.shown, 3);
    EXPECT_EQ(fresh.shown, 0);
}

} // namespace
} // namespace kovara::ui
