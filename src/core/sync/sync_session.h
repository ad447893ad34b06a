#pragma once
// One computer's side of keeping the reader's data in step: what it knows
// (the replica state), its clock, and where it stopped reading the other
// computers' files, kept between runs in a file of the user data folder
// (never in a backup, so a restored backup on another computer does not
// take this computer's id along). It turns what the reader changed into
// changes to send and writes what arrived into the stores.
//
// All of it runs on the thread that owns the stores; reading and writing the
// folder (SyncFolder) may run elsewhere and hands over plain data.
#include "core/sync/hybrid_clock.h"
#include "core/sync/replica_state.h"
#include "core/sync/store_binding.h"
#include "core/sync/sync_folder.h"

#include <cstdint>
#include <set>
#include <string>
#include <vector>

namespace kovara::core {

class SyncSession {
public:
    // stateFile is where the session is kept between runs.
    SyncSession(std::string stateFile, std::string computerId);

    // Reads the kept session; a missing or damaged file starts afresh (the
    // other computers' files are then read again from their start, which
    // changes nothing already known).
    void load();
    // Writes the session in full before it takes the file's name. Raises
    // Exception when it cannot be written.
    void save() const;

    const std::string& computerId() const { return computerId_; }
    const ReplicaState& state() const { return state_; }
    const SyncFolder::Positions& positions() const { return positions_; }
    void setPositions(SyncFolder::Positions positions) { positions_ = std::move(positions); }

    // What the reader changed in the stores since the last call, and this
    // computer's name when it changed: applied to the state and returned to
    // be written to the folder. When the stores are still behind the state
    // (a write that failed before), they are brought up to it first, so a
    // change that arrived is never sent back as the reader's.
    // scope: the StoreBinding::Scope of the stores the reader may have
    // changed.
    std::vector<Change> captureLocal(StoreBinding& binding, const std::string& computerName, std::int64_t nowMs,
                                     unsigned scope = StoreBinding::Everything);

    struct Outcome {
        // The things written to the stores (their pages are out of date).
        std::set<EntityKey> written;
        // Texts typed on two computers at once, kept as dated notes now.
        int keptCopies = 0;
        // Changes this computer made in answer (the notes above), to send.
        std::vector<Change> toSend;
    };
    // Merges what arrived into the state and writes the result into the
    // stores. When a store raises (a lock), the state keeps what arrived and
    // the stores are brought up to it at the next call; the error passes on.
    Outcome takeIn(const IncomingChanges& incoming, StoreBinding& binding, std::int64_t nowMs);

private:
    Stamp stamp(std::int64_t nowMs);

    std::string stateFile_;
    std::string computerId_;
    ReplicaState state_;
    HybridClock clock_;
    SyncFolder::Positions positions_;
    bool storesBehind_ = false;
};

// A new random computer id: 16 lower-case hexadecimal digits.
std::string newComputerId();

} // namespace kovara::core
