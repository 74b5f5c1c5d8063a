// Field values of a table as qinghe-cli table writes and reads them: one
// value a word, UTF-8 on the terminal.
//
//   byte, short, int, int64   decimal, within the type's range
//   float, double             "%.17g" out (round-trips); in, any strtod number
//   bool                      0 or 1
//   date-time                 out: days since 1899-12-30 as a double; in, that
//                             (finite) or YYYY-MM-DD[THH:MM:SS] as date_args.h
//                             reads it
//   reference                 the block address, decimal
//   text, memo                the text, with "\\", "\t", "\n" and "\r" escaped
//                             (escapeText)
//   byte array                lower-case hexadecimal, two digits a byte
#pragma once

#include <charconv>
#include <string>

#include "cli/usage_error.h"
#include "recordstore/record_store.h"

namespace qinghe::cli {

std::string formatValue(const recordstore::Value& value);

// A GBK text as UTF-8 that stays one word of a TAB-separated line: backslash,
// TAB, LF and CR as "\\", "\t", "\n" and "\r" (two characters each).
std::string escapeText(const std::string& gbkText);

// The value of `field` that `text` (UTF-8) gives; a UsageError when the text
// is no value of the field's type or a text has no GBK form.
recordstore::Value parseValue(const recordstore::FieldInfo& field, const std::string& text);

// The whole of `text` as a decimal T; a UsageError otherwise.
template <typename T>
T parseInteger(const std::string& text) {
    T value{};
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || end != text.data() + text.size()) {
        throw UsageError{"'" + text + "' is not a whole number in the field's range"};
    }
    return value;
}

}  // namespace qinghe::cli
