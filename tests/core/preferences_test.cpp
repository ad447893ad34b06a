#include "core/settings/ini_file.h"
#include "core/app/preferences.h"
#include "fixtures.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>
#include <sys/stat.h>

namespace kovara::core {
namespace {

std::string readFile(const std::string& name)
{
    std::ifstream in(name, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

void writeFile(const std::string& name, const std::string& text)
{
    std::ofstream(name, std::ios::binary) << text;
}

class PreferencesTest : public ::testing::Test {
protected:
    test::TempDir dir;
    std::string path = dir.file("settings.ini");
    IniFile ini{path};
};

TEST_F(PreferencesTest, FirstRunGivesTheDefaults)
{
    Preferences prefs(ini);
    EXPECT_TRUE(prefs.paragraphMode);
    EXPECT_EQ(prefs.splitPercent, 45);
    EXPECT_EQ(prefs.textBackColor, 0xF0FBFF);
    EXPECT_EQ(prefs.textFontColor, 0);
    EXPECT_EQ(prefs.textFontName, "Verdana");
    EXPECT_EQ(prefs.textFontSize, 10);
    EXPECT_EQ(prefs.textZoom, 100);
    EXPECT_EQ(prefs.lastBackupFile, "");
    EXPECT_EQ(prefs.lastRestoreFile, "");
    EXPECT_EQ(prefs.lastFaithsCheckbookRead, 0);
    EXPECT_TRUE(prefs.offerImport1x);
    // Reading alone does not create the file.
    EXPECT_FALSE(std::filesystem::exists(path));
}

TEST_F(PreferencesTest, SaveWritesEveryKeyInOrder)
{
    {
        Preferences prefs(ini);
        prefs.offerImport1x = false;
        prefs.savePreferences();
    }
    EXPECT_EQ(readFile(path),
              "[Bible Display]\n"
              "ParagraphMode=1\n"
              "\n"
              "[Prayer Tracker]\n"
              "SplitPercent=45\n"
              "\n"
              "[Global Display]\n"
              "TextBackColor=15793151\n"
              "TextFontColor=0\n"
              "TextFontName=Verdana\n"
              "TextFontSize=10\n"
              "TextZoom=100\n"
              "\n"
              "[Directories and Files]\n"
              "LastBackupFile=\n"
              "LastRestoreFile=\n"
              "\n"
              "[Devotional Info]\n"
              "LastFaithsCheckbookRead=0\n"
              "\n"
              "[Misc]\n"
              "OfferImport1x=0\n");
}

TEST_F(PreferencesTest, ValuesSurviveARoundTrip)
{
    {
        Preferences prefs(ini);
        prefs.paragraphMode = false;
        prefs.splitPercent = 60;
        prefs.textBackColor = static_cast<ColorValue>(0xFF000005); // a system colour
        prefs.textFontColor = 0x123456;
        prefs.textFontName = "DejaVu Sans";
        prefs.textFontSize = 14;
        prefs.textZoom = 130;
        prefs.lastBackupFile = "/home/u/my backup.kova2bak";
        prefs.lastRestoreFile = "/tmp/r.kova2bak";
        prefs.lastFaithsCheckbookRead = 366;
        prefs.offerImport1x = false;
    } // the destructor saves
    EXPECT_NE(readFile(path).find("TextBackColor=-16777211\n"), std::string::npos);
    Preferences prefs(ini);
    EXPECT_FALSE(prefs.paragraphMode);
    EXPECT_EQ(prefs.splitPercent, 60);
    EXPECT_EQ(prefs.textBackColor, static_cast<ColorValue>(0xFF000005));
    EXPECT_EQ(prefs.textFontColor, 0x123456);
    EXPECT_EQ(prefs.textFontName, "DejaVu Sans");
    EXPECT_EQ(prefs.textFontSize, 14);
    EXPECT_EQ(prefs.textZoom, 130);
    EXPECT_EQ(prefs.lastBackupFile, "/home/u/my backup.kova2bak");
    EXPECT_EQ(prefs.lastRestoreFile, "/tmp/r.kova2bak");
    EXPECT_EQ(prefs.lastFaithsCheckbookRead, 366);
    EXPECT_FALSE(prefs.offerImport1x);
}

TEST_F(PreferencesTest, StoredValuesAreReadLeniently)
{
    const struct {
        const char* size;   // stored textFontSize
        int expectedSize;
        const char* para;   // stored paragraphMode
        bool expectedPara;
    } cases[] = {
        {"0x10", 16, "1", true},
        {"$10", 16, "0", false},
        {"0X1a", 25, "2", true}, // beyond the sizes offered: the largest
        {"  12  ", 12, "-1", true},
        {"-3", 5, "0x0", false},  // below them: the smallest
        {"2147483647", 25, "1", true},
        {"twelve", 10, "yes", true},  // not a number: the default
        {"12pt", 10, "", true},
        {"", 10, "0.5", true},
        {"99999999999", 10, "$", true},
    };
    for (const auto& c : cases) {
        writeFile(path, std::string("[global display]\nTEXTFONTSIZE=") + c.size + "\n[Bible Display]\nParagraphMode=" +
                            c.para + "\n");
        Preferences prefs(ini);
        EXPECT_EQ(prefs.textFontSize, c.expectedSize) << c.size;
        EXPECT_EQ(prefs.paragraphMode, c.expectedPara) << c.para;
    }
}

TEST_F(PreferencesTest, WritesKeepEverythingElseInPlace)
{
    const std::string before = "; kept comment\r\n"
                               "[Main Window State]\r\n"
                               "Left=10\r\n"
                               "Top=20\r\n"
                               "\r\n"
                               "[Global Display]\r\n"
                               "Unknown=x=y\r\n"
                               "TextFontSize=9\r\n"
                               "\r\n"
                               "[Custom Colors]\r\n"
                               "ColorA=FFFFFF\r\n";
    writeFile(path, before);
    ini.writeInteger("Global Display", "TextFontSize", 12);
    ini.writeString("Main Window State", "Saved", "1");
    ini.writeString("New Section", "Key", "a\nb");
    EXPECT_EQ(readFile(path), "; kept comment\r\n"
                              "[Main Window State]\r\n"
                              "Left=10\r\n"
                              "Top=20\r\n"
                              "Saved=1\r\n"
                              "\r\n"
                              "[Global Display]\r\n"
                              "Unknown=x=y\r\n"
                              "TextFontSize=12\r\n"
                              "\r\n"
                              "[Custom Colors]\r\n"
                              "ColorA=FFFFFF\r\n"
                              "\r\n"
                              "[New Section]\r\n"
                              "Key=a b\r\n");
    EXPECT_EQ(ini.readString("Global Display", "Unknown", ""), "x=y");
    EXPECT_EQ(ini.readString("Global Display", "Missing", "dflt"), "dflt");
    EXPECT_EQ(ini.readString("No Such Section", "Left", "dflt"), "dflt");
    // Only the settings file itself is left in the folder.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);
}

// Each replacement of the file is a new file renamed over the old one, so its
// inode number tells whether it was written.
ino_t inodeOf(const std::string& name)
{
    struct stat st {};
    return ::stat(name.c_str(), &st) == 0 ? st.st_ino : 0;
}

// Every write is flushed to disk: saving is one write, and saving the same
// values again (the shutdown right after the shell's own save) writes nothing.
TEST_F(PreferencesTest, SavingWritesTheFileOnceAndNotAgainWhenUnchanged)
{
    writeFile(path, "[Misc]\nOther=1\n");
    auto prefs = std::make_unique<Preferences>(ini);
    prefs->textFontSize = 14;
    {
        IniFile::Batch batch(ini);
        prefs->savePreferences(); // a batch inside the caller's
        ini.writeString("Main Window State", "Left", "7");
        EXPECT_EQ(readFile(path), "[Misc]\nOther=1\n"); // nothing written yet
        EXPECT_EQ(ini.readInteger("Global Display", "TextFontSize", 0), 14); // but read back
        batch.commit();
    }
    const ino_t saved = inodeOf(path);
    EXPECT_EQ(IniFile(path).readString("Main Window State", "Left", ""), "7");
    EXPECT_EQ(IniFile(path).readInteger("Global Display", "TextFontSize", 0), 14);

    // The same values again, as at shutdown: the file is not rewritten.
    prefs->savePreferences();
    prefs.reset();
    EXPECT_EQ(inodeOf(path), saved);

    // Values changed since they were read or saved: the destructor writes them.
    for (const bool saveFirst : {true, false}) {
        prefs = std::make_unique<Preferences>(ini);
        if (saveFirst)
            prefs->savePreferences();
        prefs->lastFaithsCheckbookRead = saveFirst ? 200 : 201;
        const ino_t before = inodeOf(path);
        prefs.reset();
        EXPECT_NE(inodeOf(path), before);
        EXPECT_EQ(IniFile(path).readInteger("Devotional Info", "LastFaithsCheckbookRead", 0), saveFirst ? 200 : 201);
    }
}

TEST_F(PreferencesTest, AnUnwritableFileRaisesAndLeavesNoTrace)
{
    // settings.ini is a folder, and then lies in a folder that does not exist:
    // both fail even for a user whom permissions do not stop.
    std::filesystem::create_directory(path);
    for (const std::string& target : {path, dir.file("missing/settings.ini")}) {
        IniFile bad(target);
        auto prefs = std::make_unique<Preferences>(bad);
        EXPECT_EQ(prefs->textFontSize, 10);
        EXPECT_EQ(test::messageOf([&] { prefs->savePreferences(); }), "Unable to write to " + target);
        EXPECT_NO_THROW(prefs.reset());
    }
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.path()), {}), 1);
}

// settings.ini as a symbolic link to a file of someone else's: the settings
// go to a file of their own by that name, and the other file is untouched
// (as root, a link to a system file would otherwise be written to).
TEST_F(PreferencesTest, ALinkAtTheSettingsFileIsReplacedNotWrittenThrough)
{
    const std::string other = dir.file("not-settings.txt");
    writeFile(other, "root:x:0:0:root:/root:/bin/bash\n");
    std::filesystem::create_symlink(other, path);
    ini.writeString("Global Display", "TextFontSize", "14");
    EXPECT_FALSE(std::filesystem::is_symlink(path));
    EXPECT_EQ(IniFile(path).readInteger("Global Display", "TextFontSize", 0), 14);
    std::ifstream in(other, std::ios::binary);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), "root:x:0:0:root:/root:/bin/bash\n");
}

} // namespace
} // namespace kovara::core
