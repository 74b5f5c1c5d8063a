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

// The sources beside each entry: tax_law.h.
constexpr TaxLaw kLaws[] = {
    // 个人所得税法 (2011)
    {0, 1, TaxMethod::Monthly, kMonthlyAllowance2011, false, false, kMonthlyBrackets2011},
    // 个人所得税法 (2018), its transition from 2018-10
    {2018, 10, TaxMethod::Monthly, kAllowance2018, false, false, kMonthlyBrackets2018},
    // 国家税务总局公告2018年第61号
    {2019, 1, TaxMethod::Cumulative, kAllowance2018, false, false, kAnnualBrackets2019},
    // 国家税务总局公告2020年第13号: first wages of the year
    {2020, 7, TaxMethod::Cumulative, kAllowance2018, false, true, kAnnualBrackets2019},
    // 国家税务总局公告2020年第19号: the low-income rule
    {2021, 1, TaxMethod::Cumulative, kAllowance2018, true, true, kAnnualBrackets2019},
};

// 财税〔2018〕164号, extended to 2027-12 by 财政部 税务总局公告2023年第30号.
constexpr BonusLaw kSeparateBonus = {2019, 1, 2027, 12, kMonthlyBrackets2018};

// 财政部 税务总局公告2019年第94号, extended to 2027 by 财政部 税务总局公告2023年第32号.
constexpr ExemptionLaw kExemption = {2019, 2027, 120000'00, 400'00};

// Months as one number, for comparing dates.
constexpr std::int64_t monthIndex(int year, int month) {
    return std::int64_t{year} * kMonthsPerYear + month - 1;
}

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

IncomeTaxLaw incomeTaxLaw(int year, int month) {
    const std::int64_t when = monthIndex(year, month);
    const bool bonus = when >= monthIndex(kSeparateBonus.fromYear, kSeparateBonus.fromMonth) &&
                       when <= monthIndex(kSeparateBonus.throughYear, kSeparateBonus.throughMonth);
    const bool exempt = year >= kExemption.fromYear && year <= kExemption.throughYear;
    return {&taxInForce(year, month), bonus ? &kSeparateBonus : nullptr,
            exempt ? &kExemption : nullptr};
}

IncomeTaxLaw newestIncomeTaxLaw() {
    return {&newestTaxLaw(), &kSeparateBonus, &kExemption};
}

}  // namespace qinghe::wages
