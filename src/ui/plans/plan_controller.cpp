#include "ui/plans/plan_controller.h"
#include "ui/base/core_names.h"

#include "core/app/preferences.h"
#include "core/base/exception.h"
#include "core/base/translation.h"
#include "core/content/bible_store.h"
#include "core/plans/plan_store.h"
#include "core/plans/new_plan.h"
#include "core/plans/plan_printout.h"
#include "core/plans/todays_reading.h"
#include "ui/base/dialogs.h"
#include "ui/base/error_guard.h"
#include "ui/base/passage_view.h"
#include "ui/plans/new_plan_dialog.h"
#include "ui/base/dates.h"
#include "ui/plans/reading_page.h"
#include "ui/base/shell.h"
#include "ui/base/html_viewer.h"
#include "ui/base/text_codec.h"

#include <QAction>
#include <QFontMetrics>
#include <QLabel>
#include <QMenu>
#include <QPrinter>
#include <QPushButton>

namespace kovara::ui {

namespace {

// Plan titles longer than this many average characters are cut short in the
// Reading menu.
constexpr int kMenuTitleChars = 45;

// A title as a menu entry's text: "&" would otherwise mark a mnemonic.
QString menuText(const QString& title)
{
    QString text = title;
    return text.replace(QLatin1Char('&'), QStringLiteral("&&"));
}

// Marks the first letter of text that is not yet in taken (a word's first
// letter before any other) as its Alt letter and adds it to taken; text stays
// as it is when every letter is taken. text is already a menu text ("&&").
QString withAltLetter(const QString& text, QString& taken)
{
    const auto usable = [&](qsizetype i) {
        return text[i].isLetterOrNumber() && !taken.contains(text[i].toLower()) &&
               (i == 0 || text[i - 1] != QLatin1Char('&'));
    };
    for (int pass = 0; pass < 2; ++pass) {
        for (qsizetype i = 0; i < text.size(); ++i) {
            const bool wordStart = i == 0 || !text[i - 1].isLetterOrNumber();
            if ((pass == 1 || wordStart) && usable(i)) {
                taken += text[i].toLower();
                return text.left(i) + QLatin1Char('&') + text.mid(i);
            }
        }
    }
    return text;
}

} // namespace

PlanController::PlanController(Shell& shell, QWidget* window, NewPlanDialog* newPlanDlg)
    : QObject(window), shell_(shell)
{
    readingPage_ = new ReadingPage(window);
    planManager_ = new PlanManagerPage(shell_, *this, window);
    newPlanDlg_ = newPlanDlg ? newPlanDlg : new NewPlanDialog(shell_.getDialogs(), shell_.getClock(), window);
    readingPage_->passageView->assignPreferences(shell_.preferences());

    printViewer = new HtmlViewer(window);
    printViewer->hide();
    printViewer->setDefaultFont(QStringLiteral("Times New Roman"), 12);

    newPlanAction = new QAction(tr("Start New Reading Plan..."), this);
    planManagerAction = new QAction(tr("Reading Plan Manager"), this);
    connect(newPlanAction, &QAction::triggered, this, [this] { guarded([this] { newPlanCommand(); }); });
    connect(planManagerAction, &QAction::triggered, this,
            [this] { guarded([this] { showPlanManager(); }); });
    connect(readingPage_->markReadButton, &QPushButton::clicked, this,
            [this] { guarded([this] { onMarkReadClicked(); }); });
    connect(readingPage_->planManagerButton, &QPushButton::clicked, this,
            [this] { guarded([this] { onPlanManagerClicked(); }); });
}

PlanController::~PlanController() = default;

void PlanController::guarded(const std::function<void()>& body)
{
    runGuarded(shell_.getDialogs(), body);
}

void PlanController::setReadingMenu(QMenu* menu, QAction* readingMenuBreak)
{
    readingMenu_ = menu;
    readingMenuBreak_ = readingMenuBreak;
}

void PlanController::setPlanEntriesChanged(std::function<void(const std::vector<PlanEntry>&)> changed)
{
    entriesChanged_ = std::move(changed);
}

int PlanController::startNewPlan()
{
    NewPlanDialog& dialog = *newPlanDlg_;
    dialog.setBible(shell_.bible());
    dialog.planFileName = shell_.programFolder() + "readplans.kova2";
    if (!dialog.execute())
        return -1;

    PlanStore& plans = shell_.planStore();
    Dialogs& dialogs = shell_.getDialogs();
    const auto exists = [&plans](const std::string& title) { return plans.planTitleExists(title); };
    const std::string proposal = proposePlanName(defaultPlanName(dialog.selectedKind()), exists);
    const std::optional<std::string> name = askPlanName(
        proposal,
        [&dialogs](const std::string& prefill) -> std::optional<std::string> {
            QString value = fromBytes(prefill);
            if (!dialogs.promptText(fromBytes(translatedText("kovara::core::NewPlan", kNewPlanNameCaption)),
                                    fromBytes(translatedText("kovara::core::NewPlan", kNewPlanNamePrompt)),
                                    value))
                return std::nullopt;
            return toBytes(value);
        },
        [&dialogs](const std::string& refusal) { dialogs.message(fromBytes(refusal)); }, exists);
    if (!name)
        return -1;

    const int index = plans.addPlan(*name, dialog.planDays, shell_.getClock().today());
    refreshPlanViews(index);
    return index;
}

void PlanController::newPlanCommand()
{
    const int index = startNewPlan();
    if (index >= 0)
        showPlanDay(index, 0);
}

void PlanController::showPlanDay(int plan, int day)
{
    showDay(plan, day, true);
}

void PlanController::showDay(int plan, int day, bool makeCurrent)
{
    PlanStore& plans = shell_.planStore();
    BibleStore& bible = shell_.bible();
    const std::optional<PlanDayView> view = buildPlanDayView(plans, bible, plan, day);
    if (!view) {
        forgetPlan();
        return;
    }
    // The state and the buttons follow the day before it is rendered, so that
    // even a page whose rendering failed marks the day its labels name.
    currentPlan_ = view->plan;
    currentPlanDay_ = view->day;
    currentTable_ = plans.record(plan).tableName;
    readingPage_->markReadButton->setEnabled(view->canMarkRead);
    readingPage_->planStatusLabel->setText(fromBytes(view->status));
    readingPage_->planManagerButton->setEnabled(true);
    readingPage_->passageView->loadPlanVerses(view->verses, view->title, view->heading, bible);
    if (makeCurrent)
        shell_.showPage(Page::BibleRead);
}

void PlanController::forgetPlan()
{
    readingPage_->markReadButton->setEnabled(false);
    readingPage_->planManagerButton->setEnabled(false);
    currentPlan_ = -1;
    currentTable_.clear();
}

void PlanController::clearReadingPage()
{
    forgetPlan();
    currentPlanDay_ = 0;
    readingPage_->planStatusLabel->clear();
    PassageView* display = readingPage_->passageView;
    display->titleLabel->clear();
    display->dateLabel->clear();
    display->htmlViewer->loadFromString(QString());
}

void PlanController::showReadingPageAgain()
{
    if (currentTable_.empty())
        return;
    const PlanStore& plans = shell_.planStore();
    for (int i = 0; i < plans.getPlanCount(); ++i) {
        if (plans.record(i).tableName == currentTable_) {
            if (currentPlanDay_ >= 1 && currentPlanDay_ <= plans.getDayCount(i)) {
                showDay(i, currentPlanDay_, false);
                return;
            }
            break;
        }
    }
    clearReadingPage();
}

void PlanController::onMarkReadClicked()
{
    const MarkReadOutcome outcome = markPlanDayRead(shell_.planStore(), currentPlan_, currentPlanDay_);
    readingPage_->markReadButton->setEnabled(false);
    readingPage_->planStatusLabel->setText(fromBytes(outcome.status));
    if (outcome.nextDay > 0)
        showPlanDay(currentPlan_, outcome.nextDay);
    if (!outcome.message.empty())
        shell_.getDialogs().message(fromBytes(outcome.message));
    rebuildPlanMenus();
}

void PlanController::onPlanManagerClicked()
{
    showPlanManager();
    if (currentPlan_ >= 0)
        planManager_->setPlans(currentPlan_);
}

void PlanController::showPlanManager()
{
    shell_.showPage(Page::PlanManager);
}

void PlanController::rebuildPlanMenus()
{
    const PlanStore& plans = shell_.planStore();
    std::vector<PlanEntry> entries;
    entries.reserve(plans.getPlanCount());
    for (int i = 0; i < plans.getPlanCount(); ++i)
        entries.push_back({fromBytes(plans.getPlanTitle(i)), planNeedsReading(plans, i), i});
    entries_ = std::move(entries);

    if (readingMenu_) {
        for (const QPointer<QAction>& entry : menuEntries_)
            delete entry.data();
        menuEntries_.clear();
        // Each plan entry gets an Alt letter of its own too, one that no other
        // entry of the menu uses.
        readingMenu_->setToolTipsVisible(true);
        QString taken;
        for (const QAction* other : readingMenu_->actions())
            if (const qsizetype at = other->text().indexOf(QLatin1Char('&')); at >= 0 && at + 1 < other->text().size())
                taken += other->text()[at + 1].toLower();
        for (const PlanEntry& entry : entries_) {
            // A long title is cut short so that the menu keeps a sensible
            // width; the entry's tooltip holds it in full.
            const QFontMetrics metrics(readingMenu_->font());
            const QString shown =
                metrics.elidedText(entry.title, Qt::ElideRight, metrics.averageCharWidth() * kMenuTitleChars);
            auto* action = new QAction(withAltLetter(menuText(shown), taken), readingMenu_);
            action->setToolTip(entry.title);
            action->setData(entry.plan);
            const int plan = entry.plan;
            connect(action, &QAction::triggered, this, [this, plan] { guarded([this, plan] { planItemClick(plan); }); });
            readingMenu_->insertAction(readingMenuBreak_, action);
            menuEntries_.emplace_back(action);
        }
    }
    if (entriesChanged_)
        entriesChanged_(entries_);
}

void PlanController::refreshPlanViews(int plan)
{
    rebuildPlanMenus();
    planManager_->setPlans(plan);
    showReadingPageAgain();
}

void PlanController::planItemClick(int plan)
{
    checkPlanEntryIndex(plan, shell_.planStore().getPlanCount());
    showPlanDay(plan, 0);
}

bool PlanController::canPrintPlan() const
{
    return planManager_->currentPlan() >= 0;
}

void PlanController::printPlanDetails(int plan)
{
    QPrinter printer(QPrinter::HighResolution);
    int fromPage = 0;
    int toPage = 0;
    if (!shell_.getDialogs().print(printer, 1, 9999, fromPage, toPage))
        return;
    printPlanDetails(plan, printer, fromPage, toPage);
}

void PlanController::printPlanDetails(int plan, QPrinter& printer, int fromPage, int toPage)
{
    const Preferences& prefs = shell_.preferences();
    printViewer->setDefaultFont(fromBytes(prefs.textFontName), prefs.textFontSize);
    printViewer->loadFromString(QString());
    printViewer->loadFromBytes(
        planPrintoutHtml(shell_.planStore(), plan, shell_.bible(), [](DateTime t) { return shortDateBytes(t); }));
    printViewer->printPages(printer, fromPage, toPage);
}

} // namespace kovara::ui
