#include "ui/app/idle_work.h"

#include "ui/app/error_guard.h"

namespace kovara::ui {

void RunImportOffer(bool& offerImport, Dialogs& dialogs, const std::function<void()>& importData,
                    const std::function<void()>& savePreferences)
{
    if (!offerImport)
        return;
    offerImport = false;
    RunGuarded(dialogs, importData);
    RunGuarded(dialogs, savePreferences);
}

} // namespace kovara::ui
