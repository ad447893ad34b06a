// The devotional frame: the "Faith's Checkbook" command, the date field, the
// missing-entry text, preferences and the errors of a date change.
#include "ui/content/devotional_page.h"
#include "ui/content/date_field.h"
#include "ui/base/core_names.h"

#include "core/base/datetime.h"
#include "core/content/devotional_store.h"
#include "fixtures.h"
#include "scripted_dialogs.h"
#include "test_preferences.h"
#include "ui/base/html_viewer.h"

#include <QAction>
#include <QApplication>
#include <QTextDocument>
#include <QDateEdit>
#include <QLineEdit>
#include <QTest>
#include <QLabel>
#include <QToolButton>
#include <gtest/gtest.h>

namespace kovara::ui {
namespace {

// The page's widgets, found by their object names.
struct DevotionalControls {
    explicit DevotionalControls(const DevotionalPage& page)
        : titleLabel(page.findChild<QLabel*>("devotionalTitleLabel")),
          authorLabel(page.findChild<QLabel*>("devotionalAuthorLabel")),
          dateEdit(page.findChild<QDateEdit*>("devotionalDateEdit")),
          todayButton(page.findChild<QToolButton*>("todayButton")),
          viewer(page.findChild<HtmlViewer*>("devotionalViewer")),
          copyAction(page.findChild<QAction*>("copyAction")),
          selectAllAction(page.findChild<QAction*>("selectAllAction"))
    {
    }

    QLabel* titleLabel;
    QLabel* authorLabel;
    QDateEdit* dateEdit;
    QToolButton* todayButton;
    HtmlViewer* viewer;
    QAction* copyAction;
    QAction* selectAllAction;
};

class DevotionalPageTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        openDatabase(dir.file("devotional.kova2"), db);
        execSQL(db, "CREATE TABLE faithsCheckbook (entryIndex INTEGER PRIMARY KEY, month INTEGER, day INTEGER, "
                    "devotionalText TEXT);"
                    "INSERT INTO faithsCheckbook VALUES (1,1,1,'<p>First of January</p>');"
                    "INSERT INTO faithsCheckbook VALUES (2,3,5,'<p>Fifth of March</p>');"
                    "INSERT INTO faithsCheckbook VALUES (3,12,31,'<p>Last of December</p>');"
                    "INSERT INTO faithsCheckbook VALUES (4,6,15,'<p>Mid June</p>');");
        devotional = std::make_unique<DevotionalStore>("faithsCheckbook", "Faith's Checkbook", "R. M. Halvard", db);
        frame = std::make_unique<DevotionalPage>(clock, dialogs);
        frame->assignPreferences(*prefs);
        controls = std::make_unique<DevotionalControls>(*frame);
    }
    void TearDown() override
    {
        frame.reset();
        devotional.reset();
        closeDatabase(db);
    }
    std::string shown() const { return controls->viewer->pageText().toStdString(); }

    kovara::test::TempDir dir;
    sqlite3* db = nullptr;
    FixedClock clock{makeMoment(2024, 6, 15, 9, 30, 0)};
    test::ScriptedDialogs dialogs;
    std::unique_ptr<Preferences> prefs = test::makeTestPreferences();
    std::unique_ptr<DevotionalStore> devotional;
    std::unique_ptr<DevotionalPage> frame;
    std::unique_ptr<DevotionalControls> controls;
};

TEST(DateFieldTest, ReadsDatesAsPeopleTypeThem)
{
    const QLocale english(QLocale::English, QLocale::UnitedStates);
    const QLocale german(QLocale::German, QLocale::Germany);
    struct Case {
        const char* text;
        QString format;
        QLocale locale;
        QDate date; // invalid: not a date
    };
    const QString us = QStringLiteral("M/d/yyyy");
    const QString de = QStringLiteral("dd.MM.yyyy");
    const Case cases[] = {
        {"29 Feb 2028", us, english, QDate(2028, 2, 29)},
        {"29 february 2028", us, english, QDate(2028, 2, 29)},
        {"Feb 29, 2028", us, english, QDate(2028, 2, 29)},
        {"February 29th 2028", us, english, QDate(2028, 2, 29)},
        {"2028-02-29", us, english, QDate(2028, 2, 29)},
        {"2/29/2028", us, english, QDate(2028, 2, 29)},
        {" 3/4/2028 ", us, english, QDate(2028, 3, 4)},
        {"3/4/2028", de, german, QDate(2028, 4, 3)},
        {"29.02.2028", de, german, QDate(2028, 2, 29)},
        {"29. Februar 2028", de, german, QDate(2028, 2, 29)},
        {"29 Feb 2028", de, german, QDate(2028, 2, 29)}, // English names too
        {"31 Feb 2028", us, english, QDate()},
        {"29 Feb 2027", us, english, QDate()},
        {"29 Feb 28", us, english, QDate()},
        {"29 Fe 2028", us, english, QDate()},
        {"29 Feb Mar 2028", us, english, QDate()},
        {"tomorrow", us, english, QDate()},
        {"", us, english, QDate()},
        {"1/2/3/2028", us, english, QDate()},
    };
    for (const Case& c : cases)
        EXPECT_EQ(DateField::parseTypedDate(QString::fromUtf8(c.text), c.format, c.locale), c.date) << c.text;
}

TEST_F(DevotionalPageTest, ADateTypedOverTheFieldOpensThatDay)
{
    frame->setDevotional(*devotional);
    frame->setDate(QDate(2026, 2, 10)); // a month of 28 days
    frame->show();
    controls->dateEdit->setFocus();
    QLineEdit* text = controls->dateEdit->findChild<QLineEdit*>();
    ASSERT_TRUE(text);
    text->selectAll();
    QTest::keyClicks(controls->dateEdit, QStringLiteral("29 Feb 2028"));
    QTest::keyClick(controls->dateEdit, Qt::Key_Return);
    EXPECT_EQ(frame->date(), QDate(2028, 2, 29));

    // Text that is no date puts the date back.
    text->selectAll();
    QTest::keyClicks(controls->dateEdit, QStringLiteral("30 Feb 2028"));
    QTest::keyClick(controls->dateEdit, Qt::Key_Return);
    EXPECT_EQ(frame->date(), QDate(2028, 2, 29));
    EXPECT_EQ(text->text(), QLocale().toString(QDate(2028, 2, 29), controls->dateEdit->displayFormat()));
}

TEST_F(DevotionalPageTest, DateChangesDoNothingBeforeADevotionalIsAttached)
{
    frame->setDate(QDate(2024, 3, 5));
    EXPECT_EQ(shown(), "");
    EXPECT_EQ(controls->titleLabel->text(), "Devotional Title");
    EXPECT_EQ(controls->authorLabel->text(), "Devotional Author");
}

TEST_F(DevotionalPageTest, CommandShowsTodayAndRecordsTheDayOfTheYear)
{
    struct Case {
        sys_seconds now;
        QDate date;
        int dayOfYear;
        std::string page;
    } cases[] = {
        {makeMoment(2024, 12, 31, 23, 59, 0), QDate(2024, 12, 31), 366, "<p>Last of December</p>"},
        {makeMoment(2025, 1, 1, 0, 0, 0), QDate(2025, 1, 1), 1, "<p>First of January</p>"},
        {makeMoment(2023, 12, 31, 12, 0, 0), QDate(2023, 12, 31), 365, "<p>Last of December</p>"},
    };
    for (const Case& c : cases) {
        clock.set(c.now);
        frame->openFaithsCheckbook(*devotional, *prefs);
        EXPECT_EQ(frame->date(), c.date);
        EXPECT_EQ(prefs->lastFaithsCheckbookRead, c.dayOfYear);
        EXPECT_EQ(shown(), c.page);
    }
    EXPECT_EQ(controls->titleLabel->text(), "Faith's Checkbook");
    EXPECT_EQ(controls->authorLabel->text(), "by R. M. Halvard");
}

TEST_F(DevotionalPageTest, PickingADateShowsItsEntryWithoutTouchingTheRecord)
{
    frame->openFaithsCheckbook(*devotional, *prefs);
    EXPECT_EQ(shown(), "<p>Mid June</p>");
    EXPECT_EQ(prefs->lastFaithsCheckbookRead, 167);

    frame->setDate(QDate(2024, 3, 5));
    EXPECT_EQ(shown(), "<p>Fifth of March</p>");
    frame->setDate(QDate(2024, 2, 29));
    EXPECT_EQ(shown(), "DevotionalStore::entryByDay Error: no entry found for 2-29 in Faith's Checkbook");
    clock.set(startOf(makeDate(2024, 12, 31)));
    controls->todayButton->click();
    EXPECT_EQ(shown(), "<p>Last of December</p>");
    EXPECT_EQ(prefs->lastFaithsCheckbookRead, 167);
}

TEST_F(DevotionalPageTest, TheFirstCommandShowsAnEntryEvenWhenTheFieldHoldsTodayAlready)
{
    frame->setDate(QDate(2024, 6, 15));
    frame->openFaithsCheckbook(*devotional, *prefs);
    EXPECT_EQ(shown(), "<p>Mid June</p>");
}

TEST_F(DevotionalPageTest, PreferencesReloadTheShownEntryWithNewDefaults)
{
    frame->openFaithsCheckbook(*devotional, *prefs);
    prefs->textFontName = "Courier";
    prefs->textFontSize = 14;
    prefs->textFontColor = 0x008000;
    prefs->textBackColor = 0xFFFFFF;
    frame->assignPreferences(*prefs);
    EXPECT_EQ(shown(), "<p>Mid June</p>");
    EXPECT_EQ(controls->viewer->defaultFontName(), "Courier");
    EXPECT_EQ(controls->viewer->defaultFontSize(), 14);
    EXPECT_EQ(controls->viewer->defaultFontColor(), QColor(0, 128, 0));
    EXPECT_EQ(controls->viewer->defaultBackground(), QColor(255, 255, 255));
}

TEST_F(DevotionalPageTest, EngineErrorsOfADateChangeAreShownNotRaised)
{
    frame->openFaithsCheckbook(*devotional, *prefs);
    execSQL(db, "DROP TABLE faithsCheckbook;");
    dialogs.expectMessage("SQLite Error 1 - no such table: faithsCheckbook");
    frame->setDate(QDate(2024, 3, 5));
    EXPECT_EQ(shown(), "<p>Mid June</p>");
}

TEST_F(DevotionalPageTest, CopyNeedsASelection)
{
    frame->openFaithsCheckbook(*devotional, *prefs);
    EXPECT_FALSE(controls->copyAction->isEnabled());
    controls->selectAllAction->trigger();
    EXPECT_TRUE(controls->copyAction->isEnabled());
}

TEST_F(DevotionalPageTest, ZoomKeysSizeTheTextAndKeepItInThePreferences)
{
    frame->show();
    QApplication::setActiveWindow(frame.get());
    ASSERT_TRUE(QTest::qWaitForWindowActive(frame.get()));
    QTest::keyClick(controls->viewer, Qt::Key_Equal, Qt::ControlModifier);
    QTest::keyClick(controls->viewer, Qt::Key_Equal, Qt::ControlModifier);
    EXPECT_EQ(prefs->textZoom, 120);
    EXPECT_DOUBLE_EQ(controls->viewer->document()->defaultFont().pointSizeF(), 12.0);
    frame->assignPreferences(*prefs); // the page shown again at the same zoom
    EXPECT_DOUBLE_EQ(controls->viewer->document()->defaultFont().pointSizeF(), 12.0);
    QTest::keyClick(controls->viewer, Qt::Key_0, Qt::ControlModifier);
    EXPECT_EQ(prefs->textZoom, 100);
    EXPECT_DOUBLE_EQ(controls->viewer->document()->defaultFont().pointSizeF(), 10.0);
}

} // namespace
} // namespace kovara::ui
