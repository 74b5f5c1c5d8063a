#include "cli/pay_command.h"

#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "cli/terminal_prompt.h"
#include "cli/usage_error.h"
#include "common/clock.h"
#include "common/gbk.h"
#include "datafolder/data_folder.h"
#include "datafolder/location.h"
#include "datafolder/password.h"
#include "payrecord/pay_record.h"
#include "payrecord/pay_record_text.h"
#include "wages/tax_law.h"

namespace qinghe::cli {
namespace {

constexpr int kMaxYear = 9999;

struct Invocation {
    std::string dir;       // UTF-8
    std::string password;  // GBK
    std::optional<int> year;
};

int yearOf(const std::string& text) {
    const bool digits = !text.empty() && text.size() <= 4 &&
                        text.find_first_not_of("0123456789") == std::string::npos;
    const int year = digits ? std::stoi(text) : 0;
    if (year < 1 || year > kMaxYear) throw UsageError{"--year is 1 to 9999, not '" + text + "'"};
    return year;
}

// The options as journal takes them: each at most once, --dir as
// folderArgument allows; anything else is bad usage.
Invocation parse(Args args) {
    Invocation inv;
    std::optional<std::string> dir;
    std::optional<std::string> password;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        auto value = [&]() -> const std::string& {
            if (++i == args.size()) throw UsageError{a + " needs a value"};
            return args[i];
        };
        auto once = [&](bool given) {
            if (given) throw UsageError{a + " is given twice"};
        };
        if (a == "--dir") {
            once(dir.has_value());
            dir = folderArgument(value());
        } else if (a == "--password") {
            once(password.has_value());
            password = gbkArgument(value(), "the password");
        } else if (a == "--year") {
            once(inv.year.has_value());
            inv.year = yearOf(value());
        } else {
            throw UsageError{(a.starts_with("-") ? "unknown option " : "unexpected argument ") + a};
        }
    }
    inv.dir = dir ? *dir : datafolder::dataFolderPath();
    inv.password = password.value_or("");
    return inv;
}

// The rows of the pay record, a password of "?" asked on the terminal; what
// its open cut back is said on `err` (datafolder/data_folder.h), and a
// failure names the pay record (datafolder/password.h: a damaged one is
// said to be damaged).
std::optional<std::vector<payrecord::PayRow>> readRows(const Invocation& inv, std::string_view sub,
                                                       std::ostream& err) {
    static TerminalPrompt prompt;
    const datafolder::DataFolder folder(inv.dir);
    folder.setPasswordPrompt(&prompt);
    std::vector<payrecord::PayRow> rows;
    journal::StoreError error;
    const bool read = payrecord::readPayRows(folder.journal(inv.password), rows, error);
    for (const std::string& notice : folder.takeDroppedRecordNotices()) {
        err << "qinghe-cli pay " << sub << ": " << gbk::toUtf8(notice) << '\n';
    }
    if (read) return rows;
    const datafolder::TableFailure failure = datafolder::explainFailure(
        folder, datafolder::folderTable(payrecord::kTableName), inv.password, error);
    err << "error " << error.code << ": " << gbk::toUtf8(failure.named) << '\n';
    return std::nullopt;
}

void printFields(std::ostream& out, const std::vector<std::string>& gbkFields) {
    const char* separator = "";
    for (const std::string& field : gbkFields) {
        out << separator << gbk::toUtf8(field);
        separator = "\t";
    }
    out << '\n';
}

int list(const Invocation& inv, std::ostream& out, std::ostream& err) {
    const auto rows = readRows(inv, "list", err);
    if (!rows) return kExitFailed;
    std::vector<std::string> fields;
    for (const payrecord::RowColumn& c : payrecord::rowColumns()) {
        fields.push_back(payrecord::gbkHeading(c));
    }
    printFields(out, fields);
    for (const payrecord::PayRow& row : *rows) {
        if (inv.year && row.year != *inv.year) continue;
        fields.clear();
        for (const payrecord::RowColumn& c : payrecord::rowColumns()) fields.push_back(c.text(row));
        printFields(out, fields);
    }
    return kExitOk;
}

int settle(const Invocation& inv, std::ostream& out, std::ostream& err) {
    const int year = inv.year.value_or(dateOf(systemClock().now()).year);
    const wages::IncomeTaxLaw law = wages::incomeTaxLaw(year, wages::kMonthsPerYear);
    if (law.wages->method != wages::TaxMethod::Cumulative) {
        err << "qinghe-cli pay settle: " << year
            << " has no settlement: wages were taxed month by month before 2019\n";
        return kExitFailed;
    }
    const auto rows = readRows(inv, "settle", err);
    if (!rows) return kExitFailed;
    const std::vector<wages::PaidMonth> months = payrecord::paidMonths(*rows, year);
    const std::optional<wages::Settlement> settlement = wages::settleYear(law, months, 0);
    for (const payrecord::SettlementFigure& f : payrecord::settlementFigures(*settlement)) {
        printFields(out, {f.label, f.value});
    }
    return kExitOk;
}

}  // namespace

int runPay(Args args, std::ostream& out, std::ostream& err) {
    if (args.empty()) {
        err << "usage: qinghe-cli pay " << kPayUsage << '\n';
        return kExitUsage;
    }
    const std::string& sub = args[0];
    try {
        const Invocation inv = parse(args.subspan(1));
        if (sub == "list") return list(inv, out, err);
        if (sub == "settle") return settle(inv, out, err);
        err << "qinghe-cli pay: unknown operation '" << sub << "'\n";
    } catch (const UsageError& e) {
        err << "qinghe-cli pay " << sub << ": " << e.message << '\n';
    }
    return kExitUsage;
}

}  // namespace qinghe::cli
