#include "wages/contributions.h"

#include <algorithm>
#include <cstdint>

#include "common/gbk.h"

namespace qinghe::wages {
namespace {

using namespace literals;

// A base times a rate is in fen x hundredths of a percent: this many make a
// fen, and a yuan.
constexpr std::int64_t kPerFen = 100 * kHundredthsPerUnit;
constexpr std::int64_t kPerYuan = kPerFen * kHundredthsPerUnit;

Fen boundedAmount(Fen amount) {
    return std::clamp<Fen>(amount, 0, kMaxHundredths);
}

Hundredths boundedRate(Hundredths rate) {
    return std::clamp<Hundredths>(rate, 0, kWholePercent);
}

// base x rate, rounded half up to the fen, or to the yuan in fen. Both are
// bounded, so the product stays below 10^19.
Fen rounded(Fen base, Hundredths rate, FundRounding rounding) {
    const std::int64_t unit = rounding == FundRounding::ToYuan ? kPerYuan : kPerFen;
    const std::int64_t whole = (base * rate + unit / 2) / unit;
    return rounding == FundRounding::ToYuan ? whole * kHundredthsPerUnit : whole;
}

ContributionItem item(Fen base, Hundredths rate, FundRounding rounding) {
    const Hundredths taken = boundedRate(rate);
    return {base, taken, rounded(base, taken, rounding)};
}

// What a base brought to a bound says: `below` or `above`, the bound, and
// how it counted.
std::string clampNote(const ClampedBase& clamped, const char* below, const char* above) {
    if (clamped.clamp == BaseClamp::None) return {};
    const bool floor = clamped.clamp == BaseClamp::ToFloor;
    return gbk::fromUtf8(floor ? below : above).text + formatHundredths(clamped.used) +
           (floor ? "元，按下限计算"_gbk : "元，按上限计算"_gbk);
}

}  // namespace

ClampedBase clampBase(Fen given, const BaseBounds& bounds) {
    const Fen base = boundedAmount(given);
    if (bounds.floor && base < boundedAmount(*bounds.floor)) {
        return {base, boundedAmount(*bounds.floor), BaseClamp::ToFloor};
    }
    if (bounds.cap && base > boundedAmount(*bounds.cap)) {
        return {base, boundedAmount(*bounds.cap), BaseClamp::ToCap};
    }
    return {base, base, BaseClamp::None};
}

Contributions contributions(const ContributionTerms& terms) {
    Contributions c;
    c.socialBase = clampBase(terms.base, terms.socialBounds);
    c.fundBase = clampBase(terms.fundBase.value_or(terms.base), terms.fundBounds);
    const Fen social = c.socialBase.used;
    c.pension = item(social, terms.rates.pension, FundRounding::ToFen);
    c.medical = item(social, terms.rates.medical, FundRounding::ToFen);
    c.medical.amount += boundedAmount(terms.medicalFixed);
    c.unemployment = item(social, terms.rates.unemployment, FundRounding::ToFen);
    c.housingFund = item(c.fundBase.used, terms.rates.housingFund, terms.fundRounding);
    c.total = c.pension.amount + c.medical.amount + c.unemployment.amount + c.housingFund.amount;
    c.taxableFund = taxableHousingFund(c.housingFund.amount, c.fundBase.used, terms.fundRounding);
    return c;
}

Fen taxableHousingFund(Fen paid, Fen fundBase, FundRounding rounding) {
    const Fen deductible = rounded(boundedAmount(fundBase), kDeductibleFundRate, rounding);
    return std::max<Fen>(boundedAmount(paid) - deductible, 0);
}

ContributionTerms withCityFigures(ContributionTerms terms, const CityNumbers& city) {
    terms.socialBounds = {city.socialFloor, city.socialCap};
    terms.fundBounds = {city.fundFloor, city.fundCap};
    terms.rates.pension = city.pensionRate.value_or(terms.rates.pension);
    terms.rates.medical = city.medicalRate.value_or(terms.rates.medical);
    terms.rates.unemployment = city.unemploymentRate.value_or(terms.rates.unemployment);
    terms.rates.housingFund = city.fundRate.value_or(terms.rates.housingFund);
    terms.medicalFixed = city.medicalFixed.value_or(terms.medicalFixed);
    return terms;
}

std::vector<std::string> contributionNotes(const Contributions& result) {
    std::vector<std::string> notes;
    for (std::string note :
         {clampNote(result.socialBase, "社保缴费基数低于本市下限", "社保缴费基数高于本市上限"),
          clampNote(result.fundBase, "公积金缴费基数低于本市下限", "公积金缴费基数高于本市上限")}) {
        if (!note.empty()) notes.push_back(std::move(note));
    }
    if (result.taxableFund > 0) {
        notes.push_back("住房公积金超过缴费基数12%的部分"_gbk +
                        formatHundredths(result.taxableFund) +
                        "元并入工资计税（财税〔2006〕10号）"_gbk);
    }
    return notes;
}

}  // namespace qinghe::wages
