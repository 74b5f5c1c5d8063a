// qinghe-cli tax [--low-income] [--first-wages] [--hired M]
//                [--bonus separate|merged] [--medical AMOUNT] [FILE|-]:
// a year's wages withheld by the cumulative method of today's law (every
// rule's newest entry in wages/tax_law.h: the bonus may be taxed on its own
// and the exemption holds), employer by employer, and the year's settlement.
//
// Input, from FILE or, for "-" or no FILE, standard input. A month line:
//   month<TAB>gross<TAB>special<TAB>special additional<TAB>other[<TAB>bonus]
// the month 1..12 (decimal digits), strictly increasing within an employer's
// segment; the amounts yuan, at least 0, digits with at most two decimals
// ("30000", "4500.5", "0.05"); the bonus (全年一次性奖金) 0 when absent. A line
//   employer<TAB>NAME
// (NAME not empty, with a GBK form) starts a new employer's segment; the
// first segment needs none, and one before any month line names it. An
// employer line that no month line follows is a bad line, and so is a month
// line past the year's kMaxYearRows-th (wages/withholding.h). Empty lines and
// lines beginning with "#" are skipped; a CR before the line's end and a
// UTF-8 byte-order mark before the first line are dropped.
//
// Options, each at most once: --low-income and --first-wages (the first
// segment only): the allowance is 60,000 from January, or 5,000 x the month;
// --hired M: the first segment's month of hire, 1..12 (by default its first
// month; a month line before it is a bad line); a later segment is hired in
// its first month. --bonus: separate (the default; more than one bonus above
// 0 in the year is a bad line, the second) or merged (every bonus is wages
// of its month). --medical AMOUNT: the person's own medical costs of the
// year, for the serious-illness deduction of the settlement.
//
// Output, UTF-8, fields separated by one TAB, every amount with exactly two
// decimals and a rate as a whole percent. A segment's employer line, as it
// stood, before its first month. One line a month line:
//   month, Σ gross (merged bonuses in), allowance (5,000 x months employed
//   at this employer, 5,000 x month, or 60,000), Σ special, Σ special
//   additional, Σ other, cumulative taxable income, rate, quick deduction,
//   cumulative tax, withheld before this month, this month's withholding
// (a month employed without a line prints none) and, right after it, for a
// bonus taxed on its own:
//   奖金, month, bonus, rate, quick deduction, tax
// Then the settlement over every segment, a bonus taxed on its own left out:
//   年度, Σ gross, annual taxable income (Σ gross - 60,000 - the three
//   deductions - the serious-illness deduction, at least 0), rate, annual
//   tax, Σ withheld, to pay (negative: to be refunded)
// when any bonus is above 0:
//   奖金比较, the year's total tax with a bonus on its own (with several,
//   the one that leaves the least), with every bonus merged
// and last:
//   结论, 应补 | 应退 | 无需补退 | 无需补税（免予办理）, the amount (at least 0)
// A taxable income of 0 is in the first bracket: rate 3, quick deduction 0.00.
//
// A bad line: status 2, "qinghe-cli tax: line N: ..." on err and nothing on
// out (the output is held until the whole input has been read). A bad
// option, one given twice, or a second FILE: status 2, the reason and the
// usage on err. An input that cannot be read -- a FILE or standard input
// that is missing, closed or a folder, one that holds more than 16 MiB
// ("too large") -- is status 1 with the reason, never a settlement of
// nothing.
#pragma once

#include "cli/command.h"

namespace qinghe::cli {

int runTax(Args args, std::ostream& out, std::ostream& err);

}  // namespace qinghe::cli
