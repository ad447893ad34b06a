#include "core/sync/replica_state.h"

#include "core/base/exception.h"
#include "core/sync/sync_codec.h"

namespace kovara::core {

bool ReplicaState::addReplaced(FieldLeaves& leaves, const Stamp& stamp)
{
    if (stamp.isNull() || !leaves.replaced.insert(stamp).second)
        return false;
    leaves.leaves.erase(stamp);
    return true;
}

bool ReplicaState::applyValue(EntityKind kind, const std::string& entity, const std::string& field,
                              const FieldValue& v)
{
    EntityState& e = entities_[EntityKey{kind, entity}];
    bool changed = false;
    auto it = e.fields.find(field);
    if (it == e.fields.end()) {
        e.fields.emplace(field, v);
        changed = true;
    } else if (it->second.stamp < v.stamp) {
        it->second = v;
        changed = true;
    }
    if (keepsEveryValue(kind, field)) {
        FieldLeaves& h = e.history[field];
        changed = addReplaced(h, v.base) || changed;
        if (!h.replaced.count(v.stamp) && h.leaves.emplace(v.stamp, v).second)
            changed = true;
    }
    if (latest_ < v.stamp)
        latest_ = v.stamp;
    return changed;
}

bool ReplicaState::apply(const Change& change)
{
    return applyValue(change.kind, change.entity, change.field, FieldValue{change.stamp, change.value, change.base});
}

bool ReplicaState::merge(const ReplicaState& other)
{
    bool changed = false;
    for (const auto& [key, theirs] : other.entities_) {
        for (const auto& [field, v] : theirs.fields) {
            if (!keepsEveryValue(key.first, field))
                changed = applyValue(key.first, key.second, field, v) || changed;
        }
        for (const auto& [field, h] : theirs.history) {
            FieldLeaves& mine = entities_[key].history[field];
            for (const Stamp& s : h.replaced)
                changed = addReplaced(mine, s) || changed;
            for (const auto& [stamp, v] : h.leaves)
                changed = applyValue(key.first, key.second, field, v) || changed;
            // The field's value may be one the other side had already
            // written over; it still decides the register.
            auto f = theirs.fields.find(field);
            if (f != theirs.fields.end()) {
                EntityState& e = entities_[key];
                auto it = e.fields.find(field);
                if (it == e.fields.end() || it->second.stamp < f->second.stamp) {
                    e.fields[field] = f->second;
                    changed = true;
                }
                if (latest_ < f->second.stamp)
                    latest_ = f->second.stamp;
            }
        }
    }
    return changed;
}

const EntityState* ReplicaState::entity(EntityKind kind, const std::string& id) const
{
    auto it = entities_.find(EntityKey{kind, id});
    return it == entities_.end() ? nullptr : &it->second;
}

std::optional<std::string> ReplicaState::value(EntityKind kind, const std::string& id, const std::string& field) const
{
    const EntityState* e = entity(kind, id);
    if (!e)
        return std::nullopt;
    auto it = e->fields.find(field);
    if (it == e->fields.end())
        return std::nullopt;
    return it->second.value;
}

bool ReplicaState::isLive(EntityKind kind, const std::string& id) const
{
    const EntityState* e = entity(kind, id);
    if (!e)
        return false;
    auto deleted = e->fields.find(kDeletedField);
    if (deleted == e->fields.end() || deleted->second.value != "1")
        return true;
    for (const auto& [field, v] : e->fields) {
        if (field != kDeletedField && deleted->second.stamp < v.stamp)
            return true;
    }
    return false;
}

std::vector<ConflictCopy> ReplicaState::conflictCopies() const
{
    std::vector<ConflictCopy> copies;
    for (const auto& [key, e] : entities_) {
        for (const auto& [field, h] : e.history) {
            auto current = e.fields.find(field);
            for (const auto& [stamp, v] : h.leaves) {
                if (current == e.fields.end() || current->second.stamp != stamp)
                    copies.push_back(ConflictCopy{key.first, key.second, field, v});
            }
        }
    }
    return copies;
}

namespace {

void writeValue(ByteWriter& w, const FieldValue& v)
{
    w.stamp(v.stamp);
    w.text(v.value);
    w.stamp(v.base);
}

FieldValue readValue(ByteReader& r)
{
    FieldValue v;
    v.stamp = r.stamp();
    v.value = r.text();
    v.base = r.stamp();
    return v;
}

} // namespace

std::string ReplicaState::toBytes() const
{
    ByteWriter w;
    w.number(entities_.size());
    for (const auto& [key, e] : entities_) {
        w.byte(static_cast<unsigned char>(key.first));
        w.text(key.second);
        w.number(e.fields.size());
        for (const auto& [field, v] : e.fields) {
            w.text(field);
            writeValue(w, v);
        }
        w.number(e.history.size());
        for (const auto& [field, h] : e.history) {
            w.text(field);
            // The field's own value is a leaf too: written once, in the field.
            auto current = e.fields.find(field);
            w.number(h.leaves.size());
            for (const auto& [stamp, v] : h.leaves) {
                const bool isCurrent = current != e.fields.end() && current->second.stamp == stamp;
                w.byte(isCurrent ? 1 : 0);
                if (isCurrent)
                    w.stamp(stamp);
                else
                    writeValue(w, v);
            }
            w.number(h.replaced.size());
            for (const Stamp& s : h.replaced)
                w.stamp(s);
        }
    }
    return std::move(w.bytes());
}

ReplicaState ReplicaState::fromBytes(const std::string& bytes)
{
    ReplicaState state;
    ByteReader r(bytes);
    const std::uint64_t entities = r.number();
    for (std::uint64_t i = 0; i < entities; ++i) {
        const unsigned char kind = r.byte();
        if (kind > static_cast<unsigned char>(EntityKind::Note))
            throw Exception("Damaged change data");
        EntityKey key{static_cast<EntityKind>(kind), r.text()};
        EntityState& e = state.entities_[key];
        const std::uint64_t fields = r.number();
        for (std::uint64_t f = 0; f < fields; ++f) {
            std::string field = r.text();
            FieldValue v = readValue(r);
            if (state.latest_ < v.stamp)
                state.latest_ = v.stamp;
            e.fields[std::move(field)] = std::move(v);
        }
        const std::uint64_t histories = r.number();
        for (std::uint64_t f = 0; f < histories; ++f) {
            const std::string field = r.text();
            FieldLeaves& h = e.history[field];
            const std::uint64_t leaves = r.number();
            for (std::uint64_t l = 0; l < leaves; ++l) {
                if (r.byte() == 1) {
                    const Stamp stamp = r.stamp();
                    auto current = e.fields.find(field);
                    if (current == e.fields.end() || current->second.stamp != stamp)
                        throw Exception("Damaged change data");
                    h.leaves[stamp] = current->second;
                } else {
                    FieldValue v = readValue(r);
                    h.leaves[v.stamp] = v;
                }
            }
            const std::uint64_t replaced = r.number();
            for (std::uint64_t l = 0; l < replaced; ++l)
                h.replaced.insert(r.stamp());
        }
    }
    if (!r.atEnd())
        throw Exception("Damaged change data");
    return state;
}

} // namespace kovara::core
