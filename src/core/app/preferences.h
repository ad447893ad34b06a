#pragma once
// The user's preferences: display values and a few remembered values, read
// from settings.ini when created and written back by savePreferences and when
// destroyed. In between they change only in memory.
#include <cstdint>
#include <string>

namespace kovara::core {

class IniFile;

// A colour: 0x00BBGGRR (red in the lowest byte), or a window-system colour
// when the top byte is 0xFF (its index in the low byte).
using ColorValue = std::int32_t;

// The colours of the pickers' "Default" entries: black text on cream.
constexpr ColorValue kDefaultTextBackColor = 0xF0FBFF;
constexpr ColorValue kDefaultTextFontColor = 0;

class Preferences {
public:
    // Reads the ten keys from ini (not owned; must outlive this object).
    explicit Preferences(IniFile& ini);
    // Saves; a failure to write is swallowed here (a destructor must not
    // raise) - the shell calls savePreferences itself at shutdown so that the
    // error reaches the user.
    ~Preferences();

    // Writes the ten keys in order. Raises "Unable to write to %s".
    void savePreferences();

    bool paragraphMode = true;
    int splitPercent = 45;
    ColorValue textBackColor = kDefaultTextBackColor;
    ColorValue textFontColor = kDefaultTextFontColor;
    std::string textFontName = "Verdana";
    int textFontSize = 10;
    std::string lastBackupFile;
    std::string lastRestoreFile;
    int lastFaithsCheckbookRead = 0;
    bool offerImport1x = true;

private:
    IniFile& ini_;
};

} // namespace kovara::core
