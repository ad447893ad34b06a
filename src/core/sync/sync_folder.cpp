#include "core/sync/sync_folder.h"

#include "core/base/atomic_file.h"
#include "core/base/exception.h"
#include "core/base/translation.h"
#include "core/sync/sync_codec.h"

#include <fmt/format.h>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <fstream>
#include <sstream>
#include <unistd.h>

namespace kovara::core {

namespace fs = std::filesystem;

namespace {

constexpr const char* kContext = "kovara::core::SyncFolder";
constexpr const char* kSuffix = ".kvsync";

bool endsWith(const std::string& text, const std::string& end)
{
    return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

// The reader's message for a failed write into folder.
std::string writeFailure(const fs::path& folder, int error)
{
    const std::string where = folder.string();
    if (error == ENOSPC || error == EDQUOT)
        return withArgs(translatedText(kContext, "The sync folder %1 is full. Your changes are kept on this "
                                                 "computer and sent when there is room again."),
                        where);
    if (error == EROFS || error == EACCES || error == EPERM)
        return withArgs(translatedText(kContext, "The sync folder %1 cannot be written to (it is read-only). Your "
                                                 "changes are kept on this computer."),
                        where);
    if (error == ENOENT)
        return withArgs(translatedText(kContext, "The sync folder %1 is not there any more. Nothing was deleted "
                                                 "on this computer; choose the folder again in the preferences."),
                        where);
    return withArgs(translatedText(kContext, "Could not write to the sync folder %1: %2"), where,
                    std::string(std::strerror(error)));
}

int fileNumber(const std::string& name)
{
    const auto dash = name.find('-');
    if (dash == std::string::npos)
        return 0;
    try {
        return std::stoi(name.substr(dash + 1));
    } catch (const std::exception&) {
        return 0;
    }
}

} // namespace

SyncFolder::SyncFolder(fs::path folder, std::string computerId)
    : folder_(std::move(folder)), computerId_(std::move(computerId))
{
}

bool SyncFolder::isExchangeFile(const std::string& name)
{
    if (name.empty() || name[0] == '.' || name[0] == '~')
        return false;
    if (endsWith(name, ".tmp") || endsWith(name, ".part") || endsWith(name, ".partial"))
        return false;
    return name.find(kSuffix) != std::string::npos;
}

int SyncFolder::nextNumber() const
{
    int highest = 0;
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(ownFolder(), ec))
        highest = std::max(highest, fileNumber(entry.path().filename().string()));
    return highest + 1;
}

bool SyncFolder::ownFilesMissing() const
{
    std::error_code ec;
    for (const auto& entry : fs::directory_iterator(ownFolder(), ec))
        if (isExchangeFile(entry.path().filename().string()))
            return false;
    return true;
}

void SyncFolder::makeOwnFolder() const
{
    std::error_code ec;
    if (!fs::is_directory(folder_, ec))
        throw Exception(writeFailure(folder_, ENOENT));
    fs::create_directories(ownFolder(), ec);
    if (ec)
        throw Exception(writeFailure(folder_, ec.value()));
}

void SyncFolder::append(const std::string& bytes)
{
    makeOwnFolder();
    std::error_code ec;
    if (current_.empty() || !fs::exists(current_, ec))
        current_ = ownFolder() / fmt::format("changes-{:06}{}", nextNumber(), kSuffix);
    const int fd = ::open(current_.c_str(), O_WRONLY | O_CREAT | O_APPEND | O_CLOEXEC, 0666);
    if (fd < 0)
        throw Exception(writeFailure(folder_, errno));
    const off_t before = ::lseek(fd, 0, SEEK_END);
    std::size_t done = 0;
    int error = 0;
    while (done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            error = errno;
            break;
        }
        done += static_cast<std::size_t>(n);
    }
    if (!error && ::fdatasync(fd) != 0)
        error = errno;
    if (error && before >= 0 && ::ftruncate(fd, before) != 0) {
        // The frame cut short stays; readers stop before it, and the next
        // write starts a new file.
        current_.clear();
    }
    ::close(fd);
    if (error)
        throw Exception(writeFailure(folder_, error));
}

void SyncFolder::write(const std::vector<Change>& changes)
{
    std::string bytes;
    for (const Change& c : changes)
        bytes += changeFrame(c);
    if (!bytes.empty())
        append(bytes);
}

void SyncFolder::writeSnapshot(const std::string& stateBytes)
{
    makeOwnFolder();
    std::error_code ec;
    std::vector<fs::path> older;
    for (const auto& entry : fs::directory_iterator(ownFolder(), ec))
        if (isExchangeFile(entry.path().filename().string()))
            older.push_back(entry.path());
    const fs::path target = ownFolder() / fmt::format("snapshot-{:06}{}", nextNumber(), kSuffix);
    std::string payload(1, 'S');
    payload += stateBytes;
    AtomicFile file(target.string());
    if (!file.ok() || !file.write(frame(payload)) || !file.commit())
        throw Exception(writeFailure(folder_, errno ? errno : EIO));
    for (const fs::path& path : older)
        fs::remove(path, ec);
    current_.clear();
}

IncomingChanges SyncFolder::readOthers()
{
    std::error_code ec;
    if (!fs::is_directory(folder_, ec))
        throw Exception(withArgs(translatedText(kContext, "The sync folder %1 is not there. Nothing was deleted on "
                                                          "this computer; your plans and prayers are as they were."),
                                 folder_.string()));
    IncomingChanges incoming;
    for (const auto& computer : fs::directory_iterator(folder_, ec)) {
        if (!computer.is_directory(ec))
            continue;
        const bool own = computer.path().filename() == computerId_;
        for (const auto& entry : fs::directory_iterator(computer.path(), ec)) {
            const std::string name = entry.path().filename().string();
            if (!isExchangeFile(name) || !entry.is_regular_file(ec))
                continue;
            const bool conflictCopy =
                name.find(".sync-conflict-") != std::string::npos || name.find("(conflicted copy") != std::string::npos;
            if (own && !conflictCopy)
                continue;
            const std::string key = fs::relative(entry.path(), folder_, ec).string();
            const std::uint64_t size = entry.file_size(ec);
            std::uint64_t& position = positions_[key];
            if (size < position)
                position = 0; // replaced by a shorter file: read it again
            if (size == position)
                continue;
            std::ifstream in(entry.path(), std::ios::binary);
            if (!in)
                continue;
            in.seekg(static_cast<std::streamoff>(position));
            std::ostringstream rest;
            rest << in.rdbuf();
            const std::string bytes = rest.str();
            position += readFrames(bytes, [&](const ExchangeRecord& record) {
                if (record.isState)
                    incoming.states.push_back(record.state);
                else
                    incoming.changes.push_back(record.change);
            });
        }
    }
    // Files that are gone are forgotten (an engine may bring them back).
    for (auto it = positions_.begin(); it != positions_.end();) {
        if (!fs::exists(folder_ / it->first, ec))
            it = positions_.erase(it);
        else
            ++it;
    }
    return incoming;
}

} // namespace kovara::core
