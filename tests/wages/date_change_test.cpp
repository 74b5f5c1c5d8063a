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

TEST(DayEntryPreset, UnderTheCurrentRulesFollowsTheKindOfTheDay) {
    using Choice = DayEntryPreset::Choice;
    struct Case {
        int year, month, day;
        Choice choice;
        const char* combo;
        bool clearNightShift;
    };
    const Case kCases[] = {
        {2026, 2, 17, Choice::OvertimeG3, "10", false},  // 春节, a Tuesday
        {2026, 2, 14, Choice::OvertimeG1, "2", false},   // a Saturday worked
        {2026, 2, 20, Choice::OvertimeG2, "10", false},  // a Friday off
        {2026, 2, 22, Choice::Unchanged, "休息", true},  // a Sunday off
        {2026, 2, 21, Choice::OvertimeG2, "10", false},  // a Saturday off
        {2026, 3, 7, Choice::OvertimeG2, "10", false},   // an ordinary Saturday
        {2026, 3, 8, Choice::Unchanged, "休息", true},
        {2026, 3, 9, Choice::OvertimeG1, "2", false},
        {2027, 10, 1, Choice::OvertimeG3, "10", false},  // statutory without arrangements
        {2027, 10, 4, Choice::OvertimeG1, "2", false},   // but no days off
    };
    for (const auto& c : kCases) {
        const DayEntryPreset p =
            dayEntryPreset(makeDateTime(c.year, c.month, c.day, 21, 0, 0), {Rules::Current});
        EXPECT_EQ(p.choice, c.choice) << c.year << '-' << c.month << '-' << c.day;
        EXPECT_EQ(utf8(p.comboText), c.combo) << c.year << '-' << c.month << '-' << c.day;
        EXPECT_EQ(p.clearNightShift, c.clearNightShift) << c.year << '-' << c.month << '-' << c.day;
    }
    // The original rules keep the weekday: 春节 on a Tuesday is a G1 day.
    EXPECT_EQ(dayEntryPreset(makeDate(2026, 2, 17)).choice, Choice::OvertimeG1);
}

TEST(MonthArrangementsText, TheMonthsDaysOffAndWorkingDaysInRuns) {
    const std::pair<DateTime, const char*> kCases[] = {
        {makeDate(2026, 2, 1), "放假15日至23日，14日、28日上班"},
        {makeDate(2025, 10, 31), "放假1日至8日，11日上班"},
        {makeDate(2025, 9, 1), "28日上班"},
        {makeDate(2020, 1, 5), "放假1日、24日至31日，19日上班"},
        {makeDate(2026, 3, 1), ""},
        {makeDate(2027, 1, 1), "2027年放假安排未收录"},
        {makeDate(2003, 10, 1), "2003年放假安排未收录"},
    };
    for (const auto& [date, text] : kCases)
        EXPECT_EQ(utf8(monthArrangementsText(date, Arrangements::builtIn())), text) << text;
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

TEST(DateChangeCaptions, UnderTheCurrentRulesTheEraAndTheArrangementsCount) {
    const DateChangeCaptions c =
        dateChangeCaptions(makeDate(2026, 2, 9), "2", {"4", "", ""}, {Rules::Current});
    EXPECT_EQ(utf8(c.g1Limit), "本月G1最多时数：32");
    EXPECT_EQ(utf8(c.g2Limit), "本月G2最多时数：40");
    EXPECT_EQ(utf8(c.g3Limit), "本月G3最多时数：40");
    EXPECT_EQ(utf8(c.totalLimit), "本月最多加班时数：112");
    EXPECT_EQ(utf8(c.holidays), "本月法定节假日有：正月初三 正月初二 春节 除夕 ");
    EXPECT_EQ(utf8(c.arranged), "放假15日至23日，14日、28日上班");
    EXPECT_EQ(utf8(c.hoursDone), "2月已加班4个小时。");
    EXPECT_EQ(dateChangeCaptions(makeDate(2026, 2, 9), "2", {}).arranged, "");
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
