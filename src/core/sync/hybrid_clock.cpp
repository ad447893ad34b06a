#include "core/sync/hybrid_clock.h"

#include <algorithm>

namespace kovara::core {

Hlc HybridClock::tick(std::int64_t physicalMs)
{
    if (physicalMs > last_.wallMs)
        last_ = Hlc{physicalMs, 0};
    else
        ++last_.counter;
    return last_;
}

void HybridClock::observe(const Hlc& remote, std::int64_t physicalMs)
{
    const std::int64_t wall = std::max({last_.wallMs, remote.wallMs, physicalMs});
    if (wall == last_.wallMs && wall == remote.wallMs)
        last_.counter = std::max(last_.counter, remote.counter) + 1;
    else if (wall == last_.wallMs)
        ++last_.counter;
    else if (wall == remote.wallMs)
        last_ = Hlc{wall, remote.counter + 1};
    else
        last_ = Hlc{wall, 0};
}

} // namespace kovara::core
