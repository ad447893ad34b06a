#include "app/kova_prefs.h"

#include "app/ini_file.h"

namespace kovara {
namespace {

const char* const kBibleDisplay = "Bible Display";
const char* const kPrayerTracker = "Prayer Tracker";
const char* const kGlobalDisplay = "Global Display";
const char* const kFiles = "Directories and Files";
const char* const kDevotional = "Devotional Info";
const char* const kMisc = "Misc";

} // namespace

TKOVAPreferences::TKOVAPreferences(TIniFile& ini) : ini_(ini)
{
    // Same order as SavePreferences; the member initialisers are the defaults.
    ParagraphMode = ini_.ReadBool(kBibleDisplay, "ParagraphMode", ParagraphMode);
    SplitPercent = ini_.ReadInteger(kPrayerTracker, "SplitPercent", SplitPercent);
    TextBackColor = ini_.ReadInteger(kGlobalDisplay, "TextBackColor", TextBackColor);
    TextFontColor = ini_.ReadInteger(kGlobalDisplay, "TextFontColor", TextFontColor);
    TextFontName = ini_.ReadString(kGlobalDisplay, "TextFontName", TextFontName);
    TextFontSize = ini_.ReadInteger(kGlobalDisplay, "TextFontSize", TextFontSize);
    LastBackupFile = ini_.ReadString(kFiles, "LastBackupFile", LastBackupFile);
    LastRestoreFile = ini_.ReadString(kFiles, "LastRestoreFile", LastRestoreFile);
    LastFaithsCheckbookRead = ini_.ReadInteger(kDevotional, "LastFaithsCheckbookRead", LastFaithsCheckbookRead);
    OfferImport1x = ini_.ReadBool(kMisc, "OfferImport1x", OfferImport1x);
}

TKOVAPreferences::~TKOVAPreferences()
{
    try {
        SavePreferences();
    } catch (...) {
        // Nothing can be reported from here; see the header.
    }
}

void TKOVAPreferences::SavePreferences()
{
    ini_.WriteBool(kBibleDisplay, "ParagraphMode", ParagraphMode);
    ini_.WriteInteger(kPrayerTracker, "SplitPercent", SplitPercent);
    ini_.WriteInteger(kGlobalDisplay, "TextBackColor", TextBackColor);
    ini_.WriteInteger(kGlobalDisplay, "TextFontColor", TextFontColor);
    ini_.WriteString(kGlobalDisplay, "TextFontName", TextFontName);
    ini_.WriteInteger(kGlobalDisplay, "TextFontSize", TextFontSize);
    ini_.WriteString(kFiles, "LastBackupFile", LastBackupFile);
    ini_.WriteString(kFiles, "LastRestoreFile", LastRestoreFile);
    ini_.WriteInteger(kDevotional, "LastFaithsCheckbookRead", LastFaithsCheckbookRead);
    ini_.WriteBool(kMisc, "OfferImport1x", OfferImport1x);
}

} // namespace kovara
