// Kovara: finds its folders, shows the splash, creates the main window and
// runs the message loop. Everything else lives in the libraries.
#include "ui/app/dialogs.h"
#include "ui/app/formMain.h"
#include "base/datetime.h"
#include "ui/app/formSplashScreen.h"
#include "ui/app/platform.h"
#include "ui/widgets/text_codec.h"
#include "app/data_folders.h"

#include <QApplication>
#include <memory>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Kovara"));
    QApplication::setApplicationDisplayName(QString());

    kovara::ui::TFormSplash splash;
    splash.show();
    QApplication::processEvents();

    kovara::ui::QtDialogs dialogs;
    kovara::SystemClock clock;
    std::unique_ptr<kovara::ui::TFormMainWindow> window;
    try {
        const std::string programFolder =
            kovara::ProgramFolderOf(kovara::ui::ToBytes(QApplication::applicationFilePath()));
        window = std::make_unique<kovara::ui::TFormMainWindow>(
            programFolder, kovara::ui::ToBytes(kovara::ui::AppDataFolder()), dialogs, clock);
    } catch (const std::exception& e) {
        // A store that failed to open is never used: say why once and end.
        splash.close();
        dialogs.Message(kovara::ui::FromBytes(e.what()), kovara::ui::Dialogs::Icon::Error);
        return 1;
    }
    dialogs.SetParent(window.get());
    kovara::ui::CloseOnTerminationSignals(window.get());
    window->show();
    splash.close();
    const int code = QApplication::exec();
    window.reset();
    return code;
}
