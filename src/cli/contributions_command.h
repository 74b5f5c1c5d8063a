// qinghe-cli contributions --base B [--fund-base F] [--rates P,M,U,H]
//     [--fixed A] [--fund-rounding fen|yuan] [--month YYYY-MM] [--dir DIR]:
// the employee's social insurance and housing fund contributions from the
// bases (wages/contributions.h).
//
// B and F are the social insurance and housing fund bases, yuan a month (F
// is B when not given); the rates are percents for 养老, 医疗, 失业 and 公积金
// (8,2,0.5,12 when not given); A is the medical fixed amount a month (0).
// Each is digits with at most two decimals, a rate at most 100. The city
// figures of DIR's 城市参数.txt (by default the data folder's, as for every
// subcommand) in force in the month (by default this month) clamp both
// bases; its rates replace the defaults unless --rates is given, its
// 医疗固定额 the default unless --fixed is. --fund-rounding yuan rounds the
// housing fund to the whole yuan (fen: to the fen, the default).
//
// Output, UTF-8, one TAB between fields, amounts and bases with exactly two
// decimals, rates in percent without trailing zeros ("8", "0.5", "12"):
//   养老<TAB>base used<TAB>rate<TAB>amount
//   医疗<TAB>base used<TAB>rate<TAB>amount (the fixed amount in it)
//   失业<TAB>base used<TAB>rate<TAB>amount
//   公积金<TAB>fund base used<TAB>rate<TAB>amount
//   合计<TAB>the four amounts
//   应税公积金<TAB>the housing fund above 12 % of the fund base used
// A base brought to the city's floor or cap, and taxable housing fund, are
// said on err as well ("qinghe-cli contributions: 社保缴费基数低于本市下限…").
//
// Bad usage (a missing --base, a bad value, an option given twice, an
// argument that is none of these) and a bad line of 城市参数.txt: status 2,
// the reason on err, nothing on out. A 城市参数.txt that cannot be read or
// holds more than 1 MiB: status 1. No 城市参数.txt: no city figures.
#pragma once

#include "cli/command.h"

namespace qinghe::cli {

int runContributions(Args args, std::ostream& out, std::ostream& err);

}  // namespace qinghe::cli
