#pragma once
// Imports a Bible of the SWORD library into a Kovara Bible file: the schema of
// the shipped Bible (bookInfo, bibleText with the KJV's verse numbers, so a
// plan day's verse range means the same passage in every version) and a
// full-text index, so reading, search and plans use the same code and speed.
#include "core/sword/sword_backend.h"

#include <functional>
#include <optional>
#include <string>

namespace kovara::core {

struct SwordImportResult {
    bool cancelled = false;
    int verses = 0; // verses with text written
};

// Writes the module's text to fileName: to a temporary file in the same
// folder first, renamed over fileName only when complete, so a cancelled,
// failed or killed import leaves any earlier file as it was and no partial
// one. progress(done, total) is called now and then; returning false cancels.
SwordImportResult importSwordBible(SwordBackend& backend, const SwordModuleInfo& module, const std::string& fileName,
                                   const std::function<bool(int, int)>& progress = {});

// The module a Bible file was imported from, when it was (its name, version,
// description, language and versification); nothing for the shipped Bible or
// a file that cannot be read.
std::optional<SwordModuleInfo> importedModule(const std::string& fileName);

// Whether fileName has to be (re)made for module: missing, unreadable, from
// another module, or from another version of it.
bool needsImport(const std::string& fileName, const SwordModuleInfo& module);

} // namespace kovara::core
