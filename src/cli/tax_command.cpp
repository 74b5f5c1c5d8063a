#include "cli/tax_command.h"

#include <algorithm>
#include <cerrno>
#include <initializer_list>
#include <istream>
#include <sstream>
#include <string>
#include <string_view>
#include <vector>

#include "cli/tax_lines.h"
#include "cli/usage_error.h"
#include "common/gbk.h"
#include "platform/file_system.h"
#include "platform/whole_file.h"
#include "recordstore/errors.h"
#include "wages/money.h"
#include "wages/settlement.h"
#include "wages/withholding.h"

namespace qinghe::cli {
namespace {

namespace w = qinghe::wages;

constexpr char kName[] = "qinghe-cli tax: ";
constexpr char kUsage[] =
    "usage: qinghe-cli tax [--low-income] [--first-wages] [--hired M] [--bonus separate|merged] "
    "[--medical AMOUNT] [FILE|-]\n";
constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
// The most an input may hold: a year's months are a few hundred bytes.
constexpr std::size_t kMaxInputBytes = std::size_t{16} << 20;

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

void appendMonth(std::string& text, int month, const w::Withholding& m) {
    appendFields(
        text, {std::to_string(month), money(m.total.gross), money(m.allowance),
               money(m.total.special), money(m.total.specialAdditional), money(m.total.other),
               money(m.tax.taxable), std::to_string(m.tax.ratePercent), money(m.tax.quickDeduction),
               money(m.tax.tax), money(m.withheldBefore), money(m.withholding)});
    if (m.bonusTax.taxable > 0) {
        appendFields(text, {"奖金", std::to_string(month), money(m.bonusTax.taxable),
                            std::to_string(m.bonusTax.ratePercent),
                            money(m.bonusTax.quickDeduction), money(m.bonusTax.tax)});
    }
}

void appendSettlement(std::string& text, const w::Settlement& s) {
    appendFields(text, {"年度", money(s.total.gross), money(s.tax.taxable),
                        std::to_string(s.tax.ratePercent), money(s.tax.tax), money(s.withheld),
                        money(s.balance)});
    if (s.bonusComparison) {
        appendFields(text, {"奖金比较", money(s.bonusComparison->separate),
                            money(s.bonusComparison->merged)});
    }
    const w::Fen amount = s.verdict == w::Verdict::Refund ? -s.balance : s.balance;
    appendFields(text, {"结论", gbk::toUtf8(w::verdictText(s.verdict)), money(amount)});
}

// What keeps an input from being read, for the terminal (UTF-8).
std::string readError(int negativeErrno) {
    if (negativeErrno == -EFBIG) {
        return "too large (more than " + std::to_string(kMaxInputBytes >> 20) + " MiB)";
    }
    if (negativeErrno == -EISDIR) return "it is a folder";
    return gbk::toUtf8(recordstore::fileErrorMessage(negativeErrno));
}

// The year's lines: each segment's employer line before its first month,
// each month and its bonus taxed on its own, then the settlement.
std::string taxReport(const TaxInput& input, const TaxOptions& options) {
    const w::IncomeTaxLaw law = w::newestIncomeTaxLaw();
    // The options' terms are the first segment's; a later one's are the default.
    std::vector<w::EmployerTerms> terms = {
        {options.hiredMonth, options.firstWages, options.lowIncome}};
    terms.resize(input.employerLines.size());
    std::vector<w::PaidMonth> rows = input.rows;
    const std::vector<w::Withholding> months = w::withholdInTurn(law, rows, terms);
    std::string text;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const auto segment = static_cast<std::size_t>(rows[i].employer);
        const bool opens = i == 0 || rows[i - 1].employer != rows[i].employer;
        if (opens && !input.employerLines[segment].empty()) {
            text += input.employerLines[segment] + '\n';
        }
        rows[i].withheld = months[i].withholding;
        appendMonth(text, rows[i].month, months[i]);
    }
    if (const auto settlement = w::settleYear(law, rows, options.medicalCosts)) {
        appendSettlement(text, *settlement);
    }
    return text;
}

int taxLines(std::istream& in, const TaxOptions& options, std::ostream& out, std::ostream& err) {
    TaxLineReader reader(options);
    TaxInput input;
    int lineNumber = 0;
    try {
        for (std::string line; std::getline(in, line);) {
            ++lineNumber;
            if (lineNumber == 1 && line.starts_with(kByteOrderMark))
                line.erase(0, kByteOrderMark.size());
            if (!line.empty() && line.back() == '\r') line.pop_back();
            if (line.empty() || line.front() == '#') continue;
            reader.read(lineNumber, line);
        }
        input = reader.finish();
    } catch (const BadLine& bad) {
        err << kName << "line " << bad.line << ": " << bad.reason << '\n';
        return kExitUsage;
    }
    if (in.bad()) {
        err << kName << "reading the input failed\n";
        return kExitFailed;
    }
    out << taxReport(input, options);
    return out.good() ? kExitOk : kExitFailed;
}

int monthOption(const std::string& text) {
    const bool digits = !text.empty() && text.size() <= 2 &&
                        text.find_first_not_of("0123456789") == std::string::npos;
    const int month = digits ? std::stoi(text) : 0;
    if (month < 1 || month > w::kMonthsPerYear) {
        throw UsageError{"--hired is a month, 1 to 12, not '" + text + "'"};
    }
    return month;
}

w::BonusTaxing bonusOption(const std::string& text) {
    if (text == "separate") return w::BonusTaxing::Separate;
    if (text == "merged") return w::BonusTaxing::Merged;
    throw UsageError{"--bonus is separate or merged, not '" + text + "'"};
}

w::Fen amountOption(const std::string& text) {
    w::Fen value = 0;
    const w::DecimalError error = w::parseHundredths(text, w::SignRule::NonNegative, value);
    if (error != w::DecimalError::None) {
        throw UsageError{"--medical '" + text + "' " + amountProblem(error)};
    }
    return value;
}

// The options and FILE (null: none). Throws UsageError.
TaxOptions parseArguments(Args args, const std::string*& file) {
    TaxOptions options;
    std::vector<std::string> given;
    bool optionsEnd = false;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        const bool option = !optionsEnd && arg.starts_with("-") && arg != "-";
        if (option && arg == "--") {
            optionsEnd = true;
            continue;
        }
        if (!option) {
            if (file) throw UsageError{"unexpected argument '" + arg + "'"};
            file = &arg;
            continue;
        }
        if (std::find(given.begin(), given.end(), arg) != given.end()) {
            throw UsageError{arg + " is given twice"};
        }
        given.push_back(arg);
        const auto value = [&]() -> const std::string& {
            if (++i == args.size()) throw UsageError{arg + " needs a value"};
            return args[i];
        };
        if (arg == "--low-income") {
            options.lowIncome = true;
        } else if (arg == "--first-wages") {
            options.firstWages = true;
        } else if (arg == "--hired") {
            options.hiredMonth = monthOption(value());
        } else if (arg == "--bonus") {
            options.bonus = bonusOption(value());
        } else if (arg == "--medical") {
            options.medicalCosts = amountOption(value());
        } else {
            throw UsageError{"unexpected argument '" + arg + "'"};
        }
    }
    return options;
}

}  // namespace

int runTax(Args args, std::ostream& out, std::ostream& err) {
    const std::string* file = nullptr;
    TaxOptions options;
    try {
        options = parseArguments(args, file);
    } catch (const UsageError& e) {
        err << kName << e.message << '\n' << kUsage;
        return kExitUsage;
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
    return taxLines(in, options, out, err);
}

}  // namespace qinghe::cli
