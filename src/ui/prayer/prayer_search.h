#pragma once
// What the prayer page needs around the journal's search index and notes:
// the plain text the index holds for a stored document, building the index
// for a file an older program wrote (with a progress window when it takes a
// while), marking the searched words in a text area, and the short date a
// note is shown with.
#include "ui/base/core_names.h"
#include "core/prayer/prayer_store.h"

#include <QString>
#include <string>

class QTextEdit;
class QWidget;

namespace kovara::ui {

// The plain text of stored document bytes (RTF, or plain text).
std::string plainTextOfDocument(const std::string& textData);

// Builds the store's search index when it is not ready yet: one transaction,
// a progress window over parent once it takes more than half a second.
// Returns whether it had to build. Raises the store's errors (nothing changed).
bool ensureSearchIndex(PrayerStore& store, QWidget* parent);

// Marks in edit every word that starts with one of the searched words (as
// searchPrayers matches them, ignoring case and accents) and every searched
// symbol (emoji); empty words clear the marks.
// Returns the number of places marked.
int highlightWords(QTextEdit& edit, const QString& words);

// A note's or answer's date: "3 Dec" in today's year, "3 Dec 2025" in another.
QString journalDateText(sys_days date, sys_days today);

// "3 Dec: surgery went well".
QString noteLine(const PrayerNote& note, sys_days today);

} // namespace kovara::ui
