#include "common/clock.h"

#include <chrono>
#include <ctime>
#include <thread>

namespace qinghe {
namespace {

class SystemClock final : public Clock {
  public:
    DateTime now() override { return localDateTime(std::time(nullptr)); }
    std::uint64_t tickCount() override {
        auto since = std::chrono::steady_clock::now().time_since_epoch();
        return static_cast<std::uint64_t>(
            std::chrono::duration_cast<std::chrono::milliseconds>(since).count());
    }
    void sleepMs(int milliseconds) override {
        std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds));
    }
};

}  // namespace

DateTime localDateTime(std::int64_t secondsSinceEpoch) {
    const auto t = static_cast<std::time_t>(secondsSinceEpoch);
    std::tm local{};
    localtime_r(&t, &local);
    return makeDateTime(local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour,
                        local.tm_min, local.tm_sec);
}

Clock& systemClock() {
    static SystemClock clock;
    return clock;
}

}  // namespace qinghe
