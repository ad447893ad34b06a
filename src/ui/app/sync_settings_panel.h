#pragma once
// The sync part of the preferences: "Keep my plans and prayers in step
// through this folder" (off by default), the folder, this computer's name as
// the others show it, and when the last exchange was.
#include <QGroupBox>

class QCheckBox;
class QDialog;
class QLabel;
class QLineEdit;
class QPushButton;

namespace kovara::core {
class IniFile;
}

namespace kovara::ui {

class Shell;
class SyncController;

class SyncSettingsPanel : public QGroupBox {
    Q_OBJECT
public:
    explicit SyncSettingsPanel(QWidget* parent = nullptr);

    void load(const kovara::core::IniFile& settings);
    // Writes the shown values to settings; raises when they cannot be written.
    void apply(kovara::core::IniFile& settings) const;

private:
    void chooseFolder();
    void updateControls();

    QCheckBox* enableCheck_;
    QLineEdit* folderEdit_;
    QPushButton* chooseButton_;
    QLineEdit* nameEdit_;
    QLabel* lastExchangeLabel_;
};

// The sync section of a preferences dialog: loaded when made; on the
// dialog's OK the values go to settings.ini and the controller follows them
// (turning it on merges both sides at once). Returns the panel, a child of
// dialog, for the dialog to place.
SyncSettingsPanel* makeSyncSection(QDialog& dialog, SyncController& controller, Shell& shell,
                                   kovara::core::IniFile& settings);

} // namespace kovara::ui
