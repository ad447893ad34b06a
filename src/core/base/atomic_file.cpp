#include "core/base/atomic_file.h"

#include <atomic>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace kovara::core {
namespace {

// The longest file name most Linux file systems take.
constexpr std::size_t kNameMax = 255;

} // namespace

AtomicFile::AtomicFile(std::string target, unsigned newFileMode) : target_(std::move(target))
{
    const std::size_t slash = target_.rfind('/');
    const std::string folder = slash == std::string::npos ? std::string() : target_.substr(0, slash + 1);
    const std::string name = slash == std::string::npos ? target_ : target_.substr(slash + 1);
    if (name.empty()) {
        fail("no file name");
        return;
    }

    // The entry itself, not what a link leads to: a link is replaced.
    struct stat old {};
    const bool existed = ::lstat(target_.c_str(), &old) == 0;
    if (existed && !S_ISREG(old.st_mode) && !S_ISLNK(old.st_mode)) {
        errno = S_ISDIR(old.st_mode) ? EISDIR : EINVAL;
        fail("not a regular file");
        return;
    }

    static std::atomic<unsigned> counter{0};
    for (int attempt = 0; attempt < 100 && fd_ < 0; ++attempt) {
        const std::string prefix =
            ".kovara-" + std::to_string(::getpid()) + "-" + std::to_string(counter++) + "-";
        // Keep the end of the name (its suffix) when the whole would be too long.
        const std::string kept = prefix.size() + name.size() > kNameMax
                                     ? name.substr(name.size() - (kNameMax - prefix.size()))
                                     : name;
        temp_ = folder + prefix + kept;
        // The umask applies, as for any new file.
        fd_ = ::open(temp_.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC | O_NOFOLLOW,
                     static_cast<mode_t>(newFileMode & 0777));
        if (fd_ < 0 && errno != EEXIST)
            break;
    }
    if (fd_ < 0) {
        const int saved = errno;
        temp_.clear();
        errno = saved;
        fail("");
        return;
    }
    if (existed && S_ISREG(old.st_mode) && ::fchmod(fd_, old.st_mode & 07777) != 0)
        fail("");
}

AtomicFile::~AtomicFile()
{
    if (!committed_)
        cancel();
}

bool AtomicFile::fail(const std::string& what)
{
    if (error_.empty())
        error_ = errno != 0 ? std::strerror(errno) : what;
    if (error_.empty())
        error_ = what.empty() ? std::string("unknown error") : what;
    cancel();
    return false;
}

bool AtomicFile::write(std::string_view data)
{
    if (!ok() || fd_ < 0)
        return false;
    const char* p = data.data();
    std::size_t left = data.size();
    while (left > 0) {
        const ssize_t n = ::write(fd_, p, left);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0) {
            if (n == 0)
                errno = ENOSPC;
            return fail("");
        }
        p += n;
        left -= static_cast<std::size_t>(n);
    }
    return true;
}

bool AtomicFile::commit()
{
    if (!ok() || fd_ < 0)
        return false;
    // Flushed before the rename, so a crash cannot leave an empty or partial
    // file under the target's name.
    if (::fsync(fd_) != 0)
        return fail("");
    const int fd = fd_;
    fd_ = -1;
    if (::close(fd) != 0)
        return fail("");
    if (::rename(temp_.c_str(), target_.c_str()) != 0)
        return fail("");
    committed_ = true;
    // The rename itself is made lasting with the folder.
    const std::size_t slash = target_.rfind('/');
    const std::string folder = slash == std::string::npos ? std::string(".") : target_.substr(0, slash + 1);
    const int dir = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dir >= 0) {
        ::fsync(dir);
        ::close(dir);
    }
    return true;
}

void AtomicFile::cancel()
{
    if (fd_ >= 0) {
        ::close(fd_);
        fd_ = -1;
    }
    if (!temp_.empty() && !committed_) {
        ::unlink(temp_.c_str());
        temp_.clear();
    }
}

bool writeFileAtomically(const std::string& fileName, std::string_view data, std::string* error, unsigned newFileMode)
{
    AtomicFile file(fileName, newFileMode);
    const bool done = file.write(data) && file.commit();
    if (!done && error)
        *error = file.error();
    return done;
}

} // namespace kovara::core
