// Runs a qinghe-cli subcommand in-process and captures what it prints.
#pragma once

#include <sstream>
#include <string>
#include <vector>

#include "cli/command.h"

namespace qinghe::cli {

struct Outcome {
    int status;
    std::string out;
    std::string err;
};

inline Outcome runCommand(int (*command)(Args, std::ostream&, std::ostream&),
                          const std::vector<std::string>& args) {
    std::ostringstream out, err;
    int status = command(args, out, err);
    return {status, out.str(), err.str()};
}

}  // namespace qinghe::cli
