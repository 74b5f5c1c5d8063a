// The year chart: the twelve months of one year as the journal holds them,
// for bars of overtime (G1, G2 and G3 stacked), bars of leave and absence
// (事假, 病假 and 旷工 stacked) beside them, each month's limit of overtime
// by the rules in force (wages/holidays.h, monthHourLimits' total) as a mark,
// and, when a net pay series is given, the net pay of each month as a line on
// a second axis. The window's page "月历" draws it and qinghe-cli journal chart
// writes it to a file (drawing/chart_painter.h); this is its content as plain
// data.
//
// A month's hours are counted as "读取数据库" counts them for that month
// (journal/month_totals.h). Each month has a label ("1月") and the figures a
// hover or the keyboard's focus shows, which are also its accessible name:
// "10月 加班G1 2小时 加班G2 8小时 加班G3 30小时 共40小时 上限116小时 事假 4小时
// 病假 0小时 旷工 0小时 实发工资 3520.5元" (the pay only where known). Pure;
// texts are GBK.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "journal/journal_record.h"
#include "wages/holidays.h"
#include "wages/money.h"

namespace qinghe::pictures {

inline constexpr int kMonthsInYear = 12;

// Net pay of each month, January first, in fen; nullopt where unknown.
using NetPaySeries = std::array<std::optional<wages::Fen>, kMonthsInYear>;

struct ChartMonth {
    int month = 1;
    // Hours of each kind of hours, in the order of hourKinds().
    std::array<std::int64_t, 6> hours{};
    double limit = 0;  // the month's overtime limit in hours
    std::optional<wages::Fen> netPay;
    std::string label;    // "1月"
    std::string figures;  // the hover text and accessible name

    std::int64_t overtime() const { return hours[0] + hours[1] + hours[2]; }
    std::int64_t leave() const { return hours[3] + hours[4] + hours[5]; }
};

struct YearChart {
    int year = 0;
    std::array<ChartMonth, kMonthsInYear> months;
    bool hasPay = false;     // some month has its net pay
    std::string title;       // "2013年加班与请假"
    std::string totalsText;  // "全年合计：加班G1 ..."
};

// The chart of `year` (of the years 100..9999) from `records` (those of other
// years are left out), the limits under `rules`, and the net pay of the
// months where `netPay` has it (beyond ±kMaxHundredths taken as that bound).
YearChart buildYearChart(int year, std::span<const journal::JournalRecord> records,
                         const wages::DayRules& rules, const NetPaySeries& netPay = {});

}  // namespace qinghe::pictures
