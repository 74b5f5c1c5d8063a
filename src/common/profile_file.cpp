#include "common/profile_file.h"

#include "common/gbk.h"

namespace qinghe::profile {
namespace {

bool isBlank(char c) {
    return c == ' ' || c == '\t';
}

std::string_view trim(std::string_view s) {
    while (!s.empty() && isBlank(s.front())) s.remove_prefix(1);
    while (!s.empty() && isBlank(s.back())) s.remove_suffix(1);
    return s;
}

char asciiLower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

std::size_t charLengthAt(std::string_view s, std::size_t i) {
    return i + 1 < s.size() ? gbk::charLength(static_cast<unsigned char>(s[i])) : 1;
}

// ASCII letters without case; a double-byte character (whose trail byte may
// look like a letter) exactly.
bool sameName(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size();) {
        const std::size_t n = charLengthAt(a, i);
        if (n == 2 ? a.substr(i, 2) != b.substr(i, 2) : asciiLower(a[i]) != asciiLower(b[i])) {
            return false;
        }
        i += n;
    }
    return true;
}

// The offset of the first `c` that is a character of its own (not the trail
// byte of a double-byte character), or npos.
std::size_t findChar(std::string_view s, char c) {
    for (std::size_t i = 0; i < s.size(); i += charLengthAt(s, i)) {
        if (s[i] == c) return i;
    }
    return std::string_view::npos;
}

bool hasLineBreak(std::string_view s) {
    return s.find_first_of("\r\n") != std::string_view::npos;
}

bool isQuote(char c) {
    return c == '"' || c == '\'';
}

bool isQuoted(std::string_view v) {
    return v.size() >= 2 && isQuote(v.front()) && v.back() == v.front();
}

// What one line of the file is.
struct Line {
    enum class Kind { Other, Section, Key } kind = Kind::Other;
    std::string_view name;   // section name or key, blanks removed
    std::string_view value;  // for a key, blanks removed
};

Line classify(std::string_view text) {
    const std::string_view t = trim(text);
    if (t.empty() || t.front() == ';') return {};
    if (t.front() == '[') {
        const std::string_view inside = t.substr(1);
        return {Line::Kind::Section, trim(inside.substr(0, findChar(inside, ']'))), {}};
    }
    // "=" (0x3D) is never the trail byte of a double-byte character.
    const std::size_t equals = t.find('=');
    if (equals == std::string_view::npos) return {};
    const std::string_view key = trim(t.substr(0, equals));
    if (key.empty()) return {};
    return {Line::Kind::Key, key, trim(t.substr(equals + 1))};
}

// The value as written by a person: one pair of surrounding quotes removed,
// cut to kMaxValueBytes at a character boundary.
std::string valueAsRead(std::string_view v) {
    if (isQuoted(v)) v = v.substr(1, v.size() - 2);
    std::size_t end = 0;
    while (end < v.size()) {
        const std::size_t next = end + charLengthAt(v, end);
        if (next > kMaxValueBytes) break;
        end = next;
    }
    return std::string(v.substr(0, end));
}

// The value as it must be written to read back unchanged.
std::string valueAsWritten(std::string_view v) {
    const bool changedByReading =
        !v.empty() && (isBlank(v.front()) || isBlank(v.back()) || isQuoted(v));
    return changedByReading ? "\"" + std::string(v) + "\"" : std::string(v);
}

bool canHoldSection(std::string_view section) {
    return !section.empty() && trim(section) == section && !hasLineBreak(section) &&
           findChar(section, ']') == std::string_view::npos;
}

bool canHoldKey(std::string_view key) {
    return !key.empty() && trim(key) == key && !hasLineBreak(key) &&
           key.find('=') == std::string_view::npos && key.front() != '[' && key.front() != ';';
}

}  // namespace

// Where a key is, or where it would go.
struct ProfileFile::Place {
    bool sectionFound = false;
    std::optional<std::size_t> keyLine;
    std::size_t insertAt = 0;  // after the section's last key (or its header)
};

ProfileFile::ProfileFile(std::string_view bytes) {
    bool endKnown = false;
    while (!bytes.empty()) {
        const std::size_t lf = bytes.find('\n');
        std::string_view line = bytes.substr(0, lf);
        const bool crlf = lf != std::string_view::npos && !line.empty() && line.back() == '\r';
        if (crlf) line.remove_suffix(1);
        if (!endKnown && lf != std::string_view::npos) {
            lineEnd_ = crlf ? "\r\n" : "\n";
            endKnown = true;
        }
        lines_.emplace_back(line);
        bytes.remove_prefix(lf == std::string_view::npos ? bytes.size() : lf + 1);
    }
}

ProfileFile::Place ProfileFile::locate(std::string_view section, std::string_view key) const {
    Place place;
    bool inSection = false;
    for (std::size_t i = 0; i < lines_.size(); ++i) {
        const Line line = classify(lines_[i]);
        if (line.kind == Line::Kind::Section) {
            if (inSection) break;  // the end of the first section of that name
            inSection = sameName(line.name, section);
            if (inSection) {
                place.sectionFound = true;
                place.insertAt = i + 1;
            }
        } else if (inSection && line.kind == Line::Kind::Key) {
            place.insertAt = i + 1;
            if (sameName(line.name, key)) {
                place.keyLine = i;
                break;
            }
        }
    }
    return place;
}

std::optional<std::string> ProfileFile::find(std::string_view section, std::string_view key) const {
    const Place place = locate(section, key);
    if (!place.keyLine) return std::nullopt;
    return valueAsRead(classify(lines_[*place.keyLine]).value);
}

bool ProfileFile::write(std::string_view section, std::string_view key, std::string_view value) {
    if (!canHoldSection(section) || !canHoldKey(key) || hasLineBreak(value)) return false;
    const Place place = locate(section, key);
    if (place.keyLine) {
        std::string& line = lines_[*place.keyLine];
        line = std::string(classify(line).name) + "=" + valueAsWritten(value);
        return true;
    }
    std::string newLine = std::string(key) + "=" + valueAsWritten(value);
    if (place.sectionFound) {
        lines_.insert(lines_.begin() + static_cast<std::ptrdiff_t>(place.insertAt),
                      std::move(newLine));
        return true;
    }
    if (!lines_.empty() && !trim(lines_.back()).empty()) lines_.emplace_back();
    lines_.push_back("[" + std::string(section) + "]");
    lines_.push_back(std::move(newLine));
    return true;
}

std::string ProfileFile::bytes() const {
    std::string out;
    for (const std::string& line : lines_) out += line + lineEnd_;
    return out;
}

}  // namespace qinghe::profile
