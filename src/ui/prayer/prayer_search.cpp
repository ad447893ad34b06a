#include "ui/prayer/prayer_search.h"

#include "ui/base/dates.h"
#include "ui/base/text_codec.h"
#include "ui/prayer/rtf_codec.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QLocale>
#include <QProgressDialog>
#include <QRegularExpression>
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

int highlightWords(QTextEdit& edit, const QString& words)
{
    QList<QTextEdit::ExtraSelection> marks;
    // The same words searchPrayers looks for: runs of letters and digits.
    static const QRegularExpression wordRun(QStringLiteral("[\\p{L}\\p{N}\\p{M}]+"));
    QStringList terms;
    for (auto it = wordRun.globalMatch(words); it.hasNext();)
        terms << QRegularExpression::escape(it.next().captured());
    if (!terms.isEmpty()) {
        const QRegularExpression wordStart(QStringLiteral("(?<![\\p{L}\\p{N}\\p{M}])(%1)[\\p{L}\\p{N}\\p{M}]*")
                                               .arg(terms.join(u'|')),
                                           QRegularExpression::CaseInsensitiveOption |
                                               QRegularExpression::UseUnicodePropertiesOption);
        QTextCharFormat look;
        look.setBackground(QColor(255, 230, 90));
        look.setForeground(Qt::black);
        QTextDocument* doc = edit.document();
        for (QTextCursor at = doc->find(wordStart); !at.isNull(); at = doc->find(wordStart, at)) {
            QTextEdit::ExtraSelection mark;
            mark.cursor = at;
            mark.format = look;
            marks << mark;
        }
    }
    edit.setExtraSelections(marks);
    return static_cast<int>(marks.size());
}

QString journalDateText(sys_days date, sys_days today)
{
    const QDate day = toQDate(date);
    const QLocale locale = QLocale::system();
    return day.year() == toQDate(today).year() ? locale.toString(day, QStringLiteral("d MMM"))
                                                : locale.toString(day, QStringLiteral("d MMM yyyy"));
}

QString noteLine(const PrayerNote& note, sys_days today)
{
    return journalDateText(note.noteTime, today) + QStringLiteral(": ") + fromBytes(note.noteText);
}

} // namespace kovara::ui
