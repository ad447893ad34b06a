#pragma once
// The work done when the event queue has run empty.
#include <functional>

namespace kovara::ui {

class Dialogs;

// The one-time offer to import the previous version's data. When offerImport
// is true it is cleared first, so the offer never repeats once the preferences
// are written; then importData runs and then savePreferences runs whatever the
// import did. An error from either step is shown through dialogs and goes no
// further; a failing import still has the preferences saved.
void RunImportOffer(bool& offerImport, Dialogs& dialogs, const std::function<void()>& importData,
                    const std::function<void()>& savePreferences);

} // namespace kovara::ui
