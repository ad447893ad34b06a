#pragma once
// The work done when the event queue has run empty.
#include "ui/base/core_names.h"
#include <functional>

namespace kovara::ui {

class Dialogs;

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
