// The deductions allowed before tax up to a cap, each its own box, summed
// into 其他扣除 (MonthIncome::other). Exact in fen; pure and total.
//
//   box              cap                               source, in force from
//   个人养老金       12,000 a year (may be paid in     财政部 税务总局公告2022年第34号,
//                    one month)                        2022-01
//   商业健康保险     200 a month, 2,400 a year         财税〔2017〕39号, 2017-07
//   企业年金、职业年金 4 % of the month's wage base    财税〔2013〕103号, 2014-01
//                    (本人缴费工资计税基数)
//
// Before its start a box deducts nothing. What was paid below 0 counts as 0;
// every amount is first brought within ±kMaxHundredths.
#pragma once

#include "wages/money.h"

namespace qinghe::wages {

// What the person paid in the month, fen.
struct CappedPayments {
    Fen privatePension = 0;   // 个人养老金
    Fen healthInsurance = 0;  // 商业健康保险
    Fen annuity = 0;          // 企业年金、职业年金, the person's own part
    Fen annuityBase = 0;      // the month's wage base of the annuity
};

// What the year's earlier months deducted of the boxes with a yearly cap.
struct DeductedBefore {
    Fen privatePension = 0;
    Fen healthInsurance = 0;
};

struct CappedDeduction {
    Fen deduction = 0;        // what comes off, at most what was paid
    bool inForce = false;     // the month is within the box's law
    bool capReached = false;  // in force, and the cap kept the deduction below what was paid
};

struct CappedDeductions {
    CappedDeduction privatePension;
    CappedDeduction healthInsurance;
    CappedDeduction annuity;
    Fen total = 0;  // their sum: the month's 其他扣除
};

// The deductions of `month` (1..12) of `year`.
CappedDeductions cappedDeductions(int year, int month, const CappedPayments& paid,
                                  const DeductedBefore& before);

}  // namespace qinghe::wages
