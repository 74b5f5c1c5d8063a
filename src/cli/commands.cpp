#include <ostream>

#include "cli/command.h"
#include "cli/table_command.h"
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
    {"table", kTableUsage, "数据表 / create, inspect and change a table file", runTable},
    {"wage", "[KEY=VALUE ...]",
     "工资计算：打印 20 项结果 / the wage calculation: prints the 20 result captions", runWage},
};

}  // namespace

std::span<const Command> commands() {
    return kCommands;
}

}  // namespace qinghe::cli
