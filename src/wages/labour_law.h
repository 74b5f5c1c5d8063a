// The labour law's floors and caps on pay and hours, as data: each rule with
// the month it took effect and its source. A check of a month before its rule
// took effect, or without the figure it needs, finds nothing (inForce false)
// and changes nothing. Checks warn or raise a figure; none refuses one: the
// journal records what happened.
//
//   rule                                      in force from   source
//   sick pay at least 80 % of the minimum     1995-08         劳部发〔1995〕309号 第59条
//   wage's pay for the sick hours
//   overtime at most 36 hours a month and     1995-01         劳动法 第41条
//   3 hours a working day
//   pay for the normal hours at least the     2004-03         最低工资规定 第12条
//   minimum wage: the overtime base and the                   (劳动和社会保障部令第21号);
//   hourly rate not below the minimum wage's                  many cities' rules on pay
//                                                             say it of the overtime base
//
// An hour's share of a month's pay counts the month's paid days (月计薪天数):
// 21.75 from 2008-01 (劳社部发〔2008〕3号), 20.92 from 2000-03
// (劳社部发〔2000〕8号); the program knows no older figure, so 20.92 holds for
// every month before 2008. The minimum wage's hourly rate is the minimum wage
// / paid days / 8, rounded once, half up, to the fen; its pay for some hours
// is the minimum wage / paid days / 8 x hours, rounded once.
//
// Amounts are fen, hours and days Hundredths; every amount and count taken in
// is first brought within ±kMaxHundredths. Pure and total.
#pragma once

#include <optional>
#include <span>
#include <vector>

#include "wages/money.h"

namespace qinghe::wages {

// The month's paid days in force in `month` (1..12) of `year`: 2175 or 2092.
Hundredths monthPayDays(int year, int month);

// The hourly rate as the current rules find it: base sum / working days / 8,
// the exact quotient rounded half away from zero to the fen. Nothing when the
// working days are 0 or the rate would pass kMaxHundredths.
std::optional<Fen> hourlyRate(Fen baseSum, Hundredths workingDays);

struct OvertimeBaseCheck {
    bool inForce = false;  // the rule holds in the month and the minimum wage is known
    Fen hourlyFloor = 0;   // the minimum wage's hourly rate
    Fen base = 0;          // the base sum, at least the minimum wage
    bool baseRaised = false;
    std::optional<Fen> hourly;  // hourlyRate of `base`, at least hourlyFloor; nothing: 0 days
    bool hourlyRaised = false;  // the hourly rate of `base` was below hourlyFloor
};

// The overtime base and the hourly rate of `baseSum` at `workingDays` (the
// person's, as the form holds them) in `month` of `year`. Out of force: the
// base sum and its hourly rate as they are.
OvertimeBaseCheck checkOvertimeBase(int year, int month, std::optional<Fen> minimumWage,
                                    Fen baseSum, Hundredths workingDays);

struct SickPayCheck {
    bool inForce = false;  // the rule holds in the month and the minimum wage is known
    Fen floor = 0;         // 80 % of the minimum wage's pay for the sick hours
    Fen paid = 0;          // the hours' pay at the hourly rate less the deduction
    Fen deduction = 0;     // the deduction, reduced so that `paid` reaches the floor
    bool reduced = false;  // the floor reduced it
};

// The sick leave of `sickHours` at `hourly` (the hourly rate in use), from
// which the sick-pay ratio deducts `deduction`, in `month` of `year`. Where
// the ratio pays less than the floor the deduction is reduced, to 0 at most.
// No hours (or fewer than none): nothing changes.
SickPayCheck checkSickPay(int year, int month, std::optional<Fen> minimumWage, Hundredths sickHours,
                          Fen hourly, Fen deduction);

// The G1 overtime recorded for a working day (a day of the month); several
// records of one day add up.
struct DayOvertime {
    int day = 0;
    Hundredths hours = 0;
};

struct OvertimeCapCheck {
    bool inForce = false;
    Hundredths monthCap = 0;            // 36 hours
    Hundredths dayCap = 0;              // 3 hours
    bool monthOver = false;             // the month's overtime passes monthCap
    std::vector<DayOvertime> daysOver;  // working days past dayCap, by day, hours added up
};

// The month's overtime (G1 + G2 + G3 hours) and each working day's G1 hours
// against the caps in force in `month` of `year`.
OvertimeCapCheck checkOvertimeCap(int year, int month, Hundredths monthHours,
                                  std::span<const DayOvertime> workingDaysG1);

}  // namespace qinghe::wages
