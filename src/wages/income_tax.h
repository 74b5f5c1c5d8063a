// Individual income tax withheld from one month's pay, in doubles, as the
// seed rules compute it (the current rules: withholding.h).
//
// One rule only, the 2011 entry of tax_law.h: a monthly allowance of 3500
// yuan and seven brackets of taxable income, each taxed as
// (taxable x rate) - quick deduction:
//
//   taxable income T        rate   quick deduction
//   T <= 1500               3 %          0
//   1500 < T <= 4500       10 %        105
//   4500 < T <= 9000       20 %        555
//   9000 < T <= 35000      25 %       1005
//   35000 < T <= 55000     30 %       2755
//   55000 < T <= 80000     35 %       5505
//   T > 80000              45 %      13505
//
// Every comparison allows for the representation error of the sums that
// lead to it: "x <= b" means x - b <= kTaxTolerance.
#pragma once

#include "wages/tax_law.h"

namespace qinghe::wages {

// Monthly allowance deducted before tax, yuan.
inline constexpr double kTaxAllowance =
    static_cast<double>(kMonthlyAllowance2011) / static_cast<double>(kHundredthsPerUnit);
// Comparisons of incomeTax treat differences up to this as equality.
inline constexpr double kTaxTolerance = 0.0000001;

// The tax on gross pay `grossPay` with pre-tax deductions `preTaxDeductions`
// (housing fund + social insurance), both yuan, before rounding. 0 when the
// taxable income is not above 0 (never negative). NaN in gives NaN out.
double incomeTax(double grossPay, double preTaxDeductions);

}  // namespace qinghe::wages
