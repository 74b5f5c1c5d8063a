// The title-bar clock, run by every tick of 时钟1 (once a second; the first
// tick one second after start-up, until which the title stays the layout's).
//
// The title reads, with the blanks as shown:
//   "青禾   作者：青禾开发组     " + the lunar date of startupTime (the default
//   format, e.g. "癸巳年(蛇)九月初四 2013-10-8") + "-" + the time of day of
//   now ("%d时%d分%d秒", no leading zeros) + "    " + the weekday of
//   startupTime ("星期二").
// Only the time of day follows the clock: a program started on a Sunday
// still says 星期日 and Sunday's lunar date after midnight.
#pragma once

namespace qinghe::app {

struct AppContext;

void updateTitleClock(AppContext& app);

}  // namespace qinghe::app
