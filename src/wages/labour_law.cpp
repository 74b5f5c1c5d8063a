#include "wages/labour_law.h"

#include <algorithm>
#include <cstdint>
#include <map>

#include "wages/wage_calculation.h"

namespace qinghe::wages {
namespace {

// A rule's first month.
struct Since {
    int year, month;
    bool holdsIn(int y, int m) const { return y > year || (y == year && m >= month); }
};

// The sources beside each entry: labour_law.h.
struct PayDays {
    Since since;
    Hundredths days;
};
constexpr PayDays kPayDays[] = {
    {{2000, 3}, 2092},  // 劳社部发〔2000〕8号; also every earlier month
    {{2008, 1}, 2175},  // 劳社部发〔2008〕3号
};

constexpr Since kSickPayFloor = {1995, 8};  // 劳部发〔1995〕309号 第59条
constexpr std::int64_t kSickPayFloorPercent = 80;

constexpr Since kMinimumWageFloor = {2004, 3};  // 最低工资规定 第12条

struct OvertimeCap {
    Since since;
    Hundredths perMonth;
    Hundredths perDay;
};
constexpr OvertimeCap kOvertimeCap = {{1995, 1}, 3600, 300};  // 劳动法 第41条

constexpr std::int64_t kPercent = 100;

// The minimum wage's pay for `hours` at `percent` of it, to the fen.
Fen minimumWagePay(int year, int month, Fen minimumWage, Hundredths hours, std::int64_t percent) {
    const std::int64_t divisor = monthPayDays(year, month) * kDayHours * kPercent;
    return mulDivRounded(clampHundredths(minimumWage), clampHundredths(hours) * percent, divisor)
        .value_or(kMaxHundredths);
}

}  // namespace

Hundredths monthPayDays(int year, int month) {
    for (std::size_t i = std::size(kPayDays) - 1; i > 0; --i) {
        if (kPayDays[i].since.holdsIn(year, month)) return kPayDays[i].days;
    }
    return kPayDays[0].days;
}

std::optional<Fen> hourlyRate(Fen baseSum, Hundredths workingDays) {
    return mulDivRounded(clampHundredths(baseSum), kHundredthsPerUnit,
                         clampHundredths(workingDays) * kDayHours);
}

OvertimeBaseCheck checkOvertimeBase(int year, int month, std::optional<Fen> minimumWage,
                                    Fen baseSum, Hundredths workingDays) {
    OvertimeBaseCheck check;
    check.base = clampHundredths(baseSum);
    check.inForce = minimumWage && kMinimumWageFloor.holdsIn(year, month);
    if (check.inForce) {
        const Fen floor = clampHundredths(minimumWage.value_or(0));
        check.baseRaised = check.base < floor;
        check.base = std::max(check.base, floor);
        check.hourlyFloor = minimumWagePay(year, month, floor, kHundredthsPerUnit, kPercent);
    }
    check.hourly = hourlyRate(check.base, workingDays);
    if (check.inForce && check.hourly && *check.hourly < check.hourlyFloor) {
        check.hourly = check.hourlyFloor;
        check.hourlyRaised = true;
    }
    return check;
}

SickPayCheck checkSickPay(int year, int month, std::optional<Fen> minimumWage, Hundredths sickHours,
                          Fen hourly, Fen deduction) {
    SickPayCheck check;
    const Hundredths hours = clampHundredths(sickHours);
    const Fen hoursPay =
        mulDivRounded(hours, clampHundredths(hourly), kHundredthsPerUnit).value_or(kMaxHundredths);
    check.deduction = clampHundredths(deduction);
    check.inForce = minimumWage && kSickPayFloor.holdsIn(year, month);
    if (check.inForce && hours > 0) {
        check.floor =
            minimumWagePay(year, month, minimumWage.value_or(0), hours, kSickPayFloorPercent);
        const Fen most = std::max<Fen>(hoursPay - check.floor, 0);
        check.reduced = check.deduction > most;
        check.deduction = std::min(check.deduction, most);
    }
    check.paid = hoursPay - check.deduction;
    return check;
}

OvertimeCapCheck checkOvertimeCap(int year, int month, Hundredths monthHours,
                                  std::span<const DayOvertime> workingDaysG1) {
    OvertimeCapCheck check;
    check.inForce = kOvertimeCap.since.holdsIn(year, month);
    if (!check.inForce) return check;
    check.monthCap = kOvertimeCap.perMonth;
    check.dayCap = kOvertimeCap.perDay;
    check.monthOver = clampHundredths(monthHours) > check.monthCap;
    std::map<int, Hundredths> byDay;
    for (const DayOvertime& d : workingDaysG1) {
        byDay[d.day] = clampHundredths(byDay[d.day] + clampHundredths(d.hours));
    }
    for (const auto& [day, hours] : byDay) {
        if (hours > check.dayCap) check.daysOver.push_back({day, hours});
    }
    return check;
}

}  // namespace qinghe::wages
