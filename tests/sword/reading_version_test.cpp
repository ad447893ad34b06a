// A plan read in another version: the reading page's version list, the same
// plan day in the imported World English Bible (whose own versification
// numbers some verses differently), and the choice kept with the plan.
#include "plan_test_shell.h"
#include "reading_page_controls.h"
#include "test_bibles.h"
#include "ui/plans/plan_controller.h"
#include "ui/base/html_viewer.h"
#include "ui/plans/reading_page.h"

#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QMenu>
#include <QToolButton>
#include <QSignalSpy>

#include <gtest/gtest.h>

namespace kovara::ui {
namespace {

class ReadingVersionTest : public ::testing::Test {
protected:
    ReadingVersionTest()
    {
        shell.bible_ = std::make_unique<BibleStore>(KOVARA_BUILD_DIR "/bible.kova2", "King James Version", "KJV");
        kovara::test::installTestBible(shell.folder, "engWEB2015eb");
    }

    // A plan whose days are the passages given as (book, chapter, first
    // verse, last verse) in the shipped Bible's numbering.
    PlanId addPlan(const std::vector<std::array<int, 4>>& days)
    {
        std::vector<std::string> texts;
        for (const auto& [book, chapter, first, last] : days)
            texts.push_back(std::to_string(shell.bible().verseIndex(book, chapter, first)) + "-" +
                            std::to_string(shell.bible().verseIndex(book, chapter, last)));
        return shell.plans->addPlan("Letters", texts, shell.fixedClock.today());
    }
    QComboBox* versionList() { return controller.readingPage()->findChild<QComboBox*>("readingVersionList"); }
    QString text() { return test::ReadingControls(*controller.readingPage()).passage.viewer->toPlainText(); }
    void choose(int index)
    {
        versionList()->setCurrentIndex(index);
        emit versionList()->activated(index);
    }

    test::PlanTestShell shell;
    QWidget window;
    PlanController controller{shell, &window};
};

TEST_F(ReadingVersionTest, APlanDayOpensTheSamePassageInAnotherVersion)
{
    // 3 John ends at verse 14 in the shipped Bible and at 15 in the WEB's
    // own numbering; Revelation 12 ends at 17 and at 18.
    const PlanId plan = addPlan({{64, 1, 13, 14}, {66, 12, 17, 17}});
    controller.showPlanDay(plan, 1);
    ASSERT_TRUE(versionList()->isVisibleTo(controller.readingPage()));
    EXPECT_EQ(versionList()->itemText(1), "WEB - World English Bible with Deuterocanon");
    EXPECT_TRUE(text().contains("But I trust I shall shortly see thee"));

    choose(1);
    EXPECT_EQ(shell.plans->record(0).bibleVersion, "engWEB2015eb");
    const QString web = text();
    EXPECT_TRUE(web.contains("I had many things to write to you")) << web.toStdString(); // verse 13
    EXPECT_TRUE(web.contains("Greet the friends by name")) << web.toStdString();          // the WEB's 14 and 15
    EXPECT_FALSE(web.contains("But I trust I shall shortly see thee"));
    EXPECT_EQ(controller.currentPlanDay(), 1);
    // Copies and printouts name the version.
    test::ReadingControls(*controller.readingPage()).passage.viewer->selectWholePage();
    controller.readingPage()->copy();
    EXPECT_TRUE(QApplication::clipboard()->text().endsWith("III John 1:13-14 (WEB)"))
        << QApplication::clipboard()->text().toStdString();
    EXPECT_EQ(controller.readingPage()->printTitle(), "Letters Day 1 of 2 (WEB)");

    controller.showPlanDay(plan, 2);
    EXPECT_EQ(versionList()->currentIndex(), 1);
    EXPECT_TRUE(text().contains("The dragon grew angry with the woman"));
    EXPECT_FALSE(text().contains("a beast coming up out of the sea")); // Revelation 13:1 is not on this day
}

// The version goes with the plan: another plan reads in the shipped Bible,
// the choice outlives a reopened store, and back to the shipped Bible.
TEST_F(ReadingVersionTest, ThePlanRemembersItsVersion)
{
    const PlanId letters = addPlan({{43, 3, 16, 16}});
    const PlanId other = shell.plans->addPlan("Other", {std::to_string(shell.bible().verseIndex(43, 3, 16))},
                                              shell.fixedClock.today());
    controller.showPlanDay(letters, 1);
    choose(1);

    shell.reopenPlans();
    controller.showPlanDay(other, 1);
    EXPECT_EQ(versionList()->currentIndex(), 0);
    EXPECT_TRUE(text().contains("For God so loved the world"));
    controller.showPlanDay(letters, 1);
    EXPECT_EQ(versionList()->currentIndex(), 1);
    EXPECT_TRUE(text().contains("that whoever believes in him should not perish"))
        << text().toStdString();

    choose(0);
    shell.reopenPlans();
    EXPECT_EQ(shell.plans->record(*shell.plans->indexOf(letters)).bibleVersion, "");
    controller.showPlanDay(letters, 1);
    EXPECT_FALSE(text().contains("whoever believes in him"));
}

// A version whose file is gone: the shipped Bible reads the day and the plan
// keeps its choice for when the file is back.
TEST_F(ReadingVersionTest, AVersionNoLongerThereFallsBackToTheShippedBible)
{
    const PlanId plan = addPlan({{43, 3, 16, 16}});
    shell.plans->setBibleVersion(0, "engGone");
    controller.showPlanDay(plan, 1);
    EXPECT_EQ(versionList()->currentIndex(), 0);
    EXPECT_TRUE(text().contains("For God so loved the world, that he gave his only begotten Son"));
    EXPECT_EQ(shell.plans->record(0).bibleVersion, "engGone");
}

// Other versions beside the plan's passage, verse by verse; the version read
// is never a column twice.
TEST_F(ReadingVersionTest, OtherVersionsShowBesideThePassage)
{
    const PlanId plan = addPlan({{64, 1, 13, 14}});
    controller.showPlanDay(plan, 1);
    choose(1); // read in the WEB
    auto* button = controller.readingPage()->findChild<QToolButton*>("readingSideBySideButton");
    ASSERT_TRUE(button && button->isVisibleTo(controller.readingPage()));
    ASSERT_EQ(button->menu()->actions().size(), 1);
    EXPECT_EQ(button->menu()->actions().at(0)->text(), "KJV");
    button->menu()->actions().at(0)->setChecked(true);
    QCoreApplication::processEvents();
    EXPECT_TRUE(text().contains("we will speak face to face")); // the WEB
    EXPECT_TRUE(text().contains("But I trust I shall shortly see thee"));
    EXPECT_TRUE(button->menu()->actions().at(0)->isChecked());

    choose(0); // now read in the KJV, which was the column beside
    EXPECT_TRUE(text().contains("But I trust I shall shortly see thee"));
    EXPECT_FALSE(text().contains("we will speak face to face"));
}

// A commentary beside the plan day: it follows the days shown (also those
// shown while it was hidden) and the version read, and its references are
// passed on to open on the Bible page.
TEST_F(ReadingVersionTest, ACommentaryFollowsThePlanDay)
{
    const PlanId plan = addPlan({{19, 23, 1, 6}, {19, 119, 1, 8}, {43, 3, 16, 16}});
    controller.showPlanDay(plan, 1);
    ReadingPage& page = *controller.readingPage();
    auto* button = page.findChild<QToolButton*>("readingCommentaryButton");
    auto* list = page.findChild<QComboBox*>("commentaryList");
    auto* viewer = page.findChild<HtmlViewer*>("commentaryViewer");
    ASSERT_TRUE(button && list && viewer);
    EXPECT_FALSE(viewer->isVisibleTo(&page));
    button->click();
    const int tdavid = list->findText("C. H. Spurgeon's Treasury of David");
    ASSERT_GE(tdavid, 0);
    list->setCurrentIndex(tdavid);
    emit list->activated(tdavid);
    EXPECT_TRUE(viewer->isVisibleTo(&page));
    EXPECT_TRUE(viewer->toPlainText().contains("We belong to the Lord", Qt::CaseInsensitive));

    choose(1); // the same day in the WEB: the same entry
    EXPECT_TRUE(viewer->toPlainText().contains("We belong to the Lord", Qt::CaseInsensitive));
    button->click(); // hidden while the next day shows
    controller.showPlanDay(plan, 2);
    button->click();
    EXPECT_TRUE(viewer->toPlainText().contains("THE LONGEST PSALM")) << viewer->toPlainText().left(300).toStdString();
    controller.showPlanDay(plan, 3);
    EXPECT_TRUE(viewer->toPlainText().contains("has nothing on John 3")) << viewer->toPlainText().toStdString();

    QSignalSpy links(&page, &ReadingPage::bibleLinkClicked);
    emit viewer->linkClicked("bible:43.10.27");
    ASSERT_EQ(links.size(), 1);
    EXPECT_EQ(links.at(0).at(0).toString(), "bible:43.10.27");
}

} // namespace
} // namespace kovara::ui
