#include "ui/base/dialogs.h"
#include "ui/base/core_names.h"

#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>
#include <QPageSetupDialog>
#include <QPrintDialog>
#include <QPrinter>

namespace kovara::ui {

namespace {
const QString kCaption = QStringLiteral("Kovara");
}

void QtDialogs::message(const QString& text, Icon icon)
{
    switch (icon) {
    case Icon::Information:
        QMessageBox::information(parent_, kCaption, text);
        break;
    case Icon::Warning:
        QMessageBox::warning(parent_, kCaption, text);
        break;
    case Icon::Error:
        QMessageBox::critical(parent_, kCaption, text);
        break;
    }
}

bool QtDialogs::confirm(const QString& text)
{
    return QMessageBox::question(parent_, kCaption, text, QMessageBox::Yes | QMessageBox::No, QMessageBox::No) ==
           QMessageBox::Yes;
}

Dialogs::Answer QtDialogs::confirmYesNoCancel(const QString& text)
{
    const auto button = QMessageBox::question(parent_, kCaption, text,
                                              QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel,
                                              QMessageBox::Cancel);
    if (button == QMessageBox::Yes)
        return Answer::Yes;
    if (button == QMessageBox::No)
        return Answer::No;
    return Answer::Cancel;
}

bool QtDialogs::promptText(const QString& caption, const QString& label, QString& value)
{
    bool ok = false;
    const QString text = QInputDialog::getText(parent_, caption, label, QLineEdit::Normal, value, &ok);
    if (ok)
        value = text;
    return ok;
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
