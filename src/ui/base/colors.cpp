#include "ui/base/colors.h"
#include "ui/base/core_names.h"

#include <QGuiApplication>

namespace kovara::ui {

const std::vector<SystemColorEntry>& systemColors()
{
    using P = QPalette;
    static const std::vector<SystemColorEntry> table = {
        {0, "Scroll Bar", P::Active, P::Button},
        {1, "Desktop", P::Active, P::Dark},
        {2, "Active Caption", P::Active, P::Highlight},
        {3, "Inactive Caption", P::Active, P::Mid},
        {4, "Menu", P::Active, P::Window},
        {5, "Window", P::Active, P::Base},
        {6, "Window Frame", P::Active, P::Shadow},
        {7, "Menu Text", P::Active, P::WindowText},
        {8, "Window Text", P::Active, P::Text},
        {9, "Caption Text", P::Active, P::HighlightedText},
        {10, "Active Border", P::Active, P::Window},
        {11, "Inactive Border", P::Active, P::Window},
        {12, "Application Workspace", P::Active, P::Dark},
        {13, "Highlight", P::Active, P::Highlight},
        {14, "Highlight Text", P::Active, P::HighlightedText},
        {15, "Button Face", P::Active, P::Button},
        {16, "Button Shadow", P::Active, P::Dark},
        {17, "Gray Text", P::Disabled, P::Text},
        {18, "Button Text", P::Active, P::ButtonText},
        {19, "Inactive Caption Text", P::Disabled, P::WindowText},
        {20, "Button Highlight", P::Active, P::Light},
        {21, "3D Dark Shadow", P::Active, P::Shadow},
        {22, "3D Light", P::Active, P::Midlight},
        {23, "Info Text", P::Active, P::ToolTipText},
        {24, "Info Background", P::Active, P::ToolTipBase},
        {26, "Hot Light", P::Active, P::Link},
        {27, "Gradient Active Caption", P::Active, P::Highlight},
        {28, "Gradient Inactive Caption", P::Active, P::Mid},
        {29, "Menu Highlight", P::Active, P::Highlight},
        {30, "Menu Bar", P::Active, P::Window},
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
