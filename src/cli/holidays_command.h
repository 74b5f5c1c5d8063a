// qinghe-cli holidays [--rules seed|current] FROM_MONTH [TO_MONTH]: each
// month's statutory holidays and overtime hour limits.
//
// Months are YYYY-MM, TO_MONTH inclusive (FROM_MONTH when absent, not before
// it). One line per month, fields separated by one TAB: the month, the
// holiday text exactly as the window's holiday finder gives it under the
// rules chosen (names, then the count, "0" for none), then the G1, G2 and G3
// limits and the total limit in hours as the window shows numbers. Without
// --rules, or with seed, the original rules. Output is UTF-8. Exit status 2
// with the reason on a bad month or option.
#pragma once

#include "cli/command.h"

namespace qinghe::cli {

int runHolidays(Args args, std::ostream& out, std::ostream& err);

}  // namespace qinghe::cli
