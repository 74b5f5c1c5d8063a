#include "wages/wage_calculation.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "common/gbk.h"
#include "testing/wage_examples.h"
#include "wages/conversions.h"
#include "wages/current_wages.h"
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

PayForm<std::string> formWith(const examples::Example& example) {
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
    return texts;
}

WageInputs withTexts(const examples::Example& example) {
    return wageInputs(formWith(example));
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

CurrentWageInputs currentInputs(const PayForm<std::string>& form) {
    CurrentWageInputs in;
    const auto refused = currentWageInputs(
        form, [](const std::string& text) { return text; }, in);
    EXPECT_FALSE(refused) << gbk::toUtf8(refused ? refused->key : "");
    return in;
}

std::vector<std::string> captionsUtf8(const CurrentWages& wages) {
    std::vector<std::string> out;
    for (const auto& caption : currentWageResultCaptions(wages))
        out.push_back(gbk::toUtf8(caption));
    return out;
}

TEST(CurrentWages, WorkedExamples) {
    const auto opening = calculateCurrentWages(
        currentInputs(openingPayTexts()), examples::kCurrentYear, examples::kCurrentMonth, {}, {});
    EXPECT_EQ(captionsUtf8(opening), examples::kOpeningFormCurrentCaptions);
    // The pay record's row of the month: no settings, no deductions of theirs.
    EXPECT_EQ(opening.income.gross, 2520'00);
    EXPECT_EQ(opening.income.special, 175'60);
    EXPECT_EQ(opening.income.specialAdditional, 0);
    EXPECT_EQ(opening.income.other, 0);
    const auto& example = examples::kOvertimeAndLeaveCurrent;
    const auto captions = captionsUtf8(calculateCurrentWages(
        currentInputs(formWith(example)), examples::kCurrentYear, examples::kCurrentMonth, {}, {}));
    for (const auto& [index, caption] : example.captions) EXPECT_EQ(captions.at(index), caption);
}

// The same pay in the last month of the 2011 table, the first of the 2018
// one and the first of the cumulative method.
TEST(CurrentWages, TaxInForceInTheMonth) {
    const CurrentWageInputs in = currentInputs(formWith(examples::kTaxed));
    const struct {
        int year, month;
        const char* tax;
        const char* net;
    } cases[] = {
        {2018, 9, "个人所得税代扣:917.41", "实发工资：9944.64"},    // as the seed rules
        {2018, 10, "个人所得税代扣:376.21", "实发工资：10485.84"},  // 586.205 - 210
        {2019, 1, "个人所得税代扣:175.86", "实发工资：10686.19"},
        {2024, 1, "个人所得税代扣:175.86", "实发工资：10686.19"},  // not the low-income rule
    };
    for (const auto& c : cases) {
        const auto captions = captionsUtf8(calculateCurrentWages(in, c.year, c.month, {}, {}));
        EXPECT_EQ(captions[0], c.tax) << c.year << '-' << c.month;
        EXPECT_EQ(captions[12], c.net) << c.year << '-' << c.month;
    }
}

// March of the tax bureau's example through the pay form: the settings'
// deductions and the year's earlier rows reach the tax.
TEST(CurrentWages, TheYearsEarlierMonthsAndTheSettingsCount) {
    PayForm<std::string> form = openingPayTexts();
    form.编辑框正常工作时间工资 = "30000";
    form.编辑框考核岗位津贴 = form.编辑框技能津贴 = form.编辑框特殊岗位津贴 = "0";
    form.编辑框伙食费代扣 = "0";
    form.编辑框社保代扣 = "3000";
    form.编辑框住房公积金代扣 = "1500";
    const MonthIncome month = {30000'00, 4500'00, 2000'00, 0};
    const std::vector<PaidMonth> rows = {{2, month, 625'00}, {1, month, 555'00}};
    const CurrentWages w =
        calculateCurrentWages(currentInputs(form), 2024, 3, {2000'00, 0, false}, rows);
    ASSERT_TRUE(w.computable);
    EXPECT_EQ(w.figures.incomeTax, 1850'00);
    EXPECT_EQ(w.figures.netPay, 23650'00);
    EXPECT_EQ(w.income.gross, month.gross);
    EXPECT_EQ(w.income.special, month.special);
    EXPECT_EQ(w.income.specialAdditional, month.specialAdditional);
    EXPECT_EQ(w.tax.builtFrom, MonthSet("000000000111"));
    // The low-income rule reaches the tax too: 90,000 less 60,000 and the deductions.
    const CurrentWages low =
        calculateCurrentWages(currentInputs(form), 2024, 3, {2000'00, 0, true}, rows);
    EXPECT_EQ(low.tax.tax.taxable, 10500'00);
    EXPECT_EQ(low.figures.incomeTax, 0);
}

TEST(CurrentWages, NotComputableShowsSoEverywhere) {
    for (const char* days : {"0", "0.00"}) {
        PayForm<std::string> form = openingPayTexts();
        form.编辑框正常工作天数 = days;
        const CurrentWages w =
            calculateCurrentWages(currentInputs(form), examples::kCurrentYear, 1, {}, {});
        EXPECT_FALSE(w.computable);
        EXPECT_EQ(w.income.gross, 0);
        EXPECT_EQ(w.tax.tax.taxable, 0);
        EXPECT_EQ(w.tax.tax.tax, 0);
        EXPECT_EQ(w.tax.tax.ratePercent, 0);
        EXPECT_EQ(w.tax.tax.quickDeduction, 0);
        EXPECT_EQ(w.tax.withholding, 0);
        EXPECT_TRUE(w.tax.builtFrom.none());
        for (const auto& caption : currentWageResultCaptions(w)) {
            EXPECT_NE(caption.find(kNotComputableText), std::string::npos) << gbk::toUtf8(caption);
        }
    }
    // A figure beyond the bound: hours of a sum no pay reaches.
    PayForm<std::string> form = openingPayTexts();
    form.编辑框正常工作天数 = "0.01";
    form.编辑框正常工作时间工资 = "999999999999.99";
    EXPECT_FALSE(calculateCurrentWages(currentInputs(form), 2024, 1, {}, {}).computable);
    form.编辑框正常工作天数 = "21.75";
    form.编辑框1加班小时数 = "999999999999.99";
    EXPECT_FALSE(calculateCurrentWages(currentInputs(form), 2024, 1, {}, {}).computable);
}

TEST(CurrentWages, BoxesAreReadAsTwoPlaceDecimals) {
    const struct {
        const char* utf8;
        DecimalError error;
        Hundredths value;
    } cases[] = {
        {"１８２０．５", DecimalError::None, 182050},  // full-width forms fold
        {" 12\t", DecimalError::None, 1200},
        {"", DecimalError::None, 0},
        {"\u3000", DecimalError::None, 0},  // an ideographic space alone is empty
        {"-3", DecimalError::None, -300},
        {"12元", DecimalError::NotANumber, 0},
        {"1,820", DecimalError::NotANumber, 0},
        {"1.005", DecimalError::TooManyDecimals, 0},
    };
    for (const auto& c : cases) {
        Hundredths value = 0;
        EXPECT_EQ(readBoxHundredths(gbk::fromUtf8(c.utf8).text, value), c.error) << c.utf8;
        EXPECT_EQ(value, c.value) << c.utf8;
    }
    // The first box refused, in the table's order, names itself.
    PayForm<std::string> form = openingPayTexts();
    form.编辑框其它加项 = "x";
    form.编辑框病假时数 = "1.255";
    CurrentWageInputs in;
    const auto refused = currentWageInputs(
        form, [](const std::string& t) { return t; }, in);
    ASSERT_TRUE(refused);
    EXPECT_EQ(gbk::toUtf8(refused->key), "病假小时数");
    EXPECT_EQ(refused->error, DecimalError::TooManyDecimals);
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
