#include "test_preferences.h"
#include "ui/base/core_names.h"

#include "core/settings/ini_file.h"
#include "fixtures.h"

#include <deque>

namespace kovara::ui::test {

std::unique_ptr<Preferences> makeTestPreferences()
{
    // The INI files must outlive the preferences objects, which save to them
    // when destroyed; they live in one folder for the whole test run.
    static kovara::test::TempDir folder;
    static std::deque<IniFile> files;
    files.emplace_back(folder.file("settings" + std::to_string(files.size()) + ".ini"));
    return std::make_unique<Preferences>(files.back());
}

} // namespace kovara::ui::test
