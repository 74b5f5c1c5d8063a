#include "wages/wage_calculation.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/gbk.h"
#include "wages/conversions.h"
#include "wages/wage_form.h"

namespace qinghe::wages {
namespace {

std::vector<std::string> captionsUtf8(const WageInputs& in) {
    std::vector<std::string> out;
    for (const auto& caption : wageResultCaptions(calculateWages(in))) {
        out.push_back(gbk::toUtf8(caption));
    }
    return out;
}

// The form as the window opens: base pay 1820, post allowance 200, 21.75
// working days, special post 200, skill 300, social insurance 175.6, meals 400.
TEST(CalculateWages, TheOpeningFormGivesTheTwentyCaptions) {
    const std::vector<std::string> expected = {
        "个人所得税代扣:0",
        "G1工资：0",
        "G2工资：0",
        "G3工资：0",
        "加班费总和：0",
        "事假减项：0",
        "病假减项：0",
        "旷工减项：0",
        "时薪：11.61",
        "8小时日薪：92.88",
        "10小时日薪：127.71",
        "应发工资：2520",
        "实发工资：1944.4",
        "G1时薪：17.42",
        "G2时薪：23.22",
        "节假日时薪：34.83",
        "周六日8小时薪资：185.76",
        "周六日10小时薪资：232.2",
        "节假日8小时薪资：278.64",
        "节假日10小时薪资：348.3",
    };
    EXPECT_EQ(captionsUtf8(initialWageInputs()), expected);
}

TEST(CalculateWages, HoursLeaveAndAdditionsAreShownUnrounded) {
    WageInputs in = initialWageInputs();
    in.g1Hours = 12;
    in.g2Hours = 16;
    in.g3Hours = 8;
    in.personalLeaveHours = 4;
    in.sickLeaveHours = 8;
    in.sickPayRatio = 0.7;
    in.absenceHours = 2;
    in.nightShiftAllowance = 18;
    in.otherDeductions = 50;
    in.otherAdditions = 100;
    const auto c = captionsUtf8(in);
    EXPECT_EQ(c[0], "个人所得税代扣:0");
    EXPECT_EQ(c[1], "G1工资：208.98");
    EXPECT_EQ(c[2], "G2工资：371.52");
    EXPECT_EQ(c[3], "G3工资：278.64");
    EXPECT_EQ(c[4], "加班费总和：859.14");
    EXPECT_EQ(c[5], "事假减项：46.44");
    EXPECT_EQ(c[6], "病假减项：65.016");
    EXPECT_EQ(c[7], "旷工减项：23.22");
    EXPECT_EQ(c[11], "应发工资：3262.464");
    EXPECT_EQ(c[12], "实发工资：2736.864");
}

TEST(CalculateWages, TaxIsRoundedBeforeItComesOffNetPay) {
    WageInputs in;
    in.basePay = 10000;
    in.workingDays = 21.75;
    in.g1Hours = 10;
    const auto c = captionsUtf8(in);
    EXPECT_EQ(c[8], "时薪：57.47");
    EXPECT_EQ(c[1], "G1工资：862.05");
    EXPECT_EQ(c[11], "应发工资：10862.05");
    EXPECT_EQ(c[0], "个人所得税代扣:917.41");
    EXPECT_EQ(c[12], "实发工资：9944.64");
}

TEST(CalculateWages, PaysUseTheUnroundedClassRate) {
    WageInputs in = initialWageInputs();
    in.g1Hours = 1;
    const WageResults r = calculateWages(in);
    EXPECT_EQ(numberToText(r.g1Pay), "17.415");
    EXPECT_EQ(numberToText(r.g1RateShown), "17.42");
}

TEST(CalculateWages, WhatEachItemEnters) {
    const WageResults base = calculateWages(initialWageInputs());

    WageInputs more = initialWageInputs();
    more.otherAdditions = 1000;  // net pay only
    WageResults r = calculateWages(more);
    EXPECT_EQ(r.grossPay, base.grossPay);
    EXPECT_EQ(r.incomeTax, base.incomeTax);
    EXPECT_EQ(r.netPay, base.netPay + 1000);

    WageInputs skill = initialWageInputs();
    skill.skillAllowance = 3000;  // gross pay and tax, not the hourly rate
    r = calculateWages(skill);
    EXPECT_EQ(r.hourlyRate, base.hourlyRate);
    EXPECT_EQ(r.grossPay, base.grossPay + 2700);
    EXPECT_GT(r.incomeTax, 0.0);

    WageInputs regional = initialWageInputs();
    regional.regionalAllowance = 435;  // the base pay sum: raises the hourly rate
    r = calculateWages(regional);
    EXPECT_EQ(r.hourlyRate, 14.11);  // 2455 / 21.75 / 8 = 14.109...

    WageInputs housing = initialWageInputs();
    housing.basePay = 6000;
    housing.housingFund = 500;  // before tax and off net pay
    const WageResults withFund = calculateWages(housing);
    housing.housingFund = 0;
    const WageResults withoutFund = calculateWages(housing);
    EXPECT_LT(withFund.incomeTax, withoutFund.incomeTax);
    EXPECT_EQ(withFund.grossPay, withoutFund.grossPay);
}

TEST(CalculateWages, NegativeResultsAreNotClamped) {
    WageInputs in = initialWageInputs();
    in.absenceHours = 1000;
    const WageResults r = calculateWages(in);
    EXPECT_LT(r.grossPay, 0.0);
    EXPECT_EQ(r.incomeTax, 0.0);
    EXPECT_LT(r.netPay, r.grossPay);
}

TEST(CalculateWages, ZeroWorkingDaysShowNotComputableEverywhere) {
    for (double basePay : {1820.0, 0.0}) {  // x / 0 and 0 / 0
        WageInputs in = initialWageInputs();
        in.basePay = basePay;
        in.postAllowance = 0;
        in.workingDays = 0;
        for (const auto& caption : wageResultCaptions(calculateWages(in))) {
            EXPECT_NE(caption.find(kNotComputableText), std::string::npos) << gbk::toUtf8(caption);
        }
    }
}

TEST(WageForm, EveryInputHasExactlyOneField) {
    const auto fields = wageFormFields();
    static_assert(sizeof(WageInputs) == 21 * sizeof(double));
    ASSERT_EQ(fields.size(), 21u);
    for (std::size_t i = 0; i < fields.size(); ++i) {
        for (std::size_t j = i + 1; j < fields.size(); ++j) {
            EXPECT_NE(fields[i].input, fields[j].input) << i << " and " << j;
            EXPECT_NE(fields[i].key, fields[j].key);
        }
    }
}

}  // namespace
}  // namespace qinghe::wages
