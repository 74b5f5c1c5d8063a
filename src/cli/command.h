// One subcommand of qinghe-cli.
//
// A subcommand receives its arguments as UTF-8 (as the terminal gives them),
// writes UTF-8 to out and err, and returns the process's exit status:
// 0 success, 1 the operation failed, 2 bad usage.
#pragma once

#include <iosfwd>
#include <span>
#include <string>
#include <string_view>

namespace qinghe::cli {

using Args = std::span<const std::string>;

inline constexpr int kExitOk = 0;
inline constexpr int kExitFailed = 1;
inline constexpr int kExitUsage = 2;

struct Command {
    std::string_view name;
    std::string_view usage;    // the argument synopsis, after the name
    std::string_view summary;  // one line for --help
    int (*run)(Args args, std::ostream& out, std::ostream& err);
};

// Every subcommand, in the order --help lists them.
std::span<const Command> commands();

// qinghe-cli with its arguments (those after the program's name): runs the
// subcommand that the first names, or prints the help (to `out` for --help
// or -h, status 0; to `err` when there are no arguments, status 2). A
// subcommand followed by --help or -h anywhere before "--" prints its own
// usage line and summary instead (status 0). An unknown subcommand is a usage
// error. Whatever ran, `out` is flushed at the end: when anything written to
// it failed, a successful run fails (status 1, with a message on `err`).
int runCli(Args args, std::ostream& out, std::ostream& err);

}  // namespace qinghe::cli
