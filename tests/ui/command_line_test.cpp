// What the command line asks for, before any window exists.
#include "ui/app/command_line.h"

#include <gtest/gtest.h>

namespace kovara::ui {
namespace {

TEST(CommandLineTest, OptionsAndReferences)
{
    struct Case {
        QStringList arguments; // after the program's name
        std::optional<int> exitCode;
        const char* output; // a part of it
        bool atLogin;
        const char* reference;
    } cases[] = {
        {{}, std::nullopt, "", false, ""},
        {{"--help"}, 0, "Usage: kovara [options] [reference]", false, ""},
        {{"-h"}, 0, "  -v, --version", false, ""},
        {{"--version"}, 0, "Kovara 2.", false, ""},
        {{"-v"}, 0, "Kovara 2.", false, ""},
        {{"--frobnicate"}, 2, "Usage: kovara", false, ""},
        {{"-x", "John 3:16"}, 2, "Unknown option 'x'", false, ""},
        {{"--autostart"}, std::nullopt, "", true, ""},
        {{"John 3:16"}, std::nullopt, "", false, "John 3:16"},
        {{"1", "Cor", "13"}, std::nullopt, "", false, "1 Cor 13"},
        {{"--", "-1 John"}, std::nullopt, "", false, "-1 John"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.arguments.join(QLatin1Char(' ')).toStdString());
        const CommandLine line = parseCommandLine(QStringList{QStringLiteral("/usr/bin/kovara")} + c.arguments);
        EXPECT_EQ(line.exitCode, c.exitCode);
        EXPECT_TRUE(line.output.contains(QString::fromUtf8(c.output))) << line.output.toStdString();
        EXPECT_EQ(line.atLogin, c.atLogin);
        EXPECT_EQ(line.reference.toStdString(), c.reference);
    }
}

} // namespace
} // namespace kovara::ui
