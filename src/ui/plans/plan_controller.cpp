#include "ui/plans/plan_controller.h"
#include "ui/base/group_bar.h"
#include "ui/base/core_names.h"

#include "core/app/preferences.h"
#include "core/base/atomic_file.h"
#include "core/base/exception.h"
#include "core/base/translation.h"
#include "core/content/bible_store.h"
#include "core/plans/plan_store.h"
#include "core/plans/new_plan.h"
#include "core/plans/plan_calendar.h"
#include "core/plans/plan_printout.h"
#include "core/plans/plan_progress.h"
#include "core/plans/todays_reading.h"
#include "core/sword/imported_bibles.h"
#include "core/sword/side_by_side.h"
#include "ui/base/dialogs.h"
#include "ui/base/error_guard.h"
#include "ui/base/passage_view.h"
#include "ui/plans/new_plan_dialog.h"
#include "ui/base/dates.h"
#include "ui/plans/reading_page.h"
#include "ui/base/shell.h"
#include "ui/base/html_viewer.h"
#include "ui/base/busy_cursor.h"
#include "ui/base/text_codec.h"
#include "ui/base/user_text.h"
#include "ui/plans/plan_progress_text.h"

#include <QAction>
#include <QDateTime>
#include <QFontMetrics>
#include <QProgressBar>
#include <QProgressDialog>
#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QScopedValueRollback>
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
    : QObject(window), shell_(shell), window_(window)
{
    newPlanDlg_ = newPlanDlg;


    exportCalendarAction = new QAction(tr("E&xport Plan to Calendar..."), this);
    exportCalendarAction->setObjectName(QStringLiteral("exportCalendarAction"));
    connect(exportCalendarAction, &QAction::triggered, this,
            [this] { guarded([this] { exportCalendar(planInView()); }); });
    chooseCatchUp = [window](const CatchUpPreview& preview) -> std::optional<CatchUpChoice> {
        CatchUpDialog dialog(preview, window);
        if (dialog.exec() != QDialog::Accepted)
            return std::nullopt;
        return dialog.choice();
    };

    newPlanAction = new QAction(tr("Start New Reading Plan..."), this);
    planManagerAction = new QAction(tr("Reading Plan Manager"), this);
    connect(newPlanAction, &QAction::triggered, this, [this] { guarded([this] { newPlanCommand(); }); });
    connect(planManagerAction, &QAction::triggered, this,
            [this] { guarded([this] { showPlanManager(); }); });

    // The plan views follow the session: restored stores, plans imported.
    // Changes the controller tells the session of itself are shown already.
    ObservableSession& events = shell_.session();
    connect(&events, &ObservableSession::storesReplaced, this,
            [this] { guarded([this] { refreshPlanViews(PlanId()); }); });
    connect(&events, &ObservableSession::plansChanged, this, [this] {
        if (!notifying_)
            guarded([this] { refreshPlanViews(PlanId()); });
    });
}

HtmlViewer* PlanController::printViewer()
{
    // Made for the first printout.
    if (!printViewer_) {
        printViewer_ = new HtmlViewer(window_);
        printViewer_->hide();
        printViewer_->setDefaultFont(QStringLiteral("Times New Roman"), 12);
    }
    return printViewer_;
}

ReadingPage* PlanController::readingPage()
{
    // Made when a plan day is first shown, so start-up does not pay for it.
    if (!readingPage_) {
        readingPage_ = new ReadingPage(window_);
        readingPage_->hide();
        readingPage_->setObjectName(QStringLiteral("readingPage"));
        readingPage_->assignPreferences(shell_.preferences());
        // A plan day's chapter headings open their chapters on the Bible page.
        readingPage_->setChapterLinks(true);
        connect(readingPage_, &ReadingPage::catchUpClicked, this,
                [this] { guarded([this] { catchUp(currentPlan_); }); });
        connect(readingPage_, &ReadingPage::undoClicked, this, [this] { guarded([this] { undoCatchUp(); }); });
        connect(readingPage_, &ReadingPage::markReadClicked, this,
                [this] { guarded([this] { onMarkReadClicked(); }); });
        connect(readingPage_, &ReadingPage::versionChosen, this,
                [this](int index) { guarded([this, index] { chooseVersion(index); }); });
        connect(readingPage_, &ReadingPage::sideBySideChosen, this, [this](const std::vector<int>& indexes) {
            guarded([this, indexes] { chooseSideBySide(indexes); });
        });
        connect(readingPage_, &ReadingPage::planManagerClicked, this,
                [this] { guarded([this] { onPlanManagerClicked(); }); });
    }
    return readingPage_;
}

PlanManagerPage* PlanController::planManager()
{
    // Made when first opened, on the plans as they are then.
    if (!planManager_) {
        planManager_ = new PlanManagerPage(shell_, *this, window_);
        planManager_->hide();
        planManager_->setObjectName(QStringLiteral("planManagerPage"));
        planManager_->setPlans(managerPlan_);
    }
    return planManager_;
}

NewPlanDialog& PlanController::newPlanDialog()
{
    if (!newPlanDlg_)
        newPlanDlg_ = new NewPlanDialog(shell_.dialogs(), shell_.clock(), window_);
    return *newPlanDlg_;
}

PlanController::~PlanController() = default;

void PlanController::guarded(const std::function<void()>& body)
{
    runGuarded(shell_.dialogs(), body);
}

void PlanController::setReadingMenu(QMenu* menu, QAction* readingMenuBreak)
{
    readingMenu_ = menu;
    readingMenuBreak_ = readingMenuBreak;
}

void PlanController::setSideBarGroup(GroupBarGroup* group)
{
    sideBarGroup_ = group;
}

int PlanController::position(const PlanId& plan) const
{
    if (plan.isNull())
        return -1;
    const PlanStore& plans = shell_.planStore();
    return plans.indexOf(plan).value_or(plans.planCount());
}

void PlanController::notifyPlansChanged(const PlanId& plan)
{
    const QScopedValueRollback<bool> own(notifying_, true);
    shell_.session().notifyPlansChanged(plan);
}

PlanId PlanController::startNewPlan()
{
    NewPlanDialog& dialog = newPlanDialog();
    dialog.setBible(shell_.bible());
    dialog.planFileName = shell_.contentFolder() + "readplans.kova2";
    if (!dialog.execute())
        return {};

    PlanStore& plans = shell_.planStore();
    Dialogs& dialogs = shell_.dialogs();
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
        return {};

    const PlanId added = plans.addPlan(*name, dialog.planDays, startOf(shell_.clock().today()));
    refreshPlanViews(added);
    notifyPlansChanged(PlanId());
    return added;
}

void PlanController::newPlanCommand()
{
    const PlanId added = startNewPlan();
    if (!added.isNull())
        showPlanDay(added);
}

void PlanController::showPlanDay(const PlanId& plan, std::optional<int> day)
{
    showDay(plan, day, true);
}

void PlanController::showPlanLink(const PlanLinkTarget& target)
{
    if (const PlanId* plan = std::get_if<PlanId>(&target)) {
        showPlanDay(*plan);
        return;
    }
    const int index = std::get<int>(target);
    if (index >= shell_.planStore().planCount()) {
        forgetPlan();
        return;
    }
    showPlanDay(shell_.planStore().id(index));
}

void PlanController::catchUpLink(const PlanLinkTarget& target)
{
    if (const PlanId* plan = std::get_if<PlanId>(&target))
        catchUp(*plan);
    else
        catchUp(shell_.planStore().id(std::get<int>(target)));
}

void PlanController::showDay(const PlanId& planId, std::optional<int> day, bool makeCurrent)
{
    PlanStore& plans = shell_.planStore();
    const int plan = position(planId);
    BibleStore& bible =
        planBible(plan >= 0 && plan < plans.planCount() ? plans.record(plan).bibleVersion : std::string());
    std::optional<PlanDayView> view = buildPlanDayView(plans, bible, plan, day);
    if (!view) {
        forgetPlan();
        return;
    }
    // While doubling up and still behind, the day to read is two plan days.
    secondDay_.reset();
    if (!day && plans.record(plan).doubleUp) {
        const PlanDays days = PlanDays::of(plans.record(plan));
        const std::vector<int> pair = doubleUpDays(days);
        if (computeProgress(days, shell_.clock().today()).daysBehind > 0 && pair.size() == 2 &&
            pair[0] == view->day) {
            secondDay_ = pair[1];
            const std::string& second = plans.dayVerses(plan, *secondDay_);
            view->heading = toBytes(tr("Days %1 and %2 of %3: %4; %5")
                                        .arg(view->day)
                                        .arg(*secondDay_)
                                        .arg(plans.dayCount(plan))
                                        .arg(fromBytes(bible.referenceText(view->verses)),
                                             fromBytes(bible.referenceText(second))));
            view->verses += "," + second;
        }
    }
    if (secondDay_)
        view->status = toBytes(tr("Doubling up: two plan days a day until you are caught up."));
    if (view->plan != currentPlan_)
        hideUndo();
    // The state and the buttons follow the day before it is rendered, so that
    // even a page whose rendering failed marks the day its labels name.
    currentPlan_ = view->plan;
    currentPlanDay_ = view->day;
    readingPage()->setStanding(fromBytes(view->status), view->canMarkRead);
    showProgress(currentPlan_);
    readingPage_->showPassage(view->verses, view->title, view->heading, bible);
    readingPage_->setPassageSource(fromBytes(bible.referenceText(view->verses)), fromBytes(bible.abbreviation()),
                                   &bible == &shell_.bible());
    // Other versions beside it, the one read never twice.
    std::vector<const BibleStore*> columns{&bible};
    for (std::size_t i = 0; i < sideModules_.size(); ++i) {
        const BibleStore* side = sideBibles_[i] ? sideBibles_[i].get() : &shell_.bible();
        if (side != &bible && sideModules_[i] != plans.record(plan).bibleVersion)
            columns.push_back(side);
    }
    if (columns.size() > 1)
        readingPage_->showColumns(buildSideBySidePage(view->verses, columns, true));
    if (makeCurrent)
        shell_.showPage(Page::Reading);
}

BibleStore& PlanController::planBible(const std::string& module)
{
    const std::string folder = importedBiblesFolder(shell_.userDataFolder());
    const std::vector<ImportedBible> versions = importedBibles(folder);
    QStringList names{fromBytes(shell_.bible().abbreviation())};
    versionModules_.assign(1, std::string());
    int current = 0;
    for (const ImportedBible& version : versions) {
        names << QStringLiteral("%1 - %2").arg(fromBytes(version.module.abbreviation),
                                               fromBytes(version.module.description));
        versionModules_.push_back(version.module.name);
        if (version.module.name == module)
            current = names.size() - 1;
    }
    // A version removed or damaged since it was chosen: the shipped Bible
    // reads the day, and the plan keeps its choice for when it is back.
    if (current > 0 && (!versionBible_ || versionModule_ != module)) {
        try {
            std::unique_ptr<BibleStore> opened = openImportedBible(importedBibleFile(folder, module));
            // The page may still show the one before until the new day is
            // rendered, so it goes only at the next change.
            retiredBible_ = std::move(versionBible_);
            versionBible_ = std::move(opened);
            versionModule_ = module;
        } catch (const std::exception&) {
            current = 0;
        }
    }
    std::vector<int> side;
    for (std::size_t i = 0; i < versionModules_.size(); ++i)
        if (std::find(sideModules_.begin(), sideModules_.end(), versionModules_[i]) != sideModules_.end())
            side.push_back(static_cast<int>(i));
    readingPage()->setSideBySide(side);
    readingPage()->setVersions(names, current);
    return current > 0 ? *versionBible_ : shell_.bible();
}

void PlanController::chooseVersion(int index)
{
    const int plan = position(currentPlan_);
    if (index < 0 || index >= static_cast<int>(versionModules_.size()) || plan < 0 ||
        plan >= shell_.planStore().planCount())
        return;
    shell_.planStore().setBibleVersion(plan, versionModules_[static_cast<std::size_t>(index)]);
    // The same day again; while doubling up, the same pair of days.
    showDay(currentPlan_, secondDay_ ? std::nullopt : std::optional<int>(currentPlanDay_), false);
}

void PlanController::chooseSideBySide(const std::vector<int>& indexes)
{
    std::vector<std::string> modules;
    std::vector<std::unique_ptr<BibleStore>> bibles;
    const std::string folder = importedBiblesFolder(shell_.userDataFolder());
    for (const int index : indexes) {
        if (index < 0 || index >= static_cast<int>(versionModules_.size()) || modules.size() == 3)
            continue;
        const std::string& module = versionModules_[static_cast<std::size_t>(index)];
        std::unique_ptr<BibleStore> bible;
        const auto kept = std::find(sideModules_.begin(), sideModules_.end(), module);
        if (kept != sideModules_.end())
            bible = std::move(sideBibles_[static_cast<std::size_t>(kept - sideModules_.begin())]);
        else if (!module.empty())
            bible = openImportedBible(importedBibleFile(folder, module));
        modules.push_back(module);
        bibles.push_back(std::move(bible));
    }
    sideModules_ = std::move(modules);
    sideBibles_ = std::move(bibles);
    showDay(currentPlan_, secondDay_ ? std::nullopt : std::optional<int>(currentPlanDay_), false);
}

void PlanController::forgetPlan()
{
    if (readingPage_)
        readingPage_->forgetPlan();
    currentPlan_ = PlanId();
    secondDay_.reset();
}

void PlanController::showProgress(const PlanId& plan)
{
    const PlanProgress progress =
        planProgress(shell_.planStore(), position(plan), shell_.clock().today());
    readingPage()->showProgress(progress.percent, progressSummaryText(progress),
                                progress.daysBehind > 0 && !progress.finished);
}

void PlanController::hideUndo()
{
    undo_.reset();
    if (readingPage_)
        readingPage_->hideUndo();
}

void PlanController::clearReadingPage()
{
    forgetPlan();
    currentPlanDay_ = 0;
    hideUndo();
    if (readingPage_)
        readingPage_->clear();
}

void PlanController::showReadingPageAgain()
{
    if (currentPlan_.isNull())
        return;
    const PlanStore& plans = shell_.planStore();
    if (const std::optional<int> plan = plans.indexOf(currentPlan_)) {
        if (currentPlanDay_ >= 1 && currentPlanDay_ <= plans.dayCount(*plan)) {
            showDay(currentPlan_, currentPlanDay_, false);
            return;
        }
    }
    clearReadingPage();
}

void PlanController::onMarkReadClicked()
{
    PlanStore& plans = shell_.planStore();
    const PlanId marked = currentPlan_;
    const int plan = position(marked);
    // Doubling up: the second day is marked with the first.
    if (secondDay_ && plan >= 0 && plan < plans.planCount())
        plans.setDayDone(plan, *secondDay_, true);
    const MarkReadOutcome outcome = markPlanDayRead(plans, plan, currentPlanDay_);
    hideUndo();
    readingPage()->setStanding(fromBytes(outcome.status), false);
    showProgress(marked);
    QString message = fromBytes(outcome.message);
    if (plans.record(plan).doubleUp &&
        planProgress(plans, plan, shell_.clock().today()).daysBehind == 0) {
        plans.setDoubleUp(plan, false);
        if (outcome.message != kPlanCompleted)
            message = tr("You are caught up! From here on, one plan day a day keeps you on track.");
    }
    if (outcome.nextDay)
        showPlanDay(marked, plans.record(plan).doubleUp ? std::nullopt : outcome.nextDay);
    if (!message.isEmpty())
        shell_.dialogs().message(message);
    rebuildPlanMenus();
    notifyPlansChanged(marked);
}

PlanId PlanController::planInView()
{
    if (shell_.currentPage() == Page::Reading && !currentPlan_.isNull())
        return currentPlan_;
    if (const PlanId& managed = planManager()->currentPlan(); !managed.isNull())
        return managed;
    return currentPlan_;
}

void PlanController::catchUp(const PlanId& planId)
{
    const int plan = position(planId);
    PlanStore& plans = shell_.planStore();
    const PlanRecord& rec = plans.record(plan);
    const PlanDays days = PlanDays::of(rec);
    const sys_days now = shell_.clock().today();
    if (computeProgress(days, now).daysBehind == 0 || !plans.firstUnreadDay(plan)) {
        shell_.dialogs().message(tr("You are up to date on \"%1\": there is nothing to catch up.")
                                        .arg(plainUserText(fromBytes(rec.planTitle))));
        return;
    }
    const CatchUpPreview preview = makeCatchUpPreview(fromBytes(rec.planTitle), days, rec.dayVerses, now);
    const std::optional<CatchUpChoice> choice = chooseCatchUp(preview);
    if (choice)
        applyCatchUp(planId, *choice);
}

void PlanController::applyCatchUp(const PlanId& planId, CatchUpChoice choice)
{
    PlanStore& plans = shell_.planStore();
    const sys_days now = shell_.clock().today();
    const int plan = position(planId);
    const PlanDays days = PlanDays::of(plans.record(plan));
    PlanId shown = planId;
    switch (choice) {
    case CatchUpChoice::StartAgain:
        plans.setStartDate(plan, restartStartDate(days, now));
        plans.setDoubleUp(plan, false);
        hideUndo();
        break;
    case CatchUpChoice::DoubleUp:
        plans.setDoubleUp(plan, true);
        hideUndo();
        break;
    case CatchUpChoice::KeepFinish: {
        const RedividedPlan kept = keepFinishDate(days, plans.record(plan).dayVerses, now);
        std::unique_ptr<QProgressDialog> progress;
        const int total = static_cast<int>(kept.dayVerses.size());
        // Long plans take a moment: show how far the writing is.
        if (total > 2000) {
            progress = std::make_unique<QProgressDialog>(tr("Dividing the unread days again..."), QString(), 0, total,
                                                         window_);
            progress->setWindowModality(Qt::WindowModal);
            progress->setMinimumDuration(0);
            progress->setValue(0);
        }
        const BusyCursor busy;
        const PlanReplacement replacement =
            plans.replacePlan(plan, kept.dayVerses, kept.done, kept.readDates, kept.startDate, [&](int done, int) {
                if (progress)
                    progress->setValue(done);
            });
        shown = replacement.newPlan;
        refreshPlanViews(shown);
        showPlanDay(shown);
        // Kept once the new plan is on show (showing another plan drops it).
        undo_ = replacement;
        undoFlags_ = plans.record(position(shown)).dayDone;
        undoStart_ = plans.record(position(shown)).startDate;
        break;
    }
    }
    if (choice != CatchUpChoice::KeepFinish) {
        refreshPlanViews(shown);
        showPlanDay(shown);
    }
    // Another plan took the old one's place in the list when the days were
    // divided again.
    notifyPlansChanged(choice == CatchUpChoice::KeepFinish ? PlanId() : shown);
    if (undo_ && choice == CatchUpChoice::KeepFinish) {
        const PlanProgress progress = planProgress(plans, position(shown), now);
        readingPage()->showUndo(
            tr("Your unread days are now spread over the days until %1.").arg(longDateText(progress.plannedFinish)));
    }
}

void PlanController::undoCatchUp()
{
    if (!undo_)
        return;
    PlanStore& plans = shell_.planStore();
    const std::optional<int> plan = plans.indexOf(undo_->newPlan);
    if (!plan || plans.record(*plan).dayDone != undoFlags_ || plans.record(*plan).startDate != undoStart_) {
        hideUndo();
        shell_.dialogs().message(tr("The plan has changed since its days were divided again, so this can no "
                                       "longer be undone."));
        return;
    }
    const PlanId restored = undo_->oldPlan;
    plans.undoReplacement(*undo_);
    hideUndo();
    refreshPlanViews(restored);
    showPlanDay(restored);
    notifyPlansChanged(PlanId());
}

void PlanController::exportCalendar(const PlanId& planId)
{
    PlanStore& plans = shell_.planStore();
    const int plan = position(planId);
    if (plan < 0 || plan >= plans.planCount()) {
        shell_.dialogs().message(tr("There is no reading plan to export. Start a reading plan first."));
        return;
    }
    if (!plans.firstUnreadDay(plan)) {
        shell_.dialogs().message(nothingLeftToExport());
        return;
    }
    // Proposed in the user's documents folder, not wherever the program was
    // started from.
    QString folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (folder.isEmpty() || !QDir(folder).exists())
        folder = QDir::homePath();
    const QString file = shell_.dialogs().chooseSaveFile(tr("Export Plan to Calendar"),
                                                            tr("iCalendar files (*.ics);;All files (*)"),
                                                            calendarFilePath(fromBytes(plans.planTitle(plan)), folder));
    if (file.isEmpty())
        return;
    exportCalendar(planId, file);
}

void PlanController::exportCalendar(const PlanId& plan, const QString& fileName)
{
    const BibleStore& bible = shell_.bible();
    const BibleStore::ReadSession session(bible);
    const QDateTime utc = QDateTime::currentDateTimeUtc();
    const sys_seconds stamp{std::chrono::seconds(utc.toSecsSinceEpoch())};
    const int index = position(plan);
    const PlanCalendar calendar = buildPlanCalendar(
        shell_.planStore(), index, [&bible](const std::string& spec) { return bible.referenceText(spec); }, stamp);
    // A calendar without events is refused by some calendar programs, and a
    // finished plan has nothing to put in one.
    if (calendar.daysToRead == 0) {
        shell_.dialogs().message(nothingLeftToExport());
        return;
    }
    // Written beside the file and renamed over it once complete: an earlier
    // export of that name stays whole until then.
    std::string error;
    if (!writeFileAtomically(QFile::encodeName(fileName).toStdString(), calendar.text, &error))
        throw Exception(toBytes(tr("Unable to write to %1: %2").arg(fileName, fromBytes(error))));
    // Remembered once the file is there, so the next export updates these events.
    shell_.planStore().setCalendarExportState(index, calendar.state);
}

QString PlanController::calendarFilePath(const QString& title, const QString& folder)
{
    // 200 bytes leave room for ".ics" and for a copy's " (2)" that a file
    // manager may add.
    constexpr qsizetype kMaxNameBytes = 200;
    QString name;
    qsizetype bytes = 0;
    for (qsizetype i = 0; i < title.size();) {
        // A whole character at a time: a surrogate pair is never split.
        const qsizetype length = title.at(i).isHighSurrogate() && i + 1 < title.size() ? 2 : 1;
        QString piece = title.mid(i, length);
        i += length;
        if (piece == QStringLiteral("/"))
            piece = QStringLiteral("-");
        else if (piece.size() == 1 && piece.at(0).category() == QChar::Other_Control)
            continue;
        bytes += piece.toUtf8().size();
        if (bytes > kMaxNameBytes)
            break;
        name += piece;
    }
    name = name.trimmed();
    if (name.isEmpty())
        name.prepend(tr("Reading Plan"));
    return QDir(folder).filePath(name + QStringLiteral(".ics"));
}

QString PlanController::nothingLeftToExport()
{
    return tr("Every day of this plan has been read, so there is nothing left to put in a calendar.");
}

void PlanController::onPlanManagerClicked()
{
    showPlanManager();
    if (!currentPlan_.isNull())
        planManager()->setPlans(currentPlan_);
}

void PlanController::showPlanManager()
{
    planManager();
    shell_.showPage(Page::PlanManager);
}

void PlanController::rebuildPlanMenus()
{
    const PlanStore& plans = shell_.planStore();
    std::vector<PlanEntry> entries;
    entries.reserve(plans.planCount());
    for (int i = 0; i < plans.planCount(); ++i)
        entries.push_back({fromBytes(plans.planTitle(i)), planNeedsReading(plans, i), plans.id(i)});
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
            // A title of a third of that length fits unless its letters are
            // three times as wide as the average one, which common scripts'
            // letters are not; measuring it would load the menu's font at
            // start-up for nothing.
            QString shown = entry.title;
            if (shown.size() * 3 > kMenuTitleChars) {
                const QFontMetrics metrics(readingMenu_->font());
                shown = metrics.elidedText(shown, Qt::ElideRight, metrics.averageCharWidth() * kMenuTitleChars);
            }
            auto* action = new QAction(withAltLetter(menuText(shown), taken), readingMenu_);
            action->setToolTip(entry.title);
            action->setData(QVariant::fromValue(entry.plan));
            const PlanId plan = entry.plan;
            connect(action, &QAction::triggered, this, [this, plan] { guarded([this, plan] { openPlanEntry(plan); }); });
            readingMenu_->insertAction(readingMenuBreak_, action);
            menuEntries_.emplace_back(action);
        }
    }
    if (sideBarGroup_) {
        for (const QPointer<QAction>& old : sideBarEntries_) {
            if (!old)
                continue;
            sideBarGroup_->removeCommand(old.data());
            delete old.data();
        }
        sideBarEntries_.clear();
        int position = 0;
        for (const PlanEntry& entry : entries_) {
            auto* action = new QAction(menuText(entry.title), sideBarGroup_);
            action->setObjectName(QStringLiteral("PlanEntry%1").arg(position));
            const PlanId plan = entry.plan;
            connect(action, &QAction::triggered, this, [this, plan] { guarded([this, plan] { openPlanEntry(plan); }); });
            sideBarGroup_->insertCommand(position, action, entry.bold);
            sideBarEntries_.emplace_back(action);
            ++position;
        }
    }
    emit planEntriesChanged(entries_);
}

void PlanController::refreshPlanViews(const PlanId& plan)
{
    rebuildPlanMenus();
    if (planManager_)
        planManager_->setPlans(plan);
    else
        managerPlan_ = plan;
    showReadingPageAgain();
}

void PlanController::openPlanEntry(const PlanId& plan)
{
    checkPlanEntryIndex(position(plan), shell_.planStore().planCount());
    showPlanDay(plan);
}

void PlanController::printPlanDetails(const PlanId& plan)
{
    QPrinter printer(QPrinter::HighResolution);
    int fromPage = 0;
    int toPage = 0;
    if (!shell_.dialogs().print(printer, 1, 9999, fromPage, toPage))
        return;
    printPlanDetails(plan, printer, fromPage, toPage);
}

void PlanController::printPlanDetails(const PlanId& plan, QPrinter& printer, int fromPage, int toPage)
{
    const Preferences& prefs = shell_.preferences();
    printViewer()->setDefaultFont(fromBytes(prefs.textFontName), prefs.textFontSize);
    printViewer()->loadFromString(QString());
    printViewer()->loadFromBytes(
        planPrintoutHtml(shell_.planStore(), position(plan), shell_.bible(), [](sys_days d) { return shortDateBytes(d); }));
    printViewer()->printPages(printer, fromPage, toPage);
}

} // namespace kovara::ui
