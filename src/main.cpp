// Kovara: finds its folders, makes sure it is the one copy on the user data
// folder, shows the splash, creates the main window and runs the message
// loop. Everything else lives in the libraries.
#include "ui/app/dialogs.h"
#include "ui/app/formMain.h"
#include "base/datetime.h"
#include "ui/app/formSplashScreen.h"
#include "ui/app/platform.h"
#include "ui/app/single_instance.h"
#include "ui/widgets/text_codec.h"
#include "app/data_folders.h"

#include <QApplication>
#include <cstdio>
#include <memory>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Kovara"));
    QApplication::setApplicationDisplayName(QString());

    kovara::ui::QtDialogs dialogs;
    const std::string programFolder =
        kovara::ProgramFolderOf(kovara::ui::ToBytes(QApplication::applicationFilePath()));
    const std::string appDataFolder = kovara::ui::ToBytes(kovara::ui::AppDataFolder());
    const std::string userDataFolder = kovara::UserDataFolderFor(appDataFolder, programFolder);

    // The one copy on the user data folder: decided before the splash, and
    // before any store is opened or an interrupted restore is recovered. A
    // folder that cannot be made is left to the main window to report.
    std::unique_ptr<kovara::ui::SingleInstance> instance;
    try {
        kovara::EnsureUserDataFolder(userDataFolder);
        instance = std::make_unique<kovara::ui::SingleInstance>(kovara::ui::FromBytes(userDataFolder));
    } catch (const std::exception&) {
    }
    if (instance) {
        switch (instance->Claim()) {
        case kovara::ui::SingleInstance::Claimed::First:
            break;
        case kovara::ui::SingleInstance::Claimed::HandedOver:
            return 0;
        case kovara::ui::SingleInstance::Claimed::Unreachable:
            std::fprintf(stderr,
                         "Kovara: another copy is already running on \"%s\" but did not answer; "
                         "this copy ends without starting. The lock is \"%s\".\n",
                         userDataFolder.c_str(), qPrintable(instance->LockFileName()));
            return 0;
        case kovara::ui::SingleInstance::Claimed::Unguarded:
            std::fprintf(stderr,
                         "Kovara: cannot make the lock file \"%s\"; starting without the check "
                         "for another copy.\n",
                         qPrintable(instance->LockFileName()));
            break;
        }
    }

    kovara::ui::TFormSplash splash;
    splash.show();
    QApplication::processEvents();

    kovara::SystemClock clock;
    std::unique_ptr<kovara::ui::TFormMainWindow> window;
    try {
        window = std::make_unique<kovara::ui::TFormMainWindow>(programFolder, appDataFolder, dialogs, clock);
    } catch (const std::exception& e) {
        // A store that failed to open is never used: say why once and end.
        splash.close();
        dialogs.Message(kovara::ui::FromBytes(e.what()), kovara::ui::Dialogs::Icon::Error);
        return 1;
    }
    dialogs.SetParent(window.get());
    kovara::ui::CloseOnTerminationSignals(window.get());
    if (instance)
        instance->RaiseOnRequest(window.get());
    window->show();
    splash.close();
    const int code = QApplication::exec();
    // From here on a later start waits for the lock, which is held until
    // the stores have been closed with the window.
    if (instance)
        instance->StopListening();
    window.reset();
    return code;
}
