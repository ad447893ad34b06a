// settings.ini as the user (or another program) may have left it: the
// preferences are read from it, saved back, and must then read back as saved.
#include "app/ini_file.h"
#include "app/kova_prefs.h"
#include "base/exception.h"
#include "fuzz_support.h"

using namespace kovara;

namespace {
bool Same(const TKOVAPreferences& a, const TKOVAPreferences& b)
{
    return a.ParagraphMode == b.ParagraphMode && a.SplitPercent == b.SplitPercent &&
           a.TextBackColor == b.TextBackColor && a.TextFontColor == b.TextFontColor &&
           a.TextFontName == b.TextFontName && a.TextFontSize == b.TextFontSize &&
           a.LastBackupFile == b.LastBackupFile && a.LastRestoreFile == b.LastRestoreFile &&
           a.LastFaithsCheckbookRead == b.LastFaithsCheckbookRead && a.OfferImport1x == b.OfferImport1x;
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string path = fuzz::ScratchFolder() + "settings.ini";
    fuzz::WriteFile(path, data, size);
    TIniFile ini(path);
    {
        TKOVAPreferences first(ini);
        first.SavePreferences();
        // A save normalises what it writes (line breaks in values); after
        // that, what was saved is what is read.
        TKOVAPreferences second(ini);
        second.SavePreferences();
        TKOVAPreferences third(ini);
        fuzz::Expect(Same(second, third), "preferences changed between a save and the next read");
    }
    // A key that is not there yet is added and reads back.
    ini.WriteString("Fuzz Section", "Added", "value");
    fuzz::Expect(ini.ReadString("Fuzz Section", "Added", "") == "value", "an added key does not read back");
    fuzz::Expect(ini.ValueExists("fuzz section", "ADDED"), "names must match without regard to case");
    return 0;
}
