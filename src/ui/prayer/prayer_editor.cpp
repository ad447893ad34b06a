#include "ui/prayer/prayer_editor.h"
#include "ui/base/core_names.h"

#include "core/settings/ini_file.h"
#include "core/app/preferences.h"
#include "core/base/exception.h"
#include "core/prayer/prayer_store.h"
#include "core/prayer/prayer_preview.h"
#include "core/prayer/prayer_list_page.h"
#include "core/prayer/prayer_list_store.h"
#include "core/base/html_escape.h"
#include "core/content/bible_store.h"
#include "ui/base/html_viewer.h"
#include "ui/base/dialogs.h"
#include "ui/base/error_guard.h"
#include "ui/base/dates.h"
#include "ui/base/painted_icon.h"
#include "ui/prayer/prayer_search.h"
#include "ui/prayer/prayer_text.h"
#include "ui/prayer/rtf_codec.h"
#include "ui/base/text_codec.h"
#include "ui/base/window_placement.h"
#include "core/settings/settings_keys.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QDateEdit>
#include <QHeaderView>
#include <QPushButton>
#include <QTableWidget>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPainter>
#include <QPixmap>
#include <QKeyEvent>
#include <QSignalBlocker>
#include <QStyledItemDelegate>
#include <QStatusBar>
#include <QStatusTipEvent>
#include <QTextBlock>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>
#include <QTextList>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>
#include <algorithm>
#include <cstring>
#include <utility>

namespace kovara::ui {

namespace {

// The in-place editor of a note's date: a date field with its calendar, at
// least as wide as it needs to show the whole date (the column is sized to
// the date's text, which leaves no room for the field's buttons).
class NoteDateDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        QWidget* editor = QStyledItemDelegate::createEditor(parent, option, index);
        if (auto* date = qobject_cast<QDateEdit*>(editor))
            date->setCalendarPopup(true);
        return editor;
    }

    void updateEditorGeometry(QWidget* editor, const QStyleOptionViewItem& option,
                              const QModelIndex& index) const override
    {
        QStyledItemDelegate::updateEditorGeometry(editor, option, index);
        QRect rect = editor->geometry();
        rect.setWidth(std::max(rect.width(), editor->sizeHint().width()));
        editor->setGeometry(rect);
    }
};

// The link of the verse list that removes the verse at the index after it.
constexpr const char* kLinkRemoveVerse = "prayer:removeverse/";

const char* const kCloseQuestion = QT_TRANSLATE_NOOP("kovara::ui::PrayerEditor",
    "Do you wish to save your changes to this prayer item?\n\n"
    "Select YES to save your changes and close the prayer editor.\n"
    "Select NO to close the prayer editor without saving your changes.\n"
    "Select CANCEL to return to the prayer editor without closing it.");

bool isBulletStyle(QTextListFormat::Style style)
{
    return style == QTextListFormat::ListDisc || style == QTextListFormat::ListCircle ||
           style == QTextListFormat::ListSquare;
}

// A hint "Short|Long": the short part as the tool tip, the long part (or the
// short one when there is none) on the status bar.
void setHint(QAction* action, const QString& hint)
{
    const qsizetype bar = hint.indexOf(u'|');
    action->setToolTip(bar < 0 ? hint : hint.left(bar));
    action->setStatusTip(bar < 0 ? hint : hint.mid(bar + 1));
}

// 16-pixel icons for the formatting commands, drawn in the button text
// colour when first shown, for desktops whose icon theme has none.
QIcon letterIcon(QChar letter, bool bold, bool italic, bool underline, bool strikeOut)
{
    return paintedIcon([=](QPainter& painter) {
        QFont font(QStringLiteral("Serif"));
        font.setPixelSize(14);
        font.setBold(bold);
        font.setItalic(italic);
        font.setUnderline(underline);
        font.setStrikeOut(strikeOut);
        painter.setFont(font);
        painter.drawText(QRect(0, 0, 16, 16), Qt::AlignCenter, QString(letter));
    });
}

// Four text lines aligned as asked; with bullets, a dot before each.
QIcon linesIcon(Qt::Alignment align, bool bullets)
{
    return paintedIcon([=](QPainter& painter) {
        for (int row = 0; row < 4; ++row) {
            const int y = 2 + row * 4;
            const int length = bullets ? 9 : (row % 2 ? 9 : 14);
            int x = 1;
            if (bullets) {
                painter.drawEllipse(QPointF(2.5, y), 1.2, 1.2);
                x = 6;
            } else if (align & Qt::AlignHCenter) {
                x = (16 - length) / 2;
            } else if (align & Qt::AlignRight) {
                x = 15 - length;
            }
            painter.drawLine(x, y, x + length, y);
        }
    });
}

} // namespace

PrayerEditor::PrayerEditor(Dialogs& dialogs, IniFile* placementIni, QWidget* parent)
    : QDialog(parent), dialogs_(dialogs), placementIni_(placementIni)
{
    setObjectName(QStringLiteral("prayerEditor"));
    setWindowTitle(tr("Editing Prayer Item - Kovara"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    setSizeGripEnabled(true);

    // Save and Close / Close.
    saveAndCloseAction_ = new QAction(tr("Save and Close"), this);
    saveAndCloseAction_->setObjectName(QStringLiteral("saveAndCloseAction"));
    saveAndCloseAction_->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
    saveAndCloseAction_->setEnabled(false);
    connect(saveAndCloseAction_, &QAction::triggered, this, [this] {
        if (!modified_)
            return;
        if (runGuarded(dialogs_, [this] { savePrayer(); }))
            close();
    });
    closeAction_ = new QAction(tr("Close"), this);
    closeAction_->setObjectName(QStringLiteral("closeAction"));
    closeAction_->setShortcut(QKeySequence(Qt::ALT | Qt::Key_F4));
    connect(closeAction_, &QAction::triggered, this, [this] { close(); });
    addAction(saveAndCloseAction_);
    addAction(closeAction_);

    saveAndCloseButton_ = new QToolButton(this);
    saveAndCloseButton_->setObjectName(QStringLiteral("saveAndCloseButton"));
    saveAndCloseButton_->setDefaultAction(saveAndCloseAction_);
    closeButton_ = new QToolButton(this);
    closeButton_->setObjectName(QStringLiteral("closeButton"));
    closeButton_->setDefaultAction(closeAction_);
    for (QToolButton* button : {saveAndCloseButton_, closeButton_}) {
        button->setToolButtonStyle(Qt::ToolButtonTextOnly);
        button->setFocusPolicy(Qt::StrongFocus);
        button->setAutoRaise(false);
    }
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(saveAndCloseButton_);
    buttons->addWidget(closeButton_);
    buttons->addStretch(1);

    // The item's fields.
    titleEdit_ = new QLineEdit(this);
    titleEdit_->setObjectName(QStringLiteral("titleEdit"));
    titleEdit_->setToolTip(tr("Specify a title for this prayer item here."));
    topicCombo_ = new QComboBox(this);
    topicCombo_->setObjectName(QStringLiteral("topicCombo"));
    topicCombo_->setEditable(true);
    topicCombo_->setInsertPolicy(QComboBox::NoInsert);
    topicCombo_->setAccessibleName(tr("Prayer Category"));
    topicCombo_->lineEdit()->setAccessibleName(tr("Prayer Category"));
    topicCombo_->setToolTip(tr("Specify an optional category for your prayer here. You may use an existing "
                               "category or create a new one."));
    statusCombo_ = new QComboBox(this);
    statusCombo_->setObjectName(QStringLiteral("statusCombo"));
    // Each entry carries its status; its text is for the reader.
    statusCombo_->addItem(tr("Active"), static_cast<int>(PrayerStatus::Active));
    statusCombo_->addItem(tr("Answered"), static_cast<int>(PrayerStatus::Answered));
    statusCombo_->addItem(tr("Inactive"), static_cast<int>(PrayerStatus::Inactive));
    statusCombo_->setToolTip(tr("Set the status of this prayer to \"Active,\" \"Answered,\" or \"Inactive\" here."));
    datesLabel_ = new QLabel(this);
    datesLabel_->setObjectName(QStringLiteral("datesLabel"));
    datesLabel_->setTextFormat(Qt::PlainText);

    auto* fields = new QFormLayout;
    fields->addRow(tr("Prayer &Title:"), titleEdit_);
    fields->addRow(tr("Prayer &Category:"), topicCombo_);
    fields->addRow(tr("Prayer &Status:"), statusCombo_);

    // How often it comes up on the prayer list.
    scheduleCombo_ = new QComboBox(this);
    scheduleCombo_->setObjectName(QStringLiteral("scheduleCombo"));
    scheduleCombo_->addItem(tr("Every day"), static_cast<int>(ScheduleKind::Daily));
    scheduleCombo_->addItem(tr("On chosen weekdays"), static_cast<int>(ScheduleKind::Weekdays));
    scheduleCombo_->addItem(tr("Once a week"), static_cast<int>(ScheduleKind::Weekly));
    scheduleCombo_->addItem(tr("Once a month"), static_cast<int>(ScheduleKind::Monthly));
    scheduleCombo_->addItem(tr("In turn with the other items"), static_cast<int>(ScheduleKind::InTurn));
    scheduleCombo_->setToolTip(tr("How often this item comes up on the Pray Today list."));
    weekdayPanel_ = new QWidget(this);
    weekdayPanel_->setObjectName(QStringLiteral("weekdayPanel"));
    auto* weekdayLayout = new QHBoxLayout(weekdayPanel_);
    weekdayLayout->setContentsMargins(0, 0, 0, 0);
    weekdayLayout->setSpacing(2);
    static const char* const weekdays[][2] = {
        {QT_TR_NOOP("Mon"), QT_TR_NOOP("Monday")},   {QT_TR_NOOP("Tue"), QT_TR_NOOP("Tuesday")},
        {QT_TR_NOOP("Wed"), QT_TR_NOOP("Wednesday")}, {QT_TR_NOOP("Thu"), QT_TR_NOOP("Thursday")},
        {QT_TR_NOOP("Fri"), QT_TR_NOOP("Friday")},   {QT_TR_NOOP("Sat"), QT_TR_NOOP("Saturday")},
        {QT_TR_NOOP("Sun"), QT_TR_NOOP("Sunday")},
    };
    for (int day = 1; day <= 7; ++day) { // Monday first, as the weekday mask counts
        auto* button = new QToolButton(weekdayPanel_);
        button->setObjectName(QStringLiteral("weekdayButton%1").arg(day));
        button->setText(tr(weekdays[day - 1][0]));
        button->setAccessibleName(tr(weekdays[day - 1][1]));
        button->setCheckable(true);
        connect(button, &QToolButton::toggled, this, [this] { setModified(true); });
        weekdayLayout->addWidget(button);
        weekdayButtons_ << button;
    }
    weekdayLayout->addStretch(1);
    auto* scheduleRow = new QHBoxLayout;
    scheduleRow->addWidget(scheduleCombo_);
    scheduleRow->addWidget(weekdayPanel_, 1);
    auto* scheduleLabel = new QLabel(tr("Comes &up:"), this);
    scheduleLabel->setBuddy(scheduleCombo_);
    fields->addRow(scheduleLabel, scheduleRow);
    connect(scheduleCombo_, &QComboBox::currentIndexChanged, this, [this] {
        setModified(true);
        updateWeekdayButtons();
    });

    // When and how it was answered, beside the status while it is "Answered".
    answerPanel_ = new QWidget(this);
    answerPanel_->setObjectName(QStringLiteral("answerPanel"));
    answeredDateEdit_ = new QDateEdit(answerPanel_);
    answeredDateEdit_->setObjectName(QStringLiteral("answeredDateEdit"));
    answeredDateEdit_->setCalendarPopup(true);
    answeredDateEdit_->setAccessibleName(tr("Answered On"));
    answerNoteEdit_ = new QLineEdit(answerPanel_);
    answerNoteEdit_->setObjectName(QStringLiteral("answerNoteEdit"));
    answerNoteEdit_->setPlaceholderText(tr("How was it answered?"));
    answerNoteEdit_->setAccessibleName(tr("How was it answered?"));
    answerNoteEdit_->setMaxLength(500);
    auto* answeredLabel = new QLabel(tr("Answered &on:"), answerPanel_);
    answeredLabel->setBuddy(answeredDateEdit_);
    auto* answerLayout = new QHBoxLayout(answerPanel_);
    answerLayout->setContentsMargins(0, 0, 0, 0);
    answerLayout->addWidget(answeredLabel);
    answerLayout->addWidget(answeredDateEdit_);
    answerLayout->addWidget(answerNoteEdit_, 1);
    fields->addRow(answerPanel_);

    // Verses prayed with the item.
    verseEdit_ = new QLineEdit(this);
    verseEdit_->setObjectName(QStringLiteral("verseEdit"));
    verseEdit_->setPlaceholderText(tr("A reference, as \"Phil 4:6-7\""));
    verseEdit_->setAccessibleName(tr("Verse to pray with"));
    attachVerseButton_ = new QPushButton(tr("Attac&h Verse"), this);
    attachVerseButton_->setObjectName(QStringLiteral("attachVerseButton"));
    attachVerseButton_->setEnabled(false);
    connect(verseEdit_, &QLineEdit::textChanged, this,
            [this](const QString& text) { attachVerseButton_->setEnabled(!text.trimmed().isEmpty()); });
    connect(verseEdit_, &QLineEdit::returnPressed, this, [this] { runGuarded(dialogs_, [this] { attachVerse(); }); });
    connect(attachVerseButton_, &QPushButton::clicked, this,
            [this] { runGuarded(dialogs_, [this] { attachVerse(); }); });
    versesView_ = new HtmlViewer(this);
    versesView_->setObjectName(QStringLiteral("versesView"));
    versesView_->setAccessibleName(tr("Verses"));
    versesView_->setMaximumHeight(110);
    connect(versesView_, &HtmlViewer::linkClicked, this,
            [this](const QString& href) { runGuarded(dialogs_, [this, href] { followVerseLink(href); }); });
    auto* verseLabel = new QLabel(tr("&Verses:"), this);
    verseLabel->setBuddy(verseEdit_);
    auto* verseRow = new QHBoxLayout;
    verseRow->addWidget(verseLabel);
    verseRow->addWidget(verseEdit_, 1);
    verseRow->addWidget(attachVerseButton_);

    // The text panel.
    textEdit_ = new QTextEdit(this);
    textEdit_->setObjectName(QStringLiteral("textEdit"));
    textEdit_->setAccessibleName(tr("Prayer Text"));
    textEdit_->setAcceptRichText(true);
    textEdit_->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    textEdit_->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    textEdit_->document()->setDocumentMargin(5);
    textToolBar_ = new QToolBar(this);
    textToolBar_->setObjectName(QStringLiteral("textToolBar"));
    textToolBar_->setWindowTitle(tr("Formatting"));
    textToolBar_->setAccessibleName(tr("Formatting"));
    textToolBar_->setIconSize(QSize(16, 16));
    contextMenu_ = new QMenu(this);
    contextMenu_->setObjectName(QStringLiteral("contextMenu"));
    createTextActions();
    textEdit_->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(textEdit_, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& pos) { contextMenu_->exec(textEdit_->viewport()->mapToGlobal(pos)); });

    // Status bar: the long hints and the modified pane.
    editorStatusBar_ = new QStatusBar(this);
    editorStatusBar_->setObjectName(QStringLiteral("editorStatusBar"));
    editorStatusBar_->setSizeGripEnabled(false);
    modifiedLabel_ = new QLabel(tr("Unmodified"), editorStatusBar_);
    modifiedLabel_->setObjectName(QStringLiteral("modifiedLabel"));
    editorStatusBar_->addPermanentWidget(modifiedLabel_);

    // Dated notes under the text.
    notesTable_ = new QTableWidget(0, 2, this);
    notesTable_->setObjectName(QStringLiteral("notesTable"));
    notesTable_->setAccessibleName(tr("Dated Notes"));
    notesTable_->setHorizontalHeaderLabels({tr("Date"), tr("Note")});
    notesTable_->horizontalHeader()->setStretchLastSection(true);
    notesTable_->verticalHeader()->hide();
    notesTable_->setSelectionBehavior(QAbstractItemView::SelectRows);
    notesTable_->setSelectionMode(QAbstractItemView::SingleSelection);
    notesTable_->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                                 QAbstractItemView::AnyKeyPressed);
    notesTable_->setTabKeyNavigation(false);
    notesTable_->setMinimumHeight(90);
    notesTable_->setItemDelegateForColumn(0, new NoteDateDelegate(notesTable_));
    auto* notesLabel = new QLabel(tr("Dated &notes:"), this);
    notesLabel->setBuddy(notesTable_);
    addNoteButton_ = new QPushButton(tr("&Add Note"), this);
    addNoteButton_->setObjectName(QStringLiteral("addNoteButton"));
    addNoteButton_->setToolTip(tr("Adds a note dated today; type its text, and double-click a date or a text to "
                                 "change it."));
    deleteNoteButton_ = new QPushButton(tr("&Delete Note"), this);
    deleteNoteButton_->setObjectName(QStringLiteral("deleteNoteButton"));
    deleteNoteButton_->setEnabled(false);
    connect(addNoteButton_, &QPushButton::clicked, this, [this] { addNote(); });
    connect(deleteNoteButton_, &QPushButton::clicked, this, [this] { deleteNote(); });
    connect(notesTable_, &QTableWidget::itemSelectionChanged, this,
            [this] { deleteNoteButton_->setEnabled(!notesTable_->selectedItems().isEmpty()); });
    connect(notesTable_, &QTableWidget::itemChanged, this, [this] { setModified(true); });
    // Del removes the selected note while the list (not a note being typed)
    // has the focus (eventFilter).
    notesTable_->installEventFilter(this);
    auto* notesButtons = new QHBoxLayout;
    notesButtons->addWidget(notesLabel);
    notesButtons->addStretch(1);
    notesButtons->addWidget(addNoteButton_);
    notesButtons->addWidget(deleteNoteButton_);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 0);
    layout->addLayout(buttons);
    layout->addLayout(fields);
    layout->addWidget(datesLabel_);
    layout->addLayout(verseRow);
    layout->addWidget(versesView_);
    layout->addWidget(textToolBar_);
    layout->addWidget(textEdit_, 3);
    layout->addLayout(notesButtons);
    layout->addWidget(notesTable_, 1);
    layout->addWidget(editorStatusBar_);

    setTabOrder(saveAndCloseButton_, closeButton_);
    setTabOrder(closeButton_, titleEdit_);
    setTabOrder(titleEdit_, topicCombo_);
    setTabOrder(topicCombo_, statusCombo_);
    setTabOrder(statusCombo_, scheduleCombo_);
    QWidget* previous = scheduleCombo_;
    for (QToolButton* button : weekdayButtons_) {
        setTabOrder(previous, button);
        previous = button;
    }
    setTabOrder(previous, answeredDateEdit_);
    setTabOrder(answeredDateEdit_, answerNoteEdit_);
    setTabOrder(answerNoteEdit_, verseEdit_);
    setTabOrder(verseEdit_, attachVerseButton_);
    setTabOrder(attachVerseButton_, versesView_);
    setTabOrder(versesView_, textEdit_);
    setTabOrder(textEdit_, addNoteButton_);
    setTabOrder(addNoteButton_, deleteNoteButton_);
    setTabOrder(deleteNoteButton_, notesTable_);

    // Any change of a field marks the item modified; prepareToShow clears the
    // flag again after loading.
    connect(titleEdit_, &QLineEdit::textChanged, this, [this] { setModified(true); });
    connect(topicCombo_, &QComboBox::editTextChanged, this, [this] { setModified(true); });
    connect(statusCombo_, &QComboBox::currentIndexChanged, this, [this] {
        setModified(true);
        if (chosenStatus() == PrayerStatus::Answered)
            answerTouched_ = true;
        updateAnswerPanel();
    });
    connect(textEdit_, &QTextEdit::textChanged, this, [this] { setModified(true); });
    connect(answeredDateEdit_, &QDateEdit::dateChanged, this, [this] {
        setModified(true);
        answerTouched_ = true;
    });
    connect(answerNoteEdit_, &QLineEdit::textEdited, this, [this] {
        setModified(true);
        answerTouched_ = true;
    });
    updateAnswerPanel();

    // Wide enough for every tool bar button at first, however long their
    // captions are in the reader's language or without an icon theme.
    const QMargins margins = layout->contentsMargins();
    resize(std::max(560, textToolBar_->sizeHint().width() + margins.left() + margins.right()), 520);
}

void PrayerEditor::createTextActions()
{
    struct Spec {
        QAction*& action;
        const char* name;
        const char* caption;
        const char* hint;
        QKeySequence shortcut;
        const char* icon;
        bool checkable;
        QIcon fallback = {};
    };
    const Spec specs[] = {
        {cutAction_, "cutAction", QT_TR_NOOP("Cu&t"), QT_TR_NOOP("Cut|Cuts the selection and puts it on the Clipboard"),
         QKeySequence::Cut, "edit-cut", false},
        {copyAction_, "copyTextAction", QT_TR_NOOP("&Copy"),
         QT_TR_NOOP("Copy|Copies the selection and puts it on the Clipboard"), QKeySequence::Copy, "edit-copy", false},
        {pasteAction_, "pasteAction", QT_TR_NOOP("&Paste"), QT_TR_NOOP("Paste|Inserts Clipboard contents"),
         QKeySequence::Paste, "edit-paste", false},
        {undoAction_, "undoAction", QT_TR_NOOP("&Undo"), QT_TR_NOOP("Undo|Reverts the last action"), QKeySequence::Undo,
         "edit-undo", false},
        {boldAction_, "boldAction", QT_TR_NOOP("&Bold"), QT_TR_NOOP("Bold"), QKeySequence(Qt::CTRL | Qt::Key_B),
         "format-text-bold", true, letterIcon(u'B', true, false, false, false)},
        {italicAction_, "italicAction", QT_TR_NOOP("&Italic"), QT_TR_NOOP("Italic"), QKeySequence(Qt::CTRL | Qt::Key_I),
         "format-text-italic", true, letterIcon(u'I', false, true, false, false)},
        {underlineAction_, "underlineAction", QT_TR_NOOP("&Underline"), QT_TR_NOOP("Underline"),
         QKeySequence(Qt::CTRL | Qt::Key_U), "format-text-underline", true, letterIcon(u'U', false, false, true, false)},
        {strikeOutAction_, "strikeOutAction", QT_TR_NOOP("&Strikeout"), QT_TR_NOOP("Strikeout"), QKeySequence(),
         "format-text-strikethrough", true, letterIcon(u'S', false, false, false, true)},
        {bulletsAction_, "bulletsAction", QT_TR_NOOP("&Bullets"),
         QT_TR_NOOP("Bullets|Inserts a bullet on the current line"), QKeySequence(), "format-list-unordered", true,
         linesIcon(Qt::AlignLeft, true)},
        {alignLeftAction_, "alignLeftAction", QT_TR_NOOP("Align &Left"),
         QT_TR_NOOP("Align Left|Aligns text at the left indent"), QKeySequence(), "format-justify-left", true,
         linesIcon(Qt::AlignLeft, false)},
        {alignCenterAction_, "alignCenterAction", QT_TR_NOOP("&Center"),
         QT_TR_NOOP("Center|Centers text between margins"), QKeySequence(), "format-justify-center", true,
         linesIcon(Qt::AlignHCenter, false)},
        {alignRightAction_, "alignRightAction", QT_TR_NOOP("Align &Right"),
         QT_TR_NOOP("Align Right|Aligns text at the right indent"), QKeySequence(), "format-justify-right", true,
         linesIcon(Qt::AlignRight, false)},
    };
    for (const Spec& s : specs) {
        s.action = new QAction(tr(s.caption), this);
        s.action->setObjectName(QString::fromLatin1(s.name));
        setHint(s.action, tr(s.hint));
        s.action->setShortcut(s.shortcut);
        // The keys belong to the text area; the cut, copy, paste and undo keys
        // are handled by the text area itself and shown here for the menu.
        s.action->setShortcutContext(Qt::WidgetShortcut);
        s.action->setCheckable(s.checkable);
        s.action->setIcon(QIcon::fromTheme(QString::fromLatin1(s.icon), s.fallback));
        textEdit_->addAction(s.action);
    }
    auto* alignment = new QActionGroup(this);
    for (QAction* a : {alignLeftAction_, alignCenterAction_, alignRightAction_})
        alignment->addAction(a);

    // Tool bar and context menu: the same commands in five groups.
    const QList<QList<QAction*>> groups = {
        {cutAction_, copyAction_, pasteAction_},
        {undoAction_},
        {boldAction_, italicAction_, underlineAction_, strikeOutAction_},
        {bulletsAction_},
        {alignLeftAction_, alignCenterAction_, alignRightAction_},
    };
    for (qsizetype g = 0; g < groups.size(); ++g) {
        if (g > 0) {
            textToolBar_->addSeparator();
            contextMenu_->addSeparator();
        }
        textToolBar_->addActions(groups[g]);
        contextMenu_->addActions(groups[g]);
    }

    connect(cutAction_, &QAction::triggered, textEdit_, &QTextEdit::cut);
    connect(copyAction_, &QAction::triggered, textEdit_, &QTextEdit::copy);
    connect(pasteAction_, &QAction::triggered, textEdit_, &QTextEdit::paste);
    connect(undoAction_, &QAction::triggered, textEdit_, &QTextEdit::undo);
    connect(boldAction_, &QAction::triggered, this, [this](bool on) {
        QTextCharFormat f;
        f.setFontWeight(on ? QFont::Bold : QFont::Normal);
        mergeFormat(f);
    });
    connect(italicAction_, &QAction::triggered, this, [this](bool on) {
        QTextCharFormat f;
        f.setFontItalic(on);
        mergeFormat(f);
    });
    connect(underlineAction_, &QAction::triggered, this, [this](bool on) {
        QTextCharFormat f;
        f.setFontUnderline(on);
        mergeFormat(f);
    });
    connect(strikeOutAction_, &QAction::triggered, this, [this](bool on) {
        QTextCharFormat f;
        f.setFontStrikeOut(on);
        mergeFormat(f);
    });
    connect(bulletsAction_, &QAction::triggered, this, [this] { toggleBullets(); });
    connect(alignLeftAction_, &QAction::triggered, this, [this] {
        textEdit_->setAlignment(Qt::AlignLeft | Qt::AlignAbsolute);
        updateTextActions();
    });
    connect(alignCenterAction_, &QAction::triggered, this, [this] {
        textEdit_->setAlignment(Qt::AlignHCenter);
        updateTextActions();
    });
    connect(alignRightAction_, &QAction::triggered, this, [this] {
        textEdit_->setAlignment(Qt::AlignRight | Qt::AlignAbsolute);
        updateTextActions();
    });

    cutAction_->setEnabled(false);
    copyAction_->setEnabled(false);
    undoAction_->setEnabled(false);
    connect(textEdit_, &QTextEdit::copyAvailable, cutAction_, &QAction::setEnabled);
    connect(textEdit_, &QTextEdit::copyAvailable, copyAction_, &QAction::setEnabled);
    connect(textEdit_, &QTextEdit::undoAvailable, undoAction_, &QAction::setEnabled);
    connect(textEdit_, &QTextEdit::cursorPositionChanged, this, [this] { updateTextActions(); });
    connect(textEdit_, &QTextEdit::currentCharFormatChanged, this, [this] { updateTextActions(); });
    if (QClipboard* clipboard = QApplication::clipboard())
        connect(clipboard, &QClipboard::dataChanged, this, [this] { updatePasteAction(); });
    updateTextActions();
}

void PrayerEditor::updatePasteAction()
{
    // Asking whether the clipboard holds something to paste waits for the
    // clipboard's owner, which may be slow or never answer: asked only while
    // the window is on screen, never while it is being made.
    if (isVisible())
        pasteAction_->setEnabled(textEdit_->canPaste());
}

void PrayerEditor::updateTextActions()
{
    const QTextCharFormat format = textEdit_->currentCharFormat();
    boldAction_->setChecked(format.fontWeight() >= QFont::Bold);
    italicAction_->setChecked(format.fontItalic());
    underlineAction_->setChecked(format.fontUnderline());
    strikeOutAction_->setChecked(format.fontStrikeOut());
    const QTextList* list = textEdit_->textCursor().currentList();
    bulletsAction_->setChecked(list && isBulletStyle(list->format().style()));
    const Qt::Alignment align = textEdit_->alignment();
    if (align & Qt::AlignHCenter)
        alignCenterAction_->setChecked(true);
    else if (align & (Qt::AlignRight | Qt::AlignTrailing))
        alignRightAction_->setChecked(true);
    else
        alignLeftAction_->setChecked(true);
}

void PrayerEditor::mergeFormat(const QTextCharFormat& format)
{
    QTextCursor cursor = textEdit_->textCursor();
    if (cursor.hasSelection())
        cursor.mergeCharFormat(format);
    // Without a selection the change applies to what is typed next.
    textEdit_->mergeCurrentCharFormat(format);
    updateTextActions();
}

void PrayerEditor::toggleBullets()
{
    QTextCursor cursor = textEdit_->textCursor();
    const QTextList* current = cursor.currentList();
    cursor.beginEditBlock();
    if (current && isBulletStyle(current->format().style())) {
        // Take every selected paragraph out of its list.
        QTextDocument* doc = textEdit_->document();
        const QTextBlock first = doc->findBlock(cursor.selectionStart());
        const QTextBlock last = doc->findBlock(cursor.selectionEnd());
        for (QTextBlock block = first; block.isValid(); block = block.next()) {
            if (QTextList* list = block.textList()) {
                list->remove(block);
                QTextCursor at(block);
                QTextBlockFormat bf = block.blockFormat();
                bf.setIndent(0);
                at.setBlockFormat(bf);
            }
            if (block == last)
                break;
        }
    } else {
        QTextListFormat list;
        list.setStyle(QTextListFormat::ListDisc);
        list.setIndent(1);
        cursor.createList(list);
    }
    cursor.endEditBlock();
    updateTextActions();
}

void PrayerEditor::setModified(bool modified)
{
    modified_ = modified;
    saveAndCloseAction_->setEnabled(modified);
    modifiedLabel_->setText(modified ? tr("Modified") : tr("Unmodified"));
}

bool PrayerEditor::editPrayer(PrayerStore& store, std::int32_t prayerIndex, bool newItem, Preferences& prefs)
{
    store_ = &store;
    prayerIndex_ = prayerIndex;
    newItem_ = newItem;
    preferences_ = &prefs;
    try {
        prepareToShow();
    } catch (...) {
        resetInputs();
        throw;
    }
    if (placementIni_ && !placementRestored_) {
        restoreWindowPlacement(*this, *placementIni_, core::settings::kPrayerEditorPlacement);
        placementRestored_ = true;
    }
    runModal();
    resetInputs();
    const bool saved = saved_;
    // Opened only now that the window is closed, so the page is seen.
    if (!pendingBibleLink_.isEmpty())
        emit bibleLinkClicked(std::exchange(pendingBibleLink_, QString()));
    return saved;
}

int PrayerEditor::runModal()
{
    return exec();
}

void PrayerEditor::prepareToShow()
{
    if (!store_ || prayerIndex_ == -1 || !preferences_)
        throw Exception("Variables not properly initialized before FormShow");
    loadPrayerFields();
    loadJournal();
    loadVerses();
    loadSchedule();
    applyDisplayBackground(*textEdit_, *preferences_);
    loadPrayerText();
    if (newItem_) {
        // Typing replaces the default title.
        titleEdit_->setFocus();
        titleEdit_->selectAll();
    } else {
        textEdit_->setFocus();
    }
    editorStatusBar_->clearMessage();
    setModified(false);
    saved_ = false;
}

void PrayerEditor::loadPrayerFields()
{
    titleEdit_->setText(fromBytes(store_->prayerTitle(prayerIndex_)));

    // An empty list leaves the previous one in place.
    const std::vector<std::string> topics = store_->topicList();
    if (!topics.empty()) {
        topicCombo_->clear();
        for (const std::string& topic : topics)
            topicCombo_->addItem(fromBytes(topic));
    }
    topicCombo_->setEditText(fromBytes(store_->prayerTopic(prayerIndex_)));

    const sys_seconds created = store_->createTime(prayerIndex_);
    const sys_seconds edited = store_->lastEditTime(prayerIndex_);
    if (created != edited)
        datesLabel_->setText(
            tr("Created: %1; Last Edited: %2.").arg(shortDateText(dayOf(created)), shortDateTimeText(edited)));
    else
        datesLabel_->setText(tr("Created on %1.").arg(shortDateText(dayOf(created))));

    // An empty column shows Active; a word the list does not offer shows no
    // entry.
    loadedStatus_ = store_->prayerStatus(prayerIndex_);
    const std::optional<PrayerStatus> status =
        loadedStatus_.empty() ? std::optional(PrayerStatus::Active) : loadedStatus_.status();
    statusCombo_->setCurrentIndex(status ? statusCombo_->findData(static_cast<int>(*status)) : -1);
}

std::optional<PrayerStatus> PrayerEditor::chosenStatus() const
{
    if (statusCombo_->currentIndex() < 0)
        return std::nullopt;
    return static_cast<PrayerStatus>(statusCombo_->currentData().toInt());
}

void PrayerEditor::loadJournal()
{
    const std::optional<PrayerAnswer> answer = store_->answer(prayerIndex_);
    answerRecorded_ = answer.has_value();
    {
        const QSignalBlocker blockDate(answeredDateEdit_);
        // Not before the item was made, nor after today (a date stored
        // outside that span stays as it is).
        const QDate shown = answer ? toQDate(answer->answeredTime) : QDate::currentDate();
        const QDate created = toQDate(dayOf(store_->createTime(prayerIndex_)));
        answeredDateEdit_->setDateRange(std::min({created, shown, QDate::currentDate()}),
                                        std::max(shown, QDate::currentDate()));
        answeredDateEdit_->setDate(shown);
    }
    answerNoteEdit_->setText(answer ? fromBytes(answer->answerNote) : QString());
    answerTouched_ = false;
    updateAnswerPanel();

    const QSignalBlocker blockNotes(notesTable_);
    notesTable_->setRowCount(0);
    for (const PrayerNote& note : store_->notes(prayerIndex_))
        appendNoteRow(toQDate(note.noteTime), fromBytes(note.noteText));
    deleteNoteButton_->setEnabled(false);
}

void PrayerEditor::updateAnswerPanel()
{
    answerPanel_->setVisible(chosenStatus() == PrayerStatus::Answered);
}

void PrayerEditor::appendNoteRow(const QDate& date, const QString& text)
{
    const int row = notesTable_->rowCount();
    notesTable_->insertRow(row);
    // A date in the edit role gets a date field as its in-place editor.
    auto* dateItem = new QTableWidgetItem;
    dateItem->setData(Qt::EditRole, date);
    notesTable_->setItem(row, 0, dateItem);
    notesTable_->setItem(row, 1, new QTableWidgetItem(text));
    notesTable_->resizeColumnToContents(0);
    // Room for the date field that edits the date, not only for its text.
    QDateEdit probe(date);
    probe.setCalendarPopup(true);
    notesTable_->setColumnWidth(0, std::max(notesTable_->columnWidth(0), probe.sizeHint().width()));
}

void PrayerEditor::addNote()
{
    appendNoteRow(QDate::currentDate(), QString());
    setModified(true);
    const int row = notesTable_->rowCount() - 1;
    notesTable_->setCurrentCell(row, 1);
    notesTable_->setFocus();
    notesTable_->editItem(notesTable_->item(row, 1));
}

void PrayerEditor::deleteNote()
{
    const QList<QTableWidgetItem*> selected = notesTable_->selectedItems();
    if (selected.isEmpty())
        return;
    notesTable_->removeRow(selected.first()->row());
    setModified(true);
}

void PrayerEditor::loadPrayerText()
{
    textEdit_->clear();
    const std::string bytes = store_->prayerText(prayerIndex_);
    if (!bytes.empty())
        readRtf(QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size())), *textEdit_->document());
    textEdit_->moveCursor(QTextCursor::Start);
    applyDisplayFont(*textEdit_, *preferences_);
    // Loading is not an edit the user can undo.
    textEdit_->document()->clearUndoRedoStacks();
    updateTextActions();
}

void PrayerEditor::savePrayer()
{
    // An item on no weekday would never come up: nothing is saved.
    if (scheduleCombo_->currentData().toInt() == static_cast<int>(ScheduleKind::Weekdays) && chosenWeekdays() == 0)
        throw Exception(toBytes(tr("Choose the weekdays on which this item comes up.")));
    QTextDocument* doc = textEdit_->document();
    // A stored status outside the three entries shows no entry; saving then
    // keeps it rather than clearing it, which would hide the item from every
    // list.
    const std::optional<PrayerStatus> chosen = chosenStatus();
    const StoredStatus status = chosen ? StoredStatus(*chosen) : loadedStatus_;
    // Moving off the current cell commits an in-place edit still open, so
    // what is typed there is saved too.
    notesTable_->setCurrentItem(nullptr);
    std::optional<PrayerAnswer> answer;
    if (chosen == PrayerStatus::Answered && (answerRecorded_ || answerTouched_))
        answer = PrayerAnswer{toSysDays(answeredDateEdit_->date()), toBytes(answerNoteEdit_->text().trimmed())};
    PrayerNotes notes;
    for (int row = 0; row < notesTable_->rowCount(); ++row) {
        const QTableWidgetItem* date = notesTable_->item(row, 0);
        const QTableWidgetItem* text = notesTable_->item(row, 1);
        const QString noteText = text ? text->text().trimmed() : QString();
        if (noteText.isEmpty())
            continue; // a note left empty is no note
        const QDate day = date ? date->data(Qt::EditRole).toDate() : QDate();
        notes.push_back(PrayerNote{toSysDays(day.isValid() ? day : QDate::currentDate()), toBytes(noteText)});
    }
    savePrayerContent(*store_, prayerIndex_, toBytes(titleEdit_->text()), toBytes(topicCombo_->currentText()),
                      status, toBytes(plainTextCrLf(*doc)), [doc] {
                          const QByteArray rtf = writeRtf(*doc);
                          return std::string(rtf.constData(), static_cast<std::size_t>(rtf.size()));
                      },
                      answer, notes);
    const int kind = scheduleCombo_->currentData().toInt();
    const unsigned weekdays = chosenWeekdays();
    const bool scheduleChanged = kind != loadedScheduleKind_ || weekdays != loadedWeekdays_;
    if (versesChanged_ || scheduleChanged) {
        const sys_days today = toSysDays(QDate::currentDate());
        PrayerListStore list(*store_);
        list.ensureTables(today);
        if (versesChanged_)
            list.setVerses(prayerIndex_, verses_);
        if (scheduleChanged)
            list.setSchedule(prayerIndex_, PrayerSchedule{static_cast<ScheduleKind>(kind), weekdays, today});
        versesChanged_ = false;
        loadedScheduleKind_ = kind;
        loadedWeekdays_ = weekdays;
    }
    answerRecorded_ = answerRecorded_ || answer.has_value();
    answerTouched_ = false;
    setModified(false);
    saved_ = true;
}

void PrayerEditor::loadVerses()
{
    // A Bible that cannot be opened leaves the verses as typed, not the item
    // unopened.
    bible_ = nullptr;
    try {
        if (bibleSource_)
            bible_ = bibleSource_();
    } catch (const std::exception&) {
    }
    verses_ = PrayerListStore(*store_).verses(prayerIndex_);
    versesChanged_ = false;
    pendingBibleLink_.clear();
    verseEdit_->clear();
    showVerses();
}

void PrayerEditor::loadSchedule()
{
    const PrayerSchedule schedule = PrayerListStore(*store_).schedule(prayerIndex_);
    const QSignalBlocker blockCombo(scheduleCombo_);
    scheduleCombo_->setCurrentIndex(scheduleCombo_->findData(static_cast<int>(schedule.kind)));
    // Monday to Friday is offered when the weekdays are first chosen.
    const unsigned shown = schedule.kind == ScheduleKind::Weekdays ? schedule.weekdays : 0x1fu;
    for (int day = 0; day < weekdayButtons_.size(); ++day) {
        const QSignalBlocker blockButton(weekdayButtons_[day]);
        weekdayButtons_[day]->setChecked(shown & (1u << day));
    }
    loadedScheduleKind_ = static_cast<int>(schedule.kind);
    loadedWeekdays_ = chosenWeekdays();
    updateWeekdayButtons();
}

void PrayerEditor::updateWeekdayButtons()
{
    weekdayPanel_->setVisible(scheduleCombo_->currentData().toInt() == static_cast<int>(ScheduleKind::Weekdays));
}

unsigned PrayerEditor::chosenWeekdays() const
{
    if (scheduleCombo_->currentData().toInt() != static_cast<int>(ScheduleKind::Weekdays))
        return 0;
    unsigned mask = 0;
    for (int day = 0; day < weekdayButtons_.size(); ++day)
        if (weekdayButtons_[day]->isChecked())
            mask |= 1u << day;
    return mask;
}

void PrayerEditor::showVerses()
{
    std::string html;
    for (std::size_t i = 0; i < verses_.size(); ++i)
        html += format("<p>%s <font size=\"-1\">[<a href=\"%s%d\">%s</a>]</font></p>", verseHtml(verses_[i], bible_),
                       kLinkRemoveVerse, static_cast<int>(i), toBytes(tr("Remove")));
    if (verses_.empty())
        html = "<p><i>" + toBytes(tr("No verses yet: type a reference above to pray with it.")) + "</i></p>";
    versesView_->loadFromBytes(html);
}

void PrayerEditor::attachVerse()
{
    const std::string typed = toBytes(verseEdit_->text());
    if (typed.find_first_not_of(" \t") == std::string::npos)
        return;
    std::string reference = typed;
    if (bible_) {
        std::string error;
        const std::optional<std::string> checked = attachableReference(typed, *bible_, error);
        if (!checked) {
            dialogs_.message(tr("\"%1\" is not a reference to attach: %2").arg(verseEdit_->text(), fromBytes(error)),
                             Dialogs::Icon::Warning);
            return;
        }
        reference = *checked;
    }
    if (std::find(verses_.begin(), verses_.end(), reference) == verses_.end()) {
        verses_.push_back(reference);
        versesChanged_ = true;
        setModified(true);
        showVerses();
    }
    verseEdit_->clear();
}

void PrayerEditor::followVerseLink(const QString& href)
{
    const std::string link = href.toStdString();
    if (link.rfind(kLinkRemoveVerse, 0) == 0) {
        const std::size_t i = std::strtoul(link.c_str() + std::strlen(kLinkRemoveVerse), nullptr, 10);
        if (i < verses_.size()) {
            verses_.erase(verses_.begin() + static_cast<std::ptrdiff_t>(i));
            versesChanged_ = true;
            setModified(true);
            showVerses();
        }
    } else if (href.startsWith(QStringLiteral("bible:"))) {
        // The Bible page is behind this window: it closes first (asking to
        // save a change), and the verse opens once it has.
        pendingBibleLink_ = href;
        close();
        if (isVisible())
            pendingBibleLink_.clear(); // the reader stayed
    }
}

void PrayerEditor::resetInputs()
{
    store_ = nullptr;
    prayerIndex_ = -1;
    newItem_ = false;
}

bool PrayerEditor::confirmClose()
{
    if (!modified_)
        return true;
    switch (dialogs_.confirmYesNoCancel(tr(kCloseQuestion))) {
    case Dialogs::Answer::Yes:
        savePrayer();
        return true;
    case Dialogs::Answer::No:
        return true;
    case Dialogs::Answer::Cancel:
        break;
    }
    return false;
}

void PrayerEditor::reject()
{
    bool close = false;
    runGuarded(dialogs_, [&] { close = confirmClose(); });
    if (close)
        QDialog::reject();
}

void PrayerEditor::done(int result)
{
    if (placementIni_)
        runGuarded(dialogs_, [this] { saveWindowPlacement(*this, *placementIni_, core::settings::kPrayerEditorPlacement); });
    QDialog::done(result);
}

bool PrayerEditor::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == notesTable_ && event->type() == QEvent::KeyPress &&
        static_cast<QKeyEvent*>(event)->key() == Qt::Key_Delete && !notesTable_->selectedItems().isEmpty()) {
        deleteNote();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

bool PrayerEditor::event(QEvent* event)
{
    if (event->type() == QEvent::Show)
        updatePasteAction();
    if (event->type() == QEvent::StatusTip) {
        editorStatusBar_->showMessage(static_cast<QStatusTipEvent*>(event)->tip());
        return true;
    }
    return QDialog::event(event);
}

} // namespace kovara::ui
