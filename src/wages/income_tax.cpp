#include "wages/income_tax.h"

#include <iterator>
#include <limits>

namespace qinghe::wages {
namespace {

struct TaxBracket {
    double upperBound;  // taxable income up to and including this
    double rate;
    double quickDeduction;
};

constexpr TaxBracket kBrackets[] = {
    {1500.0, 0.03, 0.0},
    {4500.0, 0.1, 105.0},
    {9000.0, 0.2, 555.0},
    {35000.0, 0.25, 1005.0},
    {55000.0, 0.3, 2755.0},
    {80000.0, 0.35, 5505.0},
    {std::numeric_limits<double>::infinity(), 0.45, 13505.0},
};

bool atMost(double x, double bound) {
    return x - bound <= kTaxTolerance;
}

}  // namespace

double incomeTax(double grossPay, double preTaxDeductions) {
    if (atMost(grossPay - preTaxDeductions, kTaxAllowance)) return 0.0;
    const double taxable = (grossPay - kTaxAllowance) - preTaxDeductions;
    // NaN fits no bound and falls through to the last bracket, giving NaN.
    const TaxBracket* bracket = &kBrackets[0];
    while (bracket != std::end(kBrackets) - 1 && !atMost(taxable, bracket->upperBound)) ++bracket;
    const double product = taxable * bracket->rate;
    return product - bracket->quickDeduction;
}

}  // namespace qinghe::wages
