#include "wages/withholding.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <optional>
#include <vector>

#include "wages/conversions.h"
#include "wages/income_tax.h"
#include "wages/tax_law.h"

namespace qinghe::wages {
namespace {

constexpr Fen kYuan = 100;

// Each table rises, ends unbounded, and is continuous: at every bound both
// neighbouring brackets give the same tax, which is what the quick
// deductions are for, so a mistyped bound, rate or deduction shows here.
TEST(TaxLaw, EveryTableIsContinuousAtItsBounds) {
    for (const TaxLaw& law : taxLaws()) {
        const auto brackets = law.brackets;
        ASSERT_FALSE(brackets.empty());
        EXPECT_EQ(brackets.front().quickDeduction, 0);
        EXPECT_EQ(brackets.back().upTo, kNoUpperBound);
        for (std::size_t i = 0; i + 1 < brackets.size(); ++i) {
            const TaxBracket& low = brackets[i];
            const TaxBracket& high = brackets[i + 1];
            EXPECT_LT(low.upTo, high.upTo);
            EXPECT_LT(low.ratePercent, high.ratePercent);
            EXPECT_EQ(percentOf(low.upTo, low.ratePercent) - low.quickDeduction,
                      percentOf(low.upTo, high.ratePercent) - high.quickDeduction)
                << law.fromYear << " at " << low.upTo;
            // The bound belongs to the lower bracket, a fen above it to the higher.
            EXPECT_EQ(taxByBrackets(brackets, low.upTo).ratePercent, low.ratePercent);
            EXPECT_EQ(taxByBrackets(brackets, low.upTo + 1).ratePercent, high.ratePercent);
        }
    }
}

TEST(TaxLaw, InForceByMonth) {
    const struct {
        int year, month;
        TaxMethod method;
        Fen allowance;
        bool lowIncomeRule;
    } cases[] = {
        {1990, 1, TaxMethod::Monthly, 3500 * kYuan, false},
        {2018, 9, TaxMethod::Monthly, 3500 * kYuan, false},
        {2018, 10, TaxMethod::Monthly, 5000 * kYuan, false},
        {2018, 12, TaxMethod::Monthly, 5000 * kYuan, false},
        {2019, 1, TaxMethod::Cumulative, 5000 * kYuan, false},
        {2020, 12, TaxMethod::Cumulative, 5000 * kYuan, false},
        {2021, 1, TaxMethod::Cumulative, 5000 * kYuan, true},
    };
    for (const auto& c : cases) {
        const TaxLaw& law = taxInForce(c.year, c.month);
        EXPECT_EQ(law.method, c.method) << c.year << '-' << c.month;
        EXPECT_EQ(law.allowance, c.allowance) << c.year << '-' << c.month;
        EXPECT_EQ(law.lowIncomeRule, c.lowIncomeRule) << c.year << '-' << c.month;
    }
    EXPECT_EQ(&taxInForce(2099, 12), &newestTaxLaw());
    EXPECT_EQ(&taxInForce(2099, 12), &taxInForce(2021, 1));
}

// The 2011 table in fen is the one the seed rules' incomeTax reads in yuan:
// both give the same tax to the fen across the brackets. (Not on a half fen:
// there the double product may lie a hair below the half, and the seed
// rules round it down, 41630.985 to 41630.98.)
TEST(TaxLaw, The2011TableTaxesAsTheSeedRulesDo) {
    const TaxLaw& law = taxInForce(2015, 6);
    const Fen special = 175 * kYuan;
    std::vector<Fen> grossPays;
    for (Fen gross = 3000 * kYuan; gross < 100000 * kYuan; gross += 37 * kYuan) {
        grossPays.push_back(gross);
    }
    for (const TaxBracket& b : kMonthlyBrackets2011) {
        if (b.upTo == kNoUpperBound) continue;
        for (Fen off : {-1, 0, 1})
            grossPays.push_back(b.upTo + kMonthlyAllowance2011 + special + off);
    }
    for (Fen gross : grossPays) {
        const Fen current = monthWithholding(law, 6, {gross, special, 0, 0}, {}, false).withholding;
        const double seed = roundHalfAway(
            incomeTax(static_cast<double>(gross) / 100, static_cast<double>(special) / 100), 2);
        EXPECT_EQ(current, std::llround(seed * 100)) << gross;
    }
}

// One month alone, so each row shows one table's edges.
TEST(Withholding, BracketEdgesAndHalfFen) {
    const struct {
        int year, month;
        Fen gross, special;
        Fen taxable;
        int rate;
        Fen quickDeduction, withholding;
    } cases[] = {
        {2024, 1, 4000'00, 0, 0, 3, 0, 0},  // below the allowance: nothing, never negative
        {2024, 1, 5000'00, 0, 0, 3, 0, 0},
        {2024, 1, 5000'50, 0, 50, 3, 0, 2},       // 1.5 fen rounds up
        {2024, 1, 5016'50, 0, 16'50, 3, 0, 50},   // 49.5 fen rounds up
        {2024, 1, 5049'83, 0, 49'83, 3, 0, 149},  // 149.49 fen rounds down
        {2024, 1, 41000'00, 0, 36000'00, 3, 0, 1080'00},
        {2024, 1, 41000'01, 0, 36000'01, 10, 2520'00, 1080'00},
        {2024, 1, 41000'05, 0, 36000'05, 10, 2520'00, 1080'01},  // 3600.005 rounds up
        {2024, 1, 965000'01, 0, 960000'01, 45, 181920'00, 250080'00},
        {2024, 1, 10000'00, 10000'00, 0, 3, 0, 0},  // the special deductions come off
        // The 2018 change: 3,500 and the 2011 brackets up to September, then
        // 5,000 and wider brackets, then the cumulative method.
        {2018, 9, 10000'00, 0, 6500'00, 20, 555'00, 745'00},
        {2018, 10, 10000'00, 0, 5000'00, 10, 210'00, 290'00},
        {2019, 1, 10000'00, 0, 5000'00, 3, 0, 150'00},
        {2018, 10, 8000'00, 0, 3000'00, 3, 0, 90'00},
        {2018, 10, 8000'01, 0, 3000'01, 10, 210'00, 90'00},
    };
    for (const auto& c : cases) {
        const Withholding w = monthWithholding(taxInForce(c.year, c.month), c.month,
                                               {c.gross, c.special, 0, 0}, {}, false);
        EXPECT_EQ(w.tax.taxable, c.taxable) << c.year << '-' << c.month << ' ' << c.gross;
        EXPECT_EQ(w.tax.ratePercent, c.rate) << c.gross;
        EXPECT_EQ(w.tax.quickDeduction, c.quickDeduction) << c.gross;
        EXPECT_EQ(w.withholding, c.withholding) << c.gross;
    }
}

struct YearCase {
    const char* name;
    int year;
    bool lowIncome;
    std::vector<PaidMonth> rows;  // `withheld` is what withholdInTurn finds
    std::vector<Fen> withholdings;
    Fen annualTax;
    Fen balance;
};

std::vector<PaidMonth> months(int first, int last, MonthIncome income) {
    std::vector<PaidMonth> rows;
    for (int m = first; m <= last; ++m) rows.push_back({m, income, 0});
    return rows;
}

TEST(Withholding, YearsWithheldInTurnAndSettled) {
    const MonthIncome bureau = {30000'00, 4500'00, 2000'00, 0};
    const MonthIncome modest = {6000'00, 500'00, 0, 0};
    const std::vector<Fen> modestEachMonth(12, 15'00);
    const YearCase cases[] = {
        // The tax bureau's published example, and the person leaving after
        // March: the year's 60,000 allowance refunds most of it.
        {"bureau, three months",
         2024,
         false,
         months(1, 3, bureau),
         {555'00, 625'00, 1850'00},
         315'00,
         -2715'00},
        {"bureau, a year",
         2024,
         false,
         months(1, 12, bureau),
         {555'00, 625'00, 1850'00, 1850'00, 1850'00, 1850'00, 1850'00, 2250'00, 3700'00, 3700'00,
          3700'00, 3700'00},
         27480'00,
         0},
        // Hired in July: each month adds one 5,000 only; the settlement
        // gives the whole year's 60,000 and refunds everything.
        {"hired in July",
         2024,
         false,
         months(7, 12, {10000'00, 1000'00, 0, 0}),
         {120'00, 120'00, 120'00, 120'00, 120'00, 120'00},
         0,
         -720'00},
        {"low-income rule",
         2024,
         true,
         months(1, 12, modest),
         {0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 15'00, 165'00},
         180'00,
         0},
        {"without it", 2024, false, months(1, 12, modest), modestEachMonth, 180'00, 0},
        {"claimed before the rule existed", 2020, true, months(1, 12, modest), modestEachMonth,
         180'00, 0},
        {"other deductions count",
         2024,
         false,
         months(1, 2, {10000'00, 0, 1000'00, 500'00}),
         {105'00, 105'00},
         0,
         -210'00},
        // Pay taken back in February: the cumulative tax falls, nothing is
        // paid back during the year, the settlement refunds it.
        {"over-withheld",
         2024,
         false,
         {{1, {20000'00, 0, 0, 0}, 0}, {2, {-15000'00, 0, 0, 0}, 0}},
         {450'00, 0},
         0,
         -450'00},
    };
    for (const YearCase& c : cases) {
        const TaxLaw& law = taxInForce(c.year, 12);
        const auto results = withholdInTurn(law, c.rows, c.lowIncome);
        std::vector<Fen> got;
        std::vector<PaidMonth> rows = c.rows;
        for (std::size_t i = 0; i < results.size(); ++i) {
            got.push_back(results[i].withholding);
            rows[i].withheld = results[i].withholding;
        }
        EXPECT_EQ(got, c.withholdings) << c.name;
        const std::optional<Settlement> s = settleYear(law, rows);
        ASSERT_TRUE(s) << c.name;
        EXPECT_EQ(s->allowance, 60000'00) << c.name;
        EXPECT_EQ(s->tax.tax, c.annualTax) << c.name;
        EXPECT_EQ(s->balance, c.balance) << c.name;
    }
}

TEST(Withholding, SaysWhichMonthsItWasBuiltFrom) {
    const Fen huge = std::numeric_limits<Fen>::max();
    const std::vector<PaidMonth> rows = {
        {5, {8000'00, 0, 0, 0}, 90'00},  {3, {7000'00, 0, 0, 0}, 60'00},
        {6, {9000'00, 0, 0, 0}, 120'00},  // this month's own row: recomputed, not read
        {3, {500'00, 0, 0, 0}, 0},        // a second payment in March adds up; March counts once
        {0, {1'00, 0, 0, 0}, 1'00},      {13, {1'00, 0, 0, 0}, 1'00},
    };
    const Withholding w =
        monthWithholding(taxInForce(2024, 6), 6, {10000'00, 0, 2000'00, 0}, rows, false);
    EXPECT_EQ(w.builtFrom, MonthSet("000000110100"));
    EXPECT_EQ(w.total.gross, 25500'00);
    EXPECT_EQ(w.total.specialAdditional, 2000'00);
    EXPECT_EQ(w.allowance, 15000'00);
    EXPECT_EQ(w.withheldBefore, 150'00);
    EXPECT_EQ(w.tax.tax, 255'00);  // 8,500 at 3 %
    EXPECT_EQ(w.withholding, 105'00);

    // The monthly method reads no rows and knows no special additional or
    // other deductions; and there is no settlement of such a year.
    const Withholding monthly =
        monthWithholding(taxInForce(2018, 11), 11, {10000'00, 0, 2000'00, 500'00}, rows, false);
    EXPECT_EQ(monthly.builtFrom, MonthSet("010000000000"));
    EXPECT_EQ(monthly.withheldBefore, 0);
    EXPECT_EQ(monthly.withholding, 290'00);
    EXPECT_FALSE(settleYear(taxInForce(2018, 12), rows));

    // January has no months before it, even with its own row in the record;
    // a month past December is none of the year's: its rows never count.
    const std::vector<PaidMonth> januarysOwn = {{1, {1'00, 0, 0, 0}, 1'00}};
    const Withholding january = monthWithholding(newestTaxLaw(), 1, {}, januarysOwn, false);
    EXPECT_EQ(january.builtFrom, MonthSet("000000000001"));
    EXPECT_EQ(january.total.gross, 0);
    EXPECT_EQ(january.withheldBefore, 0);
    const Withholding late = monthWithholding(newestTaxLaw(), 14, {}, rows, false);
    EXPECT_EQ(late.builtFrom, MonthSet("000000110100"));
    EXPECT_EQ(late.total.gross, 24500'00);

    // Absurd rows are bounded, not overflowed: an amount beyond the bound
    // counts as the bound, whichever row or field it stands in.
    const std::vector<PaidMonth> absurd = {{1, {huge, -huge, huge, huge}, huge},
                                           {2, {huge, huge, -huge, huge}, -huge}};
    const auto settled = settleYear(newestTaxLaw(), absurd);
    ASSERT_TRUE(settled);
    EXPECT_EQ(settled->total.gross, 2 * kMaxHundredths);
    EXPECT_EQ(settled->withheld, 0);
    const Fen over = kMaxHundredths + 1;
    const struct {
        std::vector<PaidMonth> rows;
        MonthIncome income;
        MonthIncome total;
        Fen withheldBefore;
    } bounded[] = {
        {absurd, {huge, 0, 0, 0}, {3 * kMaxHundredths, 0, 0, 2 * kMaxHundredths}, 0},
        {{{1, {over, 0, 0, 0}, 0}, {2, {1'00, 0, -over, 0}, 0}},
         {},
         {kMaxHundredths + 1'00, 0, -kMaxHundredths, 0},
         0},
        {{{1, {1'00, 0, 0, 0}, -over}},
         {0, over, 0, -over},
         {1'00, kMaxHundredths, 0, -kMaxHundredths},
         -kMaxHundredths},
        {{{2, {0, 0, 0, over}, 1'00}}, {}, {0, 0, 0, kMaxHundredths}, 1'00},
    };
    for (const auto& c : bounded) {
        const Withholding got = monthWithholding(newestTaxLaw(), 3, c.income, c.rows, true);
        EXPECT_EQ(got.total.gross, c.total.gross);
        EXPECT_EQ(got.total.special, c.total.special);
        EXPECT_EQ(got.total.specialAdditional, c.total.specialAdditional);
        EXPECT_EQ(got.total.other, c.total.other);
        EXPECT_EQ(got.withheldBefore, c.withheldBefore);
    }
    // Rows past the hundredth are not read.
    const std::vector<PaidMonth> many(150, {1, {kMaxHundredths, 0, 0, 0}, huge});
    EXPECT_EQ(settleYear(newestTaxLaw(), many)->total.gross, 100 * kMaxHundredths);
}

}  // namespace
}  // namespace qinghe::wages
