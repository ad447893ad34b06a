#pragma once
// A window's placement kept in settings.ini under the keys of a
// WindowPlacementKeys (core/settings/settings_keys.h). The rectangle is the window's normal (not maximized)
// geometry in screen pixels, Right and Bottom lying just past its last column
// and row (Right - Left is the width).
#include "ui/base/core_names.h"

#include <QSize>

class QWidget;

namespace kovara::core {
class IniFile;
namespace settings {
struct WindowPlacementKeys;
}
} // namespace kovara::core

namespace kovara::ui {

// Writes the window's placement. Call when the window closes. Raises
// "Unable to write to %s".
void saveWindowPlacement(const QWidget& window, IniFile& ini, const core::settings::WindowPlacementKeys& keys);

// Sets the window's placement from the section. Call once, before the window
// is first shown. Does nothing when the file holds none of the keys (the
// window system then chooses). A missing edge keeps the window's current one;
// a rectangle whose top-left corner lies on no screen is moved to the primary
// screen's origin; the window is maximized when "Maximized" is 1. Never raises.
void restoreWindowPlacement(QWidget& window, const IniFile& ini, const core::settings::WindowPlacementKeys& keys);

// The size a first window opens at, showing a page whole: about two thirds
// of its screen, never less than classic, never more than the screen.
QSize firstWindowSize(const QWidget& window, QSize classic);

} // namespace kovara::ui
