#include "cli/tax_command.h"

#include <array>
#include <cerrno>
#include <initializer_list>
#include <istream>
#include <sstream>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "common/gbk.h"
#include "platform/file_system.h"
#include "platform/whole_file.h"
#include "recordstore/errors.h"
#include "wages/money.h"
#include "wages/withholding.h"

namespace qinghe::cli {
namespace {

namespace w = qinghe::wages;

constexpr char kName[] = "qinghe-cli tax: ";
constexpr std::size_t kFields = 5;
constexpr std::size_t kMaxMonthDigits = 2;
constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
// The most an input may hold: a year's months are a few hundred bytes.
constexpr std::size_t kMaxInputBytes = std::size_t{16} << 20;

// The amounts of a line, after the month, in their order and by name.
constexpr std::array<std::pair<const char*, w::Fen w::MonthIncome::*>, kFields - 1> kAmounts = {{
    {"gross", &w::MonthIncome::gross},
    {"special", &w::MonthIncome::special},
    {"special additional", &w::MonthIncome::specialAdditional},
    {"other", &w::MonthIncome::other},
}};

struct BadLine {
    std::string reason;
};

std::vector<std::string_view> splitTabs(std::string_view line) {
    std::vector<std::string_view> fields;
    for (std::size_t start = 0;;) {
        const auto tab = line.find('\t', start);
        fields.push_back(line.substr(start, tab - start));
        if (tab == std::string_view::npos) return fields;
        start = tab + 1;
    }
}

int monthOf(std::string_view text) {
    const bool digits = !text.empty() && text.size() <= kMaxMonthDigits &&
                        text.find_first_not_of("0123456789") == std::string_view::npos;
    const int month = digits ? std::stoi(std::string(text)) : 0;
    if (month < 1 || month > w::kMonthsPerYear) {
        throw BadLine{"the month '" + std::string(text) + "' is not 1 to 12"};
    }
    return month;
}

w::Fen amountOf(std::string_view text, const char* name) {
    w::Fen value = 0;
    const char* why = nullptr;
    switch (w::parseHundredths(text, w::SignRule::NonNegative, value)) {
        case w::DecimalError::None:
            return value;
        case w::DecimalError::NotANumber:
            why = "is not an amount";
            break;
        case w::DecimalError::TooManyDecimals:
            why = "has more than two decimals";
            break;
        case w::DecimalError::Negative:
            why = "is negative";
            break;
        case w::DecimalError::TooLarge:
            why = "is too large";
            break;
    }
    throw BadLine{std::string("the ") + name + " '" + std::string(text) + "' " + why};
}

w::PaidMonth paidMonthOf(std::string_view line, int previousMonth) {
    const auto fields = splitTabs(line);
    if (fields.size() != kFields) {
        throw BadLine{"expected " + std::to_string(kFields) + " TAB-separated fields, found " +
                      std::to_string(fields.size())};
    }
    w::PaidMonth row;
    row.month = monthOf(fields[0]);
    if (row.month <= previousMonth) {
        throw BadLine{"month " + std::to_string(row.month) + " does not come after month " +
                      std::to_string(previousMonth)};
    }
    for (std::size_t i = 0; i < kAmounts.size(); ++i) {
        row.income.*kAmounts[i].second = amountOf(fields[i + 1], kAmounts[i].first);
    }
    return row;
}

void appendFields(std::string& text, std::initializer_list<std::string> fields) {
    const char* separator = "";
    for (const std::string& field : fields) {
        text += separator;
        text += field;
        separator = "\t";
    }
    text += '\n';
}

std::string money(w::Fen fen) {
    return w::formatHundredths(fen);
}

std::string monthLine(int month, const w::Withholding& m) {
    std::string line;
    appendFields(
        line, {std::to_string(month), money(m.total.gross), money(m.allowance),
               money(m.total.special), money(m.total.specialAdditional), money(m.total.other),
               money(m.tax.taxable), std::to_string(m.tax.ratePercent), money(m.tax.quickDeduction),
               money(m.tax.tax), money(m.withheldBefore), money(m.withholding)});
    return line;
}

std::string settlementLine(const w::Settlement& s) {
    std::string line;
    appendFields(line, {"年度", money(s.total.gross), money(s.tax.taxable),
                        std::to_string(s.tax.ratePercent), money(s.tax.tax), money(s.withheld),
                        money(s.balance)});
    return line;
}

// What keeps an input from being read, for the terminal (UTF-8).
std::string readError(int negativeErrno) {
    if (negativeErrno == -EFBIG) {
        return "too large (more than " + std::to_string(kMaxInputBytes >> 20) + " MiB)";
    }
    if (negativeErrno == -EISDIR) return "it is a folder";
    return gbk::toUtf8(recordstore::fileErrorMessage(negativeErrno));
}

int taxLines(std::istream& in, bool lowIncome, std::ostream& out, std::ostream& err) {
    std::vector<w::PaidMonth> rows;
    int lineNumber = 0;
    for (std::string line; std::getline(in, line);) {
        ++lineNumber;
        if (lineNumber == 1 && line.starts_with(kByteOrderMark))
            line.erase(0, kByteOrderMark.size());
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.empty() || line.front() == '#') continue;
        try {
            rows.push_back(paidMonthOf(line, rows.empty() ? 0 : rows.back().month));
        } catch (const BadLine& bad) {
            err << kName << "line " << lineNumber << ": " << bad.reason << '\n';
            return kExitUsage;
        }
    }

    const w::TaxLaw& law = w::newestTaxLaw();
    const std::vector<w::Withholding> months = w::withholdInTurn(law, rows, lowIncome);
    std::string text;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        rows[i].withheld = months[i].withholding;
        text += monthLine(rows[i].month, months[i]);
    }
    if (const auto settlement = w::settleYear(law, rows)) text += settlementLine(*settlement);
    out << text;
    return out.good() ? kExitOk : kExitFailed;
}

}  // namespace

int runTax(Args args, std::ostream& out, std::ostream& err) {
    bool lowIncome = false;
    const std::string* file = nullptr;
    bool options = true;
    for (const std::string& arg : args) {
        if (options && arg == "--") {
            options = false;
        } else if (options && arg == "--low-income") {
            lowIncome = true;
        } else if ((options && arg.starts_with("-") && arg != "-") || file) {
            err << kName << "unexpected argument '" << arg
                << "'\nusage: qinghe-cli tax [--low-income] [FILE|-]\n";
            return kExitUsage;
        } else {
            file = &arg;
        }
    }
    const bool standardInput = !file || *file == "-";
    std::string bytes;
    int r = 0;
    if (standardInput) {
        r = platform::readStandardInput(kMaxInputBytes, bytes);
    } else {
        // A file as it is, or what a FIFO or a device gives (bash's <(...)).
        platform::FileSystem& files = platform::posixFileSystem();
        platform::FileStatus status;
        r = files.status(*file, status) == 0 && status.kind != platform::FileKind::Regular
                ? files.readStream(*file, kMaxInputBytes, bytes)
                : platform::readWhole(files, *file, kMaxInputBytes, bytes);
    }
    if (r < 0) {
        err << kName << "cannot read " << (standardInput ? "the standard input" : *file) << ": "
            << readError(r) << '\n';
        return kExitFailed;
    }
    std::istringstream in(bytes);
    return taxLines(in, lowIncome, out, err);
}

}  // namespace qinghe::cli
