#include "ui/prayer/prayer_tracker_page.h"
#include "ui/base/core_names.h"

#include "core/app/preferences.h"
#include "core/base/exception.h"
#include "ui/base/button_row.h"
#include "ui/base/error_guard.h"
#include "ui/prayer/prayer_editor.h"
#include "ui/base/dates.h"
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

const char* const PrayerTrackerPage::kTabFilters[4] = {kPrayerActive, kPrayerAnswered, kPrayerInactive,
                                                             kPrayerFilterAny};

namespace {

constexpr int kTabCount = static_cast<int>(std::size(PrayerTrackerPage::kTabFilters));

// The filter of tab, or nothing for a position outside the tabs.
const char* tabFilter(int tab)
{
    return tab >= 0 && tab < kTabCount ? PrayerTrackerPage::kTabFilters[tab] : nullptr;
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
QString statusText(const std::string& status)
{
    if (status == kPrayerActive || status == kPrayerAnswered || status == kPrayerInactive)
        return QCoreApplication::translate("kovara::ui::PrayerTrackerPage", status.c_str());
    return fromBytes(status);
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
    : QWidget(parent), shell_(shell), editor_(editor)
{
    setObjectName(QStringLiteral("prayerTrackerPage"));

    // Heading strip and tabs.
    auto* heading = new QFrame(this);
    heading->setFrameShape(QFrame::StyledPanel);
    headingLabel = new QLabel(tr("Prayer Tracker"), heading);
    headingLabel->setFont(verdanaPixels(16, true, true));
    auto* headingLayout = new QHBoxLayout(heading);
    headingLayout->addWidget(headingLabel);

    statusTabs = new QTabBar(this);
    statusTabs->setObjectName(QStringLiteral("statusTabs"));
    for (const QString& caption : {tr("Active"), tr("Answered"), tr("Inactive"), tr("All")})
        statusTabs->addTab(caption);
    statusTabs->setDrawBase(false);
    statusTabs->setStyleSheet(QStringLiteral("QTabBar::tab:selected { font-weight: bold; }"));
    connect(statusTabs, &QTabBar::currentChanged, this, [this](int index) { onTabChanged(index); });

    searchEdit = new QLineEdit(this);
    searchEdit->setObjectName(QStringLiteral("searchEdit"));
    searchEdit->setAccessibleName(tr("Search Prayers"));
    searchEdit->setPlaceholderText(tr("Search titles, topics, text and notes (Ctrl+F)"));
    searchEdit->setClearButtonEnabled(true);
    searchEdit->installEventFilter(this);
    connect(searchEdit, &QLineEdit::textChanged, this, [this] { guarded([this] { onSearchChanged(); }); });
    auto* searchKey = new QShortcut(QKeySequence::Find, this);
    searchKey->setContext(Qt::WindowShortcut);
    connect(searchKey, &QShortcut::activated, this, [this] {
        if (!isVisible())
            return;
        searchEdit->setFocus(Qt::ShortcutFocusReason);
        searchEdit->selectAll();
    });

    // Upper pane: the grouped list.
    splitter = new QSplitter(Qt::Vertical, this);
    splitter->setObjectName(QStringLiteral("splitter"));
    splitter->setHandleWidth(5);
    splitter->setChildrenCollapsible(false);
    prayerList = new PrayerListWidget(splitter);
    prayerList->setObjectName(QStringLiteral("prayerList"));
    prayerList->setAccessibleName(tr("Prayer Items"));
    prayerList->setUniformItemSizes(true);
    prayerList->setSelectionMode(QAbstractItemView::SingleSelection);
    prayerList->setItemDelegate(new PrayerRowDelegate(prayerList));
    prayerList->installEventFilter(this);
    connect(prayerList, &QListWidget::itemSelectionChanged, this, [this] { guarded([this] { onPrayerClicked(); }); });
    connect(prayerList, &QListWidget::itemDoubleClicked, this,
            [this] { guarded([this] { onPrayerDoubleClicked(); }); });

    // Lower pane: title, dates and the text.
    auto* lower = new QWidget(splitter);
    detailsPanel = new QFrame(lower);
    detailsPanel->setFrameShape(QFrame::StyledPanel);
    prayerTitleLabel = new QLabel(tr(kNoSelection), detailsPanel);
    prayerTitleLabel->setObjectName(QStringLiteral("prayerTitleLabel"));
    prayerTitleLabel->setFont(verdanaPixels(12, true));
    prayerTitleLabel->setTextFormat(Qt::PlainText);
    prayerDetailsLabel = new QLabel(detailsPanel);
    prayerDetailsLabel->setObjectName(QStringLiteral("prayerDetailsLabel"));
    prayerDetailsLabel->setFont(verdanaPixels(11, false));
    prayerDetailsLabel->setTextFormat(Qt::PlainText);
    auto* detailsLayout = new QVBoxLayout(detailsPanel);
    detailsLayout->setContentsMargins(6, 4, 6, 4);
    detailsLayout->addWidget(prayerTitleLabel);
    detailsLayout->addWidget(prayerDetailsLabel);
    prayerJournalLabel = new QLabel(detailsPanel);
    prayerJournalLabel->setObjectName(QStringLiteral("prayerJournalLabel"));
    prayerJournalLabel->setFont(verdanaPixels(11, false, true));
    prayerJournalLabel->setTextFormat(Qt::PlainText);
    prayerJournalLabel->setWordWrap(true);
    prayerJournalLabel->hide();
    detailsLayout->addWidget(prayerJournalLabel);

    textEdit = new QTextEdit(lower);
    textEdit->setObjectName(QStringLiteral("textEdit"));
    textEdit->setAccessibleName(tr("Prayer Text"));
    textEdit->setReadOnly(true);
    textEdit->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    // Keyboard selection without the caret that would suggest typing.
    textEdit->setCursorWidth(0);
    textEdit->document()->setDocumentMargin(5);
    auto* lowerLayout = new QVBoxLayout(lower);
    lowerLayout->setContentsMargins(0, 0, 0, 0);
    lowerLayout->setSpacing(0);
    lowerLayout->addWidget(detailsPanel);
    lowerLayout->addWidget(textEdit, 1);
    splitter->addWidget(prayerList);
    splitter->addWidget(lower);
    splitter->installEventFilter(this);
    connect(splitter, &QSplitter::splitterMoved, this, [this] {
        const QList<int> sizes = splitter->sizes();
        const int total = sizes.value(0) + sizes.value(1);
        if (total <= 0)
            return;
        const int percent = (sizes.value(0) * 100 + total / 2) / total;
        setSplitPercent(percent);
    });

    // The text area's menu.
    copyAction = new QAction(tr("Copy Selected Text"), this);
    copyAction->setObjectName(QStringLiteral("copyAction"));
    copyAction->setShortcut(QKeySequence::Copy);
    connect(copyAction, &QAction::triggered, textEdit, &QTextEdit::copy);
    selectAllAction = new QAction(tr("Select All"), this);
    selectAllAction->setObjectName(QStringLiteral("selectAllAction"));
    selectAllAction->setShortcut(QKeySequence::SelectAll);
    connect(selectAllAction, &QAction::triggered, textEdit, &QTextEdit::selectAll);
    for (QAction* action : {copyAction, selectAllAction}) {
        // The text area handles these keys itself; the actions show them.
        action->setShortcutContext(Qt::WidgetShortcut);
        textEdit->addAction(action);
    }
    contextMenu = new QMenu(this);
    contextMenu->addAction(copyAction);
    contextMenu->addAction(selectAllAction);
    textEdit->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(textEdit, &QWidget::customContextMenuRequested, this,
            [this](const QPoint& pos) { contextMenu->exec(textEdit->viewport()->mapToGlobal(pos)); });
    connect(textEdit, &QTextEdit::selectionChanged, this, [this] { updateActions(); });
    connect(textEdit, &QTextEdit::textChanged, this, [this] { updateActions(); });

    // Item commands.
    editPrayerAction = new QAction(tr("Edit Prayer"), this);
    editPrayerAction->setObjectName(QStringLiteral("editPrayerAction"));
    editPrayerAction->setToolTip(tr("Click to edit prayer item."));
    connect(editPrayerAction, &QAction::triggered, this, [this] {
        guarded([this] {
            const std::int32_t index = getSelectedPrayerIndex();
            if (index >= 0)
                editPrayerItem(index);
        });
    });
    deletePrayerAction = new QAction(tr("Delete Prayer"), this);
    deletePrayerAction->setObjectName(QStringLiteral("deletePrayerAction"));
    connect(deletePrayerAction, &QAction::triggered, this, [this] { guarded([this] { deletePrayer(); }); });
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
        if (!inTextField && deletePrayerAction->isEnabled())
            deletePrayerAction->trigger();
    });

    prayerStatusAction = new QAction(tr("Prayer Status:"), this);
    prayerStatusAction->setObjectName(QStringLiteral("prayerStatusAction"));
    prayerStatusAction->setToolTip(tr("Click to change prayer status."));
    struct StatusCommand {
        QAction*& action;
        const char* name;
        const char* caption;
        const char* status;
    };
    const StatusCommand statusCommands[] = {
        {setStatusActiveAction, "setStatusActiveAction", QT_TR_NOOP("Active Prayer"), kPrayerActive},
        {setStatusAnsweredAction, "setStatusAnsweredAction", QT_TR_NOOP("Answered Prayer"), kPrayerAnswered},
        {setStatusInactiveAction, "setStatusInactiveAction", QT_TR_NOOP("Inactive Prayer"), kPrayerInactive},
    };
    statusMenu = new QMenu(this);
    statusMenu->setObjectName(QStringLiteral("statusMenu"));
    for (const StatusCommand& c : statusCommands) {
        c.action = new QAction(tr(c.caption), this);
        c.action->setObjectName(QString::fromLatin1(c.name));
        c.action->setCheckable(true);
        const char* status = c.status;
        connect(c.action, &QAction::triggered, this, [this, status] { guarded([this, status] { setStatus(status); }); });
        statusMenu->addAction(c.action);
    }

    // Buttons along the bottom.
    // The status button drops the menu down; its caption and enabling follow
    // prayerStatusAction.
    statusButton = new QPushButton(prayerStatusAction->text(), this);
    statusButton->setObjectName(QStringLiteral("statusButton"));
    statusButton->setMenu(statusMenu);
    statusButton->setToolTip(prayerStatusAction->toolTip());
    connect(prayerStatusAction, &QAction::changed, statusButton, [this] {
        statusButton->setText(prayerStatusAction->text());
        statusButton->setEnabled(prayerStatusAction->isEnabled());
    });
    deletePrayerButton = new QPushButton(tr("Delete Prayer"), this);
    deletePrayerButton->setObjectName(QStringLiteral("deletePrayerButton"));
    bindButton(deletePrayerButton, deletePrayerAction);
    editPrayerButton = new QPushButton(tr("Edit Prayer"), this);
    editPrayerButton->setObjectName(QStringLiteral("editPrayerButton"));
    QFont bold = editPrayerButton->font();
    bold.setBold(true);
    editPrayerButton->setFont(bold);
    bindButton(editPrayerButton, editPrayerAction);
    auto* buttons = new ButtonRow;
    buttons->setContentsMargins(4, 0, 4, 0);
    buttons->addWidget(statusButton);
    buttons->addStretch(1);
    buttons->addWidget(deletePrayerButton);
    buttons->addWidget(editPrayerButton);

    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 4);
    layout->addWidget(heading);
    layout->addWidget(statusTabs);
    layout->addWidget(searchEdit);
    layout->addWidget(splitter, 1);
    layout->addLayout(buttons);

    setSplitPercent(splitPercent_);
    updateActions();
}

void PrayerTrackerPage::initPrayers(PrayerStore& store, const std::string& filter, std::int32_t key)
{
    if (!prefs_)
        throw Exception("Preferences not yet assigned on InitPrayers");
    clearText();
    for (int tab = 0; tab < kTabCount; ++tab) {
        if (filter == kTabFilters[tab]) {
            // Setting the tab must not start another refill.
            const QSignalBlocker block(statusTabs);
            statusTabs->setCurrentIndex(tab);
        }
    }

    int chosen = -1;          // list row
    std::size_t chosenRec = 0; // its listing position
    int firstRow = -1;         // the first item row
    {
        const QSignalBlocker block(prayerList);
        prayerList->setUpdatesEnabled(false);
        prayerList->clear();
        listing_.clear();
        // On the Answered tab every row says when it was answered.
        std::map<std::int32_t, PrayerAnswer> answers;
        try {
            // A file from before the search index gets it on first use.
            ensureSearchIndex(store, this);
            listing_ = store.getPrayerHeadersMatching(filter, toBytes(searchEdit->text()));
            if (filter == kPrayerAnswered)
                answers = store.getAnswers();
        } catch (...) {
            prayerList->setUpdatesEnabled(true);
            showPrayerDates(store, -1);
            updateActions();
            throw;
        }
        filter_ = filter;

        QFont groupFont = prayerList->font();
        groupFont.setFamilies({QStringLiteral("Verdana")});
        groupFont.setBold(true);
        // The caption colours, the background a shade darker than the
        // selection colour so a selected item row never looks like a group.
        const QBrush groupBack(toQColor(systemColor(2)).darker(135));
        const QBrush groupText(toQColor(systemColor(9)));
        const bool answeredTab = filter == kPrayerAnswered;
        const DateTime today = shell_.clock().today();
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
                prayerList->addItem(group);
                previousTopic = rec.prayerTopic;
            }
            const QString title = fromBytes(rec.prayerTitle);
            auto* item = new QListWidgetItem(title);
            item->setData(kStorageRole, u'\t' + title);
            item->setData(kRecordRole, static_cast<int>(i));
            if (answeredTab) {
                const auto answer = answers.find(rec.prayerIndex);
                item->setData(kAnsweredRole, answer == answers.end()
                                                 ? tr("answered (date not recorded)")
                                                 : tr("answered %1").arg(journalDateText(answer->second.answeredTime,
                                                                                          today)));
            }
            prayerList->addItem(item);
            if (rec.prayerIndex == key || (chosen < 0 && key == -1)) {
                chosen = prayerList->count() - 1;
                chosenRec = i;
            }
            if (firstRow < 0)
                firstRow = prayerList->count() - 1;
        }
        // A search keeps the item shown while it matches, else the first.
        if (chosen < 0 && firstRow >= 0 && firstIfMissing_) {
            chosen = firstRow;
            chosenRec = 0;
        }
        if (chosen >= 0)
            prayerList->setCurrentRow(chosen);
        prayerList->setUpdatesEnabled(true);
    }

    if (chosen < 0) {
        clearText();
        showPrayerDates(store, -1);
    } else {
        prayerList->scrollToItem(prayerList->item(chosen));
        showPrayerItem(store, listing_[chosenRec].prayerIndex);
    }
    updateActions();
}

void PrayerTrackerPage::assignPreferences(Preferences& prefs)
{
    prefs_ = &prefs;
    applyDisplayBackground(*textEdit, prefs);
    applyDisplayFont(*textEdit, prefs);
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
    const int total = splitter->height() - splitter->handleWidth();
    if (total <= 0) {
        // Not laid out yet: the proportion is kept until it is.
        splitter->setSizes({splitPercent_ * 10, (100 - splitPercent_) * 10});
        return;
    }
    const int upper = (total * splitPercent_ + 50) / 100;
    splitter->setSizes({upper, total - upper});
}

std::int32_t PrayerTrackerPage::getSelectedPrayerIndex() const
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
    QListWidgetItem* item = prayerList->currentItem();
    if (!item || !item->isSelected())
        return nullptr;
    return recordOf(item);
}

void PrayerTrackerPage::updateActions()
{
    const std::int32_t index = getSelectedPrayerIndex();
    const PrayerHeader* rec = index >= 0 ? selectedRecord() : nullptr;
    const bool enabled = rec != nullptr;
    for (QAction* action : {editPrayerAction, deletePrayerAction, prayerStatusAction, setStatusActiveAction,
                            setStatusAnsweredAction, setStatusInactiveAction})
        action->setEnabled(enabled);
    const std::string status = rec ? rec->prayerStatus : std::string();
    prayerStatusAction->setText(enabled ? tr("Prayer Status: %1").arg(statusText(status))
                                        : tr("Prayer Status:"));
    setStatusActiveAction->setChecked(status == kPrayerActive);
    setStatusAnsweredAction->setChecked(status == kPrayerAnswered);
    setStatusInactiveAction->setChecked(status == kPrayerInactive);
    copyAction->setEnabled(textEdit->textCursor().hasSelection());
    selectAllAction->setEnabled(!textEdit->document()->isEmpty());
}

void PrayerTrackerPage::onTabChanged(int index)
{
    if (!tabFilter(index))
        return;
    guarded([this, index] { initPrayers(shell_.prayerStore(), kTabFilters[index], -1); });
}

void PrayerTrackerPage::onPrayerClicked()
{
    QListWidgetItem* item = prayerList->currentItem();
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
    applyDisplayBackground(*textEdit, *prefs_);
    const std::string bytes = store.getPrayerText(prayerIndex);
    if (!bytes.empty()) {
        readRtf(QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size())), *textEdit->document());
    } else {
        QTextCursor cursor(textEdit->document());
        cursor.setCharFormat(QTextCharFormat());
        cursor.insertText(tr(kNoText));
    }
    applyDisplayFont(*textEdit, *prefs_);
    textEdit->moveCursor(QTextCursor::Start);
    highlightWords(*textEdit, searchEdit->text());
    showPrayerDates(store, prayerIndex);
}

void PrayerTrackerPage::showPrayerDates(PrayerStore& store, std::int32_t prayerIndex)
{
    if (prayerIndex == -1) {
        prayerTitleLabel->setText(tr(kNoSelection));
        prayerDetailsLabel->clear();
        showJournal(store, -1);
        return;
    }
    prayerTitleLabel->setText(fromBytes(store.getPrayerTitle(prayerIndex)));
    prayerDetailsLabel->setText(tr("Created: %1; Last Edited: %2.")
                                    .arg(shortDateText(store.getCreateTime(prayerIndex)),
                                         shortDateTimeText(store.getLastEditTime(prayerIndex))));
    showJournal(store, prayerIndex);
}

void PrayerTrackerPage::showJournal(PrayerStore& store, std::int32_t prayerIndex)
{
    QStringList lines;
    if (prayerIndex != -1) {
        const DateTime today = shell_.clock().today();
        // The answer shows only while the item is answered; going back to
        // Active keeps the record for a later answer.
        if (store.getPrayerStatus(prayerIndex) == kPrayerAnswered) {
            const std::optional<PrayerAnswer> answer = store.getAnswer(prayerIndex);
            if (!answer)
                lines << tr("answered (date not recorded)");
            else if (answer->answerNote.empty())
                lines << tr("Answered %1.").arg(journalDateText(answer->answeredTime, today));
            else
                lines << tr("Answered %1: %2")
                             .arg(journalDateText(answer->answeredTime, today), fromBytes(answer->answerNote));
        }
        if (const std::optional<PrayerNote> note = store.getLatestNote(prayerIndex))
            lines << tr("Latest note, %1").arg(noteLine(*note, today));
    }
    prayerJournalLabel->setText(lines.join(u'\n'));
    prayerJournalLabel->setVisible(!lines.isEmpty());
}

void PrayerTrackerPage::clearSearch()
{
    const QSignalBlocker block(searchEdit);
    searchEdit->clear();
    textEdit->setExtraSelections({});
}

void PrayerTrackerPage::onSearchChanged()
{
    const PrayerHeader* rec = selectedRecord();
    const std::int32_t shown = rec ? rec->prayerIndex : -1;
    const std::string filter = filter_.empty() ? std::string(kPrayerFilterAny) : filter_;
    // The item shown before stays selected while it still matches; otherwise
    // the first match is.
    firstIfMissing_ = true;
    try {
        initPrayers(shell_.prayerStore(), filter, shown);
    } catch (...) {
        firstIfMissing_ = false;
        throw;
    }
    firstIfMissing_ = false;
}

void PrayerTrackerPage::clearText()
{
    textEdit->clear();
}

void PrayerTrackerPage::editPrayerItem(std::int32_t prayerIndex)
{
    if (!prefs_)
        throw Exception("Preferences not yet assigned on InitPrayers");
    editor_.editPrayer(shell_.prayerStore(), prayerIndex, false, *prefs_);
    initPrayers(shell_.prayerStore(), filter_, prayerIndex);
}

void PrayerTrackerPage::setStatus(const char* status)
{
    const std::int32_t index = getSelectedPrayerIndex();
    if (index < 0)
        return;
    PrayerStore& store = shell_.prayerStore();
    if (store.getPrayerStatus(index) == status) {
        updateActions(); // the menu entry toggled its own tick; put it back
        return;
    }
    if (std::string(status) == kPrayerAnswered) {
        // The date is today (the editor changes it); the note is optional, so
        // Cancel still records the answer, without one.
        const std::optional<PrayerAnswer> before = store.getAnswer(index);
        QString note = before ? fromBytes(before->answerNote) : QString();
        if (!shell_.dialogs().promptText(tr("Prayer Answered"), tr("How was it answered?"), note))
            note.clear();
        store.setPrayerStatus(index, status, PrayerAnswer{shell_.clock().today(), toBytes(note.trimmed())});
    } else {
        store.setPrayerStatus(index, status);
    }
    // The tab of every item stays on it; a status tab follows the item.
    const char* shown = tabFilter(statusTabs->currentIndex());
    const bool everyItem = shown && std::string(shown) == kPrayerFilterAny;
    initPrayers(store, everyItem ? std::string(kPrayerFilterAny) : std::string(status), index);
}

void PrayerTrackerPage::deletePrayer()
{
    const std::int32_t index = getSelectedPrayerIndex();
    if (index < 0)
        return;
    PrayerStore& store = shell_.prayerStore();
    const QString question = tr("Are you sure you wish to permenantly delete prayer item \"%1?\"")
                                 .arg(plainUserText(fromBytes(store.getPrayerTitle(index))));
    if (!shell_.dialogs().confirm(question))
        return;
    store.setPrayerStatus(index, kPrayerDeleted);
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
    if (watched == splitter && event->type() == QEvent::Resize) {
        applySplit();
    } else if (watched == searchEdit && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Escape && !searchEdit->text().isEmpty()) {
            searchEdit->clear();
            return true;
        }
        if (key == Qt::Key_Down) {
            prayerList->setFocus();
            return true;
        }
    } else if (watched == prayerList && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            guarded([this] { onPrayerDoubleClicked(); });
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace kovara::ui
