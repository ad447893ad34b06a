#include "ui/app/idle_work.h"

#include "ui/app/error_guard.h"

namespace kovara::ui {

void RunImportOffer(bool& offerImport, Dialogs& dialogs, const std::function<bool()>& importData,
                    const std::function<void()>& savePreferences)
{
    static bool running = false;
    if (!offerImport || running)
        return;
    running = true;
    bool answered = true; // a failed import counts: its message was shown
    RunGuarded(dialogs, [&] { answered = importData(); });
    running = false;
    if (!answered)
        return;
    offerImport = false;
    RunGuarded(dialogs, savePreferences);
}

} // namespace kovara::ui
