#pragma once
// A reading plan's identity: the GUID that names its day table in
// userreadplans.kova2. Unlike a plan's position in the loaded list, which moves
// whenever plans are added, deleted or renamed and reloaded, the id stays the
// same for as long as the plan exists, so it can be kept in links, signals and
// settings. A default-made id is null and names no plan.
#include <string>
#include <utility>

namespace kovara::core {

class PlanId {
public:
    PlanId() = default;
    // guid is the registry-form GUID the plan's table carries ("{XXXXXXXX-...}").
    explicit PlanId(std::string guid) : guid_(std::move(guid)) {}

    const std::string& guid() const { return guid_; }
    bool isNull() const { return guid_.empty(); }
    explicit operator bool() const { return !guid_.empty(); }

    // Equality and an order (for maps) by the GUID's text. Written out rather
    // than as <=>: moc reads headers that include this one and cannot parse
    // the standard <compare> header.
    friend bool operator==(const PlanId& a, const PlanId& b) { return a.guid_ == b.guid_; }
    friend bool operator!=(const PlanId& a, const PlanId& b) { return a.guid_ != b.guid_; }
    friend bool operator<(const PlanId& a, const PlanId& b) { return a.guid_ < b.guid_; }

private:
    std::string guid_;
};

} // namespace kovara::core
