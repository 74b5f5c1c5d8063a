#include "cli/days_command.h"

#include <cstdio>
#include <ostream>
#include <string>

#include "cli/date_args.h"
#include "cli/range_command.h"
#include "cli/usage_error.h"
#include "common/gbk.h"
#include "lunar/lunar.h"
#include "wages/date_change.h"
#include "wages/holidays.h"

namespace qinghe::cli {
namespace {

constexpr char kUsage[] = "usage: qinghe-cli days [--rules seed|current] FROM [TO]";

// The day number of a date argument within the lunar calendar's range.
long dayArgument(const std::string& text) {
    std::string why;
    const auto arg = parseDateArg(text, false, why);
    if (!arg) throw UsageError{why};
    const long day = daysFromCivil(arg->date.year, arg->date.month, arg->date.day);
    const long first =
        daysFromCivil(lunar::kFirstDayYear, lunar::kFirstDayMonth, lunar::kFirstDayDay);
    const long end = daysFromCivil(lunar::kEndYear, 1, 1);
    if (day < first || day >= end) throw UsageError{text + " is outside 1901-02-19..2048-12-31"};
    return day;
}

void appendDay(std::string& lines, long day, const wages::DayRules& rules) {
    const CivilDate d = civilFromDays(day);
    const DateTime value = static_cast<DateTime>(day);
    const wages::KindOfDay kind = wages::kindOfDay(value, rules);
    char date[16];
    std::snprintf(date, sizeof date, "%04d-%02d-%02d", d.year, d.month, d.day);
    lines += date;
    lines += '\t' + gbk::toUtf8(wages::dayKindName(kind.kind));
    lines += '\t' + gbk::toUtf8(wages::presetText(wages::presetFor(kind.workedAs)));
    lines += '\t' + gbk::toUtf8(kind.festival) + '\n';
}

}  // namespace

int runDays(Args args, std::ostream& out, std::ostream& err) {
    return runRangeCommand({"days", kUsage, dayArgument, appendDay}, args, out, err);
}

}  // namespace qinghe::cli
