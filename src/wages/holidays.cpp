#include "wages/holidays.h"

#include <array>

#include "common/gbk.h"
#include "wages/statutory_days.h"

namespace qinghe::wages {
namespace {

constexpr int kDaysPerWeek = 7;
constexpr int kSaturday = 6, kSunday = 7;          // in the numbering 1 = Monday
constexpr int kDateSunday = 1, kDateSaturday = 7;  // in the date helpers' 1 = Sunday
constexpr double kWeekdayHours = 2.0;
constexpr double kSaturdayHours = 10.0;
constexpr double kHolidayHours = 10.0;

constexpr const char* kKindNames[] = {"法定节假日", "调休上班", "放假", "周六", "周日", "工作日"};

// A name of the holiday text: the festival and one blank.
const std::string& holidayTextName(Festival festival) {
    static const auto kNames = [] {
        std::array<std::string, static_cast<std::size_t>(Festival::Memorial) + 1> names;
        for (std::size_t i = 0; i < names.size(); ++i)
            names[i] = festivalName(static_cast<Festival>(i)) + ' ';
        return names;
    }();
    return kNames[static_cast<std::size_t>(festival)];
}

DayKind weekdayKind(int dateWeekday) {
    if (dateWeekday == kDateSunday) return DayKind::Sunday;
    return dateWeekday == kDateSaturday ? DayKind::Saturday : DayKind::Workday;
}

// What kindOfDay tells, with the festival where the rules keep it.
struct Classified {
    DayKind kind;
    DayKind workedAs;
    const std::string* festival;  // nullptr for the weekday kinds
};

Classified classify(const CalendarDay& d, const DayRules& rules) {
    const DayKind byWeekday = weekdayKind(weekdayOf(makeDate(d.year, d.month, d.day)));
    const bool current = rules.rules == Rules::Current;
    const StatutoryMatches statutory = statutoryMatches(d, rules.rules);
    if (statutory.count > 0) {
        return {DayKind::Statutory, current ? DayKind::Statutory : byWeekday,
                &festivalName(statutory.matches[0].festival)};
    }
    const Arrangement* announced =
        current ? rules.arrangements().find(daysFromCivil(d.year, d.month, d.day)) : nullptr;
    if (!announced) return {byWeekday, byWeekday, nullptr};
    if (announced->kind == Arranged::WorkDay)
        return {DayKind::MakeUpWorkday, DayKind::MakeUpWorkday, &announced->festival};
    return {DayKind::DayOff, byWeekday == DayKind::Sunday ? byWeekday : DayKind::DayOff,
            &announced->festival};
}

}  // namespace

MonthHolidays findMonthHolidays(DateTime date, Rules rules) {
    CivilDate month = dateOf(clampDateTime(date));
    MonthHolidays found;
    for (int dayOfMonth = 1; dayOfMonth <= daysInMonth(month.year, month.month); ++dayOfMonth) {
        const StatutoryMatches statutory =
            statutoryMatches(describeDay(month.year, month.month, dayOfMonth), rules);
        for (std::size_t i = 0; i < statutory.count; ++i) {
            ++found.count;
            if (statutory.matches[i].named)
                found.names.insert(0, holidayTextName(statutory.matches[i].festival));
        }
    }
    return found;
}

std::string monthHolidays(DateTime date, Rules rules) {
    return findMonthHolidays(date, rules).text();
}

const std::string& dayKindName(DayKind kind) {
    static const auto kNames = [] {
        std::array<std::string, std::size(kKindNames)> names;
        for (std::size_t i = 0; i < names.size(); ++i) names[i] = gbk::fromUtf8(kKindNames[i]).text;
        return names;
    }();
    return kNames[static_cast<std::size_t>(kind)];
}

KindOfDay kindOfDay(DateTime day, const DayRules& rules) {
    const CivilDate c = dateOf(clampDateTime(day));
    const Classified k = classify(describeDay(c.year, c.month, c.day), rules);
    return {k.kind, k.festival ? *k.festival : std::string(), k.workedAs};
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

MonthHourLimits monthHourLimits(DateTime date, const DayRules& rules) {
    CivilDate month = dateOf(clampDateTime(date));
    MonthHourLimits limits;
    if (rules.rules == Rules::Current) {
        double working = 0, resting = 0, holidays = 0;
        for (int d = 1; d <= daysInMonth(month.year, month.month); ++d) {
            const DayKind workedAs =
                classify(describeDay(month.year, month.month, d), rules).workedAs;
            if (workedAs == DayKind::Statutory) holidays += 1;
            if (workedAs == DayKind::MakeUpWorkday || workedAs == DayKind::Workday) working += 1;
            if (workedAs == DayKind::DayOff || workedAs == DayKind::Saturday) resting += 1;
        }
        limits.g1 = working * kWeekdayHours;
        limits.g2 = resting * kSaturdayHours;
        limits.g3 = holidays * kHolidayHours;
        limits.total = limits.g1 + limits.g2 + limits.g3;
        return limits;
    }
    double days = daysInMonth(month.year, month.month);
    double saturdays = countWeekdayInMonth(kSaturday, date);
    double sundays = countWeekdayInMonth(kSunday, date);
    double holidays = findMonthHolidays(date).count;
    double workdays = days - saturdays - sundays;
    limits.g1 = workdays * kWeekdayHours - holidays * kWeekdayHours;
    limits.g2 = saturdays * kSaturdayHours;
    limits.g3 = holidays * kHolidayHours;
    limits.total = workdays * kWeekdayHours + saturdays * kSaturdayHours +
                   holidays * kHolidayHours - holidays * kWeekdayHours;
    return limits;
}

}  // namespace qinghe::wages
