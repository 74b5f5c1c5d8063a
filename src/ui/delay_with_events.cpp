#include "ui/delay_with_events.h"

#include <QCoreApplication>
#include <algorithm>
#include <cstdint>

namespace qinghe::ui {

bool delayWithEvents(Clock& clock, int ms, const std::function<bool()>& stop) {
    if (ms <= 0) return true;
    const std::uint64_t start = clock.tickCount();
    const auto wanted = static_cast<std::uint64_t>(ms);
    while (true) {
        QCoreApplication::processEvents(QEventLoop::AllEvents);
        if (stop()) return false;
        const std::uint64_t elapsed = clock.tickCount() - start;
        if (elapsed >= wanted) return true;
        clock.sleepMs(static_cast<int>(std::min<std::uint64_t>(
            wanted - elapsed, static_cast<std::uint64_t>(kPollIntervalMs))));
    }
}

}  // namespace qinghe::ui
