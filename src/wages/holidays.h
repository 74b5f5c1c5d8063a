// Statutory holidays of a month, the kind of each day, and the overtime hours
// a month allows.
//
// Pure and total (no Qt, no state); text is GBK. Which days are statutory
// holidays is the table in force (statutory_days.h): under the original rules
// (Rules::Seed) always the table of 2008, whose rules are, in order:
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
// and under Rules::Current the table of each day's era. Each matching rule
// adds one holiday day; a named rule also puts its name (with one trailing
// space) in front of the names found so far, so the names read in reverse
// calendar order and two names of one day in reverse rule order.
//
// Under Rules::Current the announced arrangements (arrangements.h) decide the
// other days: make-up working days and days off.
#pragma once

#include <string>

#include "common/datetime.h"
#include "wages/arrangements.h"
#include "wages/rules.h"

namespace qinghe::wages {

struct MonthHolidays {
    std::string names;  // each with its trailing space, latest first
    int count = 0;      // holiday days of the month (never more than 9)

    // The holiday text: the names followed by the decimal count, as
    // "春节 除夕 元旦 3", or "0" for a month without holidays.
    std::string text() const { return names + std::to_string(count); }
};

// The holidays of the month (of the Gregorian calendar) that `date` lies in,
// by the table of `rules`. A value that is not a finite date of the years
// 100..9999 is first limited to that range.
MonthHolidays findMonthHolidays(DateTime date, Rules rules = Rules::Seed);

// The holiday text of the month of `date` (findMonthHolidays(...).text()).
std::string monthHolidays(DateTime date, Rules rules = Rules::Seed);

// The rules that decide the kind of each day: the choice and, under
// Rules::Current, the announced arrangements (nullptr: the built-in list).
struct DayRules {
    Rules rules = Rules::Seed;
    const Arrangements* announced = nullptr;

    const Arrangements& arrangements() const {
        return announced ? *announced : Arrangements::builtIn();
    }
};

// The kind of a day, in this order of precedence:
//   Statutory      "法定节假日"  a statutory day of the table in force
//   MakeUpWorkday  "调休上班"    an announced make-up working day (Current)
//   DayOff         "放假"        an announced day off (Current)
//   Saturday       "周六", Sunday "周日", Workday "工作日"  by the weekday
enum class DayKind { Statutory, MakeUpWorkday, DayOff, Saturday, Sunday, Workday };

// "法定节假日" ... "工作日" (GBK).
const std::string& dayKindName(DayKind kind);

struct KindOfDay {
    DayKind kind = DayKind::Workday;
    // A statutory day's first matching rule ("国庆" for 2 October too), or
    // the festival of the announcement; empty for the weekday kinds.
    std::string festival;
    // The kind by which the day is worked: the day-entry presets and the
    // month's hour limits follow it. Under Seed the weekday alone; under
    // Current the kind, except that a day off on a Sunday is a Sunday.
    DayKind workedAs = DayKind::Workday;
};

// The kind of the calendar day of `day` (its time of day ignored); the value
// is first limited to the years 100..9999.
KindOfDay kindOfDay(DateTime day, const DayRules& rules = {});

// Days of the month of `date` that fall on `weekday`, numbered 1 = Monday to
// 7 = Sunday; 0 for a weekday outside 1..7.
int countWeekdayInMonth(int weekday, DateTime date);

// Overtime hours the month of `date` allows, by class.
//
// Under Seed: 2 hours a day Monday to Friday less 2 for each holiday day
// (G1), 10 hours a Saturday (G2), 10 hours a holiday day (G3), none on
// Sundays. With D days, S Saturdays, U Sundays and H holiday days:
//   g1 = (D - S - U) * 2 - H * 2,  g2 = S * 10,  g3 = H * 10,
//   total = (D - S - U) * 2 + S * 10 + H * 10 - H * 2  (= g1 + g2 + g3).
//
// Under Current each day counts once, by the kind it is worked as: H
// statutory days, W working days (make-up working days and Monday to
// Friday), R rest days (days off and Saturdays; Sundays count nothing):
//   g1 = 2 * W,  g2 = 10 * R,  g3 = 10 * H,  total = g1 + g2 + g3.
struct MonthHourLimits {
    double g1 = 0, g2 = 0, g3 = 0, total = 0;
};
MonthHourLimits monthHourLimits(DateTime date, const DayRules& rules = {});

}  // namespace qinghe::wages
