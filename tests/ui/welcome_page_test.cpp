// The welcome frame and its links: the page built from the shell's stores,
// each link dispatched to its command, the unknown-link and bad-number
// messages, and a real click on a link in the viewer.
#include "ui/app/welcome_page.h"
#include "ui/base/core_names.h"

#include "core/app/preferences.h"
#include "core/base/exception.h"
#include "fixtures.h"
#include "core/plans/plan_store.h"
#include "core/prayer/prayer_store.h"
#include "scripted_dialogs.h"
#include "test_preferences.h"
#include "ui/app/internal_links.h"
#include "ui/base/shell.h"
#include "ui/base/html_viewer.h"

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QScrollBar>
#include <QTextBlock>
#include <gtest/gtest.h>

#include <memory>

namespace kovara::ui {
namespace {

const sys_days kToday = makeDate(2024, 3, 10);

// A plan as a link names it: its position or its id.
std::string planText(const PlanLinkTarget& plan)
{
    if (const int* index = std::get_if<int>(&plan))
        return std::to_string(*index);
    return std::get<PlanId>(plan).guid();
}

// Records the commands run, one word each.
class RecordingTarget : public WelcomeLinkTarget {
public:
    void devFaithsCheckbook() override { ran += "FaithsCheckbook;"; }
    void newReadPlan() override { ran += "NewReadPlan;"; }
    void showPlanDay(const PlanLinkTarget& plan) override { ran += "ShowPlanDay(" + planText(plan) + ");"; }
    void catchUp(const PlanLinkTarget& plan) override { ran += "CatchUp(" + planText(plan) + ");"; }
    void readingPlanManager() override { ran += "PlanManager;"; }
    void newPrayer() override { ran += "NewPrayer;"; }
    void prayersActive() override { ran += "Active;"; }
    void prayersInactive() override { ran += "Inactive;"; }
    void prayersAnswered() override { ran += "Answered;"; }
    void prayersAll() override { ran += "All;"; }
    std::string ran;
};

// Only what the welcome page reaches: the plan and prayer stores, the
// preferences, the fixedClock and page switching.
class FakeShell : public Shell {
public:
    FakeShell(Preferences& prefs, PlanStore& plans, PrayerStore& prayers, Dialogs& scripted,
              const Clock& fixedClock)
        : prefs_(prefs), plans_(plans), prayers_(prayers), dialogs_(scripted), clock_(fixedClock)
    {
    }
    Preferences& preferences() override { return prefs_; }
    BibleStore& bible() override { throw Exception("no Bible here"); }
    DevotionalStore& devotional() override { throw Exception("no devotional here"); }
    PlanStore& planStore() override { return plans_; }
    PrayerStore& prayerStore() override { return prayers_; }
    Dialogs& dialogs() override { return dialogs_; }
    const Clock& clock() override { return clock_; }
    const std::string& contentFolder() const override { return folder_; }
    const std::string& userDataFolder() const override { return folder_; }
    void showPage(Page page) override { page_ = page; }
    Page currentPage() const override { return page_; }

private:
    Preferences& prefs_;
    PlanStore& plans_;
    PrayerStore& prayers_;
    Dialogs& dialogs_;
    const Clock& clock_;
    std::string folder_ = "/";
    Page page_ = Page::Devotional;
};

// Every link form a page writes or a reader may meet, from its text to the
// window's command it runs (through the target the main window uses: its
// actions, and the plan callbacks); an unknown link runs nothing and says so.
TEST(InternalLinkTest, EveryLinkRunsItsCommand)
{
    struct Case {
        const char* link;
        const char* ran; // nullptr: unknown, reported
    } cases[] = {
        {"koav2:FCtoday", "FaithsCheckbook;"},
        {"koav2:NewReadPlan", "NewReadPlan;"},
        {"koav2:ReadPlan/0", "ShowPlanDay(0);"},
        {"koav2:ReadPlan/42", "ShowPlanDay(42);"},
        {"koav2:ReadPlan/-1", "ShowPlanDay(-1);"}, // range is the reading page's to check
        {"koav2:ReadPlan/123456", "ShowPlanDay(12345);"}, // five characters are read
        {"koav2:CatchUp/3", "CatchUp(3);"},
        // The form pages write now: the plan's id, however long, also with
        // the braces percent-encoded as a clicked link's URL gives them.
        {"koav2:ReadPlan/{0A1B2C3D-0000-4000-8000-00000000000F}", "ShowPlanDay({0A1B2C3D-0000-4000-8000-00000000000F});"},
        {"koav2:CatchUp/{0A1B2C3D-0000-4000-8000-00000000000F}", "CatchUp({0A1B2C3D-0000-4000-8000-00000000000F});"},
        {"koav2:ReadPlan/%7B0A1B2C3D-0000-4000-8000-00000000000F%7D", "ShowPlanDay({0A1B2C3D-0000-4000-8000-00000000000F});"},
        {"koav2:CatchUp/%7b0A1B2C3D-0000-4000-8000-00000000000F%7d", "CatchUp({0A1B2C3D-0000-4000-8000-00000000000F});"},
        {"koav2:PlanManager", "PlanManager;"},
        {"koav2:NewPrayerItem", "NewPrayer;"},
        {"koav2:ViewActivePrayers", "Active;"},
        {"koav2:ViewInactivePrayers", "Inactive;"},
        {"koav2:ViewAnsweredPrayers", "Answered;"},
        {"koav2:ViewAllPrayers", "All;"},
        // Exact text, case included; whole-text entries take no suffix.
        {"koav2:readplan/1", nullptr},
        {"KOAV2:FCtoday", nullptr},
        {"koav2:FCtoday ", nullptr},
        {"koav2:ReadPlan", nullptr},
        {"koav2:", nullptr},
        {"https://example.org/", nullptr},
        {"koav2:Gebet/\xC3\xBC", nullptr},
    };
    QObject owner;
    std::string ran;
    ActionLinkTarget::Actions actions;
    const std::pair<QAction**, std::string> commands[] = {
        {&actions.devFaithsCheckbook, "FaithsCheckbook"}, {&actions.newReadPlan, "NewReadPlan"},
        {&actions.readingPlanManager, "PlanManager"},     {&actions.newPrayer, "NewPrayer"},
        {&actions.prayersActive, "Active"},               {&actions.prayersInactive, "Inactive"},
        {&actions.prayersAnswered, "Answered"},           {&actions.prayersAll, "All"}};
    for (const auto& [field, name] : commands) {
        *field = new QAction(&owner);
        QObject::connect(*field, &QAction::triggered, [&ran, name = name] { ran += name + ";"; });
    }
    ActionLinkTarget target(
        actions, [&ran](const PlanLinkTarget& plan) { ran += "ShowPlanDay(" + planText(plan) + ");"; },
        [&ran](const PlanLinkTarget& plan) { ran += "CatchUp(" + planText(plan) + ");"; });
    test::ScriptedDialogs scripted;
    for (const Case& c : cases) {
        ran.clear();
        if (!c.ran)
            scripted.expectMessage(QString::fromUtf8("Error - Unknown link \"%1\"").arg(QString::fromUtf8(c.link)));
        handleInternalLink(QString::fromUtf8(c.link), target, scripted);
        EXPECT_EQ(ran, c.ran ? c.ran : "") << c.link;
    }

    // A plan number that is not a number is an error, not a plan; a
    // disabled command stays disabled when reached by its link.
    ran.clear();
    EXPECT_EQ(kovara::test::messageOf([&] { handleInternalLink("koav2:ReadPlan/one", target, scripted); }),
              "'one' is not a valid integer value");
    actions.newPrayer->setEnabled(false);
    handleInternalLink("koav2:NewPrayerItem", target, scripted);
    EXPECT_EQ(ran, "");
}

class WelcomePageUiTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        plans = std::make_unique<PlanStore>(dir.file("userreadplans.kova2"), fixedClock);
        prayers = std::make_unique<PrayerStore>(dir.file("prayers.kova2"), &fixedClock);
        shell = std::make_unique<FakeShell>(*prefs, *plans, *prayers, scripted, fixedClock);
        frame = std::make_unique<WelcomePage>(scripted);
        frame->assignPreferences(*prefs);
        frame->setLinkTarget(target);
    }

    // Clicks the link whose href is href, as the user would with the mouse.
    void clickLink(const QString& href)
    {
        frame->resize(700, 500);
        frame->show();
        QApplication::processEvents();
        HtmlViewer* viewer = frame->viewer();
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
    FixedClock fixedClock{startOf(kToday) + std::chrono::hours(12)};
    test::ScriptedDialogs scripted;
    std::unique_ptr<Preferences> prefs = test::makeTestPreferences();
    std::unique_ptr<PlanStore> plans;
    std::unique_ptr<PrayerStore> prayers;
    std::unique_ptr<FakeShell> shell;
    RecordingTarget target;
    std::unique_ptr<WelcomePage> frame;
};

TEST_F(WelcomePageUiTest, BuildShowsTheSummaryAndMakesTheWelcomePageCurrent)
{
    EXPECT_EQ(frame->findChild<QLabel*>("welcomeLabel")->text(), "Welcome to Kovara");
    EXPECT_FALSE(frame->viewer()->selectionEnabled());
    plans->addPlan("Gospels <i>first</i>", {"1-3", "4-6"}, kToday);
    plans->addPlan("Whole <!-- Bible", {"1-3", "4-6"}, kToday);
    frame->buildWelcomePage(*shell);
    EXPECT_EQ(shell->currentPage(), Page::Welcome);
    EXPECT_NE(frame->pageText().find("<a href=\"koav2:ReadPlan/" + plans->id(0).guid() +
                                     "\">Gospels &lt;i&gt;first&lt;/i&gt;</a>: \r\n"),
              std::string::npos);
    EXPECT_EQ(frame->viewer()->pageText().toStdString(), frame->pageText());
    // Titles read as typed, and an opened comment in one hides nothing after it.
    const QString shown = frame->viewer()->toPlainText();
    EXPECT_TRUE(shown.contains("Gospels <i>first</i>: ")) << shown.toStdString();
    EXPECT_TRUE(shown.contains("Whole <!-- Bible: ")) << shown.toStdString();
    EXPECT_TRUE(shown.contains("manage your plans")) << shown.toStdString();
}

// The scroll bar is on while the page first shows (one layout at the width it
// keeps) and as needed from then on: gone for a short page, there for a long one.
TEST_F(WelcomePageUiTest, TheScrollBarIsShownOnlyWhenThePageNeedsIt)
{
    frame->buildWelcomePage(*shell);
    frame->resize(700, 500);
    frame->show();
    QApplication::processEvents();
    QScrollBar* bar = frame->viewer()->verticalScrollBar();
    EXPECT_EQ(frame->viewer()->verticalScrollBarPolicy(), Qt::ScrollBarAsNeeded);
    EXPECT_FALSE(bar->isVisible());

    for (int i = 0; i < 30; ++i)
        plans->addPlan("Plan " + std::to_string(i), {"1-3", "4-6"}, kToday);
    frame->buildWelcomePage(*shell);
    QApplication::processEvents();
    EXPECT_TRUE(bar->isVisible());
}

TEST_F(WelcomePageUiTest, AStoreErrorLeavesThePageAsItWas)
{
    frame->buildWelcomePage(*shell);
    const std::string before = frame->pageText();
    prayers->close();
    EXPECT_NE(kovara::test::messageOf([&] { frame->buildWelcomePage(*shell); }), "(nothing raised)");
    EXPECT_EQ(frame->pageText(), before);
    EXPECT_EQ(frame->viewer()->pageText().toStdString(), before);
}

TEST_F(WelcomePageUiTest, PreferencesReloadThePageWithNewDefaults)
{
    frame->buildWelcomePage(*shell);
    prefs->textFontName = "Courier";
    prefs->textFontSize = 14;
    prefs->textFontColor = 0x008000;
    prefs->textBackColor = 0xFFFFFF;
    frame->assignPreferences(*prefs);
    EXPECT_EQ(frame->viewer()->pageText().toStdString(), frame->pageText());
    EXPECT_EQ(frame->viewer()->defaultFontName(), "Courier");
    EXPECT_EQ(frame->viewer()->defaultFontSize(), 14);
    EXPECT_EQ(frame->viewer()->defaultFontColor(), QColor(0, 128, 0));
    EXPECT_EQ(frame->viewer()->defaultBackground(), QColor(255, 255, 255));
    EXPECT_EQ(frame->viewer()->parentWidget()->palette().color(QPalette::Window), QColor(255, 255, 255));
}

TEST_F(WelcomePageUiTest, AClickedLinkRunsItsCommandWithoutNavigating)
{
    plans->addPlan("One", {"1-3", "4-6"}, kToday);
    plans->addPlan("Two", {"1-3", "4-6"}, kToday);
    frame->buildWelcomePage(*shell);
    const std::string page = frame->pageText();
    const std::string two = plans->id(1).guid();
    clickLink(QString::fromStdString("koav2:ReadPlan/" + two));
    clickLink("koav2:FCtoday");
    clickLink("koav2:NewPrayerItem");
    EXPECT_EQ(target.ran, "ShowPlanDay(" + two + ");FaithsCheckbook;NewPrayer;");
    EXPECT_EQ(frame->viewer()->pageText().toStdString(), page);
    EXPECT_TRUE(frame->viewer()->source().isEmpty());
}

TEST_F(WelcomePageUiTest, LinkErrorsAreShownNotRaised)
{
    frame->showPage("<a href=\"koav2:ReadPlan/x\">bad</a> <a href=\"koav2:planmanager\">case</a>");
    scripted.expectMessage("'x' is not a valid integer value");
    clickLink("koav2:ReadPlan/x");
    scripted.expectMessage("Error - Unknown link \"koav2:planmanager\"");
    clickLink("koav2:planmanager");
    EXPECT_EQ(target.ran, "");
}

} // namespace
} // namespace kovara::ui
