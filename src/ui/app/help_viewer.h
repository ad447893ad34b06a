#pragma once
// The program's help window: the help document KOVA2.hlp (HTML) from the
// program folder, shown in a QTextBrowser at its contents or at one of its
// numbered contexts. Each context is an anchor named "context" followed by the
// number ("context30"); the contents are the top of the document.
//
// Links inside the document move within it (Back and Forward follow them);
// links to outside addresses open in the user's browser.
#include "ui/base/core_names.h"
#include <QString>
#include <QWidget>

class QTextBrowser;
class QToolButton;

namespace kovara::ui {

class HelpViewer : public QWidget {
    Q_OBJECT
public:
    // A separate top-level window; parent only ties its lifetime to the owner.
    explicit HelpViewer(QWidget* parent = nullptr);

    // The help document to show; it is read at the next showContents or
    // showContext.
    void setHelpFile(const QString& path);
    const QString& helpFile() const { return helpFile_; }

    // Shows the window at the top of the document. Raises
    // "The help file \"%s\" could not be found." when the file is missing.
    void showContents();
    // Shows the window at context's anchor; a context the document lacks shows
    // the contents. Raises as showContents.
    void showContext(int context);

    // The anchor name of a context number.
    static QString contextAnchor(int context);
    // The anchor the window was last opened at; empty for the contents.
    QString currentAnchor() const;
    // True when the loaded document holds an anchor of that name.
    bool hasAnchor(const QString& name) const;

private:
    // Loads the document when it is not loaded yet (or the file changed).
    void load();
    void present();

    QTextBrowser* browser_;
    QToolButton* backButton_;
    QToolButton* forwardButton_;
    QToolButton* contentsButton_;


    QString helpFile_;
    QString loadedFile_;
};

} // namespace kovara::ui
