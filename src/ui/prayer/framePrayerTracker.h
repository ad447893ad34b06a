#pragma once
// The prayer tracker page: four tabs (Active, Answered, Inactive, All), the
// items of the tab's status grouped by topic, and below them the selected
// item's title, dates and formatted text, with commands to change its status,
// delete it or open it in the editor.
//
// The view never writes to the database itself and never keeps the prayer
// store: backup and restore replace it, so every use asks the shell for the
// current one (InitPrayers is handed it by the prayer commands).
#include "prayer/kova_prayertracker.h"

#include <QWidget>
#include <cstdint>
#include <functional>
#include <string>

class QAction;
class QFrame;
class QLabel;
class QListWidget;
class QListWidgetItem;
class QMenu;
class QPushButton;
class QSplitter;
class QTabBar;
class QTextEdit;

namespace kovara {
class TKOVAPreferences;
}

namespace kovara::ui {

class Shell;
class TFormPrayerEdit;

class TFrameKOVAPrayerTracker : public QWidget {
    Q_OBJECT
public:
    // Tab positions 0..3 and the status filter each one shows.
    static const char* const kTabFilters[4];
    // Stored in a group row's text storage ahead of its topic.
    static constexpr const char* kGroupPrefix = "//{}//";
    // Item data roles of the list rows.
    static constexpr int kStorageRole = Qt::UserRole;     // "//{}//Topic" or "\tTitle"
    static constexpr int kRecordRole = Qt::UserRole + 1;  // listing position of an item row; none on group rows

    // shell gives the prayer store, the dialogs and the current page; editor
    // opens items for editing. Neither is owned; both must outlive the frame.
    TFrameKOVAPrayerTracker(Shell& shell, TFormPrayerEdit& editor, QWidget* parent = nullptr);

    // Refills the view: the tab of filter ("Active", "Answered", "Inactive" or
    // "Any"; another text leaves the tab as it is), the items of that filter
    // from store grouped by topic, and the row of item key selected and shown
    // (-1: the first item; a key not listed leaves nothing selected). Raises
    // "Preferences not yet assigned on InitPrayers" before AssignPreferences,
    // and the store's errors.
    void InitPrayers(TKOVAPrayerTracker& store, const std::string& filter, std::int32_t key);

    // Keeps prefs (not owned) and applies its background, font and split
    // position; the shown text keeps its selection.
    void AssignPreferences(TKOVAPreferences& prefs);

    // The upper pane's share of the height in percent, 25 to 75.
    int SplitPercent() const;
    // Sets the share, clamped into 25..75.
    void SetSplitPercent(int percent);

    // The selected item's index, or -1 unless the frame is showing on the
    // current page and an item row (not a group row) is selected.
    std::int32_t GetSelectedPrayerIndex() const;

    // The text area, for the main window's copy and print commands while this
    // page shows.
    QTextEdit* TextArea() const { return RichEdit1; }

    const std::string& CurrentFilter() const { return filter_; }
    const TPrayerHeaderRecArray& Listing() const { return listing_; }

    // Runs every command's enabling rule again (selection, page switch).
    void UpdateActions();

    // Event handlers (also what tests drive).
    void RzTabControl1Change(int index);
    void RzTabbedListBox1Click();
    void RzTabbedListBox1DblClick();

    // Controls and commands, by the names the program uses for them.
    QLabel* LabelHeading;
    QTabBar* RzTabControl1;
    QSplitter* RzSplitter1;
    QListWidget* RzTabbedListBox1;
    QFrame* PanelDetails;
    QLabel* LabelPrayerTitle;
    QLabel* LabelPrayerDetails;
    QTextEdit* RichEdit1;
    QMenu* PopupMenu1;
    QPushButton* RzMenuButton1; // drops down PopupMenuStatus
    QMenu* PopupMenuStatus;
    QPushButton* ButtonDeletePrayer;
    QPushButton* ButtonEditPrayer;

    QAction* ActionPrayerEdit;
    QAction* ActionDeletePrayer;
    QAction* ActionPrayerStatus;
    QAction* ActionSetStatusActive;
    QAction* ActionSetStatusAnswered;
    QAction* ActionSetStatusInactive;
    QAction* ActionCopy;
    QAction* ActionSelectAll;

protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void ShowPrayerItem(TKOVAPrayerTracker& store, std::int32_t prayerIndex);
    // -1 shows that nothing is selected.
    void ShowPrayerDates(TKOVAPrayerTracker& store, std::int32_t prayerIndex);
    void ClearText();
    void EditPrayerItem(std::int32_t prayerIndex);
    void SetStatus(const char* status);
    void DeletePrayer();
    // The record behind a row, or null for a group row or no row.
    const TPrayerHeaderRec* RecordOf(const QListWidgetItem* item) const;
    const TPrayerHeaderRec* SelectedRecord() const;
    void ApplySplit();
    // Runs body through the error guard.
    void Guarded(const std::function<void()>& body);

    Shell& shell_;
    TFormPrayerEdit& editor_;
    TKOVAPreferences* prefs_ = nullptr;
    TPrayerHeaderRecArray listing_;
    std::string filter_;
    int splitPercent_ = 45;
};

} // namespace kovara::ui
