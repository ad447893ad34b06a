// The passage display frame: labels, rendering through the preferences,
// failures, and the viewer's copy and select-all actions.
#include "ui/content/frameBibleDisplay.h"

#include "content/kova_bible.h"
#include "content/passage_page.h"
#include "fixtures.h"
#include "test_preferences.h"
#include "ui/widgets/html_viewer.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QFrame>
#include <QLabel>
#include <QMimeData>
#include <gtest/gtest.h>

namespace kovara::ui {
namespace {

class FrameBibleDisplayTest : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        dir = new kovara::test::TempDir;
        kovara::test::MakeAlphaBetaBible(dir->File("bible.kova2"));
        bible = new TKOVABible(dir->File("bible.kova2"), "Test Bible", "KJV");
    }
    static void TearDownTestSuite()
    {
        delete bible;
        delete dir;
    }
    QString Page(const std::string& spec, bool paragraphMode) const
    {
        return QString::fromStdString(BuildPassagePage(spec, *bible, paragraphMode, "Plan", "Day 2 of 9: x"));
    }

    static kovara::test::TempDir* dir;
    static TKOVABible* bible;
    std::unique_ptr<TKOVAPreferences> prefs = test::MakeTestPreferences();
    TFrameKOVABibleDisplay frame;
};
kovara::test::TempDir* FrameBibleDisplayTest::dir = nullptr;
TKOVABible* FrameBibleDisplayTest::bible = nullptr;

TEST_F(FrameBibleDisplayTest, RefusesToLoadBeforePreferences)
{
    EXPECT_EQ(kovara::test::MessageOf([&] { frame.LoadPlanVerses("1-3", "Plan", "Day 2 of 9: x", *bible); }),
              "Preferences not yet assigned on LoadPlanVerses");
    EXPECT_EQ(frame.LabelTitle->text(), "Reading Plan Title");
    EXPECT_EQ(frame.LabelDate->text(), "Plan day info");
    EXPECT_EQ(frame.VerseSpec(), "");
}

TEST_F(FrameBibleDisplayTest, PreferencesReRenderTheShownPassage)
{
    // Before any passage: defaults applied, nothing shown.
    frame.AssignPreferences(*prefs);
    EXPECT_EQ(frame.HTMLViewer1->PageText(), "");
    EXPECT_EQ(frame.HTMLViewer1->DefaultFontSize(), 10);

    frame.LoadPlanVerses("32-33", "Plan", "Day 2 of 9: x", *bible);
    EXPECT_EQ(frame.LabelTitle->text(), "Plan");
    EXPECT_EQ(frame.LabelDate->text(), "Day 2 of 9: x");
    EXPECT_EQ(frame.HTMLViewer1->PageText(), Page("32-33", true));
    EXPECT_EQ(frame.HTMLViewer1->toPlainText().contains("A2:2"), true);

    prefs->ParagraphMode = false;
    prefs->TextFontName = "Courier";
    prefs->TextFontSize = 17;
    prefs->TextFontColor = 0x0000FF; // red
    prefs->TextBackColor = 0xFF0000; // blue
    frame.AssignPreferences(*prefs);
    EXPECT_EQ(frame.HTMLViewer1->PageText(), Page("32-33", false));
    EXPECT_EQ(frame.HTMLViewer1->DefaultFontName(), "Courier");
    EXPECT_EQ(frame.HTMLViewer1->DefaultFontSize(), 17);
    EXPECT_EQ(frame.HTMLViewer1->DefaultFontColor(), QColor(255, 0, 0));
    EXPECT_EQ(frame.HTMLViewer1->DefaultBackground(), QColor(0, 0, 255));
    EXPECT_EQ(frame.RzPanelBottom->palette().color(QPalette::Window), QColor(0, 0, 255));
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}

TEST_F(FrameBibleDisplayTest, BadSpecificationLeavesLoadingShownAndCursorRestored)
{
    frame.AssignPreferences(*prefs);
    frame.LoadPlanVerses("1-3", "Plan", "Day 1 of 9: x", *bible);
    EXPECT_EQ(kovara::test::MessageOf([&] { frame.LoadPlanVerses("4-z", "Other", "Day 3 of 9: y", *bible); }),
              "Invalid verse specification z in 4-z (Other, Day 3 of 9: y)");
    EXPECT_EQ(frame.LabelTitle->text(), "Other");
    EXPECT_EQ(frame.LabelDate->text(), "Day 3 of 9: y");
    EXPECT_EQ(frame.HTMLViewer1->PageText(), "Loading...");
    EXPECT_EQ(frame.VerseSpec(), "4-z");
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}

TEST_F(FrameBibleDisplayTest, CopyIsEnabledOnlyWithASelection)
{
    frame.AssignPreferences(*prefs);
    frame.LoadPlanVerses("1-2", "Plan", "Day 1 of 9: x", *bible);
    EXPECT_FALSE(frame.ActionCopy->isEnabled());
    EXPECT_TRUE(frame.ActionSelectAll->isEnabled());

    frame.ActionSelectAll->trigger();
    EXPECT_GT(frame.HTMLViewer1->SelectionLength(), 0);
    EXPECT_TRUE(frame.ActionCopy->isEnabled());
    QApplication::clipboard()->clear();
    frame.ActionCopy->trigger();
    const QMimeData* copied = QApplication::clipboard()->mimeData();
    ASSERT_NE(copied, nullptr);
    EXPECT_TRUE(copied->text().contains("A1:2")) << copied->text().toStdString();
    EXPECT_TRUE(copied->hasHtml());

    // A new page drops the selection.
    frame.LoadPlanVerses("3", "Plan", "Day 1 of 9: x", *bible);
    EXPECT_FALSE(frame.ActionCopy->isEnabled());
}

} // namespace
} // namespace kovara::ui
