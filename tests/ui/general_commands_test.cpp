// The general commands: Copy and Print per page, the print dialogs and what
// reaches the printer, printer setup, help per page, the outside addresses and
// the about box.
#include "ui/app/general_commands.h"
#include "ui/base/core_names.h"

#include "core/base/exception.h"
#include "fixtures.h"
#include "scripted_dialogs.h"
#include "ui/app/about_dialog.h"
#include "ui/app/help_viewer.h"
#include "ui/base/shell.h"
#include "ui/base/html_viewer.h"
#include "ui/base/content_page.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QPrinter>
#include <QPushButton>
#include <QPainter>
#include <QTextEdit>
#include <QTextBrowser>
#include <QUrl>
#include <gtest/gtest.h>
#include <stdexcept>

namespace kovara::ui {
namespace {

using test::ScriptedDialogs;

// Records the range the printer offers when the print dialog opens.
class RecordingDialogs : public ScriptedDialogs {
public:
    bool print(QPrinter& printer, int minPage, int maxPage, int& fromPage, int& toPage) override
    {
        offeredFrom = printer.fromPage();
        offeredTo = printer.toPage();
        proposedFile = printer.outputFileName();
        // The file the user picks in the dialog, when the test names one.
        if (!chosenFile.isEmpty())
            printer.setOutputFileName(chosenFile);
        return ScriptedDialogs::print(printer, minPage, maxPage, fromPage, toPage);
    }
    bool printerSetup(QPrinter& printer) override
    {
        if (failSetup)
            throw Exception("no printer driver");
        return ScriptedDialogs::printerSetup(printer);
    }
    int offeredFrom = -1, offeredTo = -1;
    QString proposedFile;
    QString chosenFile;
    bool failSetup = false;
};

class GeneralShell : public Shell {
public:
    Preferences& preferences() override { throw std::logic_error("not used"); }
    BibleStore& bible() override { throw std::logic_error("not used"); }
    DevotionalStore& devotional() override { throw std::logic_error("not used"); }
    PlanStore& planStore() override { throw std::logic_error("not used"); }
    PrayerStore& prayerStore() override { throw std::logic_error("not used"); }
    Dialogs& dialogs() override { return scripted; }
    const Clock& clock() override { throw std::logic_error("not used"); }
    const std::string& contentFolder() const override { return contentFolder_; }
    const std::string& userDataFolder() const override { return userFolder; }
    void showPage(Page p) override { page = p; }
    Page currentPage() const override { return page; }

    RecordingDialogs scripted;
    std::string contentFolder_ = std::string(KOVARA_BUILD_DIR) + "/";
    std::string userFolder;
    Page page = Page::Welcome;
};

// A page as the general commands see it; each test page is set up like the
// program's page it stands for.
class TestPage : public ContentPage {
public:
    TestPage(HelpContext help, const QString& title) : help_(help), title_(title) {}
    void follow(QTextEdit* text) { followText(text, nullptr); }

    HtmlViewer* paged = nullptr;
    std::function<bool()> printsWhole;
    std::function<void(QPrinter&)> printer;

    HtmlViewer* pagedPrintout() const override { return paged; }
    bool canPrintWhole() const override { return printsWhole && printsWhole(); }
    void printWhole(QPrinter& p) override { printer(p); }
    QString printTitle() const override { return title_; }
    HelpContext helpContext() const override { return help_; }

private:
    HelpContext help_;
    const QString& title_;
};

QString longPage(const QString& word, int paragraphs)
{
    QString html;
    for (int i = 0; i < paragraphs; ++i)
        html += QStringLiteral("<p>%1 paragraph %2 of a long page.</p>").arg(word).arg(i);
    return html;
}

class GeneralCommandsTest : public ::testing::Test {
protected:
    GeneralCommandsTest()
    {
        shell.userFolder = dir.folder();
        devotional.loadFromString(longPage("Devotional", 120));
        bible.loadFromString("<p>In the beginning</p>");
        prayer.setPlainText("Pray for the harvest");
        devotionalPage.follow(&devotional);
        devotionalPage.paged = &devotional;
        readingPage.follow(&bible);
        readingPage.paged = &bible;
        prayerPage.follow(&prayer);
        prayerPage.printsWhole = [] { return true; };
        prayerPage.printer = [this](QPrinter& printer) { prayer.print(&printer); };
        planPage.printsWhole = [this] { return currentPlan >= 0; };
        planPage.printer = [this](QPrinter& printer) {
            if (planError)
                throw Exception(planError);
            printedPlan = currentPlan;
            HtmlViewer table;
            table.loadFromString("<p>plan table</p>");
            table.printPages(printer);
        };
        commands = std::make_unique<GeneralCommands>(shell, [this] { return pageFor(shell.page); }, &window);
        commands->openUrl = [this](const QUrl& url) {
            opened << url.toString(QUrl::FullyEncoded);
            return desktopOpens;
        };
        commands->printer().setOutputFormat(QPrinter::PdfFormat);
        commands->printer().setOutputFileName(pdfFile());
        shell.scripted.chosenFile = pdfFile();
    }

    ContentPage* pageFor(Page page)
    {
        switch (page) {
        case Page::Welcome:
            return &welcomePage;
        case Page::Devotional:
            return &devotionalPage;
        case Page::Reading:
            return &readingPage;
        case Page::PlanManager:
            return &planPage;
        case Page::PrayerTracker:
            return &prayerPage;
        case Page::Bible:
            break;
        }
        return nullptr;
    }

    QString pdfFile() const { return QString::fromStdString(dir.file("out.pdf")); }
    QByteArray pdf() const
    {
        QFile file(pdfFile());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    int pdfPages() const { return static_cast<int>(pdf().count("/Type /Page\n")); }

    kovara::test::TempDir dir;
    GeneralShell shell;
    QWidget window;
    HtmlViewer devotional;
    HtmlViewer bible;
    QTextEdit prayer;
    int currentPlan = -1;
    int printedPlan = -1;
    QString title; // what the page prints, as the page names it
    TestPage welcomePage{HelpContext::Contents, title};
    TestPage devotionalPage{HelpContext::Devotional, title};
    TestPage readingPage{HelpContext::Reading, title};
    TestPage planPage{HelpContext::PlanManager, title};
    TestPage prayerPage{HelpContext::PrayerTracker, title};
    const char* planError = nullptr;
    std::unique_ptr<GeneralCommands> commands;
    QStringList opened;
    bool desktopOpens = true;
};

TEST_F(GeneralCommandsTest, CopyAndPrintAreEnabledPerPage)
{
    struct Case {
        Page page;
        bool copyWithSelection;
        bool printWithoutPlan;
        bool printWithPlan;
    };
    const Case cases[] = {
        {Page::Welcome, false, false, false},      {Page::Devotional, true, true, true},
        {Page::Reading, true, true, true},       {Page::PlanManager, false, false, true},
        {Page::PrayerTracker, true, true, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.page));
        shell.page = c.page;
        devotional.moveCursor(QTextCursor::Start);
        bible.moveCursor(QTextCursor::Start);
        prayer.moveCursor(QTextCursor::Start);
        EXPECT_FALSE(commands->canCopy());
        devotional.selectWholePage();
        bible.selectWholePage();
        prayer.selectAll();
        EXPECT_EQ(commands->canCopy(), c.copyWithSelection);
        currentPlan = -1;
        EXPECT_EQ(commands->canPrint(), c.printWithoutPlan);
        currentPlan = 0;
        EXPECT_EQ(commands->canPrint(), c.printWithPlan);
    }
}

TEST_F(GeneralCommandsTest, CopyTakesTheCurrentPagesSelection)
{
    QAction copyAction;
    commands->copyAction = &copyAction;
    QClipboard* clipboard = QApplication::clipboard();

    shell.page = Page::Reading;
    bible.selectWholePage();
    commands->copy();
    EXPECT_EQ(clipboard->text(), "In the beginning");

    shell.page = Page::PrayerTracker;
    QTextCursor c = prayer.textCursor();
    c.setPosition(9);
    c.setPosition(12, QTextCursor::KeepAnchor);
    prayer.setTextCursor(c);
    commands->copy();
    EXPECT_EQ(clipboard->text(), "the");
    EXPECT_TRUE(copyAction.isEnabled());

    // Elsewhere nothing is copied and Copy is switched off.
    shell.page = Page::PlanManager;
    commands->copy();
    EXPECT_EQ(clipboard->text(), "the");
    EXPECT_FALSE(copyAction.isEnabled());
}

TEST_F(GeneralCommandsTest, PrintOffersTheViewersPagesAndPrintsTheChosenRange)
{
    shell.page = Page::Devotional;
    const int pages = devotional.pageCount(commands->printer());
    ASSERT_GE(pages, 2);

    shell.scripted.expectPrint(true, 1, pages);
    commands->print();
    EXPECT_EQ(shell.scripted.lastMinPage, 1);
    EXPECT_EQ(shell.scripted.lastMaxPage, pages);
    EXPECT_EQ(shell.scripted.offeredFrom, 1);
    EXPECT_EQ(shell.scripted.offeredTo, pages);
    EXPECT_EQ(pdfPages(), pages);

    QFile::remove(pdfFile()); // or the replace question comes first
    shell.scripted.expectPrint(true, 2, 2);
    commands->print();
    EXPECT_EQ(pdfPages(), 1);

    // Cancelled: nothing printed.
    QFile::remove(pdfFile());
    shell.scripted.expectPrint(false);
    commands->print();
    EXPECT_FALSE(QFile::exists(pdfFile()));

    // The one-page passage offers 1 to 1.
    shell.page = Page::Reading;
    shell.scripted.expectPrint(true, 1, 1);
    commands->print();
    EXPECT_EQ(shell.scripted.lastMaxPage, 1);
    EXPECT_EQ(pdfPages(), 1);
}

TEST_F(GeneralCommandsTest, PrintingAgainProposesANameFromWhatIsPrintedAndAsksBeforeReplacing)
{
    shell.scripted.chosenFile.clear(); // the user keeps what the dialog proposes
    shell.page = Page::Devotional;
    title = QStringLiteral("John 3");
    shell.scripted.expectPrint(true);
    commands->print();
    EXPECT_EQ(shell.scripted.proposedFile, pdfFile()) << "a file the user set is kept";
    EXPECT_EQ(commands->printer().docName(), "John 3");
    ASSERT_TRUE(QFile::exists(pdfFile()));

    // Printing again proposes a new name, in the same folder, instead of the
    // last printout's file; characters file names handle badly become blanks.
    const QString folder = QString::fromStdString(dir.folder());
    const std::pair<QString, QString> names[] = {
        {"John 3", "John 3.pdf"},
        {"Plan: a/b \"c\"?", "Plan a b c.pdf"},
        {"", "Kovara.pdf"},
    };
    for (const auto& [shown, file] : names) {
        title = shown;
        shell.scripted.expectPrint(true);
        commands->print();
        EXPECT_EQ(shell.scripted.proposedFile, QDir(folder).filePath(file)) << shown.toStdString();
        EXPECT_TRUE(QFile::exists(shell.scripted.proposedFile)) << shown.toStdString();
    }
    const QByteArray first = pdf();

    // The same page again: its name is taken, so the user is asked first.
    title.clear();
    const QString kovara = QDir(folder).filePath("Kovara.pdf");
    QFile(kovara).open(QIODevice::WriteOnly | QIODevice::Truncate);
    shell.scripted.expectPrint(true);
    shell.scripted.expectConfirm("The file \"" + kovara + "\" already exists.\n\nDo you want to replace it?",
                                false, Dialogs::Answer::No, Dialogs::Icon::Warning);
    commands->print();
    EXPECT_EQ(QFileInfo(kovara).size(), 0) << "kept";
    shell.scripted.expectPrint(true);
    shell.scripted.expectConfirm("The file \"" + kovara + "\" already exists.\n\nDo you want to replace it?",
                                true, Dialogs::Answer::No, Dialogs::Icon::Warning);
    commands->print();
    EXPECT_GT(QFileInfo(kovara).size(), 0) << "replaced";
    EXPECT_EQ(pdf(), first) << "the first printout is untouched";
    EXPECT_TRUE(shell.scripted.done());
}

TEST_F(GeneralCommandsTest, PrayerTextPrintsWholeWithoutARangeEvenAfterARangedPrintout)
{
    // A range chosen for an earlier printout must not cut the prayer short.
    shell.page = Page::Devotional;
    shell.scripted.expectPrint(true, 2, 2);
    commands->print();

    prayer.setHtml(longPage("Prayer", 120));
    QFile::remove(pdfFile());
    shell.page = Page::PrayerTracker;
    shell.scripted.expectPrint(true);
    commands->print();
    EXPECT_EQ(shell.scripted.lastMaxPage, 0); // no page range offered
    EXPECT_EQ(commands->printer().docName(), "Kovara");
    EXPECT_GE(pdfPages(), 2);
}

TEST_F(GeneralCommandsTest, PlanManagerPrintsTheChosenPlanAfterADialogWithoutRange)
{
    shell.page = Page::PlanManager;
    currentPlan = 2;
    shell.scripted.expectPrint(false);
    commands->print();
    EXPECT_EQ(printedPlan, -1);

    shell.scripted.expectPrint(true);
    commands->print();
    EXPECT_EQ(shell.scripted.lastMaxPage, 0);
    EXPECT_EQ(printedPlan, 2);
    EXPECT_EQ(pdfPages(), 1);
}

TEST_F(GeneralCommandsTest, PrintFailuresShowTheErrorAndThePrinterHint)
{
    shell.page = Page::PlanManager;
    currentPlan = 5;
    planError = "Specified plan index is out of range (5 requested, 1 max)";
    shell.scripted.expectPrint(true);
    shell.scripted.expectMessage("Specified plan index is out of range (5 requested, 1 max)\n\n"
                                "Please ensure that you have a printer properly installed.");
    commands->print();

    // A printout to a file that cannot be written is reported, not lost.
    const QString unwritable = QString::fromStdString(dir.file("missing/out.pdf"));
    shell.scripted.chosenFile = unwritable;
    shell.page = Page::Devotional;
    shell.scripted.expectPrint(true);
    shell.scripted.expectMessage("Unable to write the printout to \"" + unwritable + "\".\n\n" +
                                "Please ensure that you have a printer properly installed.");
    commands->print();
}

// A printout to a file that replaces an earlier one keeps that one whole until
// the new one is complete: a kill midway, or a printout that fails after its
// first page, leaves the earlier file, and no temporary file stays behind.
TEST_F(GeneralCommandsTest, APrintoutToAFileReplacesAnEarlierOneOnlyWhenComplete)
{
    const QByteArray earlier = "%PDF-1.4 the earlier printout";
    const auto writeEarlier = [&] {
        QFile out(pdfFile());
        ASSERT_TRUE(out.open(QIODevice::WriteOnly | QIODevice::Truncate));
        out.write(earlier);
    };
    const auto entries = [&] {
        return QDir(QString::fromStdString(dir.folder()))
            .entryList(QDir::Files | QDir::Hidden | QDir::System)
            .join(u',')
            .toStdString();
    };
    shell.page = Page::PlanManager;
    currentPlan = 0;
    for (const bool fails : {true, false}) {
        SCOPED_TRACE(fails ? "fails midway" : "completes");
        writeEarlier();
        std::string midway;
        planPage.printer = [&](QPrinter& printer) {
            QPainter painter(&printer);
            painter.drawText(QPointF(100, 100), QStringLiteral("page one"));
            printer.newPage();
            midway = pdf().toStdString();
            if (fails)
                throw Exception("the printer driver stopped");
            painter.drawText(QPointF(100, 100), QStringLiteral("page two"));
        };
        shell.scripted.expectPrint(true);
        shell.scripted.expectConfirm("The file \"" + pdfFile() + "\" already exists.\n\nDo you want to replace it?",
                                     true, Dialogs::Answer::No, Dialogs::Icon::Warning);
        if (fails)
            shell.scripted.expectMessage("the printer driver stopped\n\n"
                                         "Please ensure that you have a printer properly installed.");
        commands->print();
        EXPECT_EQ(midway, earlier.toStdString()) << "a kill midway would leave the earlier file";
        if (fails)
            EXPECT_EQ(pdf(), earlier);
        else
            EXPECT_EQ(pdfPages(), 2);
        EXPECT_EQ(entries(), "out.pdf");
        EXPECT_EQ(commands->printer().outputFileName(), pdfFile()) << "the printer keeps the reader's file";
        EXPECT_TRUE(shell.scripted.done());
    }
}

TEST_F(GeneralCommandsTest, PrinterSetupFailureShowsItsMessage)
{
    shell.scripted.expectPrinterSetup(false);
    commands->printSetup();
    shell.scripted.failSetup = true;
    shell.scripted.expectMessage(
        "Unable to open Print Setup dialog. Please verify that you have a properly installed printer.");
    commands->printSetup();
}

TEST_F(GeneralCommandsTest, HelpOpensTheContextOfTheCurrentPage)
{
    const std::pair<Page, QString> cases[] = {
        {Page::Welcome, ""},
        {Page::Reading, "context30"},
        {Page::Devotional, "context40"},
        {Page::PrayerTracker, "context50"},
        {Page::PlanManager, "context80"},
    };
    HelpViewer* help = commands->helpViewer();
    for (const auto& [page, anchor] : cases) {
        SCOPED_TRACE(anchor.toStdString());
        shell.page = page;
        commands->showHelp();
        EXPECT_TRUE(help->isVisible());
        EXPECT_EQ(help->currentAnchor(), anchor);
        if (!anchor.isEmpty()) {
            EXPECT_TRUE(help->hasAnchor(anchor)); // the shipped document has it
        }
    }
    // "Open Help" always opens the contents, whatever the page.
    shell.page = Page::PrayerTracker;
    commands->openHelpContents();
    EXPECT_EQ(help->currentAnchor(), "");
    EXPECT_TRUE(help->findChild<QTextBrowser*>("helpBrowser")->toPlainText().contains("Kovara"));
}

TEST_F(GeneralCommandsTest, MissingHelpFileIsReported)
{
    shell.contentFolder_ = dir.folder();
    shell.scripted.expectMessage(QString::fromStdString("The help file \"" + dir.folder() +
                                                       "KOVA2.hlp\" could not be found."));
    commands->showHelp();
    EXPECT_FALSE(commands->helpViewer()->isVisible());
}

TEST_F(GeneralCommandsTest, OutsideAddressesCarryTheFileVersion)
{
    commands->fileVersion = "2.0.1.2";
    commands->openWebsite();
    commands->sendEmail();
    commands->checkUpdate();
    EXPECT_EQ(opened, QStringList({"https://kovara.example.org/",
                                   "mailto:support@kovara.example.org?subject=Kovara%202.0.1.2",
                                   "https://kovara.example.org/updatecheck2.php?major=2&minor=0&release=1&build=2"}));

    commands->fileVersion = "2.0.1";
    shell.scripted.expectMessage(
        "The file version \"2.0.1\" does not have the four parts major.minor.release.build");
    commands->checkUpdate();
    EXPECT_EQ(opened.size(), 3);
}

// Without a browser or an e-mail program the address is shown to copy.
TEST_F(GeneralCommandsTest, AnAddressTheDesktopCannotOpenIsShownInANotice)
{
    commands->fileVersion = "2.0.1.2";
    desktopOpens = false;
    const QString browser = "Kovara could not open a web browser. You can copy this address into your browser:\n\n";
    const QString mail = "Kovara could not start an e-mail program. You can write to technical support at this "
                         "address:\n\nsupport@kovara.example.org\n\nPlease use the subject \"Kovara 2.0.1.2\".";
    shell.scripted.expectMessage(browser + "https://kovara.example.org/");
    commands->openWebsite();
    shell.scripted.expectMessage(mail);
    commands->sendEmail();
    shell.scripted.expectMessage(browser + "https://kovara.example.org/updatecheck2.php?major=2&minor=0&release=1&build=2");
    commands->checkUpdate();

    // The about box's links go the same way.
    commands->showAboutBox = [&](AboutDialog& box) {
        box.show(); // fills in the e-mail link
        shell.scripted.expectMessage(mail);
        emit box.findChild<QLabel*>("emailLabel")->linkActivated(box.emailLink());
        shell.scripted.expectMessage(browser + "https://kovara.example.org/");
        emit box.findChild<QLabel*>("websiteLabel")->linkActivated("https://kovara.example.org/");
        box.close();
    };
    commands->showAbout();
    EXPECT_TRUE(shell.scripted.done());
    EXPECT_EQ(opened.size(), 5);
}

TEST_F(GeneralCommandsTest, AboutBoxShowsVersionLinksAndCopiesTheDataFolder)
{
    commands->fileVersion = "2.0.1.2";
    AboutDialog* shown = nullptr;
    commands->showAboutBox = [&](AboutDialog& box) {
        box.show();
        shown = &box;
    };
    commands->showAbout();
    ASSERT_NE(shown, nullptr);
    EXPECT_EQ(shown->windowTitle(), "About Kovara");
    EXPECT_EQ(shown->findChild<QLabel*>("versionLabel")->text(), "Version 2.0.1.2");
    EXPECT_EQ(shown->findChild<QLabel*>("dataPathLabel")->text(), QString::fromStdString("User data folder: \n" + dir.folder()));
    EXPECT_EQ(shown->emailLink(), "mailto:support@kovara.example.org?subject=Kovara%202.0.1.2");
    EXPECT_TRUE(shown->findChild<QLabel*>("emailLabel")->text().contains(">support@kovara.example.org<"));
    EXPECT_TRUE(shown->findChild<QPushButton*>("okButton")->isDefault());

    emit shown->findChild<QLabel*>("emailLabel")->linkActivated(shown->emailLink());
    emit shown->findChild<QLabel*>("websiteLabel")->linkActivated("https://kovara.example.org/");
    EXPECT_EQ(opened, QStringList({"mailto:support@kovara.example.org?subject=Kovara%202.0.1.2",
                                   "https://kovara.example.org/"}));

    QApplication::clipboard()->setText("something else");
    EXPECT_EQ(shown->findChild<QAction*>("copyDataPathAction")->text(), "Copy User Data Path to Clipboard");
    shown->findChild<QAction*>("copyDataPathAction")->trigger();
    EXPECT_EQ(QApplication::clipboard()->text(), QString::fromStdString(dir.folder()));
    EXPECT_TRUE(QApplication::clipboard()->text().endsWith('/'));
    shown->close();
}

} // namespace
} // namespace kovara::ui
