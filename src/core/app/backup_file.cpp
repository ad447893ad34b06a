#include "app/backup_file.h"

#include "db/sqlite_db.h"

#include <algorithm>
#include <bit>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>
#include <zlib.h>

namespace kovara {

namespace {

namespace fs = std::filesystem;

constexpr std::size_t kChunk = 64 * 1024;

// ---- little-endian fields

void PutLE(unsigned char* at, std::uint64_t value, int bytes)
{
    for (int i = 0; i < bytes; ++i)
        at[i] = static_cast<unsigned char>(value >> (8 * i));
}

std::uint64_t GetLE(const unsigned char* at, int bytes)
{
    std::uint64_t value = 0;
    for (int i = 0; i < bytes; ++i)
        value |= static_cast<std::uint64_t>(at[i]) << (8 * i);
    return value;
}

// ---- files

std::string SystemReason(int error)
{
    return std::strerror(error);
}

// An open POSIX file descriptor, closed when it goes out of scope. Close()
// reports the close's own failure (a late write error) to the caller.
class FileHandle {
public:
    FileHandle() = default;
    explicit FileHandle(int fd) : fd_(fd) {}
    ~FileHandle()
    {
        if (fd_ >= 0)
            ::close(fd_);
    }
    FileHandle(const FileHandle&) = delete;
    FileHandle& operator=(const FileHandle&) = delete;
    FileHandle(FileHandle&& other) noexcept : fd_(other.fd_) { other.fd_ = -1; }

    int Fd() const { return fd_; }
    bool IsOpen() const { return fd_ >= 0; }
    // Returns 0, or the errno of a failing close.
    int Close()
    {
        const int fd = fd_;
        fd_ = -1;
        return fd >= 0 && ::close(fd) != 0 ? errno : 0;
    }

private:
    int fd_ = -1;
};

// Reads up to size bytes; returns the count (less only at the end of the
// file), or -1 with errno set.
ssize_t ReadSome(int fd, void* data, std::size_t size)
{
    std::size_t done = 0;
    while (done < size) {
        const ssize_t n = ::read(fd, static_cast<char*>(data) + done, size - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            return -1;
        if (n == 0)
            break;
        done += static_cast<std::size_t>(n);
    }
    return static_cast<ssize_t>(done);
}

// Writes everything; false with errno set on failure.
bool WriteAll(int fd, const void* data, std::size_t size)
{
    std::size_t done = 0;
    while (done < size) {
        const ssize_t n = ::write(fd, static_cast<const char*>(data) + done, size - done);
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            return false;
        done += static_cast<std::size_t>(n);
    }
    return true;
}

// Flushes a folder's entries (after a rename) so the new names survive a
// power cut too. Failures are ignored: not every file system allows it.
void SyncFolderOf(const std::string& path)
{
    fs::path folder = fs::path(path).parent_path();
    if (folder.empty())
        folder = ".";
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

bool Exists(const std::string& path)
{
    std::error_code ec;
    return fs::exists(fs::symlink_status(path, ec));
}

void RemoveQuietly(const std::string& path)
{
    std::error_code ec;
    fs::remove(path, ec);
}

// rename(2): atomic, and replaces an existing target.
void RenameOrRaise(const std::string& from, const std::string& to)
{
    if (::rename(from.c_str(), to.c_str()) != 0)
        throw Exception(Format("Unable to rename %s to %s: %s", from, to, SystemReason(errno)));
}

// ---- backup

// Passes the whole of the open source file through a level-9 zlib compressor
// into out. Returns the number of source bytes; adds the compressed length to
// compressedBytes. sourceName and backupPath only name files in messages.
std::int64_t CompressInto(int source, const std::string& sourceName, int out, const std::string& backupPath,
                          std::int64_t& compressedBytes, std::int64_t& done, std::int64_t total,
                          const BackupProgress& progress)
{
    z_stream z{};
    if (deflateInit(&z, 9) != Z_OK)
        throw Exception(Format("Unable to write backup file %s: the compressor could not start", backupPath));
    std::vector<unsigned char> in(kChunk), buffer(kChunk);
    std::int64_t sourceBytes = 0;
    try {
        int flush = Z_NO_FLUSH;
        while (flush != Z_FINISH) {
            const ssize_t n = ReadSome(source, in.data(), in.size());
            if (n < 0)
                throw Exception(Format("Unable to read %s: %s", sourceName, SystemReason(errno)));
            sourceBytes += n;
            flush = static_cast<std::size_t>(n) < in.size() ? Z_FINISH : Z_NO_FLUSH;
            z.next_in = in.data();
            z.avail_in = static_cast<uInt>(n);
            int rc = Z_OK;
            do {
                z.next_out = buffer.data();
                z.avail_out = static_cast<uInt>(buffer.size());
                rc = deflate(&z, flush);
                if (rc == Z_STREAM_ERROR)
                    throw Exception(Format("Unable to write backup file %s: compression failed", backupPath));
                const std::size_t produced = buffer.size() - z.avail_out;
                if (!WriteAll(out, buffer.data(), produced))
                    throw Exception(Format("Unable to write backup file %s: %s", backupPath, SystemReason(errno)));
                compressedBytes += static_cast<std::int64_t>(produced);
            } while (z.avail_out == 0);
            done += n;
            if (progress)
                progress(done, total);
        }
    } catch (...) {
        deflateEnd(&z);
        throw;
    }
    deflateEnd(&z);
    return sourceBytes;
}

FileHandle OpenDatabaseForReading(const std::string& path, std::int64_t& size)
{
    FileHandle file(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    struct stat st{};
    if (!file.IsOpen() || ::fstat(file.Fd(), &st) != 0)
        throw Exception(Format("Unable to read %s: %s", path, SystemReason(errno)));
    size = st.st_size;
    return file;
}

// ---- restore

std::string RestoredName(const std::string& path) { return path + ".restored"; }
std::string OldName(const std::string& path) { return path + ".old"; }
std::string CommitMarkerName(const TUserDatabases& databases) { return databases.PrayersPath + ".restore-commit"; }

// Inflates the zlib stream that starts at offset into a new file at target,
// which must come to exactly size bytes and end the stream. Returns false for
// damaged or short data and for a target that cannot be written.
bool InflateSection(int backup, std::int64_t offset, std::int64_t size, const std::string& target,
                    std::int64_t& done, std::int64_t total, const BackupProgress& progress)
{
    if (::lseek(backup, offset, SEEK_SET) != offset)
        return false;
    FileHandle out(::open(target.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666));
    if (!out.IsOpen())
        return false;
    z_stream z{};
    if (inflateInit(&z) != Z_OK)
        return false;
    std::vector<unsigned char> in(kChunk), buffer(kChunk);
    std::int64_t written = 0;
    int rc = Z_OK;
    bool ok = true;
    while (ok && rc != Z_STREAM_END) {
        const ssize_t n = ReadSome(backup, in.data(), in.size());
        if (n <= 0) { // the file ends inside the stream
            ok = false;
            break;
        }
        z.next_in = in.data();
        z.avail_in = static_cast<uInt>(n);
        do {
            z.next_out = buffer.data();
            z.avail_out = static_cast<uInt>(buffer.size());
            rc = inflate(&z, Z_NO_FLUSH);
            if (rc == Z_BUF_ERROR) // nothing more to do with this input: read on
                break;
            if (rc != Z_OK && rc != Z_STREAM_END) { // damaged data
                ok = false;
                break;
            }
            const std::size_t produced = buffer.size() - z.avail_out;
            written += static_cast<std::int64_t>(produced);
            if (written > size || !WriteAll(out.Fd(), buffer.data(), produced)) {
                ok = false;
                break;
            }
        } while (rc != Z_STREAM_END && z.avail_out == 0);
        done += static_cast<std::int64_t>(n);
        if (progress)
            progress(std::min(done, total), total);
    }
    inflateEnd(&z);
    if (!ok || written != size)
        return false;
    if (::fsync(out.Fd()) != 0)
        return false;
    return out.Close() == 0;
}

// Puts one unpacked image in place of the live database (keeping the live
// one as .old). Repeating it after an interruption finishes the job: once
// the image has been renamed in, there is nothing left to do.
void SwapIn(const std::string& path)
{
    if (!Exists(RestoredName(path)))
        return;
    if (Exists(path))
        RenameOrRaise(path, OldName(path));
    RenameOrRaise(RestoredName(path), path);
}

// Undoes SwapIn for a database whose image went in (or half went in) during
// this run: the .old file is the database from before the restore.
void SwapBack(const std::string& path)
{
    const bool swapped = !Exists(RestoredName(path));
    if (swapped && Exists(path) && Exists(OldName(path))) {
        RenameOrRaise(path, RestoredName(path));
        RenameOrRaise(OldName(path), path);
    } else if (!swapped && !Exists(path) && Exists(OldName(path))) {
        RenameOrRaise(OldName(path), path);
    }
}

void RemoveRestoredImages(const TUserDatabases& databases)
{
    RemoveQuietly(RestoredName(databases.PrayersPath));
    RemoveQuietly(RestoredName(databases.PlansPath));
}

} // namespace

std::array<unsigned char, kBackupHeaderSize> EncodeBackupHeader(const TBackupHeader& header)
{
    std::array<unsigned char, kBackupHeaderSize> bytes{};
    std::memcpy(bytes.data(), header.Signature.data(),
                std::min<std::size_t>(header.Signature.size(), kBackupSignatureSize));
    PutLE(&bytes[46], static_cast<std::uint64_t>(header.PrayersOffset), 8);
    PutLE(&bytes[54], static_cast<std::uint64_t>(header.PlansOffset), 8);
    PutLE(&bytes[62], static_cast<std::uint64_t>(header.PrayersSize), 8);
    PutLE(&bytes[70], static_cast<std::uint64_t>(header.PlansSize), 8);
    PutLE(&bytes[78], std::bit_cast<std::uint64_t>(header.Created), 8);
    PutLE(&bytes[86], static_cast<std::uint32_t>(header.Version), 4);
    return bytes;
}

TBackupHeader DecodeBackupHeader(const unsigned char* bytes, std::size_t count)
{
    std::array<unsigned char, kBackupHeaderSize> padded{};
    std::memcpy(padded.data(), bytes, std::min<std::size_t>(count, padded.size()));
    TBackupHeader header;
    const char* signature = reinterpret_cast<const char*>(padded.data());
    header.Signature.assign(signature, ::strnlen(signature, kBackupSignatureSize));
    header.PrayersOffset = static_cast<std::int64_t>(GetLE(&padded[46], 8));
    header.PlansOffset = static_cast<std::int64_t>(GetLE(&padded[54], 8));
    header.PrayersSize = static_cast<std::int64_t>(GetLE(&padded[62], 8));
    header.PlansSize = static_cast<std::int64_t>(GetLE(&padded[70], 8));
    header.Created = std::bit_cast<double>(GetLE(&padded[78], 8));
    header.Version = static_cast<std::int32_t>(static_cast<std::uint32_t>(GetLE(&padded[86], 4)));
    return header;
}

void WriteBackupFile(const std::string& backupPath, const TUserDatabases& databases, TDateTime created,
                     const BackupProgress& progress)
{
    // Writing over a database that is being read would destroy it.
    for (const std::string& database : {databases.PrayersPath, databases.PlansPath}) {
        std::error_code ec;
        if (fs::equivalent(backupPath, database, ec))
            throw Exception(Format("Unable to create backup file %s: it is the database %s itself", backupPath,
                                   database));
    }
    std::int64_t prayersFileSize = 0, plansFileSize = 0;
    FileHandle prayers = OpenDatabaseForReading(databases.PrayersPath, prayersFileSize);
    FileHandle plans = OpenDatabaseForReading(databases.PlansPath, plansFileSize);

    // Written under a temporary name and renamed over backupPath only when
    // complete, so a failure never costs the user an earlier backup.
    const std::string partPath = backupPath + ".part";
    FileHandle out(::open(partPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666));
    if (!out.IsOpen())
        throw Exception(Format("Unable to create backup file %s: %s", backupPath, SystemReason(errno)));
    try {
        auto writeFailed = [&](int error) {
            return Exception(Format("Unable to write backup file %s: %s", backupPath, SystemReason(error)));
        };
        TBackupHeader header;
        header.Signature = kBackupSignature;
        header.Version = kBackupVersion;
        header.Created = created;
        const auto placeholder = EncodeBackupHeader(header);
        if (!WriteAll(out.Fd(), placeholder.data(), placeholder.size()))
            throw writeFailed(errno);

        const std::int64_t total = prayersFileSize + plansFileSize;
        std::int64_t done = 0, compressed = 0;
        header.PrayersOffset = kBackupHeaderSize;
        header.PrayersSize = CompressInto(prayers.Fd(), databases.PrayersPath, out.Fd(), backupPath, compressed,
                                          done, total, progress);
        header.PlansOffset = kBackupHeaderSize + compressed;
        header.PlansSize =
            CompressInto(plans.Fd(), databases.PlansPath, out.Fd(), backupPath, compressed, done, total, progress);

        const auto bytes = EncodeBackupHeader(header);
        if (::pwrite(out.Fd(), bytes.data(), bytes.size(), 0) != static_cast<ssize_t>(bytes.size()))
            throw writeFailed(errno);
        if (::fsync(out.Fd()) != 0)
            throw writeFailed(errno);
        if (const int error = out.Close())
            throw writeFailed(error);
        if (::rename(partPath.c_str(), backupPath.c_str()) != 0)
            throw writeFailed(errno);
    } catch (...) {
        out.Close();
        RemoveQuietly(partPath);
        throw;
    }
    SyncFolderOf(backupPath);
}

BackupCheck CheckBackupFile(const std::string& backupPath, TBackupHeader* header)
{
    FileHandle file(::open(backupPath.c_str(), O_RDONLY | O_CLOEXEC));
    struct stat st{};
    if (!file.IsOpen() || ::fstat(file.Fd(), &st) != 0 || S_ISDIR(st.st_mode))
        return BackupCheck::CannotOpen;
    unsigned char bytes[kBackupHeaderSize];
    const ssize_t n = ReadSome(file.Fd(), bytes, sizeof bytes);
    if (n < 0)
        return BackupCheck::CannotOpen;
    // A file too short for the header cannot hold the sections either.
    if (n < kBackupHeaderSize)
        return BackupCheck::NotBackup;
    const TBackupHeader read = DecodeBackupHeader(bytes, static_cast<std::size_t>(n));
    if (read.Signature != kBackupSignature || read.Version != kBackupVersion)
        return BackupCheck::NotBackup;
    if (header)
        *header = read;
    return BackupCheck::Valid;
}

std::string BackupCheckMessage(BackupCheck check, const std::string& backupPath)
{
    switch (check) {
    case BackupCheck::CannotOpen:
        return "Unable to open " + backupPath;
    case BackupCheck::NotBackup:
        return backupPath + " is not a valid Kovara backup file.";
    case BackupCheck::Valid:
        break;
    }
    return std::string();
}

ERestoreFailed::ERestoreFailed() : Exception(kRestoreFailedMessage) {}

bool CheckRestoredImage(const std::string& imagePath, const std::string& tableName)
{
    sqlite3* db = nullptr;
    const int rc = sqlite3_open_v2(imagePath.c_str(), &db, SQLITE_OPEN_READONLY, nullptr);
    bool ok = false;
    if (rc == SQLITE_OK) {
        try {
            ok = TableExists(db, tableName); // reading the schema fails for anything but a database
        } catch (const std::exception&) {
            ok = false;
        }
    }
    sqlite3_close(db);
    return ok;
}

void UnpackBackupFile(const std::string& backupPath, const TUserDatabases& databases, const BackupProgress& progress)
{
    // A restore left half done by an earlier failure is settled first, so
    // that its leftovers cannot mix with this one.
    RecoverInterruptedRestore(databases);

    bool ok = false;
    TBackupHeader header;
    if (CheckBackupFile(backupPath, &header) == BackupCheck::Valid) {
        FileHandle backup(::open(backupPath.c_str(), O_RDONLY | O_CLOEXEC));
        struct stat st{};
        if (backup.IsOpen() && ::fstat(backup.Fd(), &st) == 0) {
            const std::int64_t fileSize = st.st_size;
            auto inFile = [&](std::int64_t offset) { return offset >= kBackupHeaderSize && offset < fileSize; };
            if (inFile(header.PrayersOffset) && inFile(header.PlansOffset) && header.PrayersSize >= 0 &&
                header.PlansSize >= 0) {
                // Sizes are only compared with, never allocated from; the
                // total is for progress alone and cannot overflow here.
                const std::int64_t total = fileSize - kBackupHeaderSize;
                std::int64_t done = 0;
                ok = InflateSection(backup.Fd(), header.PrayersOffset, header.PrayersSize,
                                    RestoredName(databases.PrayersPath), done, total, progress) &&
                     InflateSection(backup.Fd(), header.PlansOffset, header.PlansSize,
                                    RestoredName(databases.PlansPath), done, total, progress) &&
                     CheckRestoredImage(RestoredName(databases.PrayersPath), databases.PrayersTable) &&
                     CheckRestoredImage(RestoredName(databases.PlansPath), databases.PlansTable);
            }
        }
    }
    if (!ok) {
        RemoveRestoredImages(databases);
        throw ERestoreFailed();
    }
    SyncFolderOf(databases.PrayersPath);
    SyncFolderOf(databases.PlansPath);
}

void ReplaceWithRestoredImages(const TUserDatabases& databases)
{
    const std::string marker = CommitMarkerName(databases);
    {
        FileHandle file(::open(marker.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666));
        const bool written = file.IsOpen() && ::fsync(file.Fd()) == 0 && file.Close() == 0;
        if (!written) {
            file.Close();
            RemoveQuietly(marker);
            RemoveRestoredImages(databases);
            throw ERestoreFailed();
        }
        SyncFolderOf(marker);
    }
    try {
        SwapIn(databases.PrayersPath);
        SwapIn(databases.PlansPath);
        SyncFolderOf(databases.PrayersPath);
        SyncFolderOf(databases.PlansPath);
    } catch (const std::exception&) {
        try {
            SwapBack(databases.PlansPath);
            SwapBack(databases.PrayersPath);
            SyncFolderOf(databases.PrayersPath);
            SyncFolderOf(databases.PlansPath);
            RemoveRestoredImages(databases);
            RemoveQuietly(marker);
        } catch (const std::exception&) {
            // The marker stays: the next start finishes the restore.
        }
        throw ERestoreFailed();
    }
    RemoveQuietly(marker);
    SyncFolderOf(marker);
}

void RestoreBackupFiles(const std::string& backupPath, const TUserDatabases& databases, const BackupProgress& progress)
{
    UnpackBackupFile(backupPath, databases, progress);
    ReplaceWithRestoredImages(databases);
}

bool RecoverInterruptedRestore(const TUserDatabases& databases)
{
    const std::string marker = CommitMarkerName(databases);
    if (Exists(marker)) {
        try {
            SwapIn(databases.PrayersPath);
            SwapIn(databases.PlansPath);
            SyncFolderOf(databases.PrayersPath);
            SyncFolderOf(databases.PlansPath);
            RemoveQuietly(marker);
        } catch (const std::exception&) {
            // Left for the next start; the stores open what is there.
        }
        return true;
    }
    const bool leftovers = Exists(RestoredName(databases.PrayersPath)) || Exists(RestoredName(databases.PlansPath));
    RemoveRestoredImages(databases);
    return leftovers;
}

} // namespace kovara
