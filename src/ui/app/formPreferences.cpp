#include "ui/app/formPreferences.h"

#include "app/kova_prefs.h"
#include "ui/widgets/color_combo.h"
#include "ui/widgets/text_codec.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFontComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>

namespace kovara::ui {
namespace {

constexpr int kMinFontSize = 5;
constexpr int kMaxFontSize = 25;
constexpr TColor kCream = 0xF0FBFF;

template <typename W>
W* Named(W* widget, const char* name)
{
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

} // namespace

TFormPreferencesDlg::TFormPreferencesDlg(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("FormPreferencesDlg"));
    setWindowTitle(QStringLiteral("Kovara Preferences"));

    RzFontComboBoxTextFont = Named(new QFontComboBox(this), "RzFontComboBoxTextFont");
    RzFontComboBoxTextFont->setEditable(false);
    RzComboBoxSize = Named(new QComboBox(this), "RzComboBoxSize");
    for (int size = kMinFontSize; size <= kMaxFontSize; ++size)
        RzComboBoxSize->addItem(QString::number(size));
    RzColorComboBoxFColor = Named(new TColorComboBox(this), "RzColorComboBoxFColor");
    RzColorComboBoxFColor->SetDefaultColor(0);
    RzColorComboBoxBGColor = Named(new TColorComboBox(this), "RzColorComboBoxBGColor");
    RzColorComboBoxBGColor->SetDefaultColor(kCream);
    // Both pickers open the same colour dialog, so they share its custom colours.
    RzColorComboBoxFColor->ShareCustomColorsWith(RzColorComboBoxBGColor);
    RzColorComboBoxBGColor->ShareCustomColorsWith(RzColorComboBoxFColor);
    RzCheckBoxParaStyle = Named(new QCheckBox(QStringLiteral("Paragraph Style Text"), this), "RzCheckBoxParaStyle");
    ButtonCancel = Named(new QPushButton(QStringLiteral("Cancel"), this), "ButtonCancel");
    ButtonOK = Named(new QPushButton(QStringLiteral("OK"), this), "ButtonOK");
    ButtonOK->setDefault(true);
    connect(ButtonOK, &QPushButton::clicked, this, &QDialog::accept);
    connect(ButtonCancel, &QPushButton::clicked, this, &QDialog::reject);

    auto* textGroup = Named(new QGroupBox(QStringLiteral(" Text Display "), this), "RzGroupBoxTextDisplay");
    auto* grid = new QGridLayout(textGroup);
    const std::pair<const char*, QWidget*> rows[] = {
        {"Font:", RzFontComboBoxTextFont},
        {"Font Size:", RzComboBoxSize},
        {"Font Color:", RzColorComboBoxFColor},
        {"Background Color:", RzColorComboBoxBGColor},
    };
    int row = 0;
    for (const auto& [caption, field] : rows) {
        auto* label = new QLabel(QString::fromLatin1(caption), textGroup);
        label->setBuddy(field);
        grid->addWidget(label, row, 0);
        grid->addWidget(field, row, 1);
        ++row;
    }
    grid->setColumnStretch(1, 1);

    auto* bibleGroup = Named(new QGroupBox(QStringLiteral(" Bible Text "), this), "RzGroupBoxBibleText");
    auto* bibleLayout = new QVBoxLayout(bibleGroup);
    bibleLayout->addWidget(RzCheckBoxParaStyle);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(ButtonCancel);
    buttons->addWidget(ButtonOK);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(textGroup);
    layout->addWidget(bibleGroup);
    layout->addLayout(buttons);
    // The dialog keeps the size its contents need; the user cannot resize it.
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

int TFormPreferencesDlg::RunModal()
{
    return exec();
}

void ExecutePreferences(TFormPreferencesDlg& dialog, TKOVAPreferences& prefs, TIniFile& ini,
                        const std::function<void()>& assignToFrames)
{
    dialog.RzColorComboBoxFColor->LoadCustomColors(ini);
    dialog.RzColorComboBoxBGColor->LoadCustomColors(ini);

    prefs.TextFontSize = std::clamp(prefs.TextFontSize, kMinFontSize, kMaxFontSize);

    // findText with MatchFixedString compares without regard to case.
    dialog.RzFontComboBoxTextFont->setCurrentIndex(
        dialog.RzFontComboBoxTextFont->findText(FromBytes(prefs.TextFontName), Qt::MatchFixedString));
    dialog.RzComboBoxSize->setCurrentIndex(prefs.TextFontSize - kMinFontSize);
    dialog.RzColorComboBoxFColor->SetSelectedColor(prefs.TextFontColor);
    dialog.RzColorComboBoxBGColor->SetSelectedColor(prefs.TextBackColor);
    dialog.RzCheckBoxParaStyle->setChecked(prefs.ParagraphMode);

    if (dialog.RunModal() == QDialog::Accepted) {
        // A font that is not installed here stays the user's choice until they
        // pick another, rather than being replaced by an empty name.
        if (dialog.RzFontComboBoxTextFont->currentIndex() >= 0)
            prefs.TextFontName = ToBytes(dialog.RzFontComboBoxTextFont->currentText());
        prefs.TextFontSize = dialog.RzComboBoxSize->currentIndex() + kMinFontSize;
        prefs.TextFontColor = dialog.RzColorComboBoxFColor->SelectedColor();
        prefs.TextBackColor = dialog.RzColorComboBoxBGColor->SelectedColor();
        prefs.ParagraphMode = dialog.RzCheckBoxParaStyle->isChecked();
        assignToFrames();
    }

    dialog.RzColorComboBoxFColor->SaveCustomColors(ini);
    dialog.RzColorComboBoxBGColor->SaveCustomColors(ini);
}

} // namespace kovara::ui
