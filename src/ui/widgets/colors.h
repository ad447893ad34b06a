#pragma once
// Colour values as the preferences keep them (TColor: 0x00BBGGRR, or a
// window-system colour when the top byte is 0xFF) turned into QColor.
#include "app/kova_prefs.h"

#include <QColor>

namespace kovara::ui {

// An RGB value maps to that colour. A system colour (top byte 0xFF, index in
// the low byte) maps to the matching role of the application palette; an
// index we do not know gives the palette's window colour.
QColor ToQColor(kovara::TColor color);

} // namespace kovara::ui
