#pragma once
// The HTML viewer every page of the program shows its generated text in: a
// QTextBrowser that never navigates by itself (a clicked link is reported by
// LinkClicked and the owner decides), keeps no page history, and takes its
// default font, text colour and background from the user's display
// preferences. Defaults only fill in what a page leaves open: a page's own
// markup (<font>, bgcolor, style) still wins.
#include "app/kova_prefs.h"

#include <QList>
#include <QString>
#include <QTextBrowser>
#include <string>

class QAction;
class QPrinter;

namespace kovara::ui {

class HtmlViewer : public QTextBrowser {
    Q_OBJECT
public:
    explicit HtmlViewer(QWidget* parent = nullptr);

    // Replaces the page with html (a whole page, not appended) and moves to its
    // top. The text is kept as given and returned by PageText.
    void LoadFromString(const QString& html);
    // The same for the core's byte strings (UTF-8, or Windows-1252 when the
    // bytes are not valid UTF-8).
    void LoadFromBytes(const std::string& html);
    // The text last loaded (empty before the first load).
    const QString& PageText() const { return pageText_; }

    // Defaults for whatever the page does not set itself.
    void SetDefaultFont(const QString& family, int pointSize);
    void SetDefaultFontColor(const QColor& color);
    void SetDefaultBackground(const QColor& color);
    // All four from the preferences: TextFontName, TextFontSize, TextFontColor
    // and TextBackColor.
    void ApplyDisplayPreferences(const TKOVAPreferences& prefs);
    QString DefaultFontName() const;
    int DefaultFontSize() const;
    QColor DefaultFontColor() const;
    QColor DefaultBackground() const;

    // Text selection by mouse and keyboard; links stay clickable either way.
    // Switching it off clears the current selection. On by default.
    void SetSelectionEnabled(bool enabled);
    bool SelectionEnabled() const { return selectionEnabled_; }
    // Characters selected; 0 when nothing is.
    int SelectionLength() const;
    // Puts the selection on the clipboard as HTML and as plain text; does
    // nothing when nothing is selected.
    void CopySelection();
    // Selects the whole page.
    void SelectWholePage();

    // Pages the current page takes on printer, laid out as PrintPages lays it
    // out (the printer's page size, 2 cm margins). At least 1.
    int PageCount(QPrinter& printer) const;
    // Prints pages fromPage..toPage (1-based, inclusive) to printer; 0, 0
    // prints them all. The printer's own range is replaced.
    void PrintPages(QPrinter& printer, int fromPage = 0, int toPage = 0) const;

    // Actions shown by the right-click menu in place of the standard one (an
    // empty list brings the standard menu back). Not owned.
    void SetContextActions(const QList<QAction*>& actions) { contextActions_ = actions; }

signals:
    // A link was clicked; href is the link's target as written in the page.
    void LinkClicked(const QString& href);

protected:
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    void SetPaletteColor(QPalette::ColorRole role, const QColor& color);

    QString pageText_;
    bool selectionEnabled_ = true;
    QList<QAction*> contextActions_;
};

} // namespace kovara::ui
