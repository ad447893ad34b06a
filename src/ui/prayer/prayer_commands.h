#pragma once
// The main window's five prayer commands: a new prayer item, and the prayer
// page opened on one status. They keep no state: each asks the shell for the
// current prayer store and refills the tracker page, so the page always shows
// the database as it is now (also after a backup, restore or import).
//
// Wiring in the main window (a few lines):
//
//   // The editor (one for the whole run, placement in settings.ini) and the
//   // page; the page control shows and hides the frame, which re-runs its
//   // enabling rules on each switch.
//   prayerEditor_ = new PrayerEditor(dialogs, &settingsIni, this);
//   prayerTrackerPage = new PrayerTrackerPage(shell, *prayerEditor_, TabSheetPrayerTracker);
//   prayerTrackerPage->assignPreferences(prefs); // at start-up and after the preferences dialog
//   prayerCommands_ = new PrayerCommands(shell, *prayerTrackerPage, *prayerEditor_, this);
//   // One QAction each, category "Prayers", no shortcut keys, always enabled:
//   //   newPrayerAction       "New Prayer Item..."    -> newPrayerCommand
//   //   activePrayersAction   "View Active Prayers"   -> showActivePrayers
//   //   answeredPrayersAction "View Answered Prayers" -> showAnsweredPrayers
//   //   inactivePrayersAction "View Inactive Prayers" -> showInactivePrayers
//   //   allPrayersAction      "View All Prayers"      -> showAllPrayers
//   connect(newPrayerAction, &QAction::triggered, prayerCommands_, &PrayerCommands::newPrayerCommand);
//   ... likewise for the other four ...
//   // The "Prayers" menu: New Prayer Item..., a separator, the four views; the
//   // side bar group "Prayer Tracker" lists the same five in the same order.
//   // handleInternalLink: if (prayerCommands_->handleLink(href)) return;
//   // saveState: prefs.splitPercent = prayerTrackerPage->splitPercent();
//   // Copy and Print while the prayer page shows: prayerTrackerPage->textArea().
//
// The slots show a failure through the shell's dialogs (the command's error
// display); newPrayerItem and viewPrayers raise it to their caller instead.
#include "ui/base/core_names.h"
#include <QObject>
#include <QString>
#include <string>

namespace kovara::ui {

class Shell;
class PrayerEditor;
class PrayerTrackerPage;

class PrayerCommands : public QObject {
    Q_OBJECT
public:
    // None of the three is owned; all must outlive the controller.
    PrayerCommands(Shell& shell, PrayerTrackerPage& tracker, PrayerEditor& editor,
                    QObject* parent = nullptr);

    // Inserts a new item (it stays whatever the user does in the editor),
    // opens it in the editor for overtyping its default title, then shows the
    // prayer page on the tab of the item's status with the item selected.
    // When the insert fails no editor opens.
    void newPrayerItem();
    // Switches to the prayer page and shows the items of filter ("Active",
    // "Answered", "Inactive" or "Any") with the first one selected.
    void viewPrayers(const std::string& filter);

    // Runs the command of a welcome page link ("koav2:newPrayerItem",
    // "koav2:ViewActivePrayers", "koav2:ViewAnsweredPrayers",
    // "koav2:ViewInactivePrayers", "koav2:ViewAllPrayers") through its slot.
    // Returns false, doing nothing, for any other address.
    bool handleLink(const QString& href);

public slots:
    void newPrayerCommand();
    void showActivePrayers();
    void showAnsweredPrayers();
    void showInactivePrayers();
    void showAllPrayers();

private:

    Shell& shell_;
    PrayerTrackerPage& tracker_;
    PrayerEditor& editor_;
};

} // namespace kovara::ui
