#pragma once
// What one computer knows of the reader's data, merged from every change it
// made or read. Each field of each thing is a register that keeps the value
// with the latest stamp (last writer wins; the computer id breaks a tie of
// clocks), so the state depends only on which changes arrived, never on
// their order or on how often one arrived. A plan day's read mark is a field
// of its own ("read:<day>"), so marks made on two computers on different
// days never overwrite each other.
//
// A deletion is the field kDeletedField set to "1": it hides the thing from
// every change older than it, but an edit made later (on a computer that
// had not seen the deletion) brings the thing back.
//
// For the fields keepsEveryValue names, the state also keeps every value
// that no later change was written over (the leaves of the field's history):
// the latest is the field's value, and the others - texts typed on two
// computers that had not seen each other's change - are offered as copies
// (conflictCopies) so that nothing typed is lost.
#include "core/sync/change.h"

#include <map>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

namespace kovara::core {

struct FieldValue {
    Stamp stamp;
    std::string value;
    Stamp base; // see Change::base
    friend bool operator==(const FieldValue& a, const FieldValue& b)
    {
        return a.stamp == b.stamp && a.value == b.value && a.base == b.base;
    }
};

// The history of a field that keeps every value: values nothing was written
// over, and the stamps other values were written over.
struct FieldLeaves {
    std::map<Stamp, FieldValue> leaves;
    std::set<Stamp> replaced;
    friend bool operator==(const FieldLeaves& a, const FieldLeaves& b)
    {
        return a.leaves == b.leaves && a.replaced == b.replaced;
    }
};

struct EntityState {
    std::map<std::string, FieldValue> fields;
    std::map<std::string, FieldLeaves> history;
    friend bool operator==(const EntityState& a, const EntityState& b)
    {
        return a.fields == b.fields && a.history == b.history;
    }
};

using EntityKey = std::pair<EntityKind, std::string>;

// A value that lost to a concurrent one and is kept beside it.
struct ConflictCopy {
    EntityKind kind;
    std::string entity;
    std::string field;
    FieldValue lost;
};

class ReplicaState {
public:
    // Applies one change; true when the state changed (false for a change
    // already applied or older than what the field holds).
    bool apply(const Change& change);
    // Takes in everything another state knows (a snapshot); the result is
    // the same as having applied both states' changes. True when anything changed.
    bool merge(const ReplicaState& other);

    const std::map<EntityKey, EntityState>& entities() const { return entities_; }
    const EntityState* entity(EntityKind kind, const std::string& id) const;
    // The field's value, or nothing when never set.
    std::optional<std::string> value(EntityKind kind, const std::string& id, const std::string& field) const;
    // False for a thing never seen and for one whose deletion is newer than
    // every other change to it.
    bool isLive(EntityKind kind, const std::string& id) const;
    // Every value kept beside a concurrent later one, for all things (live or
    // not), in a fixed order.
    std::vector<ConflictCopy> conflictCopies() const;
    // The latest stamp of any change applied; null when empty.
    const Stamp& latest() const { return latest_; }

    // The whole state as bytes, and back. fromBytes raises Exception on
    // bytes it cannot read.
    std::string toBytes() const;
    static ReplicaState fromBytes(const std::string& bytes);

    friend bool operator==(const ReplicaState& a, const ReplicaState& b) { return a.entities_ == b.entities_; }

private:
    bool applyValue(EntityKind kind, const std::string& entity, const std::string& field, const FieldValue& v);
    bool addReplaced(FieldLeaves& leaves, const Stamp& stamp);

    std::map<EntityKey, EntityState> entities_;
    Stamp latest_;
};

} // namespace kovara::core
