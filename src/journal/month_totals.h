// The month's totals: what the "读取数据库" button writes into the pay form
// for the month of the date picker's date.
//
// Every record of the picked month adds its hours of each kind and its night
// shift; a record belongs to the month when both its year and its month are
// the picked date's (a journal kept over several years never mixes May 2013
// into May 2014). The allowance is 4.5 per night shift. The last record of the
// file (whatever its month) names the date the journal has reached.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "journal/journal_access.h"
#include "wages/pay_form.h"

namespace qinghe::journal {

inline constexpr double kNightShiftAllowance = 4.5;

struct MonthTotals {
    std::int64_t g1 = 0;
    std::int64_t g2 = 0;
    std::int64_t g3 = 0;
    std::int64_t personalLeave = 0;
    std::int64_t sickLeave = 0;
    std::int64_t nightShifts = 0;
    std::int64_t absence = 0;
    DateTime lastDate = 0.0;  // of the file's last record; 0 for an empty journal
};

// Adds one record's hours and night shift to the totals (its date is not
// looked at).
void addToTotals(MonthTotals& totals, const JournalRecord& record);

// Opens the journal read-only and totals the month of `picked`.
bool totalMonth(const JournalAccess& access, DateTime picked, MonthTotals& totals,
                StoreError& error);

// The texts the window shows for the totals (GBK): the allowance as
// numberToText gives it ("13.5", "0"), the hours as whole numbers, and the
// label of the last date: "当前加班统计到：" followed by dateTimeToText of
// it, or "当前未加班或未记录加班！！！" when that is the zero date.
struct MonthTotalsText {
    std::string nightShiftAllowance;
    std::string g1;
    std::string g2;
    std::string g3;
    std::string personalLeave;
    std::string absence;
    std::string sickLeave;
    std::string lastDate;
};
MonthTotalsText monthTotalsText(const MonthTotals& totals);

// The boxes of the pay form that "读取数据库" writes, in the order it writes
// them, each with its text of the totals. The window writes its boxes
// (wages::PayForm<ui::EditBox*>); qinghe-cli prints each text after the
// box's name. The label of the last date is written after them.
template <class Box>
struct TotalsBox {
    std::string_view name;  // the box's name as the window calls it (UTF-8)
    Box wages::PayForm<Box>::*box;
    std::string MonthTotalsText::*text;
};

template <class Box>
std::span<const TotalsBox<Box>> totalsBoxes() {
    using F = wages::PayForm<Box>;
    using T = MonthTotalsText;
    static const TotalsBox<Box> table[] = {
        {"编辑框夜班津贴", &F::编辑框夜班津贴, &T::nightShiftAllowance},
        {"编辑框1加班小时数", &F::编辑框1加班小时数, &T::g1},
        {"编辑框2加班小时数", &F::编辑框2加班小时数, &T::g2},
        {"编辑框3加班小时数", &F::编辑框3加班小时数, &T::g3},
        {"编辑框事假时数", &F::编辑框事假时数, &T::personalLeave},
        {"编辑框旷工时数", &F::编辑框旷工时数, &T::absence},
        {"编辑框病假时数", &F::编辑框病假时数, &T::sickLeave},
    };
    return table;
}

// The month of a date as the label of hours done shows it: "5" for May.
std::string pickedMonthText(DateTime picked);

}  // namespace qinghe::journal
