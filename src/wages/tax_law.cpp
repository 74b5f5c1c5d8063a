#include "wages/tax_law.h"

namespace qinghe::wages {
namespace {

constexpr TaxBracket kMonthlyBrackets2018[] = {
    {3000'00, 3, 0},
    {12000'00, 10, 210'00},
    {25000'00, 20, 1410'00},
    {35000'00, 25, 2660'00},
    {55000'00, 30, 4410'00},
    {80000'00, 35, 7160'00},
    {kNoUpperBound, 45, 15160'00},
};

constexpr TaxBracket kAnnualBrackets2019[] = {
    {36000'00, 3, 0},
    {144000'00, 10, 2520'00},
    {300000'00, 20, 16920'00},
    {420000'00, 25, 31920'00},
    {660000'00, 30, 52920'00},
    {960000'00, 35, 85920'00},
    {kNoUpperBound, 45, 181920'00},
};

constexpr Fen kAllowance2018 = 5000'00;

constexpr TaxLaw kLaws[] = {
    {0, 1, TaxMethod::Monthly, kMonthlyAllowance2011, false, kMonthlyBrackets2011},
    {2018, 10, TaxMethod::Monthly, kAllowance2018, false, kMonthlyBrackets2018},
    {2019, 1, TaxMethod::Cumulative, kAllowance2018, false, kAnnualBrackets2019},
    {2021, 1, TaxMethod::Cumulative, kAllowance2018, true, kAnnualBrackets2019},
};

}  // namespace

std::span<const TaxLaw> taxLaws() {
    return kLaws;
}

const TaxLaw& taxInForce(int year, int month) {
    // Newest first: today's months find their law at the first look.
    for (std::size_t i = std::size(kLaws) - 1; i > 0; --i) {
        const TaxLaw& entry = kLaws[i];
        if (entry.fromYear < year || (entry.fromYear == year && entry.fromMonth <= month)) {
            return entry;
        }
    }
    return kLaws[0];
}

const TaxLaw& newestTaxLaw() {
    return kLaws[std::size(kLaws) - 1];
}

}  // namespace qinghe::wages
