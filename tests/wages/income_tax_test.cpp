#include "wages/income_tax.h"

#include <gtest/gtest.h>

#include <cmath>

#include "wages/conversions.h"

namespace qinghe::wages {
namespace {

struct TaxCase {
    double grossPay;
    double preTaxDeductions;
    double tax;  // rounded to the fen
};

TEST(IncomeTax, BracketEdgesBelongToTheLowerBracket) {
    const TaxCase cases[] = {
        {3000.0, 0.0, 0.0},        {3500.0, 0.0, 0.0},  // taxable exactly 0: no tax, never negative
        {3500.00000005, 0.0, 0.0},                      // within the tolerance of the allowance
        {3600.0, 0.0, 3.0},        {5000.0, 0.0, 45.0},  // taxable exactly 1500
        {5000.01, 0.0, 45.0},                            // 1500.01 at 10 % less 105
        {8000.0, 0.0, 345.0},                            // exactly 4500
        {12500.0, 0.0, 1245.0},                          // exactly 9000
        {38500.0, 0.0, 7745.0},                          // exactly 35000
        {58500.0, 0.0, 13745.0},                         // exactly 55000
        {83500.0, 0.0, 22495.0},                         // exactly 80000
        {10862.05, 0.0, 917.41},                         // 7362.05 at 20 % less 555
        {5175.6, 175.6, 45.0},  // the deductions come off before the brackets
        {3675.6, 175.6, 0.0},      {-1000.0, 0.0, 0.0},
        {1000.0, -5000.0, 145.0},  // negative deductions raise the taxable income (2500)
    };
    for (const auto& c : cases) {
        EXPECT_EQ(roundHalfAway(incomeTax(c.grossPay, c.preTaxDeductions), 2), c.tax)
            << c.grossPay << " less " << c.preTaxDeductions;
    }
}

// At a bound the quick deductions make neighbouring brackets give the same
// tax, so only a point inside each bracket pins its bounds, rate and
// deduction together.
TEST(IncomeTax, APointInsideEachBracket) {
    const struct {
        double taxable;
        double tax;
    } cases[] = {
        {1000.0, 30.0},      // 3 %
        {3000.0, 195.0},     // 10 % less 105
        {6000.0, 645.0},     // 20 % less 555
        {20000.0, 3995.0},   // 25 % less 1005
        {52000.0, 12845.0},  // 30 % less 2755
        {70000.0, 18995.0},  // 35 % less 5505
        {90000.0, 26995.0},  // 45 % less 13505
    };
    for (const auto& c : cases) {
        EXPECT_EQ(roundHalfAway(incomeTax(kTaxAllowance + c.taxable, 0.0), 2), c.tax) << c.taxable;
    }
}

TEST(IncomeTax, ComparisonsAllowForTheTolerance) {
    // A hair above the allowance is no taxable income at all.
    EXPECT_EQ(incomeTax(kTaxAllowance + 0.00000005, 0.0), 0.0);
    EXPECT_GT(incomeTax(kTaxAllowance + 0.0000002, 0.0), 0.0);
    // A hair above a bracket's upper bound is taxed in that bracket.
    const double justAbove1500 = kTaxAllowance + 1500.00000005;
    EXPECT_EQ(incomeTax(justAbove1500, 0.0), (justAbove1500 - kTaxAllowance) * 0.03);
    const double justAbove9000 = kTaxAllowance + 9000.00000005;
    EXPECT_EQ(incomeTax(justAbove9000, 0.0), (justAbove9000 - kTaxAllowance) * 0.2 - 555.0);
    const double clearlyAbove9000 = kTaxAllowance + 9000.000001;
    EXPECT_EQ(incomeTax(clearlyAbove9000, 0.0), (clearlyAbove9000 - kTaxAllowance) * 0.25 - 1005.0);
}

TEST(IncomeTax, NotANumberStaysNotANumber) {
    EXPECT_TRUE(std::isnan(incomeTax(std::nan(""), 0.0)));
    EXPECT_TRUE(std::isnan(incomeTax(5000.0, std::nan(""))));
}

}  // namespace
}  // namespace qinghe::wages
