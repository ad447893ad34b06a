#include "core/base/files.h"

#include <filesystem>
#include <system_error>

namespace kovara::core {

bool fileExists(const std::string& path)
{
    std::error_code ec;
    return std::filesystem::is_regular_file(path, ec);
}

bool pathExists(const std::string& path)
{
    std::error_code ec;
    return std::filesystem::exists(std::filesystem::symlink_status(path, ec));
}

} // namespace kovara::core
