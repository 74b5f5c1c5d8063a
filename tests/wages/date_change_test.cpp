#include "wages/date_change.h"

#include <gtest/gtest.h>

#include "common/gbk.h"

namespace qinghe::wages {
namespace {

using namespace literals;

std::string utf8(const std::string& gbk) {
    return gbk::toUtf8(gbk);
}

TEST(DayEntryPreset, FollowsTheWeekdayOfThePickedDay) {
    DayEntryPreset sunday = dayEntryPreset(makeDate(2013, 10, 6));
    EXPECT_EQ(sunday.choice, DayEntryPreset::Choice::Unchanged);
    EXPECT_EQ(utf8(sunday.comboText), "休息");
    EXPECT_TRUE(sunday.clearNightShift);

    DayEntryPreset saturday = dayEntryPreset(makeDateTime(2013, 10, 5, 23, 0, 0));
    EXPECT_EQ(saturday.choice, DayEntryPreset::Choice::OvertimeG2);
    EXPECT_EQ(saturday.comboText, "10");
    EXPECT_FALSE(saturday.clearNightShift);

    for (int day = 7; day <= 11; ++day) {  // Monday to Friday
        DayEntryPreset weekday = dayEntryPreset(makeDate(2013, 10, day));
        EXPECT_EQ(weekday.choice, DayEntryPreset::Choice::OvertimeG1) << day;
        EXPECT_EQ(weekday.comboText, "2");
        EXPECT_FALSE(weekday.clearNightShift);
    }
}

struct MonthCase {
    int year, month;
    const char* g1;
    const char* g2;
    const char* g3;
    const char* total;
    const char* holidays;
};

TEST(DateChangeCaptions, LimitAndHolidayLabelsOfKnownMonths) {
    const MonthCase kCases[] = {
        {2013, 10, "本月G1最多时数：40", "本月G2最多时数：40", "本月G3最多时数：30",
         "本月最多加班时数：110", "本月法定节假日有：国庆 "},
        {2014, 1, "本月G1最多时数：40", "本月G2最多时数：40", "本月G3最多时数：30",
         "本月最多加班时数：110", "本月法定节假日有：春节 除夕 元旦 "},
        {2014, 2, "本月G1最多时数：38", "本月G2最多时数：40", "本月G3最多时数：10",
         "本月最多加班时数：88", "本月法定节假日有：正月初二 "},
        {2013, 3, "本月G1最多时数：42", "本月G2最多时数：50", "本月G3最多时数：0",
         "本月最多加班时数：92", ""},
    };
    for (const auto& c : kCases) {
        DateChangeCaptions captions = dateChangeCaptions(makeDate(c.year, c.month, 9), "5", {});
        EXPECT_EQ(utf8(captions.g1Limit), c.g1) << c.year << '-' << c.month;
        EXPECT_EQ(utf8(captions.g2Limit), c.g2) << c.year << '-' << c.month;
        EXPECT_EQ(utf8(captions.g3Limit), c.g3) << c.year << '-' << c.month;
        EXPECT_EQ(utf8(captions.totalLimit), c.total) << c.year << '-' << c.month;
        EXPECT_EQ(utf8(captions.holidays), c.holidays) << c.year << '-' << c.month;
    }
}

TEST(DateChangeCaptions, HoursDoneAddTheThreeBoxesUnderTheTotalsMonth) {
    DateTime picked = makeDate(2013, 10, 9);
    EXPECT_EQ(utf8(dateChangeCaptions(picked, "5", {"12", "16", "8"}).hoursDone),
              "5月已加班36个小时。");
    // Empty and non-numeric boxes count as 0; full-width digits are read.
    const std::string fullWidth = "１２．５"_gbk;
    EXPECT_EQ(utf8(dateChangeCaptions(picked, "10", {"", "abc", fullWidth}).hoursDone),
              "10月已加班12.5个小时。");
}

}  // namespace
}  // namespace qinghe::wages
