#pragma once
// The main window's five prayer commands: a new prayer item, and the prayer
// page opened on one status. They keep no state: each asks the shell for the
// current prayer store and refills the tracker page, so the page always shows
// the database as it is now (also after a backup, restore or import).
//
// How the main window wires it (MainWindow::createPrayerPage): one
// PrayerEditor for the whole run and one PrayerTrackerPage on the prayer
// page, then one PrayerCommands over both. Its five prayer actions are
// connected to newPrayerCommand and the four show...Prayers slots.
//
// The slots show a failure through the shell's dialogs (the command's error
// display); newPrayerItem and viewPrayers raise it to their caller instead.
#include "ui/base/core_names.h"
#include "core/prayer/prayer_store.h"

#include <QObject>
#include <QString>
#include <functional>
#include <optional>
#include <string>

class QAction;

namespace kovara::ui {

class Shell;
class PrayerEditor;
class PrayerTrackerPage;
class JournalExportDialog;

class PrayerCommands : public QObject {
    Q_OBJECT
public:
    // tracker and editor give the prayer page and the editor, made on first
    // use by whoever owns them. None is owned; all must outlive the
    // controller.
    PrayerCommands(Shell& shell, std::function<PrayerTrackerPage&()> tracker, std::function<PrayerEditor&()> editor,
                   QObject* parent = nullptr);
    PrayerCommands(Shell& shell, PrayerTrackerPage& tracker, PrayerEditor& editor, QObject* parent = nullptr);

    // Inserts a new item and opens it in the editor for overtyping its default
    // title. Once it is saved, shows the prayer page on the tab of the item's
    // status with the item selected. Closed without saving (or when the editor
    // cannot open), the item is removed again and nothing else changes: the
    // journal and the page are as they were. When the insert fails no editor
    // opens.
    void newPrayerItem();
    // Switches to the prayer page and shows the items of filter (nothing:
    // every item) with the first one selected.
    void viewPrayers(PrayerFilter filter);


    // Writes the items of selection to fileName as PDF or HTML, with a
    // progress window while it takes, and tells the user where it went.
    // With no item to write it says so and writes nothing. Raises the store's
    // and the file's errors (an existing file is then left as it was for
    // HTML; a PDF may be left incomplete).
    void exportJournal(const PrayerSelection& selection, bool pdf, const QString& fileName);

    // "Export Prayer Journal...": the main window puts it in its Prayers menu.
    QAction* exportJournalAction;
    // Shows the export window modally; tests replace it to play the user.
    std::function<bool(JournalExportDialog&)> runExportDialog;

public slots:
    void newPrayerCommand();
    void showActivePrayers();
    void showAnsweredPrayers();
    void showInactivePrayers();
    void showAllPrayers();
    // Asks what to export and where, then exports.
    void exportJournalCommand();

private:
    // What the export window was last left at, and the folder of the last
    // export, proposed again at the next export of this run.
    struct ExportChoices {
        PrayerSelection selection;
        bool pdf = true;
    };
    std::optional<ExportChoices> lastExport_;
    QString exportFolder_;

    Shell& shell_;
    std::function<PrayerTrackerPage&()> tracker_;
    std::function<PrayerEditor&()> editor_;
};

} // namespace kovara::ui
