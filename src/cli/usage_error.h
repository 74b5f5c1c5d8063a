// Bad usage of a subcommand: thrown by argument parsing, caught by the
// subcommand's frame, which prints the message and exits with kExitUsage.
#pragma once

#include <string>

namespace qinghe::cli {

struct UsageError {
    std::string message;  // English, for the terminal
};

// The folder that --dir names (journal, pay). The record store takes "\" in a
// path for a separator, so a folder whose name holds one would put the
// tables elsewhere: it is a UsageError, as is the empty name.
std::string folderArgument(const std::string& dir);

// A UTF-8 argument as GBK. An argument with a character that has no GBK form
// is a UsageError naming `what` ("the file name") and the character.
std::string gbkArgument(const std::string& utf8, const char* what);

}  // namespace qinghe::cli
