#pragma once
// Tests for what is on disk at a path. Neither throws: an unreadable folder
// counts as nothing there.
#include <string>

namespace kovara::core {

// True when a regular file is at path (a symbolic link to one counts).
bool fileExists(const std::string& path);

// True when anything at all is at path - a file, a folder, or a symbolic link
// even when it leads nowhere. For renames and removals, which act on the
// entry itself.
bool pathExists(const std::string& path);

} // namespace kovara::core
