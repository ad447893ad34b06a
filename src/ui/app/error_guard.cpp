#include "ui/app/error_guard.h"

#include "ui/widgets/text_codec.h"

namespace kovara::ui {

bool RunGuarded(Dialogs& dialogs, const std::function<void()>& body)
{
    try {
        body();
        return true;
    } catch (const std::exception& e) {
        dialogs.Message(FromBytes(e.what()), Dialogs::Icon::Error);
    } catch (...) {
        dialogs.Message(QStringLiteral("Unknown error"), Dialogs::Icon::Error);
    }
    return false;
}

} // namespace kovara::ui
