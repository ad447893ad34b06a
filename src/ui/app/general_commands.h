#pragma once
// The main window's general commands: copy the selection of the current page,
// print the current page, printer setup, help for the current page or the help
// contents, the product web site, a support e-mail, the update check and the
// about box. The controller owns the printer the print commands use (kept for
// the whole run, so the printer setup's choices carry over to the next
// printout), the help window and the about box.
//
// It works on the components the main window hands it in GeneralTargets and
// looks at Shell::CurrentPage to decide what a command acts on:
//
//   page           Copy works on        Print does                      Help
//   Welcome        nothing (disabled)   nothing (disabled)              contents
//   Devotional     devotionalViewer     page-range dialog, then prints  context 40
//   BibleRead      bibleViewer          page-range dialog, then prints  context 30
//   PlanManager    nothing (disabled)   printPlan(currentPlan()) after  context 80
//                                       a dialog without page range;
//                                       disabled while currentPlan() < 0
//   PrayerTracker  prayerText           dialog without page range, then context 50
//                                       prints the whole text
//
// Wiring in the main window, in outline:
//   general_ = new TGeneralCommands(*this, {
//       FrameKOVADevotionalDisplay1->Viewer(),
//       plans_->ReadingPage()->FrameKOVABibleDisplay1->Viewer(),
//       FrameKOVAPrayerTracker1->TextArea(),
//       [this] { return plans_->PlanManager()->CurrentPlan(); },
//       [this](int plan, QPrinter& printer) { plans_->PrintPlanDetails(plan, printer); }}, this);
//   general_->CopyAction = ActionCopy;   // Ctrl+C
//   ActionCopy      -> ActionCopyExecute       enabled = general_->ActionCopyUpdate()
//   ActionPrint     -> ActionPrintExecute      enabled = general_->ActionPrintUpdate()
//   ActionPrintSetup-> ActionPrintSetupExecute
//   ActionHelp (F1) -> ActionHelpExecute
//   "Open Help" in the Help menu (a plain entry) -> OpenHelpContents1Click
//   ActionKOVAWebsite -> ActionKOVAWebsiteExecute
//   ActionEmail       -> ActionEmailExecute
//   ActionCheckUpdate -> ActionCheckUpdateExecute
//   ActionAbout       -> ActionAboutExecute
// The two enabling rules go into the window's updateActions(), which runs on
// page switches, on selection changes (the viewers' and the prayer text's
// selectionChanged) and from the idle timer.
//
// Every slot runs through the error guard; the print command shows its own
// message (the error, two line feeds and a hint to check the printer).
#include <QObject>
#include <QString>
#include <functional>
#include <memory>
#include <string>

class QAction;
class QPrinter;
class QTextEdit;
class QUrl;
class QWidget;

namespace kovara::ui {

class HtmlViewer;
class Shell;
class TFormAboutBox;
class THelpViewer;

// The components the general commands act on; none is owned.
struct GeneralTargets {
    HtmlViewer* devotionalViewer = nullptr;
    HtmlViewer* bibleViewer = nullptr;
    QTextEdit* prayerText = nullptr;
    // The plan the plan manager shows; -1 when none.
    std::function<int()> currentPlan;
    // Prints the plan's day table on printer (already chosen); raises on failure.
    std::function<void(int plan, QPrinter& printer)> printPlan;
};

class TGeneralCommands : public QObject {
    Q_OBJECT
public:
    // The help contexts of the pages.
    static constexpr int kHelpBibleRead = 30;
    static constexpr int kHelpDevotional = 40;
    static constexpr int kHelpPrayerTracker = 50;
    static constexpr int kHelpPlanManager = 80;
    // Shown after a printing failure's own message and two line feeds.
    static constexpr const char* kPrinterHint = "Please ensure that you have a printer properly installed.";
    static constexpr const char* kPrintSetupFailed =
        "Unable to open Print Setup dialog. Please verify that you have a properly installed printer.";

    // window parents the help window and the about box (and centres the
    // latter); shell gives the current page, the dialogs and the folders.
    TGeneralCommands(Shell& shell, GeneralTargets targets, QWidget* window);
    ~TGeneralCommands() override;

    // The enabling rules of Copy and Print for the current page.
    bool ActionCopyUpdate() const;
    bool ActionPrintUpdate() const;

    // The printer every printout goes to.
    // The one printer of the run, made on first use.
    QPrinter& Printer();
    THelpViewer* HelpViewer() const { return helpViewer_; }
    TFormAboutBox* AboutBox() const { return aboutBox_; }

    // Optional: the Copy action, disabled when Copy runs on a page without
    // copyable text.
    QAction* CopyAction = nullptr;
    // The file version text sent with the e-mail and the update check and shown
    // in the about box; the program's own by default.
    std::string FileVersion;
    // Opens an outside address; QDesktopServices::openUrl by default. Its
    // failure is not reported.
    std::function<void(const QUrl&)> OpenUrl;
    // Shows the about box; a modal exec() by default.
    std::function<void(TFormAboutBox&)> ShowAboutBox;

    // Opens the update-check page with the version query. Raises when the file
    // version text has fewer than four parts.
    void CheckForUpdate();

public slots:
    void ActionCopyExecute();
    void ActionPrintExecute();
    void ActionPrintSetupExecute();
    void ActionHelpExecute();
    void OpenHelpContents1Click();
    void ActionKOVAWebsiteExecute();
    void ActionEmailExecute();
    void ActionCheckUpdateExecute();
    void ActionAboutExecute();

private:
    // The viewer of the current page, or null on a page without one.
    HtmlViewer* CurrentViewer() const;
    void PrintViewer(HtmlViewer& viewer);
    // The print dialog without a page range; false when cancelled.
    bool ChooseWholePrintout();
    void PrintPrayerText();
    void PrintPlan(int plan);
    // Raises when the printer writes to a file that cannot be written, so the
    // failure is shown instead of a printout silently going nowhere.
    void CheckPrinterOutput();
    void PrepareHelp();
    void Guarded(const std::function<void()>& body);

    Shell& shell_;
    GeneralTargets targets_;
    std::unique_ptr<QPrinter> printer_;
    THelpViewer* helpViewer_;
    TFormAboutBox* aboutBox_;
};

} // namespace kovara::ui
