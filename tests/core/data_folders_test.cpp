#include "core/settings/data_folders.h"
#include "fixtures.h"

#include <gtest/gtest.h>

#include <fstream>

namespace kovara::core {
namespace {

TEST(DataFoldersTest, UserDataFolderFromThePlatformAnswer)
{
    const struct {
        const char* appData;
        const char* folder;
    } cases[] = {
        {"/home/u/.local/share", "/home/u/.local/share/Kovara 2/"},
        {" /odd ", " /odd /Kovara 2/"}, // used as returned, untrimmed
        {"", "/opt/kovara/User Data/"},
        {"  \t", "/opt/kovara/User Data/"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(userDataFolderFor(c.appData, "/opt/kovara/"), c.folder) << '"' << c.appData << '"';
    EXPECT_EQ(programFolderOf("/opt/kovara/kovara"), "/opt/kovara/");
    EXPECT_EQ(version1FolderFor("/home/u/.local/share"), "/home/u/.local/share/Kovara/");
}

TEST(DataFoldersTest, ContentFolderInstalledOrBesideTheExecutable)
{
    namespace fs = std::filesystem;
    test::TempDir dir;
    const std::string root = dir.folder();
    const auto bible = [&](const std::string& folder) {
        fs::create_directories(root + folder);
        std::ofstream(root + folder + "bible.kova2") << "x";
    };
    bible("usr/share/kovara/");  // an installed tree
    bible("build/");             // a build folder
    bible("both/bin/");          // content in both places: the installed copy wins
    bible("both/share/kovara/");
    fs::create_directories(root + "empty/bin");
    fs::create_directories(root + "loose");

    const struct {
        const char* exeFolder;
        const char* expected;
    } cases[] = {
        {"usr/bin/", "usr/share/kovara/"},
        {"build/", "build/"},
        {"both/bin/", "both/share/kovara/"},
        {"empty/bin/", "empty/share/kovara/"}, // nothing there: name where a package puts it
        {"loose/", "loose/"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(contentFolderFor(root + c.exeFolder, "../share/kovara"), root + c.expected) << c.exeFolder;
}

TEST(DataFoldersTest, CreatesMissingParentsAndReportsFailure)
{
    test::TempDir dir;
    const std::string folder = dir.folder() + "a/b/Kovara 2/";
    ensureUserDataFolder(folder);
    EXPECT_TRUE(std::filesystem::is_directory(folder));
    ensureUserDataFolder(folder); // an existing folder is used as it is

    // A file where a parent folder should be stops even root.
    std::ofstream(dir.file("c")) << "not a folder";
    const std::string blocked = dir.folder() + "c/Kovara 2/";
    EXPECT_EQ(test::messageOf([&] { ensureUserDataFolder(blocked); }),
              "Unable to create user data folder \"" + blocked + "\"");
}

} // namespace
} // namespace kovara::core
