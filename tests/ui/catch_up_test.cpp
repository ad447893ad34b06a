// Progress and catching up on the reading page and in the plan manager: the
// progress line and bar, the plan calendar, the three catch-up choices with
// Undo after "Keep my finish date", doubling up, and the calendar export.
#include "ui/plans/plan_controller.h"
#include "ui/base/core_names.h"

#include "plan_test_shell.h"
#include "ui/base/passage_view.h"
#include "ui/plans/catch_up_dialog.h"
#include "ui/plans/plan_calendar_view.h"
#include "ui/plans/plan_progress_text.h"
#include "ui/plans/reading_page.h"
#include "reading_page_controls.h"

#include <QApplication>
#include <QFile>
#include <QKeyEvent>
#include <QFileInfo>
#include <QFontMetrics>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include "plan_manager_controls.h"
#include <gtest/gtest.h>

namespace kovara::ui {
namespace {

class CatchUpTest : public ::testing::Test {
protected:
    CatchUpTest()
    {
        // A plan of 30 days started 20 days ago (today is day 21), 5 read.
        plan = shell.addPlan("Gospels", 30, 20);
        for (int day = 1; day <= 5; ++day)
            shell.plans->setDayDone(plan, day, true);
        controller.refreshPlanViews(shell.id(plan));
        controller.chooseCatchUp = [this](const CatchUpPreview& p) {
            preview = p;
            return choice;
        };
    }
    test::ReadingControls page() { return test::ReadingControls(*controller.readingPage()); }
    QString heading() { return page().passage.dayLabel->text(); }

    test::PlanTestShell shell;
    QWidget window;
    PlanController controller{shell, &window, new test::ScriptedNewPlanDlg(shell.scripted, shell.fixedClock, &window)};
    int plan = 0;
    std::optional<CatchUpChoice> choice;
    CatchUpPreview preview;
};

TEST_F(CatchUpTest, ReadingPageAndManagerShowProgressAndTheCatchUpButtonWhileBehind)
{
    controller.showPlanDay(shell.id(plan));
    // The five days were marked today: 25 left at 5 in the 21 days since the start.
    EXPECT_EQ(page().progressLabel->text(), "5 of 30 days read (16%) \u00B7 15 days behind \u00B7 at your pace of "
                                            "the last 30 days you will finish on " +
                                                longDateText(shell.fixedClock.today() + std::chrono::days(105)));
    EXPECT_EQ(page().progressBar->value(), 16);
    EXPECT_FALSE(page().catchUpButton->isHidden());

    PlanCalendarView& calendar = *test::PlanManagerControls(*controller.planManager()).calendarView;
    ASSERT_EQ(calendar.dayCount(), 30);
    EXPECT_EQ(calendar.states()[4], DayState::ReadPast);
    EXPECT_EQ(calendar.states()[5], DayState::UnreadPast);
    EXPECT_EQ(calendar.states()[20], DayState::UnreadToday);
    EXPECT_EQ(calendar.states()[21], DayState::UnreadFuture);
    EXPECT_EQ(calendar.dayAt(calendar.squarePosition(21) + QPoint(2, 2)), 21);
    // A screen reader hears what the squares show.
    EXPECT_EQ(calendar.accessibleName(), "Plan Calendar");
    EXPECT_EQ(calendar.accessibleDescription(), "5 of 30 days read, 15 earlier days still to read");
    EXPECT_TRUE(calendar.dayToolTip(6).startsWith("Day 6, ")) << calendar.dayToolTip(6).toStdString();
    EXPECT_TRUE(calendar.dayToolTip(6).endsWith(": Alpha 1:6")) << calendar.dayToolTip(6).toStdString();
    // A click opens the day.
    emit calendar.dayClicked(9);
    EXPECT_EQ(controller.currentPlanDay(), 9);
    EXPECT_EQ(shell.page, Page::Reading);

    // Up to date: no button.
    shell.plans->markDaysDoneThrough(plan, 21);
    controller.showPlanDay(shell.id(plan));
    EXPECT_TRUE(page().catchUpButton->isHidden());
    EXPECT_TRUE(page().progressLabel->text().contains(" \u00B7 up to date \u00B7 "));
}

// The month names over the calendar: the year change is named even where
// December began only a few columns earlier, no two names overlap, the
// widget is wide enough for the last one, and the weekdays are named at the
// left without moving a day's square away from where a click finds it.
TEST(PlanCalendarViewTest, MonthNamesShowTheYearChangeWithoutOverlapping)
{
    const struct {
        sys_days start;
        int days;
        QStringList labels; // the first few
    } cases[] = {
        {makeDate(2026, 12, 20), 40, {"Dec", "Jan 2027"}},
        {makeDate(2026, 12, 30), 40, {"Jan 2027"}},
        {makeDate(2026, 11, 1), 100, {"Nov 2026", "Dec", "Jan 2027", "Feb"}},
        {makeDate(2026, 12, 10), 1, {"Dec 2026"}},
    };
    for (const auto& c : cases) {
        PlanCalendarView calendar;
        PlanDays days;
        days.startDate = startOf(c.start);
        days.done.assign(static_cast<std::size_t>(c.days), false);
        calendar.setPlan(days, c.start, nullptr);
        const auto& labels = calendar.monthLabels();
        QStringList texts;
        for (std::size_t i = 0; i < labels.size() && texts.size() < c.labels.size(); ++i)
            texts << labels[i].text;
        const std::string where = longDateText(c.start).toStdString();
        EXPECT_EQ(texts, c.labels) << where;
        const QFontMetrics metrics(calendar.font());
        for (std::size_t i = 1; i < labels.size(); ++i)
            EXPECT_GT(labels[i].x, labels[i - 1].x + metrics.horizontalAdvance(labels[i - 1].text) * 3 / 4) << where;
        ASSERT_FALSE(labels.empty());
        EXPECT_GE(calendar.sizeHint().width(),
                  labels.back().x + metrics.horizontalAdvance(labels.back().text) * 3 / 4) << where;
        EXPECT_GT(calendar.squarePosition(1).x(), metrics.horizontalAdvance(QStringLiteral("Mon")) / 2) << where;
        EXPECT_EQ(calendar.dayAt(calendar.squarePosition(c.days) + QPoint(2, 2)), c.days) << where;
    }
}

// The days one by one from the keyboard, each told to a screen reader.
TEST(PlanCalendarViewTest, TheKeyboardGoesFromDayToDayAndOpensOne)
{
    const sys_days monday = makeDate(2026, 12, 7);
    PlanCalendarView calendar;
    PlanDays days;
    days.startDate = startOf(monday);
    days.done.assign(30, false);
    calendar.setPlan(days, monday + std::chrono::days(2), [](int day) { return QStringLiteral("Passage %1").arg(day); });
    EXPECT_TRUE(calendar.focusPolicy() & Qt::TabFocus);
    EXPECT_EQ(calendar.currentDay(), 3); // today's
    int opened = 0;
    QObject::connect(&calendar, &PlanCalendarView::dayClicked, [&](int day) { opened = day; });
    const auto press = [&](int key) {
        QKeyEvent event(QEvent::KeyPress, key, Qt::NoModifier);
        QApplication::sendEvent(&calendar, &event);
        return calendar.currentDay();
    };
    EXPECT_EQ(press(Qt::Key_Down), 4);
    EXPECT_EQ(press(Qt::Key_Right), 11); // a week on
    EXPECT_EQ(press(Qt::Key_End), 30);
    EXPECT_EQ(press(Qt::Key_Down), 30);
    EXPECT_EQ(press(Qt::Key_Home), 1);
    EXPECT_EQ(press(Qt::Key_Left), 1);
    EXPECT_EQ(press(Qt::Key_Right), 8);
    press(Qt::Key_Return);
    EXPECT_EQ(opened, 8);
    EXPECT_TRUE(calendar.accessibleDescription().startsWith("Day 8, ")) << calendar.accessibleDescription().toStdString();
    EXPECT_TRUE(calendar.accessibleDescription().contains(": Passage 8. 0 of 30 days read"))
        << calendar.accessibleDescription().toStdString();
}

TEST(ProgressTextTest, WordsForEachStanding)
{
    const sys_days day = makeDate(2027, 3, 3);
    struct Case {
        const char* what;
        PlanProgress progress;
        QString text;
    };
    PlanProgress finished{4, 4, 100, 9, 0, true, day, day + std::chrono::days(2), {}, 0};
    PlanProgress finishedLongAgo = finished;
    finishedLongAgo.finishedOn = std::nullopt;
    PlanProgress oneBehind{10, 1, 10, 3, 1, false, std::nullopt, day, day + std::chrono::days(1), 0.5};
    PlanProgress notStarted{10, 0, 0, -1, 0, false, std::nullopt, day + std::chrono::days(9), {}, 0};
    PlanProgress firstDay{10, 0, 0, 1, 0, false, std::nullopt, day + std::chrono::days(9), {}, 0};
    const Case cases[] = {
        {"finished", finished, "4 of 4 days read (100%) \u00B7 finished on 3 Mar 2027"},
        {"finished, date not known", finishedLongAgo, "4 of 4 days read (100%) \u00B7 finished"},
        {"one day behind", oneBehind,
         "1 of 10 days read (10%) \u00B7 1 day behind \u00B7 at your pace of the last 30 days you will finish on "
         "4 Mar 2027"},
        {"not started", notStarted, "0 of 10 days read (0%) \u00B7 starts on 3 Mar 2027 \u00B7 planned to finish on "
                                    "12 Mar 2027"},
        {"its first day", firstDay, "0 of 10 days read (0%) \u00B7 up to date \u00B7 planned to finish on 12 Mar 2027"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(progressSummaryText(c.progress).toStdString(), c.text.toStdString()) << c.what;

    // Counts as the reader writes numbers.
    const QLocale before;
    QLocale::setDefault(QLocale(QLocale::English, QLocale::Germany));
    PlanProgress long_{31102, 1234, 3, 1235, 0, false, std::nullopt, day, {}, 0};
    EXPECT_EQ(progressCountText(long_).toStdString(), "1.234 of 31.102 days read (3%)");
    QLocale::setDefault(before);
}

// The count takes its English form from the English catalogue.
TEST(CatchUpDialogTest, OneDayBehindReadsInTheSingular)
{
    CatchUpPreview preview;
    preview.title = QStringLiteral("Gospels");
    preview.daysBehind = 1;
    CatchUpDialog one(preview);
    EXPECT_EQ(one.findChild<QLabel*>("catchUpIntroLabel")->text(), "\"Gospels\" is 1 day behind. Missing a day happens to every reader; "
                                      "choose how you would like to get back on track:");
    preview.daysBehind = 2;
    CatchUpDialog two(preview);
    EXPECT_EQ(two.findChild<QLabel*>("catchUpIntroLabel")->text(), "\"Gospels\" is 2 days behind. Missing days happens to every reader; "
                                      "choose how you would like to get back on track:");
}

TEST_F(CatchUpTest, TheDialogSaysWhatEachChoiceWillDo)
{
    choice = std::nullopt;
    controller.catchUp(shell.id(plan));
    EXPECT_EQ(preview.daysBehind, 15);
    EXPECT_EQ(preview.startAgain.toStdString(),
              QString("Day 6 becomes today's reading and every later day moves with it. The plan will finish on %1 "
                      "(15 days later).")
                  .arg(longDateText(shell.fixedClock.today() + std::chrono::days(24)))
                  .toStdString());
    EXPECT_TRUE(preview.keepFinish.startsWith("The passages of your 25 unread days are divided again over the 10 "
                                              "days from today to "));
    EXPECT_TRUE(preview.keepFinish.endsWith(" Each day then holds up to 3 verses.")) << preview.keepFinish.toStdString();
    EXPECT_TRUE(preview.doubleUp.startsWith("Read two plan days a day for 13 days")) << preview.doubleUp.toStdString();
    // Cancelled: nothing changed.
    EXPECT_EQ(shell.plans->startDate(plan), shell.fixedClock.today() - std::chrono::days(20));

    CatchUpDialog dialog(preview);
    EXPECT_EQ(dialog.findChild<QLabel*>("catchUpIntroLabel")->text(), "\"Gospels\" is 15 days behind. Missing days happens to every reader; "
                                         "choose how you would like to get back on track:");
    EXPECT_TRUE(dialog.findChild<QRadioButton*>("keepFinishButton")->isEnabled());
    EXPECT_FALSE(dialog.choice());
    dialog.findChild<QRadioButton*>("doubleUpButton")->click();
    EXPECT_EQ(dialog.choice(), CatchUpChoice::DoubleUp);

    // Once the planned finish has passed, that choice is off and says why.
    preview.keepFinishRefusal = QString::fromUtf8(kPlannedFinishPassed);
    CatchUpDialog late(preview);
    EXPECT_FALSE(late.findChild<QRadioButton*>("keepFinishButton")->isEnabled());
    EXPECT_EQ(late.findChild<QLabel*>("keepFinishLabel")->text(), QString::fromUtf8(kPlannedFinishPassed));
}

// On the planned finish itself "Keep my finish date" puts every unread
// verse on today: the preview says how many, and that it is too many.
TEST(CatchUpPreviewTest, KeepingTheFinishDateSaysHowManyVersesADayHolds)
{
    const sys_days today = makeDate(2026, 12, 10);
    PlanDays days;
    days.startDate = startOf(today - std::chrono::days(9));
    days.done.assign(10, false);
    days.done[0] = true;
    days.readDates.resize(10);
    std::vector<std::string> verses;
    for (int i = 0; i < 10; ++i)
        verses.push_back(std::to_string(i * 40 + 1) + "-" + std::to_string(i * 40 + 40));
    const CatchUpPreview preview = makeCatchUpPreview(QStringLiteral("Gospels"), days, verses, today);
    EXPECT_TRUE(preview.keepFinishRefusal.isEmpty()) << preview.keepFinishRefusal.toStdString();
    EXPECT_TRUE(preview.keepFinish.startsWith("The passages of your 9 unread days are divided again over the 1 day "
                                              "from today to "))
        << preview.keepFinish.toStdString();
    EXPECT_TRUE(preview.keepFinish.contains(" Each day then holds up to 360 verses. That is more than most readers "
                                            "manage in a day"))
        << preview.keepFinish.toStdString();
}

TEST_F(CatchUpTest, StartAgainMovesTheDatesSoTheFirstUnreadDayIsToday)
{
    choice = CatchUpChoice::StartAgain;
    controller.catchUp(shell.id(plan));
    EXPECT_EQ(shell.plans->startDate(plan), shell.fixedClock.today() - std::chrono::days(5));
    EXPECT_EQ(controller.currentPlanDay(), 6);
    EXPECT_TRUE(page().catchUpButton->isHidden());
    EXPECT_TRUE(page().undoPanel->isHidden());
}

TEST_F(CatchUpTest, KeepMyFinishDateDividesTheRestAndUndoPutsTheOldPlanBack)
{
    const PlanRecord before = shell.plans->record(plan);
    choice = CatchUpChoice::KeepFinish;
    controller.catchUp(shell.id(plan));
    ASSERT_EQ(shell.plans->planCount(), 1);
    const int now = 0;
    EXPECT_NE(shell.plans->record(now).tableName, before.tableName);
    EXPECT_EQ(shell.plans->planTitle(now), "Gospels");
    // 5 read days kept, 25 verses over the 10 days left: 3 each for 5 days, then 2.
    ASSERT_EQ(shell.plans->dayCount(now), 15);
    EXPECT_TRUE(shell.plans->isDayDone(now, 5));
    EXPECT_EQ(shell.plans->dayVerses(now, 6), "6-8");
    EXPECT_EQ(shell.plans->dayVerses(now, 15), "29-30");
    EXPECT_EQ(shell.plans->startDate(now) + std::chrono::days(14), before.startDate + std::chrono::days(29));
    EXPECT_EQ(controller.currentPlanDay(), 6);
    EXPECT_TRUE(page().catchUpButton->isHidden());
    ASSERT_FALSE(page().undoPanel->isHidden());

    page().undoButton->click();
    ASSERT_EQ(shell.plans->planCount(), 1);
    const PlanRecord& after = shell.plans->record(0);
    EXPECT_EQ(after.tableName, before.tableName);
    EXPECT_EQ(after.dayVerses, before.dayVerses);
    EXPECT_EQ(after.dayDone, before.dayDone);
    EXPECT_EQ(after.startDate, before.startDate);
    EXPECT_TRUE(page().undoPanel->isHidden());
    EXPECT_FALSE(controller.canUndoCatchUp());
}

TEST_F(CatchUpTest, UndoIsRefusedOnceTheNewPlanHasChanged)
{
    choice = CatchUpChoice::KeepFinish;
    controller.catchUp(shell.id(plan));
    shell.plans->setDayDone(0, 6, true); // ticked in the plan manager
    shell.scripted.expectMessage(
        "The plan has changed since its days were divided again, so this can no longer be undone.");
    page().undoButton->click();
    EXPECT_EQ(shell.plans->dayCount(0), 15);
}

TEST_F(CatchUpTest, DoublingUpShowsTwoDaysAndMarksBothUntilCaughtUp)
{
    // Two days behind: days 19 and 20 unread, today is day 21.
    shell.plans->markDaysDoneThrough(plan, 18);
    choice = CatchUpChoice::DoubleUp;
    controller.catchUp(shell.id(plan));
    EXPECT_EQ(controller.currentPlanDay(), 19);
    EXPECT_EQ(controller.currentSecondDay(), 20);
    EXPECT_EQ(heading().toStdString(), "Days 19 and 20 of 30: Alpha 1:19; Alpha 1:20");
    EXPECT_EQ(page().passageView->verseSpec(), "19-19,20-20");

    // Day 21 is today's: no longer behind, so doubling up ends.
    shell.scripted.expectMessage("You are caught up! From here on, one plan day a day keeps you on track.");
    page().markReadButton->click();
    EXPECT_TRUE(shell.plans->isDayDone(plan, 19));
    EXPECT_TRUE(shell.plans->isDayDone(plan, 20));
    EXPECT_FALSE(shell.plans->record(plan).doubleUp);
    EXPECT_EQ(controller.currentPlanDay(), 21);
    EXPECT_EQ(controller.currentSecondDay(), std::nullopt);
}

// The proposed file name fits the file system whatever the title, so the
// save dialog's button is never greyed for a long title.
TEST(CalendarFileNameTest, TheTitleIsCutToAWholeCharacterAndFreedOfSlashes)
{
    const QString emoji = QString::fromUtf8("\xF0\x9F\x98\x80"); // a surrogate pair
    const struct {
        QString title;
        QString name; // empty: only the checks below
    } cases[] = {
        {QStringLiteral("Gospels"), QStringLiteral("Gospels.ics")},
        {QStringLiteral("Acts/Romans\tin a year "), QStringLiteral("Acts-Romansin a year.ics")},
        {QString(), QStringLiteral("Reading Plan.ics")},
        {QString(300, QChar(0xC4)), QString()},
        {emoji.repeated(150), QString()},
    };
    for (const auto& c : cases) {
        const QString path = PlanController::calendarFilePath(c.title, QStringLiteral("/home/reader/Documents"));
        const QFileInfo info(path);
        EXPECT_EQ(info.path().toStdString(), "/home/reader/Documents");
        if (!c.name.isEmpty()) {
            EXPECT_EQ(info.fileName().toStdString(), c.name.toStdString());
        }
        EXPECT_TRUE(info.fileName().endsWith(QStringLiteral(".ics")));
        EXPECT_LE(info.fileName().toUtf8().size(), 255) << c.title.size();
        EXPECT_GE(info.fileName().toUtf8().size(), std::min<qsizetype>(c.title.toUtf8().size(), 190));
        // No half of a surrogate pair left at the cut.
        EXPECT_EQ(QString::fromUtf8(info.fileName().toUtf8()), info.fileName());
    }
}

TEST_F(CatchUpTest, ExportWritesTheUnreadDaysAsACalendar)
{
    const QString file = QString::fromStdString(shell.dir.file("gospels.ics"));
    shell.scripted.expectSaveFile("Export Plan to Calendar", file);
    controller.exportCalendarAction->trigger();
    QFile out(file);
    ASSERT_TRUE(out.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(out.readAll());
    EXPECT_EQ(text.count("BEGIN:VEVENT"), 25);
    EXPECT_TRUE(text.contains("SUMMARY:Gospels: Alpha 1:6\r\n")) << text.left(600).toStdString();

    shell.scripted.expectSaveFile("Export Plan to Calendar", "");
    controller.exportCalendarAction->trigger(); // cancelled: nothing written, no message

    // The next export updates these events: reading days 6 and 7 cancels them.
    shell.plans->setDayDone(plan, 6, true);
    shell.plans->setDayDone(plan, 7, true);
    out.close();
    QFile::remove(file);
    shell.scripted.expectSaveFile("Export Plan to Calendar", file);
    controller.exportCalendarAction->trigger();
    ASSERT_TRUE(out.open(QIODevice::ReadOnly));
    const QString again = QString::fromUtf8(out.readAll());
    out.close();
    EXPECT_EQ(again.count("BEGIN:VEVENT"), 25);
    EXPECT_EQ(again.count("STATUS:CANCELLED"), 2);
    EXPECT_EQ(again.count("SEQUENCE:1\r\n"), 25);

    // A finished plan has nothing to export: a message, and no file.
    shell.plans->markDaysDoneThrough(plan, 30);
    QFile::remove(file);
    shell.scripted.expectMessage("Every day of this plan has been read, so there is nothing left to put in a calendar.");
    controller.exportCalendarAction->trigger();
    EXPECT_FALSE(QFile::exists(file));
}

} // namespace
} // namespace kovara::ui
