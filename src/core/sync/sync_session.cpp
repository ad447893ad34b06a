#include "core/sync/sync_session.h"

#include "core/base/atomic_file.h"
#include "core/base/exception.h"
#include "core/sync/store_binding.h"
#include "core/sync/sync_codec.h"

#include <fmt/format.h>

#include <fstream>
#include <random>
#include <sstream>

namespace kovara::core {

namespace {
constexpr unsigned char kSessionRecord = 'L';
}

SyncSession::SyncSession(std::string stateFile, std::string computerId)
    : stateFile_(std::move(stateFile)), computerId_(std::move(computerId))
{
}

void SyncSession::load()
{
    std::ifstream in(stateFile_, std::ios::binary);
    if (!in)
        return;
    std::ostringstream bytes;
    bytes << in.rdbuf();
    const std::string content = bytes.str();
    const std::optional<std::string> payload = onlyPayload(content);
    if (!payload || payload->empty() || static_cast<unsigned char>((*payload)[0]) != kSessionRecord)
        return;
    try {
        ByteReader r(*payload);
        r.byte();
        const std::string id = r.text();
        if (id != computerId_)
            return; // another computer's session (a copied data folder): start afresh
        Hlc last;
        last.wallMs = static_cast<std::int64_t>(r.number());
        last.counter = static_cast<std::uint32_t>(r.number());
        const bool behind = r.byte() != 0;
        SyncFolder::Positions positions;
        for (std::uint64_t n = r.number(); n > 0; --n) {
            std::string path = r.text();
            positions[path] = r.number();
        }
        ReplicaState state = ReplicaState::fromBytes(r.text());
        clock_ = HybridClock(last);
        positions_ = std::move(positions);
        state_ = std::move(state);
        storesBehind_ = behind;
    } catch (const Exception&) {
        // damaged: start afresh
    }
}

void SyncSession::save() const
{
    ByteWriter w;
    w.byte(kSessionRecord);
    w.text(computerId_);
    w.number(static_cast<std::uint64_t>(clock_.last().wallMs));
    w.number(clock_.last().counter);
    w.byte(storesBehind_ ? 1 : 0);
    w.number(positions_.size());
    for (const auto& [path, position] : positions_) {
        w.text(path);
        w.number(position);
    }
    w.text(state_.toBytes());
    AtomicFile file(stateFile_);
    if (!file.ok() || !file.write(frame(w.bytes())) || !file.commit())
        throw Exception(format("Could not write %s: %s", stateFile_, file.error()));
}

Stamp SyncSession::stamp(std::int64_t nowMs) { return Stamp{clock_.tick(nowMs), computerId_}; }

std::vector<Change> SyncSession::captureLocal(StoreBinding& binding, const std::string& computerName,
                                              std::int64_t nowMs, unsigned scope)
{
    if (storesBehind_) {
        binding.applyToStores(state_);
        storesBehind_ = false;
    }
    std::vector<Change> changes = binding.capture(state_, [&] { return stamp(nowMs); }, scope);
    if (state_.value(EntityKind::Computer, computerId_, "name") != computerName) {
        Change name{stamp(nowMs), EntityKind::Computer, computerId_, "name", computerName, {}};
        state_.apply(name);
        changes.push_back(std::move(name));
    }
    return changes;
}

SyncSession::Outcome SyncSession::takeIn(const IncomingChanges& incoming, StoreBinding& binding, std::int64_t nowMs)
{
    Outcome outcome;
    bool changed = false;
    for (const std::string& bytes : incoming.states) {
        try {
            const ReplicaState state = ReplicaState::fromBytes(bytes);
            clock_.observe(state.latest().hlc, nowMs);
            changed = state_.merge(state) || changed;
        } catch (const Exception&) {
            // a snapshot of a later version: its changes come in its change files too
        }
    }
    for (const Change& c : incoming.changes) {
        clock_.observe(c.stamp.hlc, nowMs);
        changed = state_.apply(c) || changed;
    }
    if (!changed && !storesBehind_)
        return outcome;
    outcome.toSend = binding.keepLostTexts(state_, [&] { return stamp(nowMs); }, &outcome.keptCopies);
    storesBehind_ = true;
    outcome.written = binding.applyToStores(state_);
    storesBehind_ = false;
    return outcome;
}

std::string newComputerId()
{
    std::random_device device;
    std::uniform_int_distribution<std::uint64_t> any;
    const std::uint64_t value = any(device) ^ (static_cast<std::uint64_t>(device()) << 32);
    return fmt::format("{:016x}", value);
}

} // namespace kovara::core
