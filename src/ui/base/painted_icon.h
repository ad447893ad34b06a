#pragma once
// An icon drawn by a function when it is first shown, not when it is made:
// fallback icons for windows that are created at start-up but opened later
// cost nothing until they appear.
#include "ui/base/core_names.h"
#include <QIcon>
#include <functional>

class QPainter;

namespace kovara::ui {

// paint draws into a 16 x 16 pixmap already filled transparent, with the pen
// set to the button text colour and antialiasing on.
QIcon paintedIcon(std::function<void(QPainter&)> paint);

// The main window's tool bar pictures, drawn through paintedIcon.
enum class ToolBarPicture { Home, Copy, Print, Help, Bible };
QIcon toolBarIcon(ToolBarPicture picture);

} // namespace kovara::ui
