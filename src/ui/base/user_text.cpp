#include "ui/base/user_text.h"

#include <algorithm>

namespace kovara::ui {

namespace {

bool breaksTheLine(QChar c)
{
    return c.category() == QChar::Other_Control || c == QChar::LineSeparator || c == QChar::ParagraphSeparator;
}

} // namespace

QString plainUserText(const QString& text, int maxChars)
{
    QString line;
    line.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (!breaksTheLine(c)) {
            line += c;
            continue;
        }
        if (c == u'\r' && i + 1 < text.size() && text.at(i + 1) == u'\n')
            ++i;
        line += u' ';
    }
    maxChars = std::max(maxChars, 3);
    if (line.size() <= maxChars)
        return line;

    // The start gets the odd character; neither cut may split a surrogate pair.
    const qsizetype keep = maxChars - 1;
    qsizetype head = keep - keep / 2;
    qsizetype tailStart = line.size() - keep / 2;
    if (line.at(head - 1).isHighSurrogate())
        --head;
    if (line.at(tailStart).isLowSurrogate())
        ++tailStart;
    return line.left(head) + QChar(0x2026) + line.mid(tailStart);
}

} // namespace kovara::ui
