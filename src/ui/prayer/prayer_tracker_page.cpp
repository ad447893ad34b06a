#include "ui/prayer/prayer_tracker_page.h"
#include "ui/prayer/prayer_answered_dialog.h"
#include "ui/base/core_names.h"

#include "core/app/preferences.h"
#include "core/base/exception.h"
#include "ui/base/button_row.h"
#include "ui/base/error_guard.h"
#include "ui/prayer/prayer_editor.h"
#include "ui/base/dates.h"
#include "ui/prayer/prayer_schedule_menu.h"
#include "ui/prayer/prayer_search.h"
#include "ui/prayer/prayer_text.h"
#include "ui/prayer/rtf_codec.h"
#include "ui/base/shell.h"
#include "ui/base/colors.h"
#include "ui/base/text_codec.h"
#include "ui/base/user_text.h"

#include <QAction>
#include <QApplication>
#include <QFrame>
#include <QHBoxLayout>
#include <QAbstractSpinBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QShortcut>
#include <QLabel>
#include <QListWidget>
#include <QMenu>
#include <QPainter>
#include <QPrinter>
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
#include <iterator>
#include <map>

namespace kovara::ui {

namespace {

constexpr int kTabCount = static_cast<int>(std::size(PrayerTrackerPage::kTabFilters));

// Whether tab is a position of the tabs.
bool isTab(int tab)
{
    return tab >= 0 && tab < kTabCount;
}

constexpr int kMinSplit = 25;
constexpr int kMaxSplit = 75;
constexpr int kItemIndent = 16; // item rows sit one tab stop in from the group rows

const char* const kNoSelection =
    QT_TRANSLATE_NOOP("kovara::ui::PrayerTrackerPage", "No prayer item currently selected.");
const char* const kNoText =
    QT_TRANSLATE_NOOP("kovara::ui::PrayerTrackerPage", "Click Edit Prayer to add text to this prayer item.");

// A stored status in the reader's language; one of another program's own
// words is shown as stored.
QString statusText(const StoredStatus& status)
{
    if (const std::optional<PrayerStatus> known = status.status())
        return QCoreApplication::translate("kovara::ui::PrayerTrackerPage", storedWord(*known));
    return fromBytes(status.word());
}

QFont verdanaPixels(int pixels, bool bold, bool italic = false)
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
        if (!index.data(PrayerTrackerPage::kRecordRole).isValid()) {
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
        // The answer's date at the right edge, in the title's colour but
        // lighter, and the title shortened so the two never overlap.
        const QString answered = index.data(PrayerTrackerPage::kAnsweredRole).toString();
        int dateWidth = 0;
        if (!answered.isEmpty()) {
            dateWidth = option.fontMetrics.horizontalAdvance(answered) + 12;
            opt.rect.adjust(0, 0, -dateWidth, 0);
        }
        QStyledItemDelegate::paint(painter, opt, index);
        if (!answered.isEmpty()) {
            painter->save();
            const bool selected = option.state & QStyle::State_Selected;
            QColor colour = option.palette.color(selected ? QPalette::HighlightedText : QPalette::Text);
            colour.setAlphaF(selected ? 0.9f : 0.6f);
            painter->setPen(colour);
            QFont font = option.font;
            font.setItalic(true);
            painter->setFont(font);
            painter->drawText(option.rect.adjusted(0, 0, -6, 0), Qt::AlignRight | Qt::AlignVCenter, answered);
            painter->restore();
        }
    }

    QSize sizeHint(const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        const QSize size = QStyledItemDelegate::sizeHint(option, index);
        return QSize(size.width() + kItemIndent, std::max(15, option.fontMetrics.height() + 2));
    }
};

// A push button that shows and runs an action.
void bindButton(QPushButton* button, QAction* action)
{
    button->setEnabled(action->isEnabled());
    button->setToolTip(action->toolTip());
    QObject::connect(button, &QPushButton::clicked, action, &QAction::trigger);
    QObject::connect(action, &QAction::changed, button, [button, action] { button->setEnabled(action->isEnabled()); });
}

} // namespace

PrayerTrackerPage::PrayerTrackerPage(Shell& shell, PrayerEditor& editor, QWidget* parent)
    : PrayerTrackerPage(shell, [&editor]() -> PrayerEditor& { return editor; }, parent)
{
}

PrayerTrackerPage::PrayerTrackerPage(Shell& shell, std::function<PrayerEditor&()> editor, QWidget* parent)
    : ContentPage(parent), shell_(shell), editor_(std::move(editor))
{
    setObjectName(QStringLiteral("prayerTrackerPage"));
    runAnswerDialog = [](PrayerAnsweredDialog& dialog) { return dialog.exec() == QDialog::Accepted; };

    // Heading strip and tabs.
    auto* heading = new QFrame(this);
    heading->setFrameShape(QFrame::StyledPanel);
    headingLabel_ = new QLabel(tr("Prayer Tracker"), heading);
    headingLabel_->setObjectName(QStringLiteral("prayerHeadingLabel"));
    headingLabel_->setFont(verdanaPixels(16, true, true));
    auto* headingLayout = new QHBoxLayout(heading);
    headingLayout->addWidget(headingLabel_);

    statusTabs_ = new QTabBar(this);
    statusTabs_->setObjectName(QStringLiteral("statusTabs"));
    for (const QString& caption : {tr("Active"), tr("Answered"), tr("Inactive"), tr("All")})
        statusTabs_->addTab(caption);
    statusTabs_->setDrawBase(false);
    statusTabs_->setStyleSheet(QStringLiteral("QTabBar::tab:selected { font-weight: bold; }"));
    connect(statusTabs_, &QTabBar::currentChanged, this, [this](int index) { onTabChanged(index); });

    searchEdit_ = new QLineEdit(this);
    searchEdit_->setObjectName(QStringLiteral("searchEdit"));
    searchEdit_->setAccessibleName(tr("Search Prayers"));
    searchEdit_->setPlaceholderText(tr("Search titles, categories, text and notes (Ctrl+F)"));
    searchEdit_->setClearButtonEnabled(true);
    searchEdit_->installEventFilter(this);
    connect(searchEdit_, &QLineEdit::textChanged, this, [this] { guarded([this] { onSearchChanged(); }); });
    auto* searchKey = new QShortcut(QKeySequence::Find, this);
    searchKey->setContext(Qt::WindowShortcut);
    connect(searchKey, &QShortcut::activated, this, [this] {
        if (!isVisible())
            return;
        searchEdit_->setFocus(Qt::ShortcutFocusReason);
        searchEdit_->selectAll();
    });

    // Upper pane: the grouped list.
    splitter_ = new QSplitter(Qt::Vertical, this);
    splitter_->setObjectName(QStringLiteral("splitter"));
    splitter_->setHandleWidth(5);
    splitter_->setChildrenCollapsible(false);
    prayerList_ = new PrayerListWidget(splitter_);
    prayerList_->setObjectName(QStringLiteral("prayerList"));
    prayerList_->setAccessibleName(tr("Prayer Items"));
    prayerList_->setUniformItemSizes(true);
    prayerList_->setSelectionMode(QAbstractItemView::SingleSelection);
    prayerList_->setItemDelegate(new PrayerRowDelegate(prayerList_));
    prayerList_->installEventFilter(this);
    connect(prayerList_, &QListWidget::itemSelectionChanged, this, [this] { guarded([this] { onPrayerClicked(); }); });
    connect(prayerList_, &QListWidget::itemDoubleClicked, this,
            [this] { guarded([this] { onPrayerDoubleClicked(); }); });
    // How often the selected item comes up on the prayer list.
    auto* scheduleMenu = new PrayerScheduleMenu(
        shell_, [this] { const PrayerHeader* rec = selectedRecord(); return rec ? rec->prayerIndex : 0; }, this);
    prayerList_->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(prayerList_, &QWidget::customContextMenuRequested, this, [this, scheduleMenu](const QPoint& pos) {
        if (selectedRecord())
            scheduleMenu->exec(prayerList_->viewport()->mapToGlobal(pos));
    });

    // Lower pane: title, dates and the text.
    auto* lower = new QWidget(splitter_);
    detailsPanel_ = new QFrame(lower);
    detailsPanel_->setObjectName(QStringLiteral("detailsPanel"));
    detailsPanel_->setFrameShape(QFrame::StyledPanel);
    prayerTitleLabel_ = new QLabel(tr(kNoSelection), detailsPanel_);
    prayerTitleLabel_->setObjectName(QStringLiteral("prayerTitleLabel"));
    prayerTitleLabel_->setFont(verdanaPixels(12, true));
    prayerTitleLabel_->setTextFormat(Qt::PlainText);
    prayerDetailsLabel_ = new QLabel(detailsPanel_);
    prayerDetailsLabel_->setObjectName(QStringLiteral("prayerDetailsLabel"));
    prayerDetailsLabel_->setFont(verdanaPixels(11, false));
    prayerDetailsLabel_->setTextFormat(Qt::PlainText);
    auto* detailsLayout = new QVBoxLayout(detailsPanel_);
    detailsLayout->setContentsMargins(6, 4, 6, 4);
    detailsLayout->addWidget(prayerTitleLabel_);
    detailsLayout->addWidget(prayerDetailsLabel_);
    prayerJournalLabel_ = new QLabel(detailsPanel_);
    prayerJournalLabel_->setObjectName(QStringLiteral("prayerJournalLabel"));
    prayerJournalLabel_->setFont(verdanaPixels(11, false, true));
    prayerJournalLabel_->setTextFormat(Qt::PlainText);
    prayerJournalLabel_->setWordWrap(true);
    prayerJournalLabel_->hide();
    detailsLayout->addWidget(prayerJournalLabel_);

    textEdit_ = new QTextEdit(lower);
    textEdit_->setObjectName(QStringLiteral("textEdit"));
    textEdit_->setAccessibleName(tr("Prayer Text"));
    textEdit_->setReadOnly(true);
    textEdit_->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    // Keyboard selection without the caret that would suggest typing.
    textEdit_->setCursorWidth(0);
    textEdit_->document()->setDocumentMargin(5);
    auto* lowerLayout = new QVBoxLayout(lower);
    lowerLayout->setContentsMargins(0, 0, 0, 0);
    lowerLayout->setSpacing(0);
    lowerLayout->addWidget(detailsPanel_);
    lowerLayout->addWidget(textEdit_, 1);
    splitter_->addWidget(prayerList_);
    splitter_->addWidget(lower);
    splitter_->installEventFilter(this);
    connect(splitter_, &QSplitter::splitterMoved, this, [this] {
        const QList<int> sizes = splitter_->sizes();
        const int total = sizes.value(0) + sizes.value(1);
        if (total <= 0)
            return;
        const int percent = (sizes.value(0) * 100 + total / 2) / total;
        setSplitPercent(percent);
    });

    // The text area's menu.
    copyAction_ = new QAction(tr("Copy Selected Text"), this);
    copyAction_->setObjectName(QStringLiteral("copyAction"));
    copyAction_->setShortcut(QKeySequence::Copy);
    connect(copyAction_, &QAction::triggered, textEdit_, &QTextEdit::copy);
    selectAllAction_ = new QAction(tr("Select All"), this);
    selectAllAction_->setObjectName(QStringLiteral("selectAllAction"));
    selectAllAction_->setShortcut(QKeySequence::SelectAll);
    connect(selectAllAction_, &QAction::triggered, textEdit_, &QTextEdit::selectAll);
    for (QAction* action : {copyAction_, selectAllAction_}) {
        // The text area handles these keys itself; the actions show them.
        action->setShortcutContext(Qt::WidgetShortcut);
        textEdit_->addAction(action);
    }
    contextMenu_ = new QMenu(this);
    contextMenu_->setObjectName(QStringLiteral("textContextMenu"));
    contextMenu_->addAction(copyAction_);
    contextMenu_->addAction(selectAllAction_);
    textEdit_->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(textEdit_, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& pos) { contextMenu_->exec(textEdit_->viewport()->mapToGlobal(pos)); });
    connect(textEdit_, &QTextEdit::selectionChanged, this, [this] { updateActions(); });
    connect(textEdit_, &QTextEdit::textChanged, this, [this] { updateActions(); });
    followText(textEdit_, copyAction_);

    // Item commands.
    editPrayerAction_ = new QAction(tr("Edit Prayer"), this);
    editPrayerAction_->setObjectName(QStringLiteral("editPrayerAction"));
    editPrayerAction_->setToolTip(tr("Click to edit prayer item."));
    connect(editPrayerAction_, &QAction::triggered, this, [this] {
        guarded([this] {
            const std::int32_t index = selectedPrayerIndex();
            if (index >= 0)
                editPrayerItem(index);
        });
    });
    deletePrayerAction_ = new QAction(tr("Delete Prayer"), this);
    deletePrayerAction_->setObjectName(QStringLiteral("deletePrayerAction"));
    connect(deletePrayerAction_, &QAction::triggered, this, [this] { guarded([this] { deletePrayer(); }); });
    // Del deletes the selected item wherever the focus is in the window (after
    // the editor closes it is often on the side bar), while this page shows;
    // in a text field the key stays the field's own.
    auto* deleteKey = new QShortcut(QKeySequence::Delete, this);
    deleteKey->setContext(Qt::WindowShortcut);
    connect(deleteKey, &QShortcut::activated, this, [this] {
        const QWidget* focus = QApplication::focusWidget();
        const bool inTextField = qobject_cast<const QLineEdit*>(focus) || qobject_cast<const QTextEdit*>(focus) ||
                                 qobject_cast<const QPlainTextEdit*>(focus) ||
                                 qobject_cast<const QAbstractSpinBox*>(focus);
        if (!inTextField && deletePrayerAction_->isEnabled())
            deletePrayerAction_->trigger();
    });

    prayerStatusAction_ = new QAction(tr("Prayer Status:"), this);
    prayerStatusAction_->setObjectName(QStringLiteral("prayerStatusAction"));
    prayerStatusAction_->setToolTip(tr("Click to change prayer status."));
    struct StatusCommand {
        QAction*& action;
        const char* name;
        const char* caption;
        PrayerStatus status;
    };
    const StatusCommand statusCommands[] = {
        {setStatusActiveAction_, "setStatusActiveAction", QT_TR_NOOP("Active Prayer"), PrayerStatus::Active},
        {setStatusAnsweredAction_, "setStatusAnsweredAction", QT_TR_NOOP("Answered Prayer"), PrayerStatus::Answered},
        {setStatusInactiveAction_, "setStatusInactiveAction", QT_TR_NOOP("Inactive Prayer"), PrayerStatus::Inactive},
    };
    statusMenu_ = new QMenu(this);
    statusMenu_->setObjectName(QStringLiteral("statusMenu"));
    for (const StatusCommand& c : statusCommands) {
        c.action = new QAction(tr(c.caption), this);
        c.action->setObjectName(QString::fromLatin1(c.name));
        c.action->setCheckable(true);
        const PrayerStatus status = c.status;
        connect(c.action, &QAction::triggered, this, [this, status] { guarded([this, status] { setStatus(status); }); });
        statusMenu_->addAction(c.action);
    }

    // Buttons along the bottom.
    // The status button drops the menu down; its caption and enabling follow
    // prayerStatusAction_.
    statusButton_ = new QPushButton(prayerStatusAction_->text(), this);
    statusButton_->setObjectName(QStringLiteral("statusButton"));
    statusButton_->setMenu(statusMenu_);
    statusButton_->setToolTip(prayerStatusAction_->toolTip());
    connect(prayerStatusAction_, &QAction::changed, statusButton_, [this] {
        statusButton_->setText(prayerStatusAction_->text());
        statusButton_->setEnabled(prayerStatusAction_->isEnabled());
    });
    deletePrayerButton_ = new QPushButton(tr("Delete Prayer"), this);
    deletePrayerButton_->setObjectName(QStringLiteral("deletePrayerButton"));
    bindButton(deletePrayerButton_, deletePrayerAction_);
    editPrayerButton_ = new QPushButton(tr("Edit Prayer"), this);
    editPrayerButton_->setObjectName(QStringLiteral("editPrayerButton"));
    QFont bold = editPrayerButton_->font();
    bold.setBold(true);
    editPrayerButton_->setFont(bold);
    bindButton(editPrayerButton_, editPrayerAction_);
    auto* buttons = new ButtonRow;
    buttons->setContentsMargins(4, 0, 4, 0);
    buttons->addWidget(statusButton_);
    buttons->addStretch(1);
    buttons->addWidget(deletePrayerButton_);
    buttons->addWidget(editPrayerButton_);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 4);
    layout->addWidget(heading);
    layout->addWidget(statusTabs_);
    layout->addWidget(searchEdit_);
    layout->addWidget(splitter_, 1);
    layout->addLayout(buttons);

    setSplitPercent(splitPercent_);
    updateActions();
}

void PrayerTrackerPage::initPrayers(PrayerStore& store, PrayerFilter filter, std::int32_t key)
{
    if (!prefs_)
        throw Exception("Preferences not yet assigned on InitPrayers");
    clearText();
    for (int tab = 0; tab < kTabCount; ++tab) {
        if (filter == kTabFilters[tab]) {
            // Setting the tab must not start another refill.
            const QSignalBlocker block(statusTabs_);
            statusTabs_->setCurrentIndex(tab);
        }
    }

    int chosen = -1;          // list row
    std::size_t chosenRec = 0; // its listing position
    int firstRow = -1;         // the first item row
    {
        const QSignalBlocker block(prayerList_);
        prayerList_->setUpdatesEnabled(false);
        prayerList_->clear();
        listing_.clear();
        // On the Answered tab every row says when it was answered.
        std::map<std::int32_t, PrayerAnswer> answers;
        try {
            // A file from before the search index gets it on first use.
            ensureSearchIndex(store, this);
            listing_ = store.prayerHeadersMatching(filter, toBytes(searchEdit_->text()));
            if (filter != PrayerStatus::Active && filter != PrayerStatus::Inactive)
                answers = store.answers();
        } catch (...) {
            prayerList_->setUpdatesEnabled(true);
            showPrayerDates(store, -1);
            updateActions();
            throw;
        }
        filter_ = filter;

        QFont groupFont = prayerList_->font();
        groupFont.setFamilies({QStringLiteral("Verdana")});
        groupFont.setBold(true);
        // The caption colours, the background a shade darker than the
        // selection colour so a selected item row never looks like a group.
        const QBrush groupBack(toQColor(kActiveCaptionColor).darker(135));
        const QBrush groupText(toQColor(kCaptionTextColor));
        const bool answeredTab = filter == PrayerStatus::Answered;
        const bool everyTab = !filter.has_value();
        const sys_days today = shell_.clock().today();
        std::string previousTopic;
        for (std::size_t i = 0; i < listing_.size(); ++i) {
            const PrayerHeader& rec = listing_[i];
            if (rec.prayerTopic != previousTopic) {
                const QString topic = fromBytes(rec.prayerTopic);
                auto* group = new QListWidgetItem(topic);
                group->setData(kStorageRole, QString::fromLatin1(kGroupPrefix) + topic);
                group->setFont(groupFont);
                group->setBackground(groupBack);
                group->setForeground(groupText);
                prayerList_->addItem(group);
                previousTopic = rec.prayerTopic;
            }
            const QString title = fromBytes(rec.prayerTitle);
            auto* item = new QListWidgetItem(title);
            item->setData(kStorageRole, u'\t' + title);
            item->setData(kRecordRole, static_cast<int>(i));
            // The Answered tab says when each item was answered; the tab of
            // every item says the status of each (and when an answered one was).
            const bool answered = rec.prayerStatus == PrayerStatus::Answered;
            if (answeredTab || (everyTab && answered)) {
                const auto answer = answers.find(rec.prayerIndex);
                item->setData(kAnsweredRole, answer == answers.end()
                                                 ? tr("answered (date not recorded)")
                                                 : tr("answered %1").arg(journalDateText(answer->second.answeredTime,
                                                                                          today)));
            } else if (everyTab) {
                item->setData(kAnsweredRole, statusText(rec.prayerStatus).toLower());
            }
            prayerList_->addItem(item);
            if (rec.prayerIndex == key || (chosen < 0 && key == -1)) {
                chosen = prayerList_->count() - 1;
                chosenRec = i;
            }
            if (firstRow < 0)
                firstRow = prayerList_->count() - 1;
        }
        // A search keeps the item shown while it matches, else the first.
        if (chosen < 0 && firstRow >= 0 && firstIfMissing_) {
            chosen = firstRow;
            chosenRec = 0;
        }
        if (chosen >= 0)
            prayerList_->setCurrentRow(chosen);
        // A search that finds nothing says so, instead of an empty list.
        if (listing_.empty() && !searchEdit_->text().trimmed().isEmpty()) {
            auto* none = new QListWidgetItem(
                tr("No prayer item matches \"%1\".").arg(plainUserText(searchEdit_->text().trimmed())));
            none->setFlags(Qt::NoItemFlags);
            prayerList_->addItem(none);
        }
        prayerList_->setUpdatesEnabled(true);
    }

    if (chosen < 0) {
        clearText();
        showPrayerDates(store, -1);
    } else {
        prayerList_->scrollToItem(prayerList_->item(chosen));
        showPrayerItem(store, listing_[chosenRec].prayerIndex);
    }
    updateActions();
}

void PrayerTrackerPage::assignPreferences(Preferences& prefs)
{
    prefs_ = &prefs;
    applyDisplayBackground(*textEdit_, prefs);
    applyDisplayFont(*textEdit_, prefs);
    setSplitPercent(prefs.splitPercent);
}

int PrayerTrackerPage::splitPercent() const
{
    return splitPercent_;
}

void PrayerTrackerPage::setSplitPercent(int percent)
{
    splitPercent_ = std::clamp(percent, kMinSplit, kMaxSplit);
    applySplit();
}

void PrayerTrackerPage::applySplit()
{
    const int total = splitter_->height() - splitter_->handleWidth();
    if (total <= 0) {
        // Not laid out yet: the proportion is kept until it is.
        splitter_->setSizes({splitPercent_ * 10, (100 - splitPercent_) * 10});
        return;
    }
    const int upper = (total * splitPercent_ + 50) / 100;
    splitter_->setSizes({upper, total - upper});
}

std::int32_t PrayerTrackerPage::selectedPrayerIndex() const
{
    if (!isVisible() || shell_.currentPage() != Page::PrayerTracker)
        return -1;
    const PrayerHeader* rec = selectedRecord();
    return rec ? rec->prayerIndex : -1;
}

const PrayerHeader* PrayerTrackerPage::recordOf(const QListWidgetItem* item) const
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

const PrayerHeader* PrayerTrackerPage::selectedRecord() const
{
    QListWidgetItem* item = prayerList_->currentItem();
    if (!item || !item->isSelected())
        return nullptr;
    return recordOf(item);
}

void PrayerTrackerPage::printWhole(QPrinter& printer)
{
    textEdit_->print(&printer);
}

QString PrayerTrackerPage::printTitle() const
{
    const PrayerHeader* item = selectedRecord();
    return item ? fromBytes(item->prayerTitle) : tr("Prayer Journal");
}

void PrayerTrackerPage::updateActions()
{
    const std::int32_t index = selectedPrayerIndex();
    const PrayerHeader* rec = index >= 0 ? selectedRecord() : nullptr;
    const bool enabled = rec != nullptr;
    for (QAction* action : {editPrayerAction_, deletePrayerAction_, prayerStatusAction_, setStatusActiveAction_,
                            setStatusAnsweredAction_, setStatusInactiveAction_})
        action->setEnabled(enabled);
    const StoredStatus status = rec ? rec->prayerStatus : StoredStatus();
    prayerStatusAction_->setText(enabled ? tr("Prayer Status: %1").arg(statusText(status))
                                        : tr("Prayer Status:"));
    setStatusActiveAction_->setChecked(status == PrayerStatus::Active);
    setStatusAnsweredAction_->setChecked(status == PrayerStatus::Answered);
    setStatusInactiveAction_->setChecked(status == PrayerStatus::Inactive);
    copyAction_->setEnabled(textEdit_->textCursor().hasSelection());
    selectAllAction_->setEnabled(!textEdit_->document()->isEmpty());
}

void PrayerTrackerPage::onTabChanged(int index)
{
    if (!isTab(index))
        return;
    guarded([this, index] { initPrayers(shell_.prayerStore(), kTabFilters[index], -1); });
}

void PrayerTrackerPage::onPrayerClicked()
{
    QListWidgetItem* item = prayerList_->currentItem();
    if (!item || !item->isSelected()) {
        updateActions();
        return;
    }
    if (const PrayerHeader* rec = recordOf(item)) {
        showPrayerItem(shell_.prayerStore(), rec->prayerIndex);
    } else {
        clearText();
        showPrayerDates(shell_.prayerStore(), -1);
    }
    updateActions();
}

void PrayerTrackerPage::onPrayerDoubleClicked()
{
    const PrayerHeader* rec = selectedRecord();
    if (rec)
        editPrayerItem(rec->prayerIndex);
}

void PrayerTrackerPage::showPrayerItem(PrayerStore& store, std::int32_t prayerIndex)
{
    clearText();
    applyDisplayBackground(*textEdit_, *prefs_);
    const std::string bytes = store.prayerText(prayerIndex);
    if (!bytes.empty()) {
        readRtf(QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size())), *textEdit_->document());
    } else {
        QTextCursor cursor(textEdit_->document());
        cursor.setCharFormat(QTextCharFormat());
        cursor.insertText(tr(kNoText));
    }
    applyDisplayFont(*textEdit_, *prefs_);
    textEdit_->moveCursor(QTextCursor::Start);
    highlightWords(*textEdit_, searchEdit_->text());
    showPrayerDates(store, prayerIndex);
}

void PrayerTrackerPage::showPrayerDates(PrayerStore& store, std::int32_t prayerIndex)
{
    if (prayerIndex == -1) {
        prayerTitleLabel_->setText(tr(kNoSelection));
        prayerDetailsLabel_->clear();
        showJournal(store, -1);
        return;
    }
    prayerTitleLabel_->setText(fromBytes(store.prayerTitle(prayerIndex)));
    prayerDetailsLabel_->setText(tr("Created: %1; Last Edited: %2.")
                                    .arg(shortDateText(dayOf(store.createTime(prayerIndex))),
                                         shortDateTimeText(store.lastEditTime(prayerIndex))));
    showJournal(store, prayerIndex);
}

void PrayerTrackerPage::showJournal(PrayerStore& store, std::int32_t prayerIndex)
{
    QStringList lines;
    if (prayerIndex != -1) {
        const sys_days today = shell_.clock().today();
        // The answer shows only while the item is answered; going back to
        // Active keeps the record for a later answer.
        if (store.prayerStatus(prayerIndex) == PrayerStatus::Answered) {
            const std::optional<PrayerAnswer> answer = store.answer(prayerIndex);
            if (!answer)
                lines << tr("answered (date not recorded)");
            else if (answer->answerNote.empty())
                lines << tr("Answered %1.").arg(journalDateText(answer->answeredTime, today));
            else
                lines << tr("Answered %1: %2")
                             .arg(journalDateText(answer->answeredTime, today), fromBytes(answer->answerNote));
        }
        if (const std::optional<PrayerNote> note = store.latestNote(prayerIndex))
            lines << tr("Latest note, %1").arg(noteLine(*note, today));
    }
    prayerJournalLabel_->setText(lines.join(u'\n'));
    prayerJournalLabel_->setVisible(!lines.isEmpty());
}

void PrayerTrackerPage::clearSearch()
{
    const QSignalBlocker block(searchEdit_);
    searchEdit_->clear();
    textEdit_->setExtraSelections({});
}

void PrayerTrackerPage::onSearchChanged()
{
    const PrayerHeader* rec = selectedRecord();
    const std::int32_t shown = rec ? rec->prayerIndex : -1;
    // The item shown before stays selected while it still matches; otherwise
    // the first match is.
    firstIfMissing_ = true;
    try {
        initPrayers(shell_.prayerStore(), filter_, shown);
    } catch (...) {
        firstIfMissing_ = false;
        throw;
    }
    firstIfMissing_ = false;
}

void PrayerTrackerPage::clearText()
{
    textEdit_->clear();
}

void PrayerTrackerPage::editPrayerItem(std::int32_t prayerIndex)
{
    if (!prefs_)
        throw Exception("Preferences not yet assigned on InitPrayers");
    editor_().editPrayer(shell_.prayerStore(), prayerIndex, false, *prefs_);
    initPrayers(shell_.prayerStore(), filter_, prayerIndex);
}

void PrayerTrackerPage::setStatus(PrayerStatus status)
{
    const std::int32_t index = selectedPrayerIndex();
    if (index < 0)
        return;
    PrayerStore& store = shell_.prayerStore();
    if (store.prayerStatus(index) == status) {
        updateActions(); // the menu entry toggled its own tick; put it back
        return;
    }
    if (status == PrayerStatus::Answered) {
        // The date proposed is today, or the date recorded when the item was
        // answered before, which the reader may have corrected; the reader
        // may change it, within the item's life. The note is optional, so
        // Cancel still records the answer, without one.
        const std::optional<PrayerAnswer> before = store.answer(index);
        const sys_days today = shell_.clock().today();
        PrayerAnsweredDialog dialog(before ? before->answeredTime : today,
                                    before ? fromBytes(before->answerNote) : QString(),
                                    dayOf(store.createTime(index)), today, window());
        const sys_days proposed = dialog.date();
        const bool accepted = runAnswerDialog(dialog);
        const QString note = accepted ? dialog.note() : QString();
        store.setPrayerStatus(index, status,
                              PrayerAnswer{accepted ? dialog.date() : proposed, toBytes(note.trimmed())});
    } else {
        store.setPrayerStatus(index, status);
    }
    // The tab of every item stays on it; a status tab follows the item.
    const int tab = statusTabs_->currentIndex();
    const bool everyItem = isTab(tab) && !kTabFilters[tab];
    initPrayers(store, everyItem ? PrayerFilter() : PrayerFilter(status), index);
}

void PrayerTrackerPage::deletePrayer()
{
    const std::int32_t index = selectedPrayerIndex();
    if (index < 0)
        return;
    PrayerStore& store = shell_.prayerStore();
    const QString question = tr("Are you sure you wish to permenantly delete prayer item \"%1?\"")
                                 .arg(plainUserText(fromBytes(store.prayerTitle(index))));
    if (!shell_.dialogs().confirm(question))
        return;
    store.deletePrayer(index);
    initPrayers(store, filter_, -1);
}

void PrayerTrackerPage::guarded(const std::function<void()>& body)
{
    runGuarded(shell_.dialogs(), body);
}

void PrayerTrackerPage::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    updateActions();
}

void PrayerTrackerPage::hideEvent(QHideEvent* event)
{
    QWidget::hideEvent(event);
    updateActions();
}

bool PrayerTrackerPage::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == splitter_ && event->type() == QEvent::Resize) {
        applySplit();
    } else if (watched == searchEdit_ && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Escape && !searchEdit_->text().isEmpty()) {
            searchEdit_->clear();
            return true;
        }
        if (key == Qt::Key_Down) {
            prayerList_->setFocus();
            return true;
        }
    } else if (watched == prayerList_ && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            guarded([this] { onPrayerDoubleClicked(); });
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace kovara::ui
