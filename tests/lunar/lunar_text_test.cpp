#include <gtest/gtest.h>

#include <limits>

#include "common/gbk.h"
#include "lunar/lunar.h"

namespace qinghe::lunar {
namespace {

using namespace literals;

std::string text(DateTime v, std::string_view utf8Format = {}) {
    return gbk::toUtf8(lunarDateText(v, gbk::fromUtf8(utf8Format).text));
}

TEST(LunarDateText, DefaultFormat) {
    EXPECT_EQ(gbk::toUtf8(defaultLunarDateFormat()), "%Y年(%S)%M%D %y-%m-%d");
    EXPECT_EQ(text(makeDateTime(2013, 11, 25, 10, 0, 0)), "癸巳年(蛇)十月廿三 2013-11-25");
    EXPECT_EQ(text(makeDate(2020, 5, 23)), "庚子年(鼠)闰四月初一 2020-5-23");
    EXPECT_EQ(text(makeDate(1924, 2, 10)), "甲子年(鼠)正月初六 1924-2-10");
}

TEST(LunarDateText, CycleYearTurnsAtTheMomentOfLichun) {
    EXPECT_EQ(text(makeDateTime(2013, 2, 3, 23, 0, 0), "%Y%S"), "壬辰龙");
    EXPECT_EQ(text(makeDateTime(2013, 2, 4, 0, 13, 19), "%Y%S"), "壬辰龙");
    EXPECT_EQ(text(makeDateTime(2013, 2, 4, 0, 13, 20), "%Y%S"), "癸巳蛇");
    EXPECT_EQ(text(makeDateTime(2013, 2, 5, 0, 0, 0), "%Y%S"), "癸巳蛇");
    // Lunar new year (2013-02-10) does not change it again.
    EXPECT_EQ(text(makeDate(2013, 2, 10), "%Y"), "癸巳");
    // 1901 is 辛丑 once its 立春 (2-4 19:39:59) has passed, 庚子 before.
    EXPECT_EQ(text(makeDate(1901, 2, 19), "%Y"), "辛丑");
    EXPECT_EQ(text(makeDate(1902, 2, 4), "%Y"), "辛丑");
    // Year 1 of the cycle wraps back to 60 before its 立春.
    EXPECT_EQ(text(makeDate(1924, 1, 15), "%Y"), "癸亥");
}

TEST(LunarDateText, MonthAndDayNames) {
    struct Case {
        int y, m, d;
        const char* expected;
    };
    const Case kCases[] = {
        {2013, 2, 10, "正月初一"},   {2013, 2, 19, "正月初十"}, {2013, 2, 20, "正月十一"},
        {2013, 2, 28, "正月十九"},   {2013, 3, 1, "正月二十"},  {2013, 3, 2, "正月廿一"},
        {2013, 3, 10, "正月廿九"},   {2013, 3, 11, "正月三十"}, {2013, 3, 12, "二月初一"},
        {2013, 2, 9, "腊月廿九"},    {2013, 12, 3, "冬月初一"}, {2014, 1, 30, "腊月三十"},
        {2020, 6, 20, "闰四月廿九"}, {2020, 6, 21, "五月初一"},
    };
    for (const auto& c : kCases) {
        EXPECT_EQ(text(makeDate(c.y, c.m, c.d), "%M%D"), c.expected)
            << c.y << '-' << c.m << '-' << c.d;
    }
}

TEST(LunarDateText, FormatsAndCodes) {
    DateTime v = makeDate(2013, 11, 25);
    EXPECT_EQ(text(v, "no codes at all"), "no codes at all");
    EXPECT_EQ(text(v, "%d/%d %m%y"), "25/25 112013");
    EXPECT_EQ(text(v, "100%"), "100%");
    EXPECT_EQ(text(v, "%%Y%Q"), "%癸巳%Q");
    EXPECT_EQ(lunarDateText(v, ""), lunarDateText(v));
}

TEST(LunarDateText, OutsideTheRangeLeavesTheLunarPartsEmpty) {
    EXPECT_EQ(text(makeDate(1901, 2, 18)), "年() 1901-2-18");
    EXPECT_EQ(text(makeDate(2049, 1, 1)), "年() 2049-1-1");
    EXPECT_EQ(text(0.0), "年() 1899-12-30");
    EXPECT_EQ(text(std::numeric_limits<double>::quiet_NaN()), "年() 1899-12-30");
    EXPECT_EQ(text(1e300), "年() 9999-12-31");
}

}  // namespace
}  // namespace qinghe::lunar
