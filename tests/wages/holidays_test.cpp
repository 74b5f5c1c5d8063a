#include "wages/holidays.h"

#include <gtest/gtest.h>

#include <limits>

#include "common/gbk.h"
#include "lunar/lunar.h"

namespace qinghe::wages {
namespace {

std::string holidaysOf(int year, int month, int day = 15, Rules rules = Rules::Seed) {
    return gbk::toUtf8(monthHolidays(makeDate(year, month, day), rules));
}

TEST(MonthHolidays, KnownMonths) {
    struct Case {
        int year, month;
        const char* text;
    };
    const Case kCases[] = {
        {2013, 10, "国庆 3"},
        {2014, 1, "春节 除夕 元旦 3"},
        {2014, 2, "正月初二 1"},
        {2013, 2, "正月初二 春节 除夕 3"},
        {2013, 3, "0"},
        {2020, 10, "国庆 中秋节 4"},  // 1 October 2020 is also lunar 8-15
        {2013, 4, "清明 1"},
        {2013, 5, "劳动节 1"},
        {2013, 6, "端午节 1"},  // lunar 5-5 is 2013-06-12
        {2013, 9, "中秋节 1"},
        {2020, 6, "端午节 1"},  // 2020-06-25, after the leap fourth month
        {2009, 5, "端午节 劳动节 2"},
        {2009, 6, "端午节 1"},  // 2009 has a leap fifth month: its day 5 counts too
    };
    for (const auto& c : kCases)
        EXPECT_EQ(holidaysOf(c.year, c.month), c.text) << c.year << '-' << c.month;
}

TEST(MonthHolidays, UnderTheCurrentRulesEachEraHasItsOwnDays) {
    struct Case {
        int year, month;
        const char* text;
    };
    const Case kCases[] = {
        {2007, 2, "正月初三 正月初二 春节 3"},  // before 2008: no 除夕, three days of 春节
        {2007, 4, "0"},                         // nor 清明
        {2007, 5, "劳动节 3"},                  // but 1 to 3 May, named once
        {2007, 6, "0"},                         // nor 端午节 (2007-06-19)
        {2008, 2, "正月初二 春节 除夕 3"},      // 2008: the original table
        {2013, 10, "国庆 3"},
        {2014, 1, "春节 元旦 2"},          // 2014: 除夕 (01-30) is a working day,
        {2014, 2, "正月初三 正月初二 2"},  // 正月初三 a holiday
        {2015, 9, "中秋节 纪念日 2"},      // 3 September, 2015 only
        {2016, 9, "中秋节 1"},
        {2024, 5, "劳动节 1"},
        {2025, 1, "正月初三 正月初二 春节 除夕 元旦 5"},  // 2025: 除夕 again
        {2025, 5, "端午节 劳动节 3"},                     // and 2 May, unnamed
        {2025, 10, "中秋节 国庆 4"},
        {2020, 10, "国庆 中秋节 4"},  // one day matching two rules counts twice
        {2009, 6, "0"},               // day 5 of the leap fifth month is no 端午节
        {2023, 4, "清明 1"},  // 清明 (04-05) lies in the leap second month: a solar term counts
        {2049, 10, "国庆 3"},
    };
    for (const auto& c : kCases)
        EXPECT_EQ(holidaysOf(c.year, c.month, 15, Rules::Current), c.text)
            << c.year << '-' << c.month;
}

TEST(MonthHolidays, OutsideTheLunarCalendarOnlyGregorianRulesMatch) {
    EXPECT_EQ(holidaysOf(1901, 1), "元旦 1");           // its 除夕 (02-18) and 春节 lie outside
    EXPECT_EQ(holidaysOf(1901, 2), "正月初二 春节 2");  // 除夕 would be 1901-02-18
    EXPECT_EQ(holidaysOf(2049, 1), "元旦 1");
    EXPECT_EQ(holidaysOf(2049, 10), "国庆 3");
    EXPECT_EQ(holidaysOf(1800, 10), "国庆 3");
    EXPECT_EQ(gbk::toUtf8(monthHolidays(std::numeric_limits<double>::quiet_NaN())),
              "0");  // 1899-12
}

TEST(MonthHolidays, TextIsNamesThenASingleDigitCount) {
    // The window reads the count from the last character of the text.
    for (int y = 1901; y <= 2048; ++y) {
        for (int m = 1; m <= 12; ++m) {
            MonthHolidays h = findMonthHolidays(makeDate(y, m, 1));
            ASSERT_GE(h.count, 0);
            ASSERT_LE(h.count, 9) << y << '-' << m;
            ASSERT_EQ(h.text(), h.names + static_cast<char>('0' + h.count));
        }
    }
}

TEST(MonthHolidays, EveryYearHasElevenHolidayDaysAndALeapFestivalMore) {
    // Each rule matches once a Gregorian year (除夕 of the lunar year before);
    // a leap fifth or eighth month repeats 端午节 or 中秋节.
    for (int y = 1902; y <= 2048; ++y) {
        int total = 0;
        for (int m = 1; m <= 12; ++m) total += findMonthHolidays(makeDate(y, m, 1)).count;
        bool repeats =
            lunar::lunarMonthDays(y, 5, true) != 0 || lunar::lunarMonthDays(y, 8, true) != 0;
        EXPECT_EQ(total, repeats ? 12 : 11) << y;
    }
}

TEST(CountWeekdayInMonth, CountsMondayToSunday) {
    DateTime october2013 = makeDate(2013, 10, 9);  // starts on a Tuesday, 31 days
    const int kExpected[] = {4, 5, 5, 5, 4, 4, 4};
    for (int w = 1; w <= 7; ++w)
        EXPECT_EQ(countWeekdayInMonth(w, october2013), kExpected[w - 1]) << w;
    EXPECT_EQ(countWeekdayInMonth(0, october2013), 0);
    EXPECT_EQ(countWeekdayInMonth(8, october2013), 0);
    EXPECT_EQ(countWeekdayInMonth(6, makeDate(2015, 2, 1)), 4);  // February 2015: four of each
}

TEST(MonthHourLimits, KnownMonths) {
    struct Case {
        int year, month;
        double g1, g2, g3, total;
    };
    const Case kCases[] = {
        {2013, 10, 40, 40, 30, 110},
        {2014, 1, 40, 40, 30, 110},
        {2014, 2, 38, 40, 10, 88},
        {2013, 3, 42, 50, 0, 92},
    };
    for (const auto& c : kCases) {
        MonthHourLimits l = monthHourLimits(makeDate(c.year, c.month, 20));
        EXPECT_EQ(l.g1, c.g1) << c.year << '-' << c.month;
        EXPECT_EQ(l.g2, c.g2) << c.year << '-' << c.month;
        EXPECT_EQ(l.g3, c.g3) << c.year << '-' << c.month;
        EXPECT_EQ(l.total, c.total) << c.year << '-' << c.month;
        EXPECT_EQ(l.total, l.g1 + l.g2 + l.g3);
    }
}

TEST(MonthHourLimits, UnderTheCurrentRulesEachDayCountsOnceByItsKind) {
    struct Case {
        int year, month;
        double g1, g2, g3;
    };
    const Case kCases[] = {
        // 1-3 statutory; days off 4 (Fri), 5 (Sat), 7 (Mon); the Sunday off
        // (6) counts nothing; Saturday 12 is a make-up working day.
        {2013, 10, 38, 50, 30},
        // 除夕 to 正月初三 (16-19); days off 20, 21, 23 and Sunday 15, 22;
        // Saturdays 14 and 28 are worked.
        {2026, 2, 32, 40, 40},
        // A year without arrangements: statutory 1-3 (Fri-Sun), then weekdays.
        {2027, 10, 40, 40, 30},
        // 1 and 2 May statutory (Fri, Sat), 4 and 5 off, Sunday 3 off counts
        // nothing, Saturday 9 is worked.
        {2026, 5, 38, 50, 20},
    };
    for (const auto& c : kCases) {
        MonthHourLimits l = monthHourLimits(makeDate(c.year, c.month, 20), {Rules::Current});
        EXPECT_EQ(l.g1, c.g1) << c.year << '-' << c.month;
        EXPECT_EQ(l.g2, c.g2) << c.year << '-' << c.month;
        EXPECT_EQ(l.g3, c.g3) << c.year << '-' << c.month;
        EXPECT_EQ(l.total, c.g1 + c.g2 + c.g3) << c.year << '-' << c.month;
    }
}

}  // namespace
}  // namespace qinghe::wages
