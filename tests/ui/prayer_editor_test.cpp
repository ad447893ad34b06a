// The prayer editor: opening a new and a formatted item, the modified flag,
// saving (preview, NULL text, edit time), the close question and placement.
#include "ui/prayer/prayer_editor.h"
#include "ui/base/core_names.h"

#include "core/settings/ini_file.h"
#include "core/app/preferences.h"
#include "prayer_test_support.h"
#include "ui/base/dates.h"
#include "ui/prayer/rtf_codec.h"
#include "ui/prayer/version1_import.h"
#include "core/content/bible_store.h"
#include "core/content/reference_parser.h"
#include "core/prayer/prayer_list_store.h"
#include "ui/base/html_viewer.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QDateEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>
#include <QTextList>
#include <QSignalSpy>
#include <QTest>
#include <QToolButton>
#include <gtest/gtest.h>

namespace kovara::ui {
namespace {

using test::ScriptedEditor;

const QString kCloseQuestion = QStringLiteral(
    "Do you wish to save your changes to this prayer item?\n\n"
    "Select YES to save your changes and close the prayer editor.\n"
    "Select NO to close the prayer editor without saving your changes.\n"
    "Select CANCEL to return to the prayer editor without closing it.");

// Three paragraphs: "Thanks" in bold Courier, a bullet "Health", and a
// centred "Amen".
std::string formattedRtf()
{
    QTextDocument doc;
    QTextCursor c(&doc);
    QTextCharFormat bold;
    bold.setFontWeight(QFont::Bold);
    bold.setFontFamilies(QStringList{QStringLiteral("Courier")});
    c.insertText(QStringLiteral("Thanks"), bold);
    c.insertBlock(QTextBlockFormat(), QTextCharFormat());
    QTextListFormat list;
    list.setStyle(QTextListFormat::ListDisc);
    c.createList(list);
    c.insertText(QStringLiteral("Health"));
    QTextBlockFormat centred;
    centred.setAlignment(Qt::AlignHCenter);
    c.insertBlock(centred);
    if (QTextList* l = c.currentList())
        l->remove(c.block());
    c.insertText(QStringLiteral("Amen"));
    const QByteArray rtf = writeRtf(doc);
    return rtf.toStdString();
}

// What the text area shows, paragraph by paragraph.
struct Para {
    QString text;
    bool bold;
    bool bullet;
    bool centred;
    QString family;
};

std::vector<Para> paragraphs(const QTextEdit& edit)
{
    std::vector<Para> out;
    for (QTextBlock b = edit.document()->begin(); b.isValid(); b = b.next()) {
        const QTextCharFormat f = b.begin().fragment().charFormat();
        out.push_back({b.text(), f.fontWeight() >= QFont::Bold, b.textList() != nullptr,
                       (b.blockFormat().alignment() & Qt::AlignHCenter) != 0,
                       f.fontFamilies().toStringList().value(0)});
    }
    return out;
}

class PrayerEditorTest : public ::testing::Test {
protected:
    void edit(std::int32_t index, bool newItem = false)
    {
        editor.editPrayer(*shell.store, index, newItem, *shell.prefs);
    }
    void type(const QString& text)
    {
        QTextCursor c = editor.controls.textEdit->textCursor();
        c.movePosition(QTextCursor::End);
        c.insertText(text);
    }

    test::PrayerShell shell;
    ScriptedEditor editor{shell.scripted};
};

TEST_F(PrayerEditorTest, NewItemOpensWithTitleSelectedAndClosesWithoutAsking)
{
    const std::int32_t index = shell.store->newPrayerItem();
    editor.user = [&](ScriptedEditor& e) {
        EXPECT_EQ(e.windowTitle(), "Editing Prayer Item - Kovara");
        EXPECT_EQ(e.controls.titleEdit->text(), "New Prayer Item");
        EXPECT_EQ(e.controls.titleEdit->selectedText(), "New Prayer Item");
        EXPECT_EQ(e.controls.topicCombo->currentText(), "");
        EXPECT_EQ(e.controls.statusCombo->currentText(), "Active");
        EXPECT_TRUE(e.controls.textEdit->document()->isEmpty());
        EXPECT_EQ(e.controls.datesLabel->text(), "Created on " + shortDateText(shell.fixedClock.today()) + ".");
        EXPECT_FALSE(e.modified());
        EXPECT_FALSE(e.controls.saveAndCloseAction->isEnabled());
        EXPECT_EQ(e.controls.modifiedLabel->text(), "Unmodified");
        e.controls.closeAction->trigger();
    };
    edit(index, true);
    EXPECT_EQ(editor.shown, 1);
    EXPECT_EQ(shell.store->prayerTitle(index), "New Prayer Item");
    EXPECT_EQ(shell.store->prayerStatus(index).word(), "Active");
    // Inputs back to idle.
    EXPECT_EQ(editor.store_, nullptr);
    EXPECT_EQ(editor.prayerIndex_, -1);
    EXPECT_FALSE(editor.newItem_);
}

// Answering in the editor: the answer fields show with the status Answered,
// today's date first; dated notes are added, changed and deleted in the table
// and reach the store only on saving.
TEST_F(PrayerEditorTest, AnswerAndNotesAreEditedAndSavedTogether)
{
    const std::int32_t index = shell.add("Mum", "Family", "Active");
    PrayerSave save;
    save.title = "Mum";
    save.topic = "Family";
    save.status = PrayerStatus::Active;
    save.touchEditTime = false;
    save.notes = PrayerNotes{{makeDate(2024, 4, 1), "admitted"}, {makeDate(2024, 4, 2), "to be deleted"}};
    shell.store->savePrayer(index, save);

    editor.user = [&](ScriptedEditor& e) {
        EXPECT_TRUE(e.controls.answerPanel->isHidden());
        ASSERT_EQ(e.controls.notesTable->rowCount(), 2);
        EXPECT_EQ(e.controls.notesTable->item(0, 0)->data(Qt::EditRole).toDate(), QDate(2024, 4, 1));
        EXPECT_EQ(e.controls.notesTable->item(0, 1)->text(), "admitted");
        EXPECT_FALSE(e.modified());

        e.controls.statusCombo->setCurrentText("Answered");
        EXPECT_FALSE(e.controls.answerPanel->isHidden());
        EXPECT_EQ(e.controls.answeredDateEdit->date(), QDate::currentDate());
        // Not before the item was made.
        const QDate created = toQDate(dayOf(shell.store->createTime(index)));
        e.controls.answeredDateEdit->setDate(created.addDays(-3));
        EXPECT_EQ(e.controls.answeredDateEdit->date(), created);
        e.controls.answeredDateEdit->setDate(QDate(2024, 5, 20));
        QTest::keyClicks(e.controls.answerNoteEdit, "Home in time for Easter");

        // The date's in-place field shows the whole date (not "1.4.202").
        e.controls.notesTable->editItem(e.controls.notesTable->item(0, 0));
        auto* dateField = e.controls.notesTable->viewport()->findChild<QDateEdit*>();
        ASSERT_NE(dateField, nullptr);
        EXPECT_GE(dateField->width(), dateField->sizeHint().width());
        EXPECT_GE(e.controls.notesTable->columnWidth(0), dateField->sizeHint().width());
        EXPECT_TRUE(dateField->calendarPopup());
        e.controls.notesTable->setCurrentItem(nullptr);

        e.controls.notesTable->item(0, 1)->setText("admitted on Monday");
        e.controls.notesTable->selectRow(1);
        e.controls.notesTable->setFocus();
        QTest::keyClick(e.controls.notesTable, Qt::Key_Delete);
        EXPECT_EQ(e.controls.notesTable->rowCount(), 1) << "Del in the list deletes the selected note";
        e.controls.addNoteButton->click();
        // Typed into the cell editor it opens, and saved without leaving it.
        auto* cell = e.controls.notesTable->viewport()->findChild<QLineEdit*>();
        ASSERT_NE(cell, nullptr);
        QTest::keyClicks(cell, "surgery went well");
        e.controls.addNoteButton->click(); // left empty: no note
        e.controls.saveAndCloseAction->trigger();
    };
    edit(index);

    EXPECT_EQ(shell.store->prayerStatus(index).word(), "Answered");
    const std::optional<PrayerAnswer> answer = shell.store->answer(index);
    ASSERT_TRUE(answer);
    EXPECT_EQ(answer->answeredTime, makeDate(2024, 5, 20));
    EXPECT_EQ(answer->answerNote, "Home in time for Easter");
    const PrayerNotes notes = shell.store->notes(index);
    ASSERT_EQ(notes.size(), 2u);
    EXPECT_EQ(notes[0].noteText, "admitted on Monday");
    EXPECT_EQ(notes[1].noteText, "surgery went well");
    EXPECT_EQ(notes[1].noteTime, toSysDays(QDate::currentDate()));
    EXPECT_EQ(shell.store->searchPrayers("easter"), std::vector<std::int32_t>{index});
}

// An item answered before answers were recorded, opened and saved for
// another change, is not given today's date.
TEST_F(PrayerEditorTest, OldAnsweredItemGetsNoRecordUnlessTheAnswerIsTouched)
{
    const std::int32_t index = shell.add("Harvest", "", "Answered");
    editor.user = [&](ScriptedEditor& e) {
        EXPECT_FALSE(e.controls.answerPanel->isHidden());
        e.controls.titleEdit->setText("Harvest 2023");
        e.controls.saveAndCloseAction->trigger();
    };
    edit(index);
    EXPECT_EQ(shell.store->prayerTitle(index), "Harvest 2023");
    EXPECT_FALSE(shell.store->answer(index));
}

TEST_F(PrayerEditorTest, RoundTripKeepsFormattingAndUsesTheDisplayFont)
{
    shell.prefs->textFontName = "Verdana";
    shell.add("Other", "Work", "Active");
    const std::int32_t index = shell.add("Family matters", "Family", "Active", formattedRtf());
    const sys_seconds created = shell.store->createTime(index);
    const sys_seconds edited = created + std::chrono::hours{36};

    editor.user = [&](ScriptedEditor& e) {
        EXPECT_EQ(e.controls.titleEdit->text(), "Family matters");
        EXPECT_EQ(e.controls.topicCombo->currentText(), "Family");
        ASSERT_EQ(e.controls.topicCombo->count(), 2);
        EXPECT_EQ(e.controls.topicCombo->itemText(1), "Work");
        const std::vector<Para> paras = paragraphs(*e.controls.textEdit);
        ASSERT_EQ(paras.size(), 3u);
        EXPECT_EQ(paras[0].text, "Thanks");
        EXPECT_TRUE(paras[0].bold);
        EXPECT_EQ(paras[0].family, "Verdana"); // stored Courier replaced
        EXPECT_TRUE(paras[1].bullet);
        EXPECT_TRUE(paras[2].centred);
        EXPECT_FALSE(e.modified());

        e.controls.titleEdit->setText(QStringLiteral("  Family  "));
        EXPECT_TRUE(e.modified());
        EXPECT_TRUE(e.controls.saveAndCloseAction->isEnabled());
        EXPECT_EQ(e.controls.modifiedLabel->text(), "Modified");
        e.controls.statusCombo->setCurrentIndex(1);
        shell.fixedClock.set(edited);
        e.controls.saveAndCloseAction->trigger();
        EXPECT_FALSE(e.modified());
        EXPECT_EQ(e.controls.modifiedLabel->text(), "Unmodified");
    };
    edit(index);

    EXPECT_EQ(shell.store->prayerTitle(index), "Family");
    EXPECT_EQ(shell.store->prayerStatus(index).word(), "Answered");
    EXPECT_EQ(shell.store->lastEditTime(index), edited);
    const PrayerHeaders rows = shell.store->prayerHeadersByTopic(PrayerStatus::Answered);
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].previewText, "Thanks Health Amen");

    editor.user = [&](ScriptedEditor& e) {
        EXPECT_EQ(e.controls.datesLabel->text(), "Created: " + shortDateText(dayOf(created)) + "; Last Edited: " +
                                            shortDateTimeText(edited) + ".");
        const std::vector<Para> paras = paragraphs(*e.controls.textEdit);
        ASSERT_EQ(paras.size(), 3u);
        EXPECT_TRUE(paras[0].bold);
        EXPECT_TRUE(paras[1].bullet);
        EXPECT_TRUE(paras[2].centred);
        e.close();
    };
    edit(index);
}

TEST_F(PrayerEditorTest, FormattingCommandsMarkModifiedAndSurviveSaving)
{
    const std::int32_t index = shell.add("Plain", "", "Active");
    editor.user = [&](ScriptedEditor& e) {
        type(QStringLiteral("Strong words"));
        e.controls.textEdit->selectAll();
        e.controls.boldAction->trigger();
        EXPECT_TRUE(e.controls.boldAction->isChecked());
        e.controls.alignCenterAction->trigger();
        e.controls.bulletsAction->trigger();
        EXPECT_TRUE(e.controls.bulletsAction->isChecked());
        e.controls.saveAndCloseAction->trigger();
    };
    edit(index);
    editor.user = [&](ScriptedEditor& e) {
        const std::vector<Para> paras = paragraphs(*e.controls.textEdit);
        ASSERT_EQ(paras.size(), 1u);
        EXPECT_TRUE(paras[0].bold);
        EXPECT_TRUE(paras[0].centred);
        EXPECT_TRUE(paras[0].bullet);
        e.controls.textEdit->selectAll();
        e.controls.bulletsAction->trigger(); // toggles the bullet off again
        EXPECT_FALSE(e.controls.bulletsAction->isChecked());
        EXPECT_EQ(e.controls.textEdit->document()->begin().textList(), nullptr);
        e.controls.saveAndCloseAction->trigger();
    };
    edit(index);
    QTextDocument stored;
    readRtf(QByteArray::fromStdString(shell.store->prayerText(index)), stored);
    EXPECT_EQ(stored.begin().textList(), nullptr);
    EXPECT_EQ(stored.toPlainText(), "Strong words");
}

// Each run of text with its own colour and background, as "text fg/bg"
// ("-" where the run has none and the display colours show).
std::string colouredRuns(const QTextDocument& doc)
{
    std::string out;
    for (QTextBlock b = doc.begin(); b.isValid(); b = b.next())
        for (auto it = b.begin(); !it.atEnd(); ++it) {
            const QTextCharFormat f = it.fragment().charFormat();
            const auto name = [](bool has, const QBrush& brush) {
                return has && brush.style() != Qt::NoBrush ? brush.color().name().toStdString() : std::string("-");
            };
            out += "[" + it.fragment().text().toStdString() + " " +
                   name(f.hasProperty(QTextFormat::ForegroundBrush), f.foreground()) + "/" +
                   name(f.hasProperty(QTextFormat::BackgroundBrush), f.background()) + "]";
        }
    return out;
}

// Colours entered every way - imported with an old item, pasted, typed on
// after coloured text - stay on screen and through save, reopen and save.
TEST_F(PrayerEditorTest, TextAndBackgroundColoursSurviveEverySave)
{
    shell.prefs->textFontColor = 0x00404040; // a display colour of the reader's own
    const std::string old = "{\\rtf1\\ansi{\\colortbl;\\red255\\green0\\blue0;\\red255\\green255\\blue0;}"
                            "\\pard Pray {\\cf1\\highlight2 for rain}\\par}";
    const std::int32_t index = shell.add("Rain", "", "Active", version1TextDocument(old));

    editor.user = [&](ScriptedEditor& e) {
        EXPECT_EQ(colouredRuns(*e.controls.textEdit->document()), "[Pray  -/-][for rain #ff0000/#ffff00]");
        QTextCursor c = e.controls.textEdit->textCursor();
        c.movePosition(QTextCursor::End);
        e.controls.textEdit->setTextCursor(c);
        e.controls.textEdit->insertPlainText(QStringLiteral(" today")); // typed on: the colours go on
        auto* mime = new QMimeData;
        mime->setHtml(QStringLiteral("<span style=\"color:#0000ff;background-color:#00ff00\">, pasted</span>"));
        QApplication::clipboard()->setMimeData(mime);
        e.controls.textEdit->paste();
        e.controls.saveAndCloseAction->trigger();
    };
    edit(index);
    const std::string coloured = "[Pray  -/-][for rain today #ff0000/#ffff00][, pasted #0000ff/#00ff00]";
    QTextDocument stored;
    readRtf(QByteArray::fromStdString(shell.store->prayerText(index)), stored);
    EXPECT_EQ(colouredRuns(stored), coloured);

    editor.user = [&](ScriptedEditor& e) {
        EXPECT_EQ(colouredRuns(*e.controls.textEdit->document()), coloured);
        QTextCursor c = e.controls.textEdit->textCursor();
        c.movePosition(QTextCursor::Start);
        e.controls.textEdit->setTextCursor(c);
        e.controls.textEdit->insertPlainText(QStringLiteral("Now "));
        e.controls.saveAndCloseAction->trigger();
    };
    edit(index);
    readRtf(QByteArray::fromStdString(shell.store->prayerText(index)), stored);
    EXPECT_EQ(colouredRuns(stored), "[Now Pray  -/-][for rain today #ff0000/#ffff00][, pasted #0000ff/#00ff00]");
}

// The preview rule end to end: what the text area holds decides both the
// stored preview and whether any text is stored at all.
TEST_F(PrayerEditorTest, SavedPreviewAndText)
{
    const struct {
        QString typed;
        std::string preview;
    } cases[] = {
        {QString(150, u'x'), std::string(97, 'x') + "..."},
        {QString(100, u'y'), std::string(100, 'y')},
        {QStringLiteral("Line one\nLine two\n"), "Line one Line two"},
        {QStringLiteral("\n \n\n"), ""},
    };
    for (const auto& c : cases) {
        const std::int32_t index = shell.add("Item", "Topic", "Active");
        editor.user = [&](ScriptedEditor& e) {
            type(c.typed);
            e.controls.topicCombo->setEditText(QString());
            e.controls.saveAndCloseAction->trigger();
        };
        edit(index);
        const PrayerHeaders rows = shell.store->prayerHeadersByTopic(PrayerStatus::Active);
        ASSERT_FALSE(rows.empty());
        EXPECT_EQ(rows.front().previewText, c.preview) << c.typed.toStdString();
        EXPECT_EQ(rows.front().prayerTopic, "");
        EXPECT_EQ(shell.store->prayerText(index).empty(), c.preview.empty()) << c.typed.toStdString();
        shell.store->deletePrayer(index);
    }
}

TEST_F(PrayerEditorTest, CloseQuestionAnswers)
{
    const struct {
        Dialogs::Answer answer;
        bool saved;
    } cases[] = {{Dialogs::Answer::Yes, true}, {Dialogs::Answer::No, false}};
    for (const auto& c : cases) {
        const std::int32_t index = shell.add("Before", "", "Active");
        editor.user = [&](ScriptedEditor& e) {
            e.controls.titleEdit->setText(QStringLiteral("After"));
            shell.scripted.expectYesNoCancel(kCloseQuestion, c.answer);
            e.controls.closeAction->trigger();
        };
        edit(index);
        EXPECT_EQ(shell.store->prayerTitle(index), c.saved ? "After" : "Before");
    }

    // Cancel keeps the window open with the changes; Esc asks again.
    const std::int32_t index = shell.add("Before", "", "Active");
    editor.user = [&](ScriptedEditor& e) {
        type(QStringLiteral("typed"));
        shell.scripted.expectYesNoCancel(kCloseQuestion, Dialogs::Answer::Cancel);
        e.close();
        EXPECT_TRUE(e.isVisible());
        EXPECT_TRUE(e.modified());
        EXPECT_EQ(e.controls.textEdit->toPlainText(), "typed");
        shell.scripted.expectYesNoCancel(kCloseQuestion, Dialogs::Answer::No);
        e.reject();
    };
    edit(index);
    EXPECT_EQ(shell.store->prayerText(index), "");
}

TEST_F(PrayerEditorTest, MissingInputsRaiseBeforeShowing)
{
    editor.prayerIndex_ = 1;
    editor.preferences_ = shell.prefs.get();
    EXPECT_EQ(kovara::test::messageOf([&] { editor.prepareToShow(); }),
              "Variables not properly initialized before FormShow");
    EXPECT_EQ(kovara::test::messageOf([&] { editor.editPrayer(*shell.store, -1, false, *shell.prefs); }),
              "Variables not properly initialized before FormShow");
    EXPECT_EQ(editor.shown, 0);
}

// A stored status the list does not offer is kept on saving instead of being
// cleared, which would hide the item from every tab.
TEST_F(PrayerEditorTest, UnknownStoredStatusIsKept)
{
    const std::int32_t index = shell.add("Odd", "", "Someday");
    editor.user = [&](ScriptedEditor& e) {
        EXPECT_EQ(e.controls.statusCombo->currentIndex(), -1);
        e.controls.titleEdit->setText(QStringLiteral("Odd item"));
        e.controls.saveAndCloseAction->trigger();
    };
    edit(index);
    EXPECT_EQ(shell.store->prayerStatus(index).word(), "Someday");
    EXPECT_EQ(shell.store->prayerTitle(index), "Odd item");
}

TEST_F(PrayerEditorTest, PlacementKeptInItsSection)
{
    IniFile ini(shell.dir.file("placement.ini"));
    ScriptedEditor placed(shell.scripted, &ini);
    const std::int32_t index = shell.add("Item", "", "Active");
    placed.user = [](ScriptedEditor& e) { e.close(); };
    placed.editPrayer(*shell.store, index, false, *shell.prefs);
    EXPECT_TRUE(ini.readBool("Prayer Edit Window State", "Saved", false));
    EXPECT_EQ(ini.readInteger("Prayer Edit Window State", "Right", 0) -
                  ini.readInteger("Prayer Edit Window State", "Left", 0),
              placed.width());
}

// Asking the clipboard whether it can paste waits for its owner, which may
// never answer: the editor asks only while it is on screen.
TEST_F(PrayerEditorTest, PasteCommandAsksTheClipboardOnlyWhileShown)
{
    QClipboard* clipboard = QApplication::clipboard();
    clipboard->clear();
    ScriptedEditor hidden{shell.scripted};
    EXPECT_TRUE(hidden.controls.pasteAction->isEnabled()) << "the clipboard was asked while the editor was made";
    clipboard->setText(QStringLiteral("x"));
    clipboard->clear();
    EXPECT_TRUE(hidden.controls.pasteAction->isEnabled()) << "the clipboard was asked while the editor was hidden";

    hidden.show();
    EXPECT_FALSE(hidden.controls.pasteAction->isEnabled());
    clipboard->setText(QStringLiteral("pasted"));
    EXPECT_TRUE(hidden.controls.pasteAction->isEnabled());
    hidden.hide();
}


} // namespace
} // namespace kovara::ui

namespace kovara::ui {
namespace {

// Verses prayed with an item: typed references are checked, shown with
// their text, removed, and written with the item; a verse clicked closes the
// window and is then asked for on the Bible page.
TEST_F(PrayerEditorTest, VersesAreAttachedShownRemovedAndOpened)
{
    kovara::test::makeAlphaBetaBible(shell.dir.file("bible.kova2"));
    const BibleStore bible(shell.dir.file("bible.kova2"), "Test Bible", "TB");
    editor.setBibleSource([&]() -> const BibleStore* { return &bible; });
    const std::int32_t index = shell.add("Mum", "Family", "Active");
    EXPECT_FALSE(PrayerListStore(*shell.store).exists());

    const auto shown = [&] { return editor.findChild<HtmlViewer*>("versesView")->toPlainText().toStdString(); };
    const auto attach = [&](const QString& typed) {
        auto* edit = editor.findChild<QLineEdit*>("verseEdit");
        edit->setText(typed);
        editor.findChild<QPushButton*>("attachVerseButton")->click();
    };
    editor.user = [&](ScriptedEditor& e) {
        EXPECT_NE(shown().find("No verses yet"), std::string::npos);
        attach(" Gen 1:1-2 ");
        EXPECT_TRUE(e.modified());
        attach("Gen 2:1");
        attach("Gen 1:1-2"); // attached already: once only
        shell.scripted.expectMessage("\"Gen 9:1\" is not a reference to attach: " +
                                     QString::fromStdString(parseReference("Gen 9:1", bible).error));
        attach("Gen 9:1");
        EXPECT_EQ(e.findChild<QLineEdit*>("verseEdit")->text(), "Gen 9:1") << "kept to be corrected";
        const std::string text = shown();
        EXPECT_NE(text.find("Gen 1:1-2 1A1:1 2A1:2"), std::string::npos) << text;
        EXPECT_NE(text.find("Gen 2:1 1A2:1"), std::string::npos) << text;
        emit e.findChild<HtmlViewer*>("versesView")->linkClicked("prayer:removeverse/0");
        EXPECT_EQ(shown().find("Gen 1:1"), std::string::npos);
        e.controls.saveAndCloseAction->trigger();
    };
    edit(index);
    EXPECT_EQ(PrayerListStore(*shell.store).verses(index), std::vector<std::string>{"Gen 2:1"});

    // A verse clicked: the window closes (asking first while modified) and
    // the verse is asked for once it has.
    QSignalSpy opened(&editor, &PrayerEditor::bibleLinkClicked);
    const QString closeQuestion = QCoreApplication::translate("kovara::ui::PrayerEditor",
        "Do you wish to save your changes to this prayer item?\n\n"
        "Select YES to save your changes and close the prayer editor.\n"
        "Select NO to close the prayer editor without saving your changes.\n"
        "Select CANCEL to return to the prayer editor without closing it.");
    editor.user = [&](ScriptedEditor& e) {
        e.controls.titleEdit->setText("Mum and Dad");
        shell.scripted.expectYesNoCancel(closeQuestion, Dialogs::Answer::Cancel);
        emit e.findChild<HtmlViewer*>("versesView")->linkClicked("bible:1.2.1");
        EXPECT_TRUE(e.isVisible()) << "Cancel keeps the window";
        EXPECT_EQ(opened.size(), 0);
        shell.scripted.expectYesNoCancel(closeQuestion, Dialogs::Answer::Yes);
        emit e.findChild<HtmlViewer*>("versesView")->linkClicked("bible:1.2.1");
        EXPECT_EQ(opened.size(), 0) << "not before the window has closed";
    };
    edit(index);
    ASSERT_EQ(opened.size(), 1);
    EXPECT_EQ(opened[0][0].toString(), "bible:1.2.1");
    EXPECT_EQ(shell.store->prayerTitle(index), "Mum and Dad");
}

// How often an item comes up is chosen in the editor too: written only when
// changed (a reader who never uses the list gets none of its tables), and a
// choice of weekdays needs at least one.
TEST_F(PrayerEditorTest, ScheduleIsChosenWithTheItem)
{
    const std::int32_t index = shell.add("Mum", "Family", "Active");
    const auto combo = [&] { return editor.findChild<QComboBox*>("scheduleCombo"); };
    const auto day = [&](int n) { return editor.findChild<QToolButton*>(QStringLiteral("weekdayButton%1").arg(n)); };
    editor.user = [&](ScriptedEditor& e) {
        EXPECT_EQ(combo()->currentText(), "In turn with the other items");
        EXPECT_TRUE(e.findChild<QWidget*>("weekdayPanel")->isHidden());
        e.controls.titleEdit->setText("Mum and Dad");
        e.controls.saveAndCloseAction->trigger();
    };
    edit(index);
    EXPECT_FALSE(PrayerListStore(*shell.store).exists()) << "an unchanged schedule writes nothing";

    editor.user = [&](ScriptedEditor& e) {
        combo()->setCurrentText("On chosen weekdays");
        EXPECT_FALSE(e.findChild<QWidget*>("weekdayPanel")->isHidden());
        for (int n = 1; n <= 7; ++n)
            EXPECT_EQ(day(n)->isChecked(), n <= 5) << "Monday to Friday offered first";
        for (int n = 1; n <= 7; ++n)
            day(n)->setChecked(false);
        shell.scripted.expectMessage("Choose the weekdays on which this item comes up.");
        e.controls.saveAndCloseAction->trigger();
        ASSERT_TRUE(e.isVisible());
        day(2)->setChecked(true);
        day(6)->setChecked(true);
        e.controls.saveAndCloseAction->trigger();
    };
    edit(index);
    const PrayerSchedule saved = PrayerListStore(*shell.store).schedule(index);
    EXPECT_EQ(saved.kind, ScheduleKind::Weekdays);
    EXPECT_EQ(saved.weekdays, weekdayBit(std::chrono::Tuesday) | weekdayBit(std::chrono::Saturday));
    EXPECT_EQ(saved.since, toSysDays(QDate::currentDate()));

    editor.user = [&](ScriptedEditor& e) {
        EXPECT_EQ(combo()->currentText(), "On chosen weekdays");
        EXPECT_TRUE(day(2)->isChecked() && day(6)->isChecked() && !day(1)->isChecked());
        EXPECT_FALSE(e.modified());
        combo()->setCurrentText("Every day");
        e.controls.saveAndCloseAction->trigger();
    };
    edit(index);
    EXPECT_EQ(PrayerListStore(*shell.store).schedule(index).kind, ScheduleKind::Daily);
}

} // namespace
} // namespace kovara::ui
