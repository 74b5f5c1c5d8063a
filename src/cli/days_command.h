// qinghe-cli days [--rules seed|current] FROM [TO]: the kind of each day and
// the day-entry preset the window gives it.
//
// Dates are YYYY-MM-DD in 1901-02-19 .. 2048-12-31 (the lunar calendar's
// range), TO inclusive (FROM when absent, not before it). One line a day,
// fields separated by one TAB:
//   the date; the kind (法定节假日, 调休上班, 放假, 周六, 周日, 工作日); the
//   preset ("G1 2", "G2 10", "G3 10" or "休息"); the festival: a statutory
//   day's first matching rule (2 and 3 October: 国庆), the festival of an
//   announced day off or make-up working day, else nothing.
// Without --rules, or with seed, the original rules: the kind is 法定节假日
// where their table matches and else the weekday's, the preset the
// weekday's. Output is UTF-8. Exit status 2 with the reason on a bad date or
// option.
#pragma once

#include "cli/command.h"

namespace qinghe::cli {

int runDays(Args args, std::ostream& out, std::ostream& err);

}  // namespace qinghe::cli
