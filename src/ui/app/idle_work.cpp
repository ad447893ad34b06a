#include "ui/app/idle_work.h"
#include "ui/base/core_names.h"

#include "ui/base/error_guard.h"

namespace kovara::ui {

void runImportOffer(bool& offerImport, Dialogs& dialogs, const std::function<bool()>& importData,
                    const std::function<void()>& savePreferences)
{
    static bool running = false;
    if (!offerImport || running)
        return;
    running = true;
    bool answered = true; // a failed import counts: its message was shown
    runGuarded(dialogs, [&] { answered = importData(); });
    running = false;
    if (!answered)
        return;
    offerImport = false;
    runGuarded(dialogs, savePreferences);
}

} // namespace kovara::ui
