#include "ui/prayer/prayer_text.h"
#include "ui/base/core_names.h"

#include "ui/base/colors.h"
#include "ui/base/text_codec.h"

#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>

namespace kovara::ui {

void applyDisplayFont(QTextEdit& edit, const Preferences& prefs)
{
    const QString family = fromBytes(prefs.textFontName);
    const int size = prefs.textFontSize > 0 ? prefs.textFontSize : 10;
    // The page's colours: the defaults follow a dark desktop palette.
    const QColor colour = pageFontColor(prefs);

    QFont font = edit.document()->defaultFont();
    font.setFamilies({family});
    font.setPointSize(size);
    edit.document()->setDefaultFont(font);
    QPalette palette = edit.palette();
    palette.setColor(QPalette::Text, colour);
    edit.setPalette(palette);

    // The colour goes to the palette alone: text without a colour of its own
    // takes it, and text the reader coloured (typed, pasted, imported) keeps
    // its colour and background on screen and through the next save.
    QTextCharFormat format;
    format.setFontFamilies(QStringList{family});
    format.setFontPointSize(size);
    QTextCursor all(edit.document());
    all.select(QTextCursor::Document);
    all.mergeCharFormat(format);
    // The format at the caret decides what typed text looks like, also in an
    // empty document.
    edit.mergeCurrentCharFormat(format);
}

void applyDisplayBackground(QTextEdit& edit, const Preferences& prefs)
{
    QPalette palette = edit.palette();
    palette.setColor(QPalette::Base, pageBackColor(prefs));
    edit.setPalette(palette);
    edit.document()->setDocumentMargin(5);
}

} // namespace kovara::ui
