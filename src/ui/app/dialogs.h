#pragma once
// Every message box, confirmation, prompt, file dialog and print dialog the
// program shows goes through this interface, so that tests can answer them
// from a script. QtDialogs is the real implementation.
#include <QString>

class QPrinter;
class QWidget;

namespace kovara::ui {

class Dialogs {
public:
    enum class Icon { Information, Warning, Error };
    enum class Answer { Yes, No, Cancel };

    virtual ~Dialogs() = default;

    // A notice with an OK button, captioned "Kovara".
    virtual void Message(const QString& text, Icon icon = Icon::Information) = 0;
    // Yes/No question; true only for Yes.
    virtual bool Confirm(const QString& text) = 0;
    // Yes/No/Cancel question.
    virtual Answer ConfirmYesNoCancel(const QString& text) = 0;
    // One-line prompt. Returns false on Cancel; value holds the proposal on
    // entry and the typed text on return.
    virtual bool PromptText(const QString& caption, const QString& label, QString& value) = 0;
    // File dialogs; an empty result means the user cancelled.
    virtual QString ChooseSaveFile(const QString& title, const QString& filter, const QString& initialPath) = 0;
    virtual QString ChooseOpenFile(const QString& title, const QString& filter, const QString& initialPath) = 0;
    // Print dialog with a page range minPage..maxPage. Returns false on Cancel;
    // fromPage/toPage hold the chosen range (0, 0 for all pages). A maxPage of
    // 0 or less offers no page range (the whole document prints). The range
    // shown at first is the printer's own (QPrinter::setFromTo).
    virtual bool Print(QPrinter& printer, int minPage, int maxPage, int& fromPage, int& toPage) = 0;
    // Printer set-up (page set-up) dialog. Returns false on Cancel.
    virtual bool PrinterSetup(QPrinter& printer) = 0;
};

// The Qt implementation: QMessageBox, QInputDialog, QFileDialog, QPrintDialog.
class QtDialogs : public Dialogs {
public:
    explicit QtDialogs(QWidget* parent = nullptr) : parent_(parent) {}
    void SetParent(QWidget* parent) { parent_ = parent; }

    void Message(const QString& text, Icon icon = Icon::Information) override;
    bool Confirm(const QString& text) override;
    Answer ConfirmYesNoCancel(const QString& text) override;
    bool PromptText(const QString& caption, const QString& label, QString& value) override;
    QString ChooseSaveFile(const QString& title, const QString& filter, const QString& initialPath) override;
    QString ChooseOpenFile(const QString& title, const QString& filter, const QString& initialPath) override;
    bool Print(QPrinter& printer, int minPage, int maxPage, int& fromPage, int& toPage) override;
    bool PrinterSetup(QPrinter& printer) override;

private:
    QWidget* parent_;
};

} // namespace kovara::ui
