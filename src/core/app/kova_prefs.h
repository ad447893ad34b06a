#pragma once
// The user's preferences: display values and a few remembered values, read
// from settings.ini when created and written back by SavePreferences and when
// destroyed. In between they change only in memory.
#include <cstdint>
#include <string>

namespace kovara {

class TIniFile;

// A colour: 0x00BBGGRR (red in the lowest byte), or a window-system colour
// when the top byte is 0xFF (its index in the low byte).
using TColor = std::int32_t;

class TKOVAPreferences {
public:
    // Reads the ten keys from ini (not owned; must outlive this object).
    explicit TKOVAPreferences(TIniFile& ini);
    // Saves; a failure to write is swallowed here (a destructor must not
    // raise) - the shell calls SavePreferences itself at shutdown so that the
    // error reaches the user.
    ~TKOVAPreferences();

    // Writes the ten keys in order. Raises "Unable to write to %s".
    void SavePreferences();

    bool ParagraphMode = true;
    int SplitPercent = 45;
    TColor TextBackColor = 15793151; // 0xF0FBFF, cream
    TColor TextFontColor = 0;
    std::string TextFontName = "Verdana";
    int TextFontSize = 10;
    std::string LastBackupFile;
    std::string LastRestoreFile;
    int LastFaithsCheckbookRead = 0;
    bool OfferImport1x = true;

private:
    TIniFile& ini_;
};

} // namespace kovara
