#pragma once
// Every message box, confirmation, prompt, file dialog and print dialog the
// program shows goes through this interface, so that tests can answer them
// from a script. QtDialogs is the real implementation.
#include "ui/base/core_names.h"
#include <QString>

class QPrinter;
class QWidget;

namespace kovara::ui {

class Dialogs {
public:
    enum class Icon { Information, Warning, Error, Question };
    enum class Answer { Yes, No, Cancel };

    virtual ~Dialogs() = default;

    // A notice with an OK button, captioned "Kovara".
    virtual void message(const QString& text, Icon icon = Icon::Information) = 0;
    // Yes/No question; true only for Yes. defaultAnswer is the button that
    // Enter presses (Yes or No); icon is Question, or Warning for a question
    // whose Yes replaces the user's data.
    virtual bool confirm(const QString& text, Answer defaultAnswer = Answer::No, Icon icon = Icon::Question) = 0;
    // Yes/No/Cancel question.
    virtual Answer confirmYesNoCancel(const QString& text) = 0;
    // One-line prompt. Returns false on Cancel; value holds the proposal on
    // entry and the typed text on return.
    virtual bool promptText(const QString& caption, const QString& label, QString& value) = 0;
    // File dialogs; an empty result means the user cancelled.
    virtual QString chooseSaveFile(const QString& title, const QString& filter, const QString& initialPath) = 0;
    virtual QString chooseOpenFile(const QString& title, const QString& filter, const QString& initialPath) = 0;
    // Print dialog with a page range minPage..maxPage. Returns false on Cancel;
    // fromPage/toPage hold the chosen range (0, 0 for all pages). A maxPage of
    // 0 or less offers no page range (the whole document prints). The range
    // shown at first is the printer's own (QPrinter::setFromTo).
    virtual bool print(QPrinter& printer, int minPage, int maxPage, int& fromPage, int& toPage) = 0;
    // Printer set-up (page set-up) dialog. Returns false on Cancel.
    virtual bool printerSetup(QPrinter& printer) = 0;
};

// The Qt implementation: QMessageBox, QInputDialog, QFileDialog, QPrintDialog.
class QtDialogs : public Dialogs {
public:
    explicit QtDialogs(QWidget* parent = nullptr) : parent_(parent) {}
    void setParent(QWidget* parent) { parent_ = parent; }

    void message(const QString& text, Icon icon = Icon::Information) override;
    bool confirm(const QString& text, Answer defaultAnswer = Answer::No, Icon icon = Icon::Question) override;
    Answer confirmYesNoCancel(const QString& text) override;
    bool promptText(const QString& caption, const QString& label, QString& value) override;
    QString chooseSaveFile(const QString& title, const QString& filter, const QString& initialPath) override;
    QString chooseOpenFile(const QString& title, const QString& filter, const QString& initialPath) override;
    bool print(QPrinter& printer, int minPage, int maxPage, int& fromPage, int& toPage) override;
    bool printerSetup(QPrinter& printer) override;

private:
    QWidget* parent_;
};

} // namespace kovara::ui
