// The clock seen by the program: the local date and time, a millisecond tick
// count and a sleep. Handlers and the record store's lock retries reach time
// only through this interface, so that tests can fix it (testing/fixed_clock.h).
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

// A moment given in seconds since 1970-01-01 00:00 UTC (as file systems
// give the time of a file's last write), as the local date and time.
DateTime localDateTime(std::int64_t secondsSinceEpoch);

}  // namespace qinghe
