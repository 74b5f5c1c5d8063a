#include "cli/holidays_command.h"

#include <cstdio>
#include <ostream>
#include <string>

#include "cli/date_args.h"
#include "cli/rules_option.h"
#include "cli/usage_error.h"
#include "common/gbk.h"
#include "wages/conversions.h"
#include "wages/holidays.h"

namespace qinghe::cli {
namespace {

constexpr char kUsage[] = "usage: qinghe-cli holidays [--rules seed|current] FROM_MONTH [TO_MONTH]";
constexpr int kMonthsPerYear = 12;

void appendMonth(std::string& lines, int year, int month, const wages::DayRules& rules) {
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
    try {
        const RulesArgs taken = takeRulesOption(args);
        const auto& months = taken.positional;
        if (months.empty() || months.size() > 2) throw UsageError{kUsage};
        std::string why;
        auto from = parseMonthArg(months[0], why);
        auto to = from && months.size() == 2 ? parseMonthArg(months[1], why) : from;
        if (!from || !to) throw UsageError{why};
        int first = from->year * kMonthsPerYear + from->month - 1;
        int last = to->year * kMonthsPerYear + to->month - 1;
        if (last < first) throw UsageError{months[1] + " is before " + months[0]};

        const wages::Arrangements announced = announcedArrangements(taken.rules, "holidays", err);
        const wages::DayRules rules{taken.rules, &announced};
        std::string lines;
        for (int m = first; m <= last; ++m)
            appendMonth(lines, m / kMonthsPerYear, m % kMonthsPerYear + 1, rules);
        out << lines;
        return out.good() ? kExitOk : kExitFailed;
    } catch (const UsageError& e) {
        err << "qinghe-cli holidays: " << e.message << '\n';
        return kExitUsage;
    }
}

}  // namespace qinghe::cli
