// A clock for tests: it stands still until told otherwise, and sleeping
// advances it, so that lock retries and timers run without waiting.
#pragma once

#include <cstdint>

#include "common/clock.h"

namespace qinghe {

class FixedClock final : public Clock {
  public:
    explicit FixedClock(DateTime now = 0.0) : now_(now) {}
    DateTime now() override { return now_; }
    std::uint64_t tickCount() override {
        const std::uint64_t ticks = ticks_;
        advanceMs(stepMs_);
        return ticks;
    }
    void sleepMs(int milliseconds) override;

    void set(DateTime now) { now_ = now; }
    void advanceMs(std::uint64_t milliseconds);
    // From now on, every look at the tick count moves the clock on by
    // `milliseconds` (0: it stands still): as slow a process as a test
    // wants, for whatever keeps things only for a while.
    void stepOnEveryLook(std::uint64_t milliseconds) { stepMs_ = milliseconds; }

  private:
    DateTime now_;
    std::uint64_t ticks_ = 0;
    std::uint64_t stepMs_ = 0;
};

}  // namespace qinghe
