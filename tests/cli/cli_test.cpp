// The frame of qinghe-cli: which subcommand runs, where help goes, the status.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "run_command.h"

namespace qinghe::cli {
namespace {

TEST(Cli, HelpUnknownSubcommandsAndDispatch) {
    struct Case {
        std::vector<std::string> args;
        int status;
        const char* outStart;  // what stdout begins with; "": nothing on stdout
        const char* errStart;
    };
    const Case cases[] = {
        {{}, kExitUsage, "", "用法: qinghe-cli <子命令>"},
        {{"--help"}, kExitOk, "用法: qinghe-cli <子命令>", ""},
        {{"-h", "ignored"}, kExitOk, "用法: qinghe-cli <子命令>", ""},
        {{"frobnicate"}, kExitUsage, "", "qinghe-cli: unknown subcommand 'frobnicate'"},
        {{"version"}, kExitOk, "qinghe-cli ", ""},
        {{"version", "x"}, kExitUsage, "", "qinghe-cli version: takes no arguments"},
        {{"wage", "x"}, kExitUsage, "", "qinghe-cli wage: 'x' is not KEY=VALUE"},
    };
    for (const Case& c : cases) {
        const Outcome r = runCommand(runCli, c.args);
        const std::string what = c.args.empty() ? "(none)" : c.args[0];
        EXPECT_EQ(r.status, c.status) << what;
        EXPECT_TRUE(*c.outStart ? r.out.starts_with(c.outStart) : r.out.empty()) << what << r.out;
        EXPECT_TRUE(*c.errStart ? r.err.starts_with(c.errStart) : r.err.empty()) << what << r.err;
    }
    // The help lists every subcommand.
    const std::string help = runCommand(runCli, {"--help"}).out;
    for (const Command& c : commands()) {
        EXPECT_NE(help.find("  " + std::string(c.name) + ' '), std::string::npos) << c.name;
    }
}

}  // namespace
}  // namespace qinghe::cli
