#include "ui/base/color_combo.h"
#include "ui/base/core_names.h"

#include "core/settings/settings_keys.h"
#include "core/base/exception.h"

#include <QColorDialog>
#include <QPainter>
#include <QPixmap>
#include <charconv>

namespace kovara::ui {
namespace {

struct NamedColor {
    const char* name;
    ColorValue color; // 0x00BBGGRR
};

const NamedColor kStandardColors[] = {
    {QT_TRANSLATE_NOOP("kovara::ui::ColorComboBox", "Black"), 0x000000},
    {QT_TRANSLATE_NOOP("kovara::ui::ColorComboBox", "Maroon"), 0x000080},
    {QT_TRANSLATE_NOOP("kovara::ui::ColorComboBox", "Green"), 0x008000},
    {QT_TRANSLATE_NOOP("kovara::ui::ColorComboBox", "Olive"), 0x008080},
    {QT_TRANSLATE_NOOP("kovara::ui::ColorComboBox", "Navy"), 0x800000},
    {QT_TRANSLATE_NOOP("kovara::ui::ColorComboBox", "Purple"), 0x800080},
    {QT_TRANSLATE_NOOP("kovara::ui::ColorComboBox", "Teal"), 0x808000},
    {QT_TRANSLATE_NOOP("kovara::ui::ColorComboBox", "Gray"), 0x808080},
    {QT_TRANSLATE_NOOP("kovara::ui::ColorComboBox", "Silver"), 0xC0C0C0},
    {QT_TRANSLATE_NOOP("kovara::ui::ColorComboBox", "Red"), 0x0000FF},
    {QT_TRANSLATE_NOOP("kovara::ui::ColorComboBox", "Lime"), 0x00FF00},
    {QT_TRANSLATE_NOOP("kovara::ui::ColorComboBox", "Yellow"), 0x00FFFF},
    {QT_TRANSLATE_NOOP("kovara::ui::ColorComboBox", "Blue"), 0xFF0000},
    {QT_TRANSLATE_NOOP("kovara::ui::ColorComboBox", "Fuchsia"), 0xFF00FF},
    {QT_TRANSLATE_NOOP("kovara::ui::ColorComboBox", "Aqua"), 0xFFFF00},
    {QT_TRANSLATE_NOOP("kovara::ui::ColorComboBox", "White"), 0xFFFFFF},
};

constexpr int kColorRole = Qt::UserRole;
constexpr int kVisibleEntries = 20;

QIcon swatch(ColorValue color)
{
    QPixmap pixmap(16, 12);
    pixmap.fill(toQColor(color));
    QPainter painter(&pixmap);
    painter.setPen(Qt::black);
    painter.drawRect(0, 0, pixmap.width() - 1, pixmap.height() - 1);
    return QIcon(pixmap);
}

} // namespace

ColorComboBox::ColorComboBox(QWidget* parent) : QComboBox(parent)
{
    customSlots_.fill(0xFFFFFF);
    addEntry(tr("Default"), 0);
    for (const NamedColor& c : kStandardColors)
        addEntry(tr(c.name), c.color);
    for (const SystemColorEntry& e : systemColors())
        addEntry(tr(e.name), systemColor(e.index));
    addEntry(tr("Custom"), 0xFFFFFF);
    setCurrentIndex(0);
    // About sixty entries: the list scrolls instead of growing taller than the
    // screen (the style's own pop-up shows every entry and ignores the limit).
    setStyleSheet(QStringLiteral("QComboBox { combobox-popup: 0; }"));
    setMaxVisibleItems(kVisibleEntries);
    connect(this, &QComboBox::activated, this, &ColorComboBox::onActivated);
}

void ColorComboBox::addEntry(const QString& name, ColorValue color)
{
    addItem(swatch(color), name, QVariant(static_cast<int>(color)));
}

void ColorComboBox::setEntryColor(int index, ColorValue color)
{
    setItemData(index, QVariant(static_cast<int>(color)), kColorRole);
    setItemIcon(index, swatch(color));
}

void ColorComboBox::setDefaultColor(ColorValue color)
{
    setEntryColor(0, color);
}

ColorValue ColorComboBox::defaultColor() const
{
    return itemData(0, kColorRole).toInt();
}

void ColorComboBox::setSelectedColor(ColorValue color)
{
    const int custom = count() - 1;
    int index = custom;
    for (int i = 0; i < custom; ++i) {
        if (itemData(i, kColorRole).toInt() == color) {
            index = i;
            break;
        }
    }
    if (index == custom)
        setEntryColor(custom, color);
    setCurrentIndex(index);
    lastChoice_ = index;
}

ColorValue ColorComboBox::selectedColor() const
{
    return currentIndex() < 0 ? defaultColor() : currentData(kColorRole).toInt();
}

void ColorComboBox::onActivated(int index)
{
    if (index == count() - 1) {
        QColor color = toQColor(itemData(index, kColorRole).toInt());
        const bool chosen = chooseCustomColor(color);
        // The slots come back even on Cancel; the sharing picker gets them too.
        if (sharedWith_)
            sharedWith_->customSlots_ = customSlots_;
        if (!chosen) {
            setCurrentIndex(lastChoice_);
            return;
        }
        setEntryColor(index, fromQColor(color));
    }
    lastChoice_ = index;
}

bool ColorComboBox::chooseCustomColor(QColor& color)
{
    for (int i = 0; i < kCustomSlots; ++i)
        QColorDialog::setCustomColor(i, toQColor(customSlots_[static_cast<std::size_t>(i)]));
    const QColor chosen = QColorDialog::getColor(color, this);
    for (int i = 0; i < kCustomSlots; ++i)
        customSlots_[static_cast<std::size_t>(i)] = fromQColor(QColorDialog::customColor(i));
    if (!chosen.isValid())
        return false;
    color = chosen;
    return true;
}

static_assert(core::settings::kCustomColors.size() == ColorComboBox::kCustomSlots);

void ColorComboBox::loadCustomColors(const IniFile& ini)
{
    for (int i = 0; i < kCustomSlots; ++i) {
        const std::string text = core::settings::kCustomColors[static_cast<std::size_t>(i)].read(ini);
        if (text.empty() || text.size() > 6)
            continue;
        // Up to six hexadecimal digits (RRGGBB as the colour dialog keeps
        // them); anything else keeps the slot.
        unsigned value = 0;
        const char* const end = text.data() + text.size();
        const auto [stop, error] = std::from_chars(text.data(), end, value, 16);
        if (error == std::errc() && stop == end)
            setCustomColor(i, static_cast<ColorValue>(value));
    }
}

void ColorComboBox::saveCustomColors(IniFile& ini) const
{
    IniFile::Batch batch(ini); // one write of the file for the sixteen slots
    for (int i = 0; i < kCustomSlots; ++i)
        core::settings::kCustomColors[static_cast<std::size_t>(i)].write(ini, format("%.6X", customSlots_[static_cast<std::size_t>(i)] & 0xFFFFFF));
    batch.commit();
}

} // namespace kovara::ui
