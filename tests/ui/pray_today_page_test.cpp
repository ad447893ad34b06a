// The "Pray Today" page driven as a reader does: the list of a day grouped by
// topic with notes and verses, "Prayed" and its Undo, "Not today", looking
// ahead, and the cycle length.
#include "core/content/bible_store.h"
#include "core/prayer/prayer_list_page.h"
#include "core/prayer/prayer_list_store.h"
#include "prayer_test_support.h"
#include "ui/base/html_viewer.h"
#include "ui/prayer/pray_today_page.h"
#include "ui/prayer/prayer_schedule_menu.h"

#include <QSignalSpy>
#include <QSpinBox>
#include <gtest/gtest.h>

namespace kovara::ui {
namespace {

using std::chrono::days;

class PrayTodayShell : public test::PrayerShell {
public:
    PrayTodayShell()
    {
        kovara::test::makeAlphaBetaBible(dir.file("bible.kova2"));
        bibleStore = std::make_unique<BibleStore>(dir.file("bible.kova2"), "Test Bible", "TB");
    }
    BibleStore& bible() override { return *bibleStore; }
    std::unique_ptr<BibleStore> bibleStore;
};

class PrayTodayPageTest : public ::testing::Test {
protected:
    std::string html() const { return page.findChild<HtmlViewer*>("prayTodayList")->toPlainText().toStdString(); }
    std::string markup() const { return page.findChild<HtmlViewer*>("prayTodayList")->toHtml().toStdString(); }
    std::string link(const char* prefix, std::int32_t index) { return prefix + std::to_string(index); }

    PrayTodayShell shell;
    const sys_days today = shell.fixedClock.today();
    PrayTodayPage page{shell};
};

TEST_F(PrayTodayPageTest, ListOfTheDayWithPrayedUndoAndNotToday)
{
    const std::int32_t mum = shell.add("Mum", "Family", "Active");
    const std::int32_t dad = shell.add("Dad", "Family", "Active");
    const std::int32_t job = shell.add("New job", "", "Active");
    shell.add("Healed", "Family", "Answered");
    EXPECT_FALSE(PrayerListStore(*shell.store).exists()) << "nothing is made before the page is used";

    page.show();
    PrayerListStore list(*shell.store);
    ASSERT_TRUE(list.exists());
    for (std::int32_t index : {mum, dad, job})
        list.setSchedule(index, {ScheduleKind::Daily, 0, today});
    list.setVerses(mum, {"Gen 1:1-2", "Gen 2:1"});
    shell.store->savePrayer(mum, {"Mum", "Family", "", PrayerStatus::Active, "", "", false, std::nullopt,
                                  PrayerNotes{{today - days(2), "Surgery on Friday"}}});
    page.refresh();

    const std::string shown = html();
    EXPECT_NE(shown.find("Without a topic"), std::string::npos);
    EXPECT_LT(shown.find("New job"), shown.find("Family")) << "no topic first, as the tracker orders";
    EXPECT_LT(shown.find("Dad"), shown.find("Mum"));
    EXPECT_EQ(shown.find("Healed"), std::string::npos) << "answered items never come up";
    EXPECT_NE(shown.find("Surgery on Friday"), std::string::npos) << "the latest note";
    EXPECT_NE(shown.find("Gen 1:1-2 1A1:1 2A1:2"), std::string::npos) << shown;
    EXPECT_NE(shown.find("Gen 2:1 1A2:1"), std::string::npos);
    EXPECT_NE(markup().find("href=\"bible:1.1.1-2\""), std::string::npos);

    QSignalSpy opened(&page, &PrayTodayPage::bibleLinkClicked);
    page.followLink("bible:1.1.1-2");
    ASSERT_EQ(opened.size(), 1);
    EXPECT_EQ(opened[0][0].toString(), "bible:1.1.1-2");

    // Prayed, then undone.
    page.followLink(QString::fromStdString(link(kLinkPrayedPrefix, mum)));
    EXPECT_EQ(list.prayedDays(mum), std::vector<sys_days>{today});
    EXPECT_NE(markup().find(link(kLinkUnprayPrefix, mum)), std::string::npos);
    EXPECT_EQ(markup().find(link(kLinkPrayedPrefix, mum)), std::string::npos);
    page.followLink(QString::fromStdString(link(kLinkUnprayPrefix, mum)));
    EXPECT_TRUE(list.prayedDays(mum).empty());
    EXPECT_NE(markup().find(link(kLinkPrayedPrefix, mum)), std::string::npos);

    // Not today: off today's list, on tomorrow's.
    list.setSchedule(job, {ScheduleKind::Weekly, 0, today});
    page.followLink(QString::fromStdString(link(kLinkNotTodayPrefix, job)));
    EXPECT_EQ(html().find("New job"), std::string::npos);
    page.setDay(today + days(1));
    EXPECT_NE(html().find("New job (due since"), std::string::npos) << html();
    page.findChild<QPushButton*>("prayTodayTodayButton")->click();
    EXPECT_EQ(page.day(), today);
}

TEST_F(PrayTodayPageTest, CycleLengthStartsANewCycleToday)
{
    page.show();
    auto* cycle = page.findChild<QSpinBox*>("prayTodayCycleEdit");
    ASSERT_TRUE(cycle);
    EXPECT_EQ(cycle->value(), 7);
    cycle->setValue(3);
    emit cycle->editingFinished();
    PrayerListStore list(*shell.store);
    EXPECT_EQ(list.cycleLength(today), 3);
    EXPECT_EQ(list.cycles().size(), 1u) << "the first cycle began today: its length changes";
}

TEST(PrayerScheduleMenuTest, SetsTheItemsScheduleFromTodayAndShowsIt)
{
    test::PrayerShell shell;
    const std::int32_t item = shell.add("Mum", "Family", "Active");
    std::int32_t selected = item;
    PrayerScheduleMenu menu(shell, [&] { return selected; });
    QSignalSpy changed(&shell.session(), &ObservableSession::prayersChanged);
    menu.findChild<QAction*>("scheduleWeekdaysAction")->trigger();
    const PrayerSchedule schedule = PrayerListStore(*shell.store).schedule(item);
    EXPECT_EQ(schedule.kind, ScheduleKind::Weekdays);
    EXPECT_EQ(schedule.weekdays, 0x1fu) << "Monday to Friday";
    EXPECT_EQ(schedule.since, shell.fixedClock.today());
    EXPECT_EQ(changed.size(), 1);

    emit menu.aboutToShow();
    EXPECT_TRUE(menu.findChild<QAction*>("scheduleWeekdaysAction")->isChecked());
    EXPECT_FALSE(menu.findChild<QAction*>("scheduleInTurnAction")->isChecked());
    selected = 0;
    emit menu.aboutToShow();
    EXPECT_FALSE(menu.findChild<QAction*>("scheduleDailyAction")->isEnabled()) << "no item selected";
}

} // namespace
} // namespace kovara::ui
