#pragma once
#include <string>

namespace kovara::core {

// The platform's path separator, as folders are always held with one at the end.
constexpr char kPathSeparator = '/';

// The folder of the executable, with a trailing separator.
std::string programFolderOf(const std::string& executablePath);

// The user data folder: the per-user application-data folder followed by
// "Kovara 2" when the platform reports one that is not blank, otherwise the
// folder "User Data" inside the program folder. Always with a trailing
// separator. appDataFolder comes without a trailing separator.
std::string userDataFolderFor(const std::string& appDataFolder, const std::string& programFolder);

// The folder of the previous major version's data: the per-user
// application-data folder followed by "Kovara", with a trailing separator.
std::string version1FolderFor(const std::string& appDataFolder);

// Creates the folder with every missing parent. Raises "Unable to create user
// data folder \"%s\"" when it still does not exist afterwards.
void ensureUserDataFolder(const std::string& folder);

} // namespace kovara::core
