#include "fixtures.h"
#include "scripted_dialogs.h"
#include "ui/base/core_names.h"

#include "core/base/datetime.h"
#include "core/db/sqlite_db.h"
#include "ui/app/main_window.h"
#include "ui/app/preferences_dialog.h"
#include "ui/base/html_viewer.h"
#include "ui/plans/new_plan_dialog.h"
#include "ui/prayer/prayer_editor.h"

#include <QAccessible>
#include <QAction>
#include <QApplication>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QSet>
#include <functional>
#include <QStackedWidget>
#include <QTextEdit>
#include <QVBoxLayout>
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

// The text views in widget whose text, as a screen reader reads it, holds
// the characters the text engine marks frames and tables with (U+FDD0,
// U+FDD1), which a reader would spell out.
std::string viewsWithMarkers(QWidget* root)
{
    QStringList marked;
    for (QTextEdit* view : root->findChildren<QTextEdit*>()) {
        QAccessibleInterface* iface = QAccessible::queryAccessibleInterface(view);
        QAccessibleTextInterface* text = iface ? iface->textInterface() : nullptr;
        if (!text)
            continue;
        const QString all = text->text(0, text->characterCount());
        if (all.contains(QChar(0xFDD0)) || all.contains(QChar(0xFDD1)))
            marked << view->objectName();
    }
    return marked.join(QStringLiteral(", ")).toStdString();
}

// The Tab stops of a shown window that are out of reading order: a stop
// above the one before it in the same column (the side bar and the page are
// two columns, read one after the other), or on the same line to its left.
std::string tabStopsOutOfOrder(QWidget* window)
{
    window->show();
    QApplication::processEvents();
    QList<QWidget*> stops;
    QWidget* w = window;
    while ((w = w->nextInFocusChain()) != window) {
        if (w->isVisible() && (w->focusPolicy() & Qt::TabFocus) && w->isEnabled() && !w->focusProxy() &&
            window->isAncestorOf(w))
            stops << w;
    }
    QStringList wrong;
    for (int i = 1; i < stops.size(); ++i) {
        const QRect before(stops[i - 1]->mapTo(window, QPoint()), stops[i - 1]->size());
        const QRect here(stops[i]->mapTo(window, QPoint()), stops[i]->size());
        const bool sameColumn = here.left() <= before.right() && before.left() <= here.right();
        const bool above = sameColumn && here.center().y() < before.top();
        const bool leftOnSameLine = here.center().y() <= before.bottom() && here.center().y() >= before.top() &&
                                    here.right() < before.left();
        if (above || leftOnSameLine)
            wrong << QString::fromLatin1(stops[i]->metaObject()->className()) + "/" + stops[i]->objectName() +
                         " after " + QString::fromLatin1(stops[i - 1]->metaObject()->className()) + "/" +
                         stops[i - 1]->objectName();
    }
    window->hide();
    return wrong.join(QStringLiteral(", ")).toStdString();
}

TEST(AccessibilityTest, TheChecksSeeAnUnnamedFieldAndABackwardTab)
{
    QWidget window;
    auto* layout = new QVBoxLayout(&window);
    QLineEdit* fields[3];
    for (int i = 0; i < 3; ++i) {
        fields[i] = new QLineEdit(&window);
        fields[i]->setObjectName(QString::number(i));
        fields[i]->setAccessibleName(QString::number(i));
        layout->addWidget(fields[i]);
    }
    fields[1]->setAccessibleName(QString());
    EXPECT_EQ(unnamedControls(&window), "QLineEdit/1");
    EXPECT_EQ(tabStopsOutOfOrder(&window), "");
    QWidget::setTabOrder(fields[0], fields[2]); // 0, 2, 1: Tab goes back up
    EXPECT_EQ(tabStopsOutOfOrder(&window), "QLineEdit/1 after QLineEdit/2");

    auto* view = new HtmlViewer(&window);
    view->setObjectName(QStringLiteral("view"));
    view->setHtml(QStringLiteral("<p>Before</p><table><tr><td>Genesis 1</td><td>Genesis 2</td></tr></table><p>After</p>"));
    // Qt's own text view hands a reader the table's marks; the viewer reads
    // them as line breaks, offset for offset.
    auto* plain = new QTextEdit(&window);
    plain->setObjectName(QStringLiteral("plain"));
    plain->setHtml(view->toHtml());
    EXPECT_EQ(viewsWithMarkers(&window), "plain");
    QAccessibleTextInterface* text = QAccessible::queryAccessibleInterface(view)->textInterface();
    const int tableStart = static_cast<int>(text->text(0, text->characterCount()).indexOf(QStringLiteral("Genesis 1")));
    text->setSelection(0, tableStart, tableStart + 9);
    EXPECT_EQ(view->textCursor().selectedText(), "Genesis 1");
}

TEST(AccessibilityTest, DialogsNameEveryControl)
{
    PreferencesDialog prefs;
    EXPECT_EQ(unnamedControls(&prefs), "");
    EXPECT_EQ(tabStopsOutOfOrder(&prefs), "");
    test::ScriptedDialogs dialogs;
    FixedClock clock{makeDate(2023, 3, 15)};
    NewPlanDialog newPlan(dialogs, clock);
    EXPECT_EQ(unnamedControls(&newPlan), "");
    EXPECT_EQ(tabStopsOutOfOrder(&newPlan), "");
    PrayerEditor editor(dialogs);
    EXPECT_EQ(unnamedControls(&editor), "");
    EXPECT_EQ(tabStopsOutOfOrder(&editor), "");
}

// Each page of the main window, on a program folder with a small Bible and
// a one-entry devotional.
TEST(AccessibilityTest, PagesNameEveryControl)
{
    kovara::test::TempDir program, appData;
    kovara::test::makeAlphaBetaBible(program.file("bible.kova2"));
    kovara::test::makeDevotional(program.file("devotional.kova2"), {{1, 1, "<p>First of January</p>"}});
    test::ScriptedDialogs dialogs;
    FixedClock clock{makeDate(2023, 3, 15)};
    MainWindow window(program.folder(), appData.path().string(), dialogs, clock);
    const MainActions& a = window.mainActions();
    auto* pages = window.findChild<QStackedWidget*>("pages");
    ASSERT_TRUE(pages);
    EXPECT_EQ(unnamedControls(window.findChild<QWidget*>("sideBar")), "");
    // Every command the window owns is in a menu (reached with Alt and the
    // arrow keys) or has a key of its own. The pages' own commands sit on
    // their buttons and context menus, which the Tab stops above reach.
    QSet<const QAction*> inMenus;
    std::function<void(const QMenu*)> collect = [&](const QMenu* menu) {
        for (const QAction* action : menu->actions()) {
            inMenus.insert(action);
            if (action->menu())
                collect(action->menu());
        }
    };
    for (const QAction* top : window.menuBar()->actions())
        if (top->menu())
            collect(top->menu());
    QStringList unreachable;
    for (const QAction* action : window.findChildren<QAction*>(QString(), Qt::FindDirectChildrenOnly))
        if (!action->isSeparator() && !action->text().isEmpty() && !action->menu() && !inMenus.contains(action) &&
            action->shortcut().isEmpty())
            unreachable << action->objectName() + " " + action->text();
    EXPECT_EQ(unreachable.join(QStringLiteral(", ")).toStdString(), "");

    for (QAction* page : {a.welcomePageAction, a.faithsCheckbookAction, a.readBibleAction, a.answeredPrayersAction,
                          a.planManagerAction}) {
        page->trigger();
        EXPECT_EQ(unnamedControls(pages->currentWidget()), "") << page->objectName().toStdString();
        EXPECT_EQ(tabStopsOutOfOrder(&window), "") << page->objectName().toStdString();
        EXPECT_EQ(viewsWithMarkers(pages->currentWidget()), "") << page->objectName().toStdString();
    }
}

} // namespace
} // namespace kovara::ui
