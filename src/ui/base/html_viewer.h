#pragma once
// The HTML viewer every page of the program shows its generated text in: a
// QTextBrowser that never navigates by itself (a clicked link is reported by
// linkClicked and the owner decides), keeps no page history, and takes its
// default font, text colour and background from the user's display
// preferences. Defaults only fill in what a page leaves open: a page's own
// markup (<font>, bgcolor, style) still wins.
#include "ui/base/core_names.h"
#include "core/app/preferences.h"

#include <QList>
#include <QString>
#include <QTextBrowser>
#include <functional>
#include <string>

class QAction;
class QPrinter;

namespace kovara::ui {

// An <img> element showing a progress bar percent (clamped to 0..100) full:
// the part done green, the rest grey, 240 pixels wide. The viewer draws it
// (see HtmlViewer::loadResource), so pages show a bar without a table.
QString progressBarImageHtml(int percent);

class HtmlViewer : public QTextBrowser {
    Q_OBJECT
public:
    explicit HtmlViewer(QWidget* parent = nullptr);

    // Replaces the page with html (a whole page, not appended) and moves to its
    // top. The text is kept as given and returned by pageText.
    void loadFromString(const QString& html);
    // The same for the core's byte strings (UTF-8, or Windows-1252 when the
    // bytes are not valid UTF-8).
    void loadFromBytes(const std::string& html);
    // The text last loaded (empty before the first load).
    const QString& pageText() const { return pageText_; }

    // Defaults for whatever the page does not set itself.
    void setDefaultFont(const QString& family, int pointSize);
    void setDefaultFontColor(const QColor& color);
    // Whether the default font lays text out without shaping or kerning
    // where the script needs none (Latin, Greek, Cyrillic; Qt still shapes
    // the scripts that need it): most of the time a long page takes. Turning
    // it on or off empties the page first, so nothing is laid out for it;
    // setDefaultFont turns it off.
    void setPlainShaping(bool plain);
    void setDefaultBackground(const QColor& color);
    // All four from the preferences: textFontName, textFontSize, textFontColor
    // and textBackColor.
    void applyDisplayPreferences(const Preferences& prefs);
    QString defaultFontName() const;
    int defaultFontSize() const;
    QColor defaultFontColor() const;
    QColor defaultBackground() const;

    // Text selection by mouse and keyboard; links stay clickable either way.
    // Switching it off clears the current selection. On by default.
    void setSelectionEnabled(bool enabled);
    bool selectionEnabled() const { return selectionEnabled_; }
    // Characters selected; 0 when nothing is.
    int selectionLength() const;
    // Puts the selection on the clipboard as HTML and as plain text; does
    // nothing when nothing is selected.
    void copySelection();
    // A line that every copy of a selection carries below the copied text,
    // in the plain text and the HTML alike (the Bible page's reference of the
    // copied verses). Asked at each copy; an empty line adds nothing.
    void setCopyCaption(std::function<QString()> caption) { copyCaption_ = std::move(caption); }
    // Selects the whole page.
    void selectWholePage();

    // Pages the current page takes on printer, laid out as printPages lays it
    // out (the printer's page size, 2 cm margins). At least 1.
    int pageCount(QPrinter& printer) const;
    // Prints pages fromPage..toPage (1-based, inclusive) to printer; 0, 0
    // prints them all. The printer's own range is replaced.
    void printPages(QPrinter& printer, int fromPage = 0, int toPage = 0) const;
    // A heading for printouts of a page that shows its title outside the
    // text (the Bible page's chapter): set above the text of the first page
    // and repeated at the top of every later one, so that a page read alone
    // names what it holds. Empty (the default) prints the text as it is.
    void setPrintHeading(const QString& heading) { printHeading_ = heading; }

    // Actions shown by the right-click menu in place of the standard one (an
    // empty list brings the standard menu back). Not owned.
    void setContextActions(const QList<QAction*>& actions) { contextActions_ = actions; }
    QList<QAction*> contextActions() const { return contextActions_; }

    // The pictures the program's pages name by address (progress bars, see
    // progressBarImageHtml); anything else is left to QTextBrowser. Printing
    // and copies of the document reach it through the document's owner.
    QVariant loadResource(int type, const QUrl& name) override;

signals:
    // A link was clicked; href is the link's target as written in the page.
    void linkClicked(const QString& href);

protected:
    void contextMenuEvent(QContextMenuEvent* event) override;
    QMimeData* createMimeDataFromSelection() const override;

private:
    void setPaletteColor(QPalette::ColorRole role, const QColor& color);

    QString pageText_;
    std::function<QString()> copyCaption_;
    QString printHeading_;
    bool selectionEnabled_ = true;
    QList<QAction*> contextActions_;
};

} // namespace kovara::ui
