#pragma once
// The preferences dialog, which edits the five display values, and the
// "Preferences..." command that runs it.
#include "ui/base/core_names.h"
#include <QDialog>
#include <functional>

class QCheckBox;
class QComboBox;
class QFontComboBox;
class QPushButton;

namespace kovara::core {
class IniFile;
class Preferences;
} // namespace kovara::core

namespace kovara::ui {

class ColorComboBox;

// "Kovara Preferences": a fixed-size dialog, centred on its parent. The
// controls carry their component names as object names. It only shows and
// collects values; executePreferences moves them in and out.
class PreferencesDialog : public QDialog {
    Q_OBJECT
public:
    explicit PreferencesDialog(QWidget* parent = nullptr);

    // Shows the dialog modally and returns QDialog::Accepted or
    // QDialog::Rejected. Tests override it to act as the user.
    virtual int runModal();

    // Fills the fields from prefs (the font matched without regard to case;
    // for a name no installed font has, or none, the installed sans-serif
    // font the system uses in its place).
    void showValues(const Preferences& prefs);
    // The fields' values into prefs; a font list without fonts keeps the
    // stored font name.
    void storeValues(Preferences& prefs) const;
    // The two colour pickers' custom colour slots, font colour picker first.
    void loadCustomColors(const IniFile& ini);
    void saveCustomColors(IniFile& ini) const;

    // Adds a section of another part of the program (the reading reminder)
    // below the display sections, above the buttons. The section loads and
    // applies its own values (on show and on the dialog's accepted()).
    void addSection(QWidget* section);

private:
    QFontComboBox* fontCombo_;  // installed fonts, not editable
    QComboBox* fontSizeCombo_;              // "5" .. "25"
    ColorComboBox* fontColorCombo_;  // "Default" is black
    ColorComboBox* backgroundColorCombo_; // "Default" is cream, 0xF0FBFF
    QCheckBox* paragraphStyleCheck_;
    QPushButton* cancelButton_;
    QPushButton* okButton_;
};

// The "Preferences..." command:
//  1. loads both pickers' custom colour slots from settings.ini, font colour
//     picker first;
//  2. clamps prefs.textFontSize into 5..25 in prefs itself;
//  3. fills the dialog from prefs (the font is matched without regard to
//     case; for a name no installed font has, or none, the list shows the
//     installed sans-serif font the system uses in its place);
//  4. runs the dialog;
//  5. on OK stores the font name, size, both colours and the paragraph style
//     into prefs and calls assignToFrames, which hands prefs to the display
//     frames; a font list without fonts keeps the stored font name;
//  6. whatever the answer, saves the custom colour slots of the font colour
//     picker, then of the background picker.
// Nothing of prefs is written to settings.ini here. Raises
// "Unable to write to %s" when the custom colours cannot be saved, and
// whatever assignToFrames raises.
void executePreferences(PreferencesDialog& dialog, Preferences& prefs, IniFile& ini,
                        const std::function<void()>& assignToFrames);

} // namespace kovara::ui
