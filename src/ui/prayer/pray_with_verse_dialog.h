#pragma once
// "Pray with this verse": the Bible page hands over the verses under the
// cursor, and this window asks which active prayer item they go with; the
// reference is then attached to that item (once: an item that has it already
// keeps its verses as they are).
#include "ui/base/core_names.h"

#include <QDialog>
#include <cstdint>
#include <optional>

class QDialogButtonBox;
class QLabel;
class QListWidget;

namespace kovara::ui {

class Shell;

class PrayWithVerseDialog : public QDialog {
    Q_OBJECT
public:
    PrayWithVerseDialog(Shell& shell, const QString& reference, QWidget* parent = nullptr);

    // Lists the active items, lets the reader choose one and attaches the
    // reference to it (making the prayer list's tables when missing), then
    // announces the change. Returns the chosen item; nothing when the reader
    // cancelled or there is no active item (said so). Raises the store's
    // errors.
    std::optional<std::int32_t> chooseAndAttach();

    // Shows the window modally until it closes. Tests replace it to play the
    // reader.
    virtual int runModal();

private:
    Shell& shell_;
    QString reference_;
    QLabel* label_;
    QListWidget* itemList_;
    QDialogButtonBox* buttons_;
};

} // namespace kovara::ui
