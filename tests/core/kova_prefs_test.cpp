#include "app/ini_file.h"
#include "app/kova_prefs.h"
#include "fixtures.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>

namespace kovara {
namespace {

std::string ReadFile(const std::string& name)
{
    std::ifstream in(name, std::ios::binary);
    std::ostringstream s;
    s << in.rdbuf();
    return s.str();
}

void WriteFile(const std::string& name, const std::string& text)
{
    std::ofstream(name, std::ios::binary) << text;
}

class PrefsTest : public ::testing::Test {
protected:
    test::TempDir dir;
    std::string path = dir.File("settings.ini");
    TIniFile ini{path};
};

TEST_F(PrefsTest, FirstRunGivesTheDefaults)
{
    TKOVAPreferences prefs(ini);
    EXPECT_TRUE(prefs.ParagraphMode);
    EXPECT_EQ(prefs.SplitPercent, 45);
    EXPECT_EQ(prefs.TextBackColor, 0xF0FBFF);
    EXPECT_EQ(prefs.TextFontColor, 0);
    EXPECT_EQ(prefs.TextFontName, "Verdana");
    EXPECT_EQ(prefs.TextFontSize, 10);
    EXPECT_EQ(prefs.LastBackupFile, "");
    EXPECT_EQ(prefs.LastRestoreFile, "");
    EXPECT_EQ(prefs.LastFaithsCheckbookRead, 0);
    EXPECT_TRUE(prefs.OfferImport1x);
    // Reading alone does not create the file.
    EXPECT_FALSE(std::filesystem::exists(path));
}

TEST_F(PrefsTest, SaveWritesEveryKeyInOrder)
{
    {
        TKOVAPreferences prefs(ini);
        prefs.OfferImport1x = false;
        prefs.SavePreferences();
    }
    EXPECT_EQ(ReadFile(path),
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

TEST_F(PrefsTest, ValuesSurviveARoundTrip)
{
    {
        TKOVAPreferences prefs(ini);
        prefs.ParagraphMode = false;
        prefs.SplitPercent = 60;
        prefs.TextBackColor = static_cast<TColor>(0xFF000005); // a system colour
        prefs.TextFontColor = 0x123456;
        prefs.TextFontName = "DejaVu Sans";
        prefs.TextFontSize = 14;
        prefs.LastBackupFile = "/home/u/my backup.kova2bak";
        prefs.LastRestoreFile = "/tmp/r.kova2bak";
        prefs.LastFaithsCheckbookRead = 366;
        prefs.OfferImport1x = false;
    } // the destructor saves
    EXPECT_NE(ReadFile(path).find("TextBackColor=-16777211\n"), std::string::npos);
    TKOVAPreferences prefs(ini);
    EXPECT_FALSE(prefs.ParagraphMode);
    EXPECT_EQ(prefs.SplitPercent, 60);
    EXPECT_EQ(prefs.TextBackColor, static_cast<TColor>(0xFF000005));
    EXPECT_EQ(prefs.TextFontColor, 0x123456);
    EXPECT_EQ(prefs.TextFontName, "DejaVu Sans");
    EXPECT_EQ(prefs.TextFontSize, 14);
    EXPECT_EQ(prefs.LastBackupFile, "/home/u/my backup.kova2bak");
    EXPECT_EQ(prefs.LastRestoreFile, "/tmp/r.kova2bak");
    EXPECT_EQ(prefs.LastFaithsCheckbookRead, 366);
    EXPECT_FALSE(prefs.OfferImport1x);
}

TEST_F(PrefsTest, StoredValuesAreReadLeniently)
{
    const struct {
        const char* size;   // stored TextFontSize
        int expectedSize;
        const char* para;   // stored ParagraphMode
        bool expectedPara;
    } cases[] = {
        {"0x10", 16, "1", true},
        {"$10", 16, "0", false},
        {"0X1a", 26, "2", true},
        {"  12  ", 12, "-1", true},
        {"-3", -3, "0x0", false},
        {"twelve", 10, "yes", true},  // not a number: the default
        {"12pt", 10, "", true},
        {"", 10, "0.5", true},
        {"99999999999", 10, "$", true},
    };
    for (const auto& c : cases) {
        WriteFile(path, std::string("[global display]\nTEXTFONTSIZE=") + c.size + "\n[Bible Display]\nParagraphMode=" +
                            c.para + "\n");
        TKOVAPreferences prefs(ini);
        EXPECT_EQ(prefs.TextFontSize, c.expectedSize) << c.size;
        EXPECT_EQ(prefs.ParagraphMode, c.expectedPara) << c.para;
    }
}

TEST_F(PrefsTest, WritesKeepEverythingElseInPlace)
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
    WriteFile(path, before);
    ini.WriteInteger("Global Display", "TextFontSize", 12);
    ini.WriteString("Main Window State", "Saved", "1");
    ini.WriteString("New Section", "Key", "a\nb");
    EXPECT_EQ(ReadFile(path), "; kept comment\r\n"
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
    EXPECT_EQ(ini.ReadString("Global Display", "Unknown", ""), "x=y");
    EXPECT_EQ(ini.ReadString("Global Display", "Missing", "dflt"), "dflt");
    EXPECT_EQ(ini.ReadString("No Such Section", "Left", "dflt"), "dflt");
    // Only the settings file itself is left in the folder.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()), {}), 1);
}

TEST_F(PrefsTest, AnUnwritableFileRaisesAndLeavesNoTrace)
{
    // settings.ini is a folder, and then lies in a folder that does not exist:
    // both fail even for a user whom permissions do not stop.
    std::filesystem::create_directory(path);
    for (const std::string& target : {path, dir.File("missing/settings.ini")}) {
        TIniFile bad(target);
        auto prefs = std::make_unique<TKOVAPreferences>(bad);
        EXPECT_EQ(prefs->TextFontSize, 10);
        EXPECT_EQ(test::MessageOf([&] { prefs->SavePreferences(); }), "Unable to write to " + target);
        EXPECT_NO_THROW(prefs.reset());
    }
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(dir.Path()), {}), 1);
}

} // namespace
} // namespace kovara
