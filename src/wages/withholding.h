// The income tax withheld from wages under the law in force (tax_law.h), one
// month at one employer. Exact in fen; pure and total. The settlement of the
// year: settlement.h.
//
// Under the monthly method a month is taxed alone:
//   taxable = gross - special deductions - the month's allowance.
// Under the cumulative method (累计预扣法), for month m at one employer, over
// the months of the year before m that the employer paid, and m itself:
//   taxable = Σ gross - allowance - Σ special - Σ special additional - Σ other,
//   allowance = 5,000 x the months employed there (任职受雇月份): from the
//     month of hire h through m, and any month it paid; a month from h on
//     without a row was employed and unpaid: it adds no pay and still its
//     5,000 (Withholding::unpaid names it);
//   or, from 2020-07, 5,000 x m for a person's first wages of the year;
//   or, from 2021, the year's 60,000 from January under the low-income rule;
//   cumulative tax = by the annual table; this month's withholding =
//   cumulative tax - what the employer withheld for the months before m, at
//   least 0 (an excess is not paid back during the year: the settlement
//   settles it).
// Every employer withholds on its own months: nothing carries over from one
// to the next.
//
// A row's year-end bonus (全年一次性奖金) is wages of its month (merged: it
// adds to the month's gross) unless the row taxes it on its own and the law
// offers that (IncomeTaxLaw::separateBonus): then it stays out of the sums
// and is taxed alone in its month (separateBonusTax), paid with the month's
// pay.
//
// Every amount taken in is first brought within ±kMaxHundredths, and rows
// past the kMaxYearRows-th are not read, so that no sum or product overflows
// whatever rows a caller passes.
#pragma once

#include <bitset>
#include <cstddef>
#include <span>
#include <vector>

#include "wages/money.h"
#include "wages/tax_law.h"

namespace qinghe::wages {

// A month's pay as the tax sees it, fen.
struct MonthIncome {
    Fen gross = 0;              // 应发工资, without the year-end bonus
    Fen special = 0;            // 专项扣除: social insurance + housing fund withheld
    Fen specialAdditional = 0;  // 专项附加扣除 (children, elders, housing, ...)
    Fen other = 0;              // 其他扣除 allowed before tax (capped_deductions.h)
};

enum class BonusTaxing {
    Separate,  // 单独计税: taxed on its own, where the law offers it
    Merged,    // 并入综合所得: wages of its month
};

// A month of the year that was paid, as a pay record keeps it.
struct PaidMonth {
    int month = 0;  // 1..12: the tax month, the month the pay was received
    MonthIncome income;
    Fen withheld = 0;  // the wage tax withheld from that month's pay, a bonus's own tax not in it
    Fen bonus = 0;     // 全年一次性奖金 paid with that month's pay; below 0 counts as 0
    BonusTaxing bonusTaxing = BonusTaxing::Separate;
    int employer = 0;  // who paid it: the rows of one employer share the number
};

// What sets one employer's allowance.
struct EmployerTerms {
    int hiredMonth = 0;       // month of hire in the year, 1 when hired before it; 0 (or
                              // any outside 1..12): the first month the employer paid
    bool firstWages = false;  // 本年首次取得工资薪金: no wages earlier in the year
    bool lowIncome = false;   // 上年收入不超过6万元 (and the same employer withheld every
                              // month of that year)
};

// Bit m-1 is month m.
using MonthSet = std::bitset<kMonthsPerYear>;

// A year has twelve months; a pay record keeps a row for each.
inline constexpr std::size_t kMaxYearRows = 100;

// One month's withholding and how it was found.
struct Withholding {
    MonthSet builtFrom;  // the months the employer paid that were summed, this one included
                         // (monthly: this one)
    MonthSet unpaid;     // months employed before this one that have no row (monthly: none)
    MonthIncome total;   // their sums, merged bonuses in the gross (monthly: this month's)
    Fen allowance = 0;   // 5,000 x months employed, 5,000 x m, 60,000, or the month's
    BracketTax tax;  // the taxable income, its bracket and its tax (cumulative: the year's so far)
    Fen withheldBefore = 0;    // what the earlier months of builtFrom withheld (monthly: 0)
    Fen withholding = 0;       // this month's: tax - withheldBefore, at least 0
    BracketTax bonusTax = {};  // this month's bonus taxed on its own; all 0 when none is
};

// `current.month` (1..12) at employer `current.employer`, under `law`
// (incomeTaxLaw of that year and month), paid `current` (its `withheld` is
// not read). `yearRows` are the pay record's rows of the same year in any
// order: only those of this employer and months 1..month-1 count (a row
// whose month is outside 1..12 never); several rows of one month add up and
// count as one month paid. `terms` are this employer's. The monthly method
// reads neither the rows, the terms nor the special additional and other
// deductions (they did not exist).
Withholding monthWithholding(const IncomeTaxLaw& law, const PaidMonth& current,
                             std::span<const PaidMonth> yearRows, const EmployerTerms& terms);

// A year's rows withheld in turn, every month under `law`, each month's
// withholding becoming what it withheld for the months after it (their
// `withheld` is not read): one result per row, in the rows' order, as
// monthWithholding gives it. `terms[e]` are employer e's (default terms for
// one it does not reach).
std::vector<Withholding> withholdInTurn(const IncomeTaxLaw& law, std::span<const PaidMonth> rows,
                                        std::span<const EmployerTerms> terms);

}  // namespace qinghe::wages
