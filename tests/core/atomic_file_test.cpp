#include "core/base/atomic_file.h"
#include "fixtures.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <algorithm>
#include <fstream>
#include <sstream>
#include <sys/stat.h>

namespace kovara::core {
namespace {

namespace fs = std::filesystem;

std::string contents(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

void put(const std::string& path, const std::string& text)
{
    std::ofstream(path, std::ios::binary) << text;
}

// The names in folder, so that a test sees any temporary file left behind.
std::vector<std::string> entries(const std::string& folder)
{
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

TEST(AtomicFileTest, TheTargetKeepsItsOldContentUntilCommitAndNothingIsLeftBehind)
{
    test::TempDir dir;
    const std::string target = dir.file("journal.pdf");
    put(target, "old");
    {
        AtomicFile file(target);
        ASSERT_TRUE(file.ok()) << file.error();
        EXPECT_EQ(fs::path(file.tempPath()).parent_path(), fs::path(target).parent_path());
        EXPECT_EQ(fs::path(file.tempPath()).extension(), ".pdf") << "writers that choose a format by suffix";
        ASSERT_TRUE(file.write("new, half"));
        EXPECT_EQ(contents(target), "old") << "a kill now leaves the earlier file";
        // Dropped without commit: cancelled.
    }
    EXPECT_EQ(contents(target), "old");
    EXPECT_EQ(entries(dir.folder()), std::vector<std::string>{"journal.pdf"});

    AtomicFile file(target);
    ASSERT_TRUE(file.write("new"));
    ASSERT_TRUE(file.commit()) << file.error();
    EXPECT_EQ(contents(target), "new");
    EXPECT_EQ(entries(dir.folder()), std::vector<std::string>{"journal.pdf"});
}

TEST(AtomicFileTest, ALinkIsReplacedByAFileOfItsOwnAndAFileKeepsItsMode)
{
    test::TempDir dir;
    const std::string elsewhere = dir.file("elsewhere.txt");
    put(elsewhere, "not ours");
    const std::string link = dir.file("settings.ini");
    fs::create_symlink(elsewhere, link);
    ASSERT_TRUE(writeFileAtomically(link, "[Section]\n"));
    EXPECT_FALSE(fs::is_symlink(link));
    EXPECT_EQ(contents(link), "[Section]\n");
    EXPECT_EQ(contents(elsewhere), "not ours");

    const std::string privateFile = dir.file("private.txt");
    put(privateFile, "x");
    fs::permissions(privateFile, fs::perms::owner_read | fs::perms::owner_write);
    ASSERT_TRUE(writeFileAtomically(privateFile, "y"));
    struct stat st {};
    ASSERT_EQ(::stat(privateFile.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 07777, 0600u);
}

TEST(AtomicFileTest, FailuresSayWhyAndLeaveEverythingAsItWas)
{
    test::TempDir dir;
    const std::string folder = dir.file("folder");
    fs::create_directory(folder);
    std::string error;
    EXPECT_FALSE(writeFileAtomically(folder, "x", &error));
    EXPECT_FALSE(error.empty());
    EXPECT_TRUE(fs::is_directory(folder));

    EXPECT_FALSE(writeFileAtomically(dir.file("missing/file.txt"), "x", &error));
    EXPECT_FALSE(error.empty());

    if (::geteuid() != 0) {
        const std::string readOnly = dir.file("ro");
        fs::create_directory(readOnly);
        put(readOnly + "/a.txt", "old");
        fs::permissions(readOnly, fs::perms::owner_read | fs::perms::owner_exec);
        EXPECT_FALSE(writeFileAtomically(readOnly + "/a.txt", "new", &error));
        EXPECT_EQ(contents(readOnly + "/a.txt"), "old");
        fs::permissions(readOnly, fs::perms::owner_all);
        EXPECT_EQ(entries(readOnly), std::vector<std::string>{"a.txt"});
    }
}

} // namespace
} // namespace kovara::core
