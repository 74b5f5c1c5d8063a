// qinghe-cli table: the record store from the command line.
//
// FILE is given to the record store as it stands (default extension, relative
// to the current directory). Texts are UTF-8 on the terminal and GBK inside.
// A failure of the record store prints "error CODE: MESSAGE" and exits with
// 1; bad usage exits with 2. A password of "?" is asked on the terminal.
// Every subcommand that changes nothing but might open the table for writing
// (info, dump, sort, copy) takes --read-only: an open for writing repairs a
// table that a crash left behind (README.md lists how), one for reading only
// writes nothing and works on read-only media.
#include "cli/table_command.h"

#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "cli/table_values.h"
#include "cli/terminal_prompt.h"
#include "cli/usage_error.h"
#include "common/gbk.h"
#include "platform/file_system.h"
#include "recordstore/check.h"
#include "recordstore/errors.h"
#include "recordstore/record_store.h"

namespace qinghe::cli {
namespace {

namespace rs = qinghe::recordstore;

int reportCode(int code, std::ostream& err) {
    err << "error " << code << ": " << gbk::toUtf8(rs::errorMessage(code)) << '\n';
    return kExitFailed;
}

int reportFailure(std::ostream& err) {
    return reportCode(rs::lastError(), err);
}

// The arguments after the subcommand: FILE, the options, and the rest.
struct Invocation {
    std::string file;  // GBK
    std::string password;
    bool readOnly = false;
    std::vector<std::string> rest;  // UTF-8
};

Invocation parse(Args args, bool allowReadOnly) {
    Invocation inv;
    bool haveFile = false;
    bool options = true;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (options && a == "--") {
            options = false;
        } else if (options && a == "--password") {
            if (++i == args.size()) throw UsageError{"--password needs a value"};
            inv.password = gbkArgument(args[i], "the password");
        } else if (options && a == "--read-only" && allowReadOnly) {
            inv.readOnly = true;
        } else if (!haveFile) {
            inv.file = gbkArgument(a, "the file name");
            haveFile = true;
        } else {
            inv.rest.push_back(a);
        }
    }
    if (!haveFile) throw UsageError{"FILE is missing"};
    return inv;
}

// The table of one subcommand: opened as the invocation says, and closed
// however the subcommand ends (a result, a failure, a usage error thrown
// after the open), so that the process's registry is empty again.
class SubcommandTable {
  public:
    explicit SubcommandTable(const Invocation& inv) : inv_(inv) {
        static TerminalPrompt prompt;
        rs::registry().setPasswordPrompt(&prompt);
        opened_ = rs::registry().openTable(inv.file, {}, inv.readOnly, 1, inv.password);
    }
    ~SubcommandTable() {
        if (opened_) rs::registry().closeTable();
    }
    SubcommandTable(const SubcommandTable&) = delete;
    SubcommandTable& operator=(const SubcommandTable&) = delete;

    explicit operator bool() const { return opened_; }

    // Closes the table now: true when what was written reached the disk.
    bool close() {
        opened_ = false;
        rs::registry().closeTable();
        return rs::lastError() == 0;
    }

    // Reports the failed open; an open for reading only that an undo log
    // refused says what the log is and what finishes it.
    int failure(std::ostream& err) const {
        const bool logInTheWay = inv_.readOnly && rs::lastError() == rs::error::kOpenFailed &&
                                 rs::hasUndoLog(platform::posixFileSystem(), inv_.file);
        reportFailure(err);
        if (logInTheWay) {
            err << "an interrupted operation left an undo log beside the table; an open without "
                   "--read-only finishes it\n";
        }
        return kExitFailed;
    }

  private:
    const Invocation& inv_;
    bool opened_ = false;
};

// ---- subcommands -------------------------------------------------------------

int create(Args args, std::ostream&, std::ostream& err) {
    if (args.size() < 2) throw UsageError{"table create FILE NAME:TYPE[:SIZE]..."};
    std::string file = gbkArgument(args[0], "the file name");
    std::vector<rs::FieldSpec> fields;
    for (const auto& text : args.subspan(1)) {
        std::size_t first = text.find(':');
        if (first == std::string::npos)
            throw UsageError{"field '" + text + "' is not NAME:TYPE[:SIZE]"};
        std::size_t second = text.find(':', first + 1);
        rs::FieldSpec field;
        field.name = gbkArgument(text.substr(0, first), "the field name");
        field.type = parseInteger<int>(text.substr(
            first + 1, second == std::string::npos ? std::string::npos : second - first - 1));
        if (second != std::string::npos) field.size = parseInteger<int>(text.substr(second + 1));
        fields.push_back(field);
    }
    return rs::registry().createTable(file, fields) ? kExitOk : reportFailure(err);
}

int info(Args args, std::ostream& out, std::ostream& err) {
    Invocation inv = parse(args, true);
    if (!inv.rest.empty()) throw UsageError{"table info takes no values"};
    SubcommandTable opened(inv);
    if (!opened) return opened.failure(err);
    auto table = rs::registry().currentTableInfo();
    if (!table) return reportFailure(err);
    out << "magic\t" << (table->enciphered ? "WCDB" : "WEDB") << '\n'
        << "version\t" << table->version << '\n'
        << "count\t" << table->count << '\n'
        << "next\t" << table->nextNumber << '\n'
        << "recordLength\t" << table->recordLength << '\n'
        << "fields\t" << table->fields.size() << '\n';
    int number = 0;
    for (const auto& f : table->fields) {
        out << "field\t" << ++number << '\t' << gbk::toUtf8(f.name) << '\t'
            << static_cast<int>(f.type) << '\t' << f.offset << '\t' << f.size << '\n';
    }
    return kExitOk;
}

int dump(Args args, std::ostream& out, std::ostream& err) {
    Invocation inv = parse(args, true);
    if (!inv.rest.empty()) throw UsageError{"table dump takes no values"};
    SubcommandTable opened(inv);
    if (!opened) return opened.failure(err);
    auto& store = rs::registry();
    auto table = store.currentTableInfo();
    const int count = table ? store.recordCount() : 0;
    if (rs::lastError() != 0) return reportFailure(err);
    for (int i = 0; i < count; ++i) {
        const std::int32_t number = store.recordNumber();
        // A record numbered 0 was never written: the count claims records
        // that the file does not hold.
        if (rs::lastError() == 0 && number == 0) {
            return reportCode(rs::error::kRecordReadFailed, err);
        }
        std::string line = std::to_string(number);
        for (std::size_t f = 1; f <= table->fields.size() && rs::lastError() == 0; ++f) {
            line += '\t';
            line += formatValue(store.readField(static_cast<int>(f)));
        }
        if (rs::lastError() != 0 || !store.skip()) return reportFailure(err);
        out << line << '\n';
    }
    return kExitOk;
}

int append(Args args, std::ostream&, std::ostream& err) {
    Invocation inv = parse(args, false);
    SubcommandTable opened(inv);
    if (!opened) return opened.failure(err);
    auto& store = rs::registry();
    auto table = store.currentTableInfo();
    if (!table) return reportFailure(err);
    if (inv.rest.size() > table->fields.size()) throw UsageError{"more values than fields"};
    std::vector<std::optional<rs::Value>> values;
    for (std::size_t i = 0; i < inv.rest.size(); ++i) {
        values.emplace_back(parseValue(table->fields[i], inv.rest[i]));
    }
    return store.appendRecord(values) && opened.close() ? kExitOk : reportFailure(err);
}

// Opens FILE and runs one operation on it.
int simple(Args args, std::ostream& err, bool (*operation)(rs::Registry&)) {
    Invocation inv = parse(args, false);
    if (!inv.rest.empty()) throw UsageError{"unexpected argument '" + inv.rest.front() + "'"};
    SubcommandTable opened(inv);
    if (!opened) return opened.failure(err);
    return operation(rs::registry()) && opened.close() ? kExitOk : reportFailure(err);
}

// ---- sort, copy, passwd, check ---------------------------------------------

// table sort FILE NEWFILE KEY[:desc]... and table copy FILE NEWFILE.
int writeNew(Args args, std::ostream& err, bool sorted) {
    Invocation inv = parse(args, true);
    if (inv.rest.empty()) throw UsageError{"NEWFILE is missing"};
    if (sorted && inv.rest.size() < 2) throw UsageError{"at least one KEY is needed"};
    if (!sorted && inv.rest.size() > 1)
        throw UsageError{"unexpected argument '" + inv.rest[1] + "'"};
    std::string target = gbkArgument(inv.rest[0], "NEWFILE");
    std::vector<std::string> keys;
    // Not vector<bool>: the flags are passed as a span.
    auto ascending = std::make_unique<bool[]>(inv.rest.size());
    for (std::size_t i = 1; i < inv.rest.size(); ++i) {
        std::string key = inv.rest[i];
        bool up = true;
        if (std::size_t colon = key.rfind(':'); colon != std::string::npos) {
            std::string order = key.substr(colon + 1);
            if (order != "desc" && order != "asc")
                throw UsageError{"KEY '" + key + "' is not NAME[:desc]"};
            up = order == "asc";
            key.resize(colon);
        }
        ascending[keys.size()] = up;
        keys.push_back(gbkArgument(key, "the key"));
    }
    SubcommandTable opened(inv);
    if (!opened) return opened.failure(err);
    auto& store = rs::registry();
    const bool ok =
        sorted ? store.sortInto(target, keys, std::span<const bool>(ascending.get(), keys.size()))
               : store.copyInto(target);
    return ok ? kExitOk : reportFailure(err);
}

// table passwd FILE NEWPASSWORD [--password OLD].
int passwd(Args args, std::ostream& err) {
    Invocation inv = parse(args, false);
    if (inv.rest.size() != 1)
        throw UsageError{"give exactly one NEWPASSWORD (\"\" removes the password)"};
    std::string password = gbkArgument(inv.rest[0], "the new password");
    SubcommandTable opened(inv);
    if (!opened) return opened.failure(err);
    return rs::registry().setPassword(password) && opened.close() ? kExitOk : reportFailure(err);
}

// table check FILE [--password P]: every problem on its own line.
int check(Args args, std::ostream& out) {
    Invocation inv = parse(args, false);
    if (!inv.rest.empty()) throw UsageError{"unexpected argument '" + inv.rest.front() + "'"};
    rs::CheckReport report = rs::checkTable(platform::posixFileSystem(), inv.file, inv.password);
    for (const auto& p : report.problems) out << "problem: " << p << '\n';
    out << report.records << " records, " << report.chainBlocks << " blocks in values, "
        << report.problems.size() << " problems\n";
    return report.sound() ? kExitOk : kExitFailed;
}

}  // namespace

int runTable(Args args, std::ostream& out, std::ostream& err) {
    if (args.empty()) {
        err << "usage: qinghe-cli table " << kTableUsage << '\n';
        return kExitUsage;
    }
    const std::string& sub = args[0];
    Args rest = args.subspan(1);
    try {
        if (sub == "create") return create(rest, out, err);
        if (sub == "info") return info(rest, out, err);
        if (sub == "dump") return dump(rest, out, err);
        if (sub == "append") return append(rest, out, err);
        if (sub == "delete-last") {
            return simple(rest, err,
                          [](rs::Registry& s) { return s.goLast() && s.deleteCurrent(); });
        }
        if (sub == "pack") return simple(rest, err, [](rs::Registry& s) { return s.pack(); });
        if (sub == "zap") return simple(rest, err, [](rs::Registry& s) { return s.zap(); });
        if (sub == "sort") return writeNew(rest, err, true);
        if (sub == "copy") return writeNew(rest, err, false);
        if (sub == "passwd") return passwd(rest, err);
        if (sub == "check") return check(rest, out);
        err << "qinghe-cli table: unknown operation '" << sub << "'\n";
    } catch (const UsageError& e) {
        err << "qinghe-cli table " << sub << ": " << e.message << '\n';
    }
    return kExitUsage;
}

}  // namespace qinghe::cli
