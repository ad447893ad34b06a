#include "app/ini_file.h"
#include "app/kova_prefs.h"
#include "fixtures.h"
#include "ui/app/formPreferences.h"
#include "ui/widgets/color_combo.h"
#include "ui/widgets/window_placement.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFontComboBox>
#include <QGuiApplication>
#include <QPushButton>
#include <QScreen>
#include <QWidget>
#include <fstream>
#include <gtest/gtest.h>

namespace kovara::ui {
namespace {

// The dialog with its modal step played by the test.
class ScriptedPrefsDlg : public TFormPreferencesDlg {
public:
    std::function<int(ScriptedPrefsDlg&)> user;
    int shown = 0;
    int RunModal() override
    {
        ++shown;
        return user(*this);
    }
};

class PreferencesDialogTest : public ::testing::Test {
protected:
    void Execute()
    {
        ExecutePreferences(dialog, prefs, ini, [this] { ++assigned; });
    }
    // The first installed font, or empty when the test machine has none.
    QString SomeFont() const { return dialog.RzFontComboBoxTextFont->count() ? dialog.RzFontComboBoxTextFont->itemText(0) : QString(); }

    test::TempDir dir;
    TIniFile ini{dir.File("settings.ini")};
    TKOVAPreferences prefs{ini};
    ScriptedPrefsDlg dialog;
    int assigned = 0;
};

TEST_F(PreferencesDialogTest, Layout)
{
    EXPECT_EQ(dialog.windowTitle(), "Kovara Preferences");
    for (const char* name : {"RzFontComboBoxTextFont", "RzComboBoxSize", "RzColorComboBoxFColor", "RzColorComboBoxBGColor",
                             "RzCheckBoxParaStyle"})
        EXPECT_NE(dialog.findChild<QWidget*>(QString::fromLatin1(name)), nullptr) << name;
    EXPECT_EQ(dialog.RzComboBoxSize->count(), 21);
    EXPECT_EQ(dialog.RzComboBoxSize->itemText(0), "5");
    EXPECT_EQ(dialog.RzComboBoxSize->itemText(20), "25");
    EXPECT_EQ(dialog.RzCheckBoxParaStyle->text(), "Paragraph Style Text");
    EXPECT_TRUE(dialog.ButtonOK->isDefault());
    EXPECT_EQ(dialog.ButtonCancel->text(), "Cancel");
    EXPECT_EQ(dialog.RzColorComboBoxFColor->DefaultColor(), 0);
    EXPECT_EQ(dialog.RzColorComboBoxBGColor->DefaultColor(), 0xF0FBFF);
}

TEST_F(PreferencesDialogTest, OversizedFontShowsAsLargestAndStaysSoAfterCancel)
{
    prefs.TextFontSize = 40;
    dialog.user = [](ScriptedPrefsDlg& d) {
        EXPECT_EQ(d.RzComboBoxSize->currentText(), "25");
        return int(QDialog::Rejected);
    };
    Execute();
    EXPECT_EQ(prefs.TextFontSize, 25);
    EXPECT_EQ(assigned, 0);

    prefs.TextFontSize = 2;
    dialog.user = [](ScriptedPrefsDlg& d) {
        EXPECT_EQ(d.RzComboBoxSize->currentText(), "5");
        return int(QDialog::Rejected);
    };
    Execute();
    EXPECT_EQ(prefs.TextFontSize, 5);
}

TEST_F(PreferencesDialogTest, OkStoresTheChoicesAndAppliesThem)
{
    const QString font = SomeFont();
    for (int size : {18, 25, 5}) {
        assigned = 0;
        dialog.user = [&](ScriptedPrefsDlg& d) {
            if (!font.isEmpty()) {
                d.RzFontComboBoxTextFont->setCurrentIndex(0);
            }
            d.RzComboBoxSize->setCurrentText(QString::number(size));
            d.RzColorComboBoxFColor->setCurrentText("Navy");
            d.RzColorComboBoxBGColor->setCurrentText("Window");
            d.RzCheckBoxParaStyle->setChecked(false);
            return int(QDialog::Accepted);
        };
        Execute();
        EXPECT_EQ(prefs.TextFontSize, size);
        EXPECT_EQ(prefs.TextFontColor, 0x800000);
        EXPECT_EQ(prefs.TextBackColor, static_cast<TColor>(0xFF000005));
        EXPECT_FALSE(prefs.ParagraphMode);
        if (!font.isEmpty()) {
            EXPECT_EQ(prefs.TextFontName, font.toStdString());
        }
        EXPECT_EQ(assigned, 1);
    }
    // The ten keys are not written by the dialog, only the custom colours.
    EXPECT_FALSE(ini.ValueExists("Global Display", "TextFontSize"));
    EXPECT_TRUE(ini.ValueExists("Custom Colors", "ColorP"));
}

TEST_F(PreferencesDialogTest, CancelKeepsTheValuesButSavesCustomColors)
{
    prefs.TextFontName = "No Such Font Anywhere";
    prefs.TextFontSize = 12;
    prefs.TextFontColor = 0x0000FF;
    prefs.TextBackColor = 0x123456; // listed nowhere: shown as the custom entry
    prefs.ParagraphMode = true;
    std::ofstream(dir.File("settings.ini"), std::ios::app) << "[Custom Colors]\nColorA=0000ff\nColorB=junk\n";

    dialog.user = [](ScriptedPrefsDlg& d) {
        // The slots were loaded before the dialog showed.
        EXPECT_EQ(d.RzColorComboBoxFColor->CustomColor(0), 0x0000FF);
        EXPECT_EQ(d.RzColorComboBoxBGColor->CustomColor(0), 0x0000FF);
        EXPECT_EQ(d.RzColorComboBoxBGColor->CustomColor(1), 0xFFFFFF);
        EXPECT_EQ(d.RzFontComboBoxTextFont->currentIndex(), -1);
        EXPECT_EQ(d.RzComboBoxSize->currentText(), "12");
        EXPECT_EQ(d.RzColorComboBoxFColor->currentText(), "Red");
        EXPECT_EQ(d.RzColorComboBoxBGColor->currentText(), "Custom");
        EXPECT_EQ(d.RzColorComboBoxBGColor->SelectedColor(), 0x123456);
        EXPECT_TRUE(d.RzCheckBoxParaStyle->isChecked());
        // The user changes everything, edits custom slots, then cancels.
        d.RzComboBoxSize->setCurrentText("20");
        d.RzColorComboBoxFColor->setCurrentText("Lime");
        d.RzCheckBoxParaStyle->setChecked(false);
        d.RzColorComboBoxFColor->SetCustomColor(1, 0x111111);
        d.RzColorComboBoxBGColor->SetCustomColor(1, 0x222222);
        return int(QDialog::Rejected);
    };
    Execute();
    EXPECT_EQ(prefs.TextFontName, "No Such Font Anywhere");
    EXPECT_EQ(prefs.TextFontSize, 12);
    EXPECT_EQ(prefs.TextFontColor, 0x0000FF);
    EXPECT_EQ(prefs.TextBackColor, 0x123456);
    EXPECT_TRUE(prefs.ParagraphMode);
    EXPECT_EQ(assigned, 0);
    // The background picker saves last, so its slots are the ones kept.
    EXPECT_EQ(ini.ReadString("Custom Colors", "ColorA", ""), "0000FF");
    EXPECT_EQ(ini.ReadString("Custom Colors", "ColorB", ""), "222222");
    EXPECT_EQ(ini.ReadString("Custom Colors", "ColorP", ""), "FFFFFF");
}

TEST_F(PreferencesDialogTest, FontIsMatchedWithoutRegardToCase)
{
    const QString font = SomeFont();
    if (font.isEmpty())
        GTEST_SKIP() << "no fonts installed";
    prefs.TextFontName = font.toUpper().toStdString();
    dialog.user = [&](ScriptedPrefsDlg& d) {
        EXPECT_EQ(d.RzFontComboBoxTextFont->currentText(), font);
        return int(QDialog::Accepted);
    };
    Execute();
    EXPECT_EQ(prefs.TextFontName, font.toStdString());
}

TEST_F(PreferencesDialogTest, UnknownFontIsKeptWhenOkIsPressedWithoutChoosing)
{
    prefs.TextFontName = "No Such Font Anywhere";
    dialog.user = [](ScriptedPrefsDlg& d) {
        EXPECT_EQ(d.RzFontComboBoxTextFont->currentIndex(), -1);
        d.RzCheckBoxParaStyle->setChecked(false);
        return int(QDialog::Accepted);
    };
    Execute();
    EXPECT_EQ(prefs.TextFontName, "No Such Font Anywhere");
    EXPECT_FALSE(prefs.ParagraphMode);
    EXPECT_EQ(assigned, 1);
}

// The colour picker with its colour dialog answered by the test.
class ScriptedColorCombo : public TColorComboBox {
public:
    QColor answer;       // invalid: Cancel
    QColor addedCustom;  // valid: the user adds it to the first custom slot
    bool ChooseCustomColor(QColor& color) override
    {
        if (addedCustom.isValid())
            SetCustomColor(0, FromQColor(addedCustom));
        if (!answer.isValid())
            return false;
        color = answer;
        return true;
    }
    void Pick(const QString& text)
    {
        setCurrentIndex(findText(text));
        emit activated(currentIndex());
    }
};

TEST(ColorComboTest, EntriesAndConversions)
{
    ScriptedColorCombo combo;
    EXPECT_EQ(combo.itemText(0), "Default");
    EXPECT_EQ(combo.itemText(1), "Black");
    EXPECT_EQ(combo.itemText(16), "White");
    EXPECT_EQ(combo.itemText(combo.count() - 1), "Custom");

    // 0x00BBGGRR both ways; system colours come from the palette.
    EXPECT_EQ(ToQColor(0xF0FBFF), QColor(0xFF, 0xFB, 0xF0));
    EXPECT_EQ(FromQColor(QColor(0xFF, 0xFB, 0xF0)), 0xF0FBFF);
    EXPECT_EQ(ToQColor(SystemColor(5)), QGuiApplication::palette().color(QPalette::Active, QPalette::Base));
    EXPECT_EQ(ToQColor(SystemColor(13)), QGuiApplication::palette().color(QPalette::Active, QPalette::Highlight));

    combo.SetDefaultColor(0xF0FBFF);
    combo.SetSelectedColor(0xF0FBFF);
    EXPECT_EQ(combo.currentText(), "Default");
    combo.SetSelectedColor(SystemColor(15));
    EXPECT_EQ(combo.currentText(), "Button Face");
    EXPECT_EQ(combo.SelectedColor(), SystemColor(15));

    // Custom: a chosen colour is kept; Cancel returns to the previous entry.
    combo.answer = QColor(1, 2, 3);
    combo.Pick("Custom");
    EXPECT_EQ(combo.SelectedColor(), 0x030201);
    combo.Pick("Teal");
    combo.answer = QColor();
    combo.Pick("Custom");
    EXPECT_EQ(combo.currentText(), "Teal");
    EXPECT_EQ(combo.SelectedColor(), 0x808000);
}

TEST(ColorComboTest, CustomColourAddedInOnePickerIsSavedWithTheOther)
{
    test::TempDir dir;
    TIniFile ini(dir.File("settings.ini"));
    ScriptedColorCombo font;
    ScriptedColorCombo back;
    font.ShareCustomColorsWith(&back);
    back.ShareCustomColorsWith(&font);

    // Added in the font colour's dialog, which is then cancelled.
    font.addedCustom = QColor(0x8B, 0x45, 0x13);
    font.Pick("Custom");
    EXPECT_EQ(back.CustomColor(0), 0x13458B);

    // Saved in the dialog's order: the background picker's slots are written last.
    font.SaveCustomColors(ini);
    back.SaveCustomColors(ini);
    EXPECT_EQ(ini.ReadString("Custom Colors", "ColorA", ""), "13458B");

    // And the other way round.
    back.addedCustom = QColor(1, 2, 3);
    back.answer = QColor(1, 2, 3);
    back.Pick("Custom");
    EXPECT_EQ(font.CustomColor(0), 0x030201);
}

TEST(WindowPlacementTest, RoundTripAndRecovery)
{
    test::TempDir dir;
    TIniFile ini(dir.File("settings.ini"));
    const QRect screen = QGuiApplication::primaryScreen()->geometry();

    {
        QWidget w;
        w.setGeometry(screen.x() + 30, screen.y() + 40, 300, 200);
        SaveWindowPlacement(w, ini, "Main Window State");
    }
    EXPECT_EQ(ini.ReadString("Main Window State", "Maximized", ""), "0");
    EXPECT_EQ(ini.ReadInteger("Main Window State", "Right", 0), screen.x() + 330);
    EXPECT_EQ(ini.ReadInteger("Main Window State", "Bottom", 0), screen.y() + 240);
    EXPECT_EQ(ini.ReadString("Main Window State", "Saved", ""), "1");
    {
        QWidget w;
        RestoreWindowPlacement(w, ini, "Main Window State");
        EXPECT_EQ(w.geometry(), QRect(screen.x() + 30, screen.y() + 40, 300, 200));
        EXPECT_FALSE(w.windowState() & Qt::WindowMaximized);
    }

    // Off every screen: moved to the origin, size kept; and maximized.
    ini.WriteInteger("Prayer Edit Window State", "Left", -5000);
    ini.WriteInteger("Prayer Edit Window State", "Top", 90000);
    ini.WriteInteger("Prayer Edit Window State", "Right", -4600);
    ini.WriteInteger("Prayer Edit Window State", "Bottom", 90250);
    ini.WriteBool("Prayer Edit Window State", "Maximized", true);
    {
        QWidget w;
        RestoreWindowPlacement(w, ini, "Prayer Edit Window State");
        EXPECT_EQ(w.geometry(), QRect(screen.topLeft(), QSize(400, 250)));
        EXPECT_TRUE(w.windowState() & Qt::WindowMaximized);
    }

    // A maximized window saves the rectangle it returns to.
    {
        QWidget w;
        w.setGeometry(screen.x() + 50, screen.y() + 60, 200, 100);
        w.showMaximized();
        SaveWindowPlacement(w, ini, "Main Window State");
    }
    EXPECT_EQ(ini.ReadString("Main Window State", "Maximized", ""), "1");
    EXPECT_EQ(ini.ReadInteger("Main Window State", "Left", 0), screen.x() + 50);
    EXPECT_EQ(ini.ReadInteger("Main Window State", "Bottom", 0), screen.y() + 160);

    // Nothing saved: the window keeps what it had.
    {
        QWidget w;
        w.setGeometry(10, 20, 110, 120);
        RestoreWindowPlacement(w, ini, "No Such Window State");
        EXPECT_EQ(w.geometry(), QRect(10, 20, 110, 120));
    }
}

} // namespace
} // namespace kovara::ui
