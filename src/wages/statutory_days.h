// The statutory holidays as the law has set them, era by era, and the one
// fixed table of the original rules.
//
// Under Rules::Current the table in force on a day is that of the day's era,
// the last entry whose date is not after it:
//
//   from        the days, in table order (a name in brackets: the day counts
//               but puts no name in the holiday text)
//   (always)    元旦; 春节 (lunar 1-1), 正月初二, 正月初三; 劳动节 (1 May),
//               [劳动节] 2 May, [劳动节] 3 May; 国庆 (1 Oct), [国庆] 2 Oct,
//               [国庆] 3 Oct
//   2008-01-01  元旦; 除夕; 春节; 正月初二; 清明; 劳动节; 端午节 (lunar 5-5);
//               中秋节 (lunar 8-15); 国庆, [国庆] 2 Oct, [国庆] 3 Oct
//   2014-01-01  元旦; 春节, 正月初二, 正月初三; 清明; 劳动节; 端午节; 中秋节;
//               国庆, [国庆] 2 Oct, [国庆] 3 Oct
//   2015-01-01  the same and, last, 纪念日 (3 September)
//   2016-01-01  the table of 2014 again
//   2025-01-01  元旦; 除夕, 春节, 正月初二, 正月初三; 清明; 劳动节,
//               [劳动节] 2 May; 端午节; 中秋节; 国庆, [国庆] 2 Oct, [国庆] 3 Oct
//
// 除夕 is the last day of lunar month 12, 清明 the day of that solar term.
// Under Current a day of a leap lunar month is never a lunar festival (清明,
// found by the solar term, counts in whatever lunar month it falls).
//
// Under Rules::Seed every date follows the table of 2008, and a day of a leap
// month counts like the same day of the ordinary month (day 5 of a leap fifth
// month is 端午节 too).
//
// Days that the lunar calendar cannot convert (before 1901-02-19, after
// 2048-12-31) match no lunar or solar-term rule. Pure; names are GBK.
#pragma once

#include <array>
#include <cstddef>
#include <string>

#include "wages/rules.h"

namespace qinghe::wages {

// One day as the rules look at it. The lunar values are 0 for a day the
// lunar calendar cannot convert.
struct CalendarDay {
    int year = 0, month = 0, day = 0;  // Gregorian
    int lunarMonth = 0, lunarDay = 0;
    int lunarMonthDays = 0;  // the length of the day's lunar month
    bool leap = false;       // the day lies in a leap lunar month
    int term = 0;            // the solar term on the day, from 立春 = 1; 0 for none
};

// The day year-month-day of the Gregorian calendar (a valid date).
CalendarDay describeDay(int year, int month, int day);

enum class Festival {
    NewYear,     // 元旦
    Eve,         // 除夕
    Spring,      // 春节
    Second,      // 正月初二
    Third,       // 正月初三
    Qingming,    // 清明
    Labour,      // 劳动节
    DragonBoat,  // 端午节
    MidAutumn,   // 中秋节
    National,    // 国庆
    Memorial,    // 纪念日
};

// "国庆" (GBK).
const std::string& festivalName(Festival festival);

// The most rules of one table, and so the most that one day can match.
inline constexpr std::size_t kMaxStatutoryRules = 13;

// The rules of the table in force that a day matches, in the table's order.
// Each counts one statutory day; `named` ones put their name in the holiday
// text. A day that matches none is no statutory day.
struct StatutoryMatches {
    struct Match {
        Festival festival;
        bool named;
    };
    std::array<Match, kMaxStatutoryRules> matches{};
    std::size_t count = 0;
};

StatutoryMatches statutoryMatches(const CalendarDay& day, Rules rules);

}  // namespace qinghe::wages
