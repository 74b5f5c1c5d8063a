// The lines that qinghe-cli tax reads (tax_command.h has the format), read
// one at a time into a year's pay-record rows and employers.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "wages/money.h"
#include "wages/withholding.h"

namespace qinghe::cli {

// The options that change how lines are read or taxed.
struct TaxOptions {
    bool lowIncome = false;   // --low-income
    bool firstWages = false;  // --first-wages
    int hiredMonth = 0;       // --hired M; 0: the first segment's first month
    wages::BonusTaxing bonus = wages::BonusTaxing::Separate;  // --bonus
    wages::Fen medicalCosts = 0;                              // --medical
};

// A line that cannot be read: its number and why.
struct BadLine {
    int line = 0;
    std::string reason;
};

// The input read: the rows in their order, each row's `employer` the number
// of its segment (0 the first); each segment's `employer` line as it stood
// (empty for a first segment that has none).
struct TaxInput {
    std::vector<wages::PaidMonth> rows;
    std::vector<std::string> employerLines;
};

class TaxLineReader {
  public:
    explicit TaxLineReader(const TaxOptions& options);

    // Line `number`, neither empty nor a comment, without its line end.
    // Throws BadLine.
    void read(int number, std::string_view line);

    // The input once every line is read. Throws BadLine for an employer line
    // that no month line follows.
    TaxInput finish();

  private:
    void readEmployer(int number, std::string_view line, std::string_view name);
    void readMonth(int number, const std::vector<std::string_view>& fields);

    const TaxOptions& options_;
    TaxInput input_;
    int employerLine_ = 0;  // the number of the line naming the present segment, 0: none
    int lastMonth_ = 0;     // the present segment's last month, 0: none yet
    int bonusLine_ = 0;     // the line of the bonus taxed on its own, 0: none yet
};

// Why `error` makes a text no amount ("is negative"); for one that is.
const char* amountProblem(wages::DecimalError error);

}  // namespace qinghe::cli
