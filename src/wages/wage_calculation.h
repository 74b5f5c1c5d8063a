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

// The pay of an overtime hour of each class, in percent of the hourly rate.
inline constexpr int kG1Percent = 150;  // working days
inline constexpr int kG2Percent = 200;  // rest days
inline constexpr int kG3Percent = 300;  // statutory holidays
// A normal working day, and the long day whose last two hours are G1 overtime.
inline constexpr int kDayHours = 8;
inline constexpr int kLongDayTotalHours = 10;

// The 21 inputs of the pay form. `Number` is double for the seed rules
// (yuan, hours, days and the ratio as plain numbers) and Hundredths for the
// current rules (current_wages.h: each of them times 100, money in fen).
template <class Number>
struct PayInputs {
    // The base pay sum is exactly these four.
    Number basePay{};        // normal working time, per month
    Number postAllowance{};  // assessed post allowance
    Number positionAllowance{};
    Number regionalAllowance{};

    Number workingDays{};  // normal working days per month; divides the hourly rate

    Number g1Hours{};  // overtime on working days, paid at 1.5 x
    Number g2Hours{};  // overtime on rest days, 2 x
    Number g3Hours{};  // overtime on statutory holidays, 3 x

    Number personalLeaveHours{};
    Number sickLeaveHours{};
    // The share of sick leave that is paid (e.g. 0.7). The seed rules
    // multiply the sick-leave deduction by it as entered; the current rules
    // deduct the unpaid share, 1 - ratio.
    Number sickPayRatio{};
    Number absenceHours{};

    // Enter gross pay (and so tax), not the hourly rate.
    Number nightShiftAllowance{};
    Number specialPostAllowance{};
    Number skillAllowance{};

    // Withheld before tax: subtracted from taxable income and from net pay.
    Number housingFund{};
    Number socialInsurance{};

    // Enter net pay only.
    Number meals{};
    Number lodging{};
    Number otherDeductions{};
    Number otherAdditions{};  // neither gross pay nor taxed
};

using WageInputs = PayInputs<double>;

// The 20 results, in the units of PayInputs<Number>. Under the seed rules
// only the hourly rate, the three rate figures and the tax are rounded (to
// the fen); every other value is shown unrounded.
template <class Number>
struct PayResults {
    Number incomeTax{};  // rounded to 2 places
    Number g1Pay{};
    Number g2Pay{};
    Number g3Pay{};
    Number overtimeTotal{};
    Number personalLeaveDeduction{};
    Number sickLeaveDeduction{};
    Number absenceDeduction{};
    Number hourlyRate{};  // rounded to 2 places
    Number day8Pay{};     // hourly rate x 8
    Number day10Pay{};    // 8 normal hours and 2 at the G1 rate
    Number grossPay{};
    Number netPay{};
    Number g1RateShown{};  // G1 rate rounded to 2 places (the pays use it unrounded)
    Number g2RateShown{};
    Number g3RateShown{};
    Number restDay8Pay{};  // G2 rate x 8
    Number restDay10Pay{};
    Number holiday8Pay{};  // G3 rate x 8
    Number holiday10Pay{};
};

using WageResults = PayResults<double>;

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

// One result label: its fixed caption prefix (GBK: "个人所得税代扣:",
// "G1工资：", ...) and the value it shows.
template <class Number>
struct ResultLine {
    std::string prefix;
    Number PayResults<Number>::*value;
};

// The result labels in the order they are written: income tax, G1 pay, G2
// pay, G3 pay, overtime total, personal-leave, sick-leave and absence
// deductions, hourly rate, 8-hour and 10-hour day, gross pay, net pay, G1, G2
// and holiday rate, rest-day 8 and 10 hours, holiday 8 and 10 hours. Defined
// for double and for Hundredths (std::int64_t).
template <class Number>
const std::array<ResultLine<Number>, kWageResultCount>& resultLines();

// The caption of every result label, in the order of resultLines: its prefix
// followed by numberToText of the value. GBK text.
std::array<std::string, kWageResultCount> wageResultCaptions(const WageResults& results);

}  // namespace qinghe::wages
