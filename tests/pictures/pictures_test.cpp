// The month calendar and the year chart as plain data: what each day and
// each month shows, read from a real journal, under both rules.
#include <gtest/gtest.h>

#include <limits>
#include <optional>

#include "../journal/journal_fixture.h"
#include "journal/months_records.h"
#include "pictures/month_calendar.h"
#include "pictures/year_chart.h"
#include "wages/conversions.h"

namespace qinghe::pictures {
namespace {

using journal::Field;
using journal::JournalRecord;
using wages::DayKind;
using namespace literals;

JournalRecord recordOf(int year, int month, int day, Field field, int hours, bool night = false) {
    JournalRecord r;
    r.date = makeDate(year, month, day);
    r.weekday = journal::weekdayText(r.date);
    r.nightShift = night ? 1 : 0;
    for (const journal::IntegerField& f : journal::kIntegerFields) {
        if (f.field == field) r.*f.member = hours;
    }
    return r;
}

JournalRecord remarkOf(int year, int month, int day, const char* utf8) {
    JournalRecord r = recordOf(year, month, day, Field::G1, 0);
    r.remark = gbk::fromUtf8(utf8).text;
    return r;
}

// September 2013: 中秋节 on Thursday the 19th, make-up working days on the
// Sundays 22 and 29 (under 现行规则), looked at on the 30th.
class SeptemberOf2013 : public journal::testing::JournalTest {
  protected:
    void SetUp() override {
        JournalTest::SetUp();
        journal::OpenJournal open(access_, journal::OpenMode::ReadWrite);
        ASSERT_TRUE(open.isOpen());
        for (const JournalRecord& r : {
                 recordOf(2013, 9, 19, Field::G3, 8, true),
                 recordOf(2013, 9, 22, Field::G1, 2),
                 recordOf(2013, 9, 10, Field::G1, 2),
                 recordOf(2012, 9, 11, Field::G2, 10),  // another year
                 remarkOf(2013, 9, 14, "休息"),
                 recordOf(2013, 10, 1, Field::G3, 8),  // another month
                 recordOf(2013, 9, 10, Field::PersonalLeave, 4),
             }) {
            ASSERT_TRUE(open.append(r));
        }
    }

    MonthCalendar calendar(wages::Rules rules) {
        std::vector<JournalRecord> records;
        journal::StoreError error;
        EXPECT_TRUE(journal::readMonthsRecords(access_, 2013, 9, 9, records, error)) << error.code;
        EXPECT_EQ(records.size(), 5u);
        return buildMonthCalendar(2013, 9, records, makeDateTime(2013, 9, 30, 9, 30, 0),
                                  {rules, nullptr});
    }
};

TEST_F(SeptemberOf2013, EachDayShowsWhatTheJournalHoldsAndTheKindOfDay) {
    const MonthCalendar c = calendar(wages::Rules::Current);
    EXPECT_EQ(c.title, "2013年9月"_gbk);
    ASSERT_EQ(c.days.size(), 30u);
    EXPECT_EQ(c.weeks, 6);  // the 1st is a Sunday, the 30th a Monday
    EXPECT_EQ(std::pair(c.days[0].column, c.days[0].week), std::pair(6, 0));
    EXPECT_EQ(std::pair(c.days[29].column, c.days[29].week), std::pair(0, 5));

    struct Expected {
        int day;
        DayKind kind;
        std::vector<CalendarEntry> entries;
        bool night, twoRecords, notRecorded, today;
        const char* small;
        const char* name;
    };
    const CalendarEntry g3{EntryKind::G3, "G3 8"}, g1{EntryKind::G1, "G1 2"},
        leave{EntryKind::PersonalLeave, "事假 4"_gbk}, rest{EntryKind::Remark, "休息"_gbk};
    const Expected table[] = {
        {19,
         DayKind::Statutory,
         {g3},
         true,
         false,
         false,
         false,
         "中秋节",
         "9月19日 星期四 法定节假日 中秋节 加班G3 8小时 夜班"},
        {22,
         DayKind::MakeUpWorkday,
         {g1},
         false,
         false,
         false,
         false,
         "十八",
         "9月22日 星期日 调休上班 加班G1 2小时"},
        {10,
         DayKind::Workday,
         {g1, leave},
         false,
         true,
         false,
         false,
         "初六",
         "9月10日 星期二 加班G1 2小时 事假 4小时 2条记录"},
        {14, DayKind::Saturday, {rest}, false, false, false, false, "初十", "9月14日 星期六 休息"},
        {11, DayKind::Workday, {}, false, false, true, false, "初七", "9月11日 星期三 未记录"},
        {29,
         DayKind::MakeUpWorkday,
         {},
         false,
         false,
         true,
         false,
         "廿五",
         "9月29日 星期日 调休上班 未记录"},
        {21, DayKind::DayOff, {}, false, false, false, false, "十七", "9月21日 星期六 放假"},
        {30, DayKind::Workday, {}, false, false, false, true, "廿六", "9月30日 星期一 今天"},
        {5, DayKind::Workday, {}, false, false, true, false, "八月", "9月5日 星期四 未记录"},
        {23, DayKind::Workday, {}, false, false, true, false, "秋分", "9月23日 星期一 未记录"},
    };
    for (const Expected& e : table) {
        SCOPED_TRACE(e.day);
        const CalendarDay& d = c.days[static_cast<std::size_t>(e.day) - 1];
        EXPECT_EQ(d.day, e.day);
        EXPECT_EQ(d.kind.kind, e.kind);
        EXPECT_EQ(d.entries, e.entries);
        EXPECT_EQ(d.nightShift, e.night);
        EXPECT_EQ(d.twoRecords(), e.twoRecords);
        EXPECT_EQ(d.notRecorded, e.notRecorded);
        EXPECT_EQ(d.today, e.today);
        EXPECT_EQ(gbk::toUtf8(d.small), e.small);
        EXPECT_EQ(gbk::toUtf8(d.accessibleName), e.name);
        EXPECT_EQ(calendarDayOf(c, d.date), &d);
    }
    EXPECT_EQ(calendarDayOf(c, makeDate(2013, 10, 1)), nullptr);
    EXPECT_EQ(calendarDayOf(c, makeDate(2012, 9, 1)), nullptr);

    // The totals of the month alone, as "读取数据库" counts them.
    EXPECT_EQ(c.totals.g1, 4);
    EXPECT_EQ(c.totals.g2, 0);
    EXPECT_EQ(c.totals.g3, 8);
    EXPECT_EQ(c.totals.personalLeave, 4);
    EXPECT_EQ(c.totals.nightShifts, 1);
    EXPECT_EQ(gbk::toUtf8(c.totalsText),
              "本月合计：加班G1 4小时  加班G2 0小时  加班G3 8小时  事假 4小时  病假 0小时  "
              "旷工 0小时  夜班 1次（津贴4.5元）");
}

TEST_F(SeptemberOf2013, UnderTheOriginalRulesSundaysAreNeverWorkingDays) {
    const MonthCalendar c = calendar(wages::Rules::Seed);
    const CalendarDay& sunday = c.days[28];
    EXPECT_EQ(sunday.kind.kind, DayKind::Sunday);
    EXPECT_FALSE(sunday.notRecorded);
    EXPECT_FALSE(sunday.marked());
    EXPECT_EQ(c.days[18].kind.kind, DayKind::Statutory);
    EXPECT_EQ(gbk::toUtf8(c.days[21].accessibleName), "9月22日 星期日 加班G1 2小时");
}

TEST(MonthCalendar, ADayRecordedWithoutHoursOrRemarkShowsAnEmptyRemark) {
    const JournalRecord empty = remarkOf(2014, 5, 6, "");
    JournalRecord negative = recordOf(2014, 5, 7, Field::Absence, -3);
    const std::vector<JournalRecord> records{empty, negative};
    const MonthCalendar c = buildMonthCalendar(2014, 5, records, makeDate(2014, 6, 1), {});
    EXPECT_EQ(c.days[5].entries, (std::vector<CalendarEntry>{{EntryKind::Remark, ""}}));
    EXPECT_EQ(gbk::toUtf8(c.days[5].accessibleName), "5月6日 星期二 空备注");
    EXPECT_EQ(c.days[6].entries, (std::vector<CalendarEntry>{{EntryKind::Absence, "旷工 -3"_gbk}}));
    EXPECT_EQ(c.weeks, 5);  // the 1st a Thursday
}

TEST(YearChart, TwelveMonthsOfHoursWithTheirLimitsAndTheNetPayWhereKnown) {
    const std::vector<JournalRecord> records{
        recordOf(2013, 10, 1, Field::G3, 8),        recordOf(2013, 10, 8, Field::G1, 2),
        recordOf(2013, 10, 9, Field::SickLeave, 8), recordOf(2013, 1, 5, Field::G2, 10),
        recordOf(2012, 10, 1, Field::G3, 8),  // another year
        recordOf(2013, 12, 31, Field::Absence, 4),
    };
    for (const wages::Rules rules : wages::allRules()) {
        const YearChart chart = buildYearChart(2013, records, {rules, nullptr});
        EXPECT_FALSE(chart.hasPay);
        for (int m = 1; m <= 12; ++m) {
            const ChartMonth& month = chart.months[static_cast<std::size_t>(m) - 1];
            EXPECT_EQ(month.month, m);
            EXPECT_EQ(month.label, std::to_string(m) + "月"_gbk);
            EXPECT_EQ(month.limit, wages::monthHourLimits(makeDate(2013, m, 1), {rules}).total);
        }
    }
    wages::DayRules current{wages::Rules::Current, nullptr};
    NetPaySeries pay{};
    pay[0] = 3000'50;
    pay[9] = 3520'00;
    const YearChart chart = buildYearChart(2013, records, current, pay);
    EXPECT_TRUE(chart.hasPay);
    const ChartMonth& october = chart.months[9];
    EXPECT_EQ(october.hours, (std::array<std::int64_t, 6>{2, 0, 8, 0, 8, 0}));
    EXPECT_EQ(october.overtime(), 10);
    EXPECT_EQ(october.leave(), 8);
    EXPECT_EQ(gbk::toUtf8(october.figures),
              "10月 加班G1 2小时 加班G2 0小时 加班G3 8小时 共10小时 上限" +
                  gbk::toUtf8(wages::numberToText(october.limit)) +
                  "小时 事假 0小时 病假 8小时 旷工 0小时 实发工资 3520.00元");
    EXPECT_EQ(chart.months[11].hours[5], 4);
    EXPECT_EQ(gbk::toUtf8(chart.totalsText),
              "全年合计：加班G1 2小时 加班G2 10小时 加班G3 8小时 共20小时 事假 0小时 病假 8小时 "
              "旷工 4小时 实发工资 6520.50元");
    EXPECT_EQ(chart.months[1].figures.find("实发"_gbk), std::string::npos);
    // A damaged row's amount is taken at the bound, so the year's sum holds.
    pay.fill(std::numeric_limits<wages::Fen>::max());
    pay[0] = std::numeric_limits<wages::Fen>::min();
    const YearChart damaged = buildYearChart(2013, records, current, pay);
    EXPECT_TRUE(damaged.totalsText.ends_with("实发工资 9999999999999.90元"_gbk))
        << gbk::toUtf8(damaged.totalsText);
}

}  // namespace
}  // namespace qinghe::pictures
