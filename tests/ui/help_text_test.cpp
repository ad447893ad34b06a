// The help document quotes the program: every menu path, button caption,
// label and status text it sets in bold or italics must be one the program
// really shows. Words set that way only for emphasis, examples and file names
// are listed here by name, so a new quote is checked unless someone decides
// otherwise.
#include "ui/app/main_window.h"
#include "ui/base/core_names.h"

#include "core/app/welcome_page.h"
#include "core/base/datetime.h"
#include "core/plans/plan_store.h"
#include "core/plans/todays_reading.h"
#include "fixtures.h"
#include "scripted_dialogs.h"
#include "ui/app/about_dialog.h"
#include "ui/app/help_viewer.h"
#include "ui/app/preferences_dialog.h"

#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QRegularExpression>
#include <QSet>
#include <QTabBar>
#include <QTextDocumentFragment>
#include <QTreeWidget>
#include <gtest/gtest.h>

#include "ui/plans/catch_up_dialog.h"
#include "ui/plans/new_plan_dialog.h"
#include "ui/prayer/prayer_editor.h"
#include "ui/plans/reminder_settings_panel.h"

#include <map>

namespace kovara::ui {
namespace {

// Emphasis, headings of the help's own lists, examples and file names: not
// quotes of the program.
const QSet<QString> kNotQuotes = {
    // bold headings and emphasis
    "Start a reading plan", "Read today's devotional", "Add a prayer item", "Menus", "Tool bar", "Side bar",
    "Bible reading plan summary", "Prayer items", "Devotional page and reading page", "Tick or clear a box",
    "Double-click a day", "Right-click a day", "bold", "all",
    "Go to a passage", "Browse", "Search", "Copy",
    ".ics",
    // examples of what the user types or sees from the system
    "Family", "Church", "Missions", "Print to File (PDF)", "Day 12 of 364: Genesis 30 - 31",
    // file and folder names
    ".kova2bak", ".old", "prayers.kova2", "userreadplans.kova2", "settings.ini", "~/.local/share/Kovara 2/",
    // titles the prayer store gives new items
    "New Prayer Item", "New Prayer Item 2",
};

// A caption as the user reads it: without its mnemonic marks, blanks at the
// ends and a closing colon.
QString asRead(QString text)
{
    text.replace(QRegularExpression(QStringLiteral("&(.)")), QStringLiteral("\\1"));
    text = text.trimmed();
    if (text.endsWith(u':'))
        text.chop(1);
    return text;
}

class HelpTextTest : public ::testing::Test {
protected:
    HelpTextTest()
    {
        kovara::test::makeAlphaBetaBible(program.file("bible.kova2"));
        kovara::test::makeDevotional(program.file("devotional.kova2"), {{3, 5, "<p>Fifth of March</p>"}});
    }

    // Every text the program shows in a widget, a menu or an action of its
    // windows, and the links of its welcome page.
    QSet<QString> programTexts(MainWindow& window)
    {
        QSet<QString> texts;
        const auto add = [&texts](const QString& text) {
            if (!asRead(text).isEmpty())
                texts.insert(asRead(text));
        };
        for (QWidget* widget : QApplication::allWidgets()) {
            if (auto* button = qobject_cast<QAbstractButton*>(widget))
                add(button->text());
            if (auto* label = qobject_cast<QLabel*>(widget))
                add(label->text());
            if (auto* menu = qobject_cast<QMenu*>(widget))
                add(menu->title());
            if (auto* tabs = qobject_cast<QTabBar*>(widget))
                for (int i = 0; i < tabs->count(); ++i)
                    add(tabs->tabText(i));
            if (auto* combo = qobject_cast<QComboBox*>(widget))
                for (int i = 0; i < combo->count(); ++i)
                    add(combo->itemText(i));
            for (const QAction* action : widget->findChildren<QAction*>())
                add(action->text());
            for (const QAction* action : widget->actions())
                add(action->text());
        }
        for (const char* status : {kStatusBehind, kStatusCompleted, kStatusMarkedRead, kCatchingUp, kPlanCompleted})
            add(QString::fromUtf8(status));
        // The welcome page's links, with the plan and without.
        const QRegularExpression link(QStringLiteral("<a [^>]*>(.*?)</a>"));
        for (int plans = 0; plans < 2; ++plans) {
            if (plans == 1)
                window.planStore().deletePlan(0);
            const QString page = QString::fromStdString(
                buildWelcomePageText(window.planStore(), window.prayerStore(), window.preferences(), clock));
            for (const auto& m : link.globalMatch(page))
                add(QTextDocumentFragment::fromHtml(m.captured(1)).toPlainText());
        }
        return texts;
    }

    kovara::test::TempDir program;
    kovara::test::TempDir appData;
    test::ScriptedDialogs dialogs;
    FixedClock clock{makeMoment(2024, 3, 5, 9, 0, 0)};
};

TEST_F(HelpTextTest, EveryQuotedCaptionMenuEntryAndStatusIsTheProgramsOwn)
{
    QFile file(QString::fromStdString(kovara::test::builtFile("KOVA2.hlp")));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QString help = QString::fromUtf8(file.readAll());

    MainWindow window(program.folder(), appData.path().string(), dialogs, clock);
    PreferencesDialog preferences(&window); // made on first use in the program
    ReminderSettingsPanel reminder(&preferences); // added to it then
    CatchUpDialog catchUp(CatchUpPreview{}, &window); // made when a reader catches up
    NewPlanDialog newPlan(dialogs, clock, &window);     // made when a plan is first started
    PrayerEditor editor(dialogs, nullptr, &window);     // made when an item is first edited
    HelpViewer helpWindow(&window);                     // made when help is first asked for
    AboutDialog about(&window);                         // made when first shown
    // The plan manager names the chosen day in its context commands.
    window.planStore().addPlan("Plan", {"1-3", "4-6"}, clock.today());
    window.session().notifyPlansChanged();
    window.mainActions().planManagerAction->trigger();
    for (QTreeWidget* days : window.findChildren<QTreeWidget*>())
        if (days->topLevelItemCount() > 0)
            days->setCurrentItem(days->topLevelItem(1));
    // Each page is made when first opened.
    window.mainActions().readBibleAction->trigger();
    window.mainActions().faithsCheckbookAction->trigger();
    window.mainActions().activePrayersAction->trigger();
    window.showPage(Page::Reading);
    const QSet<QString> texts = programTexts(window);
    std::map<QString, QStringList> menus;
    for (const QAction* top : window.menuBar()->actions())
        for (const QAction* entry : top->menu()->actions())
            menus[asRead(top->text())] << asRead(entry->text());

    int checked = 0;
    const QRegularExpression quote(QStringLiteral("<([bi])>(.*?)</\\1>"),
                                   QRegularExpression::DotMatchesEverythingOption);
    for (const auto& m : quote.globalMatch(help)) {
        // Plain text, one blank between words, and a heading's full stop gone.
        QString text = QTextDocumentFragment::fromHtml(m.captured(2)).toPlainText().simplified();
        if (text.endsWith(u'.') && !text.endsWith(QStringLiteral("...")) && !texts.contains(text))
            text.chop(1);
        text = asRead(text);
        if (kNotQuotes.contains(text))
            continue;
        ++checked;
        const QStringList path = text.split(QStringLiteral(" > "));
        if (path.size() == 2) {
            const auto menu = menus.find(path[0]);
            EXPECT_TRUE(menu != menus.end() && menu->second.contains(path[1]))
                << "the help names a menu entry the program does not have: " << text.toStdString();
            continue;
        }
        // "day N" stands for the day a context command names.
        if (text.contains(QStringLiteral(" N "))) {
            QStringList parts = text.split(QStringLiteral(" N "));
            for (QString& part : parts)
                part = QRegularExpression::escape(part);
            const QRegularExpression withDay(QRegularExpression::anchoredPattern(parts.join(QStringLiteral(" \\d+ "))));
            bool found = false;
            for (const QString& shown : texts)
                found = found || withDay.match(shown).hasMatch();
            EXPECT_TRUE(found) << "the help quotes a text the program does not show: " << text.toStdString();
            continue;
        }
        EXPECT_TRUE(texts.contains(text)) << "the help quotes a text the program does not show: "
                                          << text.toStdString();
    }
    EXPECT_GT(checked, 60); // the quotes were found at all
}

} // namespace
} // namespace kovara::ui
