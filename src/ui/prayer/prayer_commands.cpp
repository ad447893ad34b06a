#include "ui/prayer/prayer_commands.h"
#include "ui/base/core_names.h"

#include "core/prayer/prayer_store.h"
#include "ui/base/error_guard.h"
#include "ui/prayer/prayer_editor.h"
#include "ui/prayer/prayer_tracker_page.h"
#include "ui/base/shell.h"
#include "ui/base/busy_cursor.h"
#include "ui/base/dialogs.h"
#include "ui/prayer/journal_export.h"
#include "ui/prayer/journal_export_dialog.h"

#include <QAction>
#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QProgressDialog>
#include <QTextDocument>

#include <memory>

namespace kovara::ui {

PrayerCommands::PrayerCommands(Shell& shell, PrayerTrackerPage& tracker, PrayerEditor& editor, QObject* parent)
    : PrayerCommands(
          shell, [&tracker]() -> PrayerTrackerPage& { return tracker; }, [&editor]() -> PrayerEditor& { return editor; },
          parent)
{
}

PrayerCommands::PrayerCommands(Shell& shell, std::function<PrayerTrackerPage&()> tracker,
                               std::function<PrayerEditor&()> editor, QObject* parent)
    : QObject(parent), shell_(shell), tracker_(std::move(tracker)), editor_(std::move(editor))
{
    exportJournalAction = new QAction(tr("&Export Prayer Journal..."), this);
    exportJournalAction->setObjectName(QStringLiteral("exportJournalAction"));
    exportJournalAction->setToolTip(tr("Writes chosen prayer items to a PDF document or an HTML page"));
    connect(exportJournalAction, &QAction::triggered, this, &PrayerCommands::exportJournalCommand);
    runExportDialog = [](JournalExportDialog& dialog) { return dialog.exec() == QDialog::Accepted; };
}

void PrayerCommands::exportJournalCommand()
{
    runGuarded(shell_.dialogs(), [this] {
        PrayerStore& store = shell_.prayerStore();
        JournalExportDialog dialog(store.topicList(), shell_.clock().today(),
                                   QApplication::activeWindow());
        if (lastExport_)
            dialog.setChoices(lastExport_->selection, lastExport_->pdf);
        if (!runExportDialog(dialog))
            return;
        const bool pdf = dialog.pdf();
        const PrayerSelection selection = dialog.selection();
        lastExport_ = ExportChoices{selection, pdf};
        // Nothing to write is said before a file name is asked for.
        if (store.selectPrayers(selection).empty()) {
            shell_.dialogs().message(tr("No prayer items match the statuses, category and dates you chose."));
            return;
        }
        const QDir folder(exportFolder_.isEmpty() || !QDir(exportFolder_).exists() ? QDir::homePath() : exportFolder_);
        const QString proposal = folder.filePath(pdf ? tr("Prayer journal.pdf") : tr("Prayer journal.html"));
        const QString file = shell_.dialogs().chooseSaveFile(
            tr("Export Prayer Journal"), pdf ? tr("PDF documents (*.pdf)") : tr("HTML pages (*.html *.htm)"),
            proposal);
        if (file.isEmpty())
            return;
        exportFolder_ = QFileInfo(file).absolutePath();
        exportJournal(selection, pdf, file);
    });
}

void PrayerCommands::exportJournal(const PrayerSelection& selection, bool pdf, const QString& fileName)
{
    PrayerStore& store = shell_.prayerStore();
    const PrayerHeaders items = store.selectPrayers(selection);
    if (items.empty()) {
        shell_.dialogs().message(tr("No prayer items match the statuses, category and dates you chose."));
        return;
    }
    BusyCursor busy;
    // The progress window shows once the work has taken a moment.
    std::unique_ptr<QProgressDialog> progress;
    if (qobject_cast<QApplication*>(QCoreApplication::instance())) {
        progress = std::make_unique<QProgressDialog>(tr("Preparing the prayer items..."), tr("Cancel"), 0, 100,
                                                     QApplication::activeWindow());
        progress->setWindowTitle(tr("Export Prayer Journal"));
        progress->setWindowModality(Qt::WindowModal);
        progress->setMinimumDuration(400);
        progress->setAutoClose(false);
        progress->setAutoReset(false);
    }
    const JournalExport::Progress report = [&](const QString& stage, int done, int total) {
        if (!progress)
            return;
        if (progress->wasCanceled())
            throw JournalExport::Cancelled{};
        progress->setLabelText(stage);
        progress->setMaximum(std::max(total, 1));
        progress->setValue(done);
    };
    QTextDocument doc;
    try {
        // Verses go with their text when the Bible opens, else as references.
        const BibleStore* bible = nullptr;
        try {
            bible = &shell_.bible();
        } catch (const std::exception&) {
        }
        JournalExport::buildDocument(doc, store, selection, items, shell_.clock().today(), report, bible);
        if (pdf)
            JournalExport::writePdf(doc, fileName, report);
        else
            JournalExport::writeHtml(doc, fileName);
    } catch (const JournalExport::Cancelled&) {
        return; // the reader stopped it; nothing was written
    }
    progress.reset();
    shell_.dialogs().message(tr("%1 written to %2.")
                                    .arg(JournalExport::coverLine(selection, static_cast<int>(items.size())),
                                         QDir::toNativeSeparators(fileName)));
}

void PrayerCommands::newPrayerItem()
{
    const std::int32_t index = shell_.prayerStore().newPrayerItem();
    bool saved = false;
    try {
        saved = editor_().editPrayer(shell_.prayerStore(), index, true, shell_.preferences());
    } catch (...) {
        shell_.prayerStore().discardNewItem(index);
        throw;
    }
    if (!saved) {
        shell_.prayerStore().discardNewItem(index);
        return;
    }
    // Only a status the list can show makes a tab to land on; any other lands
    // on the tab of every item.
    const PrayerFilter status = shell_.prayerStore().prayerStatus(index).status();
    tracker_().clearSearch();
    tracker_().initPrayers(shell_.prayerStore(), status, index);
    shell_.showPage(Page::PrayerTracker);
    tracker_().updateActions();
}

void PrayerCommands::viewPrayers(PrayerFilter filter)
{
    shell_.showPage(Page::PrayerTracker);
    tracker_().initPrayers(shell_.prayerStore(), filter, -1);
}

void PrayerCommands::newPrayerCommand()
{
    runGuarded(shell_.dialogs(), [this] { newPrayerItem(); });
}

void PrayerCommands::showActivePrayers()
{
    runGuarded(shell_.dialogs(), [this] { viewPrayers(PrayerStatus::Active); });
}

void PrayerCommands::showAnsweredPrayers()
{
    runGuarded(shell_.dialogs(), [this] { viewPrayers(PrayerStatus::Answered); });
}

void PrayerCommands::showInactivePrayers()
{
    runGuarded(shell_.dialogs(), [this] { viewPrayers(PrayerStatus::Inactive); });
}

void PrayerCommands::showAllPrayers()
{
    runGuarded(shell_.dialogs(), [this] { viewPrayers(std::nullopt); });
}

} // namespace kovara::ui
