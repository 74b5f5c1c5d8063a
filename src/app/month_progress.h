// The progress bar 进度条1 as a display of how far the month has run.
#pragma once

namespace qinghe::app {

struct AppContext;

// Start-up: the range 1 to the number of days of the month of startupTime,
// and the day of the month of startupTime as the position.
void showMonthProgress(AppContext& app);

// When the position changes (the user dragged the bar): back to the day of
// the month of the current date, kept within the bar's range (a program
// still running in the next month stands at the end it can show).
void snapMonthProgressBack(AppContext& app);

}  // namespace qinghe::app
