#include "journal/journal_export.h"

#include <cstdio>

#include "common/gbk.h"

namespace qinghe::journal {
namespace {

// The first characters that make a spreadsheet read a cell as a formula.
constexpr std::string_view kFormulaStarts = "=+-@\t\r";

void appendField(std::string& out, std::string_view utf8) {
    const bool formula =
        !utf8.empty() && kFormulaStarts.find(utf8.front()) != std::string_view::npos;
    const bool quoted = utf8.find_first_of(",\"\r\n") != std::string_view::npos;
    if (quoted) out += '"';
    if (formula) out += '\'';
    for (char c : utf8) {
        if (quoted && c == '"') out += '"';
        out += c;
    }
    if (quoted) out += '"';
}

std::string isoDate(DateTime value) {
    const CivilDate d = dateOf(clampDateTime(value));
    char text[16];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d", d.year, d.month, d.day);
    return text;
}

}  // namespace

std::string journalCsv(const JournalRows& rows) {
    std::string out = "\xEF\xBB\xBF";
    for (int f = 1; f <= kFieldCount; ++f) {
        if (f > 1) out += ',';
        appendField(out, gbk::toUtf8(fieldSpec(static_cast<Field>(f)).name));
    }
    out += "\r\n";
    for (std::size_t row = 0; row < rows.size(); ++row) {
        for (int f = 1; f <= kFieldCount; ++f) {
            const auto field = static_cast<Field>(f);
            if (f > 1) out += ',';
            if (field == Field::Date) {
                out += isoDate(rows.date(row));
            } else if (field == Field::Remark || field == Field::Weekday) {
                appendField(out, gbk::toUtf8(rows.text(row, field)));
            } else {
                out += std::to_string(rows.integer(row, field));
            }
        }
        out += "\r\n";
    }
    return out;
}

}  // namespace qinghe::journal
