// The frame of the calendar subcommands (days, holidays): the option
// --rules seed|current (anywhere among the arguments, at most once; seed when
// absent; no other option), a range FROM [TO], and what the option brings
// with it: under current the announced arrangements, the built-in list with
// the person's own file of the data folder (datafolder/arrangements_file.h). A
// problem with that file is said on the error stream, with its line when a
// line is bad, and the built-in list is used alone; the subcommand goes on.
#pragma once

#include <iosfwd>
#include <string>
#include <string_view>

#include "cli/command.h"
#include "wages/holidays.h"

namespace qinghe::cli {

// A subcommand over a range: `point` reads FROM and TO (TO is FROM when
// absent) as numbers counting days or months, throwing UsageError for a bad
// one; `line` appends the line of each number from FROM to TO under the
// rules. Bad usage (also TO before FROM) prints "qinghe-cli NAME: reason"
// and returns kExitUsage.
struct RangeCommand {
    std::string_view name;
    std::string_view usage;  // "usage: qinghe-cli ..."
    long (*point)(const std::string& arg);
    void (*line)(std::string& lines, long point, const wages::DayRules& rules);
};
int runRangeCommand(const RangeCommand& command, Args args, std::ostream& out, std::ostream& err);

}  // namespace qinghe::cli
