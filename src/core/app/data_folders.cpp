#include "app/data_folders.h"

#include "base/exception.h"

#include <filesystem>
#include <system_error>

namespace kovara {

std::string ProgramFolderOf(const std::string& executablePath)
{
    const std::size_t slash = executablePath.rfind(kPathSeparator);
    if (slash == std::string::npos)
        return std::string(".") + kPathSeparator;
    return executablePath.substr(0, slash + 1);
}

std::string UserDataFolderFor(const std::string& appDataFolder, const std::string& programFolder)
{
    if (!Trim(appDataFolder).empty())
        return appDataFolder + kPathSeparator + "Kovara 2" + kPathSeparator;
    return programFolder + "User Data" + kPathSeparator;
}

std::string Version1FolderFor(const std::string& appDataFolder)
{
    return appDataFolder + kPathSeparator + "Kovara" + kPathSeparator;
}

void EnsureUserDataFolder(const std::string& folder)
{
    namespace fs = std::filesystem;
    std::error_code ec;
    if (!fs::is_directory(folder, ec))
        fs::create_directories(folder, ec);
    if (!fs::is_directory(folder, ec))
        throw Exception(Format("Unable to create user data folder \"%s\"", folder));
}

} // namespace kovara
