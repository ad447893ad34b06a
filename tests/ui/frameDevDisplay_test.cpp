// The devotional frame: the "Faith's Checkbook" command, the date field, the
// missing-entry text, preferences and the errors of a date change.
#include "ui/content/frameDevDisplay.h"

#include "base/datetime.h"
#include "content/kova_devotional.h"
#include "fixtures.h"
#include "scripted_dialogs.h"
#include "test_preferences.h"
#include "ui/widgets/html_viewer.h"

#include <QAction>
#include <QDateEdit>
#include <QLabel>
#include <QToolButton>
#include <gtest/gtest.h>

namespace kovara::ui {
namespace {

class FrameDevDisplayTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        OpenDatabase(dir.File("devotional.kova2"), db);
        ExecSQL(db, "CREATE TABLE faithsCheckbook (entryIndex INTEGER PRIMARY KEY, month INTEGER, day INTEGER, "
                    "devotionalText TEXT);"
                    "INSERT INTO faithsCheckbook VALUES (1,1,1,'<p>First of January</p>');"
                    "INSERT INTO faithsCheckbook VALUES (2,3,5,'<p>Fifth of March</p>');"
                    "INSERT INTO faithsCheckbook VALUES (3,12,31,'<p>Last of December</p>');"
                    "INSERT INTO faithsCheckbook VALUES (4,6,15,'<p>Mid June</p>');");
        devotional = std::make_unique<TKOVADevotional>("faithsCheckbook", "Faith's Checkbook", "R. M. Halvard", db);
        frame = std::make_unique<TFrameKOVADevotionalDisplay>(clock, dialogs);
        frame->AssignPreferences(*prefs);
    }
    void TearDown() override
    {
        frame.reset();
        devotional.reset();
        CloseDatabase(db);
    }
    std::string Shown() const { return frame->HTMLViewer1->PageText().toStdString(); }

    kovara::test::TempDir dir;
    sqlite3* db = nullptr;
    FixedClock clock{EncodeDateTime(2024, 6, 15, 9, 30, 0)};
    test::ScriptedDialogs dialogs;
    std::unique_ptr<TKOVAPreferences> prefs = test::MakeTestPreferences();
    std::unique_ptr<TKOVADevotional> devotional;
    std::unique_ptr<TFrameKOVADevotionalDisplay> frame;
};

TEST_F(FrameDevDisplayTest, DateChangesDoNothingBeforeADevotionalIsAttached)
{
    frame->RzDateTimeEdit1->setDate(QDate(2024, 3, 5));
    EXPECT_EQ(Shown(), "");
    EXPECT_EQ(frame->LabelTitle->text(), "Devotional Title");
    EXPECT_EQ(frame->LabelAuthor->text(), "Devotional Author");
}

TEST_F(FrameDevDisplayTest, CommandShowsTodayAndRecordsTheDayOfTheYear)
{
    struct Case {
        TDateTime now;
        QDate date;
        int dayOfYear;
        std::string page;
    } cases[] = {
        {EncodeDateTime(2024, 12, 31, 23, 59, 0), QDate(2024, 12, 31), 366, "<p>Last of December</p>"},
        {EncodeDateTime(2025, 1, 1, 0, 0, 0), QDate(2025, 1, 1), 1, "<p>First of January</p>"},
        {EncodeDateTime(2023, 12, 31, 12, 0, 0), QDate(2023, 12, 31), 365, "<p>Last of December</p>"},
    };
    for (const Case& c : cases) {
        clock.Set(c.now);
        frame->OpenFaithsCheckbook(*devotional, *prefs);
        EXPECT_EQ(frame->RzDateTimeEdit1->date(), c.date);
        EXPECT_EQ(prefs->LastFaithsCheckbookRead, c.dayOfYear);
        EXPECT_EQ(Shown(), c.page);
    }
    EXPECT_EQ(frame->LabelTitle->text(), "Faith's Checkbook");
    EXPECT_EQ(frame->LabelAuthor->text(), "by R. M. Halvard");
}

TEST_F(FrameDevDisplayTest, PickingADateShowsItsEntryWithoutTouchingTheRecord)
{
    frame->OpenFaithsCheckbook(*devotional, *prefs);
    EXPECT_EQ(Shown(), "<p>Mid June</p>");
    EXPECT_EQ(prefs->LastFaithsCheckbookRead, 167);

    frame->RzDateTimeEdit1->setDate(QDate(2024, 3, 5));
    EXPECT_EQ(Shown(), "<p>Fifth of March</p>");
    frame->RzDateTimeEdit1->setDate(QDate(2024, 2, 29));
    EXPECT_EQ(Shown(), "TOVADevotional.GetEntryByDay Error: no entry found for 2-29 in Faith's Checkbook");
    clock.Set(EncodeDate(2024, 12, 31));
    frame->ButtonToday->click();
    EXPECT_EQ(Shown(), "<p>Last of December</p>");
    EXPECT_EQ(prefs->LastFaithsCheckbookRead, 167);
}

TEST_F(FrameDevDisplayTest, TheFirstCommandShowsAnEntryEvenWhenTheFieldHoldsTodayAlready)
{
    frame->RzDateTimeEdit1->setDate(QDate(2024, 6, 15));
    frame->OpenFaithsCheckbook(*devotional, *prefs);
    EXPECT_EQ(Shown(), "<p>Mid June</p>");
}

TEST_F(FrameDevDisplayTest, PreferencesReloadTheShownEntryWithNewDefaults)
{
    frame->OpenFaithsCheckbook(*devotional, *prefs);
    prefs->TextFontName = "Courier";
    prefs->TextFontSize = 14;
    prefs->TextFontColor = 0x008000;
    prefs->TextBackColor = 0xFFFFFF;
    frame->AssignPreferences(*prefs);
    EXPECT_EQ(Shown(), "<p>Mid June</p>");
    EXPECT_EQ(frame->HTMLViewer1->DefaultFontName(), "Courier");
    EXPECT_EQ(frame->HTMLViewer1->DefaultFontSize(), 14);
    EXPECT_EQ(frame->HTMLViewer1->DefaultFontColor(), QColor(0, 128, 0));
    EXPECT_EQ(frame->HTMLViewer1->DefaultBackground(), QColor(255, 255, 255));
}

TEST_F(FrameDevDisplayTest, EngineErrorsOfADateChangeAreShownNotRaised)
{
    frame->OpenFaithsCheckbook(*devotional, *prefs);
    ExecSQL(db, "DROP TABLE faithsCheckbook;");
    dialogs.ExpectMessage("SQLite Error 1 - no such table: faithsCheckbook");
    frame->RzDateTimeEdit1->setDate(QDate(2024, 3, 5));
    EXPECT_EQ(Shown(), "<p>Mid June</p>");
}

TEST_F(FrameDevDisplayTest, CopyNeedsASelection)
{
    frame->OpenFaithsCheckbook(*devotional, *prefs);
    EXPECT_FALSE(frame->ActionCopy->isEnabled());
    frame->ActionSelectAll->trigger();
    EXPECT_TRUE(frame->ActionCopy->isEnabled());
}

} // namespace
} // namespace kovara::ui
