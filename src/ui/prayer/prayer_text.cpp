#include "ui/prayer/prayer_text.h"

#include "ui/widgets/colors.h"
#include "ui/widgets/text_codec.h"

#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>

namespace kovara::ui {

void ApplyDisplayFont(QTextEdit& edit, const TKOVAPreferences& prefs)
{
    const QString family = FromBytes(prefs.TextFontName);
    const int size = prefs.TextFontSize > 0 ? prefs.TextFontSize : 10;
    const QColor colour = ToQColor(prefs.TextFontColor);

    QFont font = edit.document()->defaultFont();
    font.setFamilies({family});
    font.setPointSize(size);
    edit.document()->setDefaultFont(font);
    QPalette palette = edit.palette();
    palette.setColor(QPalette::Text, colour);
    edit.setPalette(palette);

    QTextCharFormat format;
    format.setFontFamilies(QStringList{family});
    format.setFontPointSize(size);
    format.setForeground(colour);
    QTextCursor all(edit.document());
    all.select(QTextCursor::Document);
    all.mergeCharFormat(format);
    // The format at the caret decides what typed text looks like, also in an
    // empty document.
    edit.mergeCurrentCharFormat(format);
}

void ApplyDisplayBackground(QTextEdit& edit, const TKOVAPreferences& prefs)
{
    QPalette palette = edit.palette();
    palette.setColor(QPalette::Base, ToQColor(prefs.TextBackColor));
    edit.setPalette(palette);
    edit.document()->setDocumentMargin(5);
}

} // namespace kovara::ui
