// qinghe-cli tax [--low-income] [FILE|-]: a year's wages withheld by the
// cumulative method of today's law (the newest entry of wages/tax_law.h), and
// the year's settlement.
//
// Input, from FILE or, for "-" or no FILE, standard input: one line a paid
// month,
//   month<TAB>gross<TAB>special<TAB>special additional<TAB>other
// the month 1..12 (decimal digits), strictly increasing from line to line;
// the amounts yuan, at least 0, digits with at most two decimals ("30000",
// "4500.5", "0.05"). Empty lines and lines beginning with "#" are skipped; a
// CR before the line's end and a UTF-8 byte-order mark before the first line
// are dropped. --low-income: the person's wages of
// the last year stayed within 60,000 (the allowance is 60,000 from January).
//
// Output, UTF-8, fields separated by one TAB, every amount with exactly two
// decimals and a rate as a whole percent. One line a month:
//   month, Σ gross, allowance (5,000 x paid months, or 60,000), Σ special,
//   Σ special additional, Σ other, cumulative taxable income, rate, quick
//   deduction, cumulative tax, withheld before this month, this month's
//   withholding
// then the settlement:
//   年度, Σ gross, annual taxable income, rate, annual tax, Σ withheld,
//   to pay (negative: to be refunded)
// A taxable income of 0 is in the first bracket: rate 3, quick deduction 0.00.
//
// A bad line: status 2, "qinghe-cli tax: line N: ..." on err and nothing on
// out (the output is held until the whole input has been read). A bad
// option or a second FILE: status 2. An input that cannot be read -- a FILE
// or standard input that is missing, closed or a folder, one that holds more
// than 16 MiB ("too large") -- is status 1 with the reason, never a
// settlement of nothing.
#pragma once

#include "cli/command.h"

namespace qinghe::cli {

int runTax(Args args, std::ostream& out, std::ostream& err);

}  // namespace qinghe::cli
