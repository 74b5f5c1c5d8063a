#include "testing/fixed_clock.h"

namespace qinghe {

void FixedClock::sleepMs(int milliseconds) {
    if (milliseconds > 0) advanceMs(static_cast<std::uint64_t>(milliseconds));
}

void FixedClock::advanceMs(std::uint64_t milliseconds) {
    ticks_ += milliseconds;
    now_ += static_cast<double>(milliseconds) / 86400000.0;
}

}  // namespace qinghe
