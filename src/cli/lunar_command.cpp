#include "cli/lunar_command.h"

#include <cstdio>
#include <ostream>
#include <string>

#include "cli/date_args.h"
#include "common/gbk.h"
#include "lunar/lunar.h"

namespace qinghe::cli {
namespace {

constexpr char kUsage[] = "usage: qinghe-cli lunar FROM [TO]\n";
constexpr double kSecondsPerDay = 86400.0;

void appendDate(std::string& line, const CivilDate& d) {
    char text[16];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d", d.year, d.month, d.day);
    line += text;
}

void appendDay(std::string& line, long dayNumber, double timeOfDay) {
    DateTime value = static_cast<double>(dayNumber) + timeOfDay;
    appendDate(line, civilFromDays(dayNumber));
    int year = 0, month = 0, day = 0;
    bool leap = false;
    if (lunar::lunarFromDate(value, year, month, day, leap)) {
        int term = 0;
        std::string name = lunar::lunarSolarTerm(year, month, day, leap, &term);
        line += '\t' + std::to_string(year) + '\t' + std::to_string(month) + '\t' +
                std::to_string(day) + '\t' + (leap ? '1' : '0') + '\t' +
                std::to_string(lunar::lunarMonthDays(year, month, leap)) + '\t' +
                std::to_string(term) + '\t' + gbk::toUtf8(name);
    } else {
        line += "\t-\t-\t-\t-\t0\t-\t";
    }
    line += '\t' + gbk::toUtf8(lunar::lunarDateText(value)) + '\n';
}

}  // namespace

int runLunar(Args args, std::ostream& out, std::ostream& err) {
    if (args.empty() || args.size() > 2) {
        err << kUsage;
        return kExitUsage;
    }
    std::string why;
    auto from = parseDateArg(args[0], true, why);
    if (!from) {
        err << "qinghe-cli lunar: " << why << '\n';
        return kExitUsage;
    }
    auto to = args.size() == 2 ? parseDateArg(args[1], false, why) : from;
    if (!to) {
        err << "qinghe-cli lunar: " << why << '\n';
        return kExitUsage;
    }
    long first = daysFromCivil(from->date.year, from->date.month, from->date.day);
    long last = daysFromCivil(to->date.year, to->date.month, to->date.day);
    if (last < first) {
        err << "qinghe-cli lunar: " << args[1] << " is before " << args[0] << '\n';
        return kExitUsage;
    }
    // Days before 1899-12-30 carry their time of day as a negative fraction.
    const TimeOfDay& t = from->time;
    double timeOfDay = (t.hour * 3600.0 + t.minute * 60.0 + t.second) / kSecondsPerDay;

    std::string lines;
    for (long d = first; d <= last; ++d) appendDay(lines, d, d < 0 ? -timeOfDay : timeOfDay);
    out << lines;
    return out.good() ? kExitOk : kExitFailed;
}

}  // namespace qinghe::cli
