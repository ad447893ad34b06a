// The prayer tracker page: tabs and topic grouping, the selected item's
// details, status changes, deleting, editing, the split position and the
// display preferences.
#include "ui/prayer/framePrayerTracker.h"

#include "app/kova_prefs.h"
#include "prayer_test_support.h"
#include "ui/widgets/dates.h"
#include "ui/widgets/colors.h"

#include <QAction>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QSplitter>
#include <QTabBar>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

namespace kovara::ui {
namespace {

using test::ScriptedEditor;

class PrayerTrackerTest : public ::testing::Test {
protected:
    PrayerTrackerTest()
    {
        frame.AssignPreferences(*shell.prefs);
        frame.resize(700, 800);
        frame.show();
        shell.page = Page::PrayerTracker;
    }

    // The list as stored: "//{}//Topic" for group rows, "\tTitle" for items.
    std::vector<std::string> Rows() const
    {
        std::vector<std::string> rows;
        for (int i = 0; i < frame.RzTabbedListBox1->count(); ++i)
            rows.push_back(frame.RzTabbedListBox1->item(i)->data(TFrameKOVAPrayerTracker::kStorageRole)
                               .toString()
                               .toStdString());
        return rows;
    }
    int RowOf(const std::string& storage) const
    {
        const std::vector<std::string> rows = Rows();
        const auto it = std::find(rows.begin(), rows.end(), storage);
        return it == rows.end() ? -1 : static_cast<int>(it - rows.begin());
    }
    std::string SelectedRow() const
    {
        const int row = frame.RzTabbedListBox1->currentRow();
        return row < 0 || !frame.RzTabbedListBox1->item(row)->isSelected() ? "" : Rows()[row];
    }
    void Select(const std::string& storage) { frame.RzTabbedListBox1->setCurrentRow(RowOf(storage)); }
    bool ItemCommandsEnabled() const
    {
        return frame.ActionPrayerEdit->isEnabled() || frame.ActionDeletePrayer->isEnabled() ||
               frame.ActionPrayerStatus->isEnabled() || frame.ActionSetStatusActive->isEnabled() ||
               frame.ActionSetStatusAnswered->isEnabled() || frame.ActionSetStatusInactive->isEnabled();
    }

    test::PrayerShell shell;
    ScriptedEditor editor{shell.dialogs};
    TFrameKOVAPrayerTracker frame{shell, editor};
};

TEST_F(PrayerTrackerTest, TabsListItemsGroupedByTopic)
{
    shell.Add("Zeta", "", "Active");
    shell.Add("Alpha", "", "Active");
    shell.Add("Mom", "Family", "Active");
    shell.Add("Dad", "Family", "Active");
    shell.Add("Job", "Work", "Active");
    shell.Add("Kid", "friends", "Answered");
    shell.Add("Old", "Family", "Inactive");
    shell.store->SetPrayerStatus(shell.Add("Gone", "Gone", "Active"), "Deleted");
    frame.InitPrayers(*shell.store, "Active", -1);

    const struct {
        int tab;
        std::vector<std::string> rows;
        std::string selected;
    } cases[] = {
        {0, {"\tAlpha", "\tZeta", "//{}//Family", "\tDad", "\tMom", "//{}//Work", "\tJob"}, "\tAlpha"},
        {1, {"//{}//friends", "\tKid"}, "\tKid"},
        {2, {"//{}//Family", "\tOld"}, "\tOld"},
        {3,
         {"\tAlpha", "\tZeta", "//{}//Family", "\tDad", "\tMom", "\tOld", "//{}//Work", "\tJob", "//{}//friends",
          "\tKid"},
         "\tAlpha"},
    };
    for (const auto& c : cases) {
        frame.RzTabControl1->setCurrentIndex(c.tab);
        EXPECT_EQ(frame.CurrentFilter(), TFrameKOVAPrayerTracker::kTabFilters[c.tab]);
        EXPECT_EQ(Rows(), c.rows) << "tab " << c.tab;
        EXPECT_EQ(SelectedRow(), c.selected) << "tab " << c.tab;
        EXPECT_EQ(frame.LabelPrayerTitle->text().toStdString(), c.selected.substr(1));
    }

    // Group rows stand apart: no record, bold, in the caption colours.
    frame.RzTabControl1->setCurrentIndex(0);
    const QListWidgetItem* group = frame.RzTabbedListBox1->item(2);
    const QListWidgetItem* item = frame.RzTabbedListBox1->item(3);
    EXPECT_FALSE(group->data(TFrameKOVAPrayerTracker::kRecordRole).isValid());
    EXPECT_TRUE(group->font().bold());
    EXPECT_NE(group->background().style(), Qt::NoBrush);
    EXPECT_EQ(item->background().style(), Qt::NoBrush);
    EXPECT_TRUE(item->data(TFrameKOVAPrayerTracker::kRecordRole).isValid());
    EXPECT_FALSE(item->font().bold());
}

TEST_F(PrayerTrackerTest, SelectionShowsTitleDatesAndText)
{
    const std::int32_t empty = shell.Add("Empty", "", "Active");
    shell.clock.Set(shell.clock.Now() + 2);
    const std::int32_t topical = shell.Add("Topical", "Family", "Active");
    frame.InitPrayers(*shell.store, "Active", topical);

    const TDateTime created = shell.store->GetCreateTime(topical);
    EXPECT_EQ(SelectedRow(), "\tTopical");
    EXPECT_EQ(frame.LabelPrayerDetails->text(),
              "Created: " + ShortDateText(created) + "; Last Edited: " + ShortDateTimeText(created) + ".");
    EXPECT_EQ(frame.ActionPrayerStatus->text(), "Prayer Status: Active");
    EXPECT_TRUE(frame.ActionSetStatusActive->isChecked());
    EXPECT_EQ(frame.GetSelectedPrayerIndex(), topical);

    // An item without text shows the hint, plain, in the display font.
    Select("\tEmpty");
    EXPECT_EQ(frame.GetSelectedPrayerIndex(), empty);
    EXPECT_EQ(frame.RichEdit1->toPlainText(), "Click Edit Prayer to add text to this prayer item.");
    const QTextCharFormat hint = frame.RichEdit1->document()->begin().begin().fragment().charFormat();
    EXPECT_EQ(hint.fontFamilies().toStringList().value(0), QString::fromStdString(shell.prefs->TextFontName));
    EXPECT_FALSE(hint.fontWeight() >= QFont::Bold);

    // A group row: nothing selected to act on.
    Select("//{}//Family");
    EXPECT_TRUE(frame.RichEdit1->document()->isEmpty());
    EXPECT_EQ(frame.LabelPrayerTitle->text(), "No prayer item currently selected.");
    EXPECT_EQ(frame.LabelPrayerDetails->text(), "");
    EXPECT_FALSE(ItemCommandsEnabled());
    EXPECT_EQ(frame.ActionPrayerStatus->text(), "Prayer Status:");

    // Another page showing: the commands are dead.
    Select("\tTopical");
    EXPECT_TRUE(ItemCommandsEnabled());
    shell.page = Page::Welcome;
    EXPECT_EQ(frame.GetSelectedPrayerIndex(), -1);
}

// Clicking the empty space below the rows, or Ctrl+clicking the selected row,
// must not leave the details of an item on show while its commands are dead.
TEST_F(PrayerTrackerTest, MouseClicksOutsideARowKeepTheSelectedItem)
{
    shell.Add("First", "", "Active");
    const std::int32_t second = shell.Add("Second", "", "Active");
    frame.InitPrayers(*shell.store, "Active", second);
    QListWidget* list = frame.RzTabbedListBox1;
    QWidget* viewport = list->viewport();
    const QRect selectedRow = list->visualItemRect(list->currentItem());
    ASSERT_LT(selectedRow.bottom() + 20, viewport->height());

    struct Click {
        const char* what;
        QPoint at;
        Qt::KeyboardModifiers modifiers;
    };
    const Click clicks[] = {
        {"empty space below the rows", QPoint(selectedRow.center().x(), selectedRow.bottom() + 20), Qt::NoModifier},
        {"Ctrl+click on the selected row", selectedRow.center(), Qt::ControlModifier},
    };
    for (const Click& click : clicks) {
        QTest::mouseClick(viewport, Qt::LeftButton, click.modifiers, click.at);
        EXPECT_EQ(frame.GetSelectedPrayerIndex(), second) << click.what;
        EXPECT_EQ(frame.LabelPrayerTitle->text(), "Second") << click.what;
        EXPECT_TRUE(ItemCommandsEnabled()) << click.what;
    }

    // A plain click on another row still moves the selection.
    QTest::mouseClick(viewport, Qt::LeftButton, Qt::NoModifier, list->visualItemRect(list->item(0)).center());
    EXPECT_EQ(frame.LabelPrayerTitle->text(), "First");
}

TEST_F(PrayerTrackerTest, EmptyFilterAndMissingPreferences)
{
    shell.Add("Active one", "", "Active");
    frame.InitPrayers(*shell.store, "Answered", -1);
    EXPECT_EQ(frame.RzTabControl1->currentIndex(), 1);
    EXPECT_TRUE(Rows().empty());
    EXPECT_TRUE(frame.RichEdit1->document()->isEmpty());
    EXPECT_EQ(frame.LabelPrayerTitle->text(), "No prayer item currently selected.");
    EXPECT_EQ(frame.LabelPrayerDetails->text(), "");
    EXPECT_FALSE(ItemCommandsEnabled());
    EXPECT_FALSE(frame.ActionSelectAll->isEnabled());

    TFrameKOVAPrayerTracker fresh(shell, editor);
    EXPECT_EQ(kovara::test::MessageOf([&] { fresh.InitPrayers(*shell.store, "Active", -1); }),
              "Preferences not yet assigned on InitPrayers");
}

TEST_F(PrayerTrackerTest, StatusChangeMovesToTheNewTabUnlessOnAll)
{
    const std::int32_t first = shell.Add("First", "", "Active");
    const std::int32_t second = shell.Add("Second", "", "Active");
    const TDateTime edited = shell.store->GetLastEditTime(second);
    shell.clock.Set(shell.clock.Now() + 1);

    frame.InitPrayers(*shell.store, "Active", second);
    EXPECT_EQ(frame.RzMenuButton1->text(), "Prayer Status: Active");
    frame.ActionSetStatusAnswered->trigger();
    EXPECT_EQ(shell.store->GetPrayerStatus(second), "Answered");
    EXPECT_EQ(shell.store->GetLastEditTime(second), edited);
    EXPECT_EQ(frame.RzTabControl1->currentIndex(), 1);
    EXPECT_EQ(SelectedRow(), "\tSecond");
    EXPECT_EQ(frame.RzMenuButton1->text(), "Prayer Status: Answered");
    EXPECT_TRUE(frame.ActionSetStatusAnswered->isChecked());
    EXPECT_FALSE(frame.ActionSetStatusActive->isChecked());

    // The status it already has: nothing changes, the tick stays.
    frame.ActionSetStatusAnswered->trigger();
    EXPECT_TRUE(frame.ActionSetStatusAnswered->isChecked());
    EXPECT_EQ(frame.RzTabControl1->currentIndex(), 1);

    frame.RzTabControl1->setCurrentIndex(3);
    Select("\tFirst");
    frame.ActionSetStatusInactive->trigger();
    EXPECT_EQ(shell.store->GetPrayerStatus(first), "Inactive");
    EXPECT_EQ(frame.RzTabControl1->currentIndex(), 3);
    EXPECT_EQ(SelectedRow(), "\tFirst");
    EXPECT_EQ(frame.RzMenuButton1->text(), "Prayer Status: Inactive");
}

TEST_F(PrayerTrackerTest, DeleteAsksAndOnYesRemovesFromEveryTab)
{
    for (const bool yes : {false, true}) {
        shell.Add("Keep", "", "Active");
        const std::int32_t doomed = shell.Add("Doomed", "", "Active");
        frame.InitPrayers(*shell.store, "Active", doomed);
        shell.dialogs.ExpectConfirm("Are you sure you wish to permenantly delete prayer item \"Doomed?\"", yes);
        frame.ActionDeletePrayer->trigger();
        EXPECT_TRUE(shell.dialogs.Done());
        EXPECT_EQ(shell.store->GetPrayerStatus(doomed), yes ? "Deleted" : "Active");
        if (yes) {
            EXPECT_EQ(Rows(), std::vector<std::string>{"\tKeep"});
            EXPECT_EQ(SelectedRow(), "\tKeep");
            frame.RzTabControl1->setCurrentIndex(3);
            EXPECT_EQ(RowOf("\tDoomed"), -1);
        } else {
            EXPECT_EQ(SelectedRow(), "\tDoomed");
            shell.store->SetPrayerStatus(doomed, "Deleted");
            shell.store->SetPrayerStatus(shell.store->FindPrayerByTitle("Keep"), "Deleted");
        }
    }
}

TEST_F(PrayerTrackerTest, EditAndDoubleClickOpenTheEditorAndRefill)
{
    const std::int32_t index = shell.Add("Old title", "", "Active");
    shell.Add("Another", "", "Active");
    frame.InitPrayers(*shell.store, "Active", index);
    editor.user = [&](ScriptedEditor& e) {
        EXPECT_EQ(e.PrayerIndex, index);
        EXPECT_FALSE(e.NewItem);
        e.RzEditTitle->setText(QStringLiteral("New title"));
        e.ActionSaveAndClose->trigger();
    };
    frame.ActionPrayerEdit->trigger();
    EXPECT_EQ(SelectedRow(), "\tNew title");
    EXPECT_EQ(frame.LabelPrayerTitle->text(), "New title");

    editor.user = [](ScriptedEditor& e) { e.close(); };
    emit frame.RzTabbedListBox1->itemDoubleClicked(frame.RzTabbedListBox1->currentItem());
    EXPECT_EQ(editor.shown, 2);
    Select("//{}//"); // no such row: nothing selected, nothing opens
    frame.RzTabbedListBox1DblClick();
    EXPECT_EQ(editor.shown, 2);
}

// The frame asks the shell for the store at each use, so a store replaced by
// a backup or restore is never touched after it is gone.
TEST_F(PrayerTrackerTest, UsesTheCurrentStoreAfterItWasReplaced)
{
    const std::int32_t index = shell.Add("Survivor", "", "Active");
    frame.InitPrayers(*shell.store, "Active", index);
    shell.ReopenStore();
    frame.ActionSetStatusAnswered->trigger();
    EXPECT_EQ(shell.store->GetPrayerStatus(index), "Answered");
    EXPECT_EQ(SelectedRow(), "\tSurvivor");
}

TEST_F(PrayerTrackerTest, SplitPercentIsClampedTo25Through75)
{
    const struct {
        int asked, kept;
    } cases[] = {{10, 25}, {25, 25}, {50, 50}, {75, 75}, {90, 75}};
    for (const auto& c : cases) {
        shell.prefs->SplitPercent = c.asked;
        frame.AssignPreferences(*shell.prefs);
        EXPECT_EQ(frame.SplitPercent(), c.kept) << c.asked;
        const QList<int> sizes = frame.RzSplitter1->sizes();
        EXPECT_NEAR(100.0 * sizes[0] / (sizes[0] + sizes[1]), c.kept, 1.0) << c.asked;
    }

    // Dragged past the limit by the user: pulled back to it.
    frame.RzSplitter1->setSizes({950, 50});
    emit frame.RzSplitter1->splitterMoved(950, 1);
    EXPECT_EQ(frame.SplitPercent(), 75);
    const QList<int> sizes = frame.RzSplitter1->sizes();
    EXPECT_NEAR(100.0 * sizes[0] / (sizes[0] + sizes[1]), 75, 1.0);
}

TEST_F(PrayerTrackerTest, NewPreferencesRestyleTheTextAndKeepTheSelection)
{
    shell.Add("Styled", "", "Active", "{\\rtf1 Hello {\\b world}\\par}");
    frame.InitPrayers(*shell.store, "Active", -1);
    QTextCursor cursor = frame.RichEdit1->textCursor();
    cursor.setPosition(0);
    cursor.setPosition(5, QTextCursor::KeepAnchor);
    frame.RichEdit1->setTextCursor(cursor);
    EXPECT_TRUE(frame.ActionCopy->isEnabled());

    shell.prefs->TextFontName = "Courier";
    shell.prefs->TextFontSize = 14;
    shell.prefs->TextBackColor = 0x0000FF; // red
    frame.AssignPreferences(*shell.prefs);
    EXPECT_EQ(frame.RichEdit1->textCursor().selectedText(), "Hello");
    const QTextBlock block = frame.RichEdit1->document()->begin();
    bool boldWorld = false;
    for (QTextBlock::iterator it = block.begin(); !it.atEnd(); ++it) {
        const QTextCharFormat f = it.fragment().charFormat();
        EXPECT_EQ(f.fontFamilies().toStringList().value(0), "Courier");
        EXPECT_EQ(f.fontPointSize(), 14);
        boldWorld = boldWorld || (it.fragment().text() == "world" && f.fontWeight() >= QFont::Bold);
    }
    EXPECT_TRUE(boldWorld);
    EXPECT_EQ(frame.RichEdit1->palette().color(QPalette::Base), QColor(255, 0, 0));
}

} // namespace
} // namespace kovara::ui
