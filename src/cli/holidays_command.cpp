#include "cli/holidays_command.h"

#include <cstdio>
#include <ostream>
#include <string>

#include "cli/date_args.h"
#include "common/gbk.h"
#include "wages/conversions.h"
#include "wages/holidays.h"

namespace qinghe::cli {
namespace {

constexpr char kUsage[] = "usage: qinghe-cli holidays FROM_MONTH [TO_MONTH]\n";
constexpr int kMonthsPerYear = 12;

void appendMonth(std::string& lines, int year, int month) {
    char name[16];
    std::snprintf(name, sizeof name, "%04d-%02d", year, month);
    DateTime date = makeDate(year, month, 1);
    wages::MonthHourLimits limits = wages::monthHourLimits(date);
    lines += name;
    lines += '\t' + gbk::toUtf8(wages::monthHolidays(date));
    for (double hours : {limits.g1, limits.g2, limits.g3, limits.total}) {
        lines += '\t' + gbk::toUtf8(wages::numberToText(hours));
    }
    lines += '\n';
}

}  // namespace

int runHolidays(Args args, std::ostream& out, std::ostream& err) {
    if (args.empty() || args.size() > 2) {
        err << kUsage;
        return kExitUsage;
    }
    std::string why;
    auto from = parseMonthArg(args[0], why);
    auto to = from && args.size() == 2 ? parseMonthArg(args[1], why) : from;
    if (!from || !to) {
        err << "qinghe-cli holidays: " << why << '\n';
        return kExitUsage;
    }
    int first = from->year * kMonthsPerYear + from->month - 1;
    int last = to->year * kMonthsPerYear + to->month - 1;
    if (last < first) {
        err << "qinghe-cli holidays: " << args[1] << " is before " << args[0] << '\n';
        return kExitUsage;
    }
    std::string lines;
    for (int m = first; m <= last; ++m)
        appendMonth(lines, m / kMonthsPerYear, m % kMonthsPerYear + 1);
    out << lines;
    return out.good() ? kExitOk : kExitFailed;
}

}  // namespace qinghe::cli
