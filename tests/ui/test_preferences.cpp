#include "test_preferences.h"

#include "app/ini_file.h"
#include "fixtures.h"

#include <deque>

namespace kovara::ui::test {

std::unique_ptr<TKOVAPreferences> MakeTestPreferences()
{
    // The INI files must outlive the preferences objects, which save to them
    // when destroyed; they live in one folder for the whole test run.
    static kovara::test::TempDir folder;
    static std::deque<TIniFile> files;
    files.emplace_back(folder.File("settings" + std::to_string(files.size()) + ".ini"));
    return std::make_unique<TKOVAPreferences>(files.back());
}

} // namespace kovara::ui::test
