#include "cli/journal_command.h"

#include <cerrno>
#include <charconv>
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
#include "datafolder/arrangements_file.h"
#include "datafolder/data_folder.h"
#include "datafolder/location.h"
#include "datafolder/password.h"
#include "journal/day_kinds.h"
#include "journal/journal_export.h"
#include "journal/journal_grid.h"
#include "journal/journal_maintenance.h"
#include "journal/month_totals.h"
#include "journal/months_records.h"
#include "journal/record_day.h"
#include "payrecord/pay_record.h"
#include "pictures/year_chart.h"
#include "platform/file_system.h"
#include "recordstore/errors.h"
#include "wages/rules.h"
#ifdef QINGHE_DRAWS_PICTURES
#include "drawing/picture_file.h"
#endif

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
    std::optional<int> year;
    std::optional<wages::Rules> rules;    // seed when not given
    std::vector<std::string> positional;  // UTF-8
};

std::optional<journal::Field> kindNamed(const std::string& utf8) {
    const std::string name = gbkArgument(utf8, "the kind");
    for (const journal::DayKind<bool>& k : journal::dayKindFacts()) {
        if (journal::fieldSpec(k.field).name == name) return k.field;
    }
    throw UsageError{"--kind is one of G1, G2, G3, 事假, 病假, 旷工, not '" + utf8 + "'"};
}

// A year as written: digits only, no sign, no leading zero.
int yearArgument(const std::string& text) {
    int year = 0;
    const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), year);
    if (ec != std::errc() || text != std::to_string(year) || year < kMinYear || year > kMaxYear)
        throw UsageError{"--year is a year from 100 to 9999, not '" + text + "'"};
    return year;
}

wages::Rules rulesArgument(const std::string& word) {
    const std::optional<wages::Rules> rules = wages::rulesFromWord(word);
    if (!rules) throw UsageError{"--rules is seed or current, not '" + word + "'"};
    return *rules;
}

// --year or --rules of `journal chart`, each at most once.
void chartOption(const std::string& option, const std::string& text, Invocation& inv) {
    const bool year = option == "--year";
    if (year ? inv.year.has_value() : inv.rules.has_value()) {
        throw UsageError{option + " is given twice"};
    }
    if (year) {
        inv.year = yearArgument(text);
    } else {
        inv.rules = rulesArgument(text);
    }
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
        } else if (a == "--output" && (sub == "export" || sub == "chart")) {
            once(inv.output.has_value());
            inv.output = value();
        } else if (sub == "chart" && (a == "--year" || a == "--rules")) {
            chartOption(a, value(), inv);
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

// The data folders named in this process, by path.
std::map<std::string, datafolder::DataFolder>& folders() {
    static std::map<std::string, datafolder::DataFolder> made;
    return made;
}

// The data folder that the invocation names, a password of "?" asked on
// the terminal. One for each folder named in this process: the accesses it
// hands out reach its record store, which lives as long as the process.
const datafolder::DataFolder& folderOf(const Invocation& inv) {
    static TerminalPrompt prompt;
    const auto [at, made] = folders().try_emplace(inv.dir, inv.dir);
    if (made) at->second.setPasswordPrompt(&prompt);
    return at->second;
}

// Says which tables of the folders the subcommand `sub` opened were cut back
// to the records their files hold (datafolder/data_folder.h).
void tellDroppedRecords(std::string_view sub, std::ostream& err) {
    for (const auto& [path, folder] : folders()) {
        for (const std::string& notice : folder.takeDroppedRecordNotices()) {
            err << "qinghe-cli journal " << sub << ": " << gbk::toUtf8(notice) << '\n';
        }
    }
}

journal::JournalAccess accessFor(const Invocation& inv) {
    return folderOf(inv).journal(inv.password);
}

int init(const Invocation& inv, std::ostream& err) {
    expectPositional(inv, 0, "journal init");
    journal::JournalAccess access = accessFor(inv);
    if (access.password == "?") access.password = askNewPassword();
    std::vector<std::string> made;
    if (const auto failure =
            datafolder::createDataFolder(inv.dir, platform::posixFileSystem(), &made)) {
        datafolder::removeMadeFolders(made);
        err << "qinghe-cli journal init: " << *failure << '\n';
        return kExitFailed;
    }
    journal::StoreError error;
    if (journal::createJournal(access, error)) return kExitOk;
    datafolder::removeMadeFolders(made);  // a folder made for a journal that is not there
    return reportFailure(error, err);
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

// "数据库排序": the journal rewritten in date order; nothing is printed.
int sort(const Invocation& inv, std::ostream& err) {
    expectPositional(inv, 0, "journal sort");
    journal::StoreError error;
    return journal::sortByDate(accessFor(inv), error) ? kExitOk : reportFailure(error, err);
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

// The output of the subcommand `sub` into the file `path` as the data
// folder writes a file outside it (datafolder/data_folder.h): into a FIFO, a
// terminal or a device as it is, replacing any other file whole, never one
// of the data folder's own files nor any table file. A failure names the file.
int writeOutput(const datafolder::DataFolder& folder, std::string_view sub, const std::string& path,
                std::string_view content, std::ostream& err) {
    const datafolder::WrittenOutside written = folder.writeOutside(path, content);
    switch (written.refused) {
        case datafolder::OutsideRefusal::OwnFile:
            err << "qinghe-cli journal " << sub << ": " << path
                << " is one of the data folder's own files; nothing written\n";
            return kExitFailed;
        case datafolder::OutsideRefusal::TableFile:
            err << "qinghe-cli journal " << sub << ": " << path
                << " is a table file or a side file of one; nothing written\n";
            return kExitFailed;
        case datafolder::OutsideRefusal::None:
            break;
    }
    if (written.error >= 0) return kExitOk;
    err << "qinghe-cli journal " << sub << ": " << path << ": "
        << gbk::toUtf8(rs::fileErrorMessage(written.error)) << "; nothing written\n";
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
    return writeOutput(folderOf(inv), "export", *inv.output, csv, err);
}

// The year's chart as a picture file, by the extension of --output.
int chart(const Invocation& inv, std::ostream& err) {
    constexpr const char* synopsis =
        "journal chart --year YEAR --output FILE.svg|FILE.png [--rules seed|current]";
    expectPositional(inv, 0, synopsis);
    if (!inv.year || !inv.output) throw UsageError{std::string("usage: ") + synopsis};
#ifdef QINGHE_DRAWS_PICTURES
    const std::optional<drawing::PictureFormat> format = drawing::pictureFormatOf(*inv.output);
    if (!format)
        throw UsageError{"--output names a .svg or a .png file, not '" + *inv.output + "'"};
    const datafolder::DataFolder& folder = folderOf(inv);
    std::vector<journal::JournalRecord> records;
    journal::StoreError error;
    if (!journal::readMonthsRecords(folder.journal(inv.password), *inv.year, 1, 12, records,
                                    error)) {
        return reportFailure(error, err);
    }
    std::vector<payrecord::PayRow> paid;
    if (!payrecord::readPayRows(folder.journal(inv.password), paid, error)) {
        error.message =
            datafolder::explainFailure(folder, datafolder::folderTable(payrecord::kTableName),
                                       inv.password, error)
                .named;
        return reportFailure(error, err);
    }
    const wages::Rules rules = inv.rules.value_or(wages::Rules::Seed);
    std::optional<datafolder::LoadedArrangements> announced;
    if (rules == wages::Rules::Current) {
        announced = datafolder::loadArrangements(folder);
        if (announced->problem) {
            err << "qinghe-cli journal chart: " << datafolder::kArrangementsFileName
                << " is not used (see qinghe-cli days --rules current)\n";
        }
    }
    const pictures::YearChart picture = pictures::buildYearChart(
        *inv.year, records, {rules, announced ? &announced->list : nullptr},
        payrecord::netPayOfYear(paid, *inv.year));
    const std::string bytes = drawing::yearChartPicture(picture, drawing::kChartFileWidth,
                                                        drawing::kChartFileHeight, *format);
    return writeOutput(folder, "chart", *inv.output, bytes, err);
#else
    err << "qinghe-cli journal chart: this qinghe-cli was built without Qt and draws no pictures\n";
    return kExitFailed;
#endif
}

int runOperation(const std::string& sub, const Invocation& inv, std::ostream& out,
                 std::ostream& err) {
    if (sub == "init") return init(inv, err);
    if (sub == "record") return record(inv, err);
    if (sub == "sort") return sort(inv, err);
    if (sub == "totals") return totals(inv, out, err);
    if (sub == "grid") return grid(inv, out, err);
    if (sub == "export") return exportCsv(inv, out, err);
    if (sub == "chart") return chart(inv, err);
    err << "qinghe-cli journal: unknown operation '" << sub << "'\n";
    return kExitUsage;
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
        const int status = runOperation(sub, inv, out, err);
        tellDroppedRecords(sub, err);
        return status;
    } catch (const UsageError& e) {
        err << "qinghe-cli journal " << sub << ": " << e.message << '\n';
    }
    return kExitUsage;
}

}  // namespace qinghe::cli
