#include "fixtures.h"
#include "scripted_dialogs.h"
#include "ui/base/core_names.h"

#include "core/base/datetime.h"
#include "core/db/sqlite_db.h"
#include "ui/app/main_window.h"
#include "ui/app/preferences_dialog.h"
#include "ui/plans/new_plan_dialog.h"
#include "ui/prayer/prayer_editor.h"

#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QStackedWidget>
#include <QWidget>
#include <gtest/gtest.h>

namespace kovara::ui {
namespace {

// The controls a keyboard user can reach in widget (Tab stops that are
// shown) whose accessible name is empty: a screen reader would announce
// them by role alone.
std::string unnamedControls(QWidget* root)
{
    QStringList unnamed;
    for (QWidget* w : root->findChildren<QWidget*>()) {
        if (!w->isVisibleTo(root) || !(w->focusPolicy() & Qt::TabFocus) || w->focusProxy())
            continue;
        QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(w);
        if (!iface || iface->text(QAccessible::Name).trimmed().isEmpty())
            unnamed << QString::fromLatin1(w->metaObject()->className()) + "/" + w->objectName();
    }
    return unnamed.join(QStringLiteral(", ")).toStdString();
}

TEST(AccessibilityTest, DialogsNameEveryControl)
{
    PreferencesDialog prefs;
    EXPECT_EQ(unnamedControls(&prefs), "");
    test::ScriptedDialogs dialogs;
    FixedClock clock(45000);
    NewPlanDialog newPlan(dialogs, clock);
    EXPECT_EQ(unnamedControls(&newPlan), "");
    PrayerEditor editor(dialogs);
    EXPECT_EQ(unnamedControls(&editor), "");
}

// Each page of the main window, on a program folder with a small Bible and
// a one-entry devotional.
TEST(AccessibilityTest, PagesNameEveryControl)
{
    kovara::test::TempDir program, appData;
    kovara::test::makeAlphaBetaBible(program.file("bible.kova2"));
    sqlite3* db = nullptr;
    openDatabase(program.file("devotional.kova2"), db);
    execSQL(db, "CREATE TABLE faithsCheckbook (entryIndex INTEGER PRIMARY KEY, month INTEGER, day INTEGER, "
                "devotionalText TEXT);"
                "INSERT INTO faithsCheckbook VALUES (1,1,1,'<p>First of January</p>');");
    closeDatabase(db);
    test::ScriptedDialogs dialogs;
    FixedClock clock(45000);
    MainWindow window(program.folder(), appData.path().string(), dialogs, clock);
    const MainActions& a = window.mainActions();
    auto* pages = window.findChild<QStackedWidget*>("RzPageControl1");
    ASSERT_TRUE(pages);
    EXPECT_EQ(unnamedControls(window.findChild<QWidget*>("RzGroupBar1")), "");
    for (QAction* page : {a.welcomePageAction, a.faithsCheckbookAction, a.answeredPrayersAction,
                          a.planManagerAction}) {
        page->trigger();
        EXPECT_EQ(unnamedControls(pages->currentWidget()), "") << page->objectName().toStdString();
    }
}

} // namespace
} // namespace kovara::ui
