#include "payrecord/pay_record_text.h"

#include "common/gbk.h"
#include "wages/money.h"

namespace qinghe::payrecord {

using namespace literals;

namespace {

using wages::formatHundredths;

constexpr RowColumn kColumns[] = {
    {"年份", [](const PayRow& r) { return std::to_string(r.year); }},
    {"月份", [](const PayRow& r) { return std::to_string(r.month); }},
    {"应发工资", [](const PayRow& r) { return formatHundredths(r.income.gross); }},
    {"专项扣除", [](const PayRow& r) { return formatHundredths(r.income.special); }},
    {"专项附加扣除", [](const PayRow& r) { return formatHundredths(r.income.specialAdditional); }},
    {"其他扣除", [](const PayRow& r) { return formatHundredths(r.income.other); }},
    {"代扣个税", [](const PayRow& r) { return formatHundredths(r.withheld); }},
    {"实发工资", [](const PayRow& r) { return formatHundredths(r.net); }},
    {"计算规则", [](const PayRow& r) { return wages::rulesName(r.rules); }},
};

}  // namespace

std::string monthList(wages::MonthSet months, std::string_view separator) {
    std::string text;
    for (int m = 1; m <= wages::kMonthsPerYear; ++m) {
        if (!months.test(static_cast<std::size_t>(m) - 1)) continue;
        if (!text.empty()) text += separator;
        text += std::to_string(m);
    }
    return text;
}

std::span<const RowColumn> rowColumns() {
    return kColumns;
}

std::string gbkHeading(const RowColumn& column) {
    return gbk::fromUtf8(column.heading).text;
}

std::vector<SettlementFigure> settlementFigures(const wages::Settlement& s) {
    const bool toPay = s.balance >= 0;
    return {
        {"月份"_gbk, monthList(s.builtFrom, ",")},
        {"收入"_gbk, formatHundredths(s.total.gross)},
        {"减除费用"_gbk, formatHundredths(s.allowance)},
        {"专项扣除"_gbk, formatHundredths(s.total.special)},
        {"专项附加扣除"_gbk, formatHundredths(s.total.specialAdditional)},
        {"其他扣除"_gbk, formatHundredths(s.total.other)},
        {"应纳税所得额"_gbk, formatHundredths(s.tax.taxable)},
        {"税率"_gbk, std::to_string(s.tax.ratePercent)},
        {"速算扣除数"_gbk, formatHundredths(s.tax.quickDeduction)},
        {"应纳税额"_gbk, formatHundredths(s.tax.tax)},
        {"已预扣税额"_gbk, formatHundredths(s.withheld)},
        {toPay ? "应补税额"_gbk : "应退税额"_gbk, formatHundredths(toPay ? s.balance : -s.balance)},
    };
}

}  // namespace qinghe::payrecord
