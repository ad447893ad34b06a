#include "ui/plans/plan_controller.h"

#include "app/kova_prefs.h"
#include "base/exception.h"
#include "content/kova_bible.h"
#include "plans/kova_readplan.h"
#include "plans/new_plan.h"
#include "plans/plan_printout.h"
#include "plans/todays_reading.h"
#include "ui/app/dialogs.h"
#include "ui/app/error_guard.h"
#include "ui/content/frameBibleDisplay.h"
#include "ui/plans/formNewPlan.h"
#include "ui/widgets/dates.h"
#include "ui/plans/reading_page.h"
#include "ui/shell.h"
#include "ui/widgets/html_viewer.h"
#include "ui/widgets/text_codec.h"

#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QPrinter>
#include <QPushButton>

namespace kovara::ui {

namespace {

// A title as a menu entry's text: "&" would otherwise mark a mnemonic.
QString MenuText(const QString& title)
{
    QString text = title;
    return text.replace(QLatin1Char('&'), QStringLiteral("&&"));
}

} // namespace

PlanController::PlanController(Shell& shell, QWidget* window, TFormNewPlanDlg* newPlanDlg)
    : QObject(window), shell_(shell)
{
    readingPage_ = new TFrameKOVAReadingPage(window);
    planManager_ = new TFrameKOVAPlanManager(shell_, *this, window);
    newPlanDlg_ = newPlanDlg ? newPlanDlg : new TFormNewPlanDlg(shell_.GetDialogs(), shell_.GetClock(), window);
    readingPage_->FrameKOVABibleDisplay1->AssignPreferences(shell_.Preferences());

    HTMLViewerTempPrint = new HtmlViewer(window);
    HTMLViewerTempPrint->hide();
    HTMLViewerTempPrint->SetDefaultFont(QStringLiteral("Times New Roman"), 12);

    ActionNewReadPlan = new QAction(QStringLiteral("Start New Reading Plan..."), this);
    ActionReadingPlanManager = new QAction(QStringLiteral("Reading Plan Manager"), this);
    connect(ActionNewReadPlan, &QAction::triggered, this, [this] { Guarded([this] { ActionNewReadPlanExecute(); }); });
    connect(ActionReadingPlanManager, &QAction::triggered, this,
            [this] { Guarded([this] { ActionReadingPlanManagerExecute(); }); });
    connect(readingPage_->ButtonMarkRead, &QPushButton::clicked, this,
            [this] { Guarded([this] { ButtonMarkReadClick(); }); });
    connect(readingPage_->ButtonPlanManager, &QPushButton::clicked, this,
            [this] { Guarded([this] { ButtonPlanManagerClick(); }); });
}

PlanController::~PlanController() = default;

void PlanController::Guarded(const std::function<void()>& body)
{
    RunGuarded(shell_.GetDialogs(), body);
}

void PlanController::SetReadingMenu(QMenu* menu, QAction* readingMenuBreak)
{
    readingMenu_ = menu;
    readingMenuBreak_ = readingMenuBreak;
}

void PlanController::SetPlanEntriesChanged(std::function<void(const std::vector<PlanEntry>&)> changed)
{
    entriesChanged_ = std::move(changed);
}

int PlanController::StartNewPlan()
{
    TFormNewPlanDlg& dialog = *newPlanDlg_;
    dialog.SetBible(shell_.Bible());
    dialog.PlanFileName = shell_.ProgramFolder() + "readplans.kova2";
    if (!dialog.Execute())
        return -1;

    TKOVAReadPlans& plans = shell_.ReadPlans();
    Dialogs& dialogs = shell_.GetDialogs();
    const auto exists = [&plans](const std::string& title) { return plans.PlanTitleExists(title); };
    const std::string proposal = ProposePlanName(DefaultPlanName(dialog.SelectedKind()), exists);
    const std::optional<std::string> name = AskPlanName(
        proposal,
        [&dialogs](const std::string& prefill) -> std::optional<std::string> {
            QString value = FromBytes(prefill);
            if (!dialogs.PromptText(QString::fromUtf8(kNewPlanNameCaption), QString::fromUtf8(kNewPlanNamePrompt),
                                    value))
                return std::nullopt;
            return ToBytes(value);
        },
        [&dialogs](const std::string& refusal) { dialogs.Message(FromBytes(refusal)); }, exists);
    if (!name)
        return -1;

    const int index = plans.AddPlan(*name, dialog.PlanDays, shell_.GetClock().Today());
    RefreshPlanViews(index);
    return index;
}

void PlanController::ActionNewReadPlanExecute()
{
    const int index = StartNewPlan();
    if (index >= 0)
        ShowPlanDay(index, 0);
}

void PlanController::ShowPlanDay(int plan, int day)
{
    ShowDay(plan, day, true);
}

void PlanController::ShowDay(int plan, int day, bool makeCurrent)
{
    TKOVAReadPlans& plans = shell_.ReadPlans();
    TKOVABible& bible = shell_.Bible();
    const std::optional<TPlanDayView> view = BuildPlanDayView(plans, bible, plan, day);
    if (!view) {
        ForgetPlan();
        return;
    }
    // The state and the buttons follow the day before it is rendered, so that
    // even a page whose rendering failed marks the day its labels name.
    currentPlan_ = view->plan;
    currentPlanDay_ = view->day;
    currentTable_ = plans.Plan(plan).TableName;
    readingPage_->ButtonMarkRead->setEnabled(view->canMarkRead);
    readingPage_->LabelReadPlanStatus->setText(FromBytes(view->status));
    readingPage_->ButtonPlanManager->setEnabled(true);
    readingPage_->FrameKOVABibleDisplay1->LoadPlanVerses(view->verses, view->title, view->heading, bible);
    if (makeCurrent)
        shell_.ShowPage(Page::BibleRead);
}

void PlanController::ForgetPlan()
{
    readingPage_->ButtonMarkRead->setEnabled(false);
    readingPage_->ButtonPlanManager->setEnabled(false);
    currentPlan_ = -1;
    currentTable_.clear();
}

void PlanController::ClearReadingPage()
{
    ForgetPlan();
    currentPlanDay_ = 0;
    readingPage_->LabelReadPlanStatus->clear();
    TFrameKOVABibleDisplay* display = readingPage_->FrameKOVABibleDisplay1;
    display->LabelTitle->clear();
    display->LabelDate->clear();
    display->HTMLViewer1->LoadFromString(QString());
}

void PlanController::ShowReadingPageAgain()
{
    if (currentTable_.empty())
        return;
    const TKOVAReadPlans& plans = shell_.ReadPlans();
    for (int i = 0; i < plans.GetPlanCount(); ++i) {
        if (plans.Plan(i).TableName == currentTable_) {
            if (currentPlanDay_ >= 1 && currentPlanDay_ <= plans.GetDayCount(i)) {
                ShowDay(i, currentPlanDay_, false);
                return;
            }
            break;
        }
    }
    ClearReadingPage();
}

void PlanController::ButtonMarkReadClick()
{
    const TMarkReadOutcome outcome = MarkPlanDayRead(shell_.ReadPlans(), currentPlan_, currentPlanDay_);
    readingPage_->ButtonMarkRead->setEnabled(false);
    readingPage_->LabelReadPlanStatus->setText(FromBytes(outcome.status));
    if (outcome.nextDay > 0)
        ShowPlanDay(currentPlan_, outcome.nextDay);
    if (!outcome.message.empty())
        shell_.GetDialogs().Message(FromBytes(outcome.message));
    RebuildPlanMenus();
}

void PlanController::ButtonPlanManagerClick()
{
    ActionReadingPlanManagerExecute();
    if (currentPlan_ >= 0)
        planManager_->SetPlans(currentPlan_);
}

void PlanController::ActionReadingPlanManagerExecute()
{
    shell_.ShowPage(Page::PlanManager);
}

void PlanController::RebuildPlanMenus()
{
    const TKOVAReadPlans& plans = shell_.ReadPlans();
    std::vector<PlanEntry> entries;
    entries.reserve(plans.GetPlanCount());
    for (int i = 0; i < plans.GetPlanCount(); ++i)
        entries.push_back({FromBytes(plans.GetPlanTitle(i)), PlanNeedsReading(plans, i), i});
    entries_ = std::move(entries);

    if (readingMenu_) {
        for (const QPointer<QAction>& entry : menuEntries_)
            delete entry.data();
        menuEntries_.clear();
        for (const PlanEntry& entry : entries_) {
            auto* action = new QAction(MenuText(entry.title), readingMenu_);
            action->setData(entry.plan);
            const int plan = entry.plan;
            connect(action, &QAction::triggered, this, [this, plan] { Guarded([this, plan] { PlanItemClick(plan); }); });
            readingMenu_->insertAction(readingMenuBreak_, action);
            menuEntries_.emplace_back(action);
        }
    }
    if (entriesChanged_)
        entriesChanged_(entries_);
}

void PlanController::RefreshPlanViews(int plan)
{
    RebuildPlanMenus();
    planManager_->SetPlans(plan);
    ShowReadingPageAgain();
}

void PlanController::PlanItemClick(int plan)
{
    CheckPlanEntryIndex(plan, shell_.ReadPlans().GetPlanCount());
    ShowPlanDay(plan, 0);
}

bool PlanController::CanPrintPlan() const
{
    return planManager_->CurrentPlan() >= 0;
}

void PlanController::PrintPlanDetails(int plan)
{
    QPrinter printer(QPrinter::HighResolution);
    int fromPage = 0;
    int toPage = 0;
    if (!shell_.GetDialogs().Print(printer, 1, 9999, fromPage, toPage))
        return;
    PrintPlanDetails(plan, printer, fromPage, toPage);
}

void PlanController::PrintPlanDetails(int plan, QPrinter& printer, int fromPage, int toPage)
{
    const TKOVAPreferences& prefs = shell_.Preferences();
    HTMLViewerTempPrint->SetDefaultFont(FromBytes(prefs.TextFontName), prefs.TextFontSize);
    HTMLViewerTempPrint->LoadFromString(QString());
    HTMLViewerTempPrint->LoadFromBytes(
        PlanPrintoutHtml(shell_.ReadPlans(), plan, shell_.Bible(), [](TDateTime t) { return ShortDateBytes(t); }));
    HTMLViewerTempPrint->PrintPages(printer, fromPage, toPage);
}

} // namespace kovara::ui
