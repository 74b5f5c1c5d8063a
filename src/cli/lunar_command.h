// qinghe-cli lunar FROM [TO]: the lunar calendar of a run of days.
//
// FROM is YYYY-MM-DD or YYYY-MM-DDTHH:MM:SS, TO is YYYY-MM-DD (inclusive,
// FROM's day when absent, not before FROM). One line per day, FROM's time of
// day applied to every day, fields separated by one TAB:
//   date  lunar-year  lunar-month  lunar-day  leap(0|1)  month-length
//   term-number  term-name  lunar-date-text
// The term number is that of the solar term on the day counted from 立春 (0
// when none, the name then empty); the text uses the default format. A day
// outside 1901-02-19 .. 2048-12-31 shows "-" for the four lunar fields and
// the term number, "0" for the month length and an empty term name.
// Output is UTF-8. Exit status 2 with the reason on a bad date.
#pragma once

#include "cli/command.h"

namespace qinghe::cli {

int runLunar(Args args, std::ostream& out, std::ostream& err);

}  // namespace qinghe::cli
