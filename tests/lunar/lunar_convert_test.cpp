#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <tuple>

#include "common/gbk.h"
#include "lunar/lunar.h"
#include "lunar/lunar_tables.h"

namespace qinghe::lunar {
namespace {

struct Lunar {
    int year = -1, month = -1, day = -1;
    bool leap = true;
    friend bool operator==(const Lunar&, const Lunar&) = default;
};

std::ostream& operator<<(std::ostream& os, const Lunar& l) {
    return os << l.year << '-' << l.month << '-' << l.day << (l.leap ? " leap" : "");
}

Lunar convert(DateTime value) {
    Lunar l;
    if (!lunarFromDate(value, l.year, l.month, l.day, l.leap)) return {};
    return l;
}

TEST(LunarFromDate, KnownDates) {
    struct Case {
        int y, m, d;
        Lunar lunar;
    };
    const Case kCases[] = {
        {1901, 2, 19, {1901, 1, 1, false}},    {1902, 2, 8, {1902, 1, 1, false}},
        {2013, 2, 10, {2013, 1, 1, false}},    {2013, 2, 9, {2012, 12, 29, false}},
        {2020, 1, 25, {2020, 1, 1, false}},    {2020, 5, 23, {2020, 4, 1, true}},
        {2020, 4, 23, {2020, 4, 1, false}},    {2034, 2, 19, {2034, 1, 1, false}},
        {2013, 11, 25, {2013, 10, 23, false}}, {2048, 12, 31, {2048, 11, 27, false}},
    };
    for (const auto& c : kCases) {
        EXPECT_EQ(convert(makeDateTime(c.y, c.m, c.d, 23, 59, 59)), c.lunar)
            << c.y << '-' << c.m << '-' << c.d;
    }
}

TEST(LunarFromDate, FailsOutsideTheRangeAndLeavesResultsAlone) {
    for (DateTime v :
         {makeDate(1901, 2, 18), makeDate(2049, 1, 1), makeDate(2049, 2, 2), 0.0,
          kMinDateTime - 1.0, kMaxDateTime + 5.0, std::numeric_limits<double>::quiet_NaN(),
          std::numeric_limits<double>::infinity(), -std::numeric_limits<double>::infinity()}) {
        int y = 7, m = 8, d = 9;
        bool leap = true;
        EXPECT_FALSE(lunarFromDate(v, y, m, d, leap)) << v;
        EXPECT_EQ(std::tie(y, m, d, leap), std::make_tuple(7, 8, 9, true)) << v;
    }
}

TEST(LunarFromDate, NewYearsFallOnTheirDays) {
    const std::tuple<int, int, int, int> kNewYears[] = {
        {1902, 1902, 2, 8}, {2013, 2013, 2, 10}, {2020, 2020, 1, 25}, {2049, 2049, 2, 2}};
    long anchor = static_cast<long>(makeDate(1901, 2, 19));
    for (auto [lunarYear, y, m, d] : kNewYears) {
        EXPECT_EQ(anchor + lunarYearStart(lunarYear), static_cast<long>(makeDate(y, m, d)))
            << lunarYear;
    }
    EXPECT_EQ(anchor + lunarYearStart(2050) - 1, static_cast<long>(makeDate(2050, 1, 22)));
}

TEST(LunarFromDate, EveryDayFollowsItsPredecessor) {
    Lunar previous = convert(makeDate(1901, 2, 19));
    ASSERT_EQ(previous, (Lunar{1901, 1, 1, false}));
    int leapYearsSeen = 0;
    for (long d = static_cast<long>(makeDate(1901, 2, 20));
         d <= static_cast<long>(makeDate(2048, 12, 31)); ++d) {
        Lunar l = convert(static_cast<DateTime>(d));
        ASSERT_NE(l.year, -1) << d;
        int length = lunarMonthDays(previous.year, previous.month, previous.leap);
        if (previous.day < length) {
            ASSERT_EQ(l, (Lunar{previous.year, previous.month, previous.day + 1, previous.leap}))
                << d;
        } else if (!previous.leap && leapMonthOf(previous.year) == previous.month) {
            ASSERT_EQ(l, (Lunar{previous.year, previous.month, 1, true})) << d;
            ++leapYearsSeen;
        } else if (previous.month < 12) {
            ASSERT_EQ(l, (Lunar{previous.year, previous.month + 1, 1, false})) << d;
        } else {
            ASSERT_EQ(l, (Lunar{previous.year + 1, 1, 1, false})) << d;
        }
        previous = l;
    }
    // Every leap month from 1903 to 2047 is reached: the tables list 54.
    EXPECT_EQ(leapYearsSeen, 54);
}

TEST(DateFromLunar, FindsEveryDaysOwnLunarDate) {
    for (long d = static_cast<long>(makeDate(1901, 2, 19));
         d <= static_cast<long>(makeDate(2048, 12, 31)); ++d) {
        Lunar l = convert(static_cast<DateTime>(d));
        DateTime found = -1.0;
        ASSERT_TRUE(dateFromLunar(l.year, l.month, l.day, l.leap, found)) << l;
        ASSERT_EQ(found, static_cast<DateTime>(d)) << l;
    }
}

TEST(DateFromLunar, FailsForDaysTheCalendarLacksOrCannotReach) {
    DateTime v = 123.0;
    EXPECT_FALSE(dateFromLunar(2020, 1, 30, false, v));  // month 1 of 2020 has 29 days
    EXPECT_FALSE(dateFromLunar(2020, 4, 30, true, v));
    EXPECT_FALSE(dateFromLunar(1900, 12, 1, false, v));
    EXPECT_FALSE(dateFromLunar(2050, 1, 1, false, v));
    EXPECT_FALSE(dateFromLunar(2013, 0, 1, false, v));
    EXPECT_FALSE(dateFromLunar(2013, 13, 1, false, v));
    EXPECT_FALSE(dateFromLunar(2013, 1, 0, false, v));
    EXPECT_FALSE(dateFromLunar(2013, 1, 31, false, v));
    EXPECT_FALSE(dateFromLunar(2013, 1, std::numeric_limits<int>::max(), false, v));
    EXPECT_FALSE(dateFromLunar(2049, 1, 1, false, v));  // 2049-02-02: past 2048-12-31
    EXPECT_EQ(v, 123.0);
}

TEST(DateFromLunar, DropsALeapFlagThatTheMonthCannotHave) {
    DateTime v = 0.0;
    ASSERT_TRUE(dateFromLunar(2020, 5, 5, true, v));
    EXPECT_EQ(v, makeDate(2020, 6, 25));
    ASSERT_TRUE(dateFromLunar(2020, 4, 1, true, v));
    EXPECT_EQ(v, makeDate(2020, 5, 23));
    ASSERT_TRUE(dateFromLunar(2020, 4, 1, false, v));
    EXPECT_EQ(v, makeDate(2020, 4, 23));
}

TEST(LunarSolarTerm, NamesAndNumbersTheTermsOfTheDay) {
    struct Case {
        int y, m, d;
        const char* name;  // UTF-8
        int number;
    };
    const Case kCases[] = {
        {2013, 4, 4, "清明", 5}, {2013, 1, 5, "小寒", 23},   {2013, 1, 20, "大寒", 24},
        {2013, 2, 4, "立春", 1}, {2013, 12, 22, "冬至", 22}, {2013, 4, 5, "", 0},
        {2013, 11, 25, "", 0},
    };
    for (const auto& c : kCases) {
        Lunar l = convert(makeDate(c.y, c.m, c.d));
        int number = -1;
        std::string name = lunarSolarTerm(l.year, l.month, l.day, l.leap, &number);
        EXPECT_EQ(gbk::toUtf8(name), c.name) << c.y << '-' << c.m << '-' << c.d;
        EXPECT_EQ(number, c.number) << c.y << '-' << c.m << '-' << c.d;
    }
}

TEST(LunarSolarTerm, LeavesTheNumberAloneWhenTheDateDoesNotConvert) {
    int number = 77;
    EXPECT_EQ(lunarSolarTerm(2020, 1, 30, false, &number), "");
    EXPECT_EQ(lunarSolarTerm(2049, 6, 1, false, &number), "");
    EXPECT_EQ(number, 77);
    EXPECT_EQ(lunarSolarTerm(2013, 2, 25, false), "");  // no number asked for
}

}  // namespace
}  // namespace qinghe::lunar
