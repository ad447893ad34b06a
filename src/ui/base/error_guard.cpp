#include "ui/base/error_guard.h"
#include "ui/base/core_names.h"

#include <QAction>
#include <QCoreApplication>

#include "ui/base/text_codec.h"

namespace kovara::ui {

bool runGuarded(Dialogs& dialogs, const std::function<void()>& body)
{
    try {
        body();
        return true;
    } catch (const std::exception& e) {
        dialogs.message(fromBytes(e.what()), Dialogs::Icon::Error);
    } catch (...) {
        dialogs.message(QCoreApplication::translate("kovara::ui::ErrorGuard", "Unknown error"), Dialogs::Icon::Error);
    }
    return false;
}

void connectGuarded(QAction* action, Dialogs& dialogs, std::function<void()> handler)
{
    QObject::connect(action, &QAction::triggered, action,
                     [&dialogs, handler = std::move(handler)] { runGuarded(dialogs, handler); });
}

} // namespace kovara::ui
