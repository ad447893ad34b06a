#pragma once
// The prayer tracker page: four tabs (Active, Answered, Inactive, All), the
// items of the tab's status grouped by topic, and below them the selected
// item's title, dates and formatted text, with commands to change its status,
// delete it or open it in the editor.
//
// The page never keeps the prayer store: backup and restore replace it, so
// every use asks the shell for the current one (initPrayers is handed it by
// the prayer commands).
#include "ui/base/core_names.h"
#include "core/prayer/prayer_store.h"

#include "ui/base/content_page.h"
#include <cstdint>
#include <functional>
#include <string>

class QAction;
class QFrame;
class QLabel;
class QLineEdit;
class QListWidget;
class QListWidgetItem;
class QMenu;
class QPrinter;
class QPushButton;
class QSplitter;
class QTabBar;
class QTextEdit;

namespace kovara::core {
class Preferences;
}

namespace kovara::ui {

class Shell;
class PrayerEditor;
class PrayerAnsweredDialog;

class PrayerTrackerPage : public ContentPage {
    Q_OBJECT
public:
    // Tab positions 0..3 and the status filter each one shows (the last:
    // every item).
    static constexpr PrayerFilter kTabFilters[4] = {PrayerStatus::Active, PrayerStatus::Answered,
                                                    PrayerStatus::Inactive, std::nullopt};
    // Stored in a group row's text storage ahead of its topic.
    static constexpr const char* kGroupPrefix = "//{}//";
    // Item data roles of the list rows.
    static constexpr int kStorageRole = Qt::UserRole;     // "//{}//Topic" or "\tTitle"
    static constexpr int kRecordRole = Qt::UserRole + 1;  // listing position of an item row; none on group rows
    // Drawn at the row's right edge: on the Answered tab when the item was
    // answered ("answered 3 Dec"); on the All tab its status ("active",
    // "inactive", or when it was answered).
    static constexpr int kAnsweredRole = Qt::UserRole + 2;

    // shell gives the prayer store, the dialogs and the current page; editor
    // opens items for editing. Neither is owned; both must outlive the frame.
    PrayerTrackerPage(Shell& shell, PrayerEditor& editor, QWidget* parent = nullptr);
    // The same with the editor made on its first use by whoever owns it.
    PrayerTrackerPage(Shell& shell, std::function<PrayerEditor&()> editor, QWidget* parent = nullptr);

    // Shows the question of an item marked answered modally; tests replace
    // it to play the user. Accepted or not, the item is answered: Cancel
    // leaves the note out and keeps the proposed date.
    std::function<bool(PrayerAnsweredDialog&)> runAnswerDialog;

    // Refills the view: the tab of filter, the items of that filter from
    // store grouped by topic, and the row of item key selected and shown
    // (-1: the first item; a key not listed leaves nothing selected). Raises
    // "Preferences not yet assigned on initPrayers" before assignPreferences,
    // and the store's errors.
    void initPrayers(PrayerStore& store, PrayerFilter filter, std::int32_t key);

    // Keeps prefs (not owned) and applies its background, font and split
    // position; the shown text keeps its selection.
    void assignPreferences(Preferences& prefs) override;

    // The upper pane's share of the height in percent, 25 to 75.
    int splitPercent() const;
    // Sets the share, clamped into 25..75.
    void setSplitPercent(int percent);

    // The selected item's index, or -1 unless the frame is showing on the
    // current page and an item row (not a group row) is selected.
    std::int32_t selectedPrayerIndex() const;

    // Copy and Print: the text's selection, and the whole text named after
    // the selected item ("Prayer Journal" without one).
    bool canPrintWhole() const override { return true; }
    void printWhole(QPrinter& printer) override;
    QString printTitle() const override;
    HelpContext helpContext() const override { return HelpContext::PrayerTracker; }

    PrayerFilter currentFilter() const { return filter_; }
    // The selected item's listing row; null when a group row or nothing is
    // selected.
    const PrayerHeader* selectedRecord() const;
    const PrayerHeaders& listing() const { return listing_; }

    // Empties the search field without refilling the list (the caller
    // refills it), so a new item is never hidden by an earlier search.
    void clearSearch();

    // Runs every command's enabling rule again (selection, page switch).
    void updateActions();

    // Event handlers (also what tests drive).
    void onTabChanged(int index);
    void onPrayerClicked();
    void onPrayerDoubleClicked();
    void onSearchChanged();

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void showPrayerItem(PrayerStore& store, std::int32_t prayerIndex);
    // -1 shows that nothing is selected.
    void showPrayerDates(PrayerStore& store, std::int32_t prayerIndex);
    void showJournal(PrayerStore& store, std::int32_t prayerIndex);
    void clearText();
    void editPrayerItem(std::int32_t prayerIndex);
    void setStatus(PrayerStatus status);
    void deletePrayer();
    // The record behind a row, or null for a group row or no row.
    const PrayerHeader* recordOf(const QListWidgetItem* item) const;
    void applySplit();
    // Runs body through the error guard.
    void guarded(const std::function<void()>& body);

    QLabel* headingLabel_;
    QTabBar* statusTabs_;
    // Filters the tab's items as the user types (title, topic, text, notes);
    // Ctrl+F goes there, Esc empties it.
    QLineEdit* searchEdit_;
    QSplitter* splitter_;
    QListWidget* prayerList_;
    QFrame* detailsPanel_;
    QLabel* prayerTitleLabel_;
    QLabel* prayerDetailsLabel_;
    // The answer (on an answered item) and the newest dated note.
    QLabel* prayerJournalLabel_;
    QTextEdit* textEdit_;
    QMenu* contextMenu_;
    QPushButton* statusButton_; // drops down statusMenu_
    QMenu* statusMenu_;
    QPushButton* deletePrayerButton_;
    QPushButton* editPrayerButton_;

    QAction* editPrayerAction_;
    QAction* deletePrayerAction_;
    QAction* prayerStatusAction_;
    QAction* setStatusActiveAction_;
    QAction* setStatusAnsweredAction_;
    QAction* setStatusInactiveAction_;
    QAction* copyAction_;
    QAction* selectAllAction_;

    Shell& shell_;
    std::function<PrayerEditor&()> editor_;
    Preferences* prefs_ = nullptr;
    PrayerHeaders listing_;
    PrayerFilter filter_;
    int splitPercent_ = 45;
    // Set while a search refills the list: a key no longer listed selects
    // the first item instead of none.
    bool firstIfMissing_ = false;
};

} // namespace kovara::ui
