#pragma once
// The prayer editor: the modal window in which the user writes or changes one
// prayer item - title, category (topic), status and formatted text. One
// instance lives for the whole run; callers hand it its inputs and show it
// with editPrayer. It reads the item when it opens and writes it back only
// when the user saves, so a closed-without-saving item stays as stored.
#include "ui/base/core_names.h"
#include "core/prayer/prayer_status.h"
#include <QDialog>
#include <cstdint>
#include <functional>
#include <string>
#include <vector>

class QAction;
class QComboBox;
class QDateEdit;
class QPushButton;
class QTableWidget;
class QLabel;
class QLineEdit;
class QMenu;
class QStatusBar;
class QTextCharFormat;
class QTextEdit;
class QToolBar;
class QToolButton;

namespace kovara::core {
class BibleStore;
class IniFile;
class PrayerStore;
class Preferences;
} // namespace kovara::core

namespace kovara::ui {

class Dialogs;
class HtmlViewer;

class PrayerEditor : public QDialog {
    Q_OBJECT
public:
    // dialogs asks the close question and shows the errors of the window's own
    // commands (a failed save). placementIni, when given, keeps the window's
    // position and size in its section "Prayer Edit Window State": read before
    // the first showing, written whenever the window closes. Neither is owned.
    explicit PrayerEditor(Dialogs& dialogs, IniFile* placementIni = nullptr, QWidget* parent = nullptr);

    // Fills in the inputs, opens the window (prepareToShow), runs it modally and
    // resets the inputs when it has closed. Returns whether the item was saved
    // while the window was open. Raises what prepareToShow raises (the window
    // then never shows) and nothing afterwards: errors while the window is
    // open are shown through the dialogs.
    bool editPrayer(PrayerStore& store, std::int32_t prayerIndex, bool newItem, Preferences& prefs);

    // Where the verses attached to the item are read and checked: asked each
    // time the window opens. Without one (or when it gives none) a typed
    // reference cannot be checked and the attached ones show without text.
    void setBibleSource(std::function<const BibleStore*()> source) { bibleSource_ = std::move(source); }

    // Shows the window modally until it closes. Tests replace it to play the
    // user against the visible window.
    virtual int runModal();

    // Inputs, set by editPrayer (or by hand before prepareToShow). Idle values: no
    // store, index -1, not new. The preferences are kept from the last use.
    PrayerStore* store_ = nullptr;
    std::int32_t prayerIndex_ = -1;
    bool newItem_ = false;
    Preferences* preferences_ = nullptr;

    // Loads the item into the controls and clears the modified flag. Raises
    // "Variables not properly initialized before FormShow" when an input is
    // missing (the message keeps the wording it has always had), and the
    // store's errors.
    void prepareToShow();
    bool modified() const { return modified_; }

signals:
    // An attached verse was clicked: the window has closed (through the close
    // question) and the verse is to be opened on the Bible page.
    void bibleLinkClicked(const QString& href);

public slots:
    // Esc, the close box and closeAction all come here: asks the close
    // question while modified (Yes saves and closes, No closes, Cancel stays).
    void reject() override;

protected:
    void done(int result) override;
    bool event(QEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    // The status the list shows, or nothing while it shows no entry.
    std::optional<PrayerStatus> chosenStatus() const;
    // Title, topic list and topic, dates label and status from the store.
    void loadPrayerFields();
    // The stored document into the text area, its fonts, sizes and colours
    // replaced by the display preferences (bold, italic, underline, strikeout,
    // bullets and alignment kept).
    void loadPrayerText();
    // Writes title, topic, status, preview and document through the store,
    // touching the last-edit time, and clears the modified flag. Raises the
    // store's errors with the flag left set.
    void savePrayer();
    // Back to the idle inputs.
    void resetInputs();
    void setModified(bool modified);

    void createTextActions();
    void updateTextActions();
    void updatePasteAction();
    void toggleBullets();
    void mergeFormat(const QTextCharFormat& format);
    // Whether the window may close: asks the close question while modified
    // (Yes saves first, No closes without saving, Cancel stays).
    bool confirmClose();
    // The journal part of the item: answer record and notes.
    void loadJournal();
    void updateAnswerPanel();
    void addNote();
    void deleteNote();
    void appendNoteRow(const QDate& date, const QString& text);
    // The verses attached to the item: loaded with it, changed in the window,
    // written with it.
    void loadVerses();
    void showVerses();
    void attachVerse();
    void followVerseLink(const QString& href);
    // How often the item comes up on the prayer list: shown from the store,
    // written with the item only when changed (from the day it is saved).
    void loadSchedule();
    void updateWeekdayButtons();
    unsigned chosenWeekdays() const;

    // Controls and commands.
    QAction* saveAndCloseAction_; // "Save and Close", Ctrl+S; enabled while modified
    QAction* closeAction_;        // "Close", Alt+F4; closes through the close question
    QToolButton* saveAndCloseButton_;
    QToolButton* closeButton_;
    QLineEdit* titleEdit_;
    QComboBox* topicCombo_;  // editable: pick a category or type a new one
    QComboBox* statusCombo_; // Active, Answered, Inactive only
    QLabel* datesLabel_;
    QComboBox* scheduleCombo_; // every day, chosen weekdays, weekly, monthly, in turn
    QWidget* weekdayPanel_;    // the weekdays' buttons, shown for "On chosen weekdays"
    QList<QToolButton*> weekdayButtons_; // Monday first
    // Shown while the status is "Answered": when (today for a new answer) and
    // how it was answered.
    QWidget* answerPanel_;
    QDateEdit* answeredDateEdit_;
    QLineEdit* answerNoteEdit_;
    // The item's dated notes, oldest first: a date column and a text column,
    // both edited in place (F2 or a double click).
    QTableWidget* notesTable_;
    QPushButton* addNoteButton_;
    QPushButton* deleteNoteButton_;
    // A reference typed here is attached by attachVerseButton_ (or Enter) and
    // shown in versesView_ with its text, a link to open it and one to
    // remove it.
    QLineEdit* verseEdit_;
    QPushButton* attachVerseButton_;
    HtmlViewer* versesView_;
    QToolBar* textToolBar_;
    QTextEdit* textEdit_;
    QMenu* contextMenu_;
    QStatusBar* editorStatusBar_; // long hints, and the modified pane
    QLabel* modifiedLabel_;       // "Modified" / "Unmodified"

    QAction* cutAction_;
    QAction* copyAction_;
    QAction* pasteAction_;
    QAction* undoAction_;
    QAction* boldAction_;
    QAction* italicAction_;
    QAction* underlineAction_;
    QAction* strikeOutAction_;
    QAction* bulletsAction_;
    QAction* alignLeftAction_;
    QAction* alignCenterAction_;
    QAction* alignRightAction_;

    Dialogs& dialogs_;
    IniFile* placementIni_;
    bool placementRestored_ = false;
    bool modified_ = false;
    // Whether savePrayer succeeded since prepareToShow.
    bool saved_ = false;
    // The status read when the window opened, saved back when the status list
    // has no entry selected (a stored value outside the three entries).
    StoredStatus loadedStatus_;
    // Whether the item had an answer record when the window opened, and
    // whether the user set the status to "Answered" or touched the answer
    // fields since: only then is a record written, so an item answered before
    // records were kept does not get today's date by being opened and saved.
    bool answerRecorded_ = false;
    bool answerTouched_ = false;

    std::function<const BibleStore*()> bibleSource_;
    const BibleStore* bible_ = nullptr; // while the window is open
    std::vector<std::string> verses_;
    bool versesChanged_ = false;
    // The schedule read when the window opened (kind and weekdays).
    int loadedScheduleKind_ = 0;
    unsigned loadedWeekdays_ = 0;
    // A verse clicked while the window was open, to be opened once it closed.
    QString pendingBibleLink_;
};

} // namespace kovara::ui
