#pragma once
// The folder a sync engine keeps in step between the reader's computers.
// Each computer writes only into a folder of its own, named by its id:
//
//   <folder>/<computer id>/changes-000001.kvsync   changes, appended as made
//   <folder>/<computer id>/snapshot-000002.kvsync  everything it knew then
//
// and reads every other computer's files. A snapshot lets a computer that
// joins later start from it instead of years of changes; after writing one,
// a computer removes its own older files. Files are runs of checked frames
// (see sync_codec.h), so a file the engine is still copying is read up to
// its last complete frame. Names that engines use while copying (hidden
// names, "*.tmp", "*.part") are left alone; conflict copies the engine makes
// of a file ("*.sync-conflict-*", "(conflicted copy)") are read like any
// other. Nothing here deletes the reader's data: files that vanish only stop
// bringing changes. No Qt; one thread at a time.
#include "core/sync/change.h"

#include <cstdint>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

namespace kovara::core {

// What the other computers' files held that was not read before.
struct IncomingChanges {
    std::vector<Change> changes;
    std::vector<std::string> states; // bytes for ReplicaState::fromBytes
    bool empty() const { return changes.empty() && states.empty(); }
};

class SyncFolder {
public:
    // Where reading stopped in each file, by path relative to the folder.
    using Positions = std::map<std::string, std::uint64_t>;

    SyncFolder(std::filesystem::path folder, std::string computerId);

    const std::filesystem::path& folder() const { return folder_; }
    // This computer's own folder inside it.
    std::filesystem::path ownFolder() const { return folder_ / computerId_; }

    // Appends the changes to this computer's current change file, flushed.
    // Raises Exception with a message for the reader when the folder is
    // gone, full or read-only; nothing is written then.
    void write(const std::vector<Change>& changes);
    // Writes a snapshot (ReplicaState::toBytes) as a new file, in full
    // before it takes its name, then removes this computer's older files and
    // starts a new change file. Raises as write does.
    void writeSnapshot(const std::string& stateBytes);
    // True when this computer's own folder holds no file: it was never
    // written, or the engine removed it (the caller then writes a snapshot so
    // the others get everything again).
    bool ownFilesMissing() const;

    // Reads what is new in the other computers' files (and in conflict
    // copies of this computer's own). Raises Exception with a message for
    // the reader when the folder is not there.
    IncomingChanges readOthers();

    // Kept by the caller between runs, so files are not read again.
    const Positions& positions() const { return positions_; }
    void setPositions(Positions positions) { positions_ = std::move(positions); }

    // Whether an engine's file name is one to read: a finished file of ours or
    // a conflict copy of one; not a name used while copying.
    static bool isExchangeFile(const std::string& name);

private:
    // Makes this computer's folder when missing; raises the reader's message
    // when the synced folder itself is gone or cannot be written.
    void makeOwnFolder() const;
    void append(const std::string& bytes);
    int nextNumber() const;

    std::filesystem::path folder_;
    std::string computerId_;
    std::filesystem::path current_; // the change file appended to; empty until the first write
    Positions positions_;
};

} // namespace kovara::core
