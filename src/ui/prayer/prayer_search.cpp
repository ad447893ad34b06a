#include "ui/prayer/prayer_search.h"

#include "ui/base/dates.h"
#include "ui/base/text_codec.h"
#include "ui/prayer/rtf_codec.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QLocale>
#include <QProgressDialog>
#include <QRegularExpression>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextEdit>

#include <memory>

namespace kovara::ui {

std::string plainTextOfDocument(const std::string& textData)
{
    QTextDocument doc;
    readRtf(QByteArray(textData.data(), static_cast<qsizetype>(textData.size())), doc);
    return toBytes(doc.toPlainText());
}

bool ensureSearchIndex(PrayerStore& store, QWidget* parent)
{
    if (store.searchIndexReady())
        return false;
    // The window appears only once the work has taken half a second, so a
    // small journal is indexed without a flash on the screen.
    std::unique_ptr<QProgressDialog> progress;
    QElapsedTimer clock;
    clock.start();
    store.buildSearchIndex(plainTextOfDocument, [&](int done, int total) {
        if (!progress && clock.elapsed() > 500 && done < total) {
            progress = std::make_unique<QProgressDialog>(
                QCoreApplication::translate("kovara::ui::PrayerSearch", "Preparing prayer search..."), QString(), 0, total,
                parent);
            progress->setWindowTitle(QCoreApplication::translate("kovara::ui::PrayerSearch", "Kovara"));
            progress->setWindowModality(Qt::WindowModal);
            progress->setMinimumDuration(0);
        }
        if (progress) {
            progress->setValue(done);
            QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        }
    });
    return true;
}

namespace {

// text without accents and in lower case, as the search index compares it;
// map gets the position in text of each character of the result.
QString folded(const QString& text, QList<int>* map)
{
    QString out;
    out.reserve(text.size());
    for (int i = 0; i < text.size(); ++i) {
        const QChar ch = text.at(i);
        if (ch.isSurrogate()) {
            out += ch;
            if (map)
                map->append(i);
            continue;
        }
        const QString parts = QString(ch).normalized(QString::NormalizationForm_KD);
        for (const QChar part : parts) {
            if (part.isMark())
                continue;
            out += part.toLower();
            if (map)
                map->append(i);
        }
    }
    return out;
}

} // namespace

int highlightWords(QTextEdit& edit, const QString& words)
{
    QList<QTextEdit::ExtraSelection> marks;
    // The same words searchPrayers looks for: runs of letters and digits,
    // compared without accents or case, and runs of symbols (emoji) as typed.
    // Words of a quoted phrase are marked one by one.
    static const QRegularExpression wordRun(QStringLiteral("[\\p{L}\\p{N}\\p{M}]+"));
    static const QRegularExpression symbolRun(
        QStringLiteral("[\\p{So}\\x{FE00}-\\x{FE0F}\\x{200D}\\x{1F3FB}-\\x{1F3FF}]+"),
        QRegularExpression::UseUnicodePropertiesOption);
    QStringList terms;
    for (auto it = wordRun.globalMatch(words); it.hasNext();) {
        const QString term = folded(it.next().captured(), nullptr);
        if (!term.isEmpty())
            terms << QRegularExpression::escape(term);
    }
    QStringList symbols;
    for (auto it = symbolRun.globalMatch(words); it.hasNext();)
        symbols << QRegularExpression::escape(it.next().captured());
    if (!terms.isEmpty() || !symbols.isEmpty()) {
        QStringList alternatives;
        if (!terms.isEmpty())
            alternatives << QStringLiteral("(?<![\\p{L}\\p{N}])(?:%1)[\\p{L}\\p{N}]*").arg(terms.join(u'|'));
        if (!symbols.isEmpty())
            alternatives << QStringLiteral("(?:%1)").arg(symbols.join(u'|'));
        const QRegularExpression pattern(alternatives.join(u'|'), QRegularExpression::UseUnicodePropertiesOption);
        QTextCharFormat look;
        look.setBackground(QColor(255, 230, 90));
        look.setForeground(Qt::black);
        QTextDocument* doc = edit.document();
        for (QTextBlock block = doc->begin(); block.isValid(); block = block.next()) {
            const QString text = block.text();
            QList<int> map;
            const QString plain = folded(text, &map);
            for (auto it = pattern.globalMatch(plain); it.hasNext();) {
                const QRegularExpressionMatch match = it.next();
                if (match.capturedLength() == 0)
                    continue;
                const int start = map.at(match.capturedStart());
                int end = map.at(match.capturedEnd() - 1) + 1;
                // The accents written as marks after the last letter.
                while (end < text.size() && text.at(end).isMark())
                    ++end;
                QTextEdit::ExtraSelection mark;
                mark.cursor = QTextCursor(doc);
                mark.cursor.setPosition(block.position() + start);
                mark.cursor.setPosition(block.position() + end, QTextCursor::KeepAnchor);
                mark.format = look;
                marks << mark;
            }
        }
    }
    edit.setExtraSelections(marks);
    return static_cast<int>(marks.size());
}

QString journalDateText(sys_days date, sys_days today)
{
    const QDate day = toQDate(date);
    const QLocale locale = QLocale();
    return day.year() == toQDate(today).year() ? locale.toString(day, QStringLiteral("d MMM"))
                                                : locale.toString(day, QStringLiteral("d MMM yyyy"));
}

QString noteLine(const PrayerNote& note, sys_days today)
{
    return journalDateText(note.noteTime, today) + QStringLiteral(": ") + fromBytes(note.noteText);
}

} // namespace kovara::ui
