#include "ui/app/general_commands.h"
#include "ui/base/core_names.h"

#include "core/app/links.h"
#include "core/settings/version.h"
#include "core/base/atomic_file.h"
#include "core/base/exception.h"
#include "ui/base/dialogs.h"
#include "ui/base/error_guard.h"
#include "ui/app/about_dialog.h"
#include "ui/app/help_viewer.h"
#include "ui/app/main_actions.h"
#include "ui/base/shell.h"
#include "ui/base/content_page.h"
#include "ui/base/html_viewer.h"
#include "ui/base/text_codec.h"

#include <QAction>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QFile>
#include <QFileInfo>
#include <QDir>
#include <QPrinter>
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

GeneralCommands::GeneralCommands(Shell& shell, std::function<ContentPage*()> currentPage, QWidget* window)
    : QObject(window), shell_(shell), currentPage_(std::move(currentPage)), window_(window)
{
    fileVersion = fileVersionText();
    openUrl = [](const QUrl& url) { return QDesktopServices::openUrl(url); };
    showAboutBox = [](AboutDialog& box) { box.exec(); };
    // The help window and the about box are made when first asked for.
}

GeneralCommands::~GeneralCommands() = default;

HelpViewer* GeneralCommands::helpViewer()
{
    if (!helpViewer_)
        helpViewer_ = new HelpViewer(window_);
    return helpViewer_;
}

void GeneralCommands::connectActions(const MainActions& actions, QAction* openHelpContents)
{
    copyAction = actions.copyAction;
    // The slots run their own error guard.
    const auto bind = [this](QAction* action, void (GeneralCommands::*slot)()) {
        connect(action, &QAction::triggered, this, slot);
    };
    bind(actions.copyAction, &GeneralCommands::copy);
    bind(actions.printAction, &GeneralCommands::print);
    bind(actions.printSetupAction, &GeneralCommands::printSetup);
    bind(actions.helpAction, &GeneralCommands::showHelp);
    bind(openHelpContents, &GeneralCommands::openHelpContents);
    bind(actions.websiteAction, &GeneralCommands::openWebsite);
    bind(actions.emailAction, &GeneralCommands::sendEmail);
    bind(actions.checkUpdateAction, &GeneralCommands::checkUpdate);
    bind(actions.aboutAction, &GeneralCommands::showAbout);
}

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

bool GeneralCommands::canCopy() const
{
    const ContentPage* page = currentPage_();
    return page && page->canCopy();
}

bool GeneralCommands::canPrint() const
{
    const ContentPage* page = currentPage_();
    return page && page->canPrint();
}

void GeneralCommands::copy()
{
    guarded([this] {
        ContentPage* page = currentPage_();
        if (page && page->canCopy()) {
            page->copy();
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
        ContentPage* page = currentPage_();
        if (!page)
            return;
        if (HtmlViewer* viewer = page->pagedPrintout()) {
            nameDocument(*page);
            printViewer(*viewer);
        } else if (page->canPrintWhole()) {
            nameDocument(*page);
            printWhole(*page);
        }
    } catch (const std::exception& e) {
        dialogs.message(fromBytes(e.what()) + QStringLiteral("\n\n") + tr(kPrinterHint),
                        Dialogs::Icon::Error);
    }
}

void GeneralCommands::nameDocument(const ContentPage& page)
{
    QString title = page.printTitle();
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
    const int pages = viewer.pageCount(printer());
    // The dialog opens on the whole content: from page 1 to the last.
    printer().setPrintRange(QPrinter::AllPages);
    printer().setFromTo(1, pages);
    int fromPage = 1;
    int toPage = pages;
    if (!shell_.dialogs().print(printer(), 1, pages, fromPage, toPage) || !confirmReplace())
        return;
    printToOutput([&] { viewer.printPages(printer(), fromPage, toPage); });
    lastPrintedFile_ = printer().outputFileName();
}

void GeneralCommands::printWhole(ContentPage& page)
{
    // No page range: the whole document prints, whatever range an earlier
    // printout left on the printer.
    printer().setPrintRange(QPrinter::AllPages);
    printer().setFromTo(0, 0);
    int fromPage = 0;
    int toPage = 0;
    if (!shell_.dialogs().print(printer(), 0, 0, fromPage, toPage) || !confirmReplace())
        return;
    printer().setPrintRange(QPrinter::AllPages);
    printer().setFromTo(0, 0);
    printToOutput([&] { page.printWhole(printer()); });
    lastPrintedFile_ = printer().outputFileName();
}

void GeneralCommands::printToOutput(const std::function<void()>& print)
{
    if (!printer().isValid())
        throw Exception(toBytes(tr("No printer is available.")));
    const QString file = printer().outputFileName();
    if (file.isEmpty()) {
        print();
        return;
    }
    AtomicFile out(QFile::encodeName(file).toStdString());
    if (!out.ok())
        throw Exception(toBytes(tr("Unable to write the printout to \"%1\".").arg(file)));
    // The printer keeps the reader's file name for the next printout,
    // whatever happens.
    struct RestoreName {
        QPrinter& printer;
        QString name;
        ~RestoreName() { printer.setOutputFileName(name); }
    } restore{printer(), file};
    printer().setOutputFileName(QFile::decodeName(out.tempPath().c_str()));
    print();
    if (!out.commit())
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
    helpViewer()->setHelpFile(fromBytes(shell_.contentFolder() + "KOVA2.hlp"));
}

void GeneralCommands::showHelp()
{
    guarded([this] {
        prepareHelp();
        const ContentPage* page = currentPage_();
        const HelpContext context = page ? page->helpContext() : HelpContext::Contents;
        if (context == HelpContext::Contents)
            helpViewer_->showContents();
        else
            helpViewer_->showContext(static_cast<int>(context));
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
        if (!aboutBox_) {
            aboutBox_ = new AboutDialog(window_);
            aboutBox_->openUrl = [this](const QUrl& url) { guarded([&] { openAddress(url); }); };
        }
        aboutBox_->fileVersion = fromBytes(fileVersion);
        aboutBox_->userDataFolder = fromBytes(shell_.userDataFolder());
        showAboutBox(*aboutBox_);
    });
}

} // namespace kovara::ui
