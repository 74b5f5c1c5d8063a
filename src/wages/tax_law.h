// The income tax on wages as the law has stood, as data: one entry per
// change, keyed by the month it takes effect, and one lookup "what is in force
// in this month". Amounts are fen, rates whole percents.
//
//   in force from   method       allowance          source
//   (the start)     monthly      3,500 a month      个人所得税法 (2011), from 2011-09
//   2018-10         monthly      5,000 a month      个人所得税法 (2018), its transition
//   2019-01         cumulative   5,000 a month      国家税务总局公告2018年第61号
//                                employed here
//   2020-07         cumulative   as 2019; a person's first wages of the year may
//                                count 5,000 for every month from January
//                                (first-wages rule, 国家税务总局公告2020年第13号)
//   2021-01         cumulative   as 2020-07; a person whose wages of the last
//                                year, withheld every month by the same
//                                employer, stayed within 60,000 may take the
//                                year's 60,000 from January (low-income rule,
//                                国家税务总局公告2020年第19号)
//
// Under the monthly method the brackets are of the month's taxable income,
// under the cumulative one of the taxable income of the year so far (the
// annual table). The first entry is the 2011 table; the program knows no
// older law, so it holds for every month before 2018-10. Each bracket runs
// from above the previous bound up to and including its own; tax = taxable x
// rate - quick deduction, rounded half away from zero to the fen. Each quick
// deduction is what makes the tax continuous at the bound below it, so no tax
// is negative.
//
// Two rules hold for a span of time rather than from a date on, and are
// entries of their own (incomeTaxLaw gathers every rule of a month):
// - the year-end bonus (全年一次性奖金) taxed on its own, offered for bonuses
//   paid 2019-01 to 2027-12 (财税〔2018〕164号, extended since; the newest,
//   财政部 税务总局公告2023年第30号, runs to 2027-12-31): the bracket of the
//   monthly table of 2018 that holds bonus / 12 (the bracket only), and tax =
//   the whole bonus x its rate - its quick deduction;
// - the settlement one need not make (免予汇算), for the years 2019 to 2027
//   (财政部 税务总局公告2019年第94号, extended since; the newest,
//   财政部 税务总局公告2023年第32号, to 2027): a settlement that asks for tax
//   when the year's income is within 120,000 or the tax asked within 400.
#pragma once

#include <algorithm>
#include <array>
#include <cstdint>
#include <limits>
#include <span>

#include "wages/money.h"

namespace qinghe::wages {

inline constexpr int kMonthsPerYear = 12;

enum class TaxMethod {
    Monthly,     // each month taxed on its own
    Cumulative,  // withheld on the year so far (累计预扣法)
};

struct TaxBracket {
    Fen upTo;  // taxable income up to and including this; the last: kNoUpperBound
    int ratePercent;
    Fen quickDeduction;
};

inline constexpr Fen kNoUpperBound = std::numeric_limits<Fen>::max();

// The monthly table of 2011: also the one the seed rules' incomeTax uses.
inline constexpr Fen kMonthlyAllowance2011 = 3500'00;
inline constexpr std::array<TaxBracket, 7> kMonthlyBrackets2011 = {{
    {1500'00, 3, 0},
    {4500'00, 10, 105'00},
    {9000'00, 20, 555'00},
    {35000'00, 25, 1005'00},
    {55000'00, 30, 2755'00},
    {80000'00, 35, 5505'00},
    {kNoUpperBound, 45, 13505'00},
}};

struct TaxLaw {
    int fromYear;
    int fromMonth;  // 1..12
    TaxMethod method;
    Fen allowance;  // a month (cumulative: a month employed; twelve of them a year)
    bool lowIncomeRule;
    bool firstWagesRule;
    std::span<const TaxBracket> brackets;  // monthly, or of the year so far; the last unbounded
};

// Every entry, oldest first.
std::span<const TaxLaw> taxLaws();

// The entry in force in `month` (1..12) of `year`: the last one that took
// effect in or before it, the first entry for any earlier month.
const TaxLaw& taxInForce(int year, int month);

// The newest entry: the law of today, for figures that name no year.
const TaxLaw& newestTaxLaw();

// The year-end bonus taxed on its own, offered for bonuses paid from
// fromYear-fromMonth through throughYear-throughMonth.
struct BonusLaw {
    int fromYear, fromMonth;
    int throughYear, throughMonth;
    std::span<const TaxBracket> brackets;  // monthly: looked up with bonus / 12
};

// The settlement one need not make (免予汇算), for the years fromYear to
// throughYear: one that asks for tax, when the year's income is at most
// `income` or the tax asked at most `balance`.
struct ExemptionLaw {
    int fromYear, throughYear;
    Fen income;
    Fen balance;
};

// Every rule of the income tax on wages in force in one month.
struct IncomeTaxLaw {
    const TaxLaw* wages;            // never null
    const BonusLaw* separateBonus;  // null: a bonus is wages of its month
    const ExemptionLaw* exemption;  // null: whatever a settlement asks is to pay
};

// The rules in force in `month` (1..12) of `year`.
IncomeTaxLaw incomeTaxLaw(int year, int month);

// Every table's newest entry, for figures that name no year: today's law,
// which offers the bonus on its own and the exemption (as 2024 to 2027 do).
IncomeTaxLaw newestIncomeTaxLaw();

// Tax on a taxable income by one table.
struct BracketTax {
    Fen taxable = 0;  // as given, or 0 for a negative one
    int ratePercent = 0;
    Fen quickDeduction = 0;
    Fen tax = 0;
};

// `taxable` below 0 counts as 0 (first bracket, no tax). Amounts within
// ±(100 x kMaxHundredths) never overflow. Inline, as percentOf: a month's
// withholding is a few dozen instructions, and a call returning this through
// memory would cost it a good part of that.
inline BracketTax taxByBrackets(std::span<const TaxBracket> brackets, Fen taxable) {
    const Fen base = std::max<Fen>(taxable, 0);
    // The last bracket's bound is kNoUpperBound, which no taxable income passes.
    auto bracket = brackets.begin();
    while (base > bracket->upTo) ++bracket;
    return {base, bracket->ratePercent, bracket->quickDeduction,
            percentOf(base, bracket->ratePercent) - bracket->quickDeduction};
}

// A year-end bonus taxed on its own: taxable is the bonus (below 0 counts as
// 0), in the bracket that holds bonus / 12, found exactly (bonus / 12 rounded
// up to the fen is within a bound just when bonus / 12 is), and tax = the
// whole bonus x the rate - the quick deduction. 36,000.00 is in the 3 %
// bracket, 36,000.01 in the 10 % one. Within ±kMaxHundredths never overflows.
inline BracketTax separateBonusTax(const BonusLaw& law, Fen bonus) {
    const Fen base = std::max<Fen>(bonus, 0);
    const Fen monthly = (base + kMonthsPerYear - 1) / kMonthsPerYear;
    auto bracket = law.brackets.begin();
    while (monthly > bracket->upTo) ++bracket;
    return {base, bracket->ratePercent, bracket->quickDeduction,
            percentOf(base, bracket->ratePercent) - bracket->quickDeduction};
}

}  // namespace qinghe::wages
