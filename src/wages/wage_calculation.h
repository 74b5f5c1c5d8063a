// The month's pay from the pay form: hourly and daily rates, the pay of the
// three overtime classes, the leave and absence deductions, gross pay, income
// tax and net pay.
//
// Money is yuan and time is hours, all IEEE doubles. Each intermediate result
// is rounded to a double in the order documented on calculateWages (the
// whole tree is built without fused multiply-add), because that order decides
// the last digit and therefore which way a value on a half rounds.
//
// The calculation is total: any input gives a result, nothing is clamped
// (deductions may exceed pay; gross and net pay may be negative). A working-
// day count of 0 makes the hourly rate, and everything derived from it,
// non-finite; numberToText shows such a value as kNotComputableText.
#pragma once

#include <array>
#include <cstddef>
#include <string>

namespace qinghe::wages {

// The 21 inputs of the pay form.
struct WageInputs {
    // The base pay sum is exactly these four.
    double basePay = 0.0;        // normal working time, per month
    double postAllowance = 0.0;  // assessed post allowance
    double positionAllowance = 0.0;
    double regionalAllowance = 0.0;

    double workingDays = 0.0;  // normal working days per month; divides the hourly rate

    double g1Hours = 0.0;  // overtime on working days, paid at 1.5 x
    double g2Hours = 0.0;  // overtime on rest days, 2 x
    double g3Hours = 0.0;  // overtime on statutory holidays, 3 x

    double personalLeaveHours = 0.0;
    double sickLeaveHours = 0.0;
    double sickPayRatio = 0.0;  // multiplies the sick-leave deduction as entered (e.g. 0.7)
    double absenceHours = 0.0;

    // Enter gross pay (and so tax), not the hourly rate.
    double nightShiftAllowance = 0.0;
    double specialPostAllowance = 0.0;
    double skillAllowance = 0.0;

    // Withheld before tax: subtracted from taxable income and from net pay.
    double housingFund = 0.0;
    double socialInsurance = 0.0;

    // Enter net pay only.
    double meals = 0.0;
    double lodging = 0.0;
    double otherDeductions = 0.0;
    double otherAdditions = 0.0;  // neither gross pay nor taxed
};

// The 20 results. Only the hourly rate, the three rate figures and the tax
// are rounded (to the fen); every other value is shown unrounded.
struct WageResults {
    double incomeTax = 0.0;  // rounded to 2 places
    double g1Pay = 0.0;
    double g2Pay = 0.0;
    double g3Pay = 0.0;
    double overtimeTotal = 0.0;
    double personalLeaveDeduction = 0.0;
    double sickLeaveDeduction = 0.0;
    double absenceDeduction = 0.0;
    double hourlyRate = 0.0;  // rounded to 2 places
    double day8Pay = 0.0;     // hourly rate x 8
    double day10Pay = 0.0;    // 8 normal hours and 2 at the G1 rate
    double grossPay = 0.0;
    double netPay = 0.0;
    double g1RateShown = 0.0;  // G1 rate rounded to 2 places (the pays use it unrounded)
    double g2RateShown = 0.0;
    double g3RateShown = 0.0;
    double restDay8Pay = 0.0;  // G2 rate x 8
    double restDay10Pay = 0.0;
    double holiday8Pay = 0.0;  // G3 rate x 8
    double holiday10Pay = 0.0;
};

// Computes, in this order, each step a double:
//  1. base sum = ((basePay + postAllowance) + positionAllowance) + regionalAllowance
//  2. hourly rate = roundHalfAway((base sum / workingDays) / 8, 2)
//  3. G1, G2, G3 rate = hourly rate x 1.5, x 2, x 3 (unrounded)
//  4. class pay = class hours x class rate
//  5. overtime total = (G1 pay + G2 pay) + G3 pay
//  6. personal-leave deduction = hours x hourly rate
//  7. sick-leave deduction = (hours x hourly rate) x sickPayRatio
//  8. absence deduction = hours x hourly rate
//  9. gross = ((((overtime + base sum) + night) + special) + skill)
//             - personal leave - sick leave - absence
// 10. tax = roundHalfAway(incomeTax(gross, housingFund + socialInsurance), 2)
// 11. net = gross - housingFund - socialInsurance - meals - lodging - tax
//           - otherDeductions + otherAdditions
// 12. day figures: hourly x 8; hourly x 8 + G1 rate x 2; G2 rate x 8, x 10;
//     G3 rate x 8, x 10
// 13. rate figures: roundHalfAway(G1/G2/G3 rate, 2)
WageResults calculateWages(const WageInputs& in);

inline constexpr std::size_t kWageResultCount = 20;

// The caption of every result label, in the order the labels are written:
// income tax, G1 pay, G2 pay, G3 pay, overtime total, personal-leave, sick-
// leave and absence deductions, hourly rate, 8-hour and 10-hour day, gross
// pay, net pay, G1, G2 and holiday rate, rest-day 8 and 10 hours, holiday 8
// and 10 hours. Each is its fixed prefix ("个人所得税代扣:", "G1工资：", ...)
// followed by numberToText of the value. GBK text.
std::array<std::string, kWageResultCount> wageResultCaptions(const WageResults& results);

}  // namespace qinghe::wages
