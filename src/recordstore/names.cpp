#include "recordstore/names.h"

#include <algorithm>
#include <array>
#include <cstdint>

#include "common/gbk.h"
#include "platform/paths.h"
#include "platform/temporary_files.h"
#include "recordstore/format.h"
#include "recordstore/undo_log.h"
#include "recordstore/undo_log_reader.h"

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

}  // namespace

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
        if (platform::samePath(extension, kAuxExtension) ||
            platform::samePath(extension, kUndoLogExtension)) {
            return true;
        }
    }
    return platform::isTemporaryName(platform::lastComponent(path));
}

bool isFileNameOfTable(std::string_view name, std::string_view mainName) {
    const std::string files[] = {std::string(mainName), auxiliaryPath(mainName),
                                 undoLogPathOf(mainName)};
    return std::any_of(std::begin(files), std::end(files), [&](const std::string& file) {
        return platform::samePath(name, file) || platform::isTemporaryOf(name, file);
    });
}

FileMagic fileMagicAt(platform::FileSystem& fs, const std::string& path) {
    const int handle = fs.open(path, false, false);
    if (handle < 0) return FileMagic::None;
    std::array<std::uint8_t, format::kMagicSize> magic{};
    const bool read = fs.read(handle, magic, 0) == static_cast<std::int64_t>(magic.size());
    fs.close(handle);
    if (!read) return FileMagic::None;
    if (magic == format::kPlainMagic || magic == format::kCipheredMagic) return FileMagic::Main;
    if (magic == format::kAuxMagic) return FileMagic::Auxiliary;
    if (magic == undo_bytes::kLogMagic) return FileMagic::UndoLog;
    return FileMagic::None;
}

std::string fileTitle(std::string_view path) {
    std::size_t slash = path.rfind('/');
    std::string_view name = slash == std::string_view::npos ? path : path.substr(slash + 1);
    std::size_t dot = name.rfind('.');
    return std::string(name.substr(0, dot));
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

std::optional<std::string> tableFilePath(platform::FileSystem& fs, std::string_view gbkName) {
    auto disk = toDiskPath(gbkName);
    if (!disk) return std::nullopt;
    return platform::absolutePath(withDefaultExtension(*disk), fs.currentDirectory());
}

std::string tableFileOnDisk(platform::FileSystem& fs, const std::string& path) {
    return throughLinks(fs, platform::resolveIgnoringCase(fs, path));
}

std::string throughLinks(platform::FileSystem& fs, const std::string& path) {
    std::string target;
    if (platform::followLinks(fs, path, target) < 0 || target == path) return path;
    return platform::absolutePath(target, fs.currentDirectory());
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
