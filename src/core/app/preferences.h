#pragma once
// The user's preferences: display values and a few remembered values, read
// from settings.ini when created and written back by savePreferences and when
// destroyed. In between they change only in memory.
#include "core/settings/settings_keys.h"

#include <cstdint>
#include <string>

namespace kovara::core {

class IniFile;

// A colour: 0x00BBGGRR (red in the lowest byte), or a window-system colour
// when the top byte is 0xFF (its index in the low byte).
using ColorValue = std::int32_t;

// The colours of the pickers' "Default" entries: black text on cream.
constexpr ColorValue kDefaultTextBackColor = settings::kTextBackColor.fallback;
constexpr ColorValue kDefaultTextFontColor = settings::kTextFontColor.fallback;

class Preferences {
public:
    // Reads the eleven keys from ini (not owned; must outlive this object).
    explicit Preferences(IniFile& ini);
    // Saves; a failure to write is swallowed here (a destructor must not
    // raise) - the shell calls savePreferences itself at shutdown so that the
    // error reaches the user.
    ~Preferences();

    // Writes the eleven keys in order. Raises "Unable to write to %s".
    void savePreferences();

    // The defaults are the settings' (core/settings/settings_keys.h).
    bool paragraphMode = settings::kParagraphMode.fallback;
    int splitPercent = settings::kSplitPercent.fallback;
    ColorValue textBackColor = kDefaultTextBackColor;
    ColorValue textFontColor = kDefaultTextFontColor;
    std::string textFontName = settings::kTextFontName.fallback;
    int textFontSize = settings::kTextFontSize.fallback;
    int textZoom = settings::kTextZoom.fallback; // the passage views' zoom, in percent
    std::string lastBackupFile = settings::kLastBackupFile.fallback;
    std::string lastRestoreFile = settings::kLastRestoreFile.fallback;
    int lastFaithsCheckbookRead = settings::kLastFaithsCheckbookRead.fallback;
    bool offerImport1x = settings::kOfferImport1x.fallback;

private:
    IniFile& ini_;
};

} // namespace kovara::core
