#include "wages/holidays.h"

#include <array>

#include "common/gbk.h"
#include "lunar/lunar.h"

namespace qinghe::wages {
namespace {

constexpr int kDaysPerWeek = 7;
constexpr int kSaturday = 6, kSunday = 7;  // in the numbering 1 = Monday
constexpr double kWeekdayHours = 2.0;
constexpr double kSaturdayHours = 10.0;
constexpr double kHolidayHours = 10.0;

// What a rule looks at: the Gregorian month and day, the lunar month, day and
// month length, and the solar-term number. Lunar values are 0 for a day the
// lunar calendar cannot convert.
struct Day {
    int month = 0, day = 0;
    int lunarMonth = 0, lunarDay = 0, lunarMonthDays = 0;
    int term = 0;
};

struct Rule {
    const char* name;  // UTF-8; nullptr for a rule that only counts
    bool (*matches)(const Day&);
};

constexpr Rule kRules[] = {
    {"元旦 ", [](const Day& d) { return d.month == 1 && d.day == 1; }},
    {"除夕 ", [](const Day& d) { return d.lunarMonth == 12 && d.lunarDay == d.lunarMonthDays; }},
    {"春节 ", [](const Day& d) { return d.lunarMonth == 1 && d.lunarDay == 1; }},
    {"正月初二 ", [](const Day& d) { return d.lunarMonth == 1 && d.lunarDay == 2; }},
    {"清明 ", [](const Day& d) { return d.term == lunar::kQingmingTermNumber; }},
    {"劳动节 ", [](const Day& d) { return d.month == 5 && d.day == 1; }},
    {"端午节 ", [](const Day& d) { return d.lunarMonth == 5 && d.lunarDay == 5; }},
    {"中秋节 ", [](const Day& d) { return d.lunarMonth == 8 && d.lunarDay == 15; }},
    {"国庆 ", [](const Day& d) { return d.month == 10 && d.day == 1; }},
    {nullptr, [](const Day& d) { return d.month == 10 && d.day == 2; }},
    {nullptr, [](const Day& d) { return d.month == 10 && d.day == 3; }},
};
constexpr std::size_t kRuleCount = std::size(kRules);

const std::array<std::string, kRuleCount>& ruleNames() {
    static const auto kNames = [] {
        std::array<std::string, kRuleCount> names;
        for (std::size_t i = 0; i < kRuleCount; ++i) {
            if (kRules[i].name != nullptr) names[i] = gbk::fromUtf8(kRules[i].name).text;
        }
        return names;
    }();
    return kNames;
}

Day describe(int year, int month, int dayOfMonth) {
    Day d{month, dayOfMonth};
    int lunarYear = 0;
    bool leap = false;
    if (lunar::lunarFromDate(makeDate(year, month, dayOfMonth), lunarYear, d.lunarMonth, d.lunarDay,
                             leap)) {
        d.lunarMonthDays = lunar::lunarMonthDays(lunarYear, d.lunarMonth, leap);
        lunar::lunarSolarTerm(lunarYear, d.lunarMonth, d.lunarDay, leap, &d.term);
    }
    return d;
}

}  // namespace

MonthHolidays findMonthHolidays(DateTime date) {
    CivilDate month = dateOf(clampDateTime(date));
    MonthHolidays found;
    for (int dayOfMonth = 1; dayOfMonth <= daysInMonth(month.year, month.month); ++dayOfMonth) {
        Day d = describe(month.year, month.month, dayOfMonth);
        for (std::size_t i = 0; i < kRuleCount; ++i) {
            if (!kRules[i].matches(d)) continue;
            ++found.count;
            if (kRules[i].name != nullptr) found.names.insert(0, ruleNames()[i]);
        }
    }
    return found;
}

std::string monthHolidays(DateTime date) {
    return findMonthHolidays(date).text();
}

int countWeekdayInMonth(int weekday, DateTime date) {
    if (weekday < 1 || weekday > kDaysPerWeek) return 0;
    // 1 = Monday .. 7 = Sunday to the date helpers' 1 = Sunday .. 7 = Saturday.
    int wanted = weekday % kDaysPerWeek + 1;
    CivilDate month = dateOf(clampDateTime(date));
    int count = 0;
    for (int d = 1; d <= daysInMonth(month.year, month.month); ++d) {
        if (weekdayOf(makeDate(month.year, month.month, d)) == wanted) ++count;
    }
    return count;
}

MonthHourLimits monthHourLimits(DateTime date) {
    CivilDate month = dateOf(clampDateTime(date));
    double days = daysInMonth(month.year, month.month);
    double saturdays = countWeekdayInMonth(kSaturday, date);
    double sundays = countWeekdayInMonth(kSunday, date);
    double holidays = findMonthHolidays(date).count;
    double workdays = days - saturdays - sundays;
    MonthHourLimits limits;
    limits.g1 = workdays * kWeekdayHours - holidays * kWeekdayHours;
    limits.g2 = saturdays * kSaturdayHours;
    limits.g3 = holidays * kHolidayHours;
    limits.total = workdays * kWeekdayHours + saturdays * kSaturdayHours +
                   holidays * kHolidayHours - holidays * kWeekdayHours;
    return limits;
}

}  // namespace qinghe::wages
