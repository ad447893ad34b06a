// settings.ini as the user (or another program) may have left it: the
// preferences are read from it, saved back, and must then read back as saved.
#include "core/settings/ini_file.h"
#include "core/app/preferences.h"
#include "core/base/exception.h"
#include "fuzz_support.h"

using namespace kovara::core;

namespace {
bool same(const Preferences& a, const Preferences& b)
{
    return a.paragraphMode == b.paragraphMode && a.splitPercent == b.splitPercent &&
           a.textBackColor == b.textBackColor && a.textFontColor == b.textFontColor &&
           a.textFontName == b.textFontName && a.textFontSize == b.textFontSize &&
           a.lastBackupFile == b.lastBackupFile && a.lastRestoreFile == b.lastRestoreFile &&
           a.lastFaithsCheckbookRead == b.lastFaithsCheckbookRead && a.offerImport1x == b.offerImport1x;
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    const std::string path = fuzz::scratchFolder() + "settings.ini";
    fuzz::writeFile(path, data, size);
    IniFile ini(path);
    {
        Preferences first(ini);
        first.savePreferences();
        // A save normalises what it writes (line breaks in values); after
        // that, what was saved is what is read.
        Preferences second(ini);
        second.savePreferences();
        Preferences third(ini);
        fuzz::expect(same(second, third), "preferences changed between a save and the next read");
    }
    // A key that is not there yet is added and reads back.
    ini.writeString("Fuzz Section", "Added", "value");
    fuzz::expect(ini.readString("Fuzz Section", "Added", "") == "value", "an added key does not read back");
    fuzz::expect(ini.valueExists("fuzz section", "ADDED"), "names must match without regard to case");
    return 0;
}
