#include "wages/withholding.h"

#include <algorithm>
#include <cstdint>

namespace qinghe::wages {
namespace {

// 60,000 under today's law.
Fen yearAllowance(const TaxLaw& law) {
    return law.allowance * kMonthsPerYear;
}

// Month m's bit, none for a month outside 1..12.
unsigned monthBit(int month) {
    return month >= 1 && month <= kMonthsPerYear ? 1U << (month - 1) : 0U;
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

// `current`'s income and the rows of its employer and months 1..last, each
// amount as `take` gives it, a bonus in the gross unless it is taxed on its
// own. The sums run in unsigned arithmetic, which wraps rather than
// overflows: when `take` keeps every amount within ±kMaxHundredths they are
// exact.
template <typename Take>
MonthsSummed addRows(const PaidMonth& current, std::span<const PaidMonth> rows, unsigned last,
                     bool bonusAlone, Take take) {
    const auto add = [&take](std::uint64_t& sum, Fen amount) {
        sum += static_cast<std::uint64_t>(take(amount));
    };
    std::uint64_t gross = 0;
    std::uint64_t special = 0;
    std::uint64_t additional = 0;
    std::uint64_t other = 0;
    std::uint64_t withheld = 0;
    const auto addIncome = [&](const PaidMonth& row) {
        add(gross, row.income.gross);
        add(special, row.income.special);
        add(additional, row.income.specialAdditional);
        add(other, row.income.other);
        const bool merged = !bonusAlone || row.bonusTaxing == BonusTaxing::Merged;
        add(gross, merged ? std::max<Fen>(row.bonus, 0) : 0);
    };
    addIncome(current);
    unsigned months = 0;
    for (const PaidMonth& row : rows) {
        // Month 0 and below wrap round to bits past any `last`.
        const unsigned bit = static_cast<unsigned>(row.month) - 1U;
        if (bit >= last || row.employer != current.employer) continue;
        months |= 1U << bit;
        addIncome(row);
        add(withheld, row.withheld);
    }
    return {months,
            {static_cast<Fen>(gross), static_cast<Fen>(special), static_cast<Fen>(additional),
             static_cast<Fen>(other)},
            static_cast<Fen>(withheld)};
}

// `current` and the rows of its employer and months before it, of the first
// kMaxYearRows. One pass adds the amounts as they are and notes how far any
// lies from 0 (biased by kSafeAmount, the safe ones stay below bit 47); only
// when one lies beyond ±kSafeAmount, as in no real pay record, are they
// added again, clamped.
MonthsSummed sumMonths(const PaidMonth& current, std::span<const PaidMonth> rows, bool bonusAlone) {
    rows = rows.first(std::min(rows.size(), kMaxYearRows));
    const auto last = static_cast<unsigned>(std::clamp(current.month - 1, 0, kMonthsPerYear));
    std::uint64_t reach = 0;
    const MonthsSummed asGiven = addRows(current, rows, last, bonusAlone, [&reach](Fen amount) {
        reach |= static_cast<std::uint64_t>(amount) + kSafeAmount;
        return amount;
    });
    if (reach < 2 * kSafeAmount) return asGiven;
    return addRows(current, rows, last, bonusAlone, clampHundredths);
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

// The months employed up to `month` (bit `thisMonth`): those `paid`, and
// every one from the month of hire through this one. Without a month of
// hire, the first month paid is taken for it.
unsigned employedMonths(unsigned paid, unsigned thisMonth, int hiredMonth) {
    paid |= thisMonth;
    const unsigned hired = hiredMonth >= 1 && hiredMonth <= kMonthsPerYear
                               ? monthBit(hiredMonth)
                               : paid & (0U - paid);  // the lowest month paid
    if (thisMonth == 0 || hired > thisMonth) return paid;
    return paid | ((thisMonth << 1) - hired);
}

Fen cumulativeAllowance(const TaxLaw& law, const EmployerTerms& terms, unsigned employed,
                        unsigned thisMonth) {
    if (terms.lowIncome && law.lowIncomeRule) return yearAllowance(law);
    // The first wages of the year count every month from January.
    if (terms.firstWages && law.firstWagesRule && thisMonth != 0) employed |= (thisMonth << 1) - 1;
    return law.allowance * monthCount(employed);
}

Fen taxableOf(const MonthIncome& total, Fen allowance) {
    return total.gross - allowance - total.special - total.specialAdditional - total.other;
}

}  // namespace

// Flattened: the sums stay in registers rather than pass through memory, and
// the month takes about as long as its seed-rules tax plus one pass over the
// rows (bench/wages/tax_bench).
[[gnu::flatten]] Withholding monthWithholding(const IncomeTaxLaw& law, const PaidMonth& current,
                                              std::span<const PaidMonth> yearRows,
                                              const EmployerTerms& terms) {
    const TaxLaw& wages = *law.wages;
    const bool bonusAlone = law.separateBonus != nullptr;
    const bool cumulative = wages.method == TaxMethod::Cumulative;
    PaidMonth taken = current;
    if (!cumulative) taken.income.specialAdditional = taken.income.other = 0;
    const MonthsSummed summed =
        sumMonths(taken, cumulative ? yearRows : yearRows.first(0), bonusAlone);
    const unsigned thisMonth = monthBit(current.month);
    const unsigned paid = summed.months | thisMonth;
    unsigned employed = paid;
    Fen allowance = wages.allowance;
    if (cumulative) {
        employed = employedMonths(summed.months, thisMonth, terms.hiredMonth);
        allowance = cumulativeAllowance(wages, terms, employed, thisMonth);
    }
    // Built in place: a copied BracketTax would be read back in wider pieces
    // than it was written, which the processor cannot forward.
    Withholding w{paid,
                  employed & ~paid,
                  summed.total,
                  allowance,
                  taxByBrackets(wages.brackets, taxableOf(summed.total, allowance)),
                  summed.withheld};
    w.withholding = std::max<Fen>(w.tax.tax - w.withheldBefore, 0);
    if (bonusAlone && current.bonusTaxing == BonusTaxing::Separate && current.bonus > 0) {
        w.bonusTax = separateBonusTax(*law.separateBonus, clampHundredths(current.bonus));
    }
    return w;
}

std::vector<Withholding> withholdInTurn(const IncomeTaxLaw& law, std::span<const PaidMonth> rows,
                                        std::span<const EmployerTerms> terms) {
    std::vector<Withholding> results;
    std::vector<PaidMonth> done;
    for (const PaidMonth& row : rows) {
        const auto e = static_cast<std::size_t>(row.employer);
        const EmployerTerms given =
            row.employer >= 0 && e < terms.size() ? terms[e] : EmployerTerms{};
        results.push_back(monthWithholding(law, row, done, given));
        done.push_back(row);
        done.back().withheld = results.back().withholding;
    }
    return results;
}

}  // namespace qinghe::wages
