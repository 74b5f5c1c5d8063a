#include "wages/withholding.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <optional>
#include <vector>

#include "wages/conversions.h"
#include "wages/income_tax.h"
#include "wages/settlement.h"
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

// Each rule by its dates: the first-wages rule from 2020-07, the low-income
// rule from 2021, the bonus on its own and the exemption 2019 to 2027.
TEST(TaxLaw, InForceByMonth) {
    const struct {
        int year, month;
        TaxMethod method;
        Fen allowance;
        bool lowIncomeRule, firstWagesRule, separateBonus, exemption;
    } cases[] = {
        {1990, 1, TaxMethod::Monthly, 3500 * kYuan, false, false, false, false},
        {2018, 9, TaxMethod::Monthly, 3500 * kYuan, false, false, false, false},
        {2018, 10, TaxMethod::Monthly, 5000 * kYuan, false, false, false, false},
        {2018, 12, TaxMethod::Monthly, 5000 * kYuan, false, false, false, false},
        {2019, 1, TaxMethod::Cumulative, 5000 * kYuan, false, false, true, true},
        {2020, 6, TaxMethod::Cumulative, 5000 * kYuan, false, false, true, true},
        {2020, 7, TaxMethod::Cumulative, 5000 * kYuan, false, true, true, true},
        {2020, 12, TaxMethod::Cumulative, 5000 * kYuan, false, true, true, true},
        {2021, 1, TaxMethod::Cumulative, 5000 * kYuan, true, true, true, true},
        {2027, 12, TaxMethod::Cumulative, 5000 * kYuan, true, true, true, true},
        {2028, 1, TaxMethod::Cumulative, 5000 * kYuan, true, true, false, false},
    };
    for (const auto& c : cases) {
        const IncomeTaxLaw law = incomeTaxLaw(c.year, c.month);
        EXPECT_EQ(law.wages, &taxInForce(c.year, c.month));
        EXPECT_EQ(law.wages->method, c.method) << c.year << '-' << c.month;
        EXPECT_EQ(law.wages->allowance, c.allowance) << c.year << '-' << c.month;
        EXPECT_EQ(law.wages->lowIncomeRule, c.lowIncomeRule) << c.year << '-' << c.month;
        EXPECT_EQ(law.wages->firstWagesRule, c.firstWagesRule) << c.year << '-' << c.month;
        EXPECT_EQ(law.separateBonus != nullptr, c.separateBonus) << c.year << '-' << c.month;
        EXPECT_EQ(law.exemption != nullptr, c.exemption) << c.year << '-' << c.month;
    }
    EXPECT_EQ(&taxInForce(2099, 12), &newestTaxLaw());
    EXPECT_EQ(&taxInForce(2099, 12), &taxInForce(2021, 1));
    // Figures that name no year take every rule's newest entry.
    const IncomeTaxLaw newest = newestIncomeTaxLaw();
    EXPECT_EQ(newest.wages, &newestTaxLaw());
    EXPECT_EQ(newest.separateBonus, incomeTaxLaw(2027, 12).separateBonus);
    EXPECT_EQ(newest.exemption, incomeTaxLaw(2027, 12).exemption);
}

// The bonus's bracket is looked up with bonus / 12, exactly, and the whole
// bonus is taxed: 144,000 x 10 % - 210 = 14,190; 144,000.01 x 20 % - 1,410
// = 27,390.00 (28,800.002 rounded).
TEST(TaxLaw, SeparateBonusAtTheBracketEdges) {
    const struct {
        Fen bonus;
        int rate;
        Fen quickDeduction, tax;
    } cases[] = {
        {-5'00, 3, 0, 0},
        {0, 3, 0, 0},
        {36000'00, 3, 0, 1080'00},
        {36000'01, 10, 210'00, 3390'00},
        {36000'12, 10, 210'00, 3390'01},  // 3,600.012 - 210
        {144000'00, 10, 210'00, 14190'00},
        {144000'01, 20, 1410'00, 27390'00},
        {960000'00, 35, 7160'00, 328840'00},
        {960000'01, 45, 15160'00, 416840'00},
    };
    for (const auto& c : cases) {
        const BracketTax t = separateBonusTax(*newestIncomeTaxLaw().separateBonus, c.bonus);
        EXPECT_EQ(t.taxable, std::max<Fen>(c.bonus, 0)) << c.bonus;
        EXPECT_EQ(t.ratePercent, c.rate) << c.bonus;
        EXPECT_EQ(t.quickDeduction, c.quickDeduction) << c.bonus;
        EXPECT_EQ(t.tax, c.tax) << c.bonus;
    }
}

// The 2011 table in fen is the one the seed rules' incomeTax reads in yuan:
// both give the same tax to the fen across the brackets. (Not on a half fen:
// there the double product may lie a hair below the half, and the seed
// rules round it down, 41630.985 to 41630.98.)
TEST(TaxLaw, The2011TableTaxesAsTheSeedRulesDo) {
    const IncomeTaxLaw law = incomeTaxLaw(2015, 6);
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
        const Fen current = monthWithholding(law, {6, {gross, special, 0, 0}}, {}, {}).withholding;
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
        const Withholding w = monthWithholding(incomeTaxLaw(c.year, c.month),
                                               {c.month, {c.gross, c.special, 0, 0}}, {}, {});
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
        const IncomeTaxLaw law = incomeTaxLaw(c.year, 12);
        const EmployerTerms terms = {.lowIncome = c.lowIncome};
        const auto results = withholdInTurn(law, c.rows, {&terms, 1});
        std::vector<Fen> got;
        std::vector<PaidMonth> rows = c.rows;
        for (std::size_t i = 0; i < results.size(); ++i) {
            got.push_back(results[i].withholding);
            rows[i].withheld = results[i].withholding;
        }
        EXPECT_EQ(got, c.withholdings) << c.name;
        const std::optional<Settlement> s = settleYear(law, rows, 0);
        ASSERT_TRUE(s) << c.name;
        EXPECT_EQ(s->allowance, 60000'00) << c.name;
        EXPECT_EQ(s->tax.tax, c.annualTax) << c.name;
        EXPECT_EQ(s->balance, c.balance) << c.name;
    }
}

// The allowance counts months employed, by the terms and the rules of the
// month. Pay 10,000 less 1,600 a month unless a row says otherwise.
TEST(Withholding, MonthsEmployedAndTheTerms) {
    const MonthIncome pay = {10000'00, 1600'00, 0, 0};
    // Each with a row of another employer, which counts for nothing here.
    const PaidMonth elsewhere = {3, {99999'00, 0, 0, 0}, 0, 0, BonusTaxing::Separate, 1};
    std::vector<PaidMonth> noJune = months(1, 5, pay);
    std::vector<PaidMonth> fromMarch = months(3, 5, pay);
    noJune.push_back(elsewhere);
    fromMarch.push_back(elsewhere);
    const struct {
        const char* name;
        int year, month;
        std::vector<PaidMonth> rows;
        EmployerTerms terms;
        Fen allowance;
        MonthSet unpaid;
        Fen withholding;
    } cases[] = {
        // 8,400 x 6 - 35,000 = 15,400: 462 (the rows withheld nothing).
        {"June unpaid", 2026, 7, noJune, {}, 35000'00, MonthSet("000000100000"), 462'00},
        // Employed from the first month paid: 8,400 x 4 - 25,000 = 8,600: 258.
        {"first paid in March", 2026, 7, fromMarch, {}, 25000'00, MonthSet("000000100000"), 258'00},
        {"hired in July", 2026, 7, {}, {}, 5000'00, {}, 102'00},  // 3,400 x 3 %
        {"first wages", 2026, 7, {}, {.firstWages = true}, 35000'00, {}, 0},
        {"first wages before the rule", 2020, 6, {}, {.firstWages = true}, 5000'00, {}, 102'00},
        {"first wages from the rule", 2020, 7, {}, {.firstWages = true}, 35000'00, {}, 0},
        {"hired in May, first paid in July",
         2026,
         7,
         {},
         {.hiredMonth = 5},
         15000'00,
         MonthSet("000000110000"),
         0},
        {"low income", 2026, 7, {}, {.lowIncome = true}, 60000'00, {}, 0},
        {"low income before the rule", 2020, 7, {}, {.lowIncome = true}, 5000'00, {}, 102'00},
    };
    for (const auto& c : cases) {
        const Withholding w =
            monthWithholding(incomeTaxLaw(c.year, c.month), {c.month, pay}, c.rows, c.terms);
        EXPECT_EQ(w.allowance, c.allowance) << c.name;
        EXPECT_EQ(w.unpaid, c.unpaid) << c.name;
        EXPECT_EQ(w.withholding, c.withholding) << c.name;
    }
}

// A bonus taxed on its own stays out of the sums and is taxed in its month;
// merged, or where the law offers no such thing, it is the month's wages.
TEST(Withholding, TheBonusAloneOrMerged) {
    const struct {
        int year;
        BonusTaxing taxing;
        Fen gross, bonusTax;
    } cases[] = {
        {2026, BonusTaxing::Separate, 20000'00, 1080'00},
        {2026, BonusTaxing::Merged, 56000'00, 0},
        {2028, BonusTaxing::Separate, 56000'00, 0},
    };
    for (const auto& c : cases) {
        const std::vector<PaidMonth> before = {
            {6, {20000'00, 0, 0, 0}, 450'00, 36000'00, c.taxing, 0}};
        const PaidMonth december = {12, {20000'00, 0, 0, 0}, 0, 36000'00, c.taxing, 0};
        const Withholding w =
            monthWithholding(incomeTaxLaw(c.year, 12), december, before, {.hiredMonth = 1});
        EXPECT_EQ(w.total.gross, 2 * c.gross) << c.year;
        EXPECT_EQ(w.bonusTax.tax, c.bonusTax) << c.year;
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
        monthWithholding(incomeTaxLaw(2024, 6), {6, {10000'00, 0, 2000'00, 0}}, rows, {});
    EXPECT_EQ(w.builtFrom, MonthSet("000000110100"));
    // Employed from March, the first month paid: April, without a row, counts unpaid.
    EXPECT_EQ(w.unpaid, MonthSet("000000001000"));
    EXPECT_EQ(w.total.gross, 25500'00);
    EXPECT_EQ(w.total.specialAdditional, 2000'00);
    EXPECT_EQ(w.allowance, 20000'00);
    EXPECT_EQ(w.withheldBefore, 150'00);
    EXPECT_EQ(w.tax.tax, 105'00);  // 3,500 at 3 %
    EXPECT_EQ(w.withholding, 0);

    // The monthly method reads no rows and knows no special additional or
    // other deductions; and there is no settlement of such a year.
    const Withholding monthly =
        monthWithholding(incomeTaxLaw(2018, 11), {11, {10000'00, 0, 2000'00, 500'00}}, rows, {});
    EXPECT_EQ(monthly.builtFrom, MonthSet("010000000000"));
    EXPECT_TRUE(monthly.unpaid.none());
    EXPECT_EQ(monthly.withheldBefore, 0);
    EXPECT_EQ(monthly.withholding, 290'00);
    EXPECT_FALSE(settleYear(incomeTaxLaw(2018, 12), rows, 0));

    // January has no months before it, even with its own row in the record;
    // a month past December is none of the year's: its rows never count.
    const std::vector<PaidMonth> januarysOwn = {{1, {1'00, 0, 0, 0}, 1'00}};
    const Withholding january = monthWithholding(newestIncomeTaxLaw(), {1, {}}, januarysOwn, {});
    EXPECT_EQ(january.builtFrom, MonthSet("000000000001"));
    EXPECT_EQ(january.total.gross, 0);
    EXPECT_EQ(january.withheldBefore, 0);
    const Withholding late = monthWithholding(newestIncomeTaxLaw(), {14, {}}, rows, {});
    EXPECT_EQ(late.builtFrom, MonthSet("000000110100"));
    EXPECT_EQ(late.total.gross, 24500'00);

    // Absurd rows are bounded, not overflowed: an amount beyond the bound
    // counts as the bound, whichever row or field it stands in.
    const std::vector<PaidMonth> absurd = {{1, {huge, -huge, huge, huge}, huge},
                                           {2, {huge, huge, -huge, huge}, -huge}};
    const auto settled = settleYear(newestIncomeTaxLaw(), absurd, 0);
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
        const Withholding got =
            monthWithholding(newestIncomeTaxLaw(), {3, c.income}, c.rows, {.lowIncome = true});
        EXPECT_EQ(got.total.gross, c.total.gross);
        EXPECT_EQ(got.total.special, c.total.special);
        EXPECT_EQ(got.total.specialAdditional, c.total.specialAdditional);
        EXPECT_EQ(got.total.other, c.total.other);
        EXPECT_EQ(got.withheldBefore, c.withheldBefore);
    }
    // Rows past the hundredth are not read.
    const std::vector<PaidMonth> many(150, {1, {kMaxHundredths, 0, 0, 0}, huge});
    EXPECT_EQ(settleYear(newestIncomeTaxLaw(), many, 0)->total.gross, 100 * kMaxHundredths);
}

}  // namespace
}  // namespace qinghe::wages
