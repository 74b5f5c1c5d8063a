#include "recordstore/names.h"

#include <unistd.h>

#include <cstdint>
#include <random>
#include <vector>

#include "common/gbk.h"
#include "recordstore/format.h"

namespace qinghe::recordstore {
namespace {

constexpr std::string_view kMainExtension = "EDB";
constexpr std::string_view kAuxExtension = ".EDT";

// Position of the extension's "." in the last component, or npos.
std::size_t extensionDot(std::string_view path) {
    std::size_t slash = path.rfind('/');
    std::size_t dot = path.rfind('.');
    if (dot == std::string_view::npos) return dot;
    if (slash != std::string_view::npos && dot < slash) return std::string_view::npos;
    return dot;
}

bool isAsciiLetter(unsigned char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}
bool isAsciiDigit(unsigned char c) {
    return c >= '0' && c <= '9';
}
unsigned char upper(unsigned char c) {
    return c >= 'a' && c <= 'z' ? static_cast<unsigned char>(c - 'a' + 'A') : c;
}

// GBK code points used by the name rule.
constexpr unsigned kFullWidthRow = 0xA3;
constexpr unsigned kFullWidthDigit0 = 0xB0, kFullWidthDigit9 = 0xB9;
constexpr unsigned kFullWidthUpperA = 0xC1, kFullWidthUpperZ = 0xDA;
constexpr unsigned kFullWidthLowerA = 0xE1, kFullWidthLowerZ = 0xFA;
constexpr unsigned kHiraganaRow = 0xA4, kHiraganaLast = 0xF3;
constexpr unsigned kKatakanaRow = 0xA5, kKatakanaLast = 0xF6;
constexpr unsigned kKanaFirst = 0xA1;
constexpr unsigned kExtraLead = 0xA9, kExtraTrail = 0x60;  // the character A960

bool isFullWidthDigit(unsigned lead, unsigned trail) {
    return lead == kFullWidthRow && trail >= kFullWidthDigit0 && trail <= kFullWidthDigit9;
}

bool isAllowedDoubleByte(unsigned lead, unsigned trail) {
    if ((lead >= 0x81 && lead <= 0xA0) || (lead >= 0xAA && lead <= 0xFE)) return true;
    if (lead == kFullWidthRow) {
        return isFullWidthDigit(lead, trail) ||
               (trail >= kFullWidthUpperA && trail <= kFullWidthUpperZ) ||
               (trail >= kFullWidthLowerA && trail <= kFullWidthLowerZ);
    }
    if (lead == kHiraganaRow) return trail >= kKanaFirst && trail <= kHiraganaLast;
    if (lead == kKatakanaRow) return trail >= kKanaFirst && trail <= kKatakanaLast;
    return lead == kExtraLead && trail == kExtraTrail;
}

// ---- Temporary names -------------------------------------------------------

constexpr std::string_view kTemporaryMark = ".~";
constexpr std::size_t kMaxNameBytes = 255;
constexpr int kRandomLetters = 8;
constexpr std::string_view kRandomAlphabet = "0123456789abcdefghijklmnopqrstuvwxyz";

bool isLowerAlnum(char c) {
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z');
}

// Where the temporary suffix ".~<digits>-<letters and digits>" of a name
// begins, or npos when it has none.
std::size_t temporarySuffix(std::string_view name) {
    std::size_t end = name.size();
    while (end > 0 && isLowerAlnum(name[end - 1])) --end;
    if (end == name.size() || end == 0 || name[end - 1] != '-') return std::string_view::npos;
    std::size_t dash = end - 1;
    std::size_t digits = dash;
    while (digits > 0 && isAsciiDigit(static_cast<unsigned char>(name[digits - 1]))) --digits;
    if (digits == dash || digits < kTemporaryMark.size()) return std::string_view::npos;
    std::size_t mark = digits - kTemporaryMark.size();
    return name.substr(mark, kTemporaryMark.size()) == kTemporaryMark ? mark
                                                                      : std::string_view::npos;
}

// `name` cut so that `suffixBytes` more fit into a name, at a UTF-8
// character boundary.
std::string_view roomFor(std::string_view name, std::size_t suffixBytes) {
    if (name.size() + suffixBytes <= kMaxNameBytes) return name;
    std::size_t keep = suffixBytes < kMaxNameBytes ? kMaxNameBytes - suffixBytes : 0;
    while (keep > 0 && (static_cast<unsigned char>(name[keep]) & 0xC0) == 0x80) --keep;
    return name.substr(0, keep);
}

}  // namespace

std::string temporaryNameFor(std::string_view target) {
    std::random_device random;
    std::uniform_int_distribution<std::size_t> pick(0, kRandomAlphabet.size() - 1);
    std::string suffix(kTemporaryMark);
    suffix += std::to_string(::getpid());
    suffix += '-';
    for (int i = 0; i < kRandomLetters; ++i) suffix += kRandomAlphabet[pick(random)];
    const std::size_t slash = target.rfind('/');
    const std::size_t nameAt = slash == std::string_view::npos ? 0 : slash + 1;
    std::string result(target.substr(0, nameAt));
    result += roomFor(target.substr(nameAt), suffix.size());
    result += suffix;
    return result;
}

bool isTemporaryOf(std::string_view candidate, std::string_view target) {
    const std::size_t suffix = temporarySuffix(candidate);
    if (suffix == std::string_view::npos || suffix == 0) return false;
    return samePath(candidate.substr(0, suffix), roomFor(target, candidate.size() - suffix));
}

bool isTemporaryName(std::string_view name) {
    const std::size_t suffix = temporarySuffix(name);
    return suffix != std::string_view::npos && suffix > 0;
}

std::optional<int> creatorOfTemporary(std::string_view name) {
    const std::size_t suffix = temporarySuffix(name);
    if (suffix == std::string_view::npos) return std::nullopt;
    std::string_view digits = name.substr(suffix + kTemporaryMark.size());
    digits = digits.substr(0, digits.find('-'));
    long long id = 0;
    for (char c : digits) {
        id = id * 10 + (c - '0');
        if (id > INT32_MAX) return std::nullopt;  // a count of milliseconds, not a process
    }
    if (id <= 0) return std::nullopt;
    return static_cast<int>(id);
}

std::optional<std::string> toDiskPath(std::string_view gbkPath) {
    std::string utf8 = gbk::toUtf8(gbkPath);
    // toUtf8 replaces what is not GBK; the round trip tells.
    auto back = gbk::fromUtf8(utf8);
    if (!back.ok || back.text != gbkPath) return std::nullopt;
    // In UTF-8 a backslash byte is always the character itself.
    for (char& c : utf8) {
        if (c == '\\') c = '/';
    }
    return utf8;
}

std::string withDefaultExtension(std::string_view path) {
    std::string result(path);
    std::size_t dot = extensionDot(path);
    if (dot == std::string_view::npos) {
        result += '.';
        result += kMainExtension;
    } else if (dot + 1 == path.size()) {
        result += kMainExtension;
    }
    return result;
}

std::string auxiliaryPath(std::string_view mainPath) {
    std::size_t dot = extensionDot(mainPath);
    std::string result(mainPath.substr(0, dot));
    result += kAuxExtension;
    return result;
}

bool isSideFileName(std::string_view path) {
    const std::size_t dot = extensionDot(path);
    if (dot != std::string_view::npos) {
        std::string_view extension = path.substr(dot);
        if (samePath(extension, kAuxExtension) || samePath(extension, kUndoLogExtension)) {
            return true;
        }
    }
    return isTemporaryName(lastComponent(path));
}

std::string fileTitle(std::string_view path) {
    std::size_t slash = path.rfind('/');
    std::string_view name = slash == std::string_view::npos ? path : path.substr(slash + 1);
    std::size_t dot = name.rfind('.');
    return std::string(name.substr(0, dot));
}

std::string absolutePath(std::string_view path, std::string_view currentDirectory) {
    std::string joined;
    if (path.empty() || path.front() != '/') {
        joined = currentDirectory;
        joined += '/';
    }
    joined += path;
    std::vector<std::string_view> parts;
    std::string_view rest = joined;
    while (!rest.empty()) {
        std::size_t slash = rest.find('/');
        std::string_view part = rest.substr(0, slash);
        rest = slash == std::string_view::npos ? std::string_view{} : rest.substr(slash + 1);
        if (part.empty() || part == ".") continue;
        if (part == "..") {
            if (!parts.empty()) parts.pop_back();
            continue;
        }
        parts.push_back(part);
    }
    std::string result;
    for (auto part : parts) {
        result += '/';
        result += part;
    }
    return result.empty() ? "/" : result;
}

std::string directoryOf(std::string_view path) {
    std::size_t slash = path.rfind('/');
    if (slash == std::string_view::npos) return ".";
    if (slash == 0) return "/";
    return std::string(path.substr(0, slash));
}

std::string lastComponent(std::string_view path) {
    std::size_t slash = path.rfind('/');
    return std::string(slash == std::string_view::npos ? path : path.substr(slash + 1));
}

std::string foldName(std::string_view text) {
    std::string result(text);
    for (std::size_t i = 0; i < result.size();) {
        auto c = static_cast<unsigned char>(result[i]);
        std::size_t length = gbk::charLength(c);
        if (length == 1) result[i] = static_cast<char>(upper(c));
        i += length;
    }
    return result;
}

bool sameName(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size();) {
        auto ca = static_cast<unsigned char>(a[i]);
        auto cb = static_cast<unsigned char>(b[i]);
        std::size_t length = gbk::charLength(ca);
        if (length == 1) {
            if (upper(ca) != upper(cb)) return false;
        } else if (a.substr(i, length) != b.substr(i, length)) {
            return false;
        }
        i += length;
    }
    return true;
}

bool samePath(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (upper(static_cast<unsigned char>(a[i])) != upper(static_cast<unsigned char>(b[i]))) {
            return false;
        }
    }
    return true;
}

std::optional<std::string> tableFilePath(FileSystem& fs, std::string_view gbkName) {
    auto disk = toDiskPath(gbkName);
    if (!disk) return std::nullopt;
    return absolutePath(withDefaultExtension(*disk), fs.currentDirectory());
}

std::string resolveIgnoringCase(FileSystem& fs, const std::string& path) {
    std::string directory = directoryOf(path);
    std::string name = lastComponent(path);
    std::vector<std::string> names;
    if (fs.listDirectory(directory, names) < 0) return path;
    const std::string* match = nullptr;
    for (const auto& entry : names) {
        if (entry == name) return path;
        if (samePath(entry, name) && (match == nullptr || entry < *match)) match = &entry;
    }
    if (match == nullptr) return path;
    return directory == "/" ? "/" + *match : directory + "/" + *match;
}

bool isValidName(std::string_view name, bool limitLength) {
    if (name.empty()) return false;
    if (limitLength && name.size() > format::kMaxFieldNameLength) return false;
    for (std::size_t i = 0; i < name.size();) {
        auto lead = static_cast<unsigned char>(name[i]);
        bool first = i == 0;
        if (gbk::charLength(lead) == 1) {
            if (first && isAsciiDigit(lead)) return false;
            if (!isAsciiLetter(lead) && !isAsciiDigit(lead) && lead != '_') return false;
            ++i;
            continue;
        }
        if (i + 1 >= name.size()) return false;  // a lead byte without its trail byte
        auto trail = static_cast<unsigned char>(name[i + 1]);
        if (first && isFullWidthDigit(lead, trail)) return false;
        if (!isAllowedDoubleByte(lead, trail)) return false;
        i += 2;
    }
    return true;
}

}  // namespace qinghe::recordstore
