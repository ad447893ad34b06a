#pragma once
// The display style the prayer text areas share (tracker view and editor):
// the user's font, size, colour and background replace whatever the stored
// document says, while its bold, italic, underline, strikeout, bullets and
// alignment stay.
#include "app/kova_prefs.h"

class QTextEdit;

namespace kovara::ui {

// Gives the whole text, the document's default and the text typed next the
// font TextFontName at TextFontSize in TextFontColor. The text cursor (and so
// the selection) is left as it was.
void ApplyDisplayFont(QTextEdit& edit, const TKOVAPreferences& prefs);

// TextBackColor as the area's background, with a 5-pixel inner border.
void ApplyDisplayBackground(QTextEdit& edit, const TKOVAPreferences& prefs);

} // namespace kovara::ui
