// Statutory holidays of a month and the overtime hours the month allows.
//
// Pure and total (no Qt, no state); text is GBK. The holidays are found day
// by day with the lunar calendar (lunar/lunar.h), by these rules in order:
//
//   1  "元旦 "     Gregorian 1 January
//   2  "除夕 "     the last day of lunar month 12
//   3  "春节 "     lunar 1-1
//   4  "正月初二 " lunar 1-2
//   5  "清明 "     the day of the solar term 清明
//   6  "劳动节 "   Gregorian 1 May
//   7  "端午节 "   lunar 5-5
//   8  "中秋节 "   lunar 8-15
//   9  "国庆 "     Gregorian 1 October
//  10  (no name)  Gregorian 2 October
//  11  (no name)  Gregorian 3 October
//
// Each matching rule adds one holiday day; a named rule also puts its name
// (with its trailing space) in front of the names found so far, so the names
// read in reverse calendar order and two names of one day in reverse rule
// order. A day of a leap lunar month counts like the same day of the ordinary
// month. Days the lunar calendar cannot convert (before 1901-02-19, after
// 2048-12-31) match no lunar or solar-term rule.
#pragma once

#include <string>

#include "common/datetime.h"

namespace qinghe::wages {

struct MonthHolidays {
    std::string names;  // each with its trailing space, latest first
    int count = 0;      // holiday days of the month (never more than 9)

    // The holiday text: the names followed by the decimal count, as
    // "春节 除夕 元旦 3", or "0" for a month without holidays.
    std::string text() const { return names + std::to_string(count); }
};

// The holidays of the month (of the Gregorian calendar) that `date` lies in.
// A value that is not a finite date of the years 100..9999 is first limited
// to that range.
MonthHolidays findMonthHolidays(DateTime date);

// The holiday text of the month of `date` (findMonthHolidays(date).text()).
std::string monthHolidays(DateTime date);

// Days of the month of `date` that fall on `weekday`, numbered 1 = Monday to
// 7 = Sunday; 0 for a weekday outside 1..7.
int countWeekdayInMonth(int weekday, DateTime date);

// Overtime hours the month of `date` allows, by class: 2 hours a day Monday
// to Friday less 2 for each holiday day (G1), 10 hours a Saturday (G2), 10
// hours a holiday day (G3), none on Sundays. With D days, S Saturdays, U
// Sundays and H holiday days:
//   g1 = (D - S - U) * 2 - H * 2,  g2 = S * 10,  g3 = H * 10,
//   total = (D - S - U) * 2 + S * 10 + H * 10 - H * 2  (= g1 + g2 + g3).
struct MonthHourLimits {
    double g1 = 0, g2 = 0, g3 = 0, total = 0;
};
MonthHourLimits monthHourLimits(DateTime date);

}  // namespace qinghe::wages
