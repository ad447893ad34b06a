#pragma once
// Conversion between the program's colour values and QColor, in one place.
//
// A ColorValue is 0x00BBGGRR (red in the lowest byte), or a window-system colour
// when its top byte is 0xFF; the low byte is then the index of the system
// colour, numbered as the system colour table below lists them. System colours
// are resolved through the application's palette each time they are drawn, so
// they follow the desktop's colour scheme.
#include "ui/base/core_names.h"
#include "core/app/preferences.h"

#include <QColor>
#include <QPalette>
#include <vector>

namespace kovara::ui {

// The colour to draw for c. An unknown system colour index gives the palette's
// text colour.
QColor toQColor(ColorValue c);
// Whether the palette is a dark one: its window darker than the window's text.
bool isDarkPalette(const QPalette& palette);

// The colours a page is drawn with for the display preferences. A colour
// the user picked is kept as it is. The "Default" entries (black text on
// cream) are kept too, except under a dark palette, where they give way to
// the palette's text and base colours so that the pages do not glare out of
// a dark or high-contrast desktop.
QColor pageBackColor(const Preferences& prefs);
QColor pageFontColor(const Preferences& prefs);

// 0x00BBGGRR; alpha is dropped.
ColorValue fromQColor(const QColor& c);

constexpr bool isSystemColor(ColorValue c) { return (static_cast<std::uint32_t>(c) >> 24) == 0xFF; }
constexpr ColorValue systemColor(int index) { return static_cast<ColorValue>(0xFF000000u | static_cast<std::uint32_t>(index & 0xFF)); }

// The system colours the program draws with itself (the prayer list's topic
// rows), by their names in the table below.
inline constexpr ColorValue kActiveCaptionColor = systemColor(2);
inline constexpr ColorValue kCaptionTextColor = systemColor(9);

// One window-system colour and the palette role it is drawn with.
struct SystemColorEntry {
    int index;              // low byte of the ColorValue
    const char* name;       // as the colour pickers list it
    QPalette::ColorGroup group;
    QPalette::ColorRole role;
};

// Every system colour the pickers offer, in index order. The mapping to
// palette roles:
//   0 Scroll Bar -> Button             16 Button Shadow -> Dark
//   1 Desktop -> Dark                  17 Gray Text -> Text (disabled)
//   2 Active Caption -> Highlight      18 Button Text -> ButtonText
//   3 Inactive Caption -> Mid          19 Inactive Caption Text -> WindowText (disabled)
//   4 Menu -> Window                   20 Button Highlight -> Light
//   5 Window -> Base                   21 3D Dark Shadow -> Shadow
//   6 Window Frame -> Shadow           22 3D Light -> Midlight
//   7 Menu Text -> WindowText          23 Info Text -> ToolTipText
//   8 Window Text -> Text              24 Info Background -> ToolTipBase
//   9 Caption Text -> HighlightedText  26 Hot Light -> Link
//  10 Active Border -> Window          27 Gradient Active Caption -> Highlight
//  11 Inactive Border -> Window        28 Gradient Inactive Caption -> Mid
//  12 Application Workspace -> Dark    29 Menu Highlight -> Highlight
//  13 Highlight -> Highlight           30 Menu Bar -> Window
//  14 Highlight Text -> HighlightedText
//  15 Button Face -> Button
// (index 25 is unused). Roles are taken from the active group unless noted.
const std::vector<SystemColorEntry>& systemColors();

} // namespace kovara::ui
