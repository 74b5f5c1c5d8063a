#include "cli/table_values.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <type_traits>

#include "cli/date_args.h"
#include "common/datetime.h"
#include "common/gbk.h"

namespace qinghe::cli {

namespace rs = qinghe::recordstore;
using rs::format::FieldType;

namespace {

// The characters a line of words cannot hold as they are, and their escapes.
struct Escape {
    char raw;
    char letter;  // after the backslash
};
constexpr Escape kEscapes[] = {{'\\', '\\'}, {'\t', 't'}, {'\n', 'n'}, {'\r', 'r'}};

std::string unescapeText(const std::string& text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] != '\\' || i + 1 == text.size()) {
            out += text[i];
            continue;
        }
        const char next = text[++i];
        char raw = next;
        for (const Escape& e : kEscapes) {
            if (e.letter == next) raw = e.raw;
        }
        out += raw;
    }
    return out;
}

}  // namespace

std::string escapeText(const std::string& gbkText) {
    std::string out;
    for (char c : gbk::toUtf8(gbkText)) {
        const Escape* escape = nullptr;
        for (const Escape& e : kEscapes) {
            if (e.raw == c) escape = &e;
        }
        if (escape) {
            out += '\\';
            out += escape->letter;
        } else {
            out += c;
        }
    }
    return out;
}

namespace {

std::string number17(double v) {
    char buffer[40];
    std::snprintf(buffer, sizeof buffer, "%.17g", v);
    return buffer;
}

double parseDouble(const std::string& text) {
    char* end = nullptr;
    double v = std::strtod(text.c_str(), &end);
    if (text.empty() || end != text.c_str() + text.size()) {
        throw UsageError{"'" + text + "' is not a number"};
    }
    return v;
}

// A number of days since 1899-12-30, or a date as the other subcommands take
// it (YYYY-MM-DD or YYYY-MM-DDTHH:MM:SS, strictly: "2024-01-01 12:00:00" is
// refused rather than read as midnight).
double parseDateTime(const std::string& text) {
    char* end = nullptr;
    double days = std::strtod(text.c_str(), &end);
    if (!text.empty() && end == text.c_str() + text.size()) {
        if (!std::isfinite(days)) throw UsageError{"'" + text + "' is not a date"};
        return days;
    }
    std::string why;
    auto date = parseDateArg(text, true, why);
    if (!date) throw UsageError{why + ", nor a number of days since 1899-12-30"};
    return makeDateTime(date->date.year, date->date.month, date->date.day, date->time.hour,
                        date->time.minute, date->time.second);
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

}  // namespace

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
            return gbkArgument(unescapeText(text), "the text");
        case FieldType::ByteArray:
            return parseHex(text);
    }
    throw UsageError{"unknown field type"};
}

}  // namespace qinghe::cli
