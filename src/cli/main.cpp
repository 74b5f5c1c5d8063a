// qinghe-cli: the calculators and the table files of Qinghe, for scripting and
// inspection. A second front end over the same cores as the window.
#include <iostream>
#include <string>
#include <vector>

#include "cli/command.h"

namespace {

void printHelp(std::ostream& out) {
    out << "用法: qinghe-cli <子命令> [参数...]\n"
           "usage: qinghe-cli SUBCOMMAND [ARG...]\n\n";
    for (const auto& c : qinghe::cli::commands()) {
        out << "  " << c.name << ' ' << c.usage << "\n      " << c.summary << '\n';
    }
}

}  // namespace

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    if (args.empty() || args[0] == "--help" || args[0] == "-h") {
        printHelp(args.empty() ? std::cerr : std::cout);
        return args.empty() ? qinghe::cli::kExitUsage : qinghe::cli::kExitOk;
    }
    for (const auto& c : qinghe::cli::commands()) {
        if (c.name == args[0]) {
            return c.run(qinghe::cli::Args(args).subspan(1), std::cout, std::cerr);
        }
    }
    std::cerr << "qinghe-cli: unknown subcommand '" << args[0] << "' (see qinghe-cli --help)\n";
    return qinghe::cli::kExitUsage;
}
