#include "ui/plans/framePlanManager.h"

#include "base/exception.h"
#include "content/kova_bible.h"
#include "plans/kova_readplan.h"
#include "ui/app/dialogs.h"
#include "ui/app/error_guard.h"
#include "ui/widgets/dates.h"
#include "ui/shell.h"
#include "ui/widgets/busy_cursor.h"
#include "ui/widgets/text_codec.h"

#include <QAction>
#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLocale>
#include <QMenu>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace kovara::ui {

namespace {

const char* const kNoPlansEntry = "No reading plans have been created. Click \"Start New Reading Plan.\"";
const char* const kMarkRangeCaption = "Mark all days through this day as read";
const char* const kMarkRangeDayCaption = "Mark all days through day %d as read";
const char* const kResetCaption = "Rest plan so that this day is today";
const char* const kResetDayCaption = "Reset plan so that day %d is today";
const char* const kConfirmDelete = "Are you absolutely certain that you wish to permanantly delete plan \"%s\"?";
const char* const kRenameCaption = "Rename Reading Plan";
const char* const kRenamePrompt = "Enter a new name for \"%s.\"";
const char* const kRenameBlank = "Sorry, you cannot have an blank plan name. Please specify a new plan name or cancel.";
const char* const kRenameDuplicate =
    "Sorry, there is already a plan with that name. Please specify a different plan name or cancel.";

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

Qt::CheckState CheckOf(bool done)
{
    return done ? Qt::Checked : Qt::Unchecked;
}

} // namespace

TFrameKOVAPlanManager::TFrameKOVAPlanManager(Shell& shell, PlanViews& views, QWidget* parent)
    : QWidget(parent), shell_(shell), views_(views)
{
    LabelTitle = new QLabel(QStringLiteral("Reading Plan Manager"), this);
    QFont titleFont = LabelTitle->font();
    titleFont.setBold(true);
    titleFont.setItalic(true);
    titleFont.setPointSizeF(titleFont.pointSizeF() + 4);
    LabelTitle->setFont(titleFont);

    RzComboBoxPlan = new QComboBox(this);
    RzComboBoxPlan->setEditable(false);
    RzComboBoxPlan->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    RzComboBoxPlan->setMinimumContentsLength(30);

    RzCheckList1 = new QTreeWidget(this);
    RzCheckList1->setColumnCount(3);
    RzCheckList1->setHeaderLabels({QStringLiteral("Day"), QStringLiteral("Date"), QStringLiteral("Passage")});
    RzCheckList1->setRootIsDecorated(false);
    // Every row has the same height, which keeps a list of tens of thousands
    // of days quick to fill and scroll.
    RzCheckList1->setUniformRowHeights(true);
    RzCheckList1->setSelectionMode(QAbstractItemView::SingleSelection);
    RzCheckList1->setContextMenuPolicy(Qt::CustomContextMenu);
    RzCheckList1->header()->setStretchLastSection(true);
    RzCheckList1->setColumnWidth(ColumnDay, 90);
    RzCheckList1->setColumnWidth(ColumnDate, 120);

    ButtonDeletePlan = new QPushButton(QStringLiteral("Delete Plan"), this);
    ButtonRenamePlan = new QPushButton(QStringLiteral("Rename Plan"), this);
    ButtonNewPlan = new QPushButton(QStringLiteral("Start New Reading Plan"), this);

    ActionMarkRangeAsDone = new QAction(QString::fromUtf8(kMarkRangeCaption), this);
    ActionResetPlanToDay = new QAction(QString::fromUtf8(kResetCaption), this);
    PopupMenuPlanManager = new QMenu(this);
    PopupMenuPlanManager->addAction(ActionMarkRangeAsDone);
    PopupMenuPlanManager->addAction(ActionResetPlanToDay);
    ActionMarkRangeAsDone->setEnabled(false);
    ActionResetPlanToDay->setEnabled(false);

    auto* top = new QHBoxLayout;
    top->addWidget(new QLabel(QStringLiteral("Reading Plan:"), this));
    top->addWidget(RzComboBoxPlan, 1);
    // The hint stands on its own line under the list, so the buttons beside it
    // never squeeze it in a narrow window.
    auto* hint = new QLabel(QStringLiteral("Right-click plan days for additional options."), this);
    hint->setObjectName(QStringLiteral("LabelRightClickHint"));
    hint->setWordWrap(true);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ButtonDeletePlan);
    buttons->addWidget(ButtonRenamePlan);
    buttons->addWidget(ButtonNewPlan);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(LabelTitle);
    layout->addLayout(top);
    layout->addWidget(RzCheckList1, 1);
    layout->addWidget(hint);
    layout->addLayout(buttons);

    Dialogs& dialogs = shell_.GetDialogs();
    connect(RzComboBoxPlan, &QComboBox::activated, this, [this, &dialogs](int index) {
        if (index >= 0 && currentPlan_ >= 0)
            RunGuarded(dialogs, [&] { ShowPlan(index); });
    });
    connect(RzCheckList1, &QTreeWidget::itemChanged, this, &TFrameKOVAPlanManager::DayItemChanged);
    // Double click and Enter both open the day.
    connect(RzCheckList1, &QTreeWidget::itemActivated, this,
            [this](QTreeWidgetItem* item) { DayItemDoubleClicked(item); });
    connect(RzCheckList1, &QTreeWidget::itemSelectionChanged, this, &TFrameKOVAPlanManager::UpdateDayActions);
    connect(RzCheckList1, &QTreeWidget::customContextMenuRequested, this, &TFrameKOVAPlanManager::ShowContextMenu);
    connect(ActionMarkRangeAsDone, &QAction::triggered, this,
            [this, &dialogs] { RunGuarded(dialogs, [this] { ActionMarkRangeAsDoneExecute(); }); });
    connect(ActionResetPlanToDay, &QAction::triggered, this,
            [this, &dialogs] { RunGuarded(dialogs, [this] { ActionResetPlanToDayExecute(); }); });
    connect(ButtonNewPlan, &QPushButton::clicked, this,
            [this, &dialogs] { RunGuarded(dialogs, [this] { ButtonNewPlanClick(); }); });
    connect(ButtonDeletePlan, &QPushButton::clicked, this,
            [this, &dialogs] { RunGuarded(dialogs, [this] { ButtonDeletePlanClick(); }); });
    connect(ButtonRenamePlan, &QPushButton::clicked, this,
            [this, &dialogs] { RunGuarded(dialogs, [this] { ButtonRenamePlanClick(); }); });
}

TKOVAReadPlans& TFrameKOVAPlanManager::Plans()
{
    return shell_.ReadPlans();
}

void TFrameKOVAPlanManager::SetPlans(int plan)
{
    TKOVAReadPlans& plans = Plans();
    {
        const QSignalBlocker block(RzComboBoxPlan);
        RzComboBoxPlan->clear();
    }
    {
        const QSignalBlocker block(RzCheckList1);
        RzCheckList1->clear();
    }
    const int count = plans.GetPlanCount();
    const bool any = count > 0;
    ButtonDeletePlan->setEnabled(any);
    ButtonRenamePlan->setEnabled(any);
    RzComboBoxPlan->setEnabled(any);
    if (!any) {
        currentPlan_ = -1;
        const QSignalBlocker block(RzComboBoxPlan);
        RzComboBoxPlan->addItem(QString::fromUtf8(kNoPlansEntry));
        RzComboBoxPlan->setCurrentIndex(0);
        UpdateDayActions();
        return;
    }
    if (plan < 0 || plan >= count)
        plan = 0;
    {
        const QSignalBlocker block(RzComboBoxPlan);
        QStringList titles;
        for (int i = 0; i < count; ++i)
            titles << FromBytes(plans.GetPlanTitle(i));
        RzComboBoxPlan->addItems(titles);
        RzComboBoxPlan->setCurrentIndex(plan);
    }
    ShowPlan(plan);
}

void TFrameKOVAPlanManager::ShowPlan(int plan)
{
    TKOVAReadPlans& plans = Plans();
    const TKOVABible& bible = shell_.Bible();
    currentPlan_ = plan;
    const BusyCursor busy;
    const QSignalBlocker block(RzCheckList1);
    const UpdatesSuspended suspended(RzCheckList1);
    RzCheckList1->clear();

    const int count = plans.GetDayCount(plan);
    const QLocale locale = QLocale::system();
    const QDate start = ToQDate(plans.GetStartDate(plan));
    // One read transaction for the whole fill: a 31,102-day plan otherwise
    // spends most of its time taking and dropping the file lock per lookup.
    const TKOVABible::ReadSession session(bible);
    QList<QTreeWidgetItem*> items;
    items.reserve(count);
    try {
        for (int day = 1; day <= count; ++day) {
            auto* item = new QTreeWidgetItem;
            items.append(item);
            item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
            item->setText(ColumnDay, QString::number(day));
            item->setText(ColumnDate, locale.toString(start.addDays(day - 1), QLocale::ShortFormat));
            item->setText(ColumnPassage, FromBytes(bible.GetReferenceText(plans.GetDayVerses(plan, day))));
            item->setCheckState(ColumnDay, CheckOf(plans.IsDayDone(plan, day)));
        }
    } catch (...) {
        qDeleteAll(items);
        throw;
    }
    RzCheckList1->addTopLevelItems(items);
    UpdateDayActions();
}

int TFrameKOVAPlanManager::SelectedDay() const
{
    const QList<QTreeWidgetItem*> selected = RzCheckList1->selectedItems();
    if (selected.isEmpty())
        return 0;
    return RzCheckList1->indexOfTopLevelItem(selected.first()) + 1;
}

void TFrameKOVAPlanManager::UpdateDayActions()
{
    const int day = currentPlan_ >= 0 ? SelectedDay() : 0;
    ActionMarkRangeAsDone->setEnabled(day > 0);
    ActionResetPlanToDay->setEnabled(day > 0);
    if (day > 0) {
        ActionMarkRangeAsDone->setText(FromBytes(Format(kMarkRangeDayCaption, day)));
        ActionResetPlanToDay->setText(FromBytes(Format(kResetDayCaption, day)));
        targetDay_ = day;
    }
}

void TFrameKOVAPlanManager::DayItemChanged(QTreeWidgetItem* item, int column)
{
    if (column != ColumnDay || currentPlan_ < 0)
        return;
    const int day = RzCheckList1->indexOfTopLevelItem(item) + 1;
    const bool done = item->checkState(ColumnDay) == Qt::Checked;
    Dialogs& dialogs = shell_.GetDialogs();
    if (!RunGuarded(dialogs, [&] { Plans().SetDayDone(currentPlan_, day, done); })) {
        // The box shows what is stored: a failed write puts it back.
        const QSignalBlocker block(RzCheckList1);
        item->setCheckState(ColumnDay, CheckOf(!done));
        return;
    }
    RunGuarded(dialogs, [this] { views_.RebuildPlanMenus(); });
}

void TFrameKOVAPlanManager::DayItemDoubleClicked(QTreeWidgetItem* item)
{
    if (currentPlan_ == -1 || !item)
        return;
    const int day = RzCheckList1->indexOfTopLevelItem(item) + 1;
    RunGuarded(shell_.GetDialogs(), [&] { views_.ShowPlanDay(currentPlan_, day); });
}

void TFrameKOVAPlanManager::ShowContextMenu(const QPoint& pos)
{
    UpdateDayActions();
    PopupMenuPlanManager->popup(RzCheckList1->viewport()->mapToGlobal(pos));
}

void TFrameKOVAPlanManager::ActionMarkRangeAsDoneExecute()
{
    const int target = targetDay_;
    Plans().MarkDaysDoneThrough(currentPlan_, target);
    {
        const QSignalBlocker block(RzCheckList1);
        for (int i = 0; i < target && i < RzCheckList1->topLevelItemCount(); ++i)
            RzCheckList1->topLevelItem(i)->setCheckState(ColumnDay, Qt::Checked);
    }
    views_.RebuildPlanMenus();
}

void TFrameKOVAPlanManager::ActionResetPlanToDayExecute()
{
    const int target = targetDay_;
    Plans().SetStartDate(currentPlan_, shell_.GetClock().Today() - target + 1);
    ShowPlan(currentPlan_);
    // Keep the chosen day in view after the refill.
    if (QTreeWidgetItem* item = RzCheckList1->topLevelItem(target - 1)) {
        RzCheckList1->setCurrentItem(item);
        RzCheckList1->scrollToItem(item);
    }
    views_.RebuildPlanMenus();
}

void TFrameKOVAPlanManager::ButtonNewPlanClick()
{
    views_.StartNewPlan();
}

void TFrameKOVAPlanManager::ButtonDeletePlanClick()
{
    if (currentPlan_ < 0)
        return;
    TKOVAReadPlans& plans = Plans();
    if (!shell_.GetDialogs().Confirm(FromBytes(Format(kConfirmDelete, plans.GetPlanTitle(currentPlan_)))))
        return;
    plans.DeletePlan(currentPlan_);
    views_.RefreshPlanViews(0);
}

void TFrameKOVAPlanManager::ButtonRenamePlanClick()
{
    if (currentPlan_ < 0)
        return;
    TKOVAReadPlans& plans = Plans();
    Dialogs& dialogs = shell_.GetDialogs();
    const std::string old = plans.GetPlanTitle(currentPlan_);
    const QString caption = QString::fromUtf8(kRenameCaption);
    const QString prompt = FromBytes(Format(kRenamePrompt, old));
    std::string value = old;
    for (;;) {
        QString typed = FromBytes(value);
        if (!dialogs.PromptText(caption, prompt, typed))
            return;
        value = ToBytes(typed);
        if (value == old)
            return;
        value = Trim(value);
        if (value.empty()) {
            dialogs.Message(QString::fromUtf8(kRenameBlank));
            continue;
        }
        if (plans.PlanTitleExists(value)) {
            dialogs.Message(QString::fromUtf8(kRenameDuplicate));
            continue;
        }
        break;
    }
    plans.RenamePlan(currentPlan_, value);
    views_.RefreshPlanViews(currentPlan_);
}

} // namespace kovara::ui
