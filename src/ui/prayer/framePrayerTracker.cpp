#include "ui/prayer/framePrayerTracker.h"

#include "app/kova_prefs.h"
#include "base/exception.h"
#include "ui/app/error_guard.h"
#include "ui/prayer/formEditPrayer.h"
#include "ui/widgets/dates.h"
#include "ui/prayer/prayer_text.h"
#include "ui/prayer/rtf_codec.h"
#include "ui/shell.h"
#include "ui/widgets/colors.h"
#include "ui/widgets/text_codec.h"

#include <QAction>
#include <QApplication>
#include <QFrame>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSplitter>
#include <QStyle>
#include <QStyledItemDelegate>
#include <QTabBar>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>
#include <QVBoxLayout>

#include <algorithm>

namespace kovara::ui {

const char* const TFrameKOVAPrayerTracker::kTabFilters[4] = {kPrayerActive, kPrayerAnswered, kPrayerInactive,
                                                             kPrayerFilterAny};

namespace {

constexpr int kMinSplit = 25;
constexpr int kMaxSplit = 75;
constexpr int kItemIndent = 16; // item rows sit one tab stop in from the group rows

const char* const kNoSelection = "No prayer item currently selected.";
const char* const kNoText = "Click Edit Prayer to add text to this prayer item.";

QFont VerdanaPixels(int pixels, bool bold, bool italic = false)
{
    QFont font(QStringLiteral("Verdana"));
    font.setPixelSize(pixels);
    font.setBold(bold);
    font.setItalic(italic);
    return font;
}

// The list keeps its selected row when the user clicks the empty space below
// the rows or Ctrl+clicks the selected row. Otherwise the title, dates and text
// below would still show an item that the commands no longer act on.
class PrayerListWidget : public QListWidget {
public:
    using QListWidget::QListWidget;

protected:
    QItemSelectionModel::SelectionFlags selectionCommand(const QModelIndex& index,
                                                         const QEvent* event) const override
    {
        const QItemSelectionModel::SelectionFlags command = QListWidget::selectionCommand(index, event);
        if (event && (event->type() == QEvent::MouseButtonPress || event->type() == QEvent::MouseButtonRelease)) {
            if (!index.isValid() || (command & QItemSelectionModel::Deselect))
                return QItemSelectionModel::NoUpdate;
        }
        return command;
    }
};

// Rows of one fixed height; item rows are drawn indented under their group
// row, group rows across the whole width.
class PrayerRowDelegate : public QStyledItemDelegate {
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void paint(QPainter* painter, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        if (!index.data(TFrameKOVAPrayerTracker::kRecordRole).isValid()) {
            QStyledItemDelegate::paint(painter, option, index);
            return;
        }
        // The row's background (selection, hover) across the whole width,
        // the title one tab stop in.
        QStyleOptionViewItem full(option);
        initStyleOption(&full, index);
        const QWidget* widget = option.widget;
        QStyle* style = widget ? widget->style() : QApplication::style();
        style->drawPrimitive(QStyle::PE_PanelItemViewItem, &full, painter, widget);
        QStyleOptionViewItem opt(option);
        opt.rect.adjust(kItemIndent, 0, 0, 0);
        QStyledItemDelegate::paint(painter, opt, index);
    }

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        const QSize size = QStyledItemDelegate::sizeHint(option, index);
        return QSize(size.width() + kItemIndent, std::max(15, option.fontMetrics.height() + 2));
    }
};

// A push button that shows and runs an action.
void BindButton(QPushButton* button, QAction* action)
{
    button->setEnabled(action->isEnabled());
    button->setToolTip(action->toolTip());
    QObject::connect(button, &QPushButton::clicked, action, &QAction::trigger);
    QObject::connect(action, &QAction::changed, button, [button, action] { button->setEnabled(action->isEnabled()); });
}

} // namespace

TFrameKOVAPrayerTracker::TFrameKOVAPrayerTracker(Shell& shell, TFormPrayerEdit& editor, QWidget* parent)
    : QWidget(parent), shell_(shell), editor_(editor)
{
    setObjectName(QStringLiteral("FrameKOVAPrayerTracker1"));

    // Heading strip and tabs.
    auto* heading = new QFrame(this);
    heading->setFrameShape(QFrame::StyledPanel);
    LabelHeading = new QLabel(tr("Prayer Tracker"), heading);
    LabelHeading->setFont(VerdanaPixels(16, true, true));
    auto* headingLayout = new QHBoxLayout(heading);
    headingLayout->addWidget(LabelHeading);

    RzTabControl1 = new QTabBar(this);
    RzTabControl1->setObjectName(QStringLiteral("RzTabControl1"));
    for (const QString& caption : {tr("Active"), tr("Answered"), tr("Inactive"), tr("All")})
        RzTabControl1->addTab(caption);
    RzTabControl1->setDrawBase(false);
    RzTabControl1->setStyleSheet(QStringLiteral("QTabBar::tab:selected { font-weight: bold; }"));
    connect(RzTabControl1, &QTabBar::currentChanged, this, [this](int index) { RzTabControl1Change(index); });

    // Upper pane: the grouped list.
    RzSplitter1 = new QSplitter(Qt::Vertical, this);
    RzSplitter1->setObjectName(QStringLiteral("RzSplitter1"));
    RzSplitter1->setHandleWidth(5);
    RzSplitter1->setChildrenCollapsible(false);
    RzTabbedListBox1 = new PrayerListWidget(RzSplitter1);
    RzTabbedListBox1->setObjectName(QStringLiteral("RzTabbedListBox1"));
    RzTabbedListBox1->setUniformItemSizes(true);
    RzTabbedListBox1->setSelectionMode(QAbstractItemView::SingleSelection);
    RzTabbedListBox1->setItemDelegate(new PrayerRowDelegate(RzTabbedListBox1));
    RzTabbedListBox1->installEventFilter(this);
    connect(RzTabbedListBox1, &QListWidget::itemSelectionChanged, this, [this] { Guarded([this] { RzTabbedListBox1Click(); }); });
    connect(RzTabbedListBox1, &QListWidget::itemDoubleClicked, this,
            [this] { Guarded([this] { RzTabbedListBox1DblClick(); }); });

    // Lower pane: title, dates and the text.
    auto* lower = new QWidget(RzSplitter1);
    PanelDetails = new QFrame(lower);
    PanelDetails->setFrameShape(QFrame::StyledPanel);
    LabelPrayerTitle = new QLabel(tr(kNoSelection), PanelDetails);
    LabelPrayerTitle->setObjectName(QStringLiteral("LabelPrayerTitle"));
    LabelPrayerTitle->setFont(VerdanaPixels(12, true));
    LabelPrayerTitle->setTextFormat(Qt::PlainText);
    LabelPrayerDetails = new QLabel(PanelDetails);
    LabelPrayerDetails->setObjectName(QStringLiteral("LabelPrayerDetails"));
    LabelPrayerDetails->setFont(VerdanaPixels(11, false));
    LabelPrayerDetails->setTextFormat(Qt::PlainText);
    auto* detailsLayout = new QVBoxLayout(PanelDetails);
    detailsLayout->setContentsMargins(6, 4, 6, 4);
    detailsLayout->addWidget(LabelPrayerTitle);
    detailsLayout->addWidget(LabelPrayerDetails);

    RichEdit1 = new QTextEdit(lower);
    RichEdit1->setObjectName(QStringLiteral("RichEdit1"));
    RichEdit1->setReadOnly(true);
    RichEdit1->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    RichEdit1->document()->setDocumentMargin(5);
    auto* lowerLayout = new QVBoxLayout(lower);
    lowerLayout->setContentsMargins(0, 0, 0, 0);
    lowerLayout->setSpacing(0);
    lowerLayout->addWidget(PanelDetails);
    lowerLayout->addWidget(RichEdit1, 1);
    RzSplitter1->addWidget(RzTabbedListBox1);
    RzSplitter1->addWidget(lower);
    RzSplitter1->installEventFilter(this);
    connect(RzSplitter1, &QSplitter::splitterMoved, this, [this] {
        const QList<int> sizes = RzSplitter1->sizes();
        const int total = sizes.value(0) + sizes.value(1);
        if (total <= 0)
            return;
        const int percent = (sizes.value(0) * 100 + total / 2) / total;
        SetSplitPercent(percent);
    });

    // The text area's menu.
    ActionCopy = new QAction(tr("Copy Selected Text"), this);
    ActionCopy->setObjectName(QStringLiteral("ActionCopy"));
    ActionCopy->setShortcut(QKeySequence::Copy);
    connect(ActionCopy, &QAction::triggered, RichEdit1, &QTextEdit::copy);
    ActionSelectAll = new QAction(tr("Select All"), this);
    ActionSelectAll->setObjectName(QStringLiteral("ActionSelectAll"));
    ActionSelectAll->setShortcut(QKeySequence::SelectAll);
    connect(ActionSelectAll, &QAction::triggered, RichEdit1, &QTextEdit::selectAll);
    for (QAction* action : {ActionCopy, ActionSelectAll}) {
        // The text area handles these keys itself; the actions show them.
        action->setShortcutContext(Qt::WidgetShortcut);
        RichEdit1->addAction(action);
    }
    PopupMenu1 = new QMenu(this);
    PopupMenu1->addAction(ActionCopy);
    PopupMenu1->addAction(ActionSelectAll);
    RichEdit1->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(RichEdit1, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& pos) { PopupMenu1->exec(RichEdit1->viewport()->mapToGlobal(pos)); });
    connect(RichEdit1, &QTextEdit::selectionChanged, this, [this] { UpdateActions(); });
    connect(RichEdit1, &QTextEdit::textChanged, this, [this] { UpdateActions(); });

    // Item commands.
    ActionPrayerEdit = new QAction(tr("Edit Prayer"), this);
    ActionPrayerEdit->setObjectName(QStringLiteral("ActionPrayerEdit"));
    ActionPrayerEdit->setToolTip(tr("Click to edit prayer item."));
    connect(ActionPrayerEdit, &QAction::triggered, this, [this] {
        Guarded([this] {
            const std::int32_t index = GetSelectedPrayerIndex();
            if (index >= 0)
                EditPrayerItem(index);
        });
    });
    ActionDeletePrayer = new QAction(tr("Delete Prayer"), this);
    ActionDeletePrayer->setObjectName(QStringLiteral("ActionDeletePrayer"));
    ActionDeletePrayer->setShortcut(QKeySequence::Delete);
    ActionDeletePrayer->setShortcutContext(Qt::WidgetShortcut);
    RzTabbedListBox1->addAction(ActionDeletePrayer);
    connect(ActionDeletePrayer, &QAction::triggered, this, [this] { Guarded([this] { DeletePrayer(); }); });

    ActionPrayerStatus = new QAction(tr("Prayer Status:"), this);
    ActionPrayerStatus->setObjectName(QStringLiteral("ActionPrayerStatus"));
    ActionPrayerStatus->setToolTip(tr("Click to change prayer status."));
    struct StatusCommand {
        QAction*& action;
        const char* name;
        const char* caption;
        const char* status;
    };
    const StatusCommand statusCommands[] = {
        {ActionSetStatusActive, "ActionSetStatusActive", "Active Prayer", kPrayerActive},
        {ActionSetStatusAnswered, "ActionSetStatusAnswered", "Answered Prayer", kPrayerAnswered},
        {ActionSetStatusInactive, "ActionSetStatusInactive", "Inactive Prayer", kPrayerInactive},
    };
    PopupMenuStatus = new QMenu(this);
    PopupMenuStatus->setObjectName(QStringLiteral("PopupMenuStatus"));
    for (const StatusCommand& c : statusCommands) {
        c.action = new QAction(tr(c.caption), this);
        c.action->setObjectName(QString::fromLatin1(c.name));
        c.action->setCheckable(true);
        const char* status = c.status;
        connect(c.action, &QAction::triggered, this, [this, status] { Guarded([this, status] { SetStatus(status); }); });
        PopupMenuStatus->addAction(c.action);
    }

    // Buttons along the bottom.
    // The status button drops the menu down; its caption and enabling follow
    // ActionPrayerStatus.
    RzMenuButton1 = new QPushButton(ActionPrayerStatus->text(), this);
    RzMenuButton1->setObjectName(QStringLiteral("RzMenuButton1"));
    RzMenuButton1->setMenu(PopupMenuStatus);
    RzMenuButton1->setToolTip(ActionPrayerStatus->toolTip());
    connect(ActionPrayerStatus, &QAction::changed, RzMenuButton1, [this] {
        RzMenuButton1->setText(ActionPrayerStatus->text());
        RzMenuButton1->setEnabled(ActionPrayerStatus->isEnabled());
    });
    ButtonDeletePrayer = new QPushButton(tr("Delete Prayer"), this);
    ButtonDeletePrayer->setObjectName(QStringLiteral("ButtonDeletePrayer"));
    BindButton(ButtonDeletePrayer, ActionDeletePrayer);
    ButtonEditPrayer = new QPushButton(tr("Edit Prayer"), this);
    ButtonEditPrayer->setObjectName(QStringLiteral("ButtonEditPrayer"));
    QFont bold = ButtonEditPrayer->font();
    bold.setBold(true);
    ButtonEditPrayer->setFont(bold);
    BindButton(ButtonEditPrayer, ActionPrayerEdit);
    auto* buttons = new QHBoxLayout;
    buttons->setContentsMargins(4, 0, 4, 0);
    buttons->addWidget(RzMenuButton1);
    buttons->addStretch(1);
    buttons->addWidget(ButtonDeletePrayer);
    buttons->addWidget(ButtonEditPrayer);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 4);
    layout->addWidget(heading);
    layout->addWidget(RzTabControl1);
    layout->addWidget(RzSplitter1, 1);
    layout->addLayout(buttons);

    SetSplitPercent(splitPercent_);
    UpdateActions();
}

void TFrameKOVAPrayerTracker::InitPrayers(TKOVAPrayerTracker& store, const std::string& filter, std::int32_t key)
{
    if (!prefs_)
        throw Exception("Preferences not yet assigned on InitPrayers");
    ClearText();
    for (int tab = 0; tab < 4; ++tab) {
        if (filter == kTabFilters[tab]) {
            // Setting the tab must not start another refill.
            const QSignalBlocker block(RzTabControl1);
            RzTabControl1->setCurrentIndex(tab);
        }
    }

    int chosen = -1;          // list row
    std::size_t chosenRec = 0; // its listing position
    {
        const QSignalBlocker block(RzTabbedListBox1);
        RzTabbedListBox1->setUpdatesEnabled(false);
        RzTabbedListBox1->clear();
        listing_.clear();
        try {
            store.GetPrayerHeadersByTopic(filter, listing_);
        } catch (...) {
            RzTabbedListBox1->setUpdatesEnabled(true);
            ShowPrayerDates(store, -1);
            UpdateActions();
            throw;
        }
        filter_ = filter;

        QFont groupFont = RzTabbedListBox1->font();
        groupFont.setFamilies({QStringLiteral("Verdana")});
        groupFont.setBold(true);
        // The caption colours, the background a shade darker than the
        // selection colour so a selected item row never looks like a group.
        const QBrush groupBack(ToQColor(SystemColor(2)).darker(135));
        const QBrush groupText(ToQColor(SystemColor(9)));
        std::string previousTopic;
        for (std::size_t i = 0; i < listing_.size(); ++i) {
            const TPrayerHeaderRec& rec = listing_[i];
            if (rec.prayerTopic != previousTopic) {
                const QString topic = FromBytes(rec.prayerTopic);
                auto* group = new QListWidgetItem(topic);
                group->setData(kStorageRole, QString::fromLatin1(kGroupPrefix) + topic);
                group->setFont(groupFont);
                group->setBackground(groupBack);
                group->setForeground(groupText);
                RzTabbedListBox1->addItem(group);
                previousTopic = rec.prayerTopic;
            }
            const QString title = FromBytes(rec.prayerTitle);
            auto* item = new QListWidgetItem(title);
            item->setData(kStorageRole, u'\t' + title);
            item->setData(kRecordRole, static_cast<int>(i));
            RzTabbedListBox1->addItem(item);
            if (rec.prayerIndex == key || (chosen < 0 && key == -1)) {
                chosen = RzTabbedListBox1->count() - 1;
                chosenRec = i;
            }
        }
        if (chosen >= 0)
            RzTabbedListBox1->setCurrentRow(chosen);
        RzTabbedListBox1->setUpdatesEnabled(true);
    }

    if (chosen < 0) {
        ClearText();
        ShowPrayerDates(store, -1);
    } else {
        RzTabbedListBox1->scrollToItem(RzTabbedListBox1->item(chosen));
        ShowPrayerItem(store, listing_[chosenRec].prayerIndex);
    }
    UpdateActions();
}

void TFrameKOVAPrayerTracker::AssignPreferences(TKOVAPreferences& prefs)
{
    prefs_ = &prefs;
    ApplyDisplayBackground(*RichEdit1, prefs);
    ApplyDisplayFont(*RichEdit1, prefs);
    SetSplitPercent(prefs.SplitPercent);
}

int TFrameKOVAPrayerTracker::SplitPercent() const
{
    return splitPercent_;
}

void TFrameKOVAPrayerTracker::SetSplitPercent(int percent)
{
    splitPercent_ = std::clamp(percent, kMinSplit, kMaxSplit);
    ApplySplit();
}

void TFrameKOVAPrayerTracker::ApplySplit()
{
    const int total = RzSplitter1->height() - RzSplitter1->handleWidth();
    if (total <= 0) {
        // Not laid out yet: the proportion is kept until it is.
        RzSplitter1->setSizes({splitPercent_ * 10, (100 - splitPercent_) * 10});
        return;
    }
    const int upper = (total * splitPercent_ + 50) / 100;
    RzSplitter1->setSizes({upper, total - upper});
}

std::int32_t TFrameKOVAPrayerTracker::GetSelectedPrayerIndex() const
{
    if (!isVisible() || shell_.CurrentPage() != Page::PrayerTracker)
        return -1;
    const TPrayerHeaderRec* rec = SelectedRecord();
    return rec ? rec->prayerIndex : -1;
}

const TPrayerHeaderRec* TFrameKOVAPrayerTracker::RecordOf(const QListWidgetItem* item) const
{
    if (!item)
        return nullptr;
    const QVariant position = item->data(kRecordRole);
    if (!position.isValid())
        return nullptr;
    const int i = position.toInt();
    if (i < 0 || static_cast<std::size_t>(i) >= listing_.size())
        return nullptr;
    return &listing_[static_cast<std::size_t>(i)];
}

const TPrayerHeaderRec* TFrameKOVAPrayerTracker::SelectedRecord() const
{
    QListWidgetItem* item = RzTabbedListBox1->currentItem();
    if (!item || !item->isSelected())
        return nullptr;
    return RecordOf(item);
}

void TFrameKOVAPrayerTracker::UpdateActions()
{
    const std::int32_t index = GetSelectedPrayerIndex();
    const TPrayerHeaderRec* rec = index >= 0 ? SelectedRecord() : nullptr;
    const bool enabled = rec != nullptr;
    for (QAction* action : {ActionPrayerEdit, ActionDeletePrayer, ActionPrayerStatus, ActionSetStatusActive,
                            ActionSetStatusAnswered, ActionSetStatusInactive})
        action->setEnabled(enabled);
    const std::string status = rec ? rec->prayerStatus : std::string();
    ActionPrayerStatus->setText(enabled ? QStringLiteral("Prayer Status: ") + FromBytes(status)
                                        : QStringLiteral("Prayer Status:"));
    ActionSetStatusActive->setChecked(status == kPrayerActive);
    ActionSetStatusAnswered->setChecked(status == kPrayerAnswered);
    ActionSetStatusInactive->setChecked(status == kPrayerInactive);
    ActionCopy->setEnabled(RichEdit1->textCursor().hasSelection());
    ActionSelectAll->setEnabled(!RichEdit1->document()->isEmpty());
}

void TFrameKOVAPrayerTracker::RzTabControl1Change(int index)
{
    if (index < 0 || index > 3)
        return;
    Guarded([this, index] { InitPrayers(shell_.PrayerTracker(), kTabFilters[index], -1); });
}

void TFrameKOVAPrayerTracker::RzTabbedListBox1Click()
{
    QListWidgetItem* item = RzTabbedListBox1->currentItem();
    if (!item || !item->isSelected()) {
        UpdateActions();
        return;
    }
    if (const TPrayerHeaderRec* rec = RecordOf(item)) {
        ShowPrayerItem(shell_.PrayerTracker(), rec->prayerIndex);
    } else {
        ClearText();
        ShowPrayerDates(shell_.PrayerTracker(), -1);
    }
    UpdateActions();
}

void TFrameKOVAPrayerTracker::RzTabbedListBox1DblClick()
{
    const TPrayerHeaderRec* rec = SelectedRecord();
    if (rec)
        EditPrayerItem(rec->prayerIndex);
}

void TFrameKOVAPrayerTracker::ShowPrayerItem(TKOVAPrayerTracker& store, std::int32_t prayerIndex)
{
    ClearText();
    ApplyDisplayBackground(*RichEdit1, *prefs_);
    const std::string bytes = store.GetPrayerText(prayerIndex);
    if (!bytes.empty()) {
        ReadRtf(QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size())), *RichEdit1->document());
    } else {
        QTextCursor cursor(RichEdit1->document());
        cursor.setCharFormat(QTextCharFormat());
        cursor.insertText(tr(kNoText));
    }
    ApplyDisplayFont(*RichEdit1, *prefs_);
    RichEdit1->moveCursor(QTextCursor::Start);
    ShowPrayerDates(store, prayerIndex);
}

void TFrameKOVAPrayerTracker::ShowPrayerDates(TKOVAPrayerTracker& store, std::int32_t prayerIndex)
{
    if (prayerIndex == -1) {
        LabelPrayerTitle->setText(tr(kNoSelection));
        LabelPrayerDetails->clear();
        return;
    }
    LabelPrayerTitle->setText(FromBytes(store.GetPrayerTitle(prayerIndex)));
    LabelPrayerDetails->setText(QStringLiteral("Created: %1; Last Edited: %2.")
                                    .arg(ShortDateText(store.GetCreateTime(prayerIndex)),
                                         ShortDateTimeText(store.GetLastEditTime(prayerIndex))));
}

void TFrameKOVAPrayerTracker::ClearText()
{
    RichEdit1->clear();
}

void TFrameKOVAPrayerTracker::EditPrayerItem(std::int32_t prayerIndex)
{
    if (!prefs_)
        throw Exception("Preferences not yet assigned on InitPrayers");
    editor_.EditPrayer(shell_.PrayerTracker(), prayerIndex, false, *prefs_);
    InitPrayers(shell_.PrayerTracker(), filter_, prayerIndex);
}

void TFrameKOVAPrayerTracker::SetStatus(const char* status)
{
    const std::int32_t index = GetSelectedPrayerIndex();
    if (index < 0)
        return;
    TKOVAPrayerTracker& store = shell_.PrayerTracker();
    if (store.GetPrayerStatus(index) == status) {
        UpdateActions(); // the menu entry toggled its own tick; put it back
        return;
    }
    store.SetPrayerStatus(index, status);
    InitPrayers(store, RzTabControl1->currentIndex() == 3 ? std::string(kPrayerFilterAny) : std::string(status), index);
}

void TFrameKOVAPrayerTracker::DeletePrayer()
{
    const std::int32_t index = GetSelectedPrayerIndex();
    if (index < 0)
        return;
    TKOVAPrayerTracker& store = shell_.PrayerTracker();
    const QString question = QStringLiteral("Are you sure you wish to permenantly delete prayer item \"%1?\"")
                                 .arg(FromBytes(store.GetPrayerTitle(index)));
    if (!shell_.GetDialogs().Confirm(question))
        return;
    store.SetPrayerStatus(index, kPrayerDeleted);
    InitPrayers(store, filter_, -1);
}

void TFrameKOVAPrayerTracker::Guarded(const std::function<void()>& body)
{
    RunGuarded(shell_.GetDialogs(), body);
}

void TFrameKOVAPrayerTracker::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    UpdateActions();
}

void TFrameKOVAPrayerTracker::hideEvent(QHideEvent* event)
{
    QWidget::hideEvent(event);
    UpdateActions();
}

bool TFrameKOVAPrayerTracker::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == RzSplitter1 && event->type() == QEvent::Resize) {
        ApplySplit();
    } else if (watched == RzTabbedListBox1 && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            Guarded([this] { RzTabbedListBox1DblClick(); });
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace kovara::ui
