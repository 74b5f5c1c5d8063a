#include "cli/journal_command.h"

#include <cerrno>
#include <cstdint>
#include <map>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "cli/date_args.h"
#include "cli/table_values.h"
#include "cli/terminal_prompt.h"
#include "cli/usage_error.h"
#include "common/gbk.h"
#include "datafolder/data_folder.h"
#include "datafolder/location.h"
#include "journal/day_kinds.h"
#include "journal/journal_export.h"
#include "journal/journal_grid.h"
#include "journal/journal_maintenance.h"
#include "journal/month_totals.h"
#include "journal/record_day.h"
#include "platform/file_system.h"
#include "platform/whole_file.h"
#include "recordstore/errors.h"

namespace qinghe::cli {
namespace {

namespace rs = qinghe::recordstore;

// The options every subcommand takes, the ones of its own, and the rest.
struct Invocation {
    std::string dir;       // UTF-8
    std::string password;  // GBK
    std::optional<journal::Field> kind;
    bool night = false;
    std::optional<std::string> output;
    std::vector<std::string> positional;  // UTF-8
};

std::optional<journal::Field> kindNamed(const std::string& utf8) {
    const std::string name = gbkArgument(utf8, "the kind");
    for (const journal::DayKind<bool>& k : journal::dayKindFacts()) {
        if (journal::fieldSpec(k.field).name == name) return k.field;
    }
    throw UsageError{"--kind is one of G1, G2, G3, 事假, 病假, 旷工, not '" + utf8 + "'"};
}

// The folder that --dir names. The record store takes "\" in a path for a
// separator, so a folder whose name holds one would put the journal
// elsewhere: it is refused, as is the empty name.
std::string folderArgument(const std::string& dir) {
    if (dir.empty()) throw UsageError{"--dir needs a folder, not the empty name"};
    if (dir.find('\\') != std::string::npos) {
        throw UsageError{"--dir '" + dir +
                         "': a folder whose name holds '\\' cannot hold the journal"};
    }
    return dir;
}

Invocation parse(Args args, std::string_view sub) {
    Invocation inv;
    std::optional<std::string> dir;
    std::optional<std::string> password;
    bool options = true;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        auto value = [&]() -> const std::string& {
            if (++i == args.size()) throw UsageError{a + " needs a value"};
            return args[i];
        };
        // An option given twice is a mistake, never "the last one wins".
        auto once = [&](bool given) {
            if (given) throw UsageError{a + " is given twice"};
        };
        if (!options || !a.starts_with("--")) {
            inv.positional.push_back(a);
        } else if (a == "--") {
            options = false;
        } else if (a == "--dir") {
            once(dir.has_value());
            dir = folderArgument(value());
        } else if (a == "--password") {
            once(password.has_value());
            password = gbkArgument(value(), "the password");
        } else if (a == "--kind" && sub == "record") {
            once(inv.kind.has_value());
            inv.kind = kindNamed(value());
        } else if (a == "--night" && sub == "record") {
            once(inv.night);
            inv.night = true;
        } else if (a == "--output" && sub == "export") {
            once(inv.output.has_value());
            inv.output = value();
        } else {
            throw UsageError{"unknown option " + a};
        }
    }
    inv.dir = dir ? *dir : datafolder::dataFolderPath();
    inv.password = password.value_or("");
    return inv;
}

void expectPositional(const Invocation& inv, std::size_t count, const char* synopsis) {
    if (inv.positional.size() != count) throw UsageError{std::string("usage: ") + synopsis};
}

DateTime dateArgument(const std::string& text) {
    std::string why;
    const std::optional<DateArg> date = parseDateArg(text, false, why);
    if (!date) throw UsageError{why};
    return makeDate(date->date.year, date->date.month, date->date.day);
}

int reportFailure(const journal::StoreError& error, std::ostream& err) {
    err << "error " << error.code << ": " << gbk::toUtf8(error.message) << '\n';
    return kExitFailed;
}

// The data folder that the invocation names, a password of "?" asked on
// the terminal. One for each folder named in this process: the accesses it
// hands out reach its record store, which lives as long as the process.
const datafolder::DataFolder& folderOf(const Invocation& inv) {
    static TerminalPrompt prompt;
    static std::map<std::string, datafolder::DataFolder> folders;
    const auto [at, made] = folders.try_emplace(inv.dir, inv.dir);
    if (made) at->second.setPasswordPrompt(&prompt);
    return at->second;
}

journal::JournalAccess accessFor(const Invocation& inv) {
    return folderOf(inv).journal(inv.password);
}

int init(const Invocation& inv, std::ostream& err) {
    expectPositional(inv, 0, "journal init");
    journal::JournalAccess access = accessFor(inv);
    if (access.password == "?") access.password = askNewPassword();
    if (const auto failure = datafolder::createDataFolder(inv.dir)) {
        err << "qinghe-cli journal init: " << *failure << '\n';
        return kExitFailed;
    }
    journal::StoreError error;
    return journal::createJournal(access, error) ? kExitOk : reportFailure(error, err);
}

int record(const Invocation& inv, std::ostream& err) {
    expectPositional(inv, 2, "journal record YYYY-MM-DD TEXT [--kind KIND] [--night]");
    const journal::DayEntry entry{dateArgument(inv.positional[0]),
                                  gbkArgument(inv.positional[1], "TEXT"), inv.kind, inv.night};
    journal::StoreError error;
    const journal::RecordOutcome outcome = journal::appendDay(accessFor(inv), entry, error);
    switch (outcome) {
        case journal::RecordOutcome::NotWholeHours:
        case journal::RecordOutcome::RemarkTooLong:
            err << "qinghe-cli journal record: "
                << gbk::toUtf8(journal::refusalText(outcome, entry.text)) << '\n';
            return kExitUsage;
        case journal::RecordOutcome::Recorded:
            return kExitOk;
        case journal::RecordOutcome::AlreadyRecorded:
            err << gbk::toUtf8(journal::kAlreadyRecordedText) << '\n';
            return kExitAlreadyRecorded;
        case journal::RecordOutcome::NoKind:
            err << "qinghe-cli journal record: TEXT gives hours and no --kind is given; "
                   "nothing recorded\n";
            return kExitNoKind;
        case journal::RecordOutcome::Failed:
            break;
    }
    return reportFailure(error, err);
}

// The label that "读取数据库" writes after the boxes.
constexpr std::string_view kLastDateLabel = "标签当前统计到的加班日期";

int totals(const Invocation& inv, std::ostream& out, std::ostream& err) {
    expectPositional(inv, 1, "journal totals YYYY-MM-DD");
    const DateTime picked = dateArgument(inv.positional[0]);
    journal::MonthTotals totals;
    journal::StoreError error;
    if (!journal::totalMonth(accessFor(inv), picked, totals, error)) {
        return reportFailure(error, err);
    }
    const journal::MonthTotalsText text = journal::monthTotalsText(totals);
    for (const auto& box : journal::totalsBoxes<std::string>()) {
        out << box.name << '\t' << gbk::toUtf8(text.*box.text) << '\n';
    }
    out << kLastDateLabel << '\t' << gbk::toUtf8(text.lastDate) << '\n';
    return kExitOk;
}

// Every record of the journal, or the reason it cannot be read.
std::optional<journal::JournalRows> readRows(const Invocation& inv, std::ostream& err) {
    journal::JournalRows rows;
    journal::StoreError error;
    if (journal::readJournalRows(accessFor(inv), rows, error)) return rows;
    reportFailure(error, err);
    return std::nullopt;
}

int grid(const Invocation& inv, std::ostream& out, std::ostream& err) {
    expectPositional(inv, 0, "journal grid");
    const std::optional<journal::JournalRows> rows = readRows(inv, err);
    if (!rows) return kExitFailed;
    for (const journal::GridColumn& c : journal::gridColumns()) {
        out << gbk::toUtf8(c.header) << '\t';
    }
    out << '\n';
    for (std::size_t r = 0; r < rows->size(); ++r) {
        for (int c = 0; c < journal::kGridColumnCount; ++c) {
            out << escapeText(journal::gridCellText(*rows, r, c)) << '\t';
        }
        const std::uint16_t lit = journal::gridHighlights(*rows, r);
        const char* separator = "";
        for (int c = 0; c < journal::kGridColumnCount; ++c) {
            if ((lit >> c & 1) != 0) {
                out << separator << c;
                separator = ",";
            }
        }
        out << '\n';
    }
    return kExitOk;
}

// The export into the file `path`: written into a FIFO, a terminal or a
// device as it is, replacing any other file whole (platform/whole_file.h),
// never one of the data folder's own files.
int exportTo(const datafolder::DataFolder& folder, const std::string& path, std::string_view csv,
             std::ostream& err) {
    if (folder.isOwnFile(path)) {
        err << "qinghe-cli journal export: " << path
            << " is one of the data folder's own files; nothing written\n";
        return kExitFailed;
    }
    platform::FileSystem& files = platform::posixFileSystem();
    const std::span<const std::uint8_t> bytes(reinterpret_cast<const std::uint8_t*>(csv.data()),
                                              csv.size());
    platform::FileStatus status;
    const bool stream =
        files.status(path, status) == 0 && status.kind != platform::FileKind::Regular;
    const int r = stream ? files.writeStream(path, bytes)
                         : platform::writeReplacing(files, path, bytes).error;
    if (r >= 0) return kExitOk;
    err << "qinghe-cli journal export: " << path << ": " << gbk::toUtf8(rs::fileErrorMessage(r))
        << "; nothing written\n";
    return kExitFailed;
}

int exportCsv(const Invocation& inv, std::ostream& out, std::ostream& err) {
    expectPositional(inv, 0, "journal export [--output FILE]");
    const std::optional<journal::JournalRows> rows = readRows(inv, err);
    if (!rows) return kExitFailed;
    const std::string csv = journal::journalCsv(*rows);
    if (!inv.output || *inv.output == "-") {
        out << csv;
        return kExitOk;
    }
    return exportTo(folderOf(inv), *inv.output, csv, err);
}

}  // namespace

int runJournal(Args args, std::ostream& out, std::ostream& err) {
    if (args.empty()) {
        err << "usage: qinghe-cli journal " << kJournalUsage << '\n';
        return kExitUsage;
    }
    const std::string& sub = args[0];
    try {
        const Invocation inv = parse(args.subspan(1), sub);
        if (sub == "init") return init(inv, err);
        if (sub == "record") return record(inv, err);
        if (sub == "totals") return totals(inv, out, err);
        if (sub == "grid") return grid(inv, out, err);
        if (sub == "export") return exportCsv(inv, out, err);
        err << "qinghe-cli journal: unknown operation '" << sub << "'\n";
    } catch (const UsageError& e) {
        err << "qinghe-cli journal " << sub << ": " << e.message << '\n';
    }
    return kExitUsage;
}

}  // namespace qinghe::cli
