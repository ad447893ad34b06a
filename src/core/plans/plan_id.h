#pragma once
// A reading plan's identity: the GUID that names its day table in
// userreadplans.kova2. Unlike a plan's position in the loaded list, which moves
// whenever plans are added, deleted or renamed and reloaded, the id stays the
// same for as long as the plan exists, so it can be kept in links, signals and
// settings. A default-made id is null and names no plan.
#include <compare>
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

    friend bool operator==(const PlanId&, const PlanId&) = default;
    friend std::strong_ordering operator<=>(const PlanId& a, const PlanId& b) { return a.guid_ <=> b.guid_; }

private:
    std::string guid_;
};

} // namespace kovara::core
