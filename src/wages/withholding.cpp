#include "wages/withholding.h"

#include <algorithm>

namespace qinghe::wages {
namespace {

// 60,000 under today's law.
Fen yearAllowance(const TaxLaw& law) {
    return law.allowance * kMonthsPerYear;
}

void add(MonthIncome& sum, const MonthIncome& month) {
    sum.gross += clampHundredths(month.gross);
    sum.special += clampHundredths(month.special);
    sum.specialAdditional += clampHundredths(month.specialAdditional);
    sum.other += clampHundredths(month.other);
}

struct MonthsSummed {
    MonthSet months;
    MonthIncome total;
    Fen withheld = 0;
};

// The first row of each month 1..before-1.
MonthsSummed sumMonths(std::span<const PaidMonth> rows, int before) {
    MonthsSummed sum;
    for (const PaidMonth& row : rows) {
        if (row.month < 1 || row.month >= before) continue;
        const auto bit = static_cast<std::size_t>(row.month - 1);
        if (sum.months.test(bit)) continue;
        sum.months.set(bit);
        add(sum.total, row.income);
        sum.withheld += clampHundredths(row.withheld);
    }
    return sum;
}

Fen taxableOf(const MonthIncome& total, Fen allowance) {
    return total.gross - allowance - total.special - total.specialAdditional - total.other;
}

}  // namespace

Withholding monthWithholding(const TaxLaw& law, int month, const MonthIncome& income,
                             std::span<const PaidMonth> yearRows, bool lowIncome) {
    Withholding w;
    const MonthsSummed before =
        law.method == TaxMethod::Cumulative ? sumMonths(yearRows, month) : MonthsSummed{};
    w.builtFrom = before.months;
    if (month >= 1 && month <= kMonthsPerYear) w.builtFrom.set(static_cast<std::size_t>(month - 1));
    w.total = before.total;
    if (law.method == TaxMethod::Cumulative) {
        add(w.total, income);
        w.allowance = lowIncome && law.lowIncomeRule
                          ? yearAllowance(law)
                          : law.allowance * static_cast<Fen>(w.builtFrom.count());
    } else {
        add(w.total, {income.gross, income.special, 0, 0});
        w.allowance = law.allowance;
    }
    w.tax = taxByBrackets(law.brackets, taxableOf(w.total, w.allowance));
    w.withheldBefore = before.withheld;
    w.withholding = std::max<Fen>(w.tax.tax - w.withheldBefore, 0);
    return w;
}

std::vector<Withholding> withholdInTurn(const TaxLaw& law, std::span<const PaidMonth> rows,
                                        bool lowIncome) {
    std::vector<Withholding> results;
    std::vector<PaidMonth> done;
    results.reserve(rows.size());
    done.reserve(rows.size());
    for (const PaidMonth& row : rows) {
        results.push_back(monthWithholding(law, row.month, row.income, done, lowIncome));
        done.push_back({row.month, row.income, results.back().withholding});
    }
    return results;
}

std::optional<Settlement> settleYear(const TaxLaw& law, std::span<const PaidMonth> yearRows) {
    if (law.method != TaxMethod::Cumulative) return std::nullopt;
    const MonthsSummed year = sumMonths(yearRows, kMonthsPerYear + 1);
    Settlement s;
    s.builtFrom = year.months;
    s.total = year.total;
    s.allowance = yearAllowance(law);
    s.tax = taxByBrackets(law.brackets, taxableOf(s.total, s.allowance));
    s.withheld = year.withheld;
    s.balance = s.tax.tax - s.withheld;
    return s;
}

}  // namespace qinghe::wages
