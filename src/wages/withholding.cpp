#include "wages/withholding.h"

#include <algorithm>
#include <bit>
#include <cstdint>

namespace qinghe::wages {
namespace {

// 60,000 under today's law.
Fen yearAllowance(const TaxLaw& law) {
    return law.allowance * kMonthsPerYear;
}

MonthIncome clamped(const MonthIncome& m) {
    return {clampHundredths(m.gross), clampHundredths(m.special),
            clampHundredths(m.specialAdditional), clampHundredths(m.other)};
}

MonthIncome operator+(const MonthIncome& a, const MonthIncome& b) {
    return {a.gross + b.gross, a.special + b.special, a.specialAdditional + b.specialAdditional,
            a.other + b.other};
}

struct MonthsSummed {
    unsigned months = 0;  // bit m-1: month m
    MonthIncome total;
    Fen withheld = 0;
};

// |value|, or one less for a negative value: enough to tell whether any of
// several values may lie beyond a bound, when or-ed together.
std::uint64_t roughMagnitude(Fen value) {
    return static_cast<std::uint64_t>(value ^ (value >> 63));
}

bool mayNeedClamping(const PaidMonth& row) {
    const std::uint64_t any = roughMagnitude(row.income.gross) |
                              roughMagnitude(row.income.special) |
                              roughMagnitude(row.income.specialAdditional) |
                              roughMagnitude(row.income.other) | roughMagnitude(row.withheld);
    return any > static_cast<std::uint64_t>(kMaxHundredths);
}

// The rows of months 1..before-1. A row of ordinary amounts is added as it
// is (what clamping would give), with one test for all five; the sums stay
// in locals so that no row waits for the store of the one before.
MonthsSummed sumMonths(std::span<const PaidMonth> rows, int before) {
    unsigned months = 0;
    MonthIncome total;
    Fen withheld = 0;
    for (const PaidMonth& row : rows.first(std::min(rows.size(), kMaxYearRows))) {
        if (row.month < 1 || row.month >= before) continue;
        months |= 1U << (row.month - 1);
        if (mayNeedClamping(row)) {
            total = total + clamped(row.income);
            withheld += clampHundredths(row.withheld);
        } else {
            total = total + row.income;
            withheld += row.withheld;
        }
    }
    return {months, total, withheld};
}

Fen taxableOf(const MonthIncome& total, Fen allowance) {
    return total.gross - allowance - total.special - total.specialAdditional - total.other;
}

}  // namespace

Withholding monthWithholding(const TaxLaw& law, int month, const MonthIncome& income,
                             std::span<const PaidMonth> yearRows, bool lowIncome) {
    const bool cumulative = law.method == TaxMethod::Cumulative;
    const MonthsSummed before = cumulative ? sumMonths(yearRows, month) : MonthsSummed{};
    const unsigned thisMonth = month >= 1 && month <= kMonthsPerYear ? 1U << (month - 1) : 0U;
    const unsigned months = before.months | thisMonth;
    Withholding w;
    w.builtFrom = months;
    if (cumulative) {
        w.total = before.total + clamped(income);
        w.allowance = lowIncome && law.lowIncomeRule ? yearAllowance(law)
                                                     : law.allowance * std::popcount(months);
    } else {
        w.total = clamped({income.gross, income.special, 0, 0});
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
