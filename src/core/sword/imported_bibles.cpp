#include "core/sword/imported_bibles.h"

#include "core/content/bible_store.h"
#include "core/sword/sword_import.h"

#include <algorithm>
#include <filesystem>
#include <optional>
#include <tuple>

namespace kovara::core {

std::string importedBiblesFolder(const std::string& userDataFolder)
{
    return (std::filesystem::path(userDataFolder) / "bibles").string();
}

std::string importedBibleFile(const std::string& folder, const std::string& module)
{
    return (std::filesystem::path(folder) / (module + ".kova2")).string();
}

std::vector<ImportedBible> importedBibles(const std::string& folder)
{
    std::vector<ImportedBible> found;
    std::error_code error;
    if (folder.empty())
        return found;
    for (const auto& entry : std::filesystem::directory_iterator(folder, error))
        if (entry.path().extension() == ".kova2")
            if (std::optional<SwordModuleInfo> info = importedModule(entry.path().string()))
                found.push_back({entry.path().string(), std::move(*info)});
    std::sort(found.begin(), found.end(), [](const ImportedBible& a, const ImportedBible& b) {
        return std::tie(a.module.abbreviation, a.module.description, a.file) <
               std::tie(b.module.abbreviation, b.module.description, b.file);
    });
    return found;
}

std::unique_ptr<BibleStore> openImportedBible(const std::string& file)
{
    const std::optional<SwordModuleInfo> info = importedModule(file);
    return std::make_unique<BibleStore>(file, info ? info->description : file, info ? info->abbreviation : file);
}

} // namespace kovara::core
