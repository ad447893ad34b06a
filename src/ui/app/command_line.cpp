#include "ui/app/command_line.h"

#include "core/plans/reading_reminder.h"
#include "core/settings/version.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFileInfo>

namespace kovara::ui {

namespace {

QString tr(const char* text)
{
    return QCoreApplication::translate("kovara::ui::CommandLine", text);
}

} // namespace

CommandLine parseCommandLine(const QStringList& arguments)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(tr("Kovara: Bible reading plans, a daily devotional and a prayer journal."));
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")}, tr("Shows this help and ends."));
    const QCommandLineOption version({QStringLiteral("v"), QStringLiteral("version")},
                                     tr("Shows the version and ends."));
    // Written by the autostart entry; not for people, so not in the help.
    QCommandLineOption autostart(QString::fromLatin1(core::kAutostartArgument).mid(2));
    autostart.setFlags(QCommandLineOption::HiddenFromHelp);
    parser.addOption(help);
    parser.addOption(version);
    parser.addOption(autostart);
    parser.addPositionalArgument(QStringLiteral("reference"),
                                 tr("A Bible reference to open, such as \"John 3:16\" or \"Gen 1\"."),
                                 QStringLiteral("[reference]"));

    const QString program =
        arguments.isEmpty() ? QStringLiteral("kovara") : QFileInfo(arguments.constFirst()).fileName();
    // Qt's own help text names the program through the application object,
    // which does not exist yet: the usage line is written here instead.
    const auto usage = [&] {
        QString text = tr("Usage: %1 [options] [reference]").arg(program) + QLatin1Char('\n');
        text += parser.applicationDescription() + QLatin1String("\n\n");
        text += tr("Options:") + QLatin1Char('\n');
        text += QLatin1String("  -h, --help      ") + help.description() + QLatin1Char('\n');
        text += QLatin1String("  -v, --version   ") + version.description() + QLatin1String("\n\n");
        text += tr("Arguments:") + QLatin1Char('\n');
        text += QLatin1String("  reference       ") +
                tr("A Bible reference to open, such as \"John 3:16\" or \"Gen 1\".") + QLatin1Char('\n');
        return text;
    };

    CommandLine result;
    if (!parser.parse(arguments)) {
        result.exitCode = 2;
        result.output = parser.errorText() + QLatin1String("\n\n") + usage();
        return result;
    }
    if (parser.isSet(help)) {
        result.exitCode = 0;
        result.output = usage();
        return result;
    }
    if (parser.isSet(version)) {
        result.exitCode = 0;
        result.output = QStringLiteral("Kovara %1\n").arg(QString::fromStdString(core::fileVersionText()));
        return result;
    }
    result.atLogin = parser.isSet(autostart);
    // "John 3:16" may come as one argument or as several words.
    result.reference = parser.positionalArguments().join(QLatin1Char(' ')).trimmed();
    return result;
}

} // namespace kovara::ui
