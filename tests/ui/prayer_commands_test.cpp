// The main window's prayer commands: a new item through the editor, the four
// views.
#include "ui/prayer/prayer_commands.h"
#include "ui/base/core_names.h"

#include "prayer_test_support.h"
#include "ui/prayer/prayer_tracker_page.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QTabBar>
#include "prayer_tracker_controls.h"
#include <gtest/gtest.h>

#include <functional>

namespace kovara::ui {
namespace {

using test::ScriptedEditor;

// The frame stands on a stand-in page: shown only while the shell's current
// page is the prayer page, as the main window's page control would do.
class PageShell : public test::PrayerShell {
public:
    void showPage(Page p) override
    {
        PrayerShell::showPage(p);
        if (frame)
            frame->setVisible(p == Page::PrayerTracker);
    }
    QWidget* frame = nullptr;
};

class PrayerCommandsTest : public ::testing::Test {
protected:
    PrayerCommandsTest()
    {
        frame.assignPreferences(*shell.prefs);
        shell.frame = &frame;
    }
    std::string selectedTitle() const
    {
        const QListWidgetItem* item = ui.prayerList->currentItem();
        return item && item->isSelected() ? item->text().toStdString() : "";
    }

    PageShell shell;
    ScriptedEditor editor{shell.scripted};
    PrayerTrackerPage frame{shell, editor};
    test::PrayerTrackerControls ui{frame};
    PrayerCommands commands{shell, frame, editor};
};

const QString kCloseQuestion = QStringLiteral(
    "Do you wish to save your changes to this prayer item?\n\n"
    "Select YES to save your changes and close the prayer editor.\n"
    "Select NO to close the prayer editor without saving your changes.\n"
    "Select CANCEL to return to the prayer editor without closing it.");

// Cancelling a new item leaves the journal and the page as they were; an item
// saved on the way out (the close question's Yes) stays.
TEST_F(PrayerCommandsTest, NewItemClosedUnsavedIsRemovedAgain)
{
    const std::int32_t older = shell.add("Older", "", "Active");
    const struct {
        const char* what;
        std::function<void(ScriptedEditor&)> user;
        bool kept;
    } cases[] = {
        {"closed untouched", [](ScriptedEditor& e) { e.close(); }, false},
        {"changed, then No",
         [this](ScriptedEditor& e) {
             e.controls.titleEdit->setText(QStringLiteral("Rain"));
             shell.scripted.expectYesNoCancel(kCloseQuestion, Dialogs::Answer::No);
             e.controls.closeAction->trigger();
         },
         false},
        {"changed, then Yes",
         [this](ScriptedEditor& e) {
             e.controls.titleEdit->setText(QStringLiteral("Rain"));
             shell.scripted.expectYesNoCancel(kCloseQuestion, Dialogs::Answer::Yes);
             e.controls.closeAction->trigger();
         },
         true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        shell.page = Page::Welcome;
        editor.user = [&c](ScriptedEditor& e) {
            EXPECT_TRUE(e.newItem_);
            EXPECT_EQ(e.controls.titleEdit->text(), "New Prayer Item"); // the first free title each time
            c.user(e);
        };
        commands.newPrayerCommand();
        EXPECT_TRUE(shell.scripted.done());
        const std::optional<std::int32_t> rain = shell.store->findPrayerByTitle("Rain");
        EXPECT_EQ(shell.store->findPrayerByTitle("New Prayer Item"), std::nullopt);
        EXPECT_EQ(shell.store->countPrayers(std::nullopt), c.kept ? 2 : 1);
        EXPECT_EQ(rain.has_value(), c.kept);
        EXPECT_EQ(shell.page, c.kept ? Page::PrayerTracker : Page::Welcome);
        if (c.kept) {
            EXPECT_EQ(selectedTitle(), "Rain");
        }
    }
    EXPECT_EQ(shell.store->prayerTitle(older), "Older");
    EXPECT_EQ(editor.shown, 3);
}

TEST_F(PrayerCommandsTest, NewItemSavedAsAnsweredEndsOnTheAnsweredTab)
{
    shell.add("Older answer", "", "Answered");
    // A search left in the field does not hide the new item.
    commands.viewPrayers(PrayerStatus::Answered);
    ui.searchEdit->setText(QStringLiteral("older"));
    editor.user = [](ScriptedEditor& e) {
        e.controls.titleEdit->setText(QStringLiteral("Rain"));
        e.controls.statusCombo->setCurrentText(QStringLiteral("Answered"));
        e.controls.saveAndCloseAction->trigger();
    };
    commands.newPrayerCommand();
    EXPECT_EQ(ui.statusTabs->currentIndex(), 1);
    EXPECT_EQ(frame.currentFilter(), PrayerStatus::Answered);
    EXPECT_EQ(selectedTitle(), "Rain");
    EXPECT_EQ(ui.prayerTitleLabel->text(), "Rain");
    EXPECT_EQ(ui.searchEdit->text(), "");
    EXPECT_EQ(frame.listing().size(), 2u);
}

TEST_F(PrayerCommandsTest, NewItemNotInsertedOpensNoEditor)
{
    shell.store->close();
    EXPECT_THROW(commands.newPrayerItem(), std::exception);
    EXPECT_EQ(editor.shown, 0);
}

// Each view command switches to the prayer page on its tab with the first
// item selected.
TEST_F(PrayerCommandsTest, ViewCommands)
{
    shell.add("A1", "", "Active");
    shell.add("A2", "", "Active");
    shell.add("B1", "", "Answered");
    shell.add("C1", "", "Inactive");
    const struct {
        void (PrayerCommands::*slot)();
        const char* link;
        int tab;
        const char* first;
    } cases[] = {
        {&PrayerCommands::showActivePrayers, "koav2:ViewActivePrayers", 0, "A1"},
        {&PrayerCommands::showAnsweredPrayers, "koav2:ViewAnsweredPrayers", 1, "B1"},
        {&PrayerCommands::showInactivePrayers, "koav2:ViewInactivePrayers", 2, "C1"},
        {&PrayerCommands::showAllPrayers, "koav2:ViewAllPrayers", 3, "A1"},
    };
    for (const auto& c : cases) {
        shell.showPage(Page::Welcome);
        ui.prayerList->clearSelection();
        (commands.*c.slot)();
        EXPECT_EQ(shell.page, Page::PrayerTracker) << c.link;
        EXPECT_EQ(ui.statusTabs->currentIndex(), c.tab) << c.link;
        EXPECT_EQ(selectedTitle(), c.first) << c.link;
        EXPECT_TRUE(ui.deletePrayerAction->isEnabled()) << c.link;
    }

    editor.user = [](ScriptedEditor& e) { e.close(); };
    commands.newPrayerCommand();
    EXPECT_EQ(editor.shown, 1);
}

TEST_F(PrayerCommandsTest, ViewAllOnAnEmptyStoreSelectsNothing)
{
    commands.showAllPrayers();
    EXPECT_EQ(ui.statusTabs->currentIndex(), 3);
    EXPECT_EQ(ui.prayerList->count(), 0);
    EXPECT_EQ(ui.prayerTitleLabel->text(), "No prayer item currently selected.");
}

} // namespace
} // namespace kovara::ui
