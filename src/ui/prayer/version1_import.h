#pragma once
// Takes over the data of the program's previous major version, offered once
// on the first idle moment of a first run: the old prayer items become items
// of the prayer store, the old one-year plan a new reading plan.
#include "ui/base/core_names.h"
#include <string>

namespace kovara::ui {

class Shell;

// Looks for version-1 data in version1Folder (with its trailing separator) and,
// when there is some, offers to import it. Offers nothing to a user who
// already has a prayer item or a plan, and asks nothing when there is nothing
// to import. Each part imported is announced on the shell's session (plans or
// prayers changed). Raises on failure (a damaged old file before any question
// is asked; a store or template error after the items imported so far).
void importVersion1Data(Shell& shell, const std::string& version1Folder);

// The plain text of an old item as the rich-text document the prayer store
// keeps: each line break starts a new paragraph.
std::string version1TextDocument(const std::string& text);

} // namespace kovara::ui
