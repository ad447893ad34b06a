#pragma once
// User text (a plan or prayer title, a file name) on its way into a message
// box or a prompt. The dialogs show every text as plain text (QtDialogs sets
// Qt::PlainText), so markup in a title reads as typed; this helper keeps such
// text on one line and short enough that the box stays a sensible size.
#include "ui/base/core_names.h"
#include <QString>

namespace kovara::ui {

// The longest user text a dialog shows, in characters.
inline constexpr int kShownUserTextChars = 80;

// text with each line break, tab and other control character turned into one
// blank (CR LF counts as one break), then, when it is longer than maxChars
// characters, cut in the middle: its start and its end with "…" between them,
// maxChars characters in all. A character outside the Basic Multilingual Plane
// is never cut apart. maxChars below 3 counts as 3.
QString plainUserText(const QString& text, int maxChars = kShownUserTextChars);

} // namespace kovara::ui
