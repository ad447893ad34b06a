#pragma once
// The main window's fixed parts around its pages, built from its command
// table: the menu bar, the tool bar and the side bar of command groups.
#include "ui/base/core_names.h"

class QAction;
class QLabel;
class QMainWindow;
class QMenu;

namespace kovara::ui {

class GroupBar;
class GroupBarGroup;
class PlanController;
class PrayerCommands;
struct MainActions;
enum class Page;

// The menu entries other parts of the window fill later.
struct MainMenus {
    QMenu* reading = nullptr;         // plan entries go above readingBreak
    QAction* readingBreak = nullptr;
    QMenu* prayers = nullptr;
    QAction* openHelpContents = nullptr; // "Open Help" of the Help menu
};

// File, Edit, Reading, Bible, Devotional, Prayers and Help, and F10 to open
// the first of them.
MainMenus buildMenus(QMainWindow& window, const MainActions& actions);
// Home, Bible, Copy, Print and Help, with their pictures.
void buildToolBar(QMainWindow& window, const MainActions& actions);

// The status bar with its one field, which the window fills.
QLabel* buildStatusBar(QMainWindow& window);

struct SideBar {
    GroupBar* bar = nullptr;
    GroupBarGroup* plans = nullptr; // plan entries go before "Start New Reading Plan..."
};
SideBar buildSideBar(const MainActions& actions);
// The side bar's entry that shows page, however it was opened; null for a
// page that has no one entry (a plan's day, a prayer list).
QAction* sideBarEntryOf(Page page, const MainActions& actions);

// The window's plan and prayer actions (in its menus and side bar) run the
// controllers' commands, which guard their own errors.
void connectPlanActions(const MainActions& actions, PlanController& plans);
void connectPrayerActions(const MainActions& actions, PrayerCommands& prayers);

} // namespace kovara::ui
