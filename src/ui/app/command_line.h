#pragma once
// The program's command line: --help and --version answer and end without a
// display; an unknown option ends with the usage; a reference ("John 3:16")
// opens the Bible page there; --autostart marks a start by the log-in
// session's autostart entry.
#include <QString>
#include <QStringList>

#include <optional>

namespace kovara::ui {

struct CommandLine {
    // Set when the program ends at once: output goes to the standard output
    // when the code is 0 and to the standard error otherwise.
    std::optional<int> exitCode;
    QString output;
    bool atLogin = false;
    // The reference to open on the Bible page; empty for none.
    QString reference;
};

// Reads arguments (the program's name first). Needs no QCoreApplication: the
// usage names the program by the first argument.
CommandLine parseCommandLine(const QStringList& arguments);

} // namespace kovara::ui
