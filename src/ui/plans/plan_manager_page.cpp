#include "ui/plans/plan_manager_page.h"
#include "ui/base/core_names.h"

#include "core/base/exception.h"
#include "core/content/bible_store.h"
#include "core/plans/plan_store.h"
#include "ui/base/button_row.h"
#include "ui/base/dialogs.h"
#include "ui/base/error_guard.h"
#include "ui/base/dates.h"
#include "ui/base/shell.h"
#include "ui/base/busy_cursor.h"
#include "ui/base/text_codec.h"
#include "ui/base/user_text.h"
#include "ui/plans/plan_calendar_view.h"
#include "ui/plans/plan_progress_text.h"

#include <QAction>
#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLocale>
#include <QMenu>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <algorithm>

namespace kovara::ui {

namespace {

const char* const kNoPlansEntry =
    QT_TRANSLATE_NOOP("kovara::ui::PlanManagerPage", "No reading plans have been created. Click \"Start New Reading Plan.\"");
const char* const kMarkRangeCaption =
    QT_TRANSLATE_NOOP("kovara::ui::PlanManagerPage", "Mark all days through this day as read");
const char* const kMarkRangeDayCaption =
    QT_TRANSLATE_NOOP("kovara::ui::PlanManagerPage", "Mark all days through day %1 as read");
const char* const kResetCaption =
    QT_TRANSLATE_NOOP("kovara::ui::PlanManagerPage", "Rest plan so that this day is today");
const char* const kResetDayCaption =
    QT_TRANSLATE_NOOP("kovara::ui::PlanManagerPage", "Reset plan so that day %1 is today");
const char* const kConfirmDelete =
    QT_TRANSLATE_NOOP("kovara::ui::PlanManagerPage", "Are you absolutely certain that you wish to permanantly delete plan \"%1\"?");
const char* const kRenameCaption = QT_TRANSLATE_NOOP("kovara::ui::PlanManagerPage", "Rename Reading Plan");
const char* const kRenamePrompt = QT_TRANSLATE_NOOP("kovara::ui::PlanManagerPage", "Enter a new name for \"%1.\"");
const char* const kRenameBlank =
    QT_TRANSLATE_NOOP("kovara::ui::PlanManagerPage", "Sorry, you cannot have an blank plan name. Please specify a new plan name or cancel.");
const char* const kRenameDuplicate =
    QT_TRANSLATE_NOOP("kovara::ui::PlanManagerPage", "Sorry, there is already a plan with that name. Please specify a different plan name or cancel.");

enum Column { ColumnDay, ColumnDate, ColumnPassage };

// Restores the list's repainting when a fill ends, also by an exception.
class UpdatesSuspended {
public:
    explicit UpdatesSuspended(QWidget* widget) : widget_(widget) { widget_->setUpdatesEnabled(false); }
    ~UpdatesSuspended() { widget_->setUpdatesEnabled(true); }
    UpdatesSuspended(const UpdatesSuspended&) = delete;
    UpdatesSuspended& operator=(const UpdatesSuspended&) = delete;

private:
    QWidget* widget_;
};

Qt::CheckState checkOf(bool done)
{
    return done ? Qt::Checked : Qt::Unchecked;
}

} // namespace

PlanManagerPage::PlanManagerPage(Shell& shell, PlanViews& views, QWidget* parent)
    : ContentPage(parent), shell_(shell), views_(views)
{
    titleLabel_ = new QLabel(tr("Reading Plan Manager"), this);
    titleLabel_->setObjectName(QStringLiteral("planManagerTitle"));
    QFont titleFont = titleLabel_->font();
    titleFont.setBold(true);
    titleFont.setItalic(true);
    titleFont.setPointSizeF(titleFont.pointSizeF() + 4);
    titleLabel_->setFont(titleFont);

    planCombo_ = new QComboBox(this);
    planCombo_->setObjectName(QStringLiteral("planCombo"));
    planCombo_->setAccessibleName(tr("Reading Plan"));
    planCombo_->setEditable(false);
    planCombo_->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    planCombo_->setMinimumContentsLength(30);

    dayList_ = new QTreeWidget(this);
    dayList_->setObjectName(QStringLiteral("dayList"));
    dayList_->setAccessibleName(tr("Plan Days"));
    dayList_->setColumnCount(3);
    dayList_->setHeaderLabels({tr("Day"), tr("Date"), tr("Passage")});
    dayList_->setRootIsDecorated(false);
    // Every row has the same height, which keeps a list of tens of thousands
    // of days quick to fill and scroll.
    dayList_->setUniformRowHeights(true);
    dayList_->setSelectionMode(QAbstractItemView::SingleSelection);
    dayList_->setContextMenuPolicy(Qt::CustomContextMenu);
    // Day and Date take the width of their texts (set at each fill); the
    // passage gets the rest.
    dayList_->header()->setStretchLastSection(true);

    progressBar_ = new QProgressBar(this);
    progressBar_->setObjectName(QStringLiteral("managerProgressBar"));
    progressBar_->setAccessibleName(tr("Plan Progress"));
    progressBar_->setTextVisible(false);
    progressBar_->setFixedHeight(6);
    progressBar_->setRange(0, 100);
    progressLabel_ = new QLabel(this);
    progressLabel_->setObjectName(QStringLiteral("managerProgressLabel"));
    progressLabel_->setWordWrap(true);
    calendarView_ = new PlanCalendarView;
    calendarView_->setObjectName(QStringLiteral("planCalendar"));
    calendarArea_ = new QScrollArea(this);
    calendarArea_->setObjectName(QStringLiteral("planCalendarArea"));
    calendarArea_->setWidget(calendarView_);
    calendarArea_->setWidgetResizable(false);
    calendarArea_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    calendarArea_->setFrameShape(QFrame::NoFrame);
    calendarArea_->setFocusPolicy(Qt::NoFocus);
    calendarArea_->setFixedHeight(calendarView_->sizeHint().height() +
                                 calendarArea_->horizontalScrollBar()->sizeHint().height() + 2);
    calendarLegend_ = new QLabel(PlanCalendarView::legendHtml(palette()), this);
    calendarLegend_->setObjectName(QStringLiteral("calendarLegend"));
    calendarLegend_->setWordWrap(true); // a translation may need two lines
    calendarLegend_->setToolTip(tr("Click a day to open it; hover over it to see its passage."));
    connect(calendarView_, &PlanCalendarView::dayClicked, this, [this](int day) {
        if (!currentPlan_.isNull())
            runGuarded(shell_.dialogs(), [&] { views_.showPlanDay(currentPlan_, day); });
    });

    deletePlanButton_ = new QPushButton(tr("Delete Plan"), this);
    deletePlanButton_->setObjectName(QStringLiteral("deletePlanButton"));
    renamePlanButton_ = new QPushButton(tr("Rename Plan"), this);
    renamePlanButton_->setObjectName(QStringLiteral("renamePlanButton"));
    newPlanButton_ = new QPushButton(tr("Start New Reading Plan"), this);
    newPlanButton_->setObjectName(QStringLiteral("newPlanButton"));

    markRangeAsDoneAction_ = new QAction(tr(kMarkRangeCaption), this);
    markRangeAsDoneAction_->setObjectName(QStringLiteral("markRangeAsDoneAction"));
    resetPlanToDayAction_ = new QAction(tr(kResetCaption), this);
    resetPlanToDayAction_->setObjectName(QStringLiteral("resetPlanToDayAction"));
    dayListMenu_ = new QMenu(this);
    dayListMenu_->setObjectName(QStringLiteral("dayListMenu"));
    dayListMenu_->addAction(markRangeAsDoneAction_);
    dayListMenu_->addAction(resetPlanToDayAction_);
    markRangeAsDoneAction_->setEnabled(false);
    resetPlanToDayAction_->setEnabled(false);

    // Without plans the list's single entry is too long for one line: it shows
    // wrapped in the list's place.
    noPlansLabel_ = new QLabel(tr(kNoPlansEntry), this);
    noPlansLabel_->setObjectName(QStringLiteral("noPlansLabel"));
    noPlansLabel_->setWordWrap(true);
    noPlansLabel_->hide();
    auto* top = new QHBoxLayout;
    // The label names the box for a screen reader (on Linux a box's own name
    // is the value it shows).
    auto* planLabel = new QLabel(tr("Reading Plan:"), this);
    planLabel->setBuddy(planCombo_);
    top->addWidget(planLabel, 0, Qt::AlignTop);
    top->addWidget(planCombo_, 1);
    top->addWidget(noPlansLabel_, 1);
    // The hint stands on its own line under the list, so the buttons beside it
    // never squeeze it in a narrow window.
    auto* hint = new QLabel(tr("Right-click plan days for additional options."), this);
    hint->setObjectName(QStringLiteral("rightClickHintLabel"));
    hint->setWordWrap(true);
    auto* buttons = new ButtonRow;
    buttons->addStretch();
    buttons->addWidget(deletePlanButton_);
    buttons->addWidget(renamePlanButton_);
    buttons->addWidget(newPlanButton_);
    // Tab goes down the page: the plan, its calendar, its days.
    QWidget::setTabOrder(planCombo_, calendarView_);
    QWidget::setTabOrder(calendarView_, dayList_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(titleLabel_);
    layout->addLayout(top);
    layout->addWidget(progressBar_);
    layout->addWidget(progressLabel_);
    layout->addWidget(calendarArea_);
    layout->addWidget(calendarLegend_);
    layout->addWidget(dayList_, 1);
    layout->addWidget(hint);
    layout->addLayout(buttons);

    Dialogs& dialogs = shell_.dialogs();
    connect(planCombo_, &QComboBox::activated, this, [this, &dialogs](int index) {
        if (index >= 0 && !currentPlan_.isNull())
            runGuarded(dialogs, [&] { showPlan(index); });
    });
    dayList_->installEventFilter(this);
    connect(dayList_, &QTreeWidget::itemChanged, this, &PlanManagerPage::dayItemChanged);
    // Double click and Enter both open the day.
    connect(dayList_, &QTreeWidget::itemActivated, this,
            [this](QTreeWidgetItem* item) { dayItemDoubleClicked(item); });
    connect(dayList_, &QTreeWidget::itemSelectionChanged, this, &PlanManagerPage::updateDayActions);
    connect(dayList_, &QTreeWidget::customContextMenuRequested, this, &PlanManagerPage::showContextMenu);
    connect(markRangeAsDoneAction_, &QAction::triggered, this,
            [this, &dialogs] { runGuarded(dialogs, [this] { markRangeAsDone(); }); });
    connect(resetPlanToDayAction_, &QAction::triggered, this,
            [this, &dialogs] { runGuarded(dialogs, [this] { resetPlanToDay(); }); });
    connect(newPlanButton_, &QPushButton::clicked, this,
            [this, &dialogs] { runGuarded(dialogs, [this] { onNewPlanClicked(); }); });
    connect(deletePlanButton_, &QPushButton::clicked, this,
            [this, &dialogs] { runGuarded(dialogs, [this] { onDeletePlanClicked(); }); });
    connect(renamePlanButton_, &QPushButton::clicked, this,
            [this, &dialogs] { runGuarded(dialogs, [this] { onRenamePlanClicked(); }); });
}

PlanStore& PlanManagerPage::planStore()
{
    return shell_.planStore();
}

int PlanManagerPage::currentIndex() const
{
    return shell_.planStore().indexOf(currentPlan_).value_or(-1);
}

void PlanManagerPage::setPlans(const PlanId& wanted)
{
    PlanStore& plans = planStore();
    {
        const QSignalBlocker block(planCombo_);
        planCombo_->clear();
    }
    {
        const QSignalBlocker block(dayList_);
        dayList_->clear();
    }
    const int count = plans.planCount();
    const bool any = count > 0;
    deletePlanButton_->setEnabled(any);
    renamePlanButton_->setEnabled(any);
    planCombo_->setEnabled(any);
    planCombo_->setVisible(any);
    noPlansLabel_->setVisible(!any);
    if (!any) {
        currentPlan_ = PlanId();
        emit contentStateChanged();
        showProgress();
        const QSignalBlocker block(planCombo_);
        planCombo_->addItem(tr(kNoPlansEntry));
        planCombo_->setCurrentIndex(0);
        updateDayActions();
        return;
    }
    const int plan = plans.indexOf(wanted).value_or(0);
    {
        const QSignalBlocker block(planCombo_);
        QStringList titles;
        for (int i = 0; i < count; ++i)
            titles << fromBytes(plans.planTitle(i));
        planCombo_->addItems(titles);
        planCombo_->setCurrentIndex(plan);
    }
    showPlan(plan);
}

void PlanManagerPage::printWhole(QPrinter& printer)
{
    views_.printPlanDetails(currentPlan_, printer);
}

QString PlanManagerPage::printTitle() const
{
    const std::optional<int> plan = shell_.planStore().indexOf(currentPlan_);
    return plan ? fromBytes(shell_.planStore().planTitle(*plan)) : QString();
}

void PlanManagerPage::showPlan(int plan)
{
    PlanStore& plans = planStore();
    const BibleStore& bible = shell_.bible();
    currentPlan_ = plans.id(plan);
    emit contentStateChanged();
    const BusyCursor busy;
    const QSignalBlocker block(dayList_);
    const UpdatesSuspended suspended(dayList_);
    dayList_->clear();

    const int count = plans.dayCount(plan);
    const QLocale locale = QLocale();
    const QDate start = toQDate(dayOf(plans.startDate(plan)));
    // One read transaction for the whole fill: a 31,102-day plan otherwise
    // spends most of its time taking and dropping the file lock per lookup.
    const BibleStore::ReadSession session(bible);
    QList<QTreeWidgetItem*> items;
    items.reserve(count);
    try {
        for (int day = 1; day <= count; ++day) {
            auto* item = new QTreeWidgetItem;
            items.append(item);
            item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
            item->setText(ColumnDay, locale.toString(day));
            item->setText(ColumnDate, locale.toString(start.addDays(day - 1), QLocale::ShortFormat));
            item->setText(ColumnPassage, fromBytes(bible.referenceText(plans.dayVerses(plan, day))));
            item->setCheckState(ColumnDay, checkOf(plans.isDayDone(plan, day)));
        }
    } catch (...) {
        qDeleteAll(items);
        throw;
    }
    dayList_->addTopLevelItems(items);
    // The list measures only its first rows; the last day has the widest
    // number (and the date may be wider too), so it is measured as well.
    for (const int column : {ColumnDay, ColumnDate}) {
        dayList_->resizeColumnToContents(column);
        if (count > 0)
            dayList_->setColumnWidth(
                column, std::max(dayList_->columnWidth(column),
                                 dayList_->sizeHintForIndex(dayList_->model()->index(count - 1, column)).width()));
    }
    updateDayActions();
    showProgress();
}

void PlanManagerPage::showProgress()
{
    const bool any = !currentPlan_.isNull();
    progressBar_->setVisible(any);
    progressLabel_->setVisible(any);
    calendarArea_->setVisible(any);
    calendarLegend_->setVisible(any);
    if (!any) {
        calendarView_->clear();
        return;
    }
    const PlanStore& plans = planStore();
    const PlanRecord& rec = plans.record(currentIndex());
    const sys_days now = shell_.clock().today();
    const PlanDays days = PlanDays::of(rec);
    const PlanProgress progress = computeProgress(days, now);
    progressBar_->setValue(progress.percent);
    progressLabel_->setText(progressSummaryText(progress));
    const BibleStore& bible = shell_.bible();
    const PlanId plan = currentPlan_;
    calendarView_->setPlan(days, now, [this, plan, &bible](int day) {
        PlanStore& store = planStore();
        return fromBytes(bible.referenceText(store.dayVerses(store.indexOf(plan).value_or(-1), day)));
    });
    // Today (or the plan's first day to read) in view.
    const int today = std::clamp(progress.dueDay, 1, progress.dayCount);
    calendarArea_->ensureVisible(calendarView_->squarePosition(today).x(), 0, calendarArea_->width() / 2, 0);
}

std::optional<int> PlanManagerPage::selectedDay() const
{
    const QList<QTreeWidgetItem*> selected = dayList_->selectedItems();
    if (selected.isEmpty())
        return std::nullopt;
    return dayList_->indexOfTopLevelItem(selected.first()) + 1;
}

void PlanManagerPage::updateDayActions()
{
    const std::optional<int> day = !currentPlan_.isNull() ? selectedDay() : std::nullopt;
    markRangeAsDoneAction_->setEnabled(day.has_value());
    resetPlanToDayAction_->setEnabled(day.has_value());
    if (day) {
        markRangeAsDoneAction_->setText(tr(kMarkRangeDayCaption).arg(*day));
        resetPlanToDayAction_->setText(tr(kResetDayCaption).arg(*day));
        targetDay_ = *day;
    }
}

void PlanManagerPage::dayItemChanged(QTreeWidgetItem* item, int column)
{
    if (column != ColumnDay || currentPlan_.isNull())
        return;
    const int day = dayList_->indexOfTopLevelItem(item) + 1;
    const bool done = item->checkState(ColumnDay) == Qt::Checked;
    Dialogs& dialogs = shell_.dialogs();
    if (!runGuarded(dialogs, [&] { planStore().setDayDone(currentIndex(), day, done); })) {
        // The box shows what is stored: a failed write puts it back.
        const QSignalBlocker block(dayList_);
        item->setCheckState(ColumnDay, checkOf(!done));
        return;
    }
    runGuarded(dialogs, [this] {
        showProgress();
        views_.rebuildPlanMenus();
        views_.notifyPlansChanged(currentPlan_);
    });
}

bool PlanManagerPage::eventFilter(QObject* watched, QEvent* event)
{
    if (watched != dayList_ || event->type() != QEvent::KeyPress)
        return QWidget::eventFilter(watched, event);
    auto* key = static_cast<QKeyEvent*>(event);
    if (key->matches(QKeySequence::Copy)) {
        // The window's Copy command has nothing to copy on this page; the
        // list's own copy of the current cell would go behind its back.
        return true;
    }
    if (key->key() == Qt::Key_Space && key->modifiers() == Qt::NoModifier) {
        // The list ticks a box only when the current cell is the box's own.
        if (QTreeWidgetItem* item = dayList_->currentItem(); item && !currentPlan_.isNull())
            item->setCheckState(ColumnDay, checkOf(item->checkState(ColumnDay) != Qt::Checked));
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

void PlanManagerPage::dayItemDoubleClicked(QTreeWidgetItem* item)
{
    if (currentPlan_.isNull() || !item)
        return;
    const int day = dayList_->indexOfTopLevelItem(item) + 1;
    runGuarded(shell_.dialogs(), [&] { views_.showPlanDay(currentPlan_, day); });
}

void PlanManagerPage::showContextMenu(const QPoint& pos)
{
    updateDayActions();
    dayListMenu_->popup(dayList_->viewport()->mapToGlobal(pos));
}

void PlanManagerPage::markRangeAsDone()
{
    const int target = targetDay_;
    planStore().markDaysDoneThrough(currentIndex(), target);
    {
        const QSignalBlocker block(dayList_);
        for (int i = 0; i < target && i < dayList_->topLevelItemCount(); ++i)
            dayList_->topLevelItem(i)->setCheckState(ColumnDay, Qt::Checked);
    }
    showProgress();
    views_.rebuildPlanMenus();
    views_.notifyPlansChanged(currentPlan_);
}

void PlanManagerPage::resetPlanToDay()
{
    const int target = targetDay_;
    planStore().setStartDate(currentIndex(), startOf(shell_.clock().today() - std::chrono::days(target - 1)));
    showPlan(currentIndex());
    // Keep the chosen day in view after the refill.
    if (QTreeWidgetItem* item = dayList_->topLevelItem(target - 1)) {
        dayList_->setCurrentItem(item);
        dayList_->scrollToItem(item);
    }
    views_.rebuildPlanMenus();
    views_.notifyPlansChanged(currentPlan_);
}

void PlanManagerPage::onNewPlanClicked()
{
    views_.startNewPlan();
}

void PlanManagerPage::onDeletePlanClicked()
{
    if (currentPlan_.isNull())
        return;
    PlanStore& plans = planStore();
    const QString title = plainUserText(fromBytes(plans.planTitle(currentIndex())));
    if (!shell_.dialogs().confirm(tr(kConfirmDelete).arg(title)))
        return;
    plans.deletePlan(currentIndex());
    views_.refreshPlanViews(PlanId());
    views_.notifyPlansChanged(PlanId());
}

void PlanManagerPage::onRenamePlanClicked()
{
    if (currentPlan_.isNull())
        return;
    PlanStore& plans = planStore();
    Dialogs& dialogs = shell_.dialogs();
    const std::string old = plans.planTitle(currentIndex());
    const QString caption = tr(kRenameCaption);
    const QString prompt = tr(kRenamePrompt).arg(plainUserText(fromBytes(old)));
    std::string value = old;
    for (;;) {
        QString typed = fromBytes(value);
        if (!dialogs.promptText(caption, prompt, typed))
            return;
        value = toBytes(typed);
        if (value == old)
            return;
        value = trim(value);
        if (value.empty()) {
            dialogs.message(tr(kRenameBlank));
            continue;
        }
        if (plans.planTitleExists(value)) {
            dialogs.message(tr(kRenameDuplicate));
            continue;
        }
        break;
    }
    plans.renamePlan(currentIndex(), value);
    const PlanId renamed = currentPlan_;
    views_.refreshPlanViews(renamed);
    views_.notifyPlansChanged(renamed);
}

} // namespace kovara::ui
