#include "pictures/year_chart.h"

#include "common/gbk.h"
#include "pictures/entry_kinds.h"
#include "wages/conversions.h"

namespace qinghe::pictures {
namespace {

using namespace literals;

// "加班G1 2小时 ... 共40小时" and, when `limit` is given, "上限116小时", then
// "事假 4小时 病假 0小时 旷工 0小时", then the pay where known.
std::string figuresText(const std::array<std::int64_t, 6>& hours, std::optional<double> limit,
                        std::optional<wages::Fen> pay) {
    std::string text;
    const auto kinds = hourKinds();
    for (std::size_t k = 0; k < kinds.size(); ++k) {
        if (k == 3) {
            text += " 共"_gbk + std::to_string(hours[0] + hours[1] + hours[2]) + "小时"_gbk;
            if (limit) text += " 上限"_gbk + wages::numberToText(*limit) + "小时"_gbk;
        }
        text += " " + legendName(kinds[k].kind) + " " + std::to_string(hours[k]) + "小时"_gbk;
    }
    if (pay) text += " 实发工资 "_gbk + wages::formatHundredths(*pay) + "元"_gbk;
    return text;
}

}  // namespace

YearChart buildYearChart(int year, std::span<const journal::JournalRecord> records,
                         const wages::DayRules& rules, const NetPaySeries& netPay) {
    YearChart chart;
    chart.year = year;
    chart.title = std::to_string(year) + "年加班与请假"_gbk;
    const auto kinds = hourKinds();
    for (const journal::JournalRecord& r : records) {
        if (yearOf(r.date) != year) continue;
        ChartMonth& m = chart.months[static_cast<std::size_t>(monthOf(r.date)) - 1];
        for (std::size_t k = 0; k < kinds.size(); ++k) m.hours[k] += hoursOf(r, kinds[k]);
    }
    std::array<std::int64_t, 6> total{};
    std::optional<wages::Fen> totalPay;
    for (int i = 0; i < kMonthsInYear; ++i) {
        ChartMonth& m = chart.months[static_cast<std::size_t>(i)];
        m.month = i + 1;
        m.limit = wages::monthHourLimits(makeDate(year, m.month, 1), rules).total;
        // Clamped to the amounts a pay form holds, so that a damaged row
        // cannot overflow the year's sum.
        if (const auto pay = netPay[static_cast<std::size_t>(i)]) {
            m.netPay = wages::clampHundredths(*pay);
        }
        m.label = std::to_string(m.month) + "月"_gbk;
        m.figures = m.label + figuresText(m.hours, m.limit, m.netPay);
        for (std::size_t k = 0; k < kinds.size(); ++k) total[k] += m.hours[k];
        if (m.netPay) totalPay = totalPay.value_or(0) + *m.netPay;
    }
    chart.hasPay = totalPay.has_value();
    chart.totalsText = "全年合计："_gbk + figuresText(total, std::nullopt, totalPay).substr(1);
    return chart;
}

}  // namespace qinghe::pictures
