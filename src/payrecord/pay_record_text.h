// The pay record and the year's settlement as text, the same for the
// window's view of the record and for qinghe-cli pay: one table of columns,
// one of figures. GBK; amounts with exactly two decimals (wages/money.h).
#pragma once

#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "payrecord/pay_record.h"
#include "wages/settlement.h"

namespace qinghe::payrecord {

// A column of a month's row: its heading and the row's figure in it.
struct RowColumn {
    const char* heading;  // UTF-8 source text; GBK through gbkHeading
    std::string (*text)(const PayRow& row);
};

// 年份 月份 应发工资 专项扣除 专项附加扣除 其他扣除 代扣个税 实发工资 计算规则, in
// that order; the year and the month as decimal numbers, the rules by name.
std::span<const RowColumn> rowColumns();

// A column's heading as GBK.
std::string gbkHeading(const RowColumn& column);

// The months of `months` as decimal numbers, in order, `separator` (GBK)
// between them: "1,2,3"; "" for none.
std::string monthList(wages::MonthSet months, std::string_view separator);

// A line of the settlement: what it is and its figure.
struct SettlementFigure {
    std::string label;  // GBK
    std::string value;  // ASCII
};

// The settlement as a person reads it, in this order:
//   月份          the paid months it was built from, "1,2,3" ("" for none)
//   收入          Σ gross
//   减除费用      60,000.00
//   专项扣除, 专项附加扣除, 其他扣除   the three sums
//   应纳税所得额  the annual taxable income
//   税率          the rate in percent (a whole number)
//   速算扣除数    the quick deduction
//   应纳税额      the tax due
//   已预扣税额    Σ withheld
//   应补税额      tax due - withheld, when not below 0; else
//   应退税额      withheld - tax due
std::vector<SettlementFigure> settlementFigures(const wages::Settlement& settlement);

}  // namespace qinghe::payrecord
