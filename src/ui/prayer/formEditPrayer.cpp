#include "ui/prayer/formEditPrayer.h"

#include "app/ini_file.h"
#include "app/kova_prefs.h"
#include "base/exception.h"
#include "prayer/kova_prayertracker.h"
#include "prayer/prayer_preview.h"
#include "ui/app/dialogs.h"
#include "ui/app/error_guard.h"
#include "ui/widgets/dates.h"
#include "ui/widgets/painted_icon.h"
#include "ui/prayer/prayer_text.h"
#include "ui/prayer/rtf_codec.h"
#include "ui/widgets/text_codec.h"
#include "ui/widgets/window_placement.h"

#include <QAction>
#include <QActionGroup>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPainter>
#include <QPixmap>
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

namespace kovara::ui {

namespace {

const char* const kPlacementSection = "Prayer Edit Window State";

const char* const kCloseQuestion =
    "Do you wish to save your changes to this prayer item?\n\n"
    "Select YES to save your changes and close the prayer editor.\n"
    "Select NO to close the prayer editor without saving your changes.\n"
    "Select CANCEL to return to the prayer editor without closing it.";

bool IsBulletStyle(QTextListFormat::Style style)
{
    return style == QTextListFormat::ListDisc || style == QTextListFormat::ListCircle ||
           style == QTextListFormat::ListSquare;
}

// A hint "Short|Long": the short part as the tool tip, the long part (or the
// short one when there is none) on the status bar.
void SetHint(QAction* action, const QString& hint)
{
    const qsizetype bar = hint.indexOf(u'|');
    action->setToolTip(bar < 0 ? hint : hint.left(bar));
    action->setStatusTip(bar < 0 ? hint : hint.mid(bar + 1));
}

// 16-pixel icons for the formatting commands, drawn in the button text
// colour when first shown, for desktops whose icon theme has none.
QIcon LetterIcon(QChar letter, bool bold, bool italic, bool underline, bool strikeOut)
{
    return PaintedIcon([=](QPainter& painter) {
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
QIcon LinesIcon(Qt::Alignment align, bool bullets)
{
    return PaintedIcon([=](QPainter& painter) {
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

TFormPrayerEdit::TFormPrayerEdit(Dialogs& dialogs, TIniFile* placementIni, QWidget* parent)
    : QDialog(parent), dialogs_(dialogs), placementIni_(placementIni)
{
    setObjectName(QStringLiteral("FormPrayerEdit"));
    setWindowTitle(tr("Editing Prayer Item - Kovara"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    setSizeGripEnabled(true);

    // Save and Close / Close.
    ActionSaveAndClose = new QAction(tr("Save and Close"), this);
    ActionSaveAndClose->setObjectName(QStringLiteral("ActionSaveAndClose"));
    ActionSaveAndClose->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_S));
    ActionSaveAndClose->setEnabled(false);
    connect(ActionSaveAndClose, &QAction::triggered, this, [this] {
        if (!modified_)
            return;
        if (RunGuarded(dialogs_, [this] { SavePrayer(); }))
            close();
    });
    ActionClose = new QAction(tr("Close"), this);
    ActionClose->setObjectName(QStringLiteral("ActionClose"));
    ActionClose->setShortcut(QKeySequence(Qt::ALT | Qt::Key_F4));
    connect(ActionClose, &QAction::triggered, this, [this] { close(); });
    addAction(ActionSaveAndClose);
    addAction(ActionClose);

    ButtonSaveAndClose = new QToolButton(this);
    ButtonSaveAndClose->setDefaultAction(ActionSaveAndClose);
    ButtonClose = new QToolButton(this);
    ButtonClose->setDefaultAction(ActionClose);
    for (QToolButton* button : {ButtonSaveAndClose, ButtonClose}) {
        button->setToolButtonStyle(Qt::ToolButtonTextOnly);
        button->setFocusPolicy(Qt::StrongFocus);
        button->setAutoRaise(false);
    }
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(ButtonSaveAndClose);
    buttons->addWidget(ButtonClose);
    buttons->addStretch(1);

    // The item's fields.
    RzEditTitle = new QLineEdit(this);
    RzEditTitle->setObjectName(QStringLiteral("RzEditTitle"));
    RzEditTitle->setToolTip(tr("Specify a title for this prayer item here."));
    RzComboBoxTopic = new QComboBox(this);
    RzComboBoxTopic->setObjectName(QStringLiteral("RzComboBoxTopic"));
    RzComboBoxTopic->setEditable(true);
    RzComboBoxTopic->setInsertPolicy(QComboBox::NoInsert);
    RzComboBoxTopic->setToolTip(tr("Specify an optional category for your prayer here. You may use an existing "
                                   "category or create a new one."));
    RzComboBoxStatus = new QComboBox(this);
    RzComboBoxStatus->setObjectName(QStringLiteral("RzComboBoxStatus"));
    RzComboBoxStatus->addItems({QStringLiteral("Active"), QStringLiteral("Answered"), QStringLiteral("Inactive")});
    RzComboBoxStatus->setToolTip(tr("Set the status of this prayer to \"Active,\" \"Answered,\" or \"Inactive\" here."));
    LabelDates = new QLabel(this);
    LabelDates->setObjectName(QStringLiteral("LabelDates"));
    LabelDates->setTextFormat(Qt::PlainText);

    auto* fields = new QFormLayout;
    fields->addRow(tr("Prayer &Title:"), RzEditTitle);
    fields->addRow(tr("Prayer &Category:"), RzComboBoxTopic);
    fields->addRow(tr("Prayer &Status:"), RzComboBoxStatus);

    // The text panel.
    RichEdit1 = new QTextEdit(this);
    RichEdit1->setObjectName(QStringLiteral("RichEdit1"));
    RichEdit1->setAcceptRichText(true);
    RichEdit1->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    RichEdit1->setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    RichEdit1->document()->setDocumentMargin(5);
    ToolBarText = new QToolBar(this);
    ToolBarText->setObjectName(QStringLiteral("ToolBarText"));
    ToolBarText->setIconSize(QSize(16, 16));
    PopupMenu1 = new QMenu(this);
    PopupMenu1->setObjectName(QStringLiteral("PopupMenu1"));
    CreateTextActions();
    RichEdit1->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(RichEdit1, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& pos) { PopupMenu1->exec(RichEdit1->viewport()->mapToGlobal(pos)); });

    // Status bar: the long hints and the modified pane.
    StatusBar1 = new QStatusBar(this);
    StatusBar1->setSizeGripEnabled(false);
    RzStatusPaneMod = new QLabel(tr("Unmodified"), StatusBar1);
    RzStatusPaneMod->setObjectName(QStringLiteral("RzStatusPaneMod"));
    StatusBar1->addPermanentWidget(RzStatusPaneMod);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 6, 6, 0);
    layout->addLayout(buttons);
    layout->addLayout(fields);
    layout->addWidget(LabelDates);
    layout->addWidget(ToolBarText);
    layout->addWidget(RichEdit1, 1);
    layout->addWidget(StatusBar1);

    setTabOrder(ButtonSaveAndClose, ButtonClose);
    setTabOrder(ButtonClose, RzEditTitle);
    setTabOrder(RzEditTitle, RzComboBoxTopic);
    setTabOrder(RzComboBoxTopic, RzComboBoxStatus);
    setTabOrder(RzComboBoxStatus, RichEdit1);

    // Any change of a field marks the item modified; FormShow clears the
    // flag again after loading.
    connect(RzEditTitle, &QLineEdit::textChanged, this, [this] { SetModified(true); });
    connect(RzComboBoxTopic, &QComboBox::editTextChanged, this, [this] { SetModified(true); });
    connect(RzComboBoxStatus, &QComboBox::currentIndexChanged, this, [this] { SetModified(true); });
    connect(RichEdit1, &QTextEdit::textChanged, this, [this] { SetModified(true); });

    resize(512, 380);
}

void TFormPrayerEdit::CreateTextActions()
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
        {EditCut1, "EditCut1", "Cu&t", "Cut|Cuts the selection and puts it on the Clipboard", QKeySequence::Cut,
         "edit-cut", false},
        {EditCopy1, "EditCopy1", "&Copy", "Copy|Copies the selection and puts it on the Clipboard",
         QKeySequence::Copy, "edit-copy", false},
        {EditPaste1, "EditPaste1", "&Paste", "Paste|Inserts Clipboard contents", QKeySequence::Paste, "edit-paste",
         false},
        {EditUndo1, "EditUndo1", "&Undo", "Undo|Reverts the last action", QKeySequence::Undo, "edit-undo", false},
        {RichEditBold1, "RichEditBold1", "&Bold", "Bold", QKeySequence(Qt::CTRL | Qt::Key_B), "format-text-bold",
         true, LetterIcon(u'B', true, false, false, false)},
        {RichEditItalic1, "RichEditItalic1", "&Italic", "Italic", QKeySequence(Qt::CTRL | Qt::Key_I),
         "format-text-italic", true, LetterIcon(u'I', false, true, false, false)},
        {RichEditUnderline1, "RichEditUnderline1", "&Underline", "Underline", QKeySequence(Qt::CTRL | Qt::Key_U),
         "format-text-underline", true, LetterIcon(u'U', false, false, true, false)},
        {RichEditStrikeOut1, "RichEditStrikeOut1", "&Strikeout", "Strikeout", QKeySequence(),
         "format-text-strikethrough", true, LetterIcon(u'S', false, false, false, true)},
        {RichEditBullets1, "RichEditBullets1", "&Bullets", "Bullets|Inserts a bullet on the current line",
         QKeySequence(), "format-list-unordered", true, LinesIcon(Qt::AlignLeft, true)},
        {RichEditAlignLeft1, "RichEditAlignLeft1", "Align &Left", "Align Left|Aligns text at the left indent",
         QKeySequence(), "format-justify-left", true, LinesIcon(Qt::AlignLeft, false)},
        {RichEditAlignCenter1, "RichEditAlignCenter1", "&Center", "Center|Centers text between margins",
         QKeySequence(), "format-justify-center", true, LinesIcon(Qt::AlignHCenter, false)},
        {RichEditAlignRight1, "RichEditAlignRight1", "Align &Right", "Align Right|Aligns text at the right indent",
         QKeySequence(), "format-justify-right", true, LinesIcon(Qt::AlignRight, false)},
    };
    for (const Spec& s : specs) {
        s.action = new QAction(tr(s.caption), this);
        s.action->setObjectName(QString::fromLatin1(s.name));
        SetHint(s.action, tr(s.hint));
        s.action->setShortcut(s.shortcut);
        // The keys belong to the text area; the cut, copy, paste and undo keys
        // are handled by the text area itself and shown here for the menu.
        s.action->setShortcutContext(Qt::WidgetShortcut);
        s.action->setCheckable(s.checkable);
        s.action->setIcon(QIcon::fromTheme(QString::fromLatin1(s.icon), s.fallback));
        RichEdit1->addAction(s.action);
    }
    auto* alignment = new QActionGroup(this);
    for (QAction* a : {RichEditAlignLeft1, RichEditAlignCenter1, RichEditAlignRight1})
        alignment->addAction(a);

    // Tool bar and context menu: the same commands in five groups.
    const QList<QList<QAction*>> groups = {
        {EditCut1, EditCopy1, EditPaste1},
        {EditUndo1},
        {RichEditBold1, RichEditItalic1, RichEditUnderline1, RichEditStrikeOut1},
        {RichEditBullets1},
        {RichEditAlignLeft1, RichEditAlignCenter1, RichEditAlignRight1},
    };
    for (qsizetype g = 0; g < groups.size(); ++g) {
        if (g > 0) {
            ToolBarText->addSeparator();
            PopupMenu1->addSeparator();
        }
        ToolBarText->addActions(groups[g]);
        PopupMenu1->addActions(groups[g]);
    }

    connect(EditCut1, &QAction::triggered, RichEdit1, &QTextEdit::cut);
    connect(EditCopy1, &QAction::triggered, RichEdit1, &QTextEdit::copy);
    connect(EditPaste1, &QAction::triggered, RichEdit1, &QTextEdit::paste);
    connect(EditUndo1, &QAction::triggered, RichEdit1, &QTextEdit::undo);
    connect(RichEditBold1, &QAction::triggered, this, [this](bool on) {
        QTextCharFormat f;
        f.setFontWeight(on ? QFont::Bold : QFont::Normal);
        MergeFormat(f);
    });
    connect(RichEditItalic1, &QAction::triggered, this, [this](bool on) {
        QTextCharFormat f;
        f.setFontItalic(on);
        MergeFormat(f);
    });
    connect(RichEditUnderline1, &QAction::triggered, this, [this](bool on) {
        QTextCharFormat f;
        f.setFontUnderline(on);
        MergeFormat(f);
    });
    connect(RichEditStrikeOut1, &QAction::triggered, this, [this](bool on) {
        QTextCharFormat f;
        f.setFontStrikeOut(on);
        MergeFormat(f);
    });
    connect(RichEditBullets1, &QAction::triggered, this, [this] { ToggleBullets(); });
    connect(RichEditAlignLeft1, &QAction::triggered, this, [this] {
        RichEdit1->setAlignment(Qt::AlignLeft | Qt::AlignAbsolute);
        UpdateTextActions();
    });
    connect(RichEditAlignCenter1, &QAction::triggered, this, [this] {
        RichEdit1->setAlignment(Qt::AlignHCenter);
        UpdateTextActions();
    });
    connect(RichEditAlignRight1, &QAction::triggered, this, [this] {
        RichEdit1->setAlignment(Qt::AlignRight | Qt::AlignAbsolute);
        UpdateTextActions();
    });

    EditCut1->setEnabled(false);
    EditCopy1->setEnabled(false);
    EditUndo1->setEnabled(false);
    connect(RichEdit1, &QTextEdit::copyAvailable, EditCut1, &QAction::setEnabled);
    connect(RichEdit1, &QTextEdit::copyAvailable, EditCopy1, &QAction::setEnabled);
    connect(RichEdit1, &QTextEdit::undoAvailable, EditUndo1, &QAction::setEnabled);
    connect(RichEdit1, &QTextEdit::cursorPositionChanged, this, [this] { UpdateTextActions(); });
    connect(RichEdit1, &QTextEdit::currentCharFormatChanged, this, [this] { UpdateTextActions(); });
    if (QClipboard* clipboard = QApplication::clipboard())
        connect(clipboard, &QClipboard::dataChanged, this, [this] { UpdatePasteAction(); });
    UpdateTextActions();
}

void TFormPrayerEdit::UpdatePasteAction()
{
    // Asking whether the clipboard holds something to paste waits for the
    // clipboard's owner, which may be slow or never answer: asked only while
    // the window is on screen, never while it is being made.
    if (isVisible())
        EditPaste1->setEnabled(RichEdit1->canPaste());
}

void TFormPrayerEdit::UpdateTextActions()
{
    const QTextCharFormat format = RichEdit1->currentCharFormat();
    RichEditBold1->setChecked(format.fontWeight() >= QFont::Bold);
    RichEditItalic1->setChecked(format.fontItalic());
    RichEditUnderline1->setChecked(format.fontUnderline());
    RichEditStrikeOut1->setChecked(format.fontStrikeOut());
    const QTextList* list = RichEdit1->textCursor().currentList();
    RichEditBullets1->setChecked(list && IsBulletStyle(list->format().style()));
    const Qt::Alignment align = RichEdit1->alignment();
    if (align & Qt::AlignHCenter)
        RichEditAlignCenter1->setChecked(true);
    else if (align & (Qt::AlignRight | Qt::AlignTrailing))
        RichEditAlignRight1->setChecked(true);
    else
        RichEditAlignLeft1->setChecked(true);
}

void TFormPrayerEdit::MergeFormat(const QTextCharFormat& format)
{
    QTextCursor cursor = RichEdit1->textCursor();
    if (cursor.hasSelection())
        cursor.mergeCharFormat(format);
    // Without a selection the change applies to what is typed next.
    RichEdit1->mergeCurrentCharFormat(format);
    UpdateTextActions();
}

void TFormPrayerEdit::ToggleBullets()
{
    QTextCursor cursor = RichEdit1->textCursor();
    const QTextList* current = cursor.currentList();
    cursor.beginEditBlock();
    if (current && IsBulletStyle(current->format().style())) {
        // Take every selected paragraph out of its list.
        QTextDocument* doc = RichEdit1->document();
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
    UpdateTextActions();
}

void TFormPrayerEdit::SetModified(bool modified)
{
    modified_ = modified;
    ActionSaveAndClose->setEnabled(modified);
    RzStatusPaneMod->setText(modified ? tr("Modified") : tr("Unmodified"));
}

void TFormPrayerEdit::EditPrayer(TKOVAPrayerTracker& store, std::int32_t prayerIndex, bool newItem,
                                 TKOVAPreferences& prefs)
{
    Store = &store;
    PrayerIndex = prayerIndex;
    NewItem = newItem;
    Preferences = &prefs;
    try {
        FormShow();
    } catch (...) {
        FormClose();
        throw;
    }
    if (placementIni_ && !placementRestored_) {
        RestoreWindowPlacement(*this, *placementIni_, kPlacementSection);
        placementRestored_ = true;
    }
    RunModal();
    FormClose();
}

int TFormPrayerEdit::RunModal()
{
    return exec();
}

void TFormPrayerEdit::FormShow()
{
    if (!Store || PrayerIndex == -1 || !Preferences)
        throw Exception("Variables not properly initialized before FormShow");
    LoadPrayerFields();
    ApplyDisplayBackground(*RichEdit1, *Preferences);
    LoadPrayerText();
    if (NewItem) {
        // Typing replaces the default title.
        RzEditTitle->setFocus();
        RzEditTitle->selectAll();
    } else {
        RichEdit1->setFocus();
    }
    StatusBar1->clearMessage();
    SetModified(false);
}

void TFormPrayerEdit::LoadPrayerFields()
{
    RzEditTitle->setText(FromBytes(Store->GetPrayerTitle(PrayerIndex)));

    // An empty list leaves the previous one in place.
    const std::vector<std::string> topics = Store->GetTopicList();
    if (!topics.empty()) {
        RzComboBoxTopic->clear();
        for (const std::string& topic : topics)
            RzComboBoxTopic->addItem(FromBytes(topic));
    }
    RzComboBoxTopic->setEditText(FromBytes(Store->GetPrayerTopic(PrayerIndex)));

    const TDateTime created = Store->GetCreateTime(PrayerIndex);
    const TDateTime edited = Store->GetLastEditTime(PrayerIndex);
    if (created != edited)
        LabelDates->setText(
            QStringLiteral("Created: %1; Last Edited: %2.").arg(ShortDateText(created), ShortDateTimeText(edited)));
    else
        LabelDates->setText(QStringLiteral("Created on %1.").arg(ShortDateText(created)));

    loadedStatus_ = Store->GetPrayerStatus(PrayerIndex);
    const std::string status = loadedStatus_.empty() ? std::string(kPrayerActive) : loadedStatus_;
    RzComboBoxStatus->setCurrentIndex(RzComboBoxStatus->findText(FromBytes(status), Qt::MatchExactly));
}

void TFormPrayerEdit::LoadPrayerText()
{
    RichEdit1->clear();
    const std::string bytes = Store->GetPrayerText(PrayerIndex);
    if (!bytes.empty())
        ReadRtf(QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size())), *RichEdit1->document());
    RichEdit1->moveCursor(QTextCursor::Start);
    ApplyDisplayFont(*RichEdit1, *Preferences);
    // Loading is not an edit the user can undo.
    RichEdit1->document()->clearUndoRedoStacks();
    UpdateTextActions();
}

bool TFormPrayerEdit::SavePrayer()
{
    QTextDocument* doc = RichEdit1->document();
    // A stored status outside the three entries shows no entry; saving then
    // keeps it rather than clearing it, which would hide the item from every
    // list.
    const std::string status =
        RzComboBoxStatus->currentIndex() >= 0 ? ToBytes(RzComboBoxStatus->currentText()) : loadedStatus_;
    SavePrayerContent(*Store, PrayerIndex, ToBytes(RzEditTitle->text()), ToBytes(RzComboBoxTopic->currentText()),
                      status, ToBytes(PlainTextCrLf(*doc)), [doc] {
                          const QByteArray rtf = WriteRtf(*doc);
                          return std::string(rtf.constData(), static_cast<std::size_t>(rtf.size()));
                      });
    SetModified(false);
    return true;
}

void TFormPrayerEdit::FormClose()
{
    Store = nullptr;
    PrayerIndex = -1;
    NewItem = false;
}

bool TFormPrayerEdit::CloseQuery()
{
    if (!modified_)
        return true;
    switch (dialogs_.ConfirmYesNoCancel(tr(kCloseQuestion))) {
    case Dialogs::Answer::Yes:
        return SavePrayer();
    case Dialogs::Answer::No:
        return true;
    case Dialogs::Answer::Cancel:
        break;
    }
    return false;
}

void TFormPrayerEdit::reject()
{
    bool close = false;
    RunGuarded(dialogs_, [&] { close = CloseQuery(); });
    if (close)
        QDialog::reject();
}

void TFormPrayerEdit::done(int result)
{
    if (placementIni_)
        RunGuarded(dialogs_, [this] { SaveWindowPlacement(*this, *placementIni_, kPlacementSection); });
    QDialog::done(result);
}

bool TFormPrayerEdit::event(QEvent* event)
{
    if (event->type() == QEvent::Show)
        UpdatePasteAction();
    if (event->type() == QEvent::StatusTip) {
        StatusBar1->showMessage(static_cast<QStatusTipEvent*>(event)->tip());
        return true;
    }
    return QDialog::event(event);
}

} // namespace kovara::ui
