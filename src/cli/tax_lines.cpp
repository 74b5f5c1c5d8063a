#include "cli/tax_lines.h"

#include <array>
#include <utility>

#include "common/gbk.h"

namespace qinghe::cli {
namespace {

namespace w = qinghe::wages;

constexpr std::size_t kMonthFields = 5;  // a sixth, the bonus, may follow
constexpr std::size_t kEmployerFields = 2;
constexpr std::size_t kMaxMonthDigits = 2;
constexpr std::string_view kEmployer = "employer";

// The amounts of a month line after the month, in their order and by name.
constexpr std::array<std::pair<const char*, w::Fen w::MonthIncome::*>, kMonthFields - 1> kAmounts =
    {{
        {"gross", &w::MonthIncome::gross},
        {"special", &w::MonthIncome::special},
        {"special additional", &w::MonthIncome::specialAdditional},
        {"other", &w::MonthIncome::other},
    }};

std::vector<std::string_view> splitTabs(std::string_view line) {
    std::vector<std::string_view> fields;
    for (std::size_t start = 0;;) {
        const auto tab = line.find('\t', start);
        fields.push_back(line.substr(start, tab - start));
        if (tab == std::string_view::npos) return fields;
        start = tab + 1;
    }
}

int monthOf(int number, std::string_view text) {
    const bool digits = !text.empty() && text.size() <= kMaxMonthDigits &&
                        text.find_first_not_of("0123456789") == std::string_view::npos;
    const int month = digits ? std::stoi(std::string(text)) : 0;
    if (month < 1 || month > w::kMonthsPerYear) {
        throw BadLine{number, "the month '" + std::string(text) + "' is not 1 to 12"};
    }
    return month;
}

w::Fen amountOf(int number, std::string_view text, const char* name) {
    w::Fen value = 0;
    const w::DecimalError error = w::parseHundredths(text, w::SignRule::NonNegative, value);
    if (error == w::DecimalError::None) return value;
    throw BadLine{number, std::string("the ") + name + " '" + std::string(text) + "' " +
                              amountProblem(error)};
}

}  // namespace

const char* amountProblem(w::DecimalError error) {
    switch (error) {
        case w::DecimalError::None:
            break;
        case w::DecimalError::NotANumber:
            return "is not an amount";
        case w::DecimalError::TooManyDecimals:
            return "has more than two decimals";
        case w::DecimalError::Negative:
            return "is negative";
        case w::DecimalError::TooLarge:
            return "is too large";
    }
    return "is an amount";
}

TaxLineReader::TaxLineReader(const TaxOptions& options) : options_(options) {
    input_.employerLines.emplace_back();
}

void TaxLineReader::read(int number, std::string_view line) {
    const auto fields = splitTabs(line);
    if (fields[0] != kEmployer) {
        readMonth(number, fields);
    } else if (fields.size() != kEmployerFields) {
        throw BadLine{number, "expected employer<TAB>NAME, found " + std::to_string(fields.size()) +
                                  " TAB-separated fields"};
    } else {
        readEmployer(number, line, fields[1]);
    }
}

void TaxLineReader::readEmployer(int number, std::string_view line, std::string_view name) {
    if (name.empty()) throw BadLine{number, "the employer has no name"};
    if (!gbk::fromUtf8(name).ok) {
        throw BadLine{number, "the employer's name '" + std::string(name) +
                                  "' has a character without a GBK form"};
    }
    if (lastMonth_ == 0 && employerLine_ != 0) {
        throw BadLine{employerLine_, "no month line follows the employer"};
    }
    // An employer line before any month line names the first segment.
    if (lastMonth_ != 0) {
        input_.employerLines.emplace_back();
        lastMonth_ = 0;
    }
    input_.employerLines.back() = line;
    employerLine_ = number;
}

void TaxLineReader::readMonth(int number, const std::vector<std::string_view>& fields) {
    if (fields.size() != kMonthFields && fields.size() != kMonthFields + 1) {
        throw BadLine{number, "expected " + std::to_string(kMonthFields) + " or " +
                                  std::to_string(kMonthFields + 1) +
                                  " TAB-separated fields, found " + std::to_string(fields.size())};
    }
    if (input_.rows.size() == w::kMaxYearRows) {
        throw BadLine{number,
                      "a year holds at most " + std::to_string(w::kMaxYearRows) + " month lines"};
    }
    w::PaidMonth row;
    row.month = monthOf(number, fields[0]);
    if (row.month <= lastMonth_) {
        throw BadLine{number, "month " + std::to_string(row.month) + " does not come after month " +
                                  std::to_string(lastMonth_)};
    }
    const bool firstOfYear = input_.rows.empty();
    if (firstOfYear && options_.hiredMonth > row.month) {
        throw BadLine{number, "month " + std::to_string(row.month) +
                                  " comes before the month of hire, " +
                                  std::to_string(options_.hiredMonth) + " (--hired)"};
    }
    for (std::size_t i = 0; i < kAmounts.size(); ++i) {
        row.income.*kAmounts[i].second = amountOf(number, fields[i + 1], kAmounts[i].first);
    }
    if (fields.size() > kMonthFields) row.bonus = amountOf(number, fields[kMonthFields], "bonus");
    if (row.bonus > 0 && options_.bonus == w::BonusTaxing::Separate) {
        if (bonusLine_ != 0) {
            throw BadLine{number, "a second bonus (the first is on line " +
                                      std::to_string(bonusLine_) +
                                      "): one bonus a year is taxed on its own; --bonus merged "
                                      "merges them all"};
        }
        bonusLine_ = number;
    }
    row.bonusTaxing = options_.bonus;
    row.employer = static_cast<int>(input_.employerLines.size()) - 1;
    input_.rows.push_back(row);
    lastMonth_ = row.month;
}

TaxInput TaxLineReader::finish() {
    if (lastMonth_ == 0 && employerLine_ != 0) {
        throw BadLine{employerLine_, "no month line follows the employer"};
    }
    return std::move(input_);
}

}  // namespace qinghe::cli
