#include "ui/app/general_commands.h"
#include "ui/base/core_names.h"

#include "core/app/links.h"
#include "core/settings/version.h"
#include "core/base/exception.h"
#include "ui/base/dialogs.h"
#include "ui/base/error_guard.h"
#include "ui/app/about_dialog.h"
#include "ui/app/help_viewer.h"
#include "ui/base/shell.h"
#include "ui/base/html_viewer.h"
#include "ui/base/text_codec.h"

#include <QAction>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QFile>
#include <QFileInfo>
#include <QDir>
#include <QPrinter>
#include <QTextEdit>
#include <QUrl>
#include <QUrlQuery>
#include <exception>

namespace kovara::ui {

namespace {

// The notice for an address the desktop could not open. The message box text
// is selectable, so the address can be copied from it.
QString addressNotice(const QUrl& url)
{
    if (url.scheme() == QLatin1String("mailto")) {
        QString text = QCoreApplication::translate("kovara::ui::GeneralCommands", "Kovara could not start an e-mail program. You can write to technical support "
                                      "at this address:\n\n%1")
                           .arg(url.path());
        const QString subject = QUrlQuery(url).queryItemValue(QStringLiteral("subject"), QUrl::FullyDecoded);
        if (!subject.isEmpty())
            text += QCoreApplication::translate("kovara::ui::GeneralCommands", "\n\nPlease use the subject \"%1\".").arg(subject);
        return text;
    }
    return QCoreApplication::translate("kovara::ui::GeneralCommands", "Kovara could not open a web browser. You can copy this address into your browser:\n\n%1")
        .arg(url.toString(QUrl::FullyEncoded));
}

} // namespace

GeneralCommands::GeneralCommands(Shell& shell, GeneralTargets targets, QWidget* window)
    : QObject(window), shell_(shell), targets_(std::move(targets))
{
    fileVersion = fileVersionText();
    openUrl = [](const QUrl& url) { return QDesktopServices::openUrl(url); };
    showAboutBox = [](AboutDialog& box) { box.exec(); };
    helpViewer_ = new HelpViewer(window);
    aboutBox_ = new AboutDialog(window);
    aboutBox_->openUrl = [this](const QUrl& url) { guarded([&] { openAddress(url); }); };
}

GeneralCommands::~GeneralCommands() = default;

QPrinter& GeneralCommands::printer()
{
    // Made on first use: looking up the printers takes a noticeable part of
    // start-up, and most mornings nothing is printed.
    if (!printer_)
        printer_ = std::make_unique<QPrinter>(QPrinter::HighResolution);
    return *printer_;
}

void GeneralCommands::guarded(const std::function<void()>& body)
{
    runGuarded(shell_.dialogs(), body);
}

HtmlViewer* GeneralCommands::currentViewer() const
{
    switch (shell_.currentPage()) {
    case Page::Devotional:
        return targets_.devotionalViewer;
    case Page::Reading:
        return targets_.bibleViewer;
    case Page::Bible:
        return targets_.biblePageViewer ? targets_.biblePageViewer() : nullptr;
    default:
        return nullptr;
    }
}

bool GeneralCommands::canCopy() const
{
    if (const HtmlViewer* viewer = currentViewer())
        return viewer->selectionLength() > 0;
    if (shell_.currentPage() == Page::PrayerTracker && targets_.prayerText)
        return targets_.prayerText->textCursor().hasSelection();
    return false;
}

bool GeneralCommands::canPrint() const
{
    switch (shell_.currentPage()) {
    case Page::Devotional:
        return targets_.devotionalViewer != nullptr;
    case Page::Reading:
        return targets_.bibleViewer != nullptr;
    case Page::Bible:
        return targets_.biblePageViewer && targets_.biblePageViewer();
    case Page::PrayerTracker:
        return targets_.prayerText != nullptr;
    case Page::PlanManager:
        return targets_.currentPlan && targets_.printPlan && targets_.currentPlan() >= 0;
    case Page::Welcome:
        break;
    }
    return false;
}

void GeneralCommands::copy()
{
    guarded([this] {
        if (HtmlViewer* viewer = currentViewer()) {
            viewer->copySelection();
            return;
        }
        if (shell_.currentPage() == Page::PrayerTracker && targets_.prayerText) {
            targets_.prayerText->copy();
            return;
        }
        if (copyAction)
            copyAction->setEnabled(false);
    });
}

void GeneralCommands::print()
{
    Dialogs& dialogs = shell_.dialogs();
    try {
        switch (shell_.currentPage()) {
        case Page::Devotional:
        case Page::Reading:
        case Page::Bible:
            if (HtmlViewer* viewer = currentViewer())
                printViewer(*viewer);
            break;
        case Page::PrayerTracker:
            if (targets_.prayerText)
                printPrayerText();
            break;
        case Page::PlanManager:
            if (canPrint())
                printPlan(targets_.currentPlan());
            break;
        case Page::Welcome:
            break;
        }
    } catch (const std::exception& e) {
        dialogs.message(fromBytes(e.what()) + QStringLiteral("\n\n") + tr(kPrinterHint),
                        Dialogs::Icon::Error);
    }
}

void GeneralCommands::nameDocument()
{
    QString title = targets_.documentTitle ? targets_.documentTitle() : QString();
    // Characters that file names and print queues handle badly become blanks.
    for (QChar& c : title)
        if (c.category() == QChar::Other_Control || QStringLiteral("/\\:*?\"<>|").contains(c))
            c = QLatin1Char(' ');
    title = title.simplified().left(80).trimmed();
    if (title.isEmpty())
        title = tr("Kovara");
    printer().setDocName(title);
    const QString file = printer().outputFileName();
    if (!file.isEmpty() && file == lastPrintedFile_)
        printer().setOutputFileName(QFileInfo(file).dir().filePath(title + QStringLiteral(".pdf")));
}

bool GeneralCommands::confirmReplace()
{
    const QString file = printer().outputFileName();
    if (file.isEmpty() || !QFileInfo::exists(file))
        return true;
    return shell_.dialogs().confirm(
        tr("The file \"%1\" already exists.\n\nDo you want to replace it?").arg(file),
        Dialogs::Answer::No, Dialogs::Icon::Warning);
}

void GeneralCommands::printViewer(HtmlViewer& viewer)
{
    nameDocument();
    const int pages = viewer.pageCount(printer());
    // The dialog opens on the whole content: from page 1 to the last.
    printer().setPrintRange(QPrinter::AllPages);
    printer().setFromTo(1, pages);
    int fromPage = 1;
    int toPage = pages;
    if (!shell_.dialogs().print(printer(), 1, pages, fromPage, toPage) || !confirmReplace())
        return;
    checkPrinterOutput();
    viewer.printPages(printer(), fromPage, toPage);
    lastPrintedFile_ = printer().outputFileName();
}

bool GeneralCommands::chooseWholePrintout()
{
    // No page range: the whole document prints, whatever range an earlier
    // printout left on the printer.
    nameDocument();
    printer().setPrintRange(QPrinter::AllPages);
    printer().setFromTo(0, 0);
    int fromPage = 0;
    int toPage = 0;
    if (!shell_.dialogs().print(printer(), 0, 0, fromPage, toPage) || !confirmReplace())
        return false;
    printer().setPrintRange(QPrinter::AllPages);
    printer().setFromTo(0, 0);
    checkPrinterOutput();
    return true;
}

void GeneralCommands::printPrayerText()
{
    if (chooseWholePrintout()) {
        targets_.prayerText->print(&printer());
        lastPrintedFile_ = printer().outputFileName();
    }
}

void GeneralCommands::printPlan(int plan)
{
    if (chooseWholePrintout()) {
        targets_.printPlan(plan, printer());
        lastPrintedFile_ = printer().outputFileName();
    }
}

void GeneralCommands::checkPrinterOutput()
{
    if (!printer().isValid())
        throw Exception(toBytes(tr("No printer is available.")));
    const QString file = printer().outputFileName();
    if (file.isEmpty())
        return;
    // Opening for appending leaves an existing file as it is; the printout
    // replaces it right after.
    QFile probe(file);
    if (!probe.open(QIODevice::WriteOnly | QIODevice::Append))
        throw Exception(toBytes(tr("Unable to write the printout to \"%1\".").arg(file)));
}

void GeneralCommands::printSetup()
{
    Dialogs& dialogs = shell_.dialogs();
    try {
        if (!printer().isValid())
            throw Exception(toBytes(tr("No printer is available.")));
        dialogs.printerSetup(printer());
    } catch (const std::exception&) {
        dialogs.message(tr(kPrintSetupFailed), Dialogs::Icon::Error);
    }
}

void GeneralCommands::prepareHelp()
{
    helpViewer_->setHelpFile(fromBytes(shell_.contentFolder() + "KOVA2.hlp"));
}

void GeneralCommands::showHelp()
{
    guarded([this] {
        prepareHelp();
        switch (shell_.currentPage()) {
        case Page::Devotional:
            helpViewer_->showContext(kHelpDevotional);
            break;
        case Page::Reading:
            helpViewer_->showContext(kHelpBibleRead);
            break;
        case Page::PlanManager:
            helpViewer_->showContext(kHelpPlanManager);
            break;
        case Page::PrayerTracker:
            helpViewer_->showContext(kHelpPrayerTracker);
            break;
        case Page::Bible:
            helpViewer_->showContext(kHelpBible);
            break;
        case Page::Welcome:
            helpViewer_->showContents();
            break;
        }
    });
}

void GeneralCommands::openHelpContents()
{
    guarded([this] {
        prepareHelp();
        helpViewer_->showContents();
    });
}

void GeneralCommands::openAddress(const QUrl& url)
{
    if (openUrl && openUrl(url))
        return;
    shell_.dialogs().message(addressNotice(url));
}

void GeneralCommands::openWebsite()
{
    guarded([this] { openAddress(QUrl(QString::fromLatin1(kProductWebsite))); });
}

void GeneralCommands::sendEmail()
{
    guarded([this] { openAddress(QUrl(fromBytes(supportEmailUrl(fileVersion)))); });
}

void GeneralCommands::checkForUpdate()
{
    openAddress(QUrl(fromBytes(updateCheckUrl(fileVersion))));
}

void GeneralCommands::checkUpdate()
{
    guarded([this] { checkForUpdate(); });
}

void GeneralCommands::showAbout()
{
    guarded([this] {
        aboutBox_->fileVersion = fromBytes(fileVersion);
        aboutBox_->userDataFolder = fromBytes(shell_.userDataFolder());
        showAboutBox(*aboutBox_);
    });
}

} // namespace kovara::ui
