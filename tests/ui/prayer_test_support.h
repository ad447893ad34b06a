#pragma once
// What the prayer page tests share: a shell over a temporary prayers.kova2
// with a fixed fixedClock, scripted scripted and test preferences; and the prayer
// editor with its modal step played by the test.
#include "ui/base/core_names.h"
#include "core/base/datetime.h"
#include "core/base/exception.h"
#include "fixtures.h"
#include "core/prayer/prayer_store.h"
#include "scripted_dialogs.h"
#include "test_preferences.h"
#include "ui/prayer/prayer_editor.h"
#include "ui/base/shell.h"

#include <QAction>
#include <QComboBox>
#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QTextEdit>
#include <functional>
#include <memory>
#include <string>

namespace kovara::ui::test {

class PrayerShell : public Shell {
public:
    PrayerShell() : store(std::make_unique<PrayerStore>(dir.file("prayers.kova2"), &fixedClock)) {}

    Preferences& preferences() override { return *prefs; }
    BibleStore& bible() override { throw Exception("no Bible in this test"); }
    DevotionalStore& devotional() override { throw Exception("no devotional in this test"); }
    PlanStore& planStore() override { throw Exception("no plans in this test"); }
    PrayerStore& prayerStore() override { return *store; }
    Dialogs& dialogs() override { return scripted; }
    const Clock& clock() override { return fixedClock; }
    const std::string& contentFolder() const override { return folder; }
    const std::string& userDataFolder() const override { return folder; }
    void showPage(Page p) override { page = p; }
    Page currentPage() const override { return page; }

    // Stands for a backup or restore: the store is freed and made anew.
    void reopenStore()
    {
        store.reset();
        store = std::make_unique<PrayerStore>(dir.file("prayers.kova2"), &fixedClock);
    }

    // An item as the editor would have saved it, without touching its edit
    // time; status is the stored word, rtf empty means no text.
    std::int32_t add(const std::string& title, const std::string& topic, const std::string& status,
                     const std::string& rtf = {})
    {
        const std::int32_t index = store->newPrayerItem();
        store->updatePrayer(index, title, topic, rtf.empty() ? "" : title, StoredStatus::fromWord(status), rtf,
                            false);
        return index;
    }

    kovara::test::TempDir dir;
    std::string folder = dir.folder();
    FixedClock fixedClock{makeMoment(2024, 5, 1, 9, 15, 0)};
    std::unique_ptr<Preferences> prefs = makeTestPreferences();
    ScriptedDialogs scripted;
    std::unique_ptr<PrayerStore> store;
    Page page = Page::Welcome;
};

// The editor's widgets and commands, found by their object names, for tests
// that type into it and press its buttons as the user does.
struct EditorControls {
    explicit EditorControls(const PrayerEditor& editor)
        : saveAndCloseAction(editor.findChild<QAction*>("saveAndCloseAction")),
          closeAction(editor.findChild<QAction*>("closeAction")),
          titleEdit(editor.findChild<QLineEdit*>("titleEdit")),
          topicCombo(editor.findChild<QComboBox*>("topicCombo")),
          statusCombo(editor.findChild<QComboBox*>("statusCombo")),
          datesLabel(editor.findChild<QLabel*>("datesLabel")),
          answerPanel(editor.findChild<QWidget*>("answerPanel")),
          answeredDateEdit(editor.findChild<QDateEdit*>("answeredDateEdit")),
          answerNoteEdit(editor.findChild<QLineEdit*>("answerNoteEdit")),
          notesTable(editor.findChild<QTableWidget*>("notesTable")),
          addNoteButton(editor.findChild<QPushButton*>("addNoteButton")),
          textEdit(editor.findChild<QTextEdit*>("textEdit")),
          modifiedLabel(editor.findChild<QLabel*>("modifiedLabel")),
          pasteAction(editor.findChild<QAction*>("pasteAction")),
          boldAction(editor.findChild<QAction*>("boldAction")),
          bulletsAction(editor.findChild<QAction*>("bulletsAction")),
          alignCenterAction(editor.findChild<QAction*>("alignCenterAction"))
    {
    }

    QAction* saveAndCloseAction;
    QAction* closeAction;
    QLineEdit* titleEdit;
    QComboBox* topicCombo;
    QComboBox* statusCombo;
    QLabel* datesLabel;
    QWidget* answerPanel;
    QDateEdit* answeredDateEdit;
    QLineEdit* answerNoteEdit;
    QTableWidget* notesTable;
    QPushButton* addNoteButton;
    QTextEdit* textEdit;
    QLabel* modifiedLabel;
    QAction* pasteAction;
    QAction* boldAction;
    QAction* bulletsAction;
    QAction* alignCenterAction;
};

// The editor shown without a modal loop: runModal shows the window, lets the
// test act as the user and expects the window to be closed by then.
class ScriptedEditor : public PrayerEditor {
public:
    using PrayerEditor::PrayerEditor;

    const EditorControls controls{*this};
    std::function<void(ScriptedEditor&)> user;
    int shown = 0;

    int runModal() override
    {
        ++shown;
        show();
        if (user)
            user(*this);
        EXPECT_FALSE(isVisible()) << "the editor was left open";
        hide();
        return result();
    }
};

} // namespace kovara::ui::test
