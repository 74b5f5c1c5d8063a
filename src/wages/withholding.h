// The income tax withheld from wages under the law in force (tax_law.h), and
// the settlement of a year (年度汇算). Exact in fen; pure and total.
//
// Under the monthly method a month is taxed alone:
//   taxable = gross - special deductions - the month's allowance.
// Under the cumulative method (累计预扣法), for month m of a tax year, over
// the months 1..m in which the person was paid (k of them):
//   taxable = Σ gross - allowance - Σ special - Σ special additional - Σ other,
//   allowance = 5,000 x k, or 60,000 from January under the low-income rule;
//   cumulative tax = by the annual table; this month's withholding =
//   cumulative tax - what months 1..m-1 withheld, at least 0 (an excess is
//   not paid back during the year: the settlement settles it).
// A month with no row counts as unpaid: it adds nothing and no allowance.
//
// Every amount taken in is first brought within ±kMaxHundredths, and rows
// past the kMaxYearRows-th are not read, so that no sum or product overflows
// whatever rows a caller passes.
#pragma once

#include <bitset>
#include <cstddef>
#include <optional>
#include <span>
#include <vector>

#include "wages/money.h"
#include "wages/tax_law.h"

namespace qinghe::wages {

// A month's pay as the tax sees it, fen.
struct MonthIncome {
    Fen gross = 0;              // 应发工资
    Fen special = 0;            // 专项扣除: social insurance + housing fund withheld
    Fen specialAdditional = 0;  // 专项附加扣除 (children, elders, housing, ...)
    Fen other = 0;              // 其他扣除 allowed before tax (annuity, health insurance, ...)
};

// A month of the year that was paid, as a pay record keeps it.
struct PaidMonth {
    int month = 0;  // 1..12
    MonthIncome income;
    Fen withheld = 0;  // the tax withheld from that month's pay
};

// Bit m-1 is month m.
using MonthSet = std::bitset<kMonthsPerYear>;

// A year has twelve months; a pay record keeps a row for each.
inline constexpr std::size_t kMaxYearRows = 100;

// One month's withholding and how it was found.
struct Withholding {
    MonthSet builtFrom;  // the months summed, this one included (monthly: this one)
    MonthIncome total;   // their sums (monthly: the gross and special of this month)
    Fen allowance = 0;   // 5,000 x k, 60,000, or the month's allowance
    BracketTax tax;  // the taxable income, its bracket and its tax (cumulative: the year's so far)
    Fen withheldBefore = 0;  // what the earlier months of builtFrom withheld (monthly: 0)
    Fen withholding = 0;     // this month's: tax - withheldBefore, at least 0
};

// Month `month` (1..12) of a year under `law` (taxInForce of that year and
// month), paid `income`. `yearRows` are the pay record's rows of the same
// year in any order: only those of months 1..month-1 count (a row whose
// month is outside 1..12 never); several rows of one month add up and count
// as one paid month. The
// monthly method reads neither the rows nor the special additional and
// other deductions (they did not exist). `lowIncome`: the person claims the
// low-income rule, which counts where the law has it.
Withholding monthWithholding(const TaxLaw& law, int month, const MonthIncome& income,
                             std::span<const PaidMonth> yearRows, bool lowIncome);

// A year's months withheld in turn, each month's withholding becoming what it
// withheld for the months after it (their `withheld` is not read): one
// result per row, in the rows' order, as monthWithholding gives it.
std::vector<Withholding> withholdInTurn(const TaxLaw& law, std::span<const PaidMonth> rows,
                                        bool lowIncome);

// The settlement of a year whose wages were withheld cumulatively.
struct Settlement {
    MonthSet builtFrom;  // the months of the rows
    MonthIncome total;
    Fen allowance = 0;  // 60,000: the year's allowance, however many months were paid
    BracketTax tax;     // annual taxable = Σ gross - 60,000 - the three Σ deductions, its tax
    Fen withheld = 0;   // Σ withheld
    Fen balance = 0;    // tax - withheld: to pay when positive, refunded when negative
};

// The year's rows of months 1..12, as monthWithholding reads them. Nothing when `law` (taxInForce
// of the year's December) is monthly: before 2019 wages had no settlement.
std::optional<Settlement> settleYear(const TaxLaw& law, std::span<const PaidMonth> yearRows);

}  // namespace qinghe::wages
