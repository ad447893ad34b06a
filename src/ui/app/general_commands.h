#pragma once
// The main window's general commands: copy the selection of the current page,
// print the current page, printer setup, help for the current page or the help
// contents, the product web site, a support e-mail, the update check and the
// about box. The controller owns the printer the print commands use (kept for
// the whole run, so the printer setup's choices carry over to the next
// printout), the help window and the about box.
//
// It acts on the current page, which says what it can copy and print and
// where its help is (ContentPage):
//
//   Copy    copies the page's selection; on a page without one it copies
//           nothing and switches the Copy action off
//   Print   a page with a paged printout: the print dialog with its page
//           range, then the chosen pages; a page that prints whole: the
//           dialog without a range, then everything; otherwise nothing
//   Help    the page's context, or the contents
//
// The window keeps the enabling rules current (canCopy, canPrint) from the
// pages' contentStateChanged signals and page switches.
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
class QUrl;
class QWidget;

namespace kovara::ui {

class ContentPage;
struct MainActions;
class HtmlViewer;
class Shell;
class AboutDialog;
class HelpViewer;

class GeneralCommands : public QObject {
    Q_OBJECT
public:
    // Shown after a printing failure's own message and two line feeds.
    static constexpr const char* kPrinterHint =
        QT_TRANSLATE_NOOP("kovara::ui::GeneralCommands", "Please ensure that you have a printer properly installed.");
    static constexpr const char* kPrintSetupFailed =
        QT_TRANSLATE_NOOP("kovara::ui::GeneralCommands", "Unable to open Print Setup dialog. Please verify that you have a properly installed printer.");

    // window parents the help window and the about box (and centres the
    // latter); shell gives the dialogs and the folders, currentPage the page
    // the commands act on (null for none).
    GeneralCommands(Shell& shell, std::function<ContentPage*()> currentPage, QWidget* window);
    ~GeneralCommands() override;

    // Runs the commands from the window's actions: Copy, Print, Print
    // Setup, Help (F1), the web site, the e-mail, the update check, About,
    // and openHelpContents ("Open Help" of the Help menu).
    void connectActions(const MainActions& actions, QAction* openHelpContents);

    // The enabling rules of Copy and Print for the current page.
    bool canCopy() const;
    bool canPrint() const;

    // The printer every printout goes to.
    // The one printer of the run, made on first use.
    QPrinter& printer();
    // The help window, made on first use.
    HelpViewer* helpViewer();

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
    void printViewer(HtmlViewer& viewer);
    void printWhole(ContentPage& page);
    // Names the printout after what is printed and, when the printer still
    // writes to the file of the last printout, proposes a file of that name
    // in the same folder instead, so printing again does not overwrite it.
    void nameDocument(const ContentPage& page);
    // After the print dialog: false when the output file exists and the user
    // would rather not replace it.
    bool confirmReplace();
    // Checks that a printer is there and runs print. A printout to a file is
    // written beside that file and takes its name only once complete, so a
    // failure or a kill midway leaves an earlier file as it was. Raises when
    // the file cannot be written, so the failure is shown instead of a
    // printout silently going nowhere.
    void printToOutput(const std::function<void()>& print);
    void prepareHelp();
    // Opens url through openUrl, or shows the notice with the address.
    void openAddress(const QUrl& url);
    void guarded(const std::function<void()>& body);

    Shell& shell_;
    std::function<ContentPage*()> currentPage_;
    std::unique_ptr<QPrinter> printer_;
    QString lastPrintedFile_; // the file of the last printout to a file
    QWidget* window_;
    HelpViewer* helpViewer_ = nullptr;
    AboutDialog* aboutBox_ = nullptr;
};

} // namespace kovara::ui
