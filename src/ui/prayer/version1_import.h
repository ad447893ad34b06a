#pragma once
// Takes over the data of the program's previous major version, offered once
// on the first idle moment of a first run: the old prayer items become items
// of the prayer store, the old one-year plan a new reading plan.
#include "ui/base/core_names.h"
#include <functional>
#include <string>

namespace kovara::ui {

class Dialogs;
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

// The one-time offer to import the previous version's data. When offerImport
// is true, importData runs: it returns true once its questions have been shown
// and answered (or there was nothing to ask), false when it was cut short
// before the user could answer (the program is closing). The offer is cleared
// only after an answered import or one that failed with its message shown, so
// it is never lost unseen; then savePreferences runs. An error from either
// step is shown through dialogs and goes no further. A call made while an
// import is still running (from an event loop inside its questions) does
// nothing.
void runImportOffer(bool& offerImport, Dialogs& dialogs, const std::function<bool()>& importData,
                    const std::function<void()>& savePreferences);

} // namespace kovara::ui
