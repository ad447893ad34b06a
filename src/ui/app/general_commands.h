#pragma once
// The main window's general commands: copy the selection of the current page,
// print the current page, printer setup, help for the current page or the help
// contents, the product web site, a support e-mail, the update check and the
// about box. The controller owns the printer the print commands use (kept for
// the whole run, so the printer setup's choices carry over to the next
// printout), the help window and the about box.
//
// It works on the components the main window hands it in GeneralTargets and
// looks at Shell::currentPage to decide what a command acts on:
//
//   page           Copy works on        Print does                      Help
//   Welcome        nothing (disabled)   nothing (disabled)              contents
//   Devotional     devotionalViewer     page-range dialog, then prints  context 40
//   Reading      bibleViewer          page-range dialog, then prints  context 30
//   Bible          biblePageViewer      page-range dialog, then prints  context 60
//                  (copies carry the verses' reference)
//   planManager    nothing (disabled)   printPlan(currentPlan()) after  context 80
//                                       a dialog without page range;
//                                       disabled while currentPlan() < 0
//   prayerStore  prayerText           dialog without page range, then context 50
//                                       prints the whole text
//
// Wiring in the main window, in outline:
//   general_ = new GeneralCommands(*this, {
//       devotionalPage->Viewer(),
//       plans_->readingPage()->passageView->Viewer(),
//       prayerTrackerPage->textArea(),
//       [this] { return plans_->planManager()->currentPlan(); },
//       [this](int plan, QPrinter& printer) { plans_->printPlanDetails(plan, printer); }}, this);
//   general_->copyAction = copyAction;   // Ctrl+C
//   copyAction      -> copy       enabled = general_->canCopy()
//   printAction     -> print      enabled = general_->canPrint()
//   printSetupAction-> printSetup
//   helpAction (F1) -> showHelp
//   "Open Help" in the Help menu (a plain entry) -> openHelpContents
//   websiteAction -> openWebsite
//   emailAction       -> sendEmail
//   checkUpdateAction -> checkUpdate
//   aboutAction       -> showAbout
// The two enabling rules go into the window's updateActions(), which runs on
// page switches, on selection changes (the viewers' and the prayer text's
// selectionChanged) and from the idle timer.
//
// Every slot runs through the error guard; the print command shows its own
// message (the error, two line feeds and a hint to check the printer). When
// the web site, the update check or the e-mail (also from the about box)
// cannot be opened, a notice shows the address to copy.
#include "ui/base/core_names.h"
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
class AboutDialog;
class HelpViewer;

// The components the general commands act on; none is owned.
struct GeneralTargets {
    HtmlViewer* devotionalViewer = nullptr;
    HtmlViewer* bibleViewer = nullptr;
    // The Bible page's viewer; null until the page is first opened.
    std::function<HtmlViewer*()> biblePageViewer;
    QTextEdit* prayerText = nullptr;
    // The plan the plan manager shows; -1 when none.
    std::function<int()> currentPlan;
    // Prints the plan's day table on printer (already chosen); raises on failure.
    std::function<void(int plan, QPrinter& printer)> printPlan;
    // What the current page would print, in a few words ("John 3", a plan's
    // title): the printout's document name and the file name proposed for a
    // printout to a file. Optional.
    std::function<QString()> documentTitle;
};

class GeneralCommands : public QObject {
    Q_OBJECT
public:
    // The help contexts of the pages.
    static constexpr int kHelpBibleRead = 30;
    static constexpr int kHelpDevotional = 40;
    static constexpr int kHelpPrayerTracker = 50;
    static constexpr int kHelpPlanManager = 80;
    static constexpr int kHelpBible = 60;
    // Shown after a printing failure's own message and two line feeds.
    static constexpr const char* kPrinterHint =
        QT_TRANSLATE_NOOP("kovara::ui::GeneralCommands", "Please ensure that you have a printer properly installed.");
    static constexpr const char* kPrintSetupFailed =
        QT_TRANSLATE_NOOP("kovara::ui::GeneralCommands", "Unable to open Print Setup dialog. Please verify that you have a properly installed printer.");

    // window parents the help window and the about box (and centres the
    // latter); shell gives the current page, the dialogs and the folders.
    GeneralCommands(Shell& shell, GeneralTargets targets, QWidget* window);
    ~GeneralCommands() override;

    // The enabling rules of Copy and Print for the current page.
    bool canCopy() const;
    bool canPrint() const;

    // The printer every printout goes to.
    // The one printer of the run, made on first use.
    QPrinter& printer();
    HelpViewer* helpViewer() const { return helpViewer_; }

    // Optional: the Copy action, disabled when Copy runs on a page without
    // copyable text.
    QAction* copyAction = nullptr;
    // The file version text sent with the e-mail and the update check and shown
    // in the about box; the program's own by default.
    std::string fileVersion;
    // Opens an outside address; QDesktopServices::openUrl by default. Returns
    // false when the desktop has no program for it: the commands then show
    // the address in a notice, selectable, so the user can copy it.
    std::function<bool(const QUrl&)> openUrl;
    // Shows the about box; a modal exec() by default.
    std::function<void(AboutDialog&)> showAboutBox;

    // Opens the update-check page with the version query. Raises when the file
    // version text has fewer than four parts.
    void checkForUpdate();

public slots:
    void copy();
    void print();
    void printSetup();
    void showHelp();
    void openHelpContents();
    void openWebsite();
    void sendEmail();
    void checkUpdate();
    void showAbout();

private:
    // The viewer of the current page, or null on a page without one.
    HtmlViewer* currentViewer() const;
    void printViewer(HtmlViewer& viewer);
    // The print dialog without a page range; false when cancelled.
    bool chooseWholePrintout();
    void printPrayerText();
    void printPlan(int plan);
    // Names the printout after what is printed and, when the printer still
    // writes to the file of the last printout, proposes a file of that name
    // in the same folder instead, so printing again does not overwrite it.
    void nameDocument();
    // After the print dialog: false when the output file exists and the user
    // would rather not replace it.
    bool confirmReplace();
    // Raises when the printer writes to a file that cannot be written, so the
    // failure is shown instead of a printout silently going nowhere.
    void checkPrinterOutput();
    void prepareHelp();
    // Opens url through openUrl, or shows the notice with the address.
    void openAddress(const QUrl& url);
    void guarded(const std::function<void()>& body);

    Shell& shell_;
    GeneralTargets targets_;
    std::unique_ptr<QPrinter> printer_;
    QString lastPrintedFile_; // the file of the last printout to a file
    HelpViewer* helpViewer_;
    AboutDialog* aboutBox_;
};

} // namespace kovara::ui
