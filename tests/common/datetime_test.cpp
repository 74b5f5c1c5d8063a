#include "common/datetime.h"

#include <gtest/gtest.h>

#include <cmath>

#include "common/gbk.h"

namespace qinghe {
namespace {

using namespace literals;

TEST(DateTime, KnownDayNumbers) {
    EXPECT_EQ(makeDate(1899, 12, 30), 0.0);
    EXPECT_EQ(makeDate(1900, 1, 1), 2.0);
    EXPECT_EQ(makeDate(1970, 1, 1), 25569.0);
    EXPECT_EQ(makeDate(100, 1, 1), kMinDateTime);
    EXPECT_EQ(makeDate(9999, 12, 31), kMaxDateTime);
    // Day beyond the month counts on.
    EXPECT_EQ(makeDate(2013, 2, 30), makeDate(2013, 3, 2));
}

TEST(DateTime, RoundTripsEveryDayOfTheRange) {
    for (long d = static_cast<long>(kMinDateTime); d <= static_cast<long>(kMaxDateTime); ++d) {
        CivilDate c = civilFromDays(d);
        ASSERT_EQ(daysFromCivil(c.year, c.month, c.day), d);
        ASSERT_GE(c.day, 1);
        ASSERT_LE(c.day, daysInMonth(c.year, c.month));
    }
}

TEST(DateTime, WeekdayNumbersSundayAsOne) {
    EXPECT_EQ(weekdayOf(makeDate(2013, 5, 5)), 1);  // Sunday
    EXPECT_EQ(weekdayOf(makeDate(2013, 5, 6)), 2);
    EXPECT_EQ(weekdayOf(makeDate(2013, 5, 11)), 7);  // Saturday
    EXPECT_EQ(weekdayOf(0.0), 7);                    // 1899-12-30 was a Saturday
    EXPECT_EQ(weekdayOf(-1.0), 6);
    EXPECT_EQ(weekdayOf(makeDateTime(2013, 5, 5, 23, 59, 59)), 1);
}

TEST(DateTime, DaysInMonthAndLimits) {
    EXPECT_EQ(daysInMonth(2012, 2), 29);
    EXPECT_EQ(daysInMonth(1900, 2), 28);
    EXPECT_EQ(daysInMonth(2000, 2), 29);
    EXPECT_EQ(daysInMonth(2013, 12), 31);
    EXPECT_EQ(daysInMonth(2013, 13), 0);
    EXPECT_EQ(daysInMonth(99, 1), 0);
    EXPECT_EQ(daysInMonth(10000, 1), 0);
}

TEST(DateTime, TimeOfDayRoundsToTheSecondAndCarries) {
    DateTime v = makeDateTime(2013, 5, 6, 13, 5, 9);
    EXPECT_EQ(timeOf(v), (TimeOfDay{13, 5, 9}));
    EXPECT_EQ(dateOf(v), (CivilDate{2013, 5, 6}));
    // A hair below midnight rounds to the next day's 00:00:00.
    DateTime late = makeDate(2013, 5, 6) + 0.9999999999;
    EXPECT_EQ(dateOf(late), (CivilDate{2013, 5, 7}));
    EXPECT_EQ(timeOf(late), (TimeOfDay{0, 0, 0}));
    // Negative values: whole part is the day, the fraction's size the time.
    EXPECT_EQ(dateOf(-1.25), (CivilDate{1899, 12, 29}));
    EXPECT_EQ(timeOf(-1.25), (TimeOfDay{6, 0, 0}));
    EXPECT_EQ(makeDateTime(1899, 12, 29, 6, 0, 0), -1.25);
    EXPECT_EQ(dateOnly(makeDateTime(2013, 5, 6, 23, 0, 0)), makeDate(2013, 5, 6));
}

TEST(DateTime, NonFiniteAndHugeValuesStayDefined) {
    EXPECT_EQ(dateOf(std::nan("")), (CivilDate{1899, 12, 30}));
    EXPECT_EQ(dateOf(1e300), dateOf(1e8));
    EXPECT_EQ(dateOf(-HUGE_VAL), dateOf(-1e8));
    EXPECT_GE(weekdayOf(HUGE_VAL), 1);
    EXPECT_EQ(dateTimeToText(std::nan("")), "1899年12月30日"_gbk);
    EXPECT_EQ(dateTimeToText(HUGE_VAL), "9999年12月31日"_gbk);
}

TEST(DateTime, TextForms) {
    // The time of day follows only when it is not midnight: with seconds all
    // three parts, else with minutes hours and minutes, else the hour alone.
    const struct {
        DateTime value;
        const char* text;
    } cases[] = {
        {0.0, "1899年12月30日"},
        {makeDate(2013, 5, 6), "2013年5月6日"},
        {makeDateTime(2013, 5, 6, 8, 0, 0), "2013年5月6日8时"},
        {makeDateTime(2013, 5, 6, 8, 7, 0), "2013年5月6日8时7分"},
        {makeDateTime(2013, 5, 6, 8, 0, 3), "2013年5月6日8时0分3秒"},
        {makeDateTime(2013, 5, 6, 8, 7, 3), "2013年5月6日8时7分3秒"},
        {makeDateTime(2013, 5, 6, 0, 7, 0), "2013年5月6日0时7分"},
        {makeDateTime(2013, 5, 6, 0, 0, 3), "2013年5月6日0时0分3秒"},
        {makeDateTime(2013, 12, 31, 23, 59, 59), "2013年12月31日23时59分59秒"},
        {3000000.0, "9999年12月31日"},
        {-700000.0, "100年1月1日"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(gbk::toUtf8(dateTimeToText(c.value)), c.text) << c.value;
    }
}

}  // namespace
}  // namespace qinghe
