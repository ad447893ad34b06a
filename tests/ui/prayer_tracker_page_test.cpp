// The prayer tracker page: tabs and topic grouping, the selected item's
// details, status changes, deleting, editing, the split position and the
// display preferences.
#include "ui/prayer/prayer_tracker_page.h"
#include "ui/prayer/prayer_answered_dialog.h"
#include "ui/prayer/rtf_codec.h"
#include "ui/base/core_names.h"

#include "core/app/preferences.h"
#include "prayer_test_support.h"
#include "ui/base/dates.h"
#include "ui/base/colors.h"

#include <QAction>
#include <QApplication>
#include <QDateEdit>
#include <QVBoxLayout>
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
#include "prayer_tracker_controls.h"
#include <gtest/gtest.h>

namespace kovara::ui {
namespace {

using test::ScriptedEditor;

class PrayerTrackerTest : public ::testing::Test {
protected:
    PrayerTrackerTest()
    {
        frame.assignPreferences(*shell.prefs);
        frame.resize(700, 800);
        frame.show();
        shell.page = Page::PrayerTracker;
    }

    // The list as stored: "//{}//Topic" for group rows, "\tTitle" for items.
    std::vector<std::string> listRows() const
    {
        std::vector<std::string> rows;
        for (int i = 0; i < ui.prayerList->count(); ++i)
            rows.push_back(ui.prayerList->item(i)->data(PrayerTrackerPage::kStorageRole)
                               .toString()
                               .toStdString());
        return rows;
    }
    int rowOf(const std::string& storage) const
    {
        const std::vector<std::string> rows = listRows();
        const auto it = std::find(rows.begin(), rows.end(), storage);
        return it == rows.end() ? -1 : static_cast<int>(it - rows.begin());
    }
    // Plays the reader in the "Prayer Answered" question: types note over
    // what it proposes, picks date when given, and presses OK or Cancel.
    void answerWith(const QString& note, bool accept = true, QDate date = QDate())
    {
        frame.runAnswerDialog = [=](PrayerAnsweredDialog& dialog) {
            dialog.noteEdit()->setText(note);
            if (date.isValid())
                dialog.dateEdit()->setDate(date);
            return accept;
        };
    }
    std::string selectedRow() const
    {
        const int row = ui.prayerList->currentRow();
        return row < 0 || !ui.prayerList->item(row)->isSelected() ? "" : listRows()[row];
    }
    void select(const std::string& storage) { ui.prayerList->setCurrentRow(rowOf(storage)); }
    bool itemCommandsEnabled() const
    {
        return ui.editPrayerAction->isEnabled() || ui.deletePrayerAction->isEnabled() ||
               ui.prayerStatusAction->isEnabled() || ui.setStatusActiveAction->isEnabled() ||
               ui.setStatusAnsweredAction->isEnabled() || ui.setStatusInactiveAction->isEnabled();
    }

    test::PrayerShell shell;
    ScriptedEditor editor{shell.scripted};
    PrayerTrackerPage frame{shell, editor};
    test::PrayerTrackerControls ui{frame};
};

TEST_F(PrayerTrackerTest, TabsListItemsGroupedByTopic)
{
    shell.add("Zeta", "", "Active");
    shell.add("Alpha", "", "Active");
    shell.add("Mom", "Family", "Active");
    shell.add("Dad", "Family", "Active");
    shell.add("Job", "Work", "Active");
    shell.add("Kid", "friends", "Answered");
    shell.add("Old", "Family", "Inactive");
    shell.store->deletePrayer(shell.add("Gone", "Gone", "Active"));
    frame.initPrayers(*shell.store, PrayerStatus::Active, -1);

    const struct {
        int tab;
        std::vector<std::string> rows;
        std::string selected;
    } cases[] = {
        {0, {"\tAlpha", "\tZeta", "//{}//Family", "\tDad", "\tMom", "//{}//Work", "\tJob"}, "\tAlpha"},
        {1, {"//{}//friends", "\tKid"}, "\tKid"},
        {2, {"//{}//Family", "\tOld"}, "\tOld"},
        {3,
         {"\tAlpha", "\tZeta", "//{}//Family", "\tDad", "\tMom", "\tOld", "//{}//friends", "\tKid", "//{}//Work",
          "\tJob"},
         "\tAlpha"},
    };
    for (const auto& c : cases) {
        ui.statusTabs->setCurrentIndex(c.tab);
        EXPECT_EQ(frame.currentFilter(), PrayerTrackerPage::kTabFilters[c.tab]);
        EXPECT_EQ(listRows(), c.rows) << "tab " << c.tab;
        EXPECT_EQ(selectedRow(), c.selected) << "tab " << c.tab;
        EXPECT_EQ(ui.prayerTitleLabel->text().toStdString(), c.selected.substr(1));
    }

    // Group rows stand apart: no record, bold, in the caption colours.
    ui.statusTabs->setCurrentIndex(0);
    const QListWidgetItem* group = ui.prayerList->item(2);
    const QListWidgetItem* item = ui.prayerList->item(3);
    EXPECT_FALSE(group->data(PrayerTrackerPage::kRecordRole).isValid());
    EXPECT_TRUE(group->font().bold());
    EXPECT_NE(group->background().style(), Qt::NoBrush);
    EXPECT_EQ(item->background().style(), Qt::NoBrush);
    EXPECT_TRUE(item->data(PrayerTrackerPage::kRecordRole).isValid());
    EXPECT_FALSE(item->font().bold());
}

// A status word another program wrote is on no status tab, only on the tab
// of every item, and shows as stored with no status ticked.
TEST_F(PrayerTrackerTest, AStatusOfAnotherProgramIsListedUnderAllAndShownAsStored)
{
    shell.add("Kept", "", "Active");
    const std::int32_t odd = shell.add("Odd", "", "Someday");
    frame.initPrayers(*shell.store, PrayerStatus::Active, -1);
    for (int tab = 0; tab < 3; ++tab) {
        ui.statusTabs->setCurrentIndex(tab);
        EXPECT_EQ(rowOf("\tOdd"), -1) << "tab " << tab;
    }
    ui.statusTabs->setCurrentIndex(3);
    select("\tOdd");
    EXPECT_EQ(frame.selectedPrayerIndex(), odd);
    EXPECT_EQ(ui.prayerStatusAction->text(), "Prayer Status: Someday");
    EXPECT_FALSE(ui.setStatusActiveAction->isChecked() || ui.setStatusAnsweredAction->isChecked() ||
                 ui.setStatusInactiveAction->isChecked());
}

TEST_F(PrayerTrackerTest, SelectionShowsTitleDatesAndText)
{
    const std::int32_t empty = shell.add("Empty", "", "Active");
    shell.fixedClock.set(shell.fixedClock.now() + std::chrono::days{2});
    const std::int32_t topical = shell.add("Topical", "Family", "Active");
    frame.initPrayers(*shell.store, PrayerStatus::Active, topical);

    const sys_seconds created = shell.store->createTime(topical);
    EXPECT_EQ(selectedRow(), "\tTopical");
    EXPECT_EQ(ui.prayerDetailsLabel->text(),
              "Created: " + shortDateText(dayOf(created)) + "; Last Edited: " + shortDateTimeText(created) + ".");
    EXPECT_EQ(ui.prayerStatusAction->text(), "Prayer Status: Active");
    EXPECT_TRUE(ui.setStatusActiveAction->isChecked());
    EXPECT_EQ(frame.selectedPrayerIndex(), topical);

    // An item without text shows the hint, plain, in the display font.
    select("\tEmpty");
    EXPECT_EQ(frame.selectedPrayerIndex(), empty);
    EXPECT_EQ(ui.textEdit->toPlainText(), "Click Edit Prayer to add text to this prayer item.");
    const QTextCharFormat hint = ui.textEdit->document()->begin().begin().fragment().charFormat();
    EXPECT_EQ(hint.fontFamilies().toStringList().value(0), QString::fromStdString(shell.prefs->textFontName));
    EXPECT_FALSE(hint.fontWeight() >= QFont::Bold);

    // A group row: nothing selected to act on.
    select("//{}//Family");
    EXPECT_TRUE(ui.textEdit->document()->isEmpty());
    EXPECT_EQ(ui.prayerTitleLabel->text(), "No prayer item currently selected.");
    EXPECT_EQ(ui.prayerDetailsLabel->text(), "");
    EXPECT_FALSE(itemCommandsEnabled());
    EXPECT_EQ(ui.prayerStatusAction->text(), "Prayer Status:");

    // Another page showing: the commands are dead.
    select("\tTopical");
    EXPECT_TRUE(itemCommandsEnabled());
    shell.page = Page::Welcome;
    EXPECT_EQ(frame.selectedPrayerIndex(), -1);
}

// Clicking the empty space below the rows, or Ctrl+clicking the selected row,
// must not leave the details of an item on show while its commands are dead.
TEST_F(PrayerTrackerTest, MouseClicksOutsideARowKeepTheSelectedItem)
{
    shell.add("First", "", "Active");
    const std::int32_t second = shell.add("Second", "", "Active");
    frame.initPrayers(*shell.store, PrayerStatus::Active, second);
    QListWidget* list = ui.prayerList;
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
        EXPECT_EQ(frame.selectedPrayerIndex(), second) << click.what;
        EXPECT_EQ(ui.prayerTitleLabel->text(), "Second") << click.what;
        EXPECT_TRUE(itemCommandsEnabled()) << click.what;
    }

    // A plain click on another row still moves the selection.
    QTest::mouseClick(viewport, Qt::LeftButton, Qt::NoModifier, list->visualItemRect(list->item(0)).center());
    EXPECT_EQ(ui.prayerTitleLabel->text(), "First");
}

TEST_F(PrayerTrackerTest, EmptyFilterAndMissingPreferences)
{
    shell.add("Active one", "", "Active");
    frame.initPrayers(*shell.store, PrayerStatus::Answered, -1);
    EXPECT_EQ(ui.statusTabs->currentIndex(), 1);
    EXPECT_TRUE(listRows().empty());
    EXPECT_TRUE(ui.textEdit->document()->isEmpty());
    EXPECT_EQ(ui.prayerTitleLabel->text(), "No prayer item currently selected.");
    EXPECT_EQ(ui.prayerDetailsLabel->text(), "");
    EXPECT_FALSE(itemCommandsEnabled());
    EXPECT_FALSE(ui.selectAllAction->isEnabled());

    PrayerTrackerPage fresh(shell, editor);
    EXPECT_EQ(kovara::test::messageOf([&] { fresh.initPrayers(*shell.store, PrayerStatus::Active, -1); }),
              "Preferences not yet assigned on InitPrayers");
}

TEST_F(PrayerTrackerTest, StatusChangeMovesToTheNewTabUnlessOnAll)
{
    const std::int32_t first = shell.add("First", "", "Active");
    const std::int32_t second = shell.add("Second", "", "Active");
    const sys_seconds edited = shell.store->lastEditTime(second);
    shell.fixedClock.set(shell.fixedClock.now() + std::chrono::days{1});

    frame.initPrayers(*shell.store, PrayerStatus::Active, second);
    EXPECT_EQ(ui.statusButton->text(), "Prayer Status: Active");
    answerWith(" A new job in June ");
    ui.setStatusAnsweredAction->trigger();
    EXPECT_EQ(shell.store->prayerStatus(second).word(), "Answered");
    EXPECT_EQ(shell.store->lastEditTime(second), edited);
    EXPECT_EQ(shell.store->answer(second)->answeredTime, shell.fixedClock.today());
    EXPECT_EQ(ui.prayerJournalLabel->text(), "Answered 2 May: A new job in June");
    EXPECT_EQ(ui.statusTabs->currentIndex(), 1);
    EXPECT_EQ(selectedRow(), "\tSecond");
    EXPECT_EQ(ui.statusButton->text(), "Prayer Status: Answered");
    EXPECT_TRUE(ui.setStatusAnsweredAction->isChecked());
    EXPECT_FALSE(ui.setStatusActiveAction->isChecked());

    // The status it already has: nothing changes, the tick stays.
    ui.setStatusAnsweredAction->trigger();
    EXPECT_TRUE(ui.setStatusAnsweredAction->isChecked());
    EXPECT_EQ(ui.statusTabs->currentIndex(), 1);

    ui.statusTabs->setCurrentIndex(3);
    select("\tFirst");
    ui.setStatusInactiveAction->trigger();
    EXPECT_EQ(shell.store->prayerStatus(first).word(), "Inactive");
    EXPECT_EQ(ui.statusTabs->currentIndex(), 3);
    EXPECT_EQ(selectedRow(), "\tFirst");
    EXPECT_EQ(ui.statusButton->text(), "Prayer Status: Inactive");
}

// An answer whose date the reader corrected keeps that date when the item is
// set back to Active and answered again; an item never answered before gets
// today.
TEST_F(PrayerTrackerTest, AnsweringAgainKeepsACorrectedAnswerDate)
{
    const std::int32_t index = shell.add("Job", "", "Active");
    shell.fixedClock.set(shell.fixedClock.now() + std::chrono::days{30});
    const sys_days corrected = shell.fixedClock.today() - std::chrono::days{20};
    shell.store->setPrayerStatus(index, PrayerStatus::Answered, PrayerAnswer{corrected, "A new job"});
    shell.store->setPrayerStatus(index, PrayerStatus::Active);
    shell.fixedClock.set(shell.fixedClock.now() + std::chrono::days{3});

    frame.initPrayers(*shell.store, PrayerStatus::Active, index);
    frame.runAnswerDialog = [&](PrayerAnsweredDialog& dialog) {
        EXPECT_EQ(dialog.note(), "A new job") << "the earlier answer is proposed";
        EXPECT_EQ(dialog.date(), corrected);
        return true;
    };
    ui.setStatusAnsweredAction->trigger();
    ASSERT_TRUE(shell.store->answer(index));
    EXPECT_EQ(shell.store->answer(index)->answeredTime, corrected);
    EXPECT_EQ(shell.store->answer(index)->answerNote, "A new job");
}

// The question sets the answer's date too, within the item's life: not
// before the item was made, not after today.
TEST_F(PrayerTrackerTest, TheAnswerQuestionSetsTheDateWithinTheItemsLife)
{
    const sys_days today = shell.fixedClock.today();
    const std::int32_t index = shell.add("Job", "", "Active");
    const sys_days created = dayOf(shell.store->createTime(index));
    shell.fixedClock.set(shell.fixedClock.now() + std::chrono::days{30});
    const struct {
        const char* name;
        QDate picked;
        sys_days stored;
    } cases[] = {
        {"a day in between", toQDate(today + std::chrono::days{10}), today + std::chrono::days{10}},
        {"before the item was made", toQDate(created - std::chrono::days{5}), created},
        {"a day to come", toQDate(today + std::chrono::days{40}), today + std::chrono::days{30}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        shell.store->setPrayerStatus(index, PrayerStatus::Active);
        frame.initPrayers(*shell.store, PrayerStatus::Active, index);
        answerWith("A new job", true, c.picked);
        ui.setStatusAnsweredAction->trigger();
        ASSERT_TRUE(shell.store->answer(index));
        EXPECT_EQ(shell.store->answer(index)->answeredTime, c.stored);
    }
    // The question is wide enough for its title.
    PrayerAnsweredDialog dialog(today, QString(), created, today);
    EXPECT_GE(dialog.minimumWidth(), dialog.fontMetrics().horizontalAdvance(dialog.windowTitle()) + 100);
    EXPECT_EQ(dialog.windowTitle(), "Prayer Answered");
}

TEST_F(PrayerTrackerTest, DeleteAsksAndOnYesRemovesFromEveryTab)
{
    for (const bool yes : {false, true}) {
        shell.add("Keep", "", "Active");
        const std::int32_t doomed = shell.add("Doomed", "", "Active");
        frame.initPrayers(*shell.store, PrayerStatus::Active, doomed);
        shell.scripted.expectConfirm("Are you sure you wish to permenantly delete prayer item \"Doomed?\"", yes);
        ui.deletePrayerAction->trigger();
        EXPECT_TRUE(shell.scripted.done());
        EXPECT_EQ(shell.store->prayerStatus(doomed).word(), yes ? "Deleted" : "Active");
        if (yes) {
            EXPECT_EQ(listRows(), std::vector<std::string>{"\tKeep"});
            EXPECT_EQ(selectedRow(), "\tKeep");
            ui.statusTabs->setCurrentIndex(3);
            EXPECT_EQ(rowOf("\tDoomed"), -1);
        } else {
            EXPECT_EQ(selectedRow(), "\tDoomed");
            shell.store->deletePrayer(doomed);
            shell.store->deletePrayer(shell.store->findPrayerByTitle("Keep").value());
        }
    }
}

TEST_F(PrayerTrackerTest, DeleteQuotesTheTitleAsOneShortPlainLine)
{
    const std::int32_t item = shell.add("<b>Bold</b>\r\n" + std::string(5000, 'z'), "", "Active");
    frame.initPrayers(*shell.store, PrayerStatus::Active, item);
    shell.scripted.expectConfirm("Are you sure you wish to permenantly delete prayer item \"<b>Bold</b> " +
                                    QString(28, u'z') + QChar(0x2026) + QString(39, u'z') + "?\"",
                                false);
    ui.deletePrayerAction->trigger();
    EXPECT_EQ(shell.store->prayerStatus(item).word(), "Active");
}

TEST_F(PrayerTrackerTest, DelDeletesWhereverTheFocusIsButInATextField)
{
    // The page inside a window with a side bar button and a text field.
    QWidget window;
    auto* sideBar = new QPushButton(QStringLiteral("Side bar"), &window);
    auto* field = new QLineEdit(&window);
    auto* layout = new QVBoxLayout(&window);
    layout->addWidget(sideBar);
    layout->addWidget(field);
    layout->addWidget(&frame);
    window.show();
    QApplication::setActiveWindow(&window);

    const std::int32_t doomed = shell.add("Doomed", "", "Active");
    frame.initPrayers(*shell.store, PrayerStatus::Active, doomed);
    for (QWidget* focus : {static_cast<QWidget*>(field), static_cast<QWidget*>(ui.textEdit)}) {
        focus->setFocus();
        QTest::keyClick(focus, Qt::Key_Delete); // no question: the key is the field's
    }
    EXPECT_EQ(shell.store->prayerStatus(doomed).word(), "Active");
    for (QWidget* focus : {static_cast<QWidget*>(sideBar), static_cast<QWidget*>(ui.prayerList)}) {
        focus->setFocus();
        shell.scripted.expectConfirm("Are you sure you wish to permenantly delete prayer item \"Doomed?\"", false);
        QTest::keyClick(focus, Qt::Key_Delete);
        EXPECT_TRUE(shell.scripted.done()) << focus->metaObject()->className();
    }
    // On another page (the frame hidden) the key does nothing.
    frame.hide();
    sideBar->setFocus();
    QTest::keyClick(sideBar, Qt::Key_Delete);
    layout->removeWidget(&frame);
    frame.setParent(nullptr);
}

TEST_F(PrayerTrackerTest, EditAndDoubleClickOpenTheEditorAndRefill)
{
    const std::int32_t index = shell.add("Old title", "", "Active");
    shell.add("Another", "", "Active");
    frame.initPrayers(*shell.store, PrayerStatus::Active, index);
    editor.user = [&](ScriptedEditor& e) {
        EXPECT_EQ(e.prayerIndex_, index);
        EXPECT_FALSE(e.newItem_);
        e.controls.titleEdit->setText(QStringLiteral("New title"));
        e.controls.saveAndCloseAction->trigger();
    };
    ui.editPrayerAction->trigger();
    EXPECT_EQ(selectedRow(), "\tNew title");
    EXPECT_EQ(ui.prayerTitleLabel->text(), "New title");

    editor.user = [](ScriptedEditor& e) { e.close(); };
    emit ui.prayerList->itemDoubleClicked(ui.prayerList->currentItem());
    EXPECT_EQ(editor.shown, 2);
    select("//{}//"); // no such row: nothing selected, nothing opens
    frame.onPrayerDoubleClicked();
    EXPECT_EQ(editor.shown, 2);
}

// The frame asks the shell for the store at each use, so a store replaced by
// a backup or restore is never touched after it is gone.
TEST_F(PrayerTrackerTest, UsesTheCurrentStoreAfterItWasReplaced)
{
    const std::int32_t index = shell.add("Survivor", "", "Active");
    frame.initPrayers(*shell.store, PrayerStatus::Active, index);
    shell.reopenStore();
    answerWith("typed, then cancelled", false); // Cancel: answered, without a note
    ui.setStatusAnsweredAction->trigger();
    EXPECT_EQ(shell.store->answer(index)->answerNote, "");
    EXPECT_EQ(shell.store->prayerStatus(index).word(), "Answered");
    EXPECT_EQ(selectedRow(), "\tSurvivor");
}

// Below the dates: the answer while the item is answered (also one answered
// before answers were recorded) and the newest dated note.
TEST_F(PrayerTrackerTest, AnswerAndLatestNoteShowUnderTheDates)
{
    const std::int32_t old = shell.add("Old answer", "", "Answered");
    const std::int32_t noted = shell.add("Noted", "", "Active");
    PrayerSave save;
    save.title = "Noted";
    save.status = PrayerStatus::Active;
    save.touchEditTime = false;
    save.notes = PrayerNotes{{makeDate(2024, 4, 2), "older"}, {makeDate(2023, 12, 3), "oldest"},
                             {makeDate(2024, 4, 30), "surgery went well"}};
    shell.store->savePrayer(noted, save);

    frame.initPrayers(*shell.store, PrayerStatus::Answered, old);
    EXPECT_EQ(ui.prayerJournalLabel->text(), "answered (date not recorded)");
    EXPECT_EQ(ui.prayerList->currentItem()->data(PrayerTrackerPage::kAnsweredRole).toString(),
              "answered (date not recorded)")
        << "the Answered tab's rows say when";
    frame.initPrayers(*shell.store, PrayerStatus::Active, noted);
    EXPECT_EQ(ui.prayerJournalLabel->text(), "Latest note, 30 Apr: surgery went well");

    // Answered with a note, then back to Active: the record is kept, not shown.
    shell.store->setPrayerStatus(noted, PrayerStatus::Answered, {makeDate(2023, 12, 24), ""});
    frame.initPrayers(*shell.store, PrayerStatus::Answered, noted);
    EXPECT_EQ(ui.prayerList->currentItem()->data(PrayerTrackerPage::kAnsweredRole).toString(),
              "answered 24 Dec 2023");
    frame.initPrayers(*shell.store, std::nullopt, noted);
    EXPECT_EQ(ui.prayerList->currentItem()->data(PrayerTrackerPage::kAnsweredRole).toString(),
              "answered 24 Dec 2023")
        << "the All tab says each item's status";
    EXPECT_EQ(ui.prayerJournalLabel->text(), "Answered 24 Dec 2023.\nLatest note, 30 Apr: surgery went well");
    shell.store->setPrayerStatus(noted, PrayerStatus::Active);
    frame.initPrayers(*shell.store, std::nullopt, noted);
    EXPECT_EQ(ui.prayerJournalLabel->text(), "Latest note, 30 Apr: surgery went well");
    EXPECT_EQ(ui.prayerList->currentItem()->data(PrayerTrackerPage::kAnsweredRole).toString(), "active");
    frame.initPrayers(*shell.store, PrayerStatus::Active, noted);
    EXPECT_FALSE(ui.prayerList->currentItem()->data(PrayerTrackerPage::kAnsweredRole).isValid())
        << "a status tab needs no status on its rows";
    EXPECT_TRUE(shell.store->answer(noted));
    frame.initPrayers(*shell.store, PrayerStatus::Inactive, -1);
    EXPECT_TRUE(ui.prayerJournalLabel->isHidden()) << "nothing selected";
}

// Typing in the search field filters the current tab as it goes, keeps the
// shown item while it matches and marks the words in its text; Esc empties it.
TEST_F(PrayerTrackerTest, SearchFiltersTheTabAndMarksTheWords)
{
    // Items as the editor saves them: the whole text goes into the index.
    auto add = [&](const std::string& title, const std::string& topic, const std::string& status,
                   const std::string& text, const PrayerNotes& notes = {}) {
        PrayerSave save;
        save.title = title;
        save.topic = topic;
        save.status = StoredStatus::fromWord(status);
        save.textData = "{\\rtf1 " + text + "}";
        save.plainText = text;
        save.notes = notes;
        const std::int32_t index = shell.store->newPrayerItem();
        shell.store->savePrayer(index, save);
        return index;
    };
    add("Mum", "Family", "Active", "Surgery on Tuesday, surgeon Dr Lee");
    const std::int32_t job = add("Job", "Work", "Active", "Interview", {{shell.fixedClock.today(), "the bakery rang back"}});
    add("Surgery fund", "Church", "Inactive", "Building");

    frame.initPrayers(*shell.store, PrayerStatus::Active, job);
    QTest::keyClicks(ui.searchEdit, "bak");
    EXPECT_EQ(listRows(), (std::vector<std::string>{"//{}//Work", "\tJob"})) << "a word only in a note";
    EXPECT_EQ(selectedRow(), "\tJob");

    ui.searchEdit->setText("SURG");
    EXPECT_EQ(listRows(), (std::vector<std::string>{"//{}//Family", "\tMum"})) << "the Inactive item stays out";
    EXPECT_EQ(selectedRow(), "\tMum") << "the first match once the shown item is gone";
    const QList<QTextEdit::ExtraSelection> marks = ui.textEdit->extraSelections();
    ASSERT_EQ(marks.size(), 2);
    EXPECT_EQ(marks[0].cursor.selectedText(), "Surgery");
    EXPECT_EQ(marks[1].cursor.selectedText(), "surgeon");

    ui.searchEdit->setText("nothing-like-this");
    ASSERT_EQ(ui.prayerList->count(), 1) << "a word instead of an empty list";
    EXPECT_EQ(ui.prayerList->item(0)->text(), "No prayer item matches \"nothing-like-this\".");
    EXPECT_FALSE(ui.prayerList->item(0)->flags() & Qt::ItemIsSelectable);
    EXPECT_EQ(listRows(), std::vector<std::string>{""}) << "no item row";
    EXPECT_EQ(ui.prayerTitleLabel->text(), "No prayer item currently selected.");

    ui.searchEdit->setFocus();
    QTest::keyClick(ui.searchEdit, Qt::Key_Escape);
    EXPECT_EQ(ui.searchEdit->text(), "");
    EXPECT_EQ(listRows().size(), 4u);
    EXPECT_TRUE(ui.textEdit->extraSelections().isEmpty());
}

// The marks follow the search: accents aside whichever way the text or the
// search is written, the words of a phrase, and emoji.
TEST_F(PrayerTrackerTest, SearchMarksWordsWhateverTheirAccentsAndEmoji)
{
    PrayerSave save;
    save.title = "Visit";
    save.status = PrayerStatus::Active;
    const QString text = QStringLiteral("Caf\u00e9 and cafe\u0301 and CAFE, a safe operation \U0001F389 done");
    QTextDocument document;
    document.setPlainText(text);
    save.textData = writeRtf(document).toStdString();
    save.plainText = text.toStdString();
    const std::int32_t index = shell.store->newPrayerItem();
    shell.store->savePrayer(index, save);
    frame.initPrayers(*shell.store, PrayerStatus::Active, index);

    const struct {
        const char* words;
        std::vector<QString> marked;
    } cases[] = {
        {"cafe", {QStringLiteral("Caf\u00e9"), QStringLiteral("cafe\u0301"), QStringLiteral("CAFE")}},
        {"caf\u00e9", {QStringLiteral("Caf\u00e9"), QStringLiteral("cafe\u0301"), QStringLiteral("CAFE")}},
        {"\"safe operation\"", {QStringLiteral("safe"), QStringLiteral("operation")}},
        {"\U0001F389", {QStringLiteral("\U0001F389")}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.words);
        ui.searchEdit->setText(QString::fromUtf8(c.words));
        ASSERT_EQ(selectedRow(), "\tVisit");
        std::vector<QString> marked;
        for (const QTextEdit::ExtraSelection& mark : ui.textEdit->extraSelections())
            marked.push_back(mark.cursor.selectedText());
        EXPECT_EQ(marked, c.marked);
    }
}

TEST_F(PrayerTrackerTest, SplitPercentIsClampedTo25Through75)
{
    const struct {
        int asked, kept;
    } cases[] = {{10, 25}, {25, 25}, {50, 50}, {75, 75}, {90, 75}};
    for (const auto& c : cases) {
        shell.prefs->splitPercent = c.asked;
        frame.assignPreferences(*shell.prefs);
        EXPECT_EQ(frame.splitPercent(), c.kept) << c.asked;
        const QList<int> sizes = ui.splitter->sizes();
        EXPECT_NEAR(100.0 * sizes[0] / (sizes[0] + sizes[1]), c.kept, 1.0) << c.asked;
    }

    // Dragged past the limit by the user: pulled back to it.
    ui.splitter->setSizes({950, 50});
    emit ui.splitter->splitterMoved(950, 1);
    EXPECT_EQ(frame.splitPercent(), 75);
    const QList<int> sizes = ui.splitter->sizes();
    EXPECT_NEAR(100.0 * sizes[0] / (sizes[0] + sizes[1]), 75, 1.0);
}

TEST_F(PrayerTrackerTest, NewPreferencesRestyleTheTextAndKeepTheSelection)
{
    shell.add("Styled", "", "Active", "{\\rtf1 Hello {\\b world}\\par}");
    frame.initPrayers(*shell.store, PrayerStatus::Active, -1);
    QTextCursor cursor = ui.textEdit->textCursor();
    cursor.setPosition(0);
    cursor.setPosition(5, QTextCursor::KeepAnchor);
    ui.textEdit->setTextCursor(cursor);
    EXPECT_TRUE(ui.copyAction->isEnabled());

    shell.prefs->textFontName = "Courier";
    shell.prefs->textFontSize = 14;
    shell.prefs->textBackColor = 0x0000FF; // red
    frame.assignPreferences(*shell.prefs);
    EXPECT_EQ(ui.textEdit->textCursor().selectedText(), "Hello");
    const QTextBlock block = ui.textEdit->document()->begin();
    bool boldWorld = false;
    for (QTextBlock::iterator it = block.begin(); !it.atEnd(); ++it) {
        const QTextCharFormat f = it.fragment().charFormat();
        EXPECT_EQ(f.fontFamilies().toStringList().value(0), "Courier");
        EXPECT_EQ(f.fontPointSize(), 14);
        boldWorld = boldWorld || (it.fragment().text() == "world" && f.fontWeight() >= QFont::Bold);
    }
    EXPECT_TRUE(boldWorld);
    EXPECT_EQ(ui.textEdit->palette().color(QPalette::Base), QColor(255, 0, 0));
}

} // namespace
} // namespace kovara::ui
