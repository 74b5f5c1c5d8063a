#include "cli/holidays_command.h"

#include <cstdio>
#include <ostream>
#include <string>

#include "cli/date_args.h"
#include "cli/range_command.h"
#include "cli/usage_error.h"
#include "common/gbk.h"
#include "wages/conversions.h"
#include "wages/holidays.h"

namespace qinghe::cli {
namespace {

constexpr char kUsage[] = "usage: qinghe-cli holidays [--rules seed|current] FROM_MONTH [TO_MONTH]";
constexpr int kMonthsPerYear = 12;

// A month YYYY-MM as months since the year 0.
long monthArgument(const std::string& text) {
    std::string why;
    const auto month = parseMonthArg(text, why);
    if (!month) throw UsageError{why};
    return month->year * kMonthsPerYear + month->month - 1;
}

void appendMonth(std::string& lines, long months, const wages::DayRules& rules) {
    const int year = static_cast<int>(months / kMonthsPerYear);
    const int month = static_cast<int>(months % kMonthsPerYear) + 1;
    char name[16];
    std::snprintf(name, sizeof name, "%04d-%02d", year, month);
    DateTime date = makeDate(year, month, 1);
    wages::MonthHourLimits limits = wages::monthHourLimits(date, rules);
    lines += name;
    lines += '\t' + gbk::toUtf8(wages::monthHolidays(date, rules.rules));
    for (double hours : {limits.g1, limits.g2, limits.g3, limits.total}) {
        lines += '\t' + gbk::toUtf8(wages::numberToText(hours));
    }
    lines += '\n';
}

}  // namespace

int runHolidays(Args args, std::ostream& out, std::ostream& err) {
    return runRangeCommand({"holidays", kUsage, monthArgument, appendMonth}, args, out, err);
}

}  // namespace qinghe::cli
