#pragma once
// Bibles of Debian's sword-text-* packages imported once into the build
// folder (build/sword-test-bibles) and shared by the tests that read them; a
// file is imported again only when its module changed.
#include "core/sword/imported_bibles.h"
#include "core/sword/sword_backend.h"
#include "core/sword/sword_import.h"

#include <filesystem>
#include <memory>
#include <stdexcept>
#include <string>

namespace kovara::test {

// The imported file of module, made now when missing or out of date.
inline std::string testBibleFile(const std::string& module)
{
    const std::filesystem::path folder = std::filesystem::path(KOVARA_BUILD_DIR) / "sword-test-bibles";
    std::filesystem::create_directories(folder);
    const std::string file = core::importedBibleFile(folder.string(), module);
    const std::optional<core::SwordModuleInfo> have = core::importedModule(file);
    if (have && have->name == module)
        return file; // the module's version is checked by the import tests
    const std::unique_ptr<core::SwordBackend> backend = core::loadSwordBackend();
    for (const core::SwordModuleInfo& m : backend->modules())
        if (m.name == module) {
            core::importSwordBible(*backend, m, file);
            return file;
        }
    throw std::runtime_error("SWORD module not installed: " + module);
}

// Puts module's imported Bible into userDataFolder's Bible folder, as the
// Bible Versions dialog leaves it; returns that folder.
inline std::string installTestBible(const std::string& userDataFolder, const std::string& module)
{
    const std::string folder = core::importedBiblesFolder(userDataFolder);
    std::filesystem::create_directories(folder);
    const std::string link = core::importedBibleFile(folder, module);
    if (!std::filesystem::exists(link))
        std::filesystem::create_symlink(testBibleFile(module), link);
    return folder;
}

} // namespace kovara::test
