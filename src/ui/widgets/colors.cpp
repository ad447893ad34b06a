#include "ui/widgets/colors.h"

#include <QGuiApplication>
#include <QPalette>

namespace kovara::ui {

namespace {

// System colour indexes, in the window system's own numbering, to the palette
// role that plays the same part here.
QColor SystemColor(int index)
{
    const QPalette p = QGuiApplication::palette();
    switch (index) {
    case 1: // desktop
    case 12: // application workspace
        return p.color(QPalette::Dark);
    case 2: // active caption
    case 13: // highlight
    case 27: // gradient of the active caption
    case 29: // highlighted menu item
        return p.color(QPalette::Highlight);
    case 3: // inactive caption
    case 28:
        return p.color(QPalette::Inactive, QPalette::Highlight);
    case 5: // window background
        return p.color(QPalette::Base);
    case 6: // window frame
    case 21: // dark 3D shadow
        return p.color(QPalette::Shadow);
    case 7: // menu text
    case 8: // window text
        return p.color(QPalette::Text);
    case 9: // caption text
    case 14: // highlighted text
        return p.color(QPalette::HighlightedText);
    case 16: // button shadow
        return p.color(QPalette::Mid);
    case 17: // grey text
        return p.color(QPalette::Disabled, QPalette::Text);
    case 18: // button text
        return p.color(QPalette::ButtonText);
    case 19: // inactive caption text
        return p.color(QPalette::Inactive, QPalette::HighlightedText);
    case 20: // button highlight
        return p.color(QPalette::Light);
    case 22: // 3D light
        return p.color(QPalette::Midlight);
    case 23: // tool tip text
        return p.color(QPalette::ToolTipText);
    case 24: // tool tip background
        return p.color(QPalette::ToolTipBase);
    case 26: // hot-tracked item
        return p.color(QPalette::Link);
    case 4: // menu
    case 15: // button face
    case 30: // menu bar
        return p.color(QPalette::Button);
    default:
        return p.color(QPalette::Window);
    }
}

} // namespace

QColor ToQColor(kovara::TColor color)
{
    const auto value = static_cast<std::uint32_t>(color);
    if ((value >> 24) == 0xFF)
        return SystemColor(static_cast<int>(value & 0xFF));
    return QColor(static_cast<int>(value & 0xFF), static_cast<int>((value >> 8) & 0xFF),
                  static_cast<int>((value >> 16) & 0xFF));
}

} // namespace kovara::ui
