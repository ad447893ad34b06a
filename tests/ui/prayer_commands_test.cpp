// The main window's prayer commands: a new item through the editor, the four
// views, and the welcome page's link addresses.
#include "ui/prayer/prayer_commands.h"

#include "prayer_test_support.h"
#include "ui/prayer/framePrayerTracker.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QTabBar>
#include <gtest/gtest.h>

namespace kovara::ui {
namespace {

using test::ScriptedEditor;

// The frame stands on a stand-in page: shown only while the shell's current
// page is the prayer page, as the main window's page control would do.
class PageShell : public test::PrayerShell {
public:
    void ShowPage(Page p) override
    {
        PrayerShell::ShowPage(p);
        if (frame)
            frame->setVisible(p == Page::PrayerTracker);
    }
    QWidget* frame = nullptr;
};

class PrayerCommandsTest : public ::testing::Test {
protected:
    PrayerCommandsTest()
    {
        frame.AssignPreferences(*shell.prefs);
        shell.frame = &frame;
    }
    std::string SelectedTitle() const
    {
        const QListWidgetItem* item = frame.RzTabbedListBox1->currentItem();
        return item && item->isSelected() ? item->text().toStdString() : "";
    }

    PageShell shell;
    ScriptedEditor editor{shell.dialogs};
    TFrameKOVAPrayerTracker frame{shell, editor};
    TPrayerCommands commands{shell, frame, editor};
};

TEST_F(PrayerCommandsTest, NewItemTwiceUnsavedLeavesTwoActiveItems)
{
    editor.user = [](ScriptedEditor& e) {
        EXPECT_TRUE(e.NewItem);
        e.close();
    };
    commands.ActionNewPrayerExecute();
    commands.ActionNewPrayerExecute();
    EXPECT_EQ(editor.shown, 2);
    EXPECT_EQ(shell.page, Page::PrayerTracker);
    EXPECT_EQ(frame.RzTabControl1->currentIndex(), 0);
    ASSERT_EQ(frame.RzTabbedListBox1->count(), 2);
    EXPECT_EQ(frame.RzTabbedListBox1->item(0)->text(), "New Prayer Item");
    EXPECT_EQ(frame.RzTabbedListBox1->item(1)->text(), "New Prayer Item 2");
    EXPECT_EQ(SelectedTitle(), "New Prayer Item 2");
    EXPECT_GE(frame.GetSelectedPrayerIndex(), 0);
    EXPECT_TRUE(frame.ActionPrayerEdit->isEnabled());
}

TEST_F(PrayerCommandsTest, NewItemSavedAsAnsweredEndsOnTheAnsweredTab)
{
    shell.Add("Older answer", "", "Answered");
    editor.user = [](ScriptedEditor& e) {
        e.RzEditTitle->setText(QStringLiteral("Rain"));
        e.RzComboBoxStatus->setCurrentText(QStringLiteral("Answered"));
        e.ActionSaveAndClose->trigger();
    };
    commands.ActionNewPrayerExecute();
    EXPECT_EQ(frame.RzTabControl1->currentIndex(), 1);
    EXPECT_EQ(frame.CurrentFilter(), "Answered");
    EXPECT_EQ(SelectedTitle(), "Rain");
    EXPECT_EQ(frame.LabelPrayerTitle->text(), "Rain");
}

TEST_F(PrayerCommandsTest, NewItemNotInsertedOpensNoEditor)
{
    shell.store->Close();
    EXPECT_THROW(commands.NewPrayerItem(), std::exception);
    EXPECT_EQ(editor.shown, 0);
}

// Each view command, by its slot and by its link address, switches to the
// prayer page on its tab with the first item selected.
TEST_F(PrayerCommandsTest, ViewCommandsAndLinks)
{
    shell.Add("A1", "", "Active");
    shell.Add("A2", "", "Active");
    shell.Add("B1", "", "Answered");
    shell.Add("C1", "", "Inactive");
    const struct {
        void (TPrayerCommands::*slot)();
        const char* link;
        int tab;
        const char* first;
    } cases[] = {
        {&TPrayerCommands::ActionPrayersActiveExecute, "koav2:ViewActivePrayers", 0, "A1"},
        {&TPrayerCommands::ActionPrayersAnsweredExecute, "koav2:ViewAnsweredPrayers", 1, "B1"},
        {&TPrayerCommands::ActionPrayersInactiveExecute, "koav2:ViewInactivePrayers", 2, "C1"},
        {&TPrayerCommands::ActionPrayersAllExecute, "koav2:ViewAllPrayers", 3, "A1"},
    };
    for (const auto& c : cases) {
        for (const bool byLink : {false, true}) {
            shell.ShowPage(Page::Welcome);
            frame.RzTabbedListBox1->clearSelection();
            if (byLink)
                EXPECT_TRUE(commands.HandleLink(QString::fromLatin1(c.link)));
            else
                (commands.*c.slot)();
            EXPECT_EQ(shell.page, Page::PrayerTracker) << c.link;
            EXPECT_EQ(frame.RzTabControl1->currentIndex(), c.tab) << c.link;
            EXPECT_EQ(SelectedTitle(), c.first) << c.link;
            EXPECT_TRUE(frame.ActionDeletePrayer->isEnabled()) << c.link;
        }
    }

    editor.user = [](ScriptedEditor& e) { e.close(); };
    EXPECT_TRUE(commands.HandleLink(QStringLiteral("koav2:NewPrayerItem")));
    EXPECT_EQ(editor.shown, 1);
    EXPECT_FALSE(commands.HandleLink(QStringLiteral("koav2:ViewDeletedPrayers")));
}

TEST_F(PrayerCommandsTest, ViewAllOnAnEmptyStoreSelectsNothing)
{
    commands.ActionPrayersAllExecute();
    EXPECT_EQ(frame.RzTabControl1->currentIndex(), 3);
    EXPECT_EQ(frame.RzTabbedListBox1->count(), 0);
    EXPECT_EQ(frame.LabelPrayerTitle->text(), "No prayer item currently selected.");
}

} // namespace
} // namespace kovara::ui
