// Waiting inside a handler while the window goes on working: the wait of the
// sayings panel, during which every other handler of the window can run
// (nested page changes included).
#pragma once

#include <functional>

#include "common/clock.h"

namespace qinghe::ui {

// How often the wait looks at the tick count and the pending events.
inline constexpr int kPollIntervalMs = 10;

// Returns true once `clock`'s tick count has passed the start tick plus `ms`
// (at once for 0 or less). Until then it processes the pending events of the
// program again and again, sleeping kPollIntervalMs between rounds on
// `clock`, so that a wait costs next to no processor time. Returns false, as
// soon as it notices, when `stop()` says so (the window is closing or gone):
// the caller must then stop and touch the window no more.
bool delayWithEvents(Clock& clock, int ms, const std::function<bool()>& stop);

}  // namespace qinghe::ui
