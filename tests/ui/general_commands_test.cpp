// The general commands: Copy and Print per page, the print dialogs and what
// reaches the printer, printer setup, help per page, the outside addresses and
// the about box.
#include "ui/app/general_commands.h"

#include "base/exception.h"
#include "fixtures.h"
#include "scripted_dialogs.h"
#include "ui/app/formAbout.h"
#include "ui/app/help_viewer.h"
#include "ui/shell.h"
#include "ui/widgets/html_viewer.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QFile>
#include <QLabel>
#include <QPrinter>
#include <QPushButton>
#include <QTextEdit>
#include <QUrl>
#include <gtest/gtest.h>
#include <stdexcept>

namespace kovara::ui {
namespace {

using test::ScriptedDialogs;

// Records the range the printer offers when the print dialog opens.
class RecordingDialogs : public ScriptedDialogs {
public:
    bool Print(QPrinter& printer, int minPage, int maxPage, int& fromPage, int& toPage) override
    {
        offeredFrom = printer.fromPage();
        offeredTo = printer.toPage();
        return ScriptedDialogs::Print(printer, minPage, maxPage, fromPage, toPage);
    }
    bool PrinterSetup(QPrinter& printer) override
    {
        if (failSetup)
            throw Exception("no printer driver");
        return ScriptedDialogs::PrinterSetup(printer);
    }
    int offeredFrom = -1, offeredTo = -1;
    bool failSetup = false;
};

class GeneralShell : public Shell {
public:
    TKOVAPreferences& Preferences() override { throw std::logic_error("not used"); }
    TKOVABible& Bible() override { throw std::logic_error("not used"); }
    TKOVADevotional& Devotional() override { throw std::logic_error("not used"); }
    TKOVAReadPlans& ReadPlans() override { throw std::logic_error("not used"); }
    TKOVAPrayerTracker& PrayerTracker() override { throw std::logic_error("not used"); }
    Dialogs& GetDialogs() override { return dialogs; }
    const Clock& GetClock() override { throw std::logic_error("not used"); }
    const std::string& ProgramFolder() const override { return programFolder; }
    const std::string& UserDataFolder() const override { return userFolder; }
    void ShowPage(Page p) override { page = p; }
    Page CurrentPage() const override { return page; }

    RecordingDialogs dialogs;
    std::string programFolder = std::string(KOVARA_BUILD_DIR) + "/";
    std::string userFolder;
    Page page = Page::Welcome;
};

QString LongPage(const QString& word, int paragraphs)
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
        shell.userFolder = dir.Folder();
        devotional.LoadFromString(LongPage("Devotional", 120));
        bible.LoadFromString("<p>In the beginning</p>");
        prayer.setPlainText("Pray for the harvest");
        GeneralTargets targets;
        targets.devotionalViewer = &devotional;
        targets.bibleViewer = &bible;
        targets.prayerText = &prayer;
        targets.currentPlan = [this] { return currentPlan; };
        targets.printPlan = [this](int plan, QPrinter& printer) {
            if (planError)
                throw Exception(planError);
            printedPlan = plan;
            HtmlViewer table;
            table.LoadFromString("<p>plan table</p>");
            table.PrintPages(printer);
        };
        commands = std::make_unique<TGeneralCommands>(shell, targets, &window);
        commands->OpenUrl = [this](const QUrl& url) { opened << url.toString(QUrl::FullyEncoded); };
        commands->Printer().setOutputFormat(QPrinter::PdfFormat);
        commands->Printer().setOutputFileName(PdfFile());
    }

    QString PdfFile() const { return QString::fromStdString(dir.File("out.pdf")); }
    QByteArray Pdf() const
    {
        QFile file(PdfFile());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }
    int PdfPages() const { return static_cast<int>(Pdf().count("/Type /Page\n")); }

    kovara::test::TempDir dir;
    GeneralShell shell;
    QWidget window;
    HtmlViewer devotional;
    HtmlViewer bible;
    QTextEdit prayer;
    int currentPlan = -1;
    int printedPlan = -1;
    const char* planError = nullptr;
    std::unique_ptr<TGeneralCommands> commands;
    QStringList opened;
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
        {Page::BibleRead, true, true, true},       {Page::PlanManager, false, false, true},
        {Page::PrayerTracker, true, true, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.page));
        shell.page = c.page;
        devotional.moveCursor(QTextCursor::Start);
        bible.moveCursor(QTextCursor::Start);
        prayer.moveCursor(QTextCursor::Start);
        EXPECT_FALSE(commands->ActionCopyUpdate());
        devotional.SelectWholePage();
        bible.SelectWholePage();
        prayer.selectAll();
        EXPECT_EQ(commands->ActionCopyUpdate(), c.copyWithSelection);
        currentPlan = -1;
        EXPECT_EQ(commands->ActionPrintUpdate(), c.printWithoutPlan);
        currentPlan = 0;
        EXPECT_EQ(commands->ActionPrintUpdate(), c.printWithPlan);
    }
}

TEST_F(GeneralCommandsTest, CopyTakesTheCurrentPagesSelection)
{
    QAction copyAction;
    commands->CopyAction = &copyAction;
    QClipboard* clipboard = QApplication::clipboard();

    shell.page = Page::BibleRead;
    bible.SelectWholePage();
    commands->ActionCopyExecute();
    EXPECT_EQ(clipboard->text(), "In the beginning");

    shell.page = Page::PrayerTracker;
    QTextCursor c = prayer.textCursor();
    c.setPosition(9);
    c.setPosition(12, QTextCursor::KeepAnchor);
    prayer.setTextCursor(c);
    commands->ActionCopyExecute();
    EXPECT_EQ(clipboard->text(), "the");
    EXPECT_TRUE(copyAction.isEnabled());

    // Elsewhere nothing is copied and Copy is switched off.
    shell.page = Page::PlanManager;
    commands->ActionCopyExecute();
    EXPECT_EQ(clipboard->text(), "the");
    EXPECT_FALSE(copyAction.isEnabled());
}

TEST_F(GeneralCommandsTest, PrintOffersTheViewersPagesAndPrintsTheChosenRange)
{
    shell.page = Page::Devotional;
    const int pages = devotional.PageCount(commands->Printer());
    ASSERT_GE(pages, 2);

    shell.dialogs.ExpectPrint(true, 1, pages);
    commands->ActionPrintExecute();
    EXPECT_EQ(shell.dialogs.lastMinPage, 1);
    EXPECT_EQ(shell.dialogs.lastMaxPage, pages);
    EXPECT_EQ(shell.dialogs.offeredFrom, 1);
    EXPECT_EQ(shell.dialogs.offeredTo, pages);
    EXPECT_EQ(PdfPages(), pages);

    shell.dialogs.ExpectPrint(true, 2, 2);
    commands->ActionPrintExecute();
    EXPECT_EQ(PdfPages(), 1);

    // Cancelled: nothing printed.
    QFile::remove(PdfFile());
    shell.dialogs.ExpectPrint(false);
    commands->ActionPrintExecute();
    EXPECT_FALSE(QFile::exists(PdfFile()));

    // The one-page passage offers 1 to 1.
    shell.page = Page::BibleRead;
    shell.dialogs.ExpectPrint(true, 1, 1);
    commands->ActionPrintExecute();
    EXPECT_EQ(shell.dialogs.lastMaxPage, 1);
    EXPECT_EQ(PdfPages(), 1);
}

TEST_F(GeneralCommandsTest, PrayerTextPrintsWholeWithoutARangeEvenAfterARangedPrintout)
{
    // A range chosen for an earlier printout must not cut the prayer short.
    shell.page = Page::Devotional;
    shell.dialogs.ExpectPrint(true, 2, 2);
    commands->ActionPrintExecute();

    prayer.setHtml(LongPage("Prayer", 120));
    shell.page = Page::PrayerTracker;
    shell.dialogs.ExpectPrint(true);
    commands->ActionPrintExecute();
    EXPECT_EQ(shell.dialogs.lastMaxPage, 0); // no page range offered
    EXPECT_EQ(commands->Printer().docName(), "Kovara");
    EXPECT_GE(PdfPages(), 2);
}

TEST_F(GeneralCommandsTest, PlanManagerPrintsTheChosenPlanAfterADialogWithoutRange)
{
    shell.page = Page::PlanManager;
    currentPlan = 2;
    shell.dialogs.ExpectPrint(false);
    commands->ActionPrintExecute();
    EXPECT_EQ(printedPlan, -1);

    shell.dialogs.ExpectPrint(true);
    commands->ActionPrintExecute();
    EXPECT_EQ(shell.dialogs.lastMaxPage, 0);
    EXPECT_EQ(printedPlan, 2);
    EXPECT_EQ(PdfPages(), 1);
}

TEST_F(GeneralCommandsTest, PrintFailuresShowTheErrorAndThePrinterHint)
{
    shell.page = Page::PlanManager;
    currentPlan = 5;
    planError = "Specified plan index is out of range (5 requested, 1 max)";
    shell.dialogs.ExpectPrint(true);
    shell.dialogs.ExpectMessage("Specified plan index is out of range (5 requested, 1 max)\n\n"
                                "Please ensure that you have a printer properly installed.");
    commands->ActionPrintExecute();

    // A printout to a file that cannot be written is reported, not lost.
    const QString unwritable = QString::fromStdString(dir.File("missing/out.pdf"));
    commands->Printer().setOutputFileName(unwritable);
    shell.page = Page::Devotional;
    shell.dialogs.ExpectPrint(true);
    shell.dialogs.ExpectMessage("Unable to write the printout to \"" + unwritable + "\".\n\n" +
                                "Please ensure that you have a printer properly installed.");
    commands->ActionPrintExecute();
}

TEST_F(GeneralCommandsTest, PrinterSetupFailureShowsItsMessage)
{
    shell.dialogs.ExpectPrinterSetup(false);
    commands->ActionPrintSetupExecute();
    shell.dialogs.failSetup = true;
    shell.dialogs.ExpectMessage(
        "Unable to open Print Setup dialog. Please verify that you have a properly installed printer.");
    commands->ActionPrintSetupExecute();
}

TEST_F(GeneralCommandsTest, HelpOpensTheContextOfTheCurrentPage)
{
    const std::pair<Page, QString> cases[] = {
        {Page::Welcome, ""},
        {Page::BibleRead, "context30"},
        {Page::Devotional, "context40"},
        {Page::PrayerTracker, "context50"},
        {Page::PlanManager, "context80"},
    };
    THelpViewer* help = commands->HelpViewer();
    for (const auto& [page, anchor] : cases) {
        SCOPED_TRACE(anchor.toStdString());
        shell.page = page;
        commands->ActionHelpExecute();
        EXPECT_TRUE(help->isVisible());
        EXPECT_EQ(help->CurrentAnchor(), anchor);
        if (!anchor.isEmpty()) {
            EXPECT_TRUE(help->HasAnchor(anchor)); // the shipped document has it
        }
    }
    // "Open Help" always opens the contents, whatever the page.
    shell.page = Page::PrayerTracker;
    commands->OpenHelpContents1Click();
    EXPECT_EQ(help->CurrentAnchor(), "");
    EXPECT_TRUE(help->Browser->toPlainText().contains("Kovara"));
}

TEST_F(GeneralCommandsTest, MissingHelpFileIsReported)
{
    shell.programFolder = dir.Folder();
    shell.dialogs.ExpectMessage(QString::fromStdString("The help file \"" + dir.Folder() +
                                                       "KOVA2.hlp\" could not be found."));
    commands->ActionHelpExecute();
    EXPECT_FALSE(commands->HelpViewer()->isVisible());
}

TEST_F(GeneralCommandsTest, OutsideAddressesCarryTheFileVersion)
{
    commands->FileVersion = "2.0.1.2";
    commands->ActionKOVAWebsiteExecute();
    commands->ActionEmailExecute();
    commands->ActionCheckUpdateExecute();
    EXPECT_EQ(opened, QStringList({"https://kovara.example.org/",
                                   "mailto:support@kovara.example.org?subject=Kovara%202.0.1.2",
                                   "https://kovara.example.org/updatecheck2.php?major=2&minor=0&release=1&build=2"}));

    commands->FileVersion = "2.0.1";
    shell.dialogs.ExpectMessage(
        "The file version \"2.0.1\" does not have the four parts major.minor.release.build");
    commands->ActionCheckUpdateExecute();
    EXPECT_EQ(opened.size(), 3);
}

TEST_F(GeneralCommandsTest, AboutBoxShowsVersionLinksAndCopiesTheDataFolder)
{
    commands->FileVersion = "2.0.1.2";
    TFormAboutBox* shown = nullptr;
    commands->ShowAboutBox = [&](TFormAboutBox& box) {
        box.show();
        shown = &box;
    };
    commands->ActionAboutExecute();
    ASSERT_NE(shown, nullptr);
    EXPECT_EQ(shown->windowTitle(), "About Kovara");
    EXPECT_EQ(shown->LabelVersion->text(), "Version 2.0.1.2");
    EXPECT_EQ(shown->LabelDataPath->text(), QString::fromStdString("User data folder: \n" + dir.Folder()));
    EXPECT_EQ(shown->EmailLink(), "mailto:support@kovara.example.org?subject=Kovara%202.0.1.2");
    EXPECT_TRUE(shown->LabelEmail->text().contains(">support@kovara.example.org<"));
    EXPECT_TRUE(shown->ButtonOK->isDefault());

    emit shown->LabelEmail->linkActivated(shown->EmailLink());
    emit shown->LabelWebsite->linkActivated("https://kovara.example.org/");
    EXPECT_EQ(opened, QStringList({"mailto:support@kovara.example.org?subject=Kovara%202.0.1.2",
                                   "https://kovara.example.org/"}));

    QApplication::clipboard()->setText("something else");
    EXPECT_EQ(shown->CopyUserDataPathtoClipboard1->text(), "Copy User Data Path to Clipboard");
    shown->CopyUserDataPathtoClipboard1->trigger();
    EXPECT_EQ(QApplication::clipboard()->text(), QString::fromStdString(dir.Folder()));
    EXPECT_TRUE(QApplication::clipboard()->text().endsWith('/'));
    shown->close();
}

} // namespace
} // namespace kovara::ui
