#pragma once
// A hybrid logical clock: a wall-clock time in milliseconds with a counter
// beside it. Each computer stamps its changes with it; a stamp is always
// later than every stamp the computer made or read before, even when the
// system clock goes back or another computer's clock runs ahead, so a
// computer's own changes keep their order whatever its clock does.
#include <cstdint>

namespace kovara::core {

struct Hlc {
    std::int64_t wallMs = 0;
    std::uint32_t counter = 0;

    bool isNull() const { return wallMs == 0 && counter == 0; }
    friend bool operator==(const Hlc& a, const Hlc& b) { return a.wallMs == b.wallMs && a.counter == b.counter; }
    friend bool operator!=(const Hlc& a, const Hlc& b) { return !(a == b); }
    friend bool operator<(const Hlc& a, const Hlc& b)
    {
        return a.wallMs != b.wallMs ? a.wallMs < b.wallMs : a.counter < b.counter;
    }
};

class HybridClock {
public:
    // Continues from last (the newest stamp this computer made or read before).
    explicit HybridClock(Hlc last = {}) : last_(last) {}

    // A stamp for a local change at physical time physicalMs: later than
    // every stamp seen so far.
    Hlc tick(std::int64_t physicalMs);
    // Takes note of a stamp read from another computer, so the next tick is
    // later than it.
    void observe(const Hlc& remote, std::int64_t physicalMs);
    const Hlc& last() const { return last_; }

private:
    Hlc last_;
};

} // namespace kovara::core
