#include "wages/income_tax.h"

#include <array>
#include <limits>

#include "wages/tax_law.h"

namespace qinghe::wages {
namespace {

struct YuanBracket {
    double upperBound;  // taxable income up to and including this
    double rate;
    double quickDeduction;
};

constexpr double yuan(Fen fen) {
    return static_cast<double>(fen) / static_cast<double>(kHundredthsPerUnit);
}

// The 2011 table in yuan. Each value is the double nearest its decimal (a
// correctly rounded quotient of two exact integers), the same bits as the
// literal 0.03 or 1500.0.
constexpr std::array<YuanBracket, kMonthlyBrackets2011.size()> inYuan() {
    std::array<YuanBracket, kMonthlyBrackets2011.size()> table{};
    for (std::size_t i = 0; i < table.size(); ++i) {
        const TaxBracket& b = kMonthlyBrackets2011[i];
        table[i] = {
            b.upTo == kNoUpperBound ? std::numeric_limits<double>::infinity() : yuan(b.upTo),
            b.ratePercent / 100.0, yuan(b.quickDeduction)};
    }
    return table;
}

constexpr auto kBrackets = inYuan();

bool atMost(double x, double bound) {
    return x - bound <= kTaxTolerance;
}

}  // namespace

double incomeTax(double grossPay, double preTaxDeductions) {
    if (atMost(grossPay - preTaxDeductions, kTaxAllowance)) return 0.0;
    const double taxable = (grossPay - kTaxAllowance) - preTaxDeductions;
    // NaN fits no bound and falls through to the last bracket, giving NaN.
    const YuanBracket* bracket = kBrackets.data();
    while (bracket != &kBrackets.back() && !atMost(taxable, bracket->upperBound)) ++bracket;
    const double product = taxable * bracket->rate;
    return product - bracket->quickDeduction;
}

}  // namespace qinghe::wages
