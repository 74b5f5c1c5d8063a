// The option --rules seed|current of the calendar subcommands (days,
// holidays), and what it brings with it: under current the announced
// arrangements, the built-in list with the person's own file of the data
// folder (journal/arrangements_file.h). A problem with that file is said on
// the error stream, with its line when a line is bad, and the built-in list
// is used alone; the subcommand goes on.
#pragma once

#include <iosfwd>
#include <string>
#include <string_view>
#include <vector>

#include "cli/command.h"
#include "wages/arrangements.h"
#include "wages/rules.h"

namespace qinghe::cli {

struct RulesArgs {
    wages::Rules rules = wages::Rules::Seed;  // seed when --rules is not given
    std::vector<std::string> positional;      // the other arguments, in order
};

// Takes --rules WORD (anywhere among the arguments, at most once) out of
// `args`. Throws UsageError for a missing or unknown word, a second --rules
// or any other option.
RulesArgs takeRulesOption(Args args);

// The announced arrangements under `rules` (an empty list under seed, which
// does not consult them). `command` names the subcommand in messages.
wages::Arrangements announcedArrangements(wages::Rules rules, std::string_view command,
                                          std::ostream& err);

}  // namespace qinghe::cli
