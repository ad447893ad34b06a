#include "core/app/preferences.h"

#include "core/settings/ini_file.h"

namespace kovara::core {
namespace {

const char* const kBibleDisplay = "Bible Display";
const char* const kPrayerTracker = "Prayer Tracker";
const char* const kGlobalDisplay = "Global Display";
const char* const kFiles = "Directories and Files";
const char* const kDevotional = "Devotional Info";
const char* const kMisc = "Misc";

} // namespace

Preferences::Preferences(IniFile& ini) : ini_(ini)
{
    // Same order as savePreferences; the member initialisers are the defaults.
    paragraphMode = ini_.readBool(kBibleDisplay, "ParagraphMode", paragraphMode);
    splitPercent = ini_.readInteger(kPrayerTracker, "SplitPercent", splitPercent);
    textBackColor = ini_.readInteger(kGlobalDisplay, "TextBackColor", textBackColor);
    textFontColor = ini_.readInteger(kGlobalDisplay, "TextFontColor", textFontColor);
    textFontName = ini_.readString(kGlobalDisplay, "TextFontName", textFontName);
    textFontSize = ini_.readInteger(kGlobalDisplay, "TextFontSize", textFontSize);
    lastBackupFile = ini_.readString(kFiles, "LastBackupFile", lastBackupFile);
    lastRestoreFile = ini_.readString(kFiles, "LastRestoreFile", lastRestoreFile);
    lastFaithsCheckbookRead = ini_.readInteger(kDevotional, "LastFaithsCheckbookRead", lastFaithsCheckbookRead);
    offerImport1x = ini_.readBool(kMisc, "OfferImport1x", offerImport1x);
}

Preferences::~Preferences()
{
    try {
        savePreferences();
    } catch (...) {
        // Nothing can be reported from here; see the header.
    }
}

void Preferences::savePreferences()
{
    // One write of the file for the ten keys, and none when it already holds
    // these values (the shell saves at shutdown, then the destructor saves the
    // same values): each write is flushed to disk, and the twenty-odd writes
    // of a shutdown kept the program alive for a second.
    IniFile::Batch batch(ini_);
    ini_.writeBool(kBibleDisplay, "ParagraphMode", paragraphMode);
    ini_.writeInteger(kPrayerTracker, "SplitPercent", splitPercent);
    ini_.writeInteger(kGlobalDisplay, "TextBackColor", textBackColor);
    ini_.writeInteger(kGlobalDisplay, "TextFontColor", textFontColor);
    ini_.writeString(kGlobalDisplay, "TextFontName", textFontName);
    ini_.writeInteger(kGlobalDisplay, "TextFontSize", textFontSize);
    ini_.writeString(kFiles, "LastBackupFile", lastBackupFile);
    ini_.writeString(kFiles, "LastRestoreFile", lastRestoreFile);
    ini_.writeInteger(kDevotional, "LastFaithsCheckbookRead", lastFaithsCheckbookRead);
    ini_.writeBool(kMisc, "OfferImport1x", offerImport1x);
    batch.commit();
}

} // namespace kovara::core
