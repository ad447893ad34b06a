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
//   prayerEditor_ = new TFormPrayerEdit(dialogs, &settingsIni, this);
//   FrameKOVAPrayerTracker1 = new TFrameKOVAPrayerTracker(shell, *prayerEditor_, TabSheetPrayerTracker);
//   FrameKOVAPrayerTracker1->AssignPreferences(prefs); // at start-up and after the preferences dialog
//   prayerCommands_ = new TPrayerCommands(shell, *FrameKOVAPrayerTracker1, *prayerEditor_, this);
//   // One QAction each, category "Prayers", no shortcut keys, always enabled:
//   //   ActionNewPrayer       "New Prayer Item..."    -> ActionNewPrayerExecute
//   //   ActionPrayersActive   "View Active Prayers"   -> ActionPrayersActiveExecute
//   //   ActionPrayersAnswered "View Answered Prayers" -> ActionPrayersAnsweredExecute
//   //   ActionPrayersInactive "View Inactive Prayers" -> ActionPrayersInactiveExecute
//   //   ActionPrayersAll      "View All Prayers"      -> ActionPrayersAllExecute
//   connect(ActionNewPrayer, &QAction::triggered, prayerCommands_, &TPrayerCommands::ActionNewPrayerExecute);
//   ... likewise for the other four ...
//   // The "Prayers" menu: New Prayer Item..., a separator, the four views; the
//   // side bar group "Prayer Tracker" lists the same five in the same order.
//   // HandleInternalLink: if (prayerCommands_->HandleLink(href)) return;
//   // FormClose: prefs.SplitPercent = FrameKOVAPrayerTracker1->SplitPercent();
//   // Copy and Print while the prayer page shows: FrameKOVAPrayerTracker1->TextArea().
//
// The slots show a failure through the shell's dialogs (the command's error
// display); NewPrayerItem and ViewPrayers raise it to their caller instead.
#include <QObject>
#include <QString>
#include <string>

namespace kovara::ui {

class Shell;
class TFormPrayerEdit;
class TFrameKOVAPrayerTracker;

class TPrayerCommands : public QObject {
    Q_OBJECT
public:
    // None of the three is owned; all must outlive the controller.
    TPrayerCommands(Shell& shell, TFrameKOVAPrayerTracker& tracker, TFormPrayerEdit& editor,
                    QObject* parent = nullptr);

    // Inserts a new item (it stays whatever the user does in the editor),
    // opens it in the editor for overtyping its default title, then shows the
    // prayer page on the tab of the item's status with the item selected.
    // When the insert fails no editor opens.
    void NewPrayerItem();
    // Switches to the prayer page and shows the items of filter ("Active",
    // "Answered", "Inactive" or "Any") with the first one selected.
    void ViewPrayers(const std::string& filter);

    // Runs the command of a welcome page link ("koav2:NewPrayerItem",
    // "koav2:ViewActivePrayers", "koav2:ViewAnsweredPrayers",
    // "koav2:ViewInactivePrayers", "koav2:ViewAllPrayers") through its slot.
    // Returns false, doing nothing, for any other address.
    bool HandleLink(const QString& href);

public slots:
    void ActionNewPrayerExecute();
    void ActionPrayersActiveExecute();
    void ActionPrayersAnsweredExecute();
    void ActionPrayersInactiveExecute();
    void ActionPrayersAllExecute();

private:

    Shell& shell_;
    TFrameKOVAPrayerTracker& tracker_;
    TFormPrayerEdit& editor_;
};

} // namespace kovara::ui
