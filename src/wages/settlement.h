// The settlement of a year whose wages were withheld cumulatively (年度汇算),
// over every employer of the year. Exact in fen; pure and total.
//
//   income   = Σ gross of every employer, bonuses merged into wages included
//   taxable  = income - 60,000 - Σ special - Σ special additional - Σ other
//              - the serious-illness deduction, at least 0
//   tax      = by the annual table
//   balance  = tax - Σ withheld (every employer's wage withholding)
//
// The serious-illness deduction (大病医疗, 国发〔2018〕41号, from 2019): of the
// person's own medical costs of the year, the part over 15,000, at most
// 80,000; it exists in the settlement only.
//
// A bonus taxed on its own is no part of the income: it stays out of the
// income, the withholding and the exemption's test. At most one bonus a year
// may be: the first row in the rows' order that taxes its bonus on its own
// keeps it so; a later one (each employer withholds as it chose) is merged
// here, and the tax it had withheld on its own counts as withheld.
//
// The verdict: a positive balance is to pay (应补), unless the law exempts
// it (免予汇算: the income within 120,000 or the balance within 400, see
// tax_law.h), a negative one refunded (应退), 0 neither (无需补退).
//
// Amounts taken in are bounded as in withholding.h: rows past the
// kMaxYearRows-th are not read, each amount is brought within
// ±kMaxHundredths.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <vector>

#include "wages/money.h"
#include "wages/tax_law.h"
#include "wages/withholding.h"

namespace qinghe::wages {

// 15,000 and 80,000 (国发〔2018〕41号).
inline constexpr Fen kMedicalThreshold = 15000'00;
inline constexpr Fen kMedicalCap = 80000'00;

// The serious-illness deduction of a year's own medical costs `costs`.
Fen medicalDeduction(Fen costs);

enum class Verdict {
    ToPay,   // 应补
    Refund,  // 应退
    Even,    // 无需补退
    Exempt,  // 无需补税（免予办理）: a balance to pay that need not be
};

// "应补", "应退", "无需补退", "无需补税（免予办理）" (GBK).
std::string verdictText(Verdict verdict);

// One employer's part of the year.
struct EmployerSubtotal {
    int employer = 0;
    MonthSet months;    // the months it paid
    MonthIncome total;  // its sums, bonuses merged into wages in the gross
    Fen withheld = 0;   // its wage withholding, and the own tax of a bonus merged here
};

// The year's total tax both ways, when there is a bonus the law would tax on
// its own: with one taxed on its own (the one that leaves the least tax,
// should there be several), and with every bonus merged. Each is the annual
// tax of the income it leaves plus, on its own, the bonus's tax. Which is
// taken is the person's choice.
struct BonusComparison {
    Fen separate = 0;
    Fen merged = 0;
};

struct Settlement {
    MonthSet builtFrom;  // the months of the rows
    MonthIncome total;   // every employer's sums: the income and the three deductions
    Fen allowance = 0;   // 60,000: the year's allowance, however many months were paid
    Fen medical = 0;     // the serious-illness deduction
    BracketTax tax;      // the annual taxable income and its tax
    Fen withheld = 0;    // every employer's withheld
    Fen balance = 0;     // tax - withheld: to pay when positive, refunded when negative
    Verdict verdict = Verdict::Even;
    std::vector<EmployerSubtotal> employers;  // in the order of their first rows
    int bonusMonth = 0;                       // the month of the bonus taxed on its own, 0: none
    BracketTax bonusTax;                      // its tax
    std::optional<BonusComparison> bonusComparison;
};

// The year's rows of months 1..12 (any employer, any order), as
// monthWithholding reads them, with `medicalCosts` the person's own medical
// costs of the year. `law` is incomeTaxLaw of the year's December. Nothing
// when its method is monthly: before 2019 wages had no settlement.
std::optional<Settlement> settleYear(const IncomeTaxLaw& law, std::span<const PaidMonth> yearRows,
                                     Fen medicalCosts);

}  // namespace qinghe::wages
