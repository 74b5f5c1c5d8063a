// The month's pay under the current rules (现行规则): the same 20 results as
// calculateWages, exact to the fen, with the sick-leave deduction of the
// unpaid share and the income tax in force in the month (withholding.h),
// withheld cumulatively from 2019 on the year's earlier paid months.
//
// Inputs are the pay form's boxes read as two-place decimals (Hundredths):
// money in fen, hours and working days in hundredths, the sick-pay ratio in
// percent (0.7 is 70). Every figure is a whole number of fen, each rounded
// once, half away from zero, from the exact value of its formula; nothing
// passes through a double. Pure and total.
#pragma once

#include <array>
#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "wages/money.h"
#include "wages/pay_form.h"
#include "wages/wage_calculation.h"
#include "wages/withholding.h"

namespace qinghe::wages {

using CurrentWageInputs = PayInputs<Hundredths>;

// What the tax takes from the settings, not from the form. Ignored in months
// taxed monthly (before 2019).
struct TaxSettings {
    Fen specialAdditional = 0;  // 专项附加扣除, a month
    Fen other = 0;              // 其他扣除 allowed before tax, a month
    bool lowIncome = false;     // 上年收入不超过6万元: the low-income rule
};

struct CurrentWages {
    // False when the working days are 0 or a figure's magnitude would pass
    // kMaxHundredths; then every figure, the income and the tax are 0 (no
    // month built from) and every caption reads kNotComputableText.
    bool computable = false;
    PayResults<Fen> figures;
    MonthIncome income;  // this month as the tax took it: a pay record row's figures
    Withholding tax;     // how figures.incomeTax was found, and from which months
};

// Computes, in this order:
//  1. base sum = basePay + postAllowance + positionAllowance + regionalAllowance
//  2. hourly rate = base sum / working days / 8: the exact quotient, rounded
//     once (not after the first division)
//  3. G1, G2, G3 rate = hourly rate x 1.5, x 2, x 3; shown rounded
//  4. class pay = class hours x hourly rate x 1.5 (2, 3): the unrounded rate,
//     as the seed rules use it, the product rounded
//  5. overtime total = G1 pay + G2 pay + G3 pay, the rounded pays, so that the
//     figures shown add up
//  6. personal-leave deduction = hours x hourly rate
//  7. sick-leave deduction = hours x hourly rate x (1 - sickPayRatio)
//  8. absence deduction = hours x hourly rate
//  9. gross = overtime + base sum + night + special post + skill
//             - personal leave - sick leave - absence
// 10. tax = this month's withholding by monthWithholding under the law in
//     force in `month` of `year`, on gross, special deductions housingFund +
//     socialInsurance and the settings' deductions, over `yearRows` (the pay
//     record's rows of `year`: only months before `month` count), employed
//     from the first month paid (a month after it without a row still
//     counts its 5,000)
// 11. net = gross - housingFund - socialInsurance - meals - lodging - tax
//           - otherDeductions + otherAdditions
// 12. day figures: hourly x 8; hourly x 8 + hourly x 1.5 x 2; hourly x 2 x 8,
//     x 10; hourly x 3 x 8, x 10 (all whole fen)
CurrentWages calculateCurrentWages(const CurrentWageInputs& in, int year, int month,
                                   const TaxSettings& settings,
                                   std::span<const PaidMonth> yearRows);

// The 20 captions in the order of resultLines: the prefix followed by the
// figure with two decimals ("应发工资：2520.00"), or by kNotComputableText
// when the wages are not computable. GBK text.
std::array<std::string, kWageResultCount> currentWageResultCaptions(const CurrentWages& wages);

// A box's text under the current rules: full-width forms folded, blanks
// around it dropped, then an empty text is 0 and anything else must be a
// two-place decimal (parseHundredths, sign allowed). GBK in.
DecimalError readBoxHundredths(std::string_view gbk, Hundredths& value);

// A box the current rules refuse: its key (GBK, as in payBoxes) and why.
struct RefusedBox {
    std::string key;
    DecimalError error = DecimalError::None;
};

// The current rules' inputs from the boxes, `textOf(box)` giving each text
// as GBK. Nothing when every box reads; else the first box in payBoxes'
// order that does not, and `inputs` is then incomplete.
template <class Box, class TextOf>
std::optional<RefusedBox> currentWageInputs(const PayForm<Box>& form, TextOf textOf,
                                            CurrentWageInputs& inputs) {
    for (const PayBox<Box, Hundredths>& row : payBoxes<Box, Hundredths>()) {
        const DecimalError error = readBoxHundredths(textOf(form.*row.box), inputs.*row.input);
        if (error != DecimalError::None) return RefusedBox{row.key, error};
    }
    return std::nullopt;
}

}  // namespace qinghe::wages
