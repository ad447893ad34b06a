#pragma once
// The reading-plan commands of the main window: starting a new plan, showing a
// plan day on the reading page and marking it read, the plan entries of the
// Reading menu and the side bar, the plan manager page, and the plan details
// printout. The main window creates one controller, places its two pages and
// its two actions, and hands it the Reading menu and the side bar callback.
//
// The plan store is asked from the shell at each use (restore replaces it).
// Plans are held by their PlanId and looked up in the store's list only when
// it is read, so that after any reload of the store (a plan created or
// deleted, a restore) the reading page is shown again for the same plan, or
// cleared with its buttons disabled: marking always acts on the plan and day
// the page shows. Where a plan id is looked up and no longer found, the
// commands behave as they do for a position beyond the last plan.
//
// How the main window wires it (MainWindow::createPlanPages): it makes one
// controller, puts readingPage() and planManager() on its reading and plan
// manager pages, forwards its own New Plan and Plan Manager actions to
// newPlanAction and planManagerAction, hands over the Reading menu with the
// separator the plan entries follow, and the side bar's plan group. It calls
// refreshPlanViews after start-up; the welcome links call showPlanLink and
// catchUpLink; the plan manager page prints its plan through printPlanDetails.
// Changes the controller and the plan manager make are told to the session's
// plansChanged (with the plan's id, or a null id when the list changed); the
// controller follows that signal for changes made elsewhere (restore, import).
#include "ui/base/core_names.h"
// moc cannot read the standard <variant> the link target type is made of; it
// needs none of these declarations.
#ifndef Q_MOC_RUN
#include "core/app/internal_links.h"
#endif
#include "core/plans/plan_store.h"
#include "ui/plans/catch_up_dialog.h"
#include "ui/plans/plan_manager_page.h"

#include <QObject>
#include <QPointer>
#include <QString>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

class QAction;
class QMenu;
class QPrinter;
class QWidget;

namespace kovara::core {
class BibleStore;
}

namespace kovara::ui {

class GroupBarGroup;
class HtmlViewer;
class Shell;
class NewPlanDialog;
class ReadingPage;

// A plan's entry in the Reading menu and the side bar group.
struct PlanEntry {
    QString title;
    bool bold = false; // the plan is behind or due today
    PlanId plan;       // the plan openPlanEntry takes
};

class PlanController : public QObject, public PlanViews {
    Q_OBJECT
public:
    // window parents the pages, the dialog and the hidden print viewer. When
    // newPlanDlg is null the controller makes the dialog itself; a given one
    // is not owned.
    PlanController(Shell& shell, QWidget* window, NewPlanDialog* newPlanDlg = nullptr);
    ~PlanController() override;

    // The reading page and the plan manager page, for the window's page
    // stack; each is made on first use, hidden, as a child of the window.
    ReadingPage* readingPage();
    PlanManagerPage* planManager();

    // "Start New Reading Plan..." and "Reading Plan Manager", for the Reading
    // menu, the side bar and the welcome page links.
    QAction* newPlanAction;
    QAction* planManagerAction;
    // "Export Plan to Calendar...": the plan shown (on the plan manager, else
    // the reading page) as an iCalendar file.
    QAction* exportCalendarAction;
    // Never shown; plan printouts are laid out in it.
    HtmlViewer* printViewer();

    // Asks which way to catch up; the catch-up dialog unless replaced (tests).
    std::function<std::optional<CatchUpChoice>(const CatchUpPreview&)> chooseCatchUp;

    // Each rebuild puts one entry per plan into menu, in plan order, just
    // above readingMenuBreak (removing the entries of the last rebuild).
    void setReadingMenu(QMenu* menu, QAction* readingMenuBreak);
    // Each rebuild puts one entry per plan into the side bar group (bold as
    // told), in plan order, ahead of its own entries ("Start New Reading
    // Plan...").
    void setSideBarGroup(GroupBarGroup* group);

    // Asks for the plan's kind and name, creates it starting today and
    // refreshes the plan views. The new plan's id, or a null id when the user
    // cancelled. Raises the dialog's opening errors and the store's errors.
    PlanId startNewPlan() override;
    // startNewPlan, then the new plan's first day on the reading page.
    void newPlanCommand();
    // Shows plan's day (by default the day to read now) and makes the reading page
    // current. A plan that no longer exists disables both buttons and
    // forgets the plan, showing nothing new; a null plan or a day outside
    // the plan raises the store's range messages.
    void showPlanDay(const PlanId& plan, std::optional<int> day = std::nullopt) override;
    // A plan link was followed: showPlanDay(plan) for a plan named by its
    // id. A link that names the plan by position does what it always did: a
    // position at or above the plan count forgets the plan, a negative one
    // raises the store's range message.
    void showPlanLink(const PlanLinkTarget& plan);
    // A catch-up link was followed: catchUp on the plan it names (a position
    // outside the plans raises the store's range message).
    void catchUpLink(const PlanLinkTarget& plan);
    // Marks the shown day read; moves a user who is catching up to the next
    // due day, congratulates on the last one, and rebuilds the plan entries.
    void onMarkReadClicked();
    // The plan manager page, showing the plan being read.
    void onPlanManagerClicked();

    // Offers the three ways to catch up on plan and applies the one chosen,
    // then shows the plan's day to read. Nothing happens when the user
    // cancels; a plan that is not behind gets a message instead.
    void catchUp(const PlanId& plan);
    void applyCatchUp(const PlanId& plan, CatchUpChoice choice);
    // Puts back the plan that "Keep my finish date" replaced, as long as the
    // new plan has not been changed since.
    void undoCatchUp();
    bool canUndoCatchUp() const { return undo_.has_value(); }
    // Asks for a file and writes plan's unread days to it as iCalendar (with
    // cancellations of the days the last export wrote that are read since),
    // then remembers what was written. A plan with every day read gets a
    // message and no file.
    void exportCalendar(const PlanId& plan);
    void exportCalendar(const PlanId& plan, const QString& fileName);
    static QString nothingLeftToExport();
    // The file name the calendar export proposes for a plan titled title, in
    // folder: the title without '/' or control characters, cut at a whole
    // character so that the name with ".ics" stays well inside the file
    // system's 255 bytes.
    static QString calendarFilePath(const QString& title, const QString& folder);
    // The plan the calendar export and the catch-up button act on.
    PlanId planInView();
    // Makes the plan manager page current without refilling it.
    void showPlanManager();
    void rebuildPlanMenus() override;
    // Rebuilds the plan entries, refills the plan manager on plan, and shows
    // the reading page again for its plan (or clears it when that plan is
    // gone). Run after every reload of the store.
    void refreshPlanViews(const PlanId& plan) override;
    void notifyPlansChanged(const PlanId& plan) override;
    // A plan entry was chosen: shows the plan's day to read; raises
    // "Specified plan index is out of range (%d requested, %d max)" for a
    // plan that no longer exists.
    void openPlanEntry(const PlanId& plan);

    // Asks for a printer and prints plan's day table on it; nothing when the
    // dialog is cancelled. Raises the store's, the Bible's and printing errors.
    void printPlanDetails(const PlanId& plan);
    // The same on a printer already chosen; pages fromPage..toPage, 0, 0 for
    // all of them.
    void printPlanDetails(const PlanId& plan, QPrinter& printer, int fromPage = 0, int toPage = 0) override;

    // The plan and day the reading page shows; a null plan when none.
    const PlanId& currentPlan() const { return currentPlan_; }
    int currentPlanDay() const { return currentPlanDay_; }
    // The second day shown while doubling up; nothing otherwise.
    std::optional<int> currentSecondDay() const { return secondDay_; }

signals:
    // The plan entries were rebuilt (after every reload of the store).
    void planEntriesChanged(const std::vector<kovara::ui::PlanEntry>& entries);

private:
    // plan's position in the store's list as it is now: -1 for a null plan,
    // the plan count (a position beyond the last plan) when it is gone.
    int position(const PlanId& plan) const;
    void showDay(const PlanId& plan, std::optional<int> day, bool makeCurrent);
    // The Bible a plan is read in: its imported version when that can be
    // opened, else the shipped Bible. Fills the reading page's version list.
    BibleStore& planBible(const std::string& module);
    void chooseVersion(int index);
    void chooseSideBySide(const std::vector<int>& indexes);
    void forgetPlan();
    void clearReadingPage();
    void showReadingPageAgain();
    void showProgress(const PlanId& plan);
    void hideUndo();
    NewPlanDialog& newPlanDialog();
    void guarded(const std::function<void()>& body);

    Shell& shell_;
    ReadingPage* readingPage_ = nullptr;
    PlanManagerPage* planManager_ = nullptr;
    QWidget* window_;
    HtmlViewer* printViewer_ = nullptr;
    NewPlanDialog* newPlanDlg_;
    PlanId managerPlan_; // the plan the manager shows when it is made
    QMenu* readingMenu_ = nullptr;
    QAction* readingMenuBreak_ = nullptr;
    std::vector<QPointer<QAction>> menuEntries_;
    std::vector<PlanEntry> entries_;
    GroupBarGroup* sideBarGroup_ = nullptr;
    std::vector<QPointer<QAction>> sideBarEntries_; // owned by the group

    // The imported version the reading page shows, while one does.
    std::unique_ptr<BibleStore> versionBible_;
    std::unique_ptr<BibleStore> retiredBible_;
    std::string versionModule_;
    std::vector<std::string> versionModules_; // beside the page's version list; "" for the shipped Bible
    // The versions shown beside a plan's passage (any plan's): their modules
    // ("" for the shipped Bible) and the Bibles opened for them (null for the
    // shipped one).
    std::vector<std::string> sideModules_;
    std::vector<std::unique_ptr<BibleStore>> sideBibles_;

    PlanId currentPlan_;
    int currentPlanDay_ = 0;
    std::optional<int> secondDay_;
    // Set while the controller tells the session of its own change, which
    // it has already shown.
    bool notifying_ = false;

    // What undoCatchUp needs: the replacement, and the new plan's read flags
    // and start as they were made (a change since makes the undo unsafe).
    std::optional<PlanReplacement> undo_;
    std::vector<bool> undoFlags_;
    sys_seconds undoStart_{};
};

} // namespace kovara::ui
