#include "ui/base/dialogs.h"
#include "ui/base/core_names.h"

#include <QCoreApplication>
#include <QFileDialog>
#include <QInputDialog>
#include <QLabel>
#include <QMessageBox>
#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QPrinter>

namespace kovara::ui {

namespace {

QString boxCaption()
{
    return QCoreApplication::translate("kovara::ui::Dialogs", "Kovara");
}

// Every box shows its text as plain text: a message may quote a title or a
// file name, and markup in it must read as typed. The text can be selected
// and copied (an address, an error message).
QMessageBox::StandardButton execBox(QWidget* parent, QMessageBox::Icon icon, const QString& text,
                                    QMessageBox::StandardButtons buttons, QMessageBox::StandardButton defaultButton)
{
    QMessageBox box(icon, boxCaption(), text, buttons, parent);
    box.setTextFormat(Qt::PlainText);
    box.setTextInteractionFlags(Qt::TextSelectableByMouse);
    if (defaultButton != QMessageBox::NoButton)
        box.setDefaultButton(defaultButton);
    box.exec();
    return box.standardButton(box.clickedButton());
}

QMessageBox::Icon boxIcon(Dialogs::Icon icon)
{
    switch (icon) {
    case Dialogs::Icon::Information:
        break;
    case Dialogs::Icon::Warning:
        return QMessageBox::Warning;
    case Dialogs::Icon::Error:
        return QMessageBox::Critical;
    case Dialogs::Icon::Question:
        return QMessageBox::Question;
    }
    return QMessageBox::Information;
}

} // namespace

void QtDialogs::message(const QString& text, Icon icon)
{
    execBox(parent_, boxIcon(icon), text, QMessageBox::Ok, QMessageBox::Ok);
}

bool QtDialogs::confirm(const QString& text, Answer defaultAnswer, Icon icon)
{
    const auto defaultButton = defaultAnswer == Answer::Yes ? QMessageBox::Yes : QMessageBox::No;
    return execBox(parent_, boxIcon(icon), text, QMessageBox::Yes | QMessageBox::No, defaultButton) ==
           QMessageBox::Yes;
}

Dialogs::Answer QtDialogs::confirmYesNoCancel(const QString& text)
{
    const auto button = execBox(parent_, QMessageBox::Question, text,
                                QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, QMessageBox::Cancel);
    if (button == QMessageBox::Yes)
        return Answer::Yes;
    if (button == QMessageBox::No)
        return Answer::No;
    return Answer::Cancel;
}

bool QtDialogs::promptText(const QString& caption, const QString& label, QString& value)
{
    QInputDialog dialog(parent_);
    dialog.setWindowTitle(caption);
    dialog.setInputMode(QInputDialog::TextInput);
    dialog.setLabelText(label);
    // The label may quote a title: plain text, like the message boxes.
    for (QLabel* shown : dialog.findChildren<QLabel*>())
        shown->setTextFormat(Qt::PlainText);
    dialog.setTextValue(value);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    value = dialog.textValue();
    return true;
}

QString QtDialogs::chooseSaveFile(const QString& title, const QString& filter, const QString& initialPath)
{
    return QFileDialog::getSaveFileName(parent_, title, initialPath, filter);
}

QString QtDialogs::chooseOpenFile(const QString& title, const QString& filter, const QString& initialPath)
{
    return QFileDialog::getOpenFileName(parent_, title, initialPath, filter);
}

bool QtDialogs::print(QPrinter& printer, int minPage, int maxPage, int& fromPage, int& toPage)
{
    QPrintDialog dialog(&printer, parent_);
    if (maxPage > 0) {
        dialog.setMinMax(minPage, maxPage);
        dialog.setOption(QAbstractPrintDialog::PrintPageRange, true);
    } else {
        dialog.setOption(QAbstractPrintDialog::PrintPageRange, false);
        dialog.setOption(QAbstractPrintDialog::PrintSelection, false);
    }
    if (dialog.exec() != QDialog::Accepted)
        return false;
    fromPage = dialog.fromPage();
    toPage = dialog.toPage();
    return true;
}

bool QtDialogs::printerSetup(QPrinter& printer)
{
    QPageSetupDialog dialog(&printer, parent_);
    return dialog.exec() == QDialog::Accepted;
}

} // namespace kovara::ui
