#include "wages/wage_calculation.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/gbk.h"
#include "testing/wage_examples.h"
#include "wages/conversions.h"
#include "wages/pay_form.h"

namespace qinghe::wages {
namespace {

std::vector<std::string> captionsUtf8(const WageInputs& in) {
    std::vector<std::string> out;
    for (const auto& caption : wageResultCaptions(calculateWages(in))) {
        out.push_back(gbk::toUtf8(caption));
    }
    return out;
}

WageInputs initialWageInputs() {
    return wageInputs(openingPayTexts());
}

WageInputs withTexts(const examples::Example& example) {
    PayForm<std::string> texts = openingPayTexts();
    for (const auto& [key, text] : example.texts) {
        const std::string gbkKey = gbk::fromUtf8(key).text;
        bool found = false;
        for (const auto& row : payBoxes<std::string>()) {
            if (row.key == gbkKey) {
                texts.*row.box = gbk::fromUtf8(text).text;
                found = true;
            }
        }
        EXPECT_TRUE(found) << key;
    }
    return wageInputs(texts);
}

TEST(CalculateWages, TheOpeningFormGivesTheTwentyCaptions) {
    EXPECT_EQ(captionsUtf8(initialWageInputs()), examples::kOpeningFormCaptions);
}

TEST(CalculateWages, WorkedExamples) {
    for (const auto* example : {&examples::kOvertimeAndLeave, &examples::kTaxed}) {
        const auto captions = captionsUtf8(withTexts(*example));
        for (const auto& [index, caption] : example->captions) {
            EXPECT_EQ(captions.at(index), caption);
        }
    }
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

TEST(PayForm, EveryBoxAndEveryInputHasExactlyOneRow) {
    const auto rows = payBoxes<std::string>();
    static_assert(sizeof(WageInputs) == kPayBoxCount * sizeof(double));
    static_assert(sizeof(PayForm<int>) == kPayBoxCount * sizeof(int));
    for (std::size_t i = 0; i < rows.size(); ++i) {
        for (std::size_t j = i + 1; j < rows.size(); ++j) {
            EXPECT_NE(rows[i].box, rows[j].box) << i << " and " << j;
            EXPECT_NE(rows[i].input, rows[j].input) << i << " and " << j;
            EXPECT_NE(rows[i].key, rows[j].key);
        }
    }
    // The settings file's 18 keys come first, in its order.
    for (std::size_t i = 0; i < rows.size(); ++i) {
        EXPECT_EQ(rows[i].kept == KeptInSettings::Yes, i < 18) << gbk::toUtf8(rows[i].key);
    }
}

}  // namespace
}  // namespace qinghe::wages
