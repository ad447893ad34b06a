#pragma once
#include <string>

namespace kovara::core {

// The platform's path separator, as folders are always held with one at the end.
constexpr char kPathSeparator = '/';

// The folder of the executable, with a trailing separator.
std::string programFolderOf(const std::string& executablePath);

// The program folder: where the shipped content (bible.kova2, devotional.kova2,
// readplans.kova2, KOVA2.hlp) is read from, with a trailing separator. An
// installed program finds it at installedRelative (e.g. "../share/kovara")
// from the executable's folder; a program run from its build folder has it
// beside the executable. The first of the two that holds bible.kova2 wins;
// when neither does, the installed folder is named if the executable lives
// in a folder called "bin", so the error about the missing Bible points
// where the package puts it, and the executable's folder otherwise.
std::string contentFolderFor(const std::string& executableFolder, const std::string& installedRelative);

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
