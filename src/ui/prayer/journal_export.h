#pragma once
// The prayer journal as a readable record: the chosen items grouped by topic
// in one table whose header row repeats on every printed page, each item with
// its title, topic, status, dates, formatted text, answer and dated notes,
// under a cover line ("Prayer journal, 1 Jan – 31 Dec 2026, 48 items").
// Written as PDF (with page numbers) or as HTML.
#include "ui/base/core_names.h"
#include "core/prayer/prayer_store.h"

#include <QCoreApplication>
#include <QString>
#include <functional>

class QTextDocument;

namespace kovara::core {
class BibleStore;
}

namespace kovara::ui {

class JournalExport {
    Q_DECLARE_TR_FUNCTIONS(kovara::ui::JournalExport)

public:
    // Told how far the work is: a line to show, and done out of total.
    // A progress callback may throw Cancelled to stop the export; writePdf
    // then removes the unfinished file and leaves an earlier one as it was.
    using Progress = std::function<void(const QString& stage, int done, int total)>;
    struct Cancelled {};

    // The cover line: what the selection chose (its statuses, its category
    // or all, its dates and which of them, or all dates) and the number of
    // items.
    static QString coverLine(const PrayerSelection& selection, int count);

    // Fills doc (emptied first) with the items, read from store, each with the
    // verses attached to it (their text read from bible when given). Raises
    // the store's errors.
    static void buildDocument(QTextDocument& doc, PrayerStore& store, const PrayerSelection& selection,
                              const PrayerHeaders& items, sys_days today, const Progress& progress = {},
                              const BibleStore* bible = nullptr);

    // Writes doc as an A4 PDF with "Page n of m" under every page. Raises
    // Exception when the file cannot be written. The file is written beside
    // fileName and takes that name only once complete.
    static void writePdf(QTextDocument& doc, const QString& fileName, const Progress& progress = {});
    // Writes doc as one HTML page (UTF-8). Raises Exception when the file
    // cannot be written; an existing file is replaced only once the new one
    // is complete.
    static void writeHtml(const QTextDocument& doc, const QString& fileName);
};

} // namespace kovara::ui
