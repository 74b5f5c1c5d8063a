// qinghe-cli table: the record store from the command line.
//
// FILE is given to the record store as it stands (default extension, relative
// to the current directory). Texts are UTF-8 on the terminal and GBK inside.
// A failure of the record store prints "error CODE: MESSAGE" and exits with
// 1; bad usage exits with 2. A password of "?" is asked on the terminal.
#include "cli/table_command.h"

#include <termios.h>
#include <unistd.h>

#include <charconv>
#include <cinttypes>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <limits>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "common/datetime.h"
#include "common/gbk.h"
#include "recordstore/check.h"
#include "recordstore/errors.h"
#include "recordstore/record_store.h"

namespace qinghe::cli {
namespace {

namespace rs = qinghe::recordstore;
using rs::format::FieldType;

struct UsageError {
    std::string message;
};

std::string toGbk(const std::string& utf8, const char* what) {
    auto c = gbk::fromUtf8(utf8);
    if (!c.ok)
        throw UsageError{std::string(what) + " has a character without a GBK form: " + c.bad};
    return c.text;
}

int reportFailure(std::ostream& err) {
    err << "error " << rs::lastError() << ": " << gbk::toUtf8(rs::lastErrorMessage()) << '\n';
    return kExitFailed;
}

// Reads a password from the terminal without echo.
class TerminalPrompt final : public rs::PasswordPrompt {
  public:
    std::optional<std::string> ask(int attemptsLeft) override {
        std::cerr << gbk::toUtf8(rs::passwordCaption()) << '\n';
        if (attemptsLeft < rs::kPasswordAttempts) {
            std::cerr << gbk::toUtf8(rs::passwordRetryText(attemptsLeft)) << '\n';
        }
        std::cerr << gbk::toUtf8(rs::passwordPromptText()) << std::flush;
        termios saved{};
        bool terminal = ::tcgetattr(STDIN_FILENO, &saved) == 0;
        if (terminal) {
            termios quiet = saved;
            quiet.c_lflag &= ~static_cast<tcflag_t>(ECHO);
            ::tcsetattr(STDIN_FILENO, TCSAFLUSH, &quiet);
        }
        std::string line;
        bool got = static_cast<bool>(std::getline(std::cin, line));
        if (terminal) ::tcsetattr(STDIN_FILENO, TCSAFLUSH, &saved);
        std::cerr << '\n';
        if (!got) return std::nullopt;
        auto c = gbk::fromUtf8(line);
        std::fill(line.begin(), line.end(), ' ');
        if (!c.ok) return std::string();
        return c.text;
    }
};

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
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "--password") {
            if (++i == args.size()) throw UsageError{"--password needs a value"};
            inv.password = toGbk(args[i], "the password");
        } else if (a == "--read-only" && allowReadOnly) {
            inv.readOnly = true;
        } else if (!haveFile) {
            inv.file = toGbk(a, "the file name");
            haveFile = true;
        } else {
            inv.rest.push_back(a);
        }
    }
    if (!haveFile) throw UsageError{"FILE is missing"};
    return inv;
}

bool open(const Invocation& inv) {
    static TerminalPrompt prompt;
    rs::registry().setPasswordPrompt(&prompt);
    return rs::registry().openTable(inv.file, {}, inv.readOnly, 1, inv.password);
}

// ---- values --------------------------------------------------------------

std::string escapeText(const std::string& gbkText) {
    std::string out;
    for (char c : gbk::toUtf8(gbkText)) {
        switch (c) {
            case '\\':
                out += "\\\\";
                break;
            case '\t':
                out += "\\t";
                break;
            case '\n':
                out += "\\n";
                break;
            default:
                out += c;
        }
    }
    return out;
}

std::string unescapeText(const std::string& text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\\' || i + 1 == text.size()) {
            out += text[i];
            continue;
        }
        char next = text[++i];
        out += next == 't' ? '\t' : next == 'n' ? '\n' : next;
    }
    return out;
}

std::string number17(double v) {
    char buffer[40];
    std::snprintf(buffer, sizeof buffer, "%.17g", v);
    return buffer;
}

std::string formatValue(const rs::Value& value) {
    return std::visit(
        [](const auto& v) -> std::string {
            using V = std::decay_t<decltype(v)>;
            if constexpr (std::is_same_v<V, bool>) {
                return v ? "1" : "0";
            } else if constexpr (std::is_same_v<V, float> || std::is_same_v<V, double>) {
                return number17(static_cast<double>(v));
            } else if constexpr (std::is_same_v<V, rs::Timestamp>) {
                return number17(v.days);
            } else if constexpr (std::is_same_v<V, rs::Reference>) {
                return std::to_string(v.address);
            } else if constexpr (std::is_same_v<V, std::string>) {
                return escapeText(v);
            } else if constexpr (std::is_same_v<V, rs::ByteArray>) {
                static constexpr char kHex[] = "0123456789abcdef";
                std::string hex;
                for (auto byte : v) {
                    hex += kHex[byte >> 4];
                    hex += kHex[byte & 0xF];
                }
                return hex;
            } else {
                return std::to_string(v);
            }
        },
        value);
}

template <typename T>
T parseInteger(const std::string& text) {
    T value{};
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || end != text.data() + text.size()) {
        throw UsageError{"'" + text + "' is not a whole number in the field's range"};
    }
    return value;
}

double parseDouble(const std::string& text) {
    char* end = nullptr;
    double v = std::strtod(text.c_str(), &end);
    if (text.empty() || end != text.c_str() + text.size()) {
        throw UsageError{"'" + text + "' is not a number"};
    }
    return v;
}

// YYYY-MM-DD[THH:MM:SS], or a number of days since 1899-12-30.
double parseDateTime(const std::string& text) {
    int y = 0, mo = 0, d = 0, h = 0, mi = 0, s = 0;
    char tail = 0;
    int fields = std::sscanf(text.c_str(), "%d-%d-%dT%d:%d:%d%c", &y, &mo, &d, &h, &mi, &s, &tail);
    bool dateOnlyForm = fields == 3 && text.find('T') == std::string::npos;
    if (dateOnlyForm || fields == 6) {
        if (mo < 1 || mo > 12 || d < 1 || d > daysInMonth(y, mo) || h > 23 || mi > 59 || s > 59 ||
            h < 0 || mi < 0 || s < 0) {
            throw UsageError{"'" + text + "' is not a date"};
        }
        return makeDateTime(y, mo, d, h, mi, s);
    }
    return parseDouble(text);
}

rs::ByteArray parseHex(const std::string& text) {
    if (text.size() % 2 != 0) throw UsageError{"'" + text + "' is not hexadecimal bytes"};
    rs::ByteArray bytes;
    for (std::size_t i = 0; i < text.size(); i += 2) {
        std::uint8_t byte = 0;
        auto [end, ec] = std::from_chars(text.data() + i, text.data() + i + 2, byte, 16);
        if (ec != std::errc() || end != text.data() + i + 2) {
            throw UsageError{"'" + text + "' is not hexadecimal bytes"};
        }
        bytes.push_back(byte);
    }
    return bytes;
}

rs::Value parseValue(const rs::FieldInfo& field, const std::string& text) {
    switch (field.type) {
        case FieldType::Byte:
            return parseInteger<std::uint8_t>(text);
        case FieldType::Short:
            return parseInteger<std::int16_t>(text);
        case FieldType::Int:
            return parseInteger<std::int32_t>(text);
        case FieldType::Int64:
            return parseInteger<std::int64_t>(text);
        case FieldType::Float:
            return static_cast<float>(parseDouble(text));
        case FieldType::Double:
            return parseDouble(text);
        case FieldType::Bool:
            if (text != "0" && text != "1")
                throw UsageError{"a bool is 0 or 1, not '" + text + "'"};
            return text == "1";
        case FieldType::DateTime:
            return rs::Timestamp{parseDateTime(text)};
        case FieldType::Reference:
            return rs::Reference{parseInteger<std::uint32_t>(text)};
        case FieldType::Text:
        case FieldType::Memo:
            return toGbk(unescapeText(text), "the text");
        case FieldType::ByteArray:
            return parseHex(text);
    }
    throw UsageError{"unknown field type"};
}

// ---- subcommands -------------------------------------------------------------

int create(Args args, std::ostream&, std::ostream& err) {
    if (args.size() < 2) throw UsageError{"table create FILE NAME:TYPE[:SIZE]..."};
    std::string file = toGbk(args[0], "the file name");
    std::vector<rs::FieldSpec> fields;
    for (const auto& text : args.subspan(1)) {
        std::size_t first = text.find(':');
        if (first == std::string::npos)
            throw UsageError{"field '" + text + "' is not NAME:TYPE[:SIZE]"};
        std::size_t second = text.find(':', first + 1);
        rs::FieldSpec field;
        field.name = toGbk(text.substr(0, first), "the field name");
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
    if (!open(inv)) return reportFailure(err);
    auto table = rs::registry().currentTableInfo();
    if (!table) {
        int code = reportFailure(err);
        rs::registry().closeTable();
        return code;
    }
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
    rs::registry().closeTable();
    return kExitOk;
}

int dump(Args args, std::ostream& out, std::ostream& err) {
    Invocation inv = parse(args, false);
    if (!inv.rest.empty()) throw UsageError{"table dump takes no values"};
    if (!open(inv)) return reportFailure(err);
    auto& store = rs::registry();
    auto table = store.currentTableInfo();
    int count = table ? store.recordCount() : 0;
    int status = rs::lastError() == 0 ? kExitOk : reportFailure(err);
    for (int i = 0; i < count && status == kExitOk; ++i) {
        std::string line = std::to_string(store.recordNumber());
        for (std::size_t f = 1; f <= table->fields.size() && rs::lastError() == 0; ++f) {
            line += '\t';
            line += formatValue(store.readField(static_cast<int>(f)));
        }
        if (rs::lastError() != 0 || !store.skip()) {
            status = reportFailure(err);
            break;
        }
        out << line << '\n';
    }
    store.closeTable();
    return status;
}

int append(Args args, std::ostream&, std::ostream& err) {
    Invocation inv = parse(args, false);
    if (!open(inv)) return reportFailure(err);
    auto& store = rs::registry();
    auto table = store.currentTableInfo();
    if (!table) {
        int code = reportFailure(err);
        store.closeTable();
        return code;
    }
    std::vector<std::optional<rs::Value>> values;
    try {
        if (inv.rest.size() > table->fields.size()) throw UsageError{"more values than fields"};
        for (std::size_t i = 0; i < inv.rest.size(); ++i) {
            values.emplace_back(parseValue(table->fields[i], inv.rest[i]));
        }
    } catch (const UsageError&) {
        store.closeTable();
        throw;
    }
    bool ok = store.appendRecord(values);
    int status = ok ? kExitOk : reportFailure(err);
    store.closeTable();
    return status;
}

// Opens FILE and runs one operation on it.
int simple(Args args, std::ostream& err, bool (*operation)(rs::Registry&)) {
    Invocation inv = parse(args, false);
    if (!inv.rest.empty()) throw UsageError{"unexpected argument '" + inv.rest.front() + "'"};
    if (!open(inv)) return reportFailure(err);
    bool ok = operation(rs::registry());
    int status = ok ? kExitOk : reportFailure(err);
    rs::registry().closeTable();
    return status;
}

// ---- sort, copy, passwd, check ---------------------------------------------

// table sort FILE NEWFILE KEY[:desc]... and table copy FILE NEWFILE.
int writeNew(Args args, std::ostream& err, bool sorted) {
    Invocation inv = parse(args, false);
    if (inv.rest.empty()) throw UsageError{"NEWFILE is missing"};
    if (sorted && inv.rest.size() < 2) throw UsageError{"at least one KEY is needed"};
    if (!sorted && inv.rest.size() > 1)
        throw UsageError{"unexpected argument '" + inv.rest[1] + "'"};
    std::string target = toGbk(inv.rest[0], "NEWFILE");
    std::vector<std::string> keys;
    std::vector<char> ascending;  // not vector<bool>: the flags are passed as a span
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
        keys.push_back(toGbk(key, "the key"));
        ascending.push_back(up ? 1 : 0);
    }
    if (!open(inv)) return reportFailure(err);
    auto& store = rs::registry();
    std::unique_ptr<bool[]> flags(new bool[ascending.size() + 1]);
    for (std::size_t i = 0; i < ascending.size(); ++i) flags[i] = ascending[i] != 0;
    bool ok =
        sorted ? store.sortInto(target, keys, std::span<const bool>(flags.get(), ascending.size()))
               : store.copyInto(target);
    int status = ok ? kExitOk : reportFailure(err);
    store.closeTable();
    return status;
}

// table passwd FILE NEWPASSWORD [--password OLD].
int passwd(Args args, std::ostream& err) {
    Invocation inv = parse(args, false);
    if (inv.rest.size() != 1)
        throw UsageError{"give exactly one NEWPASSWORD (\"\" removes the password)"};
    std::string password = toGbk(inv.rest[0], "the new password");
    if (!open(inv)) return reportFailure(err);
    bool ok = rs::registry().setPassword(password);
    int status = ok ? kExitOk : reportFailure(err);
    rs::registry().closeTable();
    return status;
}

// table check FILE [--password P]: every problem on its own line.
int check(Args args, std::ostream& out) {
    Invocation inv = parse(args, false);
    if (!inv.rest.empty()) throw UsageError{"unexpected argument '" + inv.rest.front() + "'"};
    rs::CheckReport report = rs::checkTable(rs::posixFileSystem(), inv.file, inv.password);
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
