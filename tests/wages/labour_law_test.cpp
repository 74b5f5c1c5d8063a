#include "wages/labour_law.h"

#include <gtest/gtest.h>

namespace qinghe::wages {
namespace {

constexpr Fen kMinimumWage = 2690'00;  // its hourly rate: 2,690 / 21.75 / 8 = 15.4598

// 16 sick hours at 15.46 an hour pay 247.36; 80 % of the minimum wage's pay
// for them is 2,690 x 16 / 21.75 / 8 x 0.8 = 197.885: 197.89. A ratio of 0.8
// deducts 49.47 and pays 197.89, on the floor; 0.6 deducts 98.94, which the
// floor cuts to 49.47. In 2007 the month had 20.92 paid days: 205.74.
TEST(LabourLaw, SickPayIsAtLeastEightyPercentOfTheMinimumWage) {
    const struct {
        const char* what;
        int year, month;
        std::optional<Fen> minimumWage;
        Hundredths hours;
        Fen deduction;
        bool inForce;
        Fen floor, paid, deductionAfter;
        bool reduced;
    } cases[] = {
        {"ratio 0.6", 2025, 7, kMinimumWage, 16'00, 98'94, true, 197'89, 197'89, 49'47, true},
        {"ratio 0.8: on the floor", 2025, 7, kMinimumWage, 16'00, 49'47, true, 197'89, 197'89,
         49'47, false},
        {"20.92 days", 2007, 12, kMinimumWage, 16'00, 98'94, true, 205'74, 205'74, 41'62, true},
        {"no minimum wage", 2025, 7, std::nullopt, 16'00, 98'94, false, 0, 148'42, 98'94, false},
        {"before the rule", 1995, 7, kMinimumWage, 16'00, 98'94, false, 0, 148'42, 98'94, false},
        {"no hours", 2025, 7, kMinimumWage, 0, 0, true, 0, 0, 0, false},
    };
    for (const auto& c : cases) {
        const SickPayCheck r =
            checkSickPay(c.year, c.month, c.minimumWage, c.hours, 15'46, c.deduction);
        EXPECT_EQ(r.inForce, c.inForce) << c.what;
        EXPECT_EQ(r.floor, c.floor) << c.what;
        EXPECT_EQ(r.paid, c.paid) << c.what;
        EXPECT_EQ(r.deduction, c.deductionAfter) << c.what;
        EXPECT_EQ(r.reduced, c.reduced) << c.what;
    }
}

// The minimum wage's hourly rate is 15.46 (16.07 at 20.92 days).
TEST(LabourLaw, TheOvertimeBaseAndHourlyRateAreNotBelowTheMinimumWages) {
    const struct {
        const char* what;
        int year;
        Fen baseSum;
        Hundredths days;
        Fen base;
        bool baseRaised;
        Fen hourly;
        bool hourlyRaised;
    } cases[] = {
        {"a base below it", 2025, 2500'00, 21'75, 2690'00, true, 15'46, false},
        {"more working days than paid ones", 2025, 2690'00, 22'50, 2690'00, false, 15'46, true},
        {"above both", 2025, 3000'00, 21'75, 3000'00, false, 17'24, false},
        {"20.92 days", 2007, 2690'00, 21'75, 2690'00, false, 16'07, true},
        {"before the rule", 2004, 2500'00, 21'75, 2500'00, false, 14'37, false},
    };
    for (const auto& c : cases) {
        const OvertimeBaseCheck r = checkOvertimeBase(c.year, 2, kMinimumWage, c.baseSum, c.days);
        EXPECT_EQ(r.base, c.base) << c.what;
        EXPECT_EQ(r.baseRaised, c.baseRaised) << c.what;
        EXPECT_EQ(r.hourly, c.hourly) << c.what;
        EXPECT_EQ(r.hourlyRaised, c.hourlyRaised) << c.what;
    }
    EXPECT_FALSE(checkOvertimeBase(2025, 7, kMinimumWage, 3000'00, 0).hourly);
    EXPECT_EQ(checkOvertimeBase(2025, 7, std::nullopt, 2500'00, 21'75).hourly, 14'37);
}

// At most 36 hours a month and 3 a working day: a warning of what passed.
TEST(LabourLaw, TheOvertimeCapsSayWhatPassedThem) {
    const DayOvertime days[] = {{3, 2'00}, {5, 3'00}, {3, 2'00}, {7, 3'50}, {9, 1'00}};
    const OvertimeCapCheck over = checkOvertimeCap(2025, 7, 36'50, days);
    EXPECT_TRUE(over.inForce);
    EXPECT_EQ(over.monthCap, 36'00);
    EXPECT_EQ(over.dayCap, 3'00);
    EXPECT_TRUE(over.monthOver);
    ASSERT_EQ(over.daysOver.size(), 2U);
    EXPECT_EQ(over.daysOver[0].day, 3);  // two records of one day add up
    EXPECT_EQ(over.daysOver[0].hours, 4'00);
    EXPECT_EQ(over.daysOver[1].day, 7);
    EXPECT_FALSE(checkOvertimeCap(2025, 7, 36'00, {}).monthOver);
    const OvertimeCapCheck before = checkOvertimeCap(1994, 12, 100'00, days);
    EXPECT_FALSE(before.inForce);
    EXPECT_FALSE(before.monthOver);
    EXPECT_TRUE(before.daysOver.empty());
}

}  // namespace
}  // namespace qinghe::wages
