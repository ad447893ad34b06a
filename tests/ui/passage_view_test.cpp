// The passage display frame: labels, rendering through the preferences,
// failures, and the viewer's copy and select-all actions.
#include "ui/base/passage_view.h"
#include "ui/base/core_names.h"

#include "core/content/bible_store.h"
#include "core/content/passage_page.h"
#include "fixtures.h"
#include "passage_view_controls.h"
#include "test_preferences.h"
#include "ui/base/html_viewer.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QFrame>
#include <QLabel>
#include <QMimeData>
#include <gtest/gtest.h>

namespace kovara::ui {
namespace {

class PassageViewTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        dir = new kovara::test::TempDir;
        kovara::test::makeAlphaBetaBible(dir->file("bible.kova2"));
        bible = new BibleStore(dir->file("bible.kova2"), "Test Bible", "KJV");
    }
    static void TearDownTestSuite()
    {
        delete bible;
        delete dir;
    }
    QString Page(const std::string& spec, bool paragraphMode) const
    {
        return QString::fromStdString(buildPassagePage(spec, *bible, paragraphMode, "Plan", "Day 2 of 9: x"));
    }

    static kovara::test::TempDir* dir;
    static BibleStore* bible;
    std::unique_ptr<Preferences> prefs = test::makeTestPreferences();
    PassageView frame;
    test::PassageControls controls{frame};
};
kovara::test::TempDir* PassageViewTest::dir = nullptr;
BibleStore* PassageViewTest::bible = nullptr;

TEST_F(PassageViewTest, RefusesToLoadBeforePreferences)
{
    EXPECT_EQ(kovara::test::messageOf([&] { frame.loadPlanVerses("1-3", "Plan", "Day 2 of 9: x", *bible); }),
              "Preferences not yet assigned on LoadPlanVerses");
    EXPECT_EQ(controls.titleLabel->text(), "Reading Plan Title");
    EXPECT_EQ(controls.dayLabel->text(), "Plan day info");
    EXPECT_EQ(frame.verseSpec(), "");
}

TEST_F(PassageViewTest, PreferencesReRenderTheShownPassage)
{
    // Before any passage: defaults applied, nothing shown.
    frame.assignPreferences(*prefs);
    EXPECT_EQ(controls.viewer->pageText(), "");
    EXPECT_EQ(controls.viewer->defaultFontSize(), 10);

    frame.loadPlanVerses("32-33", "Plan", "Day 2 of 9: x", *bible);
    EXPECT_EQ(controls.titleLabel->text(), "Plan");
    EXPECT_EQ(controls.dayLabel->text(), "Day 2 of 9: x");
    EXPECT_EQ(controls.viewer->pageText(), Page("32-33", true));
    EXPECT_EQ(controls.viewer->toPlainText().contains("A2:2"), true);

    prefs->paragraphMode = false;
    prefs->textFontName = "Courier";
    prefs->textFontSize = 17;
    prefs->textFontColor = 0x0000FF; // red
    prefs->textBackColor = 0xFF0000; // blue
    frame.assignPreferences(*prefs);
    EXPECT_EQ(controls.viewer->pageText(), Page("32-33", false));
    EXPECT_EQ(controls.viewer->defaultFontName(), "Courier");
    EXPECT_EQ(controls.viewer->defaultFontSize(), 17);
    EXPECT_EQ(controls.viewer->defaultFontColor(), QColor(255, 0, 0));
    EXPECT_EQ(controls.viewer->defaultBackground(), QColor(0, 0, 255));
    EXPECT_EQ(controls.viewerPanel->palette().color(QPalette::Window), QColor(0, 0, 255));
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}

TEST_F(PassageViewTest, BadSpecificationLeavesLoadingShownAndCursorRestored)
{
    frame.assignPreferences(*prefs);
    frame.loadPlanVerses("1-3", "Plan", "Day 1 of 9: x", *bible);
    EXPECT_EQ(kovara::test::messageOf([&] { frame.loadPlanVerses("4-z", "Other", "Day 3 of 9: y", *bible); }),
              "Invalid verse specification z in 4-z (Other, Day 3 of 9: y)");
    EXPECT_EQ(controls.titleLabel->text(), "Other");
    EXPECT_EQ(controls.dayLabel->text(), "Day 3 of 9: y");
    EXPECT_EQ(controls.viewer->pageText(), "Loading...");
    EXPECT_EQ(frame.verseSpec(), "4-z");
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}

TEST_F(PassageViewTest, CopyIsEnabledOnlyWithASelection)
{
    frame.assignPreferences(*prefs);
    frame.loadPlanVerses("1-2", "Plan", "Day 1 of 9: x", *bible);
    EXPECT_FALSE(controls.copyAction->isEnabled());
    EXPECT_TRUE(controls.selectAllAction->isEnabled());

    controls.selectAllAction->trigger();
    EXPECT_GT(controls.viewer->selectionLength(), 0);
    EXPECT_TRUE(controls.copyAction->isEnabled());
    QApplication::clipboard()->clear();
    controls.copyAction->trigger();
    const QMimeData* copied = QApplication::clipboard()->mimeData();
    ASSERT_NE(copied, nullptr);
    EXPECT_TRUE(copied->text().contains("A1:2")) << copied->text().toStdString();
    EXPECT_TRUE(copied->hasHtml());

    // A new page drops the selection.
    frame.loadPlanVerses("3", "Plan", "Day 1 of 9: x", *bible);
    EXPECT_FALSE(controls.copyAction->isEnabled());
}

} // namespace
} // namespace kovara::ui
