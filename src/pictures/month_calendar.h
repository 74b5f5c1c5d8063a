// The month calendar: what the journal holds for each day of one month, laid
// out in weeks of seven columns, Monday to Sunday, with the kind of each day
// under the rules in force and the month's totals. The window's page "月历"
// draws it (drawing/calendar_painter.h); this is its content as plain data,
// so that what each day shows can be checked without pixels.
//
// Each day shows:
//   - its number, and in small type its festival (a statutory day's, by the
//     rules in force), else the solar term that falls on it, else its lunar
//     day ("初八"; the lunar month's name, "十月" or "闰四月", on the first);
//   - one entry per kind of hours its records hold, "G1 2", "事假 8" (the
//     journal's field name and the whole hours; any hours but 0, negative
//     ones too), and a record's remark as it is; a record with neither shows
//     as an empty remark;
//   - flags: a night shift (a record with 夜班 not 0), two or more records of
//     the day (both shown), today, and not recorded: a working day (工作日 or
//     调休上班 by the rules) before today without any record;
//   - its kind of day (wages/holidays.h): statutory days, announced days off
//     and make-up working days are marked.
// Its accessible name says all of that in words, for example
// "10月8日 星期二 加班G1 2小时", "10月1日 星期二 法定节假日 国庆 加班G3 8小时 夜班",
// "10月9日 星期三 未记录", "10月12日 星期六 调休上班 今天".
//
// Under the days, the month's totals, counted as "读取数据库" counts them
// (journal/month_totals.h). Pure; texts are GBK.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "common/datetime.h"
#include "journal/journal_record.h"
#include "journal/month_totals.h"
#include "pictures/entry_kinds.h"
#include "wages/holidays.h"

namespace qinghe::pictures {

inline constexpr int kWeekColumns = 7;  // Monday first

// One thing a day shows.
struct CalendarEntry {
    EntryKind kind = EntryKind::Remark;
    std::string text;  // "G1 2", "事假 8", or the remark
    friend bool operator==(const CalendarEntry&, const CalendarEntry&) = default;
};

struct CalendarDay {
    int day = 1;     // of the month
    int column = 0;  // 0 Monday .. 6 Sunday
    int week = 0;    // the row, from 0
    DateTime date = 0.0;
    std::string small;  // festival, solar term or lunar day
    wages::KindOfDay kind;
    std::vector<CalendarEntry> entries;  // in file order of the records
    int records = 0;                     // records of the day
    bool nightShift = false;
    bool notRecorded = false;
    bool today = false;
    std::string accessibleName;

    bool twoRecords() const { return records > 1; }
    // A statutory day, an announced day off or a make-up working day.
    bool marked() const;
};

struct MonthCalendar {
    int year = 0, month = 0;
    int weeks = 0;  // rows: 4 to 6
    std::vector<CalendarDay> days;
    journal::MonthTotals totals;  // lastDate not set
    std::string title;            // "2013年10月"
    std::string totalsText;       // "本月合计：G1 2小时 ..."
};

// The calendar of `month` of `year` (a month of the years 100..9999) from
// `records` (those of other months are left out), with `today` (its time of
// day ignored) for the today and not-recorded flags and `rules` for the kinds
// of day.
MonthCalendar buildMonthCalendar(int year, int month,
                                 std::span<const journal::JournalRecord> records, DateTime today,
                                 const wages::DayRules& rules);

// The day of the calendar that holds `date`, or nullptr for a date of
// another month.
const CalendarDay* calendarDayOf(const MonthCalendar& calendar, DateTime date);

}  // namespace qinghe::pictures
