#pragma once
// One change to the reader's data as the computers exchange it: which
// computer made it and when (its stamp), which thing it is about (a kind and
// the thing's lasting id), which field, and the field's new value. A field
// named kDeletedField holds "1" while the thing is deleted and "0" once it
// is back (an undone deletion).
#include "core/sync/hybrid_clock.h"

#include <cstdint>
#include <string>

namespace kovara::core {

// When and where a change was made. Stamps are totally ordered: by clock,
// then by computer id, so two computers never tie.
struct Stamp {
    Hlc hlc;
    std::string computer;

    bool isNull() const { return hlc.isNull() && computer.empty(); }
    friend bool operator==(const Stamp& a, const Stamp& b) { return a.hlc == b.hlc && a.computer == b.computer; }
    friend bool operator!=(const Stamp& a, const Stamp& b) { return !(a == b); }
    friend bool operator<(const Stamp& a, const Stamp& b)
    {
        return a.hlc != b.hlc ? a.hlc < b.hlc : a.computer < b.computer;
    }
    friend bool operator>(const Stamp& a, const Stamp& b) { return b < a; }
};

// What a change is about. The numbers are written to the folder: keep them.
enum class EntityKind : std::uint8_t {
    Computer = 0, // a computer taking part; its field "name" is shown to the reader
    Plan = 1,     // a reading plan, by its GUID
    Prayer = 2,   // a prayer item, by its lasting id
    Note = 3,     // a dated note on a prayer item, by its lasting id
};

constexpr const char* kDeletedField = "deleted";

struct Change {
    Stamp stamp;
    EntityKind kind = EntityKind::Plan;
    std::string entity;
    std::string field;
    std::string value;
    // For a field whose every concurrent value is kept (see keepsEveryValue):
    // the stamp of the value this one replaced on its computer; null for the
    // first value. Tells a value written without knowing another from one
    // written over it.
    Stamp base;

    friend bool operator==(const Change& a, const Change& b)
    {
        return a.stamp == b.stamp && a.kind == b.kind && a.entity == b.entity && a.field == b.field &&
               a.value == b.value && a.base == b.base;
    }
};

// True for the fields that hold what the reader typed at length (a prayer's
// text, a note's text): when two computers change one of them without
// having seen each other's change, the value that loses is kept as a copy
// rather than dropped.
bool keepsEveryValue(EntityKind kind, const std::string& field);

} // namespace kovara::core
