#include "ui/base/colors.h"
#include "ui/base/core_names.h"

#include <QGuiApplication>

namespace kovara::ui {

const std::vector<SystemColorEntry>& systemColors()
{
    using P = QPalette;
    static const std::vector<SystemColorEntry> table = {
        {0, QT_TRANSLATE_NOOP("kovara::ui::ColorComboBox", "Scroll Bar"), P::Active, P::Button},
        {1, QT_TRANSLATE_NOOP("kovara::ui::ColorComboBox", "Desktop"), P::Active, P::Dark},
        {2, QT_TRANSLATE_NOOP("kovara::ui::ColorComboBox", "Active Caption"), P::Active, P::Highlight},
        {3, QT_TRANSLATE_NOOP("kovara::ui::ColorComboBox", "Inactive Caption"), P::Active, P::Mid},
        {4, QT_TRANSLATE_NOOP("kovara::ui::ColorComboBox", "Menu"), P::Active, P::Window},
        {5, QT_TRANSLATE_NOOP("kovara::ui::ColorComboBox", "Window"), P::Active, P::Base},
        {6, QT_TRANSLATE_NOOP("kovara::ui::ColorComboBox", "Window Frame"), P::Active, P::Shadow},
        {7, QT_TRANSLATE_NOOP("kovara::ui::ColorComboBox", "Menu Text"), P::Active, P::WindowText},
        {8, QT_TRANSLATE_NOOP("kovara::ui::ColorComboBox", "Window Text"), P::Active, P::Text},
        {9, QT_TRANSLATE_NOOP("kovara::ui::ColorComboBox", "Caption Text"), P::Active, P::HighlightedText},
        {10, QT_TRANSLATE_NOOP("kovara::ui::ColorComboBox", "Active Border"), P::Active, P::Window},
        {11, QT_TRANSLATE_NOOP("kovara::ui::ColorComboBox", "Inactive Border"), P::Active, P::Window},
        {12, QT_TRANSLATE_NOOP("kovara::ui::ColorComboBox", "Application Workspace"), P::Active, P::Dark},
        {13, QT_TRANSLATE_NOOP("kovara::ui::ColorComboBox", "Highlight"), P::Active, P::Highlight},
        {14, QT_TRANSLATE_NOOP("kovara::ui::ColorComboBox", "Highlight Text"), P::Active, P::HighlightedText},
        {15, QT_TRANSLATE_NOOP("kovara::ui::ColorComboBox", "Button Face"), P::Active, P::Button},
        {16, QT_TRANSLATE_NOOP("kovara::ui::ColorComboBox", "Button Shadow"), P::Active, P::Dark},
        {17, QT_TRANSLATE_NOOP("kovara::ui::ColorComboBox", "Gray Text"), P::Disabled, P::Text},
        {18, QT_TRANSLATE_NOOP("kovara::ui::ColorComboBox", "Button Text"), P::Active, P::ButtonText},
        {19, QT_TRANSLATE_NOOP("kovara::ui::ColorComboBox", "Inactive Caption Text"), P::Disabled, P::WindowText},
        {20, QT_TRANSLATE_NOOP("kovara::ui::ColorComboBox", "Button Highlight"), P::Active, P::Light},
        {21, QT_TRANSLATE_NOOP("kovara::ui::ColorComboBox", "3D Dark Shadow"), P::Active, P::Shadow},
        {22, QT_TRANSLATE_NOOP("kovara::ui::ColorComboBox", "3D Light"), P::Active, P::Midlight},
        {23, QT_TRANSLATE_NOOP("kovara::ui::ColorComboBox", "Info Text"), P::Active, P::ToolTipText},
        {24, QT_TRANSLATE_NOOP("kovara::ui::ColorComboBox", "Info Background"), P::Active, P::ToolTipBase},
        {26, QT_TRANSLATE_NOOP("kovara::ui::ColorComboBox", "Hot Light"), P::Active, P::Link},
        {27, QT_TRANSLATE_NOOP("kovara::ui::ColorComboBox", "Gradient Active Caption"), P::Active, P::Highlight},
        {28, QT_TRANSLATE_NOOP("kovara::ui::ColorComboBox", "Gradient Inactive Caption"), P::Active, P::Mid},
        {29, QT_TRANSLATE_NOOP("kovara::ui::ColorComboBox", "Menu Highlight"), P::Active, P::Highlight},
        {30, QT_TRANSLATE_NOOP("kovara::ui::ColorComboBox", "Menu Bar"), P::Active, P::Window},
    };
    return table;
}

QColor toQColor(ColorValue c)
{
    const QPalette palette = QGuiApplication::palette();
    if (isSystemColor(c)) {
        const int index = c & 0xFF;
        for (const SystemColorEntry& e : systemColors())
            if (e.index == index)
                return palette.color(e.group, e.role);
        return palette.color(QPalette::Active, QPalette::Text);
    }
    return QColor(c & 0xFF, (c >> 8) & 0xFF, (c >> 16) & 0xFF);
}

bool isDarkPalette(const QPalette& palette)
{
    return palette.color(QPalette::Active, QPalette::Window).lightness() <
           palette.color(QPalette::Active, QPalette::WindowText).lightness();
}

QColor pageBackColor(const Preferences& prefs)
{
    const QPalette palette = QGuiApplication::palette();
    if (prefs.textBackColor == kDefaultTextBackColor && isDarkPalette(palette))
        return palette.color(QPalette::Active, QPalette::Base);
    return toQColor(prefs.textBackColor);
}

QColor pageFontColor(const Preferences& prefs)
{
    const QPalette palette = QGuiApplication::palette();
    if (prefs.textFontColor == kDefaultTextFontColor && isDarkPalette(palette))
        return palette.color(QPalette::Active, QPalette::Text);
    return toQColor(prefs.textFontColor);
}

ColorValue fromQColor(const QColor& c)
{
    const QColor rgb = c.toRgb();
    return static_cast<ColorValue>(rgb.red() | (rgb.green() << 8) | (rgb.blue() << 16));
}

} // namespace kovara::ui
