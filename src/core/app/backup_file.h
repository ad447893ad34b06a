#pragma once
// The backup file (*.kova2bak) and the file work behind backup and restore.
//
// Layout, all numbers little-endian:
//   0   90 bytes  header (BackupHeader, packed as below)
//   90  ...       prayers section: a zlib stream (level 9) of prayers.kova2
//   ... ...       plans section: a zlib stream (level 9) of userreadplans.kova2,
//                 starting at the byte after the prayers section; nothing follows.
// Header: 0 Signature (46 bytes, text then zero bytes), 46 prayersOffset (int64),
// 54 plansOffset (int64), 62 prayersSize (int64), 70 plansSize (int64),
// 78 Created (double date-time), 86 Version (int32, 20).
//
// Everything here works on file paths; it never opens a store. The shell
// closes both stores, calls in here and reopens both stores whatever happened:
//
//   backup:  close stores; writeBackupFile(...) (copies each database's
//            committed pages under a shared lock, so another program cannot
//            change it mid-copy, whatever its journal mode); reopen stores
//   restore: checkBackupFile (refuse with backupCheckMessage unless Valid);
//            checkBackupContents (refuse with its message when it raises);
//            confirm with the user; close stores;
//            restoreBackupFiles(...) (raises RestoreFailed, current data intact);
//            reopen stores
//   start-up, before either store is opened: recoverInterruptedRestore(...)
//
// Files beside the databases (P is each database's path):
//   P + ".old"        the database as it was before the last successful restore
//   P + ".restored"   a restored image being written or waiting to be swapped in
//   prayers path + ".restore-commit"
//                     present from the moment both restored images are complete
//                     and checked until both have been swapped in
//
// Why a restore can be killed at any moment and still leave old or new data:
//   1. both images are written to P.restored, flushed to disk and checked
//      (table present, SQLite's integrity check, no journal beside it, header
//      size matching the file); the live databases are not touched. Killed here: no commit marker, so the
//      next start deletes the .restored files and the old data stays.
//   2. the commit marker is created (and flushed). From now on the restore is
//      finished forward, never backward.
//   3. for each database: rename P over P.old, then rename P.restored over P.
//      Each rename is atomic. Killed anywhere here: the marker is present, and
//      the next start repeats step 3 for every database whose P.restored still
//      exists (P is renamed to P.old only when P still exists), which ends with
//      both restored databases in place.
//   4. the marker is deleted.
// A failure in step 1 deletes the .restored files; a failure in step 3 swaps
// back what was already swapped (and if even that fails, the marker is left so
// the next start finishes the restore).
#include "core/base/datetime.h"
#include "core/base/exception.h"
#include "core/base/translation.h"

#include <array>
#include <cstdint>
#include <functional>
#include <string>

namespace kovara::core {

constexpr int kBackupHeaderSize = 90;
constexpr int kBackupSignatureSize = 46;
constexpr const char* kBackupSignature = "Kovara backup [schema 2.0]";
constexpr std::int32_t kBackupVersion = 20;

struct BackupHeader {
    std::string signature; // up to the first zero byte of the 46-byte field
    std::int64_t prayersOffset = 0;
    std::int64_t plansOffset = 0;
    std::int64_t prayersSize = 0;
    std::int64_t plansSize = 0;
    sys_seconds created{}; // kept in the file as a day count
    std::int32_t version = 0;
};

// The 90 header bytes. A signature longer than its field is cut to 46 bytes.
std::array<unsigned char, kBackupHeaderSize> encodeBackupHeader(const BackupHeader& header);
// Reads a header from up to 90 bytes; missing bytes count as zero.
BackupHeader decodeBackupHeader(const unsigned char* bytes, std::size_t count);

// The two user databases, and for each the table a real one always holds
// (the stores create it when they open a new file).
struct UserDatabases {
    std::string prayersPath;
    std::string plansPath;
    std::string prayersTable = "prayerTracker";
    std::string plansTable = "KOVA2PlanMaster";
};

// Called with the bytes done so far and the total, during long copies. The
// total is the sum of both database sizes (known before the copy starts).
using BackupProgress = std::function<void(std::int64_t done, std::int64_t total)>;

// How long a backup waits for another program's write to a database to end.
constexpr int kBackupLockWaitMs = 3000;

// Writes a backup of both databases (which this process must have closed) to
// backupPath. Each database is read through SQLite under its shared lock,
// waiting up to lockWaitMs for a writer to finish, so the image holds every
// committed change (also those still in the write-ahead log of a database
// another program keeps open). Each image is stored as a rollback-journal
// database and checked as a restore checks it (expected table, integrity
// check) before anything is written, so the file always holds images that
// restore. The file (its owner's alone) is written under backupPath + ".part"
// (the .part files that killed backups left in that folder are deleted
// first; another program's are left) and renamed over
// backupPath only when complete and flushed, so on any failure an earlier
// file of that name is left as it was and no partial file remains. Raises
// Exception: "Unable to read %s" (a database: missing, locked by a writer for
// too long, damaged), "Unable to create backup file %s", "Unable to write
// backup file %s" (each followed by the reason). A backupPath that names one
// of the databases is refused before anything is written.
void writeBackupFile(const std::string& backupPath, const UserDatabases& databases, sys_seconds created,
                     const BackupProgress& progress = {}, int lockWaitMs = kBackupLockWaitMs);

enum class BackupCheck { Valid, CannotOpen, NotBackup };

// Opens the file and checks its signature and version (reads the 90-byte
// header; a shorter file is never valid, nor is one whose header was never
// completed - the temporary file of a backup that was killed). Anything
// but a regular file (a named pipe, a device) is NotBackup without being
// opened, so the check never waits. Fills header when given and the answer
// is Valid. Never raises.
BackupCheck checkBackupFile(const std::string& backupPath, BackupHeader* header = nullptr);

// The notice for a check that is not Valid: "Unable to open <path>" or
// "<path> is not a valid Kovara backup file."; empty for Valid.
std::string backupCheckMessage(BackupCheck check, const std::string& backupPath);

// Raised when a restore could not be completed. The current databases are as
// they were before the restore started.
class RestoreFailed : public Exception {
public:
    // With kRestoreFailedMessage: the backup is damaged.
    RestoreFailed();
    // With a message of its own: the backup is sound, but the restored data
    // could not be written (a full disk, a folder that cannot be written).
    explicit RestoreFailed(const std::string& message);
};

// The message every failed restore shows.
constexpr const char* kRestoreFailedMessage = QT_TRANSLATE_NOOP("kovara::core::BackupFile",
    "An error occurred while restoring backup data. Operation aborted. Your backup file is probably damaged.");

// Step 1 of a restore (the databases must be closed, because a restore left
// half done by an earlier failure is finished first): unpacks both sections into P.restored beside each
// database, streaming (no buffer is sized from the header), makes an image
// stored in write-ahead log mode a rollback-journal one (it has no log),
// flushes them and checks each with checkRestoredImage. The live databases are not touched.
// Any damage - a file that is not a backup, offsets or sizes that are
// negative or outside the file, a section that ends early, holds more than its
// size or fails zlib's checksum, an image that fails checkRestoredImage - or a file that cannot be written deletes the .restored
// files and raises RestoreFailed: for damage with kRestoreFailedMessage; for a
// file that cannot be written (once the backup has been read to its end and
// found sound) with a message naming the file and the reason, a full disk
// first of all.
void unpackBackupFile(const std::string& backupPath, const UserDatabases& databases,
                      const BackupProgress& progress = {});

// The whole check of unpackBackupFile, made before the reader is asked to
// agree to a restore: both images are unpacked under temporary names beside
// the databases (P + ".restore-check"), checked and deleted again. The
// databases may be open meanwhile; nothing of theirs is touched. Raises
// RestoreFailed as unpackBackupFile does, with nothing left behind.
void checkBackupContents(const std::string& backupPath, const UserDatabases& databases,
                         const BackupProgress& progress = {});

// True when the file opens read-only as an SQLite database holding the table,
// passes SQLite's integrity check, has no journal or log beside it and is as
// long as its header says (a copy taken in the middle of a write is not).
bool checkRestoredImage(const std::string& imagePath, const std::string& tableName);

// Steps 2 to 4: swaps both unpacked images in, keeping the current databases as
// P.old (replacing older .old files). Requires a successful unpackBackupFile.
// On failure undoes what it did as far as it can and raises RestoreFailed.
void replaceWithRestoredImages(const UserDatabases& databases);

// unpackBackupFile then replaceWithRestoredImages (the databases must be
// closed), holding both databases' write locks meanwhile: another program's
// write is waited for up to lockWaitMs, and none can start until the
// images are in. Raises RestoreFailed with the current data intact (for a
// write that did not end in time, with a message that says so).
void restoreBackupFiles(const std::string& backupPath, const UserDatabases& databases,
                        const BackupProgress& progress = {}, int lockWaitMs = kBackupLockWaitMs);

// Run at start-up before either database is opened: finishes a restore that
// was interrupted after its commit point, or throws away the leftovers of one
// interrupted before it. Does nothing when there is nothing to do. Returns
// true when it found something to finish or clean. File system errors are
// ignored here (the stores then open what is there).
bool recoverInterruptedRestore(const UserDatabases& databases);

} // namespace kovara::core
