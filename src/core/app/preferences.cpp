#include "core/app/preferences.h"

#include "core/settings/ini_file.h"

namespace kovara::core {

Preferences::Preferences(IniFile& ini) : ini_(ini)
{
    // Same order as savePreferences.
    paragraphMode = settings::kParagraphMode.read(ini_);
    splitPercent = settings::kSplitPercent.read(ini_);
    textBackColor = settings::kTextBackColor.read(ini_);
    textFontColor = settings::kTextFontColor.read(ini_);
    textFontName = settings::kTextFontName.read(ini_);
    textFontSize = settings::kTextFontSize.read(ini_);
    textZoom = settings::kTextZoom.read(ini_);
    lastBackupFile = settings::kLastBackupFile.read(ini_);
    lastRestoreFile = settings::kLastRestoreFile.read(ini_);
    lastFaithsCheckbookRead = settings::kLastFaithsCheckbookRead.read(ini_);
    offerImport1x = settings::kOfferImport1x.read(ini_);
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
    // One write of the file for the eleven keys, and none when it already holds
    // these values (the shell saves at shutdown, then the destructor saves the
    // same values): each write is flushed to disk, and the twenty-odd writes
    // of a shutdown kept the program alive for a second.
    IniFile::Batch batch(ini_);
    settings::kParagraphMode.write(ini_, paragraphMode);
    settings::kSplitPercent.write(ini_, splitPercent);
    settings::kTextBackColor.write(ini_, textBackColor);
    settings::kTextFontColor.write(ini_, textFontColor);
    settings::kTextFontName.write(ini_, textFontName);
    settings::kTextFontSize.write(ini_, textFontSize);
    settings::kTextZoom.write(ini_, textZoom);
    settings::kLastBackupFile.write(ini_, lastBackupFile);
    settings::kLastRestoreFile.write(ini_, lastRestoreFile);
    settings::kLastFaithsCheckbookRead.write(ini_, lastFaithsCheckbookRead);
    settings::kOfferImport1x.write(ini_, offerImport1x);
    batch.commit();
}

} // namespace kovara::core
