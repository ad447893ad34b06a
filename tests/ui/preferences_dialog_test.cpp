#include "core/settings/ini_file.h"
#include "ui/base/core_names.h"
#include "core/app/preferences.h"
#include "fixtures.h"
#include "ui/app/preferences_dialog.h"
#include "ui/base/color_combo.h"
#include "ui/base/window_placement.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFontComboBox>
#include <QGuiApplication>
#include <QPushButton>
#include <QScreen>
#include <QWidget>
#include <fstream>
#include <gtest/gtest.h>

#include <QFontInfo>
#include <QAbstractItemView>
#include <QScrollBar>

namespace kovara::ui {
namespace {

// The dialog with its modal step played by the test.
class ScriptedPrefsDlg : public PreferencesDialog {
public:
    std::function<int(ScriptedPrefsDlg&)> user;
    int shown = 0;
    int runModal() override
    {
        ++shown;
        return user(*this);
    }
};

class PreferencesDialogTest : public ::testing::Test {
protected:
    void execute()
    {
        executePreferences(dialog, prefs, ini, [this] { ++assigned; });
    }
    // The first installed font, or empty when the test machine has none.
    QString someFont() const { return dialog.findChild<QFontComboBox*>("fontCombo")->count() ? dialog.findChild<QFontComboBox*>("fontCombo")->itemText(0) : QString(); }

    test::TempDir dir;
    IniFile ini{dir.file("settings.ini")};
    Preferences prefs{ini};
    ScriptedPrefsDlg dialog;
    int assigned = 0;
};

TEST_F(PreferencesDialogTest, Layout)
{
    EXPECT_EQ(dialog.windowTitle(), "Kovara Preferences");
    for (const char* name : {"fontCombo", "fontSizeCombo", "fontColorCombo", "backgroundColorCombo",
                             "paragraphStyleCheck"})
        EXPECT_NE(dialog.findChild<QWidget*>(QString::fromLatin1(name)), nullptr) << name;
    EXPECT_EQ(dialog.findChild<QComboBox*>("fontSizeCombo")->count(), 21);
    EXPECT_EQ(dialog.findChild<QComboBox*>("fontSizeCombo")->itemText(0), "5");
    EXPECT_EQ(dialog.findChild<QComboBox*>("fontSizeCombo")->itemText(20), "25");
    EXPECT_EQ(dialog.findChild<QCheckBox*>("paragraphStyleCheck")->text(), "Paragraph Style Text");
    EXPECT_TRUE(dialog.findChild<QPushButton*>("okButton")->isDefault());
    EXPECT_EQ(dialog.findChild<QPushButton*>("cancelButton")->text(), "Cancel");
    EXPECT_EQ(dialog.findChild<ColorComboBox*>("fontColorCombo")->defaultColor(), 0);
    EXPECT_EQ(dialog.findChild<ColorComboBox*>("backgroundColorCombo")->defaultColor(), 0xF0FBFF);
}

TEST_F(PreferencesDialogTest, OversizedFontShowsAsLargestAndStaysSoAfterCancel)
{
    prefs.textFontSize = 40;
    dialog.user = [](ScriptedPrefsDlg& d) {
        EXPECT_EQ(d.findChild<QComboBox*>("fontSizeCombo")->currentText(), "25");
        return int(QDialog::Rejected);
    };
    execute();
    EXPECT_EQ(prefs.textFontSize, 25);
    EXPECT_EQ(assigned, 0);

    prefs.textFontSize = 2;
    dialog.user = [](ScriptedPrefsDlg& d) {
        EXPECT_EQ(d.findChild<QComboBox*>("fontSizeCombo")->currentText(), "5");
        return int(QDialog::Rejected);
    };
    execute();
    EXPECT_EQ(prefs.textFontSize, 5);
}

TEST_F(PreferencesDialogTest, OkStoresTheChoicesAndAppliesThem)
{
    const QString font = someFont();
    for (int size : {18, 25, 5}) {
        assigned = 0;
        dialog.user = [&](ScriptedPrefsDlg& d) {
            if (!font.isEmpty()) {
                d.findChild<QFontComboBox*>("fontCombo")->setCurrentIndex(0);
            }
            d.findChild<QComboBox*>("fontSizeCombo")->setCurrentText(QString::number(size));
            d.findChild<ColorComboBox*>("fontColorCombo")->setCurrentText("Navy");
            d.findChild<ColorComboBox*>("backgroundColorCombo")->setCurrentText("Window");
            d.findChild<QCheckBox*>("paragraphStyleCheck")->setChecked(false);
            return int(QDialog::Accepted);
        };
        execute();
        EXPECT_EQ(prefs.textFontSize, size);
        EXPECT_EQ(prefs.textFontColor, 0x800000);
        EXPECT_EQ(prefs.textBackColor, static_cast<ColorValue>(0xFF000005));
        EXPECT_FALSE(prefs.paragraphMode);
        if (!font.isEmpty()) {
            EXPECT_EQ(prefs.textFontName, font.toStdString());
        }
        EXPECT_EQ(assigned, 1);
    }
    // The ten keys are not written by the dialog, only the custom colours.
    EXPECT_FALSE(ini.valueExists("Global Display", "TextFontSize"));
    EXPECT_TRUE(ini.valueExists("Custom Colors", "ColorP"));
}

TEST_F(PreferencesDialogTest, CancelKeepsTheValuesButSavesCustomColors)
{
    prefs.textFontName = "No Such Font Anywhere";
    prefs.textFontSize = 12;
    prefs.textFontColor = 0x0000FF;
    prefs.textBackColor = 0x123456; // listed nowhere: shown as the custom entry
    prefs.paragraphMode = true;
    std::ofstream(dir.file("settings.ini"), std::ios::app) << "[Custom Colors]\nColorA=0000ff\nColorB=junk\n";

    dialog.user = [](ScriptedPrefsDlg& d) {
        // The slots were loaded before the dialog showed.
        EXPECT_EQ(d.findChild<ColorComboBox*>("fontColorCombo")->customColor(0), 0x0000FF);
        EXPECT_EQ(d.findChild<ColorComboBox*>("backgroundColorCombo")->customColor(0), 0x0000FF);
        EXPECT_EQ(d.findChild<ColorComboBox*>("backgroundColorCombo")->customColor(1), 0xFFFFFF);
        EXPECT_EQ(d.findChild<QComboBox*>("fontSizeCombo")->currentText(), "12");
        EXPECT_EQ(d.findChild<ColorComboBox*>("fontColorCombo")->currentText(), "Red");
        EXPECT_EQ(d.findChild<ColorComboBox*>("backgroundColorCombo")->currentText(), "Custom");
        EXPECT_EQ(d.findChild<ColorComboBox*>("backgroundColorCombo")->selectedColor(), 0x123456);
        EXPECT_TRUE(d.findChild<QCheckBox*>("paragraphStyleCheck")->isChecked());
        // The user changes everything, edits custom slots, then cancels.
        d.findChild<QComboBox*>("fontSizeCombo")->setCurrentText("20");
        d.findChild<ColorComboBox*>("fontColorCombo")->setCurrentText("Lime");
        d.findChild<QCheckBox*>("paragraphStyleCheck")->setChecked(false);
        d.findChild<ColorComboBox*>("fontColorCombo")->setCustomColor(1, 0x111111);
        d.findChild<ColorComboBox*>("backgroundColorCombo")->setCustomColor(1, 0x222222);
        return int(QDialog::Rejected);
    };
    execute();
    EXPECT_EQ(prefs.textFontName, "No Such Font Anywhere");
    EXPECT_EQ(prefs.textFontSize, 12);
    EXPECT_EQ(prefs.textFontColor, 0x0000FF);
    EXPECT_EQ(prefs.textBackColor, 0x123456);
    EXPECT_TRUE(prefs.paragraphMode);
    EXPECT_EQ(assigned, 0);
    // The background picker saves last, so its slots are the ones kept.
    EXPECT_EQ(ini.readString("Custom Colors", "ColorA", ""), "0000FF");
    EXPECT_EQ(ini.readString("Custom Colors", "ColorB", ""), "222222");
    EXPECT_EQ(ini.readString("Custom Colors", "ColorP", ""), "FFFFFF");
}

TEST_F(PreferencesDialogTest, FontIsMatchedWithoutRegardToCase)
{
    const QString font = someFont();
    if (font.isEmpty())
        GTEST_SKIP() << "no fonts installed";
    prefs.textFontName = font.toUpper().toStdString();
    dialog.user = [&](ScriptedPrefsDlg& d) {
        EXPECT_EQ(d.findChild<QFontComboBox*>("fontCombo")->currentText(), font);
        return int(QDialog::Accepted);
    };
    execute();
    EXPECT_EQ(prefs.textFontName, font.toStdString());
}

TEST_F(PreferencesDialogTest, FontNotInstalledShowsTheClosestSansSerifAndOkStoresIt)
{
    if (someFont().isEmpty())
        GTEST_SKIP() << "no fonts installed";
    for (const char* stored : {"No Such Font Anywhere", "Verdana", ""}) {
        if (dialog.findChild<QFontComboBox*>("fontCombo")->findText(QString::fromUtf8(stored), Qt::MatchFixedString) >= 0 && *stored)
            continue; // installed here after all
        prefs.textFontName = stored;
        QString shown;
        dialog.user = [&](ScriptedPrefsDlg& d) {
            shown = d.findChild<QFontComboBox*>("fontCombo")->currentText();
            return int(QDialog::Accepted);
        };
        execute();
        // What the pages are drawn in when the stored font is missing.
        QFont wanted(QString::fromUtf8(*stored ? stored : "Verdana"));
        wanted.setStyleHint(QFont::SansSerif);
        EXPECT_FALSE(shown.isEmpty()) << stored;
        EXPECT_EQ(shown, QFontInfo(wanted).family()) << stored;
        EXPECT_EQ(prefs.textFontName, shown.toStdString()) << stored;
    }
}

// The colour picker with its colour dialog answered by the test.
class ScriptedColorCombo : public ColorComboBox {
public:
    QColor answer;       // invalid: Cancel
    QColor addedCustom;  // valid: the user adds it to the first custom slot
    bool chooseCustomColor(QColor& color) override
    {
        if (addedCustom.isValid())
            setCustomColor(0, fromQColor(addedCustom));
        if (!answer.isValid())
            return false;
        color = answer;
        return true;
    }
    void pick(const QString& text)
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
    EXPECT_EQ(toQColor(0xF0FBFF), QColor(0xFF, 0xFB, 0xF0));
    EXPECT_EQ(fromQColor(QColor(0xFF, 0xFB, 0xF0)), 0xF0FBFF);
    EXPECT_EQ(toQColor(systemColor(5)), QGuiApplication::palette().color(QPalette::Active, QPalette::Base));
    EXPECT_EQ(toQColor(systemColor(13)), QGuiApplication::palette().color(QPalette::Active, QPalette::Highlight));

    combo.setDefaultColor(0xF0FBFF);
    combo.setSelectedColor(0xF0FBFF);
    EXPECT_EQ(combo.currentText(), "Default");
    combo.setSelectedColor(systemColor(15));
    EXPECT_EQ(combo.currentText(), "Button Face");
    EXPECT_EQ(combo.selectedColor(), systemColor(15));

    // Custom: a chosen colour is kept; Cancel returns to the previous entry.
    combo.answer = QColor(1, 2, 3);
    combo.pick("Custom");
    EXPECT_EQ(combo.selectedColor(), 0x030201);
    combo.pick("Teal");
    combo.answer = QColor();
    combo.pick("Custom");
    EXPECT_EQ(combo.currentText(), "Teal");
    EXPECT_EQ(combo.selectedColor(), 0x808000);
}

TEST(ColorComboTest, ListScrollsInsteadOfShowingEveryEntry)
{
    ColorComboBox combo;
    combo.show();
    ASSERT_GT(combo.count(), 40);
    combo.showPopup();
    const QAbstractItemView* list = combo.view();
    ASSERT_TRUE(list->isVisible());
    const int row = list->sizeHintForRow(0);
    EXPECT_LE(list->height(), 21 * row);
    EXPECT_GT(list->verticalScrollBar()->maximum(), 0);
    combo.hidePopup();
}

TEST(ColorComboTest, CustomColourAddedInOnePickerIsSavedWithTheOther)
{
    test::TempDir dir;
    IniFile ini(dir.file("settings.ini"));
    ScriptedColorCombo font;
    ScriptedColorCombo back;
    font.shareCustomColorsWith(&back);
    back.shareCustomColorsWith(&font);

    // Added in the font colour's dialog, which is then cancelled.
    font.addedCustom = QColor(0x8B, 0x45, 0x13);
    font.pick("Custom");
    EXPECT_EQ(back.customColor(0), 0x13458B);

    // Saved in the dialog's order: the background picker's slots are written last.
    font.saveCustomColors(ini);
    back.saveCustomColors(ini);
    EXPECT_EQ(ini.readString("Custom Colors", "ColorA", ""), "13458B");

    // And the other way round.
    back.addedCustom = QColor(1, 2, 3);
    back.answer = QColor(1, 2, 3);
    back.pick("Custom");
    EXPECT_EQ(font.customColor(0), 0x030201);
}

// A slot is read from up to six hexadecimal digits and nothing else; any
// other text leaves it white.
TEST(ColorComboTest, CustomColoursAreReadOnlyFromHexadecimalDigits)
{
    const std::pair<const char*, ColorValue> cases[] = {
        {"0000ff", 0x0000FF}, {"AbC", 0xABC},   {"FFFFFF", 0xFFFFFF}, {"junk", 0xFFFFFF}, {"-1", 0xFFFFFF},
        {"+1", 0xFFFFFF},     {"0x12", 0xFFFFFF}, {"1234567", 0xFFFFFF},
    };
    test::TempDir dir;
    IniFile ini(dir.file("settings.ini"));
    for (std::size_t i = 0; i < std::size(cases); ++i)
        ini.writeString("Custom Colors", std::string("Color") + static_cast<char>('A' + i), cases[i].first);
    ColorComboBox combo;
    combo.loadCustomColors(ini);
    for (std::size_t i = 0; i < std::size(cases); ++i)
        EXPECT_EQ(combo.customColor(static_cast<int>(i)), cases[i].second) << cases[i].first;
}

TEST(WindowPlacementTest, RoundTripAndRecovery)
{
    test::TempDir dir;
    IniFile ini(dir.file("settings.ini"));
    const QRect screen = QGuiApplication::primaryScreen()->geometry();

    {
        QWidget w;
        w.setGeometry(screen.x() + 30, screen.y() + 40, 300, 200);
        saveWindowPlacement(w, ini, core::settings::kMainWindowPlacement);
    }
    EXPECT_EQ(ini.readString("Main Window State", "Maximized", ""), "0");
    EXPECT_EQ(ini.readInteger("Main Window State", "Right", 0), screen.x() + 330);
    EXPECT_EQ(ini.readInteger("Main Window State", "Bottom", 0), screen.y() + 240);
    EXPECT_EQ(ini.readString("Main Window State", "Saved", ""), "1");
    {
        QWidget w;
        restoreWindowPlacement(w, ini, core::settings::kMainWindowPlacement);
        EXPECT_EQ(w.geometry(), QRect(screen.x() + 30, screen.y() + 40, 300, 200));
        EXPECT_FALSE(w.windowState() & Qt::WindowMaximized);
    }

    // Off every screen: moved to the origin, size kept; and maximized.
    ini.writeInteger("Prayer Edit Window State", "Left", -5000);
    ini.writeInteger("Prayer Edit Window State", "Top", 90000);
    ini.writeInteger("Prayer Edit Window State", "Right", -4600);
    ini.writeInteger("Prayer Edit Window State", "Bottom", 90250);
    ini.writeBool("Prayer Edit Window State", "Maximized", true);
    {
        QWidget w;
        restoreWindowPlacement(w, ini, core::settings::kPrayerEditorPlacement);
        EXPECT_EQ(w.geometry(), QRect(screen.topLeft(), QSize(400, 250)));
        EXPECT_TRUE(w.windowState() & Qt::WindowMaximized);
    }

    // Edges beyond any screen (a hand-edited file): the window fits its screen.
    ini.writeString("Prayer Edit Window State", "Left", std::to_string(screen.x()));
    ini.writeString("Prayer Edit Window State", "Top", std::to_string(screen.y()));
    ini.writeString("Prayer Edit Window State", "Right", "2147483647");
    ini.writeString("Prayer Edit Window State", "Bottom", "99999999");
    ini.writeBool("Prayer Edit Window State", "Maximized", false);
    {
        QWidget w;
        restoreWindowPlacement(w, ini, core::settings::kPrayerEditorPlacement);
        EXPECT_EQ(w.geometry().topLeft(), screen.topLeft());
        EXPECT_TRUE(QGuiApplication::primaryScreen()->availableGeometry().size().expandedTo(w.size()) ==
                    QGuiApplication::primaryScreen()->availableGeometry().size())
            << w.width() << "x" << w.height();
    }

    // A maximized window saves the rectangle it returns to.
    {
        QWidget w;
        w.setGeometry(screen.x() + 50, screen.y() + 60, 200, 100);
        w.showMaximized();
        saveWindowPlacement(w, ini, core::settings::kMainWindowPlacement);
    }
    EXPECT_EQ(ini.readString("Main Window State", "Maximized", ""), "1");
    EXPECT_EQ(ini.readInteger("Main Window State", "Left", 0), screen.x() + 50);
    EXPECT_EQ(ini.readInteger("Main Window State", "Bottom", 0), screen.y() + 160);

    // Nothing saved: the window keeps what it had.
    {
        QWidget w;
        w.setGeometry(10, 20, 110, 120);
        restoreWindowPlacement(w, ini, core::settings::windowPlacement("No Such Window State"));
        EXPECT_EQ(w.geometry(), QRect(10, 20, 110, 120));
    }
}

} // namespace
} // namespace kovara::ui
