#include "ui/widgets/color_combo.h"

#include "app/ini_file.h"
#include "base/exception.h"

#include <QColorDialog>
#include <QPainter>
#include <QPixmap>

namespace kovara::ui {
namespace {

const char* const kCustomColors = "Custom Colors";

struct NamedColor {
    const char* name;
    TColor color; // 0x00BBGGRR
};

const NamedColor kStandardColors[] = {
    {"Black", 0x000000},  {"Maroon", 0x000080}, {"Green", 0x008000},   {"Olive", 0x008080},
    {"Navy", 0x800000},   {"Purple", 0x800080}, {"Teal", 0x808000},    {"Gray", 0x808080},
    {"Silver", 0xC0C0C0}, {"Red", 0x0000FF},    {"Lime", 0x00FF00},    {"Yellow", 0x00FFFF},
    {"Blue", 0xFF0000},   {"Fuchsia", 0xFF00FF}, {"Aqua", 0xFFFF00},   {"White", 0xFFFFFF},
};

constexpr int kColorRole = Qt::UserRole;

std::string SlotKey(int slot)
{
    return std::string("Color") + static_cast<char>('A' + slot);
}

QIcon Swatch(TColor color)
{
    QPixmap pixmap(16, 12);
    pixmap.fill(ToQColor(color));
    QPainter painter(&pixmap);
    painter.setPen(Qt::black);
    painter.drawRect(0, 0, pixmap.width() - 1, pixmap.height() - 1);
    return QIcon(pixmap);
}

} // namespace

TColorComboBox::TColorComboBox(QWidget* parent) : QComboBox(parent)
{
    customSlots_.fill(0xFFFFFF);
    AddEntry(QStringLiteral("Default"), 0);
    for (const NamedColor& c : kStandardColors)
        AddEntry(QString::fromLatin1(c.name), c.color);
    for (const SystemColorEntry& e : SystemColors())
        AddEntry(QString::fromLatin1(e.name), SystemColor(e.index));
    AddEntry(QStringLiteral("Custom"), 0xFFFFFF);
    setCurrentIndex(0);
    connect(this, &QComboBox::activated, this, &TColorComboBox::OnActivated);
}

void TColorComboBox::AddEntry(const QString& name, TColor color)
{
    addItem(Swatch(color), name, QVariant(static_cast<int>(color)));
}

void TColorComboBox::SetEntryColor(int index, TColor color)
{
    setItemData(index, QVariant(static_cast<int>(color)), kColorRole);
    setItemIcon(index, Swatch(color));
}

void TColorComboBox::SetDefaultColor(TColor color)
{
    SetEntryColor(0, color);
}

TColor TColorComboBox::DefaultColor() const
{
    return itemData(0, kColorRole).toInt();
}

void TColorComboBox::SetSelectedColor(TColor color)
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
        SetEntryColor(custom, color);
    setCurrentIndex(index);
    lastChoice_ = index;
}

TColor TColorComboBox::SelectedColor() const
{
    return currentIndex() < 0 ? DefaultColor() : currentData(kColorRole).toInt();
}

void TColorComboBox::OnActivated(int index)
{
    if (index == count() - 1) {
        QColor color = ToQColor(itemData(index, kColorRole).toInt());
        const bool chosen = ChooseCustomColor(color);
        // The slots come back even on Cancel; the sharing picker gets them too.
        if (sharedWith_)
            sharedWith_->customSlots_ = customSlots_;
        if (!chosen) {
            setCurrentIndex(lastChoice_);
            return;
        }
        SetEntryColor(index, FromQColor(color));
    }
    lastChoice_ = index;
}

bool TColorComboBox::ChooseCustomColor(QColor& color)
{
    for (int i = 0; i < kCustomSlots; ++i)
        QColorDialog::setCustomColor(i, ToQColor(customSlots_[static_cast<std::size_t>(i)]));
    const QColor chosen = QColorDialog::getColor(color, this);
    for (int i = 0; i < kCustomSlots; ++i)
        customSlots_[static_cast<std::size_t>(i)] = FromQColor(QColorDialog::customColor(i));
    if (!chosen.isValid())
        return false;
    color = chosen;
    return true;
}

void TColorComboBox::LoadCustomColors(const TIniFile& ini)
{
    for (int i = 0; i < kCustomSlots; ++i) {
        const std::string text = ini.ReadString(kCustomColors, SlotKey(i), std::string());
        if (text.empty() || text.size() > 6)
            continue;
        try {
            SetCustomColor(i, StrToInt("$" + text));
        } catch (const Exception&) {
            // not hexadecimal: keep the slot
        }
    }
}

void TColorComboBox::SaveCustomColors(TIniFile& ini) const
{
    for (int i = 0; i < kCustomSlots; ++i)
        ini.WriteString(kCustomColors, SlotKey(i), Format("%.6X", customSlots_[static_cast<std::size_t>(i)] & 0xFFFFFF));
}

} // namespace kovara::ui
