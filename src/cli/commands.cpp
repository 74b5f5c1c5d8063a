#include <algorithm>
#include <ostream>

#include "cli/command.h"
#include "cli/contributions_command.h"
#include "cli/days_command.h"
#include "cli/holidays_command.h"
#include "cli/journal_command.h"
#include "cli/lunar_command.h"
#include "cli/pay_command.h"
#include "cli/table_command.h"
#include "cli/tax_command.h"
#include "cli/wage_command.h"

namespace qinghe::cli {
namespace {

int runVersion(Args args, std::ostream& out, std::ostream& err) {
    if (!args.empty()) {
        err << "qinghe-cli version: takes no arguments\n";
        return kExitUsage;
    }
    out << "qinghe-cli " QINGHE_VERSION "\n";
    return kExitOk;
}

constexpr Command kCommands[] = {
    {"version", "", "程序版本 / print the program's version", runVersion},
    {"wage", "[KEY=VALUE ...]",
     "工资计算：打印 20 项结果 / the wage calculation: prints the 20 result captions", runWage},
    {"tax",
     "[--low-income] [--first-wages] [--hired M] [--bonus separate|merged] [--medical AMOUNT] "
     "[FILE|-]",
     "累计预扣个税与年度汇算 / a year's income tax withheld cumulatively, and its settlement",
     runTax},
    {"contributions",
     "--base B [--fund-base F] [--rates P,M,U,H] [--fixed A] [--fund-rounding fen|yuan] "
     "[--month YYYY-MM] [--dir DIR]",
     "社保和公积金个人缴费 / the employee's social insurance and housing fund from the bases",
     runContributions},
    {"lunar", "FROM [TO]", "农历、节气 / the lunar date and solar term of each day, FROM to TO",
     runLunar},
    {"holidays", "[--rules seed|current] FROM_MONTH [TO_MONTH]",
     "法定节假日与加班上限 / each month's statutory holidays and overtime hour limits",
     runHolidays},
    {"days", "[--rules seed|current] FROM [TO]",
     "每天的类别与预设 / the kind of each day, FROM to TO, and the preset the window gives it",
     runDays},
    {"table", kTableUsage, "数据表 / create, inspect and change a table file", runTable},
    {"journal", kJournalUsage,
     "加班记录 / record days (KIND: G1 G2 G3 事假 病假 旷工), sort by date, total a month, "
     "show the grid, export the journal",
     runJournal},
    {"pay", kPayUsage, "工资记录与年度汇算 / the pay record: list its months, settle a year",
     runPay},
};

void printHelp(std::ostream& out) {
    out << "用法: qinghe-cli <子命令> [参数...]\n"
           "usage: qinghe-cli SUBCOMMAND [ARG...]\n\n";
    for (const Command& c : kCommands) {
        out << "  " << c.name << ' ' << c.usage << "\n      " << c.summary << '\n';
    }
}

// Whether `args` ask for help: "--help" or "-h" before any "--".
bool asksForHelp(Args args) {
    const auto end = std::find(args.begin(), args.end(), "--");
    return std::any_of(args.begin(), end,
                       [](const std::string& a) { return a == "--help" || a == "-h"; });
}

// A command's result once its output is on its way: a write to `out` that
// failed (a full disk, a file-size limit) turns success into failure.
int afterFlushing(int status, std::ostream& out, std::ostream& err) {
    out.flush();
    if (out.good() || status != kExitOk) return status;
    err << "qinghe-cli: 写入标准输出失败，输出不完整\n";
    return kExitFailed;
}

int runOne(Args args, std::ostream& out, std::ostream& err) {
    if (args.empty() || args[0] == "--help" || args[0] == "-h") {
        printHelp(args.empty() ? err : out);
        return args.empty() ? kExitUsage : kExitOk;
    }
    for (const Command& c : kCommands) {
        if (c.name != args[0]) continue;
        if (asksForHelp(args.subspan(1))) {
            out << "usage: qinghe-cli " << c.name << ' ' << c.usage << "\n  " << c.summary << '\n';
            return kExitOk;
        }
        return c.run(args.subspan(1), out, err);
    }
    err << "qinghe-cli: unknown subcommand '" << args[0] << "' (see qinghe-cli --help)\n";
    return kExitUsage;
}

}  // namespace

std::span<const Command> commands() {
    return kCommands;
}

int runCli(Args args, std::ostream& out, std::ostream& err) {
    return afterFlushing(runOne(args, out, err), out, err);
}

}  // namespace qinghe::cli
