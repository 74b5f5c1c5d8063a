// The clock seen by the program: the local date and time, a millisecond tick
// count and a sleep. Handlers and the record store's lock retries reach time
// only through this interface, so that tests can fix it.
#pragma once

#include <cstdint>

#include "common/datetime.h"

namespace qinghe {

class Clock {
  public:
    virtual ~Clock() = default;
    // The local date and time, to the whole second.
    virtual DateTime now() = 0;
    // Milliseconds since an arbitrary start; never goes backwards.
    virtual std::uint64_t tickCount() = 0;
    virtual void sleepMs(int milliseconds) = 0;
};

// The machine's own clock (local time zone).
Clock& systemClock();

// A clock that stands still until told otherwise; sleeping advances it.
class FixedClock final : public Clock {
  public:
    explicit FixedClock(DateTime now = 0.0) : now_(now) {}
    DateTime now() override { return now_; }
    std::uint64_t tickCount() override { return ticks_; }
    void sleepMs(int milliseconds) override;

    void set(DateTime now) { now_ = now; }
    void advanceMs(std::uint64_t milliseconds);

  private:
    DateTime now_;
    std::uint64_t ticks_ = 0;
};

}  // namespace qinghe
