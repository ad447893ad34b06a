#include "ui/prayer/journal_export.h"

#include "core/base/atomic_file.h"
#include "core/base/exception.h"
#include "core/content/bible_store.h"
#include "core/prayer/prayer_list_page.h"
#include "core/prayer/prayer_list_store.h"
#include "ui/base/dates.h"
#include "ui/base/text_codec.h"
#include "ui/prayer/rtf_codec.h"

#include <QAbstractTextDocumentLayout>
#include <QCoreApplication>
#include <QFileInfo>
#include <QLocale>
#include <QPageLayout>
#include <QPageSize>
#include <QFile>
#include <QPainter>
#include <QPrinter>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextDocumentFragment>
#include <QTextTable>
#include <QTextTableFormat>

#include <algorithm>

namespace kovara::ui {

namespace {

QString longDate(sys_days d)
{
    return QLocale().toString(toQDate(d), QStringLiteral("d MMM yyyy"));
}

// A range within one year names the year once: "1 Jan – 31 Dec 2026".
QString rangeText(sys_days from, sys_days to)
{
    const QDate a = toQDate(from);
    const QDate b = toQDate(to);
    const QLocale locale = QLocale();
    const QString first = a.year() == b.year() ? locale.toString(a, QStringLiteral("d MMM")) : longDate(from);
    return first + QStringLiteral(" \u2013 ") + longDate(to);
}

QString statusText(const StoredStatus& status)
{
    if (const std::optional<PrayerStatus> known = status.status()) {
        switch (*known) {
        case PrayerStatus::Active:
            return JournalExport::tr("Active");
        case PrayerStatus::Answered:
            return JournalExport::tr("Answered");
        case PrayerStatus::Inactive:
            return JournalExport::tr("Inactive");
        }
    }
    return fromBytes(status.word());
}

} // namespace

QString JournalExport::coverLine(const PrayerSelection& selection, int count)
{
    // What was chosen: the statuses, the category and the dates.
    QStringList statuses;
    for (const PrayerStatus status : {PrayerStatus::Active, PrayerStatus::Answered, PrayerStatus::Inactive})
        if (std::find(selection.statuses.begin(), selection.statuses.end(), status) != selection.statuses.end())
            statuses << statusText(StoredStatus(status));
    const QString category = selection.allTopics        ? tr("all categories")
                             : selection.topic.empty() ? tr("without a category")
                                                       : fromBytes(selection.topic);
    const QString span = rangeText(selection.from, selection.to);
    QString range;
    switch (selection.dateField) {
    case PrayerSelection::DateField::Any:
        range = tr("all dates");
        break;
    case PrayerSelection::DateField::Created:
        range = tr("created %1").arg(span);
        break;
    case PrayerSelection::DateField::Answered:
        range = tr("answered %1").arg(span);
        break;
    case PrayerSelection::DateField::CreatedOrAnswered:
        range = tr("created or answered %1").arg(span);
        break;
    }
    const QString items = tr("%1 items", nullptr, count).arg(QLocale().toString(count));
    return tr("Prayer journal (%1; %2; %3): %4").arg(statuses.join(tr(", ")), category, range, items);
}

void JournalExport::buildDocument(QTextDocument& doc, PrayerStore& store, const PrayerSelection& selection,
                                  const PrayerHeaders& items, sys_days today, const Progress& progress,
                                  const BibleStore* bible)
{
    Q_UNUSED(today);
    const PrayerListStore prayerList(store);
    doc.clear();
    doc.setDocumentMargin(0);
    QFont base = doc.defaultFont();
    base.setFamilies({QStringLiteral("DejaVu Sans"), QStringLiteral("Sans Serif")});
    base.setPointSize(10);
    doc.setDefaultFont(base);
    doc.setMetaInformation(QTextDocument::DocumentTitle, tr("Prayer journal"));

    QTextCursor cursor(&doc);
    QTextCharFormat coverFormat;
    coverFormat.setFontPointSize(16);
    coverFormat.setFontWeight(QFont::Bold);
    QTextBlockFormat coverBlock;
    coverBlock.setBottomMargin(10);
    cursor.setBlockFormat(coverBlock);
    cursor.insertText(coverLine(selection, static_cast<int>(items.size())), coverFormat);

    QTextTableFormat tableFormat;
    tableFormat.setHeaderRowCount(1);
    tableFormat.setCellPadding(4);
    tableFormat.setCellSpacing(0);
    tableFormat.setBorder(0.5);
    tableFormat.setBorderCollapse(true);
    tableFormat.setBorderBrush(QColor(150, 150, 150));
    tableFormat.setWidth(QTextLength(QTextLength::PercentageLength, 100));
    tableFormat.setColumnWidthConstraints({QTextLength(QTextLength::PercentageLength, 62),
                                           QTextLength(QTextLength::PercentageLength, 12),
                                           QTextLength(QTextLength::PercentageLength, 26)});

    QTextCharFormat bold;
    bold.setFontWeight(QFont::Bold);
    QTextCharFormat plain;
    QTextCharFormat small;
    small.setFontPointSize(9);
    QTextCharFormat smallItalic = small;
    smallItalic.setFontItalic(true);
    QTextCharFormat groupFormat = bold;
    groupFormat.setFontPointSize(12);
    QTextBlockFormat groupBlock;
    groupBlock.setTopMargin(12);
    groupBlock.setBottomMargin(4);
    groupBlock.setPageBreakPolicy(QTextFormat::PageBreak_Auto);

    // One table per topic, and a new one every kRowsPerTable items: each
    // table's header row repeats on every page it reaches, and short tables
    // keep laying out and printing a long journal fast (a page is drawn by
    // walking the tables that reach into it, not every row of the journal).
    constexpr int kRowsPerTable = 40;
    // The header row names the topic, so a page that continues a topic
    // says which one it is.
    QTextTable* table = nullptr;
    QString topicName;
    auto startTable = [&] {
        cursor.movePosition(QTextCursor::End);
        table = cursor.insertTable(1, 3, tableFormat);
        const QString headers[] = {tr("Prayer (%1)").arg(topicName), tr("Status"), tr("Dates")};
        for (int column = 0; column < 3; ++column) {
            QTextTableCell cell = table->cellAt(0, column);
            QTextCharFormat look = cell.format();
            look.setBackground(QColor(225, 225, 225));
            cell.setFormat(look);
            cell.firstCursorPosition().insertText(headers[column], bold);
        }
    };

    std::string topic;
    bool firstItem = true;
    const int total = static_cast<int>(items.size());
    QTextDocument text;
    for (int i = 0; i < total; ++i) {
        if (progress && i % 20 == 0)
            progress(tr("Preparing the prayer items..."), i, total);
        const PrayerHeader& item = items[static_cast<std::size_t>(i)];
        if (firstItem || item.prayerTopic != topic) {
            topic = item.prayerTopic;
            firstItem = false;
            cursor.movePosition(QTextCursor::End);
            cursor.insertBlock(groupBlock, groupFormat);
            topicName = topic.empty() ? tr("Without a category") : fromBytes(topic);
            cursor.insertText(topicName, groupFormat);
            startTable();
        } else if (table->rows() > kRowsPerTable) {
            startTable();
        }
        const int row = table->rows();
        table->appendRows(1);

        // The prayer: title, formatted text, answer and notes.
        QTextCursor at = table->cellAt(row, 0).firstCursorPosition();
        at.insertText(fromBytes(item.prayerTitle), bold);
        const std::string data = store.prayerText(item.prayerIndex);
        if (!data.empty()) {
            readRtf(QByteArray(data.data(), static_cast<qsizetype>(data.size())), text);
            // The record's own type throughout; bold, italic, lists and
            // alignment stay.
            QTextCharFormat type;
            type.setFontFamilies(base.families());
            type.setFontPointSize(base.pointSizeF());
            QTextCursor all(&text);
            all.select(QTextCursor::Document);
            all.mergeCharFormat(type);
            if (!text.isEmpty()) {
                at.insertBlock(QTextBlockFormat(), plain);
                at.insertFragment(QTextDocumentFragment(&text));
            }
        }
        const std::optional<PrayerAnswer> answer =
            item.prayerStatus == PrayerStatus::Answered ? store.answer(item.prayerIndex) : std::nullopt;
        if (answer && !answer->answerNote.empty()) {
            at.insertBlock(QTextBlockFormat(), plain);
            at.insertText(tr("Answer: "), bold);
            at.insertText(fromBytes(answer->answerNote), plain);
        }
        const std::vector<std::string> verses = prayerList.verses(item.prayerIndex);
        if (!verses.empty()) {
            at.insertBlock(QTextBlockFormat(), plain);
            at.insertText(tr("Verses"), bold);
            for (const std::string& reference : verses) {
                at.insertBlock(QTextBlockFormat(), plain);
                at.insertText(fromBytes(reference), smallItalic);
                const std::string text = bible ? verseTextHtml(reference, *bible) : std::string();
                if (!text.empty())
                    at.insertHtml(QStringLiteral("<span style=\"font-size:9pt\">%1</span>").arg(fromBytes(text)));
            }
        }
        const PrayerNotes notes = store.notes(item.prayerIndex);
        if (!notes.empty()) {
            at.insertBlock(QTextBlockFormat(), plain);
            at.insertText(tr("Notes"), bold);
            for (const PrayerNote& note : notes) {
                at.insertBlock(QTextBlockFormat(), plain);
                at.insertText(longDate(note.noteTime) + QStringLiteral(": "), smallItalic);
                at.insertText(fromBytes(note.noteText), small);
            }
        }

        // Status and topic.
        QTextCursor statusAt = table->cellAt(row, 1).firstCursorPosition();
        statusAt.insertText(statusText(item.prayerStatus), plain);
        if (!item.prayerTopic.empty()) {
            statusAt.insertBlock(QTextBlockFormat(), small);
            statusAt.insertText(fromBytes(item.prayerTopic), small);
        }

        // Dates.
        QTextCursor datesAt = table->cellAt(row, 2).firstCursorPosition();
        datesAt.insertText(tr("Created %1").arg(longDate(dayOf(item.createTime))), small);
        if (dayOf(item.lastEditTime) != dayOf(item.createTime)) {
            datesAt.insertBlock(QTextBlockFormat(), small);
            datesAt.insertText(tr("Last edited %1").arg(longDate(dayOf(item.lastEditTime))), small);
        }
        if (item.prayerStatus == PrayerStatus::Answered) {
            datesAt.insertBlock(QTextBlockFormat(), small);
            datesAt.insertText(answer ? tr("Answered %1").arg(longDate(answer->answeredTime))
                                      : tr("answered (date not recorded)"),
                               small);
        }
    }
    if (progress)
        progress(tr("Preparing the prayer items..."), total, total);
}

void JournalExport::writePdf(QTextDocument& doc, const QString& fileName, const Progress& progress)
{
    // 300 dots per inch: text stays vector text, and a long journal lays out
    // and prints in a third less time than at the printer's 1200.
    // The PDF is written beside the target and takes its name only when
    // complete: a stop, a failure or a kill midway leaves an earlier file of
    // that name as it was.
    AtomicFile out(QFile::encodeName(fileName).toStdString());
    if (!out.ok())
        throw Exception(toBytes(tr("The file %1 could not be written: %2").arg(fileName, fromBytes(out.error()))));
    QPrinter printer(QPrinter::HighResolution);
    printer.setResolution(300);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(QFile::decodeName(out.tempPath().c_str()));
    printer.setDocName(tr("Prayer journal"));
    printer.setCreator(QStringLiteral("Kovara"));
    printer.setPageSize(QPageSize(QPageSize::A4));
    printer.setFullPage(true);
    printer.setPageMargins(QMarginsF(0, 0, 0, 0), QPageLayout::Millimeter);

    const double dotsPerMm = printer.resolution() / 25.4;
    const QRectF page = printer.pageLayout().fullRectPixels(printer.resolution());
    const double margin = 18 * dotsPerMm;
    const double footer = 10 * dotsPerMm;
    const QRectF body(page.left() + margin, page.top() + margin, page.width() - 2 * margin,
                      page.height() - 2 * margin - footer);

    // Latin text without kerning needs no shaping: half the layout time of a
    // long journal. Text in a script that needs shaping is still shaped.
    QFont typeface = doc.defaultFont();
    typeface.setStyleStrategy(QFont::PreferNoShaping);
    typeface.setKerning(false);
    doc.setDefaultFont(typeface);

    // Lay the document out in the printer's own units, page by page; the
    // table's header row then repeats at the top of every page.
    doc.documentLayout()->setPaintDevice(&printer);
    doc.setPageSize(body.size());
    const int pages = doc.pageCount();

    QPainter painter;
    if (!painter.begin(&printer))
        throw Exception(toBytes(tr("The file %1 could not be written.").arg(fileName)));
    QFont footerFont(QStringLiteral("DejaVu Sans"));
    footerFont.setPointSizeF(8);
    try {
    for (int p = 0; p < pages; ++p) {
        if (progress && p % 5 == 0)
            progress(tr("Writing page %1 of %2...").arg(p + 1).arg(pages), p, pages);
        if (p > 0)
            printer.newPage();
        painter.save();
        painter.translate(body.left(), body.top() - p * body.height());
        const QRectF view(0, p * body.height(), body.width(), body.height());
        painter.setClipRect(view);
        QAbstractTextDocumentLayout::PaintContext context;
        // The layout draws every line that touches the clip. A line moved to
        // the next page starts a hair's breadth (rounding) above that page's
        // top, so it would also be drawn here, clipped out of sight but still
        // in the file for text extraction and copying. No line the layout
        // keeps on this page starts in its last dot.
        context.clip = view.adjusted(0, 0, 0, -1);
        context.palette.setColor(QPalette::Text, Qt::black);
        doc.documentLayout()->draw(&painter, context);
        painter.restore();

        painter.setFont(footerFont);
        painter.setPen(Qt::black);
        const QRectF footerRect(body.left(), body.bottom() + footer * 0.3, body.width(), footer);
        painter.drawText(footerRect, Qt::AlignHCenter | Qt::AlignTop,
                         tr("Page %1 of %2").arg(p + 1).arg(pages));
    }
    } catch (...) {
        // Cancelled or failed midway: the unfinished file goes with out.
        painter.end();
        throw;
    }
    if (!painter.end())
        throw Exception(toBytes(tr("The file %1 could not be written.").arg(fileName)));
    if (!out.commit())
        throw Exception(toBytes(tr("The file %1 could not be written: %2").arg(fileName, fromBytes(out.error()))));
    if (progress)
        progress(tr("Writing page %1 of %2...").arg(pages).arg(pages), pages, pages);
}

void JournalExport::writeHtml(const QTextDocument& doc, const QString& fileName)
{
    const QByteArray html = doc.toHtml().toUtf8();
    std::string error;
    if (!writeFileAtomically(QFile::encodeName(fileName).toStdString(), std::string_view(html.data(), html.size()),
                             &error))
        throw Exception(toBytes(tr("The file %1 could not be written: %2").arg(fileName, fromBytes(error))));
}

} // namespace kovara::ui
