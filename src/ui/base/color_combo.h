#pragma once
// A colour picker: a drop-down list of a "Default" entry, the sixteen standard
// colours, the window system's colours and a "Custom" entry that opens the
// colour dialog. Each picker keeps its own sixteen custom colour slots, which
// are the colour dialog's custom colours while it is open and are kept in
// settings.ini under "Custom Colors" as "ColorA" to "ColorP".
#include "ui/base/core_names.h"
#include "ui/base/colors.h"

#include <QComboBox>
#include <array>

namespace kovara::core {
class IniFile;
}

namespace kovara::ui {

class ColorComboBox : public QComboBox {
    Q_OBJECT
public:
    static constexpr int kCustomSlots = 16;

    explicit ColorComboBox(QWidget* parent = nullptr);

    // The colour of the "Default" entry (black unless set).
    void setDefaultColor(ColorValue color);
    ColorValue defaultColor() const;

    // Selects the first entry whose colour is color ("Default" first); a colour
    // that no entry has becomes the colour of the "Custom" entry and is
    // selected there.
    void setSelectedColor(ColorValue color);
    ColorValue selectedColor() const;

    ColorValue customColor(int slot) const { return customSlots_.at(static_cast<std::size_t>(slot)); }
    void setCustomColor(int slot, ColorValue color) { customSlots_.at(static_cast<std::size_t>(slot)) = color & 0xFFFFFF; }

    // Reads the slots from "Custom Colors"; a missing or unreadable key leaves
    // its slot as it was. Never raises.
    void loadCustomColors(const IniFile& ini);
    // Writes all sixteen slots, six hexadecimal digits each (0xBBGGRR).
    // Raises "Unable to write to %s".
    void saveCustomColors(IniFile& ini) const;

    // Pickers that stand for one colour dialog: whenever this picker's dialog
    // closes, its custom slots are copied into other too, so a colour the user
    // added there is not lost when the other picker's slots are saved last.
    void shareCustomColorsWith(ColorComboBox* other) { sharedWith_ = other; }

protected:
    // Lets the user pick a colour, starting from color, with this picker's
    // slots as the dialog's custom colours (and copied back afterwards, even
    // on Cancel). Returns false on Cancel. Tests replace it.
    virtual bool chooseCustomColor(QColor& color);

private:
    void addEntry(const QString& name, ColorValue color);
    void setEntryColor(int index, ColorValue color);
    void onActivated(int index);

    std::array<ColorValue, kCustomSlots> customSlots_;
    int lastChoice_ = 0; // restored when the colour dialog is cancelled
    ColorComboBox* sharedWith_ = nullptr;
};

} // namespace kovara::ui
