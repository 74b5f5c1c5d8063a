#include "wages/settlement.h"

#include <gtest/gtest.h>

#include <optional>
#include <vector>

#include "wages/capped_deductions.h"

namespace qinghe::wages {
namespace {

Settlement settled(int year, const std::vector<PaidMonth>& rows, Fen medicalCosts = 0) {
    const std::optional<Settlement> s = settleYear(incomeTaxLaw(year, 12), rows, medicalCosts);
    EXPECT_TRUE(s);
    return s.value_or(Settlement{});
}

// Two employers at once (a second job from October): each part is listed,
// in the order of its first row, and the year adds them up.
TEST(Settlement, EveryEmployerAddsUp) {
    std::vector<PaidMonth> rows;
    for (int m = 1; m <= 12; ++m) rows.push_back({m, {10000'00, 1000'00, 0, 0}, 120'00});
    for (int m = 10; m <= 12; ++m) {
        rows.push_back({m, {3000'00, 0, 500'00, 0}, 0, 0, BonusTaxing::Separate, 7});
    }
    const Settlement s = settled(2026, rows);
    ASSERT_EQ(s.employers.size(), 2U);
    EXPECT_EQ(s.employers[0].employer, 0);
    EXPECT_EQ(s.employers[0].months, MonthSet("111111111111"));
    EXPECT_EQ(s.employers[0].total.gross, 120000'00);
    EXPECT_EQ(s.employers[0].withheld, 1440'00);
    EXPECT_EQ(s.employers[1].employer, 7);
    EXPECT_EQ(s.employers[1].months, MonthSet("111000000000"));
    EXPECT_EQ(s.employers[1].total.specialAdditional, 1500'00);
    // 129,000 - 60,000 - 12,000 - 1,500 = 55,500: 3,030 against 1,440.
    EXPECT_EQ(s.total.gross, 129000'00);
    EXPECT_EQ(s.tax.taxable, 55500'00);
    EXPECT_EQ(s.balance, 1590'00);
    EXPECT_EQ(s.verdict, Verdict::ToPay);
}

// One row of December, paid `gross` with `withheld`: 130,000 leaves 70,000
// taxable, 4,480; 120,000 leaves 60,000, 3,480.
TEST(Settlement, TheVerdictAndTheExemption) {
    const struct {
        int year;
        Fen gross, withheld, balance;
        Verdict verdict;
    } cases[] = {
        {2026, 130000'00, 4080'00, 400'00, Verdict::Exempt},
        {2026, 130000'00, 4079'99, 400'01, Verdict::ToPay},
        {2026, 120000'00, 0, 3480'00, Verdict::Exempt},
        {2026, 120000'01, 0, 3480'00, Verdict::ToPay},
        {2019, 130000'00, 4080'00, 400'00, Verdict::Exempt},
        {2027, 120000'00, 0, 3480'00, Verdict::Exempt},
        {2028, 120000'00, 0, 3480'00, Verdict::ToPay},  // the exemption has ended
        {2026, 130000'00, 4480'00, 0, Verdict::Even},
        {2026, 130000'00, 4480'01, -1, Verdict::Refund},
    };
    for (const auto& c : cases) {
        const Settlement s = settled(c.year, {{12, {c.gross, 0, 0, 0}, c.withheld}});
        EXPECT_EQ(s.balance, c.balance) << c.year << ' ' << c.gross << ' ' << c.withheld;
        EXPECT_EQ(s.verdict, c.verdict) << c.year << ' ' << c.gross << ' ' << c.withheld;
    }
}

TEST(Settlement, MedicalCostsOverTheThresholdUpToTheCap) {
    const struct {
        Fen costs, deduction;
    } cases[] = {
        {-1'00, 0}, {15000'00, 0}, {15000'01, 1}, {95000'00, 80000'00}, {95000'01, 80000'00},
    };
    for (const auto& c : cases) EXPECT_EQ(medicalDeduction(c.costs), c.deduction) << c.costs;
    // It comes off the settlement: 130,000 - 60,000 - 20,000 = 50,000: 2,480.
    EXPECT_EQ(settled(2026, {{12, {130000'00, 0, 0, 0}, 0}}, 35000'00).tax.tax, 2480'00);
}

// Wages of 20,000 a month less 3,000 special and 2,000 special additional:
// the year is 120,000 taxable, 9,480. A bonus of 36,000 alone adds 1,080;
// merged, 156,000 is taxed at 20 %: 14,280.
TEST(Settlement, TheBonusBothWays) {
    std::vector<PaidMonth> year;
    for (int m = 1; m <= 12; ++m) year.push_back({m, {20000'00, 3000'00, 2000'00, 0}});
    const struct {
        const char* name;
        Fen bonus;
        BonusTaxing taxing;
        int taxYear;
        Fen annualTax;
        std::optional<BonusComparison> both;
    } cases[] = {
        {"alone", 36000'00, BonusTaxing::Separate, 2026, 9480'00, {{10560'00, 14280'00}}},
        {"merged", 36000'00, BonusTaxing::Merged, 2026, 14280'00, {{10560'00, 14280'00}}},
        // 36,000.01 x 10 % - 210 = 3,390.00: merging costs 1,410 more, not 3,720.
        {"a fen over", 36000'01, BonusTaxing::Separate, 2026, 9480'00, {{12870'00, 14280'00}}},
        {"not offered", 36000'00, BonusTaxing::Separate, 2028, 14280'00, std::nullopt},
    };
    for (const auto& c : cases) {
        std::vector<PaidMonth> rows = year;
        rows.back().bonus = c.bonus;
        rows.back().bonusTaxing = c.taxing;
        const Settlement s = settled(c.taxYear, rows);
        EXPECT_EQ(s.tax.tax, c.annualTax) << c.name;
        EXPECT_EQ(s.bonusMonth, c.taxing == BonusTaxing::Separate && c.both ? 12 : 0) << c.name;
        ASSERT_EQ(s.bonusComparison.has_value(), c.both.has_value()) << c.name;
        if (!c.both) continue;
        EXPECT_EQ(s.bonusComparison->separate, c.both->separate) << c.name;
        EXPECT_EQ(s.bonusComparison->merged, c.both->merged) << c.name;
    }
}

// Two employers each taxed a bonus on its own: the year keeps the first so
// (12,000: 360) and merges the second (24,000, whose 720 counts as
// withheld). 24,000 of income is under the allowance: 720 is refunded.
// Merged, both leave no tax; alone, the cheaper is the first.
TEST(Settlement, OneBonusAYearAlone) {
    const Settlement s = settled(2026, {{6, {}, 0, 12000'00, BonusTaxing::Separate, 0},
                                        {12, {}, 0, 24000'00, BonusTaxing::Separate, 1}});
    EXPECT_EQ(s.bonusMonth, 6);
    EXPECT_EQ(s.bonusTax.tax, 360'00);
    EXPECT_EQ(s.total.gross, 24000'00);
    EXPECT_EQ(s.withheld, 720'00);
    EXPECT_EQ(s.balance, -720'00);
    ASSERT_TRUE(s.bonusComparison);
    EXPECT_EQ(s.bonusComparison->separate, 360'00);
    EXPECT_EQ(s.bonusComparison->merged, 0);
}

// Each box up to its cap, and nothing before its law.
TEST(CappedDeductions, EachCapAndWhenItIsReached) {
    const struct {
        const char* name;
        int year, month;
        CappedPayments paid;
        DeductedBefore before;
        Fen pension, health, annuity;
        bool pensionCapped, healthCapped, annuityCapped;
    } cases[] = {
        {"within",
         2026,
         3,
         {12000'00, 200'00, 400'00, 10000'00},
         {},
         12000'00,
         200'00,
         400'00,
         false,
         false,
         false},
        {"a fen over",
         2026,
         3,
         {12000'01, 200'01, 400'01, 10000'00},
         {},
         12000'00,
         200'00,
         400'00,
         true,
         true,
         true},
        // 11,500 and 2,300 already deducted this year; 4 % of 10,000.13 is 400.01.
        {"the year's rest",
         2026,
         12,
         {1000'00, 200'00, 400'01, 10000'13},
         {11500'00, 2300'00},
         500'00,
         100'00,
         400'01,
         true,
         true,
         false},
        {"nothing paid", 2026, 3, {0, 0, -5'00, 0}, {}, 0, 0, 0, false, false, false},
    };
    for (const auto& c : cases) {
        const CappedDeductions d = cappedDeductions(c.year, c.month, c.paid, c.before);
        EXPECT_EQ(d.privatePension.deduction, c.pension) << c.name;
        EXPECT_EQ(d.healthInsurance.deduction, c.health) << c.name;
        EXPECT_EQ(d.annuity.deduction, c.annuity) << c.name;
        EXPECT_EQ(d.privatePension.capReached, c.pensionCapped) << c.name;
        EXPECT_EQ(d.healthInsurance.capReached, c.healthCapped) << c.name;
        EXPECT_EQ(d.annuity.capReached, c.annuityCapped) << c.name;
        EXPECT_EQ(d.total, c.pension + c.health + c.annuity) << c.name;
    }
    const struct {
        int year, month;
        bool pension, health, annuity;
    } dates[] = {
        {2013, 12, false, false, false}, {2014, 1, false, false, true},
        {2017, 6, false, false, true},   {2017, 7, false, true, true},
        {2021, 12, false, true, true},   {2022, 1, true, true, true},
    };
    for (const auto& c : dates) {
        const CappedDeductions d =
            cappedDeductions(c.year, c.month, {100'00, 100'00, 100'00, 10000'00}, {});
        EXPECT_EQ(d.privatePension.inForce, c.pension) << c.year << '-' << c.month;
        EXPECT_EQ(d.healthInsurance.inForce, c.health) << c.year << '-' << c.month;
        EXPECT_EQ(d.annuity.inForce, c.annuity) << c.year << '-' << c.month;
        EXPECT_EQ(d.total, 100'00 * (c.pension + c.health + c.annuity)) << c.year << '-' << c.month;
    }
}

}  // namespace
}  // namespace qinghe::wages
