#pragma once
// The display style the prayer text areas share (tracker view and editor):
// the user's font and size replace whatever the stored document says, the
// user's colour and background show wherever the text has none of its own,
// and its bold, italic, underline, strikeout, colours, bullets and alignment
// stay.
#include "ui/base/core_names.h"
#include "core/app/preferences.h"

class QTextEdit;

namespace kovara::ui {

// Gives the whole text, the document's default and the text typed next the
// font textFontName at textFontSize; text without a colour of its own shows
// in textFontColor. The text cursor (and so the selection) is left as it was.
void applyDisplayFont(QTextEdit& edit, const Preferences& prefs);

// textBackColor as the area's background, with a 5-pixel inner border.
void applyDisplayBackground(QTextEdit& edit, const Preferences& prefs);

} // namespace kovara::ui
