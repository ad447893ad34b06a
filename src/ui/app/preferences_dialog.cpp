#include "ui/app/preferences_dialog.h"
#include "ui/base/core_names.h"

#include "core/app/preferences.h"
#include "ui/base/color_combo.h"
#include "ui/base/text_codec.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFontComboBox>
#include <QFontDatabase>
#include <QFontInfo>
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

template <typename W>
W* named(W* widget, const char* name)
{
    widget->setObjectName(QString::fromLatin1(name));
    return widget;
}

// The entry of the font list for the stored font name. findText with
// MatchFixedString compares without regard to case. A font that is not
// installed here (Verdana on most Linux systems) or no name at all shows the
// installed font the system draws in its place, a sans-serif one, which is the
// font the pages are shown in; the list is never left without a choice.
int fontIndexFor(const QFontComboBox& fonts, const QString& name)
{
    int index = name.isEmpty() ? -1 : fonts.findText(name, Qt::MatchFixedString);
    if (index < 0) {
        QFont wanted(name.isEmpty() ? QStringLiteral("Verdana") : name);
        wanted.setStyleHint(QFont::SansSerif);
        index = fonts.findText(QFontInfo(wanted).family(), Qt::MatchFixedString);
    }
    if (index < 0)
        index = fonts.findText(QFontDatabase::systemFont(QFontDatabase::GeneralFont).family(), Qt::MatchFixedString);
    if (index < 0 && fonts.count() > 0)
        index = 0;
    return index;
}

} // namespace

PreferencesDialog::PreferencesDialog(QWidget* parent) : QDialog(parent)
{
    setObjectName(QStringLiteral("preferencesDialog"));
    setWindowTitle(tr("Kovara Preferences"));

    fontCombo = named(new QFontComboBox(this), "fontCombo");
    fontCombo->setEditable(false);
    fontSizeCombo = named(new QComboBox(this), "fontSizeCombo");
    for (int size = kMinFontSize; size <= kMaxFontSize; ++size)
        fontSizeCombo->addItem(QString::number(size));
    fontColorCombo = named(new ColorComboBox(this), "fontColorCombo");
    fontColorCombo->setDefaultColor(kDefaultTextFontColor);
    backgroundColorCombo = named(new ColorComboBox(this), "backgroundColorCombo");
    backgroundColorCombo->setDefaultColor(kDefaultTextBackColor);
    // Both pickers open the same colour dialog, so they share its custom colours.
    fontColorCombo->shareCustomColorsWith(backgroundColorCombo);
    backgroundColorCombo->shareCustomColorsWith(fontColorCombo);
    paragraphStyleCheck = named(new QCheckBox(tr("Paragraph Style Text"), this), "paragraphStyleCheck");
    cancelButton = named(new QPushButton(tr("Cancel"), this), "cancelButton");
    okButton = named(new QPushButton(tr("OK"), this), "okButton");
    okButton->setDefault(true);
    connect(okButton, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancelButton, &QPushButton::clicked, this, &QDialog::reject);

    auto* textGroup = named(new QGroupBox(tr(" Text Display "), this), "textDisplayBox");
    auto* grid = new QGridLayout(textGroup);
    const std::pair<const char*, QWidget*> rows[] = {
        {QT_TR_NOOP("Font:"), fontCombo},
        {QT_TR_NOOP("Font Size:"), fontSizeCombo},
        {QT_TR_NOOP("Font Color:"), fontColorCombo},
        {QT_TR_NOOP("Background Color:"), backgroundColorCombo},
    };
    int row = 0;
    for (const auto& [caption, field] : rows) {
        auto* label = new QLabel(tr(caption), textGroup);
        label->setBuddy(field);
        grid->addWidget(label, row, 0);
        grid->addWidget(field, row, 1);
        ++row;
    }
    grid->setColumnStretch(1, 1);

    auto* bibleGroup = named(new QGroupBox(tr(" Bible Text "), this), "bibleTextBox");
    auto* bibleLayout = new QVBoxLayout(bibleGroup);
    bibleLayout->addWidget(paragraphStyleCheck);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(cancelButton);
    buttons->addWidget(okButton);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(textGroup);
    layout->addWidget(bibleGroup);
    layout->addLayout(buttons);
    // The dialog keeps the size its contents need; the user cannot resize it.
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

void PreferencesDialog::addSection(QWidget* section)
{
    auto* box = static_cast<QVBoxLayout*>(layout());
    box->insertWidget(box->count() - 1, section);
}

int PreferencesDialog::runModal()
{
    return exec();
}

void executePreferences(PreferencesDialog& dialog, Preferences& prefs, IniFile& ini,
                        const std::function<void()>& assignToFrames)
{
    dialog.fontColorCombo->loadCustomColors(ini);
    dialog.backgroundColorCombo->loadCustomColors(ini);

    prefs.textFontSize = std::clamp(prefs.textFontSize, kMinFontSize, kMaxFontSize);

    dialog.fontCombo->setCurrentIndex(fontIndexFor(*dialog.fontCombo, fromBytes(prefs.textFontName)));
    dialog.fontSizeCombo->setCurrentIndex(prefs.textFontSize - kMinFontSize);
    dialog.fontColorCombo->setSelectedColor(prefs.textFontColor);
    dialog.backgroundColorCombo->setSelectedColor(prefs.textBackColor);
    dialog.paragraphStyleCheck->setChecked(prefs.paragraphMode);

    if (dialog.runModal() == QDialog::Accepted) {
        // The font shown is the one stored; a list without fonts keeps the
        // stored name rather than an empty one.
        if (dialog.fontCombo->currentIndex() >= 0 && !dialog.fontCombo->currentText().isEmpty())
            prefs.textFontName = toBytes(dialog.fontCombo->currentText());
        prefs.textFontSize = dialog.fontSizeCombo->currentIndex() + kMinFontSize;
        prefs.textFontColor = dialog.fontColorCombo->selectedColor();
        prefs.textBackColor = dialog.backgroundColorCombo->selectedColor();
        prefs.paragraphMode = dialog.paragraphStyleCheck->isChecked();
        assignToFrames();
    }

    dialog.fontColorCombo->saveCustomColors(ini);
    dialog.backgroundColorCombo->saveCustomColors(ini);
}

} // namespace kovara::ui
