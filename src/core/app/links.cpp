#include "core/app/links.h"

#include "core/base/exception.h"

#include <vector>

namespace kovara::core {

std::string supportEmailUrl(const std::string& fileVersion)
{
    return std::string("mailto:") + kSupportEmail + "?subject=Kovara%20" + fileVersion;
}

std::string updateCheckQuery(const std::string& fileVersion)
{
    // Every "." splits, so empty parts count as parts ("2..1.2" has four).
    std::vector<std::string> parts;
    std::string::size_type start = 0;
    for (;;) {
        const auto dot = fileVersion.find('.', start);
        parts.push_back(fileVersion.substr(start, dot == std::string::npos ? std::string::npos : dot - start));
        if (dot == std::string::npos)
            break;
        start = dot + 1;
    }
    if (parts.size() < 4)
        throw Exception(format("The file version \"%s\" does not have the four parts major.minor.release.build",
                               fileVersion));
    return format("major=%s&minor=%s&release=%s&build=%s", parts[0], parts[1], parts[2], parts[3]);
}

std::string updateCheckUrl(const std::string& fileVersion)
{
    return kUpdateCheckPage + updateCheckQuery(fileVersion);
}

} // namespace kovara::core
