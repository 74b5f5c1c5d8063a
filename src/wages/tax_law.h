// The income tax on wages as the law has stood, as data: one entry per
// change, keyed by the month it takes effect, and one lookup "what is in force
// in this month". Amounts are fen, rates whole percents.
//
//   in force from   method       allowance         brackets of
//   (the start)     monthly      3,500 a month     the month's taxable income
//   2018-10         monthly      5,000 a month     the month's taxable income
//   2019-01         cumulative   5,000 a paid month the taxable income of the
//                                                  year so far (annual table)
//   2021-01         cumulative   as 2019, and a person whose wages of the last
//                                year stayed within 60,000 (low-income rule)
//                                may take the year's 60,000 whole from January
//
// The first entry is the 2011 table; the program knows no older law, so it
// holds for every month before 2018-10. Each bracket runs from above the
// previous bound up to and including its own; tax = taxable x rate - quick
// deduction, rounded half away from zero to the fen. Each quick deduction is
// what makes the tax continuous at the bound below it, so no tax is negative.
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
    Fen allowance;  // a month (cumulative: a paid month; twelve of them a year)
    bool lowIncomeRule;
    std::span<const TaxBracket> brackets;  // monthly, or of the year so far; the last unbounded
};

// Every entry, oldest first.
std::span<const TaxLaw> taxLaws();

// The entry in force in `month` (1..12) of `year`: the last one that took
// effect in or before it, the first entry for any earlier month.
const TaxLaw& taxInForce(int year, int month);

// The newest entry: the law of today, for figures that name no year.
const TaxLaw& newestTaxLaw();

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

}  // namespace qinghe::wages
