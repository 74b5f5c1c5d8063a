#include "cli/range_command.h"

#include <ostream>
#include <vector>

#include "cli/usage_error.h"
#include "common/gbk.h"
#include "datafolder/arrangements_file.h"
#include "datafolder/location.h"
#include "recordstore/errors.h"

namespace qinghe::cli {
namespace {

using Problem = datafolder::ArrangementsProblem;

std::string problemText(const Problem& p) {
    switch (p.kind) {
        case Problem::Kind::BadLine:
            return p.path + " line " + std::to_string(p.badLine.line) + ": " +
                   datafolder::faultWords(p.badLine.fault).english;
        case Problem::Kind::TooLarge:
            return p.path + " is larger than 1 MiB";
        case Problem::Kind::Unreadable:
            break;
    }
    return p.path + " cannot be read: " + gbk::toUtf8(recordstore::fileErrorMessage(-p.error));
}

struct RulesArgs {
    wages::Rules rules = wages::Rules::Seed;
    std::vector<std::string> positional;  // the other arguments, in order
};

RulesArgs takeRulesOption(Args args) {
    RulesArgs taken;
    bool given = false;
    bool options = true;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (options && a == "--") {
            options = false;
            continue;
        }
        if (!options || a != "--rules") {
            if (options && a.starts_with("--")) throw UsageError{"unknown option " + a};
            taken.positional.push_back(a);
            continue;
        }
        if (given) throw UsageError{"--rules is given twice"};
        if (++i == args.size()) throw UsageError{"--rules needs a value: seed or current"};
        const auto rules = wages::rulesFromWord(args[i]);
        if (!rules) throw UsageError{"--rules is seed or current, not '" + args[i] + "'"};
        taken.rules = *rules;
        given = true;
    }
    return taken;
}

wages::Arrangements announcedArrangements(wages::Rules rules, std::string_view command,
                                          std::ostream& err) {
    if (rules == wages::Rules::Seed) return {};
    datafolder::LoadedArrangements loaded =
        datafolder::loadArrangements(datafolder::DataFolder(datafolder::dataFolderPath()));
    if (loaded.problem) {
        err << "qinghe-cli " << command << ": " << problemText(*loaded.problem)
            << "; the file is ignored\n";
    }
    return std::move(loaded.list);
}

}  // namespace

int runRangeCommand(const RangeCommand& command, Args args, std::ostream& out, std::ostream& err) {
    try {
        const RulesArgs taken = takeRulesOption(args);
        const auto& range = taken.positional;
        if (range.empty() || range.size() > 2) throw UsageError{std::string(command.usage)};
        const long first = command.point(range[0]);
        const long last = range.size() == 2 ? command.point(range[1]) : first;
        if (last < first) throw UsageError{range[1] + " is before " + range[0]};

        const wages::Arrangements announced = announcedArrangements(taken.rules, command.name, err);
        const wages::DayRules rules{taken.rules, &announced};
        std::string lines;
        for (long p = first; p <= last; ++p) command.line(lines, p, rules);
        out << lines;
        return out.good() ? kExitOk : kExitFailed;
    } catch (const UsageError& e) {
        err << "qinghe-cli " << command.name << ": " << e.message << '\n';
        return kExitUsage;
    }
}

}  // namespace qinghe::cli
