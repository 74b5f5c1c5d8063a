// The employee's social insurance and housing fund contributions, worked out
// from the contribution bases at the rates. Exact in fen; pure and total.
//
//   养老 (pension)       social base x pension rate
//   医疗 (medical)       social base x medical rate + the fixed amount
//   失业 (unemployment)  social base x unemployment rate
//   公积金 (housing fund) fund base x fund rate
//
// Each product is rounded half up once, to the fen; the housing fund to the
// fen or to the whole yuan (FundRounding). The total is the sum of the four
// rounded items. A base is first brought within the city's floor and cap
// where they are known (city_figures.h): a base below the floor counts as the
// floor, one above the cap as the cap, and the result says which.
//
// Housing fund above 12 % of the fund base, or on a base above the city's
// cap, is taxable: only 12 % of the base (at most the cap) is a special
// deduction (专项扣除), the excess is taxed as wages (财税〔2006〕10号, in
// force since 2006; the program knows no older rule). Social insurance at the
// city's rates is deducted whole.
//
// Amounts are fen, a rate is Hundredths of a percent (8 % is 800, 0.5 % is
// 50). Every amount taken in is first brought within 0..kMaxHundredths and a
// rate within 0..100 %, so that no product overflows.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "wages/city_figures.h"
#include "wages/money.h"

namespace qinghe::wages {

// The employee's rates, by default those of most cities.
struct ContributionRates {
    Hundredths pension = 800;
    Hundredths medical = 200;
    Hundredths unemployment = 50;
    Hundredths housingFund = 1200;
};

// The part of the housing fund rate that is a special deduction: 12 %.
inline constexpr Hundredths kDeductibleFundRate = 1200;

enum class FundRounding { ToFen, ToYuan };

// A base's bounds in the city; nothing where the city's figure is unknown.
struct BaseBounds {
    std::optional<Fen> floor{};
    std::optional<Fen> cap{};
};

enum class BaseClamp { None, ToFloor, ToCap };

struct ClampedBase {
    Fen given = 0;
    Fen used = 0;  // given, or the bound it was brought to
    BaseClamp clamp = BaseClamp::None;
};

// `given` (below 0 counts as 0) brought within `bounds`.
ClampedBase clampBase(Fen given, const BaseBounds& bounds);

struct ContributionTerms {
    Fen base = 0;                   // 社保缴费基数, a month
    std::optional<Fen> fundBase{};  // 公积金缴费基数; nothing: the base as given
    ContributionRates rates{};
    Fen medicalFixed = 0;  // 医疗 on top of the rate, a month
    FundRounding fundRounding = FundRounding::ToFen;
    BaseBounds socialBounds{};  // 社保基数下限, 社保基数上限
    BaseBounds fundBounds{};    // 公积金基数下限, 公积金基数上限
};

struct ContributionItem {
    Fen base = 0;         // the base used
    Hundredths rate = 0;  // as taken (within 0..100 %)
    Fen amount = 0;
};

struct Contributions {
    ClampedBase socialBase;
    ClampedBase fundBase;
    ContributionItem pension;
    ContributionItem medical;  // its amount holds the fixed amount
    ContributionItem unemployment;
    ContributionItem housingFund;
    Fen total = 0;        // 合计: the four amounts
    Fen taxableFund = 0;  // 应税公积金: taxableHousingFund of the housing fund
    // 专项扣除: what the tax deducts.
    Fen specialDeduction() const { return total - taxableFund; }
};

Contributions contributions(const ContributionTerms& terms);

// The part of `paid` housing fund that is taxed as wages: what exceeds 12 %
// of `fundBase` (the base used: within the city's cap where it is known),
// that 12 % rounded as `rounding` rounds the fund, so that the two parts add
// up to what was paid. Never below 0. For a figure typed rather than worked
// out, too.
Fen taxableHousingFund(Fen paid, Fen fundBase, FundRounding rounding);

// The terms' city parts from the figures in force: the bounds of both bases
// and, where the city sets them, its rates and fixed amount over `terms`'
// own.
ContributionTerms withCityFigures(ContributionTerms terms, const CityNumbers& city);

// What the person is told of a result, one GBK line each: a base brought to
// the city's floor or cap ("社保缴费基数低于本市下限4492.00元，按下限计算"), and
// taxable housing fund. Empty when there is nothing to say.
std::vector<std::string> contributionNotes(const Contributions& result);

}  // namespace qinghe::wages
