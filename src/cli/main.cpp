// qinghe-cli: the calculators and the table files of Qinghe, for scripting and
// inspection. A second front end over the same cores as the window; all of it
// is the qinghe_cli library, which the suites link too.
#include <iostream>
#include <string>
#include <vector>

#include "cli/command.h"

int main(int argc, char** argv) {
    const std::vector<std::string> args(argv + 1, argv + argc);
    return qinghe::cli::runCli(args, std::cout, std::cerr);
}
