// qinghe-cli pay: the pay record (payrecord/pay_record.h) for scripts and
// for checking, read only.
//
//   pay list [--year Y]     every month's row (of year Y only, with --year):
//                           a heading line, then one line a month by year and
//                           month, the columns of payrecord::rowColumns
//                           (年份 月份 应发工资 专项扣除 专项附加扣除 其他扣除
//                           代扣个税 实发工资 计算规则)
//   pay settle [--year Y]   the settlement of year Y (default: this year by
//                           the local clock) from its rows: one line a
//                           figure, its name and its value, in the order of
//                           payrecord::settlementFigures
//
// Both take --dir DIR (the data folder; default: the one the window uses;
// neither the empty name nor one holding "\") and --password P (default
// empty; "?" asks on the terminal), as journal does; each option at most
// once. Output UTF-8, fields separated by one TAB, amounts with exactly two
// decimals. A folder without a pay record has no rows: list prints the
// heading alone, settle a settlement of nothing. Exit status: 0 done, 1 the
// pay record failed ("error CODE: 工资记录：MESSAGE" on stderr, or for a
// damaged one "error CODE: 工资记录文件已损坏，…": datafolder/password.h)
// or, for settle, a year before 2019 (wages were taxed month by month then:
// no settlement), 2 bad usage (Y not 1 to 9999, an unknown option, an option
// given twice, a --dir refused).
#pragma once

#include <string_view>

#include "cli/command.h"

namespace qinghe::cli {

int runPay(Args args, std::ostream& out, std::ostream& err);

inline constexpr std::string_view kPayUsage =
    "list [--year Y] | settle [--year Y]; each [--dir DIR] [--password P]";

}  // namespace qinghe::cli
