// Kovara: finds its folders, makes sure it is the one copy on the user data
// folder, shows the splash, creates the main window and runs the message
// loop. Everything else lives in the libraries.
#include "ui/base/dialogs.h"
#include "ui/app/command_line.h"
#include "ui/app/main_window.h"
#include "core/base/datetime.h"
#include "ui/app/splash_screen.h"
#include "ui/app/platform.h"
#include "ui/app/single_instance.h"
#include "ui/app/translations.h"
#include "ui/base/text_codec.h"
#include "core/settings/data_folders.h"
#include "core/plans/reading_reminder.h"

#include <QApplication>
#include <QIcon>
#include <cstdio>
#include <memory>

int main(int argc, char* argv[])
{
    // Read before the application object, which needs a display: --help and
    // --version answer without one.
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    const kovara::ui::CommandLine commandLine = kovara::ui::parseCommandLine(arguments);
    if (commandLine.exitCode) {
        std::fputs(commandLine.output.toLocal8Bit().constData(), *commandLine.exitCode == 0 ? stdout : stderr);
        return *commandLine.exitCode;
    }

    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Kovara"));
    QApplication::setApplicationDisplayName(QString());
    // Ties the windows to the menu entry org.example.Kovara.desktop, which
    // names the icon of the hicolor theme. The window's own icon is drawn from
    // pictures of the same icon in the resources: looking it up in the theme
    // would read the theme's index before the window shows.
    QGuiApplication::setDesktopFileName(QStringLiteral("org.example.Kovara"));
    QIcon windowIcon;
    windowIcon.addFile(QStringLiteral(":/window_icon_32.png"), QSize(32, 32));
    windowIcon.addFile(QStringLiteral(":/window_icon_64.png"), QSize(64, 64));
    QApplication::setWindowIcon(windowIcon);

    kovara::ui::QtDialogs dialogs;
    // The shipped content: share/kovara beside bin/ once installed, beside
    // the executable in a build folder.
    const std::string programFolder = kovara::core::contentFolderFor(
        kovara::core::programFolderOf(kovara::ui::toBytes(QApplication::applicationFilePath())),
        KOVARA_CONTENT_FROM_BIN);
    // The texts in the user's language, when the content holds a translation.
    kovara::ui::installTranslations(
        kovara::ui::translationsFolderIn(kovara::ui::fromBytes(programFolder)));
    const std::string appDataFolder = kovara::ui::toBytes(kovara::ui::appDataFolder());
    const std::string userDataFolder = kovara::core::userDataFolderFor(appDataFolder, programFolder);

    // The one copy on the user data folder: decided before the splash, and
    // before any store is opened or an interrupted restore is recovered. A
    // folder that cannot be made is left to the main window to report.
    std::unique_ptr<kovara::ui::SingleInstance> instance;
    try {
        kovara::core::ensureUserDataFolder(userDataFolder);
        instance = std::make_unique<kovara::ui::SingleInstance>(kovara::ui::fromBytes(userDataFolder));
    } catch (const std::exception&) {
    }
    if (instance) {
        const kovara::ui::SingleInstance::Claimed claimed = instance->claim(std::chrono::seconds(5), commandLine.reference);
        switch (claimed) {
        case kovara::ui::SingleInstance::Claimed::First:
            break;
        case kovara::ui::SingleInstance::Claimed::HandedOver:
            return 0;
        case kovara::ui::SingleInstance::Claimed::Unreachable:
        case kovara::ui::SingleInstance::Claimed::ReadOnly: {
            // Kovara does not start: say why and what to do, on screen.
            const QString why = instance->message(claimed);
            std::fprintf(stderr, "Kovara: %s\n", qPrintable(why));
            dialogs.message(why, kovara::ui::Dialogs::Icon::Error);
            return 1;
        }
        case kovara::ui::SingleInstance::Claimed::Unguarded:
            std::fprintf(stderr, "Kovara: %s\n", qPrintable(instance->message(claimed)));
            break;
        }
    }

    kovara::ui::SplashScreen splash;
    splash.show();
    QApplication::processEvents();

    kovara::core::SystemClock clock;
    std::unique_ptr<kovara::ui::MainWindow> window;
    try {
        window = std::make_unique<kovara::ui::MainWindow>(programFolder, appDataFolder, dialogs, clock);
    } catch (const std::exception& e) {
        // A store that failed to open is never used: say why once and end.
        splash.close();
        dialogs.message(kovara::ui::fromBytes(e.what()), kovara::ui::Dialogs::Icon::Error);
        return 1;
    }
    dialogs.setParent(window.get());
    kovara::ui::closeOnTerminationSignals(window.get());
    if (instance) {
        instance->raiseOnRequest(window.get());
        // "kovara John 3:16" while Kovara runs opens the passage in the
        // running copy's window.
        QObject::connect(instance.get(), &kovara::ui::SingleInstance::referenceRequested, window.get(),
                         [w = window.get()](const QString& reference) { w->openBibleReference(reference); });
    }
    // Started at log-in by the autostart entry: out of the way unless there
    // is something to read.
    const bool atLogin = commandLine.atLogin;
    bool due = true;
    try {
        due = !kovara::core::dueReadings(window->planStore(), clock.today()).empty();
    } catch (const std::exception&) {
    }
    if (atLogin && !due)
        window->showMinimized();
    else
        window->show();
    if (!commandLine.reference.isEmpty())
        window->openBibleReference(commandLine.reference);
    splash.close();
    const int code = QApplication::exec();
    // From here on a later start waits for the lock, which is held until
    // the stores have been closed with the window.
    if (instance)
        instance->stopListening();
    window.reset();
    return code;
}
