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

    fontCombo_ = named(new QFontComboBox(this), "fontCombo");
    fontCombo_->setEditable(false);
    fontSizeCombo_ = named(new QComboBox(this), "fontSizeCombo");
    for (int size = kMinFontSize; size <= kMaxFontSize; ++size)
        fontSizeCombo_->addItem(QString::number(size));
    fontColorCombo_ = named(new ColorComboBox(this), "fontColorCombo");
    fontColorCombo_->setDefaultColor(kDefaultTextFontColor);
    backgroundColorCombo_ = named(new ColorComboBox(this), "backgroundColorCombo");
    backgroundColorCombo_->setDefaultColor(kDefaultTextBackColor);
    // Both pickers open the same colour dialog, so they share its custom colours.
    fontColorCombo_->shareCustomColorsWith(backgroundColorCombo_);
    backgroundColorCombo_->shareCustomColorsWith(fontColorCombo_);
    paragraphStyleCheck_ = named(new QCheckBox(tr("Paragraph Style Text"), this), "paragraphStyleCheck");
    cancelButton_ = named(new QPushButton(tr("Cancel"), this), "cancelButton");
    okButton_ = named(new QPushButton(tr("OK"), this), "okButton");
    okButton_->setDefault(true);
    connect(okButton_, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancelButton_, &QPushButton::clicked, this, &QDialog::reject);

    auto* textGroup = named(new QGroupBox(tr(" Text Display "), this), "textDisplayBox");
    auto* grid = new QGridLayout(textGroup);
    const std::pair<const char*, QWidget*> rows[] = {
        {QT_TR_NOOP("Font:"), fontCombo_},
        {QT_TR_NOOP("Font Size:"), fontSizeCombo_},
        {QT_TR_NOOP("Font Color:"), fontColorCombo_},
        {QT_TR_NOOP("Background Color:"), backgroundColorCombo_},
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
    bibleLayout->addWidget(paragraphStyleCheck_);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(cancelButton_);
    buttons->addWidget(okButton_);

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

void PreferencesDialog::showValues(const Preferences& prefs)
{
    fontCombo_->setCurrentIndex(fontIndexFor(*fontCombo_, fromBytes(prefs.textFontName)));
    fontSizeCombo_->setCurrentIndex(prefs.textFontSize - kMinFontSize);
    fontColorCombo_->setSelectedColor(prefs.textFontColor);
    backgroundColorCombo_->setSelectedColor(prefs.textBackColor);
    paragraphStyleCheck_->setChecked(prefs.paragraphMode);
}

void PreferencesDialog::storeValues(Preferences& prefs) const
{
    // The font shown is the one stored; a list without fonts keeps the
    // stored name rather than an empty one.
    if (fontCombo_->currentIndex() >= 0 && !fontCombo_->currentText().isEmpty())
        prefs.textFontName = toBytes(fontCombo_->currentText());
    prefs.textFontSize = fontSizeCombo_->currentIndex() + kMinFontSize;
    prefs.textFontColor = fontColorCombo_->selectedColor();
    prefs.textBackColor = backgroundColorCombo_->selectedColor();
    prefs.paragraphMode = paragraphStyleCheck_->isChecked();
}

void PreferencesDialog::loadCustomColors(const IniFile& ini)
{
    fontColorCombo_->loadCustomColors(ini);
    backgroundColorCombo_->loadCustomColors(ini);
}

void PreferencesDialog::saveCustomColors(IniFile& ini) const
{
    fontColorCombo_->saveCustomColors(ini);
    backgroundColorCombo_->saveCustomColors(ini);
}

void executePreferences(PreferencesDialog& dialog, Preferences& prefs, IniFile& ini,
                        const std::function<void()>& assignToFrames)
{
    dialog.loadCustomColors(ini);
    prefs.textFontSize = std::clamp(prefs.textFontSize, kMinFontSize, kMaxFontSize);
    dialog.showValues(prefs);
    if (dialog.runModal() == QDialog::Accepted) {
        dialog.storeValues(prefs);
        assignToFrames();
    }
    dialog.saveCustomColors(ini);
}

} // namespace kovara::ui
