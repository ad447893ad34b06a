#pragma once
// The prayer editor: the modal window in which the user writes or changes one
// prayer item - title, category (topic), status and formatted text. One
// instance lives for the whole run; callers hand it its inputs and show it
// with EditPrayer. It reads the item when it opens and writes it back only
// when the user saves, so a closed-without-saving item stays as stored.
#include <QDialog>
#include <cstdint>
#include <string>

class QAction;
class QComboBox;
class QLabel;
class QLineEdit;
class QMenu;
class QStatusBar;
class QTextCharFormat;
class QTextEdit;
class QToolBar;
class QToolButton;

namespace kovara {
class TIniFile;
class TKOVAPrayerTracker;
class TKOVAPreferences;
} // namespace kovara

namespace kovara::ui {

class Dialogs;

class TFormPrayerEdit : public QDialog {
    Q_OBJECT
public:
    // dialogs asks the close question and shows the errors of the window's own
    // commands (a failed save). placementIni, when given, keeps the window's
    // position and size in its section "Prayer Edit Window State": read before
    // the first showing, written whenever the window closes. Neither is owned.
    explicit TFormPrayerEdit(Dialogs& dialogs, TIniFile* placementIni = nullptr, QWidget* parent = nullptr);

    // Fills in the inputs, opens the window (FormShow), runs it modally and
    // resets the inputs when it has closed. Whether the user saved is not
    // reported: callers refill their views from the store. Raises what
    // FormShow raises (the window then never shows) and nothing afterwards:
    // errors while the window is open are shown through the dialogs.
    void EditPrayer(TKOVAPrayerTracker& store, std::int32_t prayerIndex, bool newItem, TKOVAPreferences& prefs);

    // Shows the window modally until it closes. Tests replace it to play the
    // user against the visible window.
    virtual int RunModal();

    // Inputs, set by EditPrayer (or by hand before FormShow). Idle values: no
    // store, index -1, not new. The preferences are kept from the last use.
    TKOVAPrayerTracker* Store = nullptr;
    std::int32_t PrayerIndex = -1;
    bool NewItem = false;
    TKOVAPreferences* Preferences = nullptr;

    // Loads the item into the controls and clears the modified flag. Raises
    // "Variables not properly initialized before FormShow" when an input is
    // missing, and the store's errors.
    void FormShow();
    // Title, topic list and topic, dates label and status from the store.
    void LoadPrayerFields();
    // The stored document into the text area, its fonts, sizes and colours
    // replaced by the display preferences (bold, italic, underline, strikeout,
    // bullets and alignment kept).
    void LoadPrayerText();
    // Writes title, topic, status, preview and document through the store,
    // touching the last-edit time, and clears the modified flag. Returns true.
    // Raises the store's errors with the flag left set.
    bool SavePrayer();
    // Back to the idle inputs.
    void FormClose();

    bool Modified() const { return modified_; }
    void SetModified(bool modified);

    // Controls and commands, by the names the program uses for them.
    QAction* ActionSaveAndClose; // "Save and Close", Ctrl+S; enabled while modified
    QAction* ActionClose;        // "Close", Alt+F4; closes through the close question
    QToolButton* ButtonSaveAndClose;
    QToolButton* ButtonClose;
    QLineEdit* RzEditTitle;
    QComboBox* RzComboBoxTopic;  // editable: pick a category or type a new one
    QComboBox* RzComboBoxStatus; // "Active", "Answered", "Inactive" only
    QLabel* LabelDates;
    QToolBar* ToolBarText;
    QTextEdit* RichEdit1;
    QMenu* PopupMenu1;
    QStatusBar* StatusBar1;  // long hints, and the modified pane
    QLabel* RzStatusPaneMod; // "Modified" / "Unmodified"

    QAction* EditCut1;
    QAction* EditCopy1;
    QAction* EditPaste1;
    QAction* EditUndo1;
    QAction* RichEditBold1;
    QAction* RichEditItalic1;
    QAction* RichEditUnderline1;
    QAction* RichEditStrikeOut1;
    QAction* RichEditBullets1;
    QAction* RichEditAlignLeft1;
    QAction* RichEditAlignCenter1;
    QAction* RichEditAlignRight1;

public slots:
    // Esc, the close box and ActionClose all come here: asks the close
    // question while modified (Yes saves and closes, No closes, Cancel stays).
    void reject() override;

protected:
    void done(int result) override;
    bool event(QEvent* event) override;

private:
    void CreateTextActions();
    void UpdateTextActions();
    void UpdatePasteAction();
    void ToggleBullets();
    void MergeFormat(const QTextCharFormat& format);
    bool CloseQuery();

    Dialogs& dialogs_;
    TIniFile* placementIni_;
    bool placementRestored_ = false;
    bool modified_ = false;
    // The status read when the window opened, saved back when the status list
    // has no entry selected (a stored value outside the three entries).
    std::string loadedStatus_;
};

} // namespace kovara::ui
