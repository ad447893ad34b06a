// The prayer editor: opening a new and a formatted item, the modified flag,
// saving (preview, NULL text, edit time), the close question and placement.
#include "ui/prayer/formEditPrayer.h"

#include "app/ini_file.h"
#include "app/kova_prefs.h"
#include "prayer_test_support.h"
#include "ui/widgets/dates.h"
#include "ui/prayer/rtf_codec.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>
#include <QTextList>
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
std::string FormattedRtf()
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
    const QByteArray rtf = WriteRtf(doc);
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

std::vector<Para> Paragraphs(const QTextEdit& edit)
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
    void Edit(std::int32_t index, bool newItem = false)
    {
        editor.EditPrayer(*shell.store, index, newItem, *shell.prefs);
    }
    void Type(const QString& text)
    {
        QTextCursor c = editor.RichEdit1->textCursor();
        c.movePosition(QTextCursor::End);
        c.insertText(text);
    }

    test::PrayerShell shell;
    ScriptedEditor editor{shell.dialogs};
};

TEST_F(PrayerEditorTest, NewItemOpensWithTitleSelectedAndClosesWithoutAsking)
{
    const std::int32_t index = shell.store->NewPrayerItem(0);
    editor.user = [&](ScriptedEditor& e) {
        EXPECT_EQ(e.windowTitle(), "Editing Prayer Item - Kovara");
        EXPECT_EQ(e.RzEditTitle->text(), "New Prayer Item");
        EXPECT_EQ(e.RzEditTitle->selectedText(), "New Prayer Item");
        EXPECT_EQ(e.RzComboBoxTopic->currentText(), "");
        EXPECT_EQ(e.RzComboBoxStatus->currentText(), "Active");
        EXPECT_TRUE(e.RichEdit1->document()->isEmpty());
        EXPECT_EQ(e.LabelDates->text(), "Created on " + ShortDateText(shell.clock.Now()) + ".");
        EXPECT_FALSE(e.Modified());
        EXPECT_FALSE(e.ActionSaveAndClose->isEnabled());
        EXPECT_EQ(e.RzStatusPaneMod->text(), "Unmodified");
        e.ActionClose->trigger();
    };
    Edit(index, true);
    EXPECT_EQ(editor.shown, 1);
    EXPECT_EQ(shell.store->GetPrayerTitle(index), "New Prayer Item");
    EXPECT_EQ(shell.store->GetPrayerStatus(index), "Active");
    // Inputs back to idle.
    EXPECT_EQ(editor.Store, nullptr);
    EXPECT_EQ(editor.PrayerIndex, -1);
    EXPECT_FALSE(editor.NewItem);
}

TEST_F(PrayerEditorTest, RoundTripKeepsFormattingAndUsesTheDisplayFont)
{
    shell.prefs->TextFontName = "Verdana";
    shell.Add("Other", "Work", "Active");
    const std::int32_t index = shell.Add("Family matters", "Family", "Active", FormattedRtf());
    const TDateTime created = shell.store->GetCreateTime(index);

    editor.user = [&](ScriptedEditor& e) {
        EXPECT_EQ(e.RzEditTitle->text(), "Family matters");
        EXPECT_EQ(e.RzComboBoxTopic->currentText(), "Family");
        ASSERT_EQ(e.RzComboBoxTopic->count(), 2);
        EXPECT_EQ(e.RzComboBoxTopic->itemText(1), "Work");
        const std::vector<Para> paras = Paragraphs(*e.RichEdit1);
        ASSERT_EQ(paras.size(), 3u);
        EXPECT_EQ(paras[0].text, "Thanks");
        EXPECT_TRUE(paras[0].bold);
        EXPECT_EQ(paras[0].family, "Verdana"); // stored Courier replaced
        EXPECT_TRUE(paras[1].bullet);
        EXPECT_TRUE(paras[2].centred);
        EXPECT_FALSE(e.Modified());

        e.RzEditTitle->setText(QStringLiteral("  Family  "));
        EXPECT_TRUE(e.Modified());
        EXPECT_TRUE(e.ActionSaveAndClose->isEnabled());
        EXPECT_EQ(e.RzStatusPaneMod->text(), "Modified");
        e.RzComboBoxStatus->setCurrentIndex(1);
        shell.clock.Set(created + 1.5);
        e.ActionSaveAndClose->trigger();
        EXPECT_FALSE(e.Modified());
        EXPECT_EQ(e.RzStatusPaneMod->text(), "Unmodified");
    };
    Edit(index);

    EXPECT_EQ(shell.store->GetPrayerTitle(index), "Family");
    EXPECT_EQ(shell.store->GetPrayerStatus(index), "Answered");
    EXPECT_EQ(shell.store->GetLastEditTime(index), created + 1.5);
    TPrayerHeaderRecArray rows;
    shell.store->GetPrayerHeadersByTopic("Answered", rows);
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].previewText, "Thanks Health Amen");

    editor.user = [&](ScriptedEditor& e) {
        EXPECT_EQ(e.LabelDates->text(), "Created: " + ShortDateText(created) + "; Last Edited: " +
                                            ShortDateTimeText(created + 1.5) + ".");
        const std::vector<Para> paras = Paragraphs(*e.RichEdit1);
        ASSERT_EQ(paras.size(), 3u);
        EXPECT_TRUE(paras[0].bold);
        EXPECT_TRUE(paras[1].bullet);
        EXPECT_TRUE(paras[2].centred);
        e.close();
    };
    Edit(index);
}

TEST_F(PrayerEditorTest, FormattingCommandsMarkModifiedAndSurviveSaving)
{
    const std::int32_t index = shell.Add("Plain", "", "Active");
    editor.user = [&](ScriptedEditor& e) {
        Type(QStringLiteral("Strong words"));
        e.RichEdit1->selectAll();
        e.RichEditBold1->trigger();
        EXPECT_TRUE(e.RichEditBold1->isChecked());
        e.RichEditAlignCenter1->trigger();
        e.RichEditBullets1->trigger();
        EXPECT_TRUE(e.RichEditBullets1->isChecked());
        e.ActionSaveAndClose->trigger();
    };
    Edit(index);
    editor.user = [&](ScriptedEditor& e) {
        const std::vector<Para> paras = Paragraphs(*e.RichEdit1);
        ASSERT_EQ(paras.size(), 1u);
        EXPECT_TRUE(paras[0].bold);
        EXPECT_TRUE(paras[0].centred);
        EXPECT_TRUE(paras[0].bullet);
        e.RichEdit1->selectAll();
        e.RichEditBullets1->trigger(); // toggles the bullet off again
        EXPECT_FALSE(e.RichEditBullets1->isChecked());
        EXPECT_EQ(e.RichEdit1->document()->begin().textList(), nullptr);
        e.ActionSaveAndClose->trigger();
    };
    Edit(index);
    QTextDocument stored;
    ReadRtf(QByteArray::fromStdString(shell.store->GetPrayerText(index)), stored);
    EXPECT_EQ(stored.begin().textList(), nullptr);
    EXPECT_EQ(stored.toPlainText(), "Strong words");
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
        const std::int32_t index = shell.Add("Item", "Topic", "Active");
        editor.user = [&](ScriptedEditor& e) {
            Type(c.typed);
            e.RzComboBoxTopic->setEditText(QString());
            e.ActionSaveAndClose->trigger();
        };
        Edit(index);
        TPrayerHeaderRecArray rows;
        shell.store->GetPrayerHeadersByTopic("Active", rows);
        ASSERT_FALSE(rows.empty());
        EXPECT_EQ(rows.front().previewText, c.preview) << c.typed.toStdString();
        EXPECT_EQ(rows.front().prayerTopic, "");
        EXPECT_EQ(shell.store->GetPrayerText(index).empty(), c.preview.empty()) << c.typed.toStdString();
        shell.store->SetPrayerStatus(index, "Deleted");
    }
}

TEST_F(PrayerEditorTest, CloseQuestionAnswers)
{
    const struct {
        Dialogs::Answer answer;
        bool saved;
    } cases[] = {{Dialogs::Answer::Yes, true}, {Dialogs::Answer::No, false}};
    for (const auto& c : cases) {
        const std::int32_t index = shell.Add("Before", "", "Active");
        editor.user = [&](ScriptedEditor& e) {
            e.RzEditTitle->setText(QStringLiteral("After"));
            shell.dialogs.ExpectYesNoCancel(kCloseQuestion, c.answer);
            e.ActionClose->trigger();
        };
        Edit(index);
        EXPECT_EQ(shell.store->GetPrayerTitle(index), c.saved ? "After" : "Before");
    }

    // Cancel keeps the window open with the changes; Esc asks again.
    const std::int32_t index = shell.Add("Before", "", "Active");
    editor.user = [&](ScriptedEditor& e) {
        Type(QStringLiteral("typed"));
        shell.dialogs.ExpectYesNoCancel(kCloseQuestion, Dialogs::Answer::Cancel);
        e.close();
        EXPECT_TRUE(e.isVisible());
        EXPECT_TRUE(e.Modified());
        EXPECT_EQ(e.RichEdit1->toPlainText(), "typed");
        shell.dialogs.ExpectYesNoCancel(kCloseQuestion, Dialogs::Answer::No);
        e.reject();
    };
    Edit(index);
    EXPECT_EQ(shell.store->GetPrayerText(index), "");
}

TEST_F(PrayerEditorTest, MissingInputsRaiseBeforeShowing)
{
    editor.PrayerIndex = 1;
    editor.Preferences = shell.prefs.get();
    EXPECT_EQ(kovara::test::MessageOf([&] { editor.FormShow(); }),
              "Variables not properly initialized before FormShow");
    EXPECT_EQ(kovara::test::MessageOf([&] { editor.EditPrayer(*shell.store, -1, false, *shell.prefs); }),
              "Variables not properly initialized before FormShow");
    EXPECT_EQ(editor.shown, 0);
}

// A stored status the list does not offer is kept on saving instead of being
// cleared, which would hide the item from every tab.
TEST_F(PrayerEditorTest, UnknownStoredStatusIsKept)
{
    const std::int32_t index = shell.Add("Odd", "", "Someday");
    editor.user = [&](ScriptedEditor& e) {
        EXPECT_EQ(e.RzComboBoxStatus->currentIndex(), -1);
        e.RzEditTitle->setText(QStringLiteral("Odd item"));
        e.ActionSaveAndClose->trigger();
    };
    Edit(index);
    EXPECT_EQ(shell.store->GetPrayerStatus(index), "Someday");
    EXPECT_EQ(shell.store->GetPrayerTitle(index), "Odd item");
}

TEST_F(PrayerEditorTest, PlacementKeptInItsSection)
{
    TIniFile ini(shell.dir.File("placement.ini"));
    ScriptedEditor placed(shell.dialogs, &ini);
    const std::int32_t index = shell.Add("Item", "", "Active");
    placed.user = [](ScriptedEditor& e) { e.close(); };
    placed.EditPrayer(*shell.store, index, false, *shell.prefs);
    EXPECT_TRUE(ini.ReadBool("Prayer Edit Window State", "Saved", false));
    EXPECT_EQ(ini.ReadInteger("Prayer Edit Window State", "Right", 0) -
                  ini.ReadInteger("Prayer Edit Window State", "Left", 0),
              placed.width());
}

// Asking the clipboard whether it can paste waits for its owner, which may
// never answer: the editor asks only while it is on screen.
TEST_F(PrayerEditorTest, PasteCommandAsksTheClipboardOnlyWhileShown)
{
    QClipboard* clipboard = QApplication::clipboard();
    clipboard->clear();
    ScriptedEditor hidden{shell.dialogs};
    EXPECT_TRUE(hidden.EditPaste1->isEnabled()) << "the clipboard was asked while the editor was made";
    clipboard->setText(QStringLiteral("x"));
    clipboard->clear();
    EXPECT_TRUE(hidden.EditPaste1->isEnabled()) << "the clipboard was asked while the editor was hidden";

    hidden.show();
    EXPECT_FALSE(hidden.EditPaste1->isEnabled());
    clipboard->setText(QStringLiteral("pasted"));
    EXPECT_TRUE(hidden.EditPaste1->isEnabled());
    hidden.hide();
}

} // namespace
} // namespace kovara::ui
