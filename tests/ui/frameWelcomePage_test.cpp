// The welcome frame and its links: the page built from the shell's stores,
// each link dispatched to its command, the unknown-link and bad-number
// messages, and a real click on a link in the viewer.
#include "ui/app/frameWelcomePage.h"

#include "app/kova_prefs.h"
#include "base/exception.h"
#include "fixtures.h"
#include "plans/kova_readplan.h"
#include "prayer/kova_prayertracker.h"
#include "scripted_dialogs.h"
#include "test_preferences.h"
#include "ui/app/internal_links.h"
#include "ui/shell.h"
#include "ui/widgets/html_viewer.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QTextBlock>
#include <gtest/gtest.h>

#include <memory>

namespace kovara::ui {
namespace {

const TDateTime kToday = EncodeDate(2024, 3, 10);

// Records the commands run, one word each.
class RecordingTarget : public WelcomeLinkTarget {
public:
    void DevFaithsCheckbook() override { ran += "FaithsCheckbook;"; }
    void NewReadPlan() override { ran += "NewReadPlan;"; }
    void ShowPlanDay(int plan) override { ran += "ShowPlanDay(" + std::to_string(plan) + ");"; }
    void ReadingPlanManager() override { ran += "PlanManager;"; }
    void NewPrayer() override { ran += "NewPrayer;"; }
    void PrayersActive() override { ran += "Active;"; }
    void PrayersInactive() override { ran += "Inactive;"; }
    void PrayersAnswered() override { ran += "Answered;"; }
    void PrayersAll() override { ran += "All;"; }
    std::string ran;
};

// Only what the welcome page reaches: the plan and prayer stores, the
// preferences, the clock and page switching.
class FakeShell : public Shell {
public:
    FakeShell(TKOVAPreferences& prefs, TKOVAReadPlans& plans, TKOVAPrayerTracker& prayers, Dialogs& dialogs,
              const Clock& clock)
        : prefs_(prefs), plans_(plans), prayers_(prayers), dialogs_(dialogs), clock_(clock)
    {
    }
    TKOVAPreferences& Preferences() override { return prefs_; }
    TKOVABible& Bible() override { throw Exception("no Bible here"); }
    TKOVADevotional& Devotional() override { throw Exception("no devotional here"); }
    TKOVAReadPlans& ReadPlans() override { return plans_; }
    TKOVAPrayerTracker& PrayerTracker() override { return prayers_; }
    Dialogs& GetDialogs() override { return dialogs_; }
    const Clock& GetClock() override { return clock_; }
    const std::string& ProgramFolder() const override { return folder_; }
    const std::string& UserDataFolder() const override { return folder_; }
    void ShowPage(Page page) override { page_ = page; }
    Page CurrentPage() const override { return page_; }

private:
    TKOVAPreferences& prefs_;
    TKOVAReadPlans& plans_;
    TKOVAPrayerTracker& prayers_;
    Dialogs& dialogs_;
    const Clock& clock_;
    std::string folder_ = "/";
    Page page_ = Page::Devotional;
};

TEST(InternalLinkTest, EveryLinkRunsItsCommand)
{
    struct Case {
        const char* link;
        const char* ran;
    } cases[] = {
        {"koav2:FCtoday", "FaithsCheckbook;"},
        {"koav2:NewReadPlan", "NewReadPlan;"},
        {"koav2:ReadPlan/0", "ShowPlanDay(0);"},
        {"koav2:ReadPlan/1", "ShowPlanDay(1);"},
        {"koav2:ReadPlan/42", "ShowPlanDay(42);"},
        {"koav2:PlanManager", "PlanManager;"},
        {"koav2:NewPrayerItem", "NewPrayer;"},
        {"koav2:ViewActivePrayers", "Active;"},
        {"koav2:ViewInactivePrayers", "Inactive;"},
        {"koav2:ViewAnsweredPrayers", "Answered;"},
        {"koav2:ViewAllPrayers", "All;"},
    };
    test::ScriptedDialogs dialogs;
    for (const Case& c : cases) {
        RecordingTarget target;
        HandleInternalLink(QString::fromUtf8(c.link), target, dialogs);
        EXPECT_EQ(target.ran, c.ran) << c.link;
    }
}

TEST(InternalLinkTest, UnknownLinksAndBadPlanNumbersRunNothing)
{
    test::ScriptedDialogs dialogs;
    RecordingTarget target;
    dialogs.ExpectMessage("Error - Unknown link \"koav2:readplan/1\"");
    HandleInternalLink("koav2:readplan/1", target, dialogs);
    dialogs.ExpectMessage(QString::fromUtf8("Error - Unknown link \"koav2:Gebet/\xC3\xBC\""));
    HandleInternalLink(QString::fromUtf8("koav2:Gebet/\xC3\xBC"), target, dialogs);
    EXPECT_EQ(kovara::test::MessageOf([&] { HandleInternalLink("koav2:ReadPlan/one", target, dialogs); }),
              "'one' is not a valid integer value");
    EXPECT_EQ(target.ran, "");
}

TEST(InternalLinkTest, ActionTargetTriggersTheMainWindowsActions)
{
    QObject owner;
    std::string ran;
    ActionLinkTarget::Actions actions;
    QAction** fields[] = {&actions.DevFaithsCheckbook, &actions.NewReadPlan,     &actions.ReadingPlanManager,
                         &actions.NewPrayer,          &actions.PrayersActive,   &actions.PrayersInactive,
                         &actions.PrayersAnswered,    &actions.PrayersAll};
    const char* names[] = {"FaithsCheckbook", "NewReadPlan", "PlanManager", "NewPrayer",
                           "Active",          "Inactive",    "Answered",    "All"};
    for (int i = 0; i < 8; ++i) {
        *fields[i] = new QAction(&owner);
        const std::string name = names[i];
        QObject::connect(*fields[i], &QAction::triggered, [&ran, name] { ran += name + ";"; });
    }
    ActionLinkTarget target(actions, [&ran](int plan) { ran += "ShowPlanDay(" + std::to_string(plan) + ");"; });
    test::ScriptedDialogs dialogs;
    for (const char* link : {"koav2:FCtoday", "koav2:NewReadPlan", "koav2:ReadPlan/2", "koav2:PlanManager",
                             "koav2:NewPrayerItem", "koav2:ViewActivePrayers", "koav2:ViewInactivePrayers",
                             "koav2:ViewAnsweredPrayers", "koav2:ViewAllPrayers"})
        HandleInternalLink(QString::fromUtf8(link), target, dialogs);
    EXPECT_EQ(ran, "FaithsCheckbook;NewReadPlan;ShowPlanDay(2);PlanManager;NewPrayer;Active;Inactive;Answered;All;");

    // A disabled command stays disabled when reached by its link.
    ran.clear();
    actions.NewPrayer->setEnabled(false);
    HandleInternalLink("koav2:NewPrayerItem", target, dialogs);
    EXPECT_EQ(ran, "");
}

class FrameWelcomePageTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        plans = std::make_unique<TKOVAReadPlans>(dir.File("userreadplans.kova2"), clock);
        prayers = std::make_unique<TKOVAPrayerTracker>(dir.File("prayers.kova2"), &clock);
        shell = std::make_unique<FakeShell>(*prefs, *plans, *prayers, dialogs, clock);
        frame = std::make_unique<TFrameKOVAWelcomePage>(dialogs);
        frame->AssignPreferences(*prefs);
        frame->SetLinkTarget(target);
    }

    // Clicks the link whose href is href, as the user would with the mouse.
    void ClickLink(const QString& href)
    {
        frame->resize(700, 500);
        frame->show();
        QApplication::processEvents();
        HtmlViewer* viewer = frame->HTMLViewer1;
        for (QTextBlock block = viewer->document()->begin(); block.isValid(); block = block.next()) {
            for (auto it = block.begin(); !it.atEnd(); ++it) {
                const QTextFragment fragment = it.fragment();
                if (fragment.charFormat().anchorHref() != href)
                    continue;
                QTextCursor cursor(viewer->document());
                cursor.setPosition(fragment.position() + 1);
                const QPointF at = viewer->cursorRect(cursor).center();
                QMouseEvent press(QEvent::MouseButtonPress, at, viewer->viewport()->mapToGlobal(at), Qt::LeftButton,
                                  Qt::LeftButton, Qt::NoModifier);
                QApplication::sendEvent(viewer->viewport(), &press);
                QMouseEvent release(QEvent::MouseButtonRelease, at, viewer->viewport()->mapToGlobal(at),
                                    Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
                QApplication::sendEvent(viewer->viewport(), &release);
                return;
            }
        }
        ADD_FAILURE() << "no link " << href.toStdString();
    }

    kovara::test::TempDir dir;
    FixedClock clock{kToday + 0.5};
    test::ScriptedDialogs dialogs;
    std::unique_ptr<TKOVAPreferences> prefs = test::MakeTestPreferences();
    std::unique_ptr<TKOVAReadPlans> plans;
    std::unique_ptr<TKOVAPrayerTracker> prayers;
    std::unique_ptr<FakeShell> shell;
    RecordingTarget target;
    std::unique_ptr<TFrameKOVAWelcomePage> frame;
};

TEST_F(FrameWelcomePageTest, BuildShowsTheSummaryAndMakesTheWelcomePageCurrent)
{
    EXPECT_EQ(frame->RzLabel1->text(), "Welcome to Kovara");
    EXPECT_FALSE(frame->HTMLViewer1->SelectionEnabled());
    plans->AddPlan("Gospels <i>first</i>", {"1-3", "4-6"}, kToday);
    frame->BuildWelcomePage(*shell);
    EXPECT_EQ(shell->CurrentPage(), Page::Welcome);
    EXPECT_NE(frame->PageText().find("<a href=\"koav2:ReadPlan/0\">Gospels <i>first</i></a>: \r\n"),
              std::string::npos);
    EXPECT_EQ(frame->HTMLViewer1->PageText().toStdString(), frame->PageText());
    // The title's markup is markup on the page, not text.
    EXPECT_TRUE(frame->HTMLViewer1->toPlainText().contains("Gospels first: "));
}

TEST_F(FrameWelcomePageTest, AStoreErrorLeavesThePageAsItWas)
{
    frame->BuildWelcomePage(*shell);
    const std::string before = frame->PageText();
    prayers->Close();
    EXPECT_NE(kovara::test::MessageOf([&] { frame->BuildWelcomePage(*shell); }), "(nothing raised)");
    EXPECT_EQ(frame->PageText(), before);
    EXPECT_EQ(frame->HTMLViewer1->PageText().toStdString(), before);
}

TEST_F(FrameWelcomePageTest, PreferencesReloadThePageWithNewDefaults)
{
    frame->BuildWelcomePage(*shell);
    prefs->TextFontName = "Courier";
    prefs->TextFontSize = 14;
    prefs->TextFontColor = 0x008000;
    prefs->TextBackColor = 0xFFFFFF;
    frame->AssignPreferences(*prefs);
    EXPECT_EQ(frame->HTMLViewer1->PageText().toStdString(), frame->PageText());
    EXPECT_EQ(frame->HTMLViewer1->DefaultFontName(), "Courier");
    EXPECT_EQ(frame->HTMLViewer1->DefaultFontSize(), 14);
    EXPECT_EQ(frame->HTMLViewer1->DefaultFontColor(), QColor(0, 128, 0));
    EXPECT_EQ(frame->HTMLViewer1->DefaultBackground(), QColor(255, 255, 255));
    EXPECT_EQ(frame->RzPanelBottom->palette().color(QPalette::Window), QColor(255, 255, 255));
}

TEST_F(FrameWelcomePageTest, AClickedLinkRunsItsCommandWithoutNavigating)
{
    plans->AddPlan("One", {"1-3", "4-6"}, kToday);
    plans->AddPlan("Two", {"1-3", "4-6"}, kToday);
    frame->BuildWelcomePage(*shell);
    const std::string page = frame->PageText();
    ClickLink("koav2:ReadPlan/1");
    ClickLink("koav2:FCtoday");
    ClickLink("koav2:NewPrayerItem");
    EXPECT_EQ(target.ran, "ShowPlanDay(1);FaithsCheckbook;NewPrayer;");
    EXPECT_EQ(frame->HTMLViewer1->PageText().toStdString(), page);
    EXPECT_TRUE(frame->HTMLViewer1->source().isEmpty());
}

TEST_F(FrameWelcomePageTest, LinkErrorsAreShownNotRaised)
{
    frame->ShowPage("<a href=\"koav2:ReadPlan/x\">bad</a> <a href=\"koav2:planmanager\">case</a>");
    dialogs.ExpectMessage("'x' is not a valid integer value");
    ClickLink("koav2:ReadPlan/x");
    dialogs.ExpectMessage("Error - Unknown link \"koav2:planmanager\"");
    ClickLink("koav2:planmanager");
    EXPECT_EQ(target.ran, "");
}

} // namespace
} // namespace kovara::ui
