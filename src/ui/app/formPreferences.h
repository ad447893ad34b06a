#pragma once
// The preferences dialog, which edits the five display values, and the
// "Preferences..." command that runs it.
#include <QDialog>
#include <functional>

class QCheckBox;
class QComboBox;
class QFontComboBox;
class QPushButton;

namespace kovara {
class TIniFile;
class TKOVAPreferences;
} // namespace kovara

namespace kovara::ui {

class TColorComboBox;

// "Kovara Preferences": a fixed-size dialog, centred on its parent. The
// controls carry their component names as object names. It only shows and
// collects values; ExecutePreferences moves them in and out.
class TFormPreferencesDlg : public QDialog {
    Q_OBJECT
public:
    explicit TFormPreferencesDlg(QWidget* parent = nullptr);

    // Shows the dialog modally and returns QDialog::Accepted or
    // QDialog::Rejected. Tests override it to act as the user.
    virtual int RunModal();

    QFontComboBox* RzFontComboBoxTextFont;  // installed fonts, not editable
    QComboBox* RzComboBoxSize;              // "5" .. "25"
    TColorComboBox* RzColorComboBoxFColor;  // "Default" is black
    TColorComboBox* RzColorComboBoxBGColor; // "Default" is cream, 0xF0FBFF
    QCheckBox* RzCheckBoxParaStyle;
    QPushButton* ButtonCancel;
    QPushButton* ButtonOK;
};

// The "Preferences..." command:
//  1. loads both pickers' custom colour slots from settings.ini, font colour
//     picker first;
//  2. clamps prefs.TextFontSize into 5..25 in prefs itself;
//  3. fills the dialog from prefs (the font is matched without regard to
//     case; a name no installed font has leaves the font list without a
//     choice);
//  4. runs the dialog;
//  5. on OK stores the font name, size, both colours and the paragraph style
//     into prefs and calls assignToFrames, which hands prefs to the display
//     frames; when the font list has no choice the stored font name is kept;
//  6. whatever the answer, saves the custom colour slots of the font colour
//     picker, then of the background picker.
// Nothing of prefs is written to settings.ini here. Raises
// "Unable to write to %s" when the custom colours cannot be saved, and
// whatever assignToFrames raises.
void ExecutePreferences(TFormPreferencesDlg& dialog, TKOVAPreferences& prefs, TIniFile& ini,
                        const std::function<void()>& assignToFrames);

} // namespace kovara::ui
