#include "core/app/backup_file.h"

#include "core/base/files.h"
#include "core/base/little_endian.h"
#include "core/db/sqlite_db.h"
#include "core/prayer/prayer_store.h"

#include <algorithm>
#include <bit>
#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <memory>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>
#include <zlib.h>

namespace kovara::core {

namespace {

namespace fs = std::filesystem;

constexpr std::size_t kChunk = 64 * 1024;

// ---- files

std::string systemReason(int error)
{
    return std::strerror(error);
}

// An open POSIX file descriptor, closed when it goes out of scope. close()
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
    FileHandle& operator=(FileHandle&& other) noexcept
    {
        if (this != &other) {
            close();
            fd_ = other.fd_;
            other.fd_ = -1;
        }
        return *this;
    }

    int fd() const { return fd_; }
    bool isOpen() const { return fd_ >= 0; }
    // Returns 0, or the errno of a failing close.
    int close()
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
ssize_t readSome(int fd, void* data, std::size_t size)
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

// Opens path for reading when it is a regular file; anything else gives a
// closed handle. The open itself never waits, so a name that has become a
// named pipe since it was checked cannot hold the program up.
FileHandle openRegularFile(const std::string& path)
{
    FileHandle file(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    struct stat st{};
    if (!file.isOpen() || ::fstat(file.fd(), &st) != 0 || !S_ISREG(st.st_mode))
        return FileHandle();
    const int flags = ::fcntl(file.fd(), F_GETFL);
    if (flags < 0 || ::fcntl(file.fd(), F_SETFL, flags & ~O_NONBLOCK) != 0)
        return FileHandle();
    return file;
}

// Writes everything; false with errno set on failure.
bool writeAll(int fd, const void* data, std::size_t size)
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
void syncFolderOf(const std::string& path)
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

void removeQuietly(const std::string& path)
{
    std::error_code ec;
    fs::remove(path, ec);
}

// rename(2): atomic, and replaces an existing target.
void renameOrRaise(const std::string& from, const std::string& to)
{
    if (::rename(from.c_str(), to.c_str()) != 0)
        throw Exception(withArgs(translatedText("kovara::core::BackupFile", "Unable to rename %1 to %2: %3"), from, to, systemReason(errno)));
}

// ---- backup

constexpr const char* kPartSuffix = ".part";

// True when the file at path begins with a backup's signature: a file this
// program wrote (a temporary backup file), not another program's.
bool beginsWithBackupSignature(int fd)
{
    unsigned char bytes[kBackupSignatureSize];
    if (::pread(fd, bytes, sizeof bytes, 0) != static_cast<ssize_t>(sizeof bytes))
        return false;
    const std::string signature(kBackupSignature);
    return std::memcmp(bytes, signature.data(), signature.size()) == 0 && bytes[signature.size()] == 0;
}

// Deletes the temporary files that killed backups left in folder: regular
// files named "*.part" that begin with a backup's signature and that no
// backup is writing now (a backup holds a lock on its temporary file while
// it writes). Another program's .part files are left alone; failures are
// ignored (they cost disk space, nothing else).
void removeStaleBackupParts(const fs::path& folder)
{
    std::error_code ec;
    for (fs::directory_iterator it(folder.empty() ? fs::path(".") : folder, ec), end; !ec && it != end;
         it.increment(ec)) {
        const fs::path& path = it->path();
        if (path.extension() != kPartSuffix || !it->is_regular_file(ec))
            continue;
        FileHandle file(::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOFOLLOW | O_CLOEXEC));
        struct stat st{};
        if (!file.isOpen() || ::fstat(file.fd(), &st) != 0 || !S_ISREG(st.st_mode) ||
            !beginsWithBackupSignature(file.fd()) || ::flock(file.fd(), LOCK_EX | LOCK_NB) != 0)
            continue;
        removeQuietly(path.string());
    }
}

// Passes size bytes at data through a level-9 zlib compressor into out.
// Adds the compressed length to compressedBytes and reports progress after
// each chunk. backupPath only names the file in messages.
void compressInto(const unsigned char* data, std::int64_t size, int out, const std::string& backupPath,
                  std::int64_t& compressedBytes, std::int64_t& done, std::int64_t total,
                  const BackupProgress& progress)
{
    z_stream z{};
    if (deflateInit(&z, 9) != Z_OK)
        throw Exception(withArgs(translatedText("kovara::core::BackupFile", "Unable to write backup file %1: the compressor could not start"), backupPath));
    std::vector<unsigned char> buffer(kChunk);
    std::int64_t offset = 0;
    try {
        int flush = Z_NO_FLUSH;
        while (flush != Z_FINISH) {
            const std::int64_t n = std::min<std::int64_t>(size - offset, std::int64_t(kChunk));
            flush = offset + n >= size ? Z_FINISH : Z_NO_FLUSH;
            z.next_in = const_cast<unsigned char*>(data + offset);
            z.avail_in = static_cast<uInt>(n);
            int rc = Z_OK;
            do {
                z.next_out = buffer.data();
                z.avail_out = static_cast<uInt>(buffer.size());
                rc = deflate(&z, flush);
                if (rc == Z_STREAM_ERROR)
                    throw Exception(withArgs(translatedText("kovara::core::BackupFile", "Unable to write backup file %1: compression failed"), backupPath));
                const std::size_t produced = buffer.size() - z.avail_out;
                if (!writeAll(out, buffer.data(), produced))
                    throw Exception(withArgs(translatedText("kovara::core::BackupFile", "Unable to write backup file %1: %2"), backupPath, systemReason(errno)));
                compressedBytes += static_cast<std::int64_t>(produced);
            } while (z.avail_out == 0);
            offset += n;
            done += n;
            if (progress)
                progress(done, total);
        }
    } catch (...) {
        deflateEnd(&z);
        throw;
    }
    deflateEnd(&z);
}

// True when the open database holds the table and passes SQLite's integrity
// check; otherwise fills problem (when given) with the reason.
bool checkImage(sqlite3* db, const std::string& table, std::string* problem = nullptr)
{
    auto fail = [&](const std::string& reason) {
        if (problem)
            *problem = reason;
        return false;
    };
    try {
        if (!tableExists(db, table))
            return fail(withArgs(translatedText("kovara::core::BackupFile", "it holds no table %1"), table));
        std::string verdict;
        queryRow(db, "PRAGMA integrity_check(1);", "Unable to check the database",
                 [&](Statement& st) { verdict = st.columnText(0); });
        if (verdict != "ok")
            return fail(withArgs(translatedText("kovara::core::BackupFile", "it is damaged (%1)"), verdict));
    } catch (const std::exception& e) {
        return fail(e.what());
    }
    return true;
}

// A database file written by a finished transaction records its own size in
// its header (valid when the "version valid for" number matches the change
// counter). A file copied while a writer was half way through - its journal
// left behind - can hold pages of two states; a size that disagrees with the
// file is the sign SQLite itself would trust. Files without a valid header
// size (written by very old versions) are left to the integrity check.
bool headerMatchesFileSize(const std::string& path)
{
    FileHandle file(::open(path.c_str(), O_RDONLY | O_CLOEXEC));
    unsigned char header[100];
    struct stat st{};
    if (!file.isOpen() || ::fstat(file.fd(), &st) != 0 || readSome(file.fd(), header, sizeof header) != 100)
        return false;
    auto be32 = [&](int at) {
        return (std::uint32_t(header[at]) << 24) | (std::uint32_t(header[at + 1]) << 16) |
               (std::uint32_t(header[at + 2]) << 8) | std::uint32_t(header[at + 3]);
    };
    std::uint32_t pageSize = (std::uint32_t(header[16]) << 8) | header[17];
    if (pageSize == 1)
        pageSize = 65536;
    const std::uint32_t pages = be32(28);
    if (be32(92) != be32(24) || pages == 0)
        return true;
    return std::int64_t(pages) * pageSize == st.st_size;
}

// Byte 18 and 19 of a database header: the file format versions for writing
// and reading, 1 for a rollback journal, 2 for a write-ahead log.
constexpr std::size_t kFormatVersionOffset = 18;

// Turns a database image whose header asks for a write-ahead log into one
// that uses a rollback journal, as SQLite itself does when it leaves WAL mode
// after a checkpoint. An image copied out of a database holds every committed
// page and has no log of its own: left as it is, the first connection to open
// it, even a read-only one, would make -wal and -shm files beside it.
void clearWriteAheadLogMode(unsigned char* header, std::size_t size)
{
    for (std::size_t at = kFormatVersionOffset; at < kFormatVersionOffset + 2 && at < size; ++at)
        if (header[at] == 2)
            header[at] = 1;
}

// A copy of a database's pages in memory, from sqlite3_serialize.
struct DatabaseImage {
    struct Free {
        void operator()(unsigned char* p) const { sqlite3_free(p); }
    };
    std::unique_ptr<unsigned char, Free> bytes;
    sqlite3_int64 size = 0;
};

// A database held open under SQLite's shared lock for as long as this object
// lives, so that no other connection or process can change what it reads
// while both databases are copied.
class LockedDatabase {
public:
    // Opens path (it must exist), waits up to lockWaitMs for a writer to
    // finish and takes the shared lock. Raises "Unable to read <path>: <reason>".
    LockedDatabase(const std::string& path, int lockWaitMs) : path_(path)
    {
        struct stat st{};
        if (::stat(path.c_str(), &st) != 0)
            throw Exception(withArgs(translatedText("kovara::core::BackupFile", "Unable to read %1: %2"), path, systemReason(errno)));
        if (!S_ISREG(st.st_mode))
            throw Exception(withArgs(translatedText("kovara::core::BackupFile", "Unable to read %1: %2"), path, systemReason(EISDIR)));
        // Read-write without create: a hot journal left by a writer that died
        // is rolled back before the copy, which a read-only connection cannot do.
        const int rc = sqlite3_open_v2(path.c_str(), &db_, SQLITE_OPEN_READWRITE, nullptr);
        if (rc != SQLITE_OK)
            fail(db_ ? sqlite3_errmsg(db_) : sqlite3_errstr(rc));
        sqlite3_busy_timeout(db_, lockWaitMs);
        // The first read inside the transaction takes the shared lock and keeps
        // it until the end of the transaction.
        if (sqlite3_exec(db_, "BEGIN; SELECT count(*) FROM sqlite_master;", nullptr, nullptr, nullptr) != SQLITE_OK)
            fail(lockReason());
        inTransaction_ = true;
    }
    ~LockedDatabase() { release(); }
    LockedDatabase(const LockedDatabase&) = delete;
    LockedDatabase& operator=(const LockedDatabase&) = delete;

    // Every committed page as this transaction sees it, whatever the journal
    // mode: read through SQLite's pager, so the pages of a write-ahead log
    // that another program has not yet checkpointed are in it too. The image
    // is made a rollback-journal database and checked as a restore will check
    // it (the table, the integrity check), so the backup never holds an image
    // that cannot be restored. Raises "Unable to read <path>: <reason>".
    DatabaseImage image(const std::string& table)
    {
        DatabaseImage image;
        image.bytes.reset(sqlite3_serialize(db_, "main", &image.size, 0));
        if (!image.bytes || image.size <= 0)
            fail(sqlite3_errmsg(db_));
        clearWriteAheadLogMode(image.bytes.get(), static_cast<std::size_t>(image.size));

        sqlite3* copy = nullptr;
        std::string problem;
        bool ok = sqlite3_open_v2(":memory:", &copy, SQLITE_OPEN_READWRITE, nullptr) == SQLITE_OK &&
                  sqlite3_deserialize(copy, "main", image.bytes.get(), image.size, image.size,
                                      SQLITE_DESERIALIZE_READONLY) == SQLITE_OK;
        if (!ok)
            problem = copy ? sqlite3_errmsg(copy) : sqlite3_errstr(SQLITE_NOMEM);
        else
            ok = checkImage(copy, table, &problem);
        sqlite3_close(copy);
        if (!ok)
            fail(problem);
        return image;
    }

    // Ends the transaction and closes the connection.
    void release()
    {
        if (db_) {
            if (inTransaction_)
                sqlite3_exec(db_, "COMMIT;", nullptr, nullptr, nullptr);
            sqlite3_close(db_);
            db_ = nullptr;
        }
    }

private:
    [[noreturn]] void fail(const std::string& reason)
    {
        const std::string message = withArgs(translatedText("kovara::core::BackupFile", "Unable to read %1: %2"), path_, reason);
        release();
        throw Exception(message);
    }

    std::string lockReason() const
    {
        const int code = sqlite3_errcode(db_);
        if (code == SQLITE_BUSY || code == SQLITE_LOCKED)
            return translatedText("kovara::core::BackupFile", "another program is writing to it. Try again when it has finished.");
        return sqlite3_errmsg(db_);
    }

    std::string path_;
    sqlite3* db_ = nullptr;
    bool inTransaction_ = false;
};

// ---- restore

// The files SQLite keeps beside a database while it writes to it.
const char* const kSideFileSuffixes[] = {"-journal", "-wal", "-shm"};

void removeSideFiles(const std::string& path)
{
    for (const char* suffix : kSideFileSuffixes)
        removeQuietly(path + suffix);
}

bool hasSideFiles(const std::string& path)
{
    for (const char* suffix : kSideFileSuffixes)
        if (pathExists(path + suffix))
            return true;
    return false;
}

std::string restoredName(const std::string& path) { return path + ".restored"; }
// An image unpacked only to check a backup before the reader is asked.
std::string checkedName(const std::string& path) { return path + ".restore-check"; }

// Renames the side files of database from (those there are) to those of to.
void moveSideFiles(const std::string& from, const std::string& to)
{
    for (const char* suffix : kSideFileSuffixes)
        if (pathExists(from + suffix))
            renameOrRaise(from + suffix, to + suffix);
}
std::string oldName(const std::string& path) { return path + ".old"; }
std::string commitMarkerName(const UserDatabases& databases) { return databases.prayersPath + ".restore-commit"; }

// The permission bits of a user database that has none to keep yet.
constexpr mode_t kPrivateMode = 0600;

// The permission bits a restored image of the database at path takes: those
// of the database it replaces, so that a private journal stays private.
mode_t restoredMode(const std::string& path)
{
    struct stat st{};
    return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) ? (st.st_mode & 07777) : kPrivateMode;
}

// Inflates the zlib stream that starts at offset into a new file at target
// with the permission bits mode (with an empty target, only checks the stream), which must come to exactly
// size bytes and end the stream. Returns false for damaged or short data and
// for a target that cannot be written; for the latter writeError gets the
// system's error number (it stays 0 for damaged data).
bool inflateSection(int backup, std::int64_t offset, std::int64_t size, const std::string& target,
                    std::int64_t& done, std::int64_t total, const BackupProgress& progress, int& writeError,
                    mode_t mode = kPrivateMode)
{
    if (::lseek(backup, offset, SEEK_SET) != offset)
        return false;
    FileHandle out;
    auto failedWrite = [&] {
        writeError = errno != 0 ? errno : EIO;
        return false;
    };
    if (!target.empty()) {
        out = FileHandle(::open(target.c_str(), O_RDWR | O_CREAT | O_TRUNC | O_CLOEXEC, 0600));
        if (!out.isOpen() || ::fchmod(out.fd(), mode) != 0)
            return failedWrite();
    }
    z_stream z{};
    if (inflateInit(&z) != Z_OK)
        return false;
    std::vector<unsigned char> in(kChunk), buffer(kChunk);
    std::int64_t written = 0;
    int rc = Z_OK;
    bool ok = true;
    while (ok && rc != Z_STREAM_END) {
        const ssize_t n = readSome(backup, in.data(), in.size());
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
            if (written > size) {
                ok = false;
                break;
            }
            if (out.isOpen() && !writeAll(out.fd(), buffer.data(), produced)) {
                failedWrite();
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
    if (!out.isOpen())
        return true;
    // An image packed from a database in write-ahead log mode (as earlier
    // backups were) is complete without its log: it is restored as a
    // rollback-journal database, so that no log is ever made beside it.
    unsigned char header[kFormatVersionOffset + 2];
    if (::pread(out.fd(), header, sizeof header, 0) == static_cast<ssize_t>(sizeof header)) {
        const unsigned char before[2] = {header[kFormatVersionOffset], header[kFormatVersionOffset + 1]};
        clearWriteAheadLogMode(header, sizeof header);
        if (std::memcmp(before, header + kFormatVersionOffset, 2) != 0 &&
            ::pwrite(out.fd(), header + kFormatVersionOffset, 2, kFormatVersionOffset) != 2)
            return failedWrite();
    }
    if (::fsync(out.fd()) != 0)
        return failedWrite();
    if (const int error = out.close()) {
        writeError = error;
        return false;
    }
    return true;
}

// What a restore says when the restored databases could not be written
// beside the current ones: a full disk, or a folder that cannot be written.
std::string writeFailureMessage(const std::string& path, int error)
{
    const std::string reason = systemReason(error);
    if (error == ENOSPC || error == EDQUOT || error == EFBIG)
        return withArgs(translatedText("kovara::core::BackupFile",
                                       "There is not enough free space on the disk to restore the backup: %1 could "
                                       "not be written (%2).\n\nYour backup file is fine, and your current data "
                                       "has not been changed. Make room on the disk, then restore again."),
                        path, reason);
    return withArgs(translatedText("kovara::core::BackupFile",
                                   "The restored data could not be written: %1 (%2).\n\nYour backup file is fine, "
                                   "and your current data has not been changed."),
                    path, reason);
}

// Checks the full-text index of an unpacked prayers image, which SQLite's
// integrity check does not cover, and makes a damaged one anew (it is then
// built again from the items). False when the image cannot be opened for
// that or the index cannot be made anew.
bool mendSearchIndex(const std::string& imagePath)
{
    sqlite3* db = nullptr;
    bool ok = sqlite3_open_v2(imagePath.c_str(), &db, SQLITE_OPEN_READWRITE, nullptr) == SQLITE_OK;
    if (ok) {
        try {
            PrayerStore::repairSearchIndex(db);
        } catch (const std::exception&) {
            ok = false;
        }
    }
    return sqlite3_close(db) == SQLITE_OK && ok;
}

// Puts one unpacked image in place of the live database (keeping the live
// one as .old). Repeating it after an interruption finishes the job: once
// the image has been renamed in, there is nothing left to do.
void swapIn(const std::string& path)
{
    if (!pathExists(restoredName(path)))
        return;
    if (pathExists(path)) {
        removeSideFiles(oldName(path)); // they belonged to the .old file being replaced
        renameOrRaise(path, oldName(path));
    }
    // A journal left beside the live database by a writer that died belongs
    // to it, not to the restored image (SQLite would roll it into the image):
    // it goes along to the .old name.
    moveSideFiles(path, oldName(path));
    renameOrRaise(restoredName(path), path);
}

// Undoes swapIn for a database whose image went in (or half went in) during
// this run: the .old file is the database from before the restore.
void swapBack(const std::string& path)
{
    const bool swapped = !pathExists(restoredName(path));
    if (swapped && pathExists(path) && pathExists(oldName(path))) {
        renameOrRaise(path, restoredName(path));
        renameOrRaise(oldName(path), path);
        moveSideFiles(oldName(path), path);
    } else if (!swapped && !pathExists(path) && pathExists(oldName(path))) {
        renameOrRaise(oldName(path), path);
        moveSideFiles(oldName(path), path);
    }
}

// The write lock of a database, taken (waiting up to lockWaitMs for another
// connection's write to end) when made and released when destroyed.
class WriteLock {
public:
    WriteLock(const std::string& path, int lockWaitMs) : path_(path)
    {
        if (sqlite3_open_v2(path.c_str(), &db_, SQLITE_OPEN_READWRITE, nullptr) == SQLITE_OK) {
            sqlite3_busy_timeout(db_, lockWaitMs);
            held_ = sqlite3_exec(db_, "BEGIN EXCLUSIVE;", nullptr, nullptr, nullptr) == SQLITE_OK;
        }
        if (!held_)
            code_ = db_ ? sqlite3_errcode(db_) : SQLITE_CANTOPEN;
    }
    ~WriteLock()
    {
        if (held_)
            sqlite3_exec(db_, "ROLLBACK;", nullptr, nullptr, nullptr);
        sqlite3_close(db_);
    }
    WriteLock(const WriteLock&) = delete;
    WriteLock& operator=(const WriteLock&) = delete;

    // False only while another connection kept its write going for longer
    // than the wait. A database the engine cannot lock for another reason
    // (a file that is not a database, one without write permission) is
    // replaced as it always was: nothing else can be writing to it.
    bool held() const { return held_ || (code_ != SQLITE_BUSY && code_ != SQLITE_LOCKED); }

    // Why the restore stops, for the reader.
    std::string refusal() const
    {
        return withArgs(translatedText("kovara::core::BackupFile",
                                       "The backup was not restored: another program is writing to %1. Try "
                                       "again when it has finished.\n\nYour backup file is fine, and your "
                                       "current data has not been changed."),
                        path_);
    }

private:
    std::string path_;
    sqlite3* db_ = nullptr;
    bool held_ = false;
    int code_ = SQLITE_OK;
};

void removeRestoredImages(const UserDatabases& databases)
{
    for (const std::string& path : {databases.prayersPath, databases.plansPath}) {
        removeQuietly(restoredName(path));
        removeSideFiles(restoredName(path));
    }
}

} // namespace

std::array<unsigned char, kBackupHeaderSize> encodeBackupHeader(const BackupHeader& header)
{
    std::array<unsigned char, kBackupHeaderSize> bytes{};
    std::memcpy(bytes.data(), header.signature.data(),
                std::min<std::size_t>(header.signature.size(), kBackupSignatureSize));
    putLittleEndian(&bytes[46], static_cast<std::uint64_t>(header.prayersOffset), 8);
    putLittleEndian(&bytes[54], static_cast<std::uint64_t>(header.plansOffset), 8);
    putLittleEndian(&bytes[62], static_cast<std::uint64_t>(header.prayersSize), 8);
    putLittleEndian(&bytes[70], static_cast<std::uint64_t>(header.plansSize), 8);
    putLittleEndian(&bytes[78], std::bit_cast<std::uint64_t>(toDayCount(header.created)), 8);
    putLittleEndian(&bytes[86], static_cast<std::uint32_t>(header.version), 4);
    return bytes;
}

BackupHeader decodeBackupHeader(const unsigned char* bytes, std::size_t count)
{
    std::array<unsigned char, kBackupHeaderSize> padded{};
    std::memcpy(padded.data(), bytes, std::min<std::size_t>(count, padded.size()));
    BackupHeader header;
    const char* signature = reinterpret_cast<const char*>(padded.data());
    header.signature.assign(signature, ::strnlen(signature, kBackupSignatureSize));
    header.prayersOffset = static_cast<std::int64_t>(littleEndian(&padded[46], 8));
    header.plansOffset = static_cast<std::int64_t>(littleEndian(&padded[54], 8));
    header.prayersSize = static_cast<std::int64_t>(littleEndian(&padded[62], 8));
    header.plansSize = static_cast<std::int64_t>(littleEndian(&padded[70], 8));
    header.created = fromDayCount(std::bit_cast<double>(littleEndian(&padded[78], 8)));
    header.version = static_cast<std::int32_t>(static_cast<std::uint32_t>(littleEndian(&padded[86], 4)));
    return header;
}

void writeBackupFile(const std::string& backupPath, const UserDatabases& databases, sys_seconds created,
                     const BackupProgress& progress, int lockWaitMs)
{
    // Writing over a database that is being read would destroy it.
    for (const std::string& database : {databases.prayersPath, databases.plansPath}) {
        std::error_code ec;
        if (fs::equivalent(backupPath, database, ec))
            throw Exception(withArgs(translatedText("kovara::core::BackupFile", "Unable to create backup file %1: it is the database %2 itself"), backupPath,
                                   database));
    }
    // Both databases are under a shared lock while their images are taken,
    // so the backup holds one consistent, committed state of each even while
    // another program writes to them.
    DatabaseImage prayers, plans;
    {
        LockedDatabase lockedPrayers(databases.prayersPath, lockWaitMs);
        LockedDatabase lockedPlans(databases.plansPath, lockWaitMs);
        prayers = lockedPrayers.image(databases.prayersTable);
        plans = lockedPlans.image(databases.plansTable);
    }

    // Written under a temporary name and renamed over backupPath only when
    // complete, so a failure never costs the user an earlier backup. The
    // temporary files that killed backups left in this folder (this name's
    // and others') are deleted first; the new one is locked while it is
    // written, so that another copy's backup into the same folder leaves it.
    const std::string partPath = backupPath + kPartSuffix;
    removeStaleBackupParts(fs::path(backupPath).parent_path());
    removeQuietly(partPath);
    FileHandle out(::open(partPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600));
    if (!out.isOpen())
        throw Exception(withArgs(translatedText("kovara::core::BackupFile", "Unable to create backup file %1: %2"), backupPath, systemReason(errno)));
    ::flock(out.fd(), LOCK_EX | LOCK_NB);
    try {
        auto writeFailed = [&](int error) {
            return Exception(withArgs(translatedText("kovara::core::BackupFile", "Unable to write backup file %1: %2"), backupPath, systemReason(error)));
        };
        BackupHeader header;
        header.signature = kBackupSignature;
        header.version = kBackupVersion;
        header.created = created;
        const auto placeholder = encodeBackupHeader(header);
        if (!writeAll(out.fd(), placeholder.data(), placeholder.size()))
            throw writeFailed(errno);

        const std::int64_t total = prayers.size + plans.size;
        std::int64_t done = 0, compressed = 0;
        header.prayersOffset = kBackupHeaderSize;
        header.prayersSize = prayers.size;
        compressInto(prayers.bytes.get(), prayers.size, out.fd(), backupPath, compressed, done, total, progress);
        header.plansOffset = kBackupHeaderSize + compressed;
        header.plansSize = plans.size;
        compressInto(plans.bytes.get(), plans.size, out.fd(), backupPath, compressed, done, total, progress);

        const auto bytes = encodeBackupHeader(header);
        if (::pwrite(out.fd(), bytes.data(), bytes.size(), 0) != static_cast<ssize_t>(bytes.size()))
            throw writeFailed(errno);
        if (::fsync(out.fd()) != 0)
            throw writeFailed(errno);
        if (const int error = out.close())
            throw writeFailed(error);
        if (::rename(partPath.c_str(), backupPath.c_str()) != 0)
            throw writeFailed(errno);
    } catch (...) {
        out.close();
        removeQuietly(partPath);
        throw;
    }
    syncFolderOf(backupPath);
}

BackupCheck checkBackupFile(const std::string& backupPath, BackupHeader* header)
{
    struct stat st{};
    if (::stat(backupPath.c_str(), &st) != 0 || S_ISDIR(st.st_mode))
        return BackupCheck::CannotOpen;
    // A named pipe, a socket or a device is never a backup, and opening or
    // reading one could wait for ever for a writer.
    if (!S_ISREG(st.st_mode))
        return BackupCheck::NotBackup;
    FileHandle file = openRegularFile(backupPath);
    if (!file.isOpen())
        return BackupCheck::CannotOpen;
    unsigned char bytes[kBackupHeaderSize];
    const ssize_t n = readSome(file.fd(), bytes, sizeof bytes);
    if (n < 0)
        return BackupCheck::CannotOpen;
    // A file too short for the header cannot hold the sections either.
    if (n < kBackupHeaderSize)
        return BackupCheck::NotBackup;
    const BackupHeader read = decodeBackupHeader(bytes, static_cast<std::size_t>(n));
    if (read.signature != kBackupSignature || read.version != kBackupVersion)
        return BackupCheck::NotBackup;
    // A backup that was killed before it finished keeps the placeholder
    // header: no sections recorded at all.
    if (read.prayersOffset == 0 && read.plansOffset == 0 && read.prayersSize == 0 && read.plansSize == 0)
        return BackupCheck::NotBackup;
    if (header)
        *header = read;
    return BackupCheck::Valid;
}

std::string backupCheckMessage(BackupCheck check, const std::string& backupPath)
{
    switch (check) {
    case BackupCheck::CannotOpen:
        return withArgs(translatedText("kovara::core::BackupFile", "Unable to open %1"), backupPath);
    case BackupCheck::NotBackup:
        return withArgs(translatedText("kovara::core::BackupFile", "%1 is not a valid Kovara backup file."), backupPath);
    case BackupCheck::Valid:
        break;
    }
    return std::string();
}

RestoreFailed::RestoreFailed() : Exception(translatedText("kovara::core::BackupFile", kRestoreFailedMessage)) {}

RestoreFailed::RestoreFailed(const std::string& message) : Exception(message) {}

bool checkRestoredImage(const std::string& imagePath, const std::string& tableName)
{
    // A journal or log beside the image would be read as part of it (or
    // rolled into it): an image is checked, and restored, alone.
    if (hasSideFiles(imagePath))
        return false;
    sqlite3* db = nullptr;
    const int rc = sqlite3_open_v2(imagePath.c_str(), &db, SQLITE_OPEN_READONLY, nullptr);
    bool ok = false;
    if (rc == SQLITE_OK) {
        try {
            ok = checkImage(db, tableName);
        } catch (const std::exception&) {
            ok = false;
        }
    }
    sqlite3_close(db);
    return ok && !hasSideFiles(imagePath) && headerMatchesFileSize(imagePath);
}

namespace {

// Unpacks both sections of the backup into images named by imageName(P)
// beside each database and checks them (see unpackBackupFile). On failure
// the images are removed and RestoreFailed raised.
void unpackImages(const std::string& backupPath, const UserDatabases& databases, const BackupProgress& progress,
                  std::string (*imageName)(const std::string&))
{
    auto removeImages = [&] {
        for (const std::string& path : {databases.prayersPath, databases.plansPath}) {
            removeQuietly(imageName(path));
            removeSideFiles(imageName(path));
        }
    };
    removeImages();
    bool ok = false;
    int writeError = 0;
    std::string failedPath; // the image that could not be written, in a sound backup
    BackupHeader header;
    if (checkBackupFile(backupPath, &header) == BackupCheck::Valid) {
        FileHandle backup = openRegularFile(backupPath);
        struct stat st{};
        if (backup.isOpen() && ::fstat(backup.fd(), &st) == 0) {
            const std::int64_t fileSize = st.st_size;
            auto inFile = [&](std::int64_t offset) { return offset >= kBackupHeaderSize && offset < fileSize; };
            if (inFile(header.prayersOffset) && inFile(header.plansOffset) && header.prayersSize >= 0 &&
                header.plansSize >= 0) {
                // Sizes are only compared with, never allocated from; the
                // total is for progress alone and cannot overflow here.
                const std::int64_t total = fileSize - kBackupHeaderSize;
                std::int64_t done = 0;
                const bool prayersWritten =
                    inflateSection(backup.fd(), header.prayersOffset, header.prayersSize,
                                   imageName(databases.prayersPath), done, total, progress, writeError,
                                   restoredMode(databases.prayersPath));
                if (!prayersWritten && writeError != 0)
                    failedPath = imageName(databases.prayersPath);
                ok = prayersWritten &&
                     inflateSection(backup.fd(), header.plansOffset, header.plansSize,
                                    imageName(databases.plansPath), done, total, progress, writeError,
                                    restoredMode(databases.plansPath)) &&
                     mendSearchIndex(imageName(databases.prayersPath)) &&
                     checkRestoredImage(imageName(databases.prayersPath), databases.prayersTable) &&
                     checkRestoredImage(imageName(databases.plansPath), databases.plansTable);
                if (!ok && writeError != 0 && failedPath.empty())
                    failedPath = imageName(databases.plansPath);
                // A file that could not be written says nothing about the
                // backup: its sections are read to the end to tell the
                // reader whether it is sound.
                if (!ok && writeError != 0) {
                    removeImages();
                    int unused = 0;
                    std::int64_t checked = 0;
                    const bool sound = inflateSection(backup.fd(), header.prayersOffset, header.prayersSize,
                                                      std::string(), checked, total, {}, unused) &&
                                       inflateSection(backup.fd(), header.plansOffset, header.plansSize,
                                                      std::string(), checked, total, {}, unused);
                    if (!sound)
                        failedPath.clear();
                }
            }
        }
    }
    if (!ok) {
        removeImages();
        if (!failedPath.empty())
            throw RestoreFailed(writeFailureMessage(failedPath, writeError));
        throw RestoreFailed();
    }
    syncFolderOf(databases.prayersPath);
    syncFolderOf(databases.plansPath);
}

} // namespace

void unpackBackupFile(const std::string& backupPath, const UserDatabases& databases, const BackupProgress& progress)
{
    // A restore left half done by an earlier failure is settled first, so
    // that its leftovers cannot mix with this one.
    recoverInterruptedRestore(databases);
    unpackImages(backupPath, databases, progress, restoredName);
}

void checkBackupContents(const std::string& backupPath, const UserDatabases& databases,
                         const BackupProgress& progress)
{
    unpackImages(backupPath, databases, progress, checkedName);
    for (const std::string& path : {databases.prayersPath, databases.plansPath})
        removeQuietly(checkedName(path));
}

void replaceWithRestoredImages(const UserDatabases& databases)
{
    const std::string marker = commitMarkerName(databases);
    {
        FileHandle file(::open(marker.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600));
        int error = !file.isOpen() || ::fsync(file.fd()) != 0 ? errno : file.close();
        if (error != 0) {
            file.close();
            removeQuietly(marker);
            removeRestoredImages(databases);
            throw RestoreFailed(writeFailureMessage(marker, error));
        }
        syncFolderOf(marker);
    }
    try {
        swapIn(databases.prayersPath);
        swapIn(databases.plansPath);
        syncFolderOf(databases.prayersPath);
        syncFolderOf(databases.plansPath);
    } catch (const std::exception&) {
        try {
            swapBack(databases.plansPath);
            swapBack(databases.prayersPath);
            syncFolderOf(databases.prayersPath);
            syncFolderOf(databases.plansPath);
            removeRestoredImages(databases);
            removeQuietly(marker);
        } catch (const std::exception&) {
            // The marker stays: the next start finishes the restore.
        }
        throw RestoreFailed();
    }
    removeQuietly(marker);
    syncFolderOf(marker);
}

void restoreBackupFiles(const std::string& backupPath, const UserDatabases& databases, const BackupProgress& progress,
                        int lockWaitMs)
{
    unpackBackupFile(backupPath, databases, progress);
    // Another program in the middle of a write to a database would go on
    // writing into the replaced file (or leave its journal to the restored
    // one): its write is waited for, as a backup waits, and no new one can
    // start until both images are in place.
    std::vector<std::unique_ptr<WriteLock>> locks;
    for (const std::string& path : {databases.prayersPath, databases.plansPath}) {
        if (!pathExists(path))
            continue;
        auto lock = std::make_unique<WriteLock>(path, lockWaitMs);
        if (!lock->held()) {
            const std::string message = lock->refusal();
            locks.clear();
            removeRestoredImages(databases);
            throw RestoreFailed(message);
        }
        locks.push_back(std::move(lock));
    }
    replaceWithRestoredImages(databases);
}

bool recoverInterruptedRestore(const UserDatabases& databases)
{
    const std::string marker = commitMarkerName(databases);
    if (pathExists(marker)) {
        try {
            swapIn(databases.prayersPath);
            swapIn(databases.plansPath);
            syncFolderOf(databases.prayersPath);
            syncFolderOf(databases.plansPath);
            removeQuietly(marker);
        } catch (const std::exception&) {
            // Left for the next start; the stores open what is there.
        }
        return true;
    }
    const bool leftovers = pathExists(restoredName(databases.prayersPath)) || pathExists(restoredName(databases.plansPath));
    removeRestoredImages(databases);
    for (const std::string& path : {databases.prayersPath, databases.plansPath}) {
        removeQuietly(checkedName(path));
        removeSideFiles(checkedName(path));
    }
    return leftovers;
}

} // namespace kovara::core
