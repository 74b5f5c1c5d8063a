#include "lunar/lunar_tables.h"

#include <gtest/gtest.h>

#include <map>

namespace qinghe::lunar {
namespace {

TEST(LunarTables, LeapMonthsAreExactlyTheListedYears) {
    const std::map<int, int> kLeapYears = {
        {1903, 5},  {1906, 4}, {1909, 2}, {1911, 6}, {1914, 5}, {1917, 2}, {1919, 7},  {1922, 5},
        {1925, 4},  {1928, 2}, {1930, 6}, {1933, 5}, {1936, 3}, {1938, 7}, {1941, 6},  {1944, 4},
        {1947, 2},  {1949, 7}, {1952, 5}, {1955, 3}, {1957, 8}, {1960, 6}, {1963, 4},  {1966, 3},
        {1968, 7},  {1971, 5}, {1974, 4}, {1976, 8}, {1979, 6}, {1982, 4}, {1984, 10}, {1987, 6},
        {1990, 5},  {1993, 3}, {1995, 8}, {1998, 5}, {2001, 4}, {2004, 2}, {2006, 7},  {2009, 5},
        {2012, 4},  {2014, 9}, {2017, 6}, {2020, 4}, {2023, 2}, {2025, 6}, {2028, 5},  {2031, 3},
        {2033, 11}, {2036, 6}, {2039, 5}, {2042, 2}, {2044, 7}, {2047, 5},
    };
    ASSERT_EQ(kLeapYears.size(), 54u);
    for (int y = kFirstLunarYear; y <= kLastLunarYear; ++y) {
        auto it = kLeapYears.find(y);
        EXPECT_EQ(leapMonthOf(y), it == kLeapYears.end() ? 0 : it->second) << y;
    }
    EXPECT_EQ(leapMonthOf(1900), 0);
    EXPECT_EQ(leapMonthOf(2050), 0);
}

TEST(LunarTables, WordsHoldOnlyTheirMonthsAndYearsHaveSaneLengths) {
    for (int y = kFirstLunarYear; y <= kLastLunarYear; ++y) {
        int months = leapMonthOf(y) == 0 ? 12 : 13;
        std::uint16_t unused = static_cast<std::uint16_t>((1u << (16 - months)) - 1);
        EXPECT_EQ(kMonthLengthWords[static_cast<std::size_t>(y - kFirstLunarYear)] & unused, 0)
            << y;

        int sum = 0;
        for (int m = 1; m <= 12; ++m) {
            int ordinary = lunarMonthDays(y, m, false);
            EXPECT_TRUE(ordinary == 29 || ordinary == 30) << y << '-' << m;
            int leap = lunarMonthDays(y, m, true);
            EXPECT_EQ(leap != 0, leapMonthOf(y) == m) << y << '-' << m;
            if (leap != 0) {
                EXPECT_TRUE(leap == 29 || leap == 30) << y << '-' << m;
            }
            sum += ordinary + leap;
        }
        EXPECT_EQ(sum, lunarYearDays(y)) << y;
        if (months == 12) {
            EXPECT_GE(sum, 353) << y;
            EXPECT_LE(sum, 355) << y;
        } else {
            EXPECT_GE(sum, 383) << y;
            EXPECT_LE(sum, 385) << y;
        }
        EXPECT_EQ(lunarYearStart(y + 1) - lunarYearStart(y), sum) << y;
    }
}

TEST(LunarTables, MonthLengthsReadTheRightBits) {
    EXPECT_EQ(lunarMonthDays(2020, 4, true), 29);
    EXPECT_EQ(lunarMonthDays(2020, 5, true), 0);
    EXPECT_EQ(lunarMonthDays(2020, 12, false), 30);  // 0x74A8: the thirteenth month is long
    EXPECT_EQ(lunarMonthDays(2020, 1, false), 29);
    EXPECT_EQ(lunarMonthDays(2020, 2, false), 30);
    EXPECT_EQ(lunarMonthDays(2033, 11, true), 29);
    EXPECT_EQ(lunarMonthDays(2033, 12, false), 30);
}

TEST(LunarTables, OutOfRangeGivesZero) {
    for (auto [y, m] : {std::pair{1900, 1}, {2050, 1}, {2013, 0}, {2013, 13}, {2013, -1}}) {
        EXPECT_EQ(lunarMonthDays(y, m, false), 0) << y << '-' << m;
        EXPECT_EQ(lunarMonthDays(y, m, true), 0) << y << '-' << m;
    }
    EXPECT_EQ(lunarYearDays(1900), 0);
}

}  // namespace
}  // namespace qinghe::lunar
