#include "core/settings/data_folders.h"

#include "core/base/exception.h"
#include "core/base/translation.h"

#include <filesystem>
#include <sys/stat.h>
#include <system_error>

namespace kovara::core {

std::string programFolderOf(const std::string& executablePath)
{
    const std::size_t slash = executablePath.rfind(kPathSeparator);
    if (slash == std::string::npos)
        return std::string(".") + kPathSeparator;
    return executablePath.substr(0, slash + 1);
}

std::string contentFolderFor(const std::string& executableFolder, const std::string& installedRelative)
{
    namespace fs = std::filesystem;
    // "/usr/bin/../share/kovara" is shown in messages and the about box as
    // "/usr/share/kovara/".
    std::string installed = fs::path(executableFolder + installedRelative).lexically_normal().string();
    if (!installed.empty() && installed.back() != kPathSeparator)
        installed += kPathSeparator;
    std::error_code ec;
    if (fs::is_regular_file(installed + "bible.kova2", ec))
        return installed;
    if (fs::is_regular_file(executableFolder + "bible.kova2", ec))
        return executableFolder;
    const fs::path exe(executableFolder);
    const bool inBin = exe.parent_path().filename() == "bin";
    return inBin ? installed : executableFolder;
}

std::string userDataFolderFor(const std::string& appDataFolder, const std::string& programFolder)
{
    if (!trim(appDataFolder).empty())
        return appDataFolder + kPathSeparator + "Kovara 2" + kPathSeparator;
    return programFolder + "User Data" + kPathSeparator;
}

std::string version1FolderFor(const std::string& appDataFolder)
{
    return appDataFolder + kPathSeparator + "Kovara" + kPathSeparator;
}

void ensureUserDataFolder(const std::string& folder)
{
    namespace fs = std::filesystem;
    std::error_code ec;
    if (!fs::is_directory(folder, ec)) {
        // The parents as any folder; the data folder itself, which holds a
        // private journal, for its owner alone.
        fs::path path = fs::path(folder);
        if (!path.has_filename())
            path = path.parent_path();
        fs::create_directories(path.parent_path(), ec);
        ::mkdir(path.c_str(), 0700);
    }
    if (!fs::is_directory(folder, ec))
        throw Exception(withArgs(translatedText("kovara::core::DataFolders", "Unable to create user data folder \"%1\""), folder));
}

} // namespace kovara::core
