#pragma once
// The Bibles imported from the SWORD library into the user data folder
// (<data>/bibles/<module>.kova2): where they lie, which there are, and
// opening one as a BibleStore. Reads only Kovara's own files, never libsword,
// so the pages can offer the versions without loading the plug-in.
#include "core/sword/sword_backend.h"

#include <memory>
#include <string>
#include <vector>

namespace kovara::core {

class BibleStore;

struct ImportedBible {
    std::string file;
    SwordModuleInfo module;
};

// <userDataFolder>/bibles, without a trailing separator.
std::string importedBiblesFolder(const std::string& userDataFolder);

// The file the Bible of module is (or would be) imported to.
std::string importedBibleFile(const std::string& folder, const std::string& module);

// Every readable imported Bible of folder, ordered by abbreviation and
// description; nothing when the folder is missing.
std::vector<ImportedBible> importedBibles(const std::string& folder);

// Opens an imported Bible under its description and abbreviation. Raises
// what BibleStore raises for a missing or damaged file.
std::unique_ptr<BibleStore> openImportedBible(const std::string& file);

} // namespace kovara::core
