#include "ui/app/general_commands.h"

#include "app/links.h"
#include "app/version.h"
#include "base/exception.h"
#include "ui/app/dialogs.h"
#include "ui/app/error_guard.h"
#include "ui/app/formAbout.h"
#include "ui/app/help_viewer.h"
#include "ui/shell.h"
#include "ui/widgets/html_viewer.h"
#include "ui/widgets/text_codec.h"

#include <QAction>
#include <QDesktopServices>
#include <QFile>
#include <QPrinter>
#include <QTextEdit>
#include <QUrl>
#include <exception>

namespace kovara::ui {

TGeneralCommands::TGeneralCommands(Shell& shell, GeneralTargets targets, QWidget* window)
    : QObject(window), shell_(shell), targets_(std::move(targets))
{
    FileVersion = FileVersionText();
    OpenUrl = [](const QUrl& url) { QDesktopServices::openUrl(url); };
    ShowAboutBox = [](TFormAboutBox& box) { box.exec(); };
    helpViewer_ = new THelpViewer(window);
    aboutBox_ = new TFormAboutBox(window);
    aboutBox_->OpenUrl = [this](const QUrl& url) {
        if (OpenUrl)
            OpenUrl(url);
    };
}

TGeneralCommands::~TGeneralCommands() = default;

QPrinter& TGeneralCommands::Printer()
{
    // Made on first use: looking up the printers takes a noticeable part of
    // start-up, and most mornings nothing is printed.
    if (!printer_)
        printer_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
    return *printer_;
}

void TGeneralCommands::Guarded(const std::function<void()>& body)
{
    RunGuarded(shell_.GetDialogs(), body);
}

HtmlViewer* TGeneralCommands::CurrentViewer() const
{
    switch (shell_.CurrentPage()) {
    case Page::Devotional:
        return targets_.devotionalViewer;
    case Page::BibleRead:
        return targets_.bibleViewer;
    default:
        return nullptr;
    }
}

bool TGeneralCommands::ActionCopyUpdate() const
{
    if (const HtmlViewer* viewer = CurrentViewer())
        return viewer->SelectionLength() > 0;
    if (shell_.CurrentPage() == Page::PrayerTracker && targets_.prayerText)
        return targets_.prayerText->textCursor().hasSelection();
    return false;
}

bool TGeneralCommands::ActionPrintUpdate() const
{
    switch (shell_.CurrentPage()) {
    case Page::Devotional:
        return targets_.devotionalViewer != nullptr;
    case Page::BibleRead:
        return targets_.bibleViewer != nullptr;
    case Page::PrayerTracker:
        return targets_.prayerText != nullptr;
    case Page::PlanManager:
        return targets_.currentPlan && targets_.printPlan && targets_.currentPlan() >= 0;
    case Page::Welcome:
        break;
    }
    return false;
}

void TGeneralCommands::ActionCopyExecute()
{
    Guarded([this] {
        if (HtmlViewer* viewer = CurrentViewer()) {
            viewer->CopySelection();
            return;
        }
        if (shell_.CurrentPage() == Page::PrayerTracker && targets_.prayerText) {
            targets_.prayerText->copy();
            return;
        }
        if (CopyAction)
            CopyAction->setEnabled(false);
    });
}

void TGeneralCommands::ActionPrintExecute()
{
    Dialogs& dialogs = shell_.GetDialogs();
    try {
        switch (shell_.CurrentPage()) {
        case Page::Devotional:
        case Page::BibleRead:
            if (HtmlViewer* viewer = CurrentViewer())
                PrintViewer(*viewer);
            break;
        case Page::PrayerTracker:
            if (targets_.prayerText)
                PrintPrayerText();
            break;
        case Page::PlanManager:
            if (ActionPrintUpdate())
                PrintPlan(targets_.currentPlan());
            break;
        case Page::Welcome:
            break;
        }
    } catch (const std::exception& e) {
        dialogs.Message(FromBytes(e.what()) + QStringLiteral("\n\n") + QString::fromLatin1(kPrinterHint),
                        Dialogs::Icon::Error);
    }
}

void TGeneralCommands::PrintViewer(HtmlViewer& viewer)
{
    Printer().setDocName(QStringLiteral("Kovara"));
    const int pages = viewer.PageCount(Printer());
    // The dialog opens on the whole content: from page 1 to the last.
    Printer().setPrintRange(QPrinter::AllPages);
    Printer().setFromTo(1, pages);
    int fromPage = 1;
    int toPage = pages;
    if (!shell_.GetDialogs().Print(Printer(), 1, pages, fromPage, toPage))
        return;
    CheckPrinterOutput();
    viewer.PrintPages(Printer(), fromPage, toPage);
}

bool TGeneralCommands::ChooseWholePrintout()
{
    // No page range: the whole document prints, whatever range an earlier
    // printout left on the printer.
    Printer().setDocName(QStringLiteral("Kovara"));
    Printer().setPrintRange(QPrinter::AllPages);
    Printer().setFromTo(0, 0);
    int fromPage = 0;
    int toPage = 0;
    if (!shell_.GetDialogs().Print(Printer(), 0, 0, fromPage, toPage))
        return false;
    Printer().setPrintRange(QPrinter::AllPages);
    Printer().setFromTo(0, 0);
    CheckPrinterOutput();
    return true;
}

void TGeneralCommands::PrintPrayerText()
{
    if (ChooseWholePrintout())
        targets_.prayerText->print(&Printer());
}

void TGeneralCommands::PrintPlan(int plan)
{
    if (ChooseWholePrintout())
        targets_.printPlan(plan, Printer());
}

void TGeneralCommands::CheckPrinterOutput()
{
    if (!Printer().isValid())
        throw Exception("No printer is available.");
    const QString file = Printer().outputFileName();
    if (file.isEmpty())
        return;
    // Opening for appending leaves an existing file as it is; the printout
    // replaces it right after.
    QFile probe(file);
    if (!probe.open(QIODevice::WriteOnly | QIODevice::Append))
        throw Exception(Format("Unable to write the printout to \"%s\".", ToBytes(file)));
}

void TGeneralCommands::ActionPrintSetupExecute()
{
    Dialogs& dialogs = shell_.GetDialogs();
    try {
        if (!Printer().isValid())
            throw Exception("No printer is available.");
        dialogs.PrinterSetup(Printer());
    } catch (const std::exception&) {
        dialogs.Message(QString::fromLatin1(kPrintSetupFailed), Dialogs::Icon::Error);
    }
}

void TGeneralCommands::PrepareHelp()
{
    helpViewer_->SetHelpFile(FromBytes(shell_.ProgramFolder() + "KOVA2.hlp"));
}

void TGeneralCommands::ActionHelpExecute()
{
    Guarded([this] {
        PrepareHelp();
        switch (shell_.CurrentPage()) {
        case Page::Devotional:
            helpViewer_->ShowContext(kHelpDevotional);
            break;
        case Page::BibleRead:
            helpViewer_->ShowContext(kHelpBibleRead);
            break;
        case Page::PlanManager:
            helpViewer_->ShowContext(kHelpPlanManager);
            break;
        case Page::PrayerTracker:
            helpViewer_->ShowContext(kHelpPrayerTracker);
            break;
        case Page::Welcome:
            helpViewer_->ShowContents();
            break;
        }
    });
}

void TGeneralCommands::OpenHelpContents1Click()
{
    Guarded([this] {
        PrepareHelp();
        helpViewer_->ShowContents();
    });
}

void TGeneralCommands::ActionKOVAWebsiteExecute()
{
    Guarded([this] { OpenUrl(QUrl(QString::fromLatin1(kProductWebsite))); });
}

void TGeneralCommands::ActionEmailExecute()
{
    Guarded([this] { OpenUrl(QUrl(FromBytes(SupportEmailUrl(FileVersion)))); });
}

void TGeneralCommands::CheckForUpdate()
{
    OpenUrl(QUrl(FromBytes(UpdateCheckUrl(FileVersion))));
}

void TGeneralCommands::ActionCheckUpdateExecute()
{
    Guarded([this] { CheckForUpdate(); });
}

void TGeneralCommands::ActionAboutExecute()
{
    Guarded([this] {
        aboutBox_->FileVersion = FromBytes(FileVersion);
        aboutBox_->UserDataFolder = FromBytes(shell_.UserDataFolder());
        ShowAboutBox(*aboutBox_);
    });
}

} // namespace kovara::ui
