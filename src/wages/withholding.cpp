#include "wages/withholding.h"

#include <algorithm>
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

struct MonthsSummed {
    unsigned months = 0;  // bit m-1: month m
    MonthIncome total;
    Fen withheld = 0;
};

// Amounts within ±kSafeAmount are added as they are: a hundred rows of them
// cannot overflow, and each is what clamping would give.
constexpr std::uint64_t kSafeAmount = std::uint64_t{1} << 46;
static_assert(kSafeAmount <= kMaxHundredths);

// `start` and the rows of months 1..last, each amount as `take` gives it.
// The sums run in unsigned arithmetic, which wraps rather than overflows:
// when `take` keeps every amount within ±kMaxHundredths they are exact.
template <typename Take>
MonthsSummed addRows(const MonthIncome& start, std::span<const PaidMonth> rows, unsigned last,
                     Take take) {
    unsigned months = 0;
    auto gross = static_cast<std::uint64_t>(take(start.gross));
    auto special = static_cast<std::uint64_t>(take(start.special));
    auto additional = static_cast<std::uint64_t>(take(start.specialAdditional));
    auto other = static_cast<std::uint64_t>(take(start.other));
    std::uint64_t withheld = 0;
    for (const PaidMonth& row : rows) {
        // Month 0 and below wrap round to bits past any `last`.
        const unsigned bit = static_cast<unsigned>(row.month) - 1U;
        if (bit >= last) continue;
        months |= 1U << bit;
        gross += static_cast<std::uint64_t>(take(row.income.gross));
        special += static_cast<std::uint64_t>(take(row.income.special));
        additional += static_cast<std::uint64_t>(take(row.income.specialAdditional));
        other += static_cast<std::uint64_t>(take(row.income.other));
        withheld += static_cast<std::uint64_t>(take(row.withheld));
    }
    return {months,
            {static_cast<Fen>(gross), static_cast<Fen>(special), static_cast<Fen>(additional),
             static_cast<Fen>(other)},
            static_cast<Fen>(withheld)};
}

// `income` (this month's, or nothing) and the rows of months 1..before-1,
// of the first kMaxYearRows. One pass adds the amounts as they are and notes
// how far any lies from 0 (biased by kSafeAmount, the safe ones stay below
// bit 47); only when one lies beyond ±kSafeAmount, as in no real pay record,
// are they added again, clamped.
MonthsSummed sumMonths(const MonthIncome& income, std::span<const PaidMonth> rows, int before) {
    rows = rows.first(std::min(rows.size(), kMaxYearRows));
    const auto last = static_cast<unsigned>(std::clamp(before - 1, 0, kMonthsPerYear));
    std::uint64_t reach = 0;
    const MonthsSummed asGiven = addRows(income, rows, last, [&reach](Fen amount) {
        reach |= static_cast<std::uint64_t>(amount) + kSafeAmount;
        return amount;
    });
    if (reach < 2 * kSafeAmount) return asGiven;
    return addRows(income, rows, last, clampHundredths);
}

// The number of months in a MonthSet's bits. Not std::popcount: built for
// the baseline x86-64, which has no population-count instruction, that is a
// call into the compiler's support library.
int monthCount(unsigned months) {
    months -= (months >> 1) & 0x5555U;
    months = (months & 0x3333U) + ((months >> 2) & 0x3333U);
    months = (months + (months >> 4)) & 0x0F0FU;
    return static_cast<int>((months + (months >> 8)) & 0x1FU);
}

Fen taxableOf(const MonthIncome& total, Fen allowance) {
    return total.gross - allowance - total.special - total.specialAdditional - total.other;
}

}  // namespace

// Flattened: the sums stay in registers rather than pass through memory, and
// the month takes about as long as its seed-rules tax plus one pass over the
// rows (bench/wages/tax_bench).
[[gnu::flatten]] Withholding monthWithholding(const TaxLaw& law, int month,
                                              const MonthIncome& income,
                                              std::span<const PaidMonth> yearRows, bool lowIncome) {
    const bool cumulative = law.method == TaxMethod::Cumulative;
    const MonthsSummed summed =
        cumulative ? sumMonths(income, yearRows, month)
                   : MonthsSummed{0, clamped({income.gross, income.special, 0, 0}), 0};
    const unsigned thisMonth = month >= 1 && month <= kMonthsPerYear ? 1U << (month - 1) : 0U;
    const unsigned months = summed.months | thisMonth;
    Fen allowance = law.allowance;
    if (cumulative) {
        allowance = lowIncome && law.lowIncomeRule ? yearAllowance(law)
                                                   : law.allowance * monthCount(months);
    }
    // Built in place: a copied BracketTax would be read back in wider pieces
    // than it was written, which the processor cannot forward.
    Withholding w{months, summed.total, allowance,
                  taxByBrackets(law.brackets, taxableOf(summed.total, allowance)), summed.withheld};
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
    const MonthsSummed year = sumMonths({}, yearRows, kMonthsPerYear + 1);
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
