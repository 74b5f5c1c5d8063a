#include "platform/temporary_files.h"

#include <signal.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <random>

#include "platform/paths.h"

namespace qinghe::platform {
namespace {

constexpr std::string_view kTemporaryMark = ".~";
constexpr std::size_t kMaxNameBytes = 255;
constexpr int kRandomLetters = 8;
constexpr std::string_view kRandomAlphabet = "0123456789abcdefghijklmnopqrstuvwxyz";
constexpr int kCreateTries = 16;

bool isDigit(char c) {
    return c >= '0' && c <= '9';
}
bool isLowerAlnum(char c) {
    return isDigit(c) || (c >= 'a' && c <= 'z');
}

// Where the temporary suffix ".~<digits>-<letters and digits>" of a name
// begins, or npos when it has none.
std::size_t temporarySuffix(std::string_view name) {
    std::size_t end = name.size();
    while (end > 0 && isLowerAlnum(name[end - 1])) --end;
    if (end == name.size() || end == 0 || name[end - 1] != '-') return std::string_view::npos;
    std::size_t dash = end - 1;
    std::size_t digits = dash;
    while (digits > 0 && isDigit(name[digits - 1])) --digits;
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

// A process with this id runs (also one that this user may not signal).
bool processRuns(int id) {
    return ::kill(id, 0) == 0 || errno == EPERM;
}

// Another open file holds a lock on some byte of the file at `path`.
bool lockedElsewhere(FileSystem& fs, const std::string& path) {
    const int handle = fs.open(path, false, false);
    if (handle < 0) return false;
    const bool locked = fs.isLockedElsewhere(handle, LockKind::Exclusive, 0, INT64_MAX) == 1;
    fs.close(handle);
    return locked;
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

int createTemporaryBeside(FileSystem& fs, const std::string& target, std::string& path) {
    // A name taken already (by a file, or a link that someone put there) is
    // never opened: the next try has other random letters.
    for (int i = 0; i < kCreateTries; ++i) {
        path = temporaryNameFor(target);
        const int handle = fs.open(path, true, true);
        if (handle != -EEXIST) {
            if (handle < 0) path.clear();
            return handle;
        }
    }
    path.clear();
    return -EEXIST;
}

bool makerIsGone(FileSystem& fs, const std::string& path) {
    const std::optional<int> creator = creatorOfTemporary(lastComponent(path));
    if (creator && processRuns(*creator)) return false;
    return !lockedElsewhere(fs, path);
}

std::vector<std::string> temporariesOf(FileSystem& fs, std::span<const std::string> targets) {
    std::vector<std::string> found;
    if (targets.empty()) return found;
    const std::string directory = directoryOf(targets.front());
    std::vector<std::string> names;
    if (fs.listDirectory(directory, names) < 0) return found;
    std::sort(names.begin(), names.end());
    for (const auto& name : names) {
        if (std::any_of(targets.begin(), targets.end(), [&](const std::string& target) {
                return isTemporaryOf(name, lastComponent(target));
            })) {
            found.push_back(childPath(directory, name));
        }
    }
    return found;
}

void removeLeftTemporaries(FileSystem& fs, std::span<const std::string> targets) {
    bool removed = false;
    for (const auto& path : temporariesOf(fs, targets)) {
        if (makerIsGone(fs, path)) removed = fs.remove(path) == 0 || removed;
    }
    if (removed) fs.syncDirectory(directoryOf(targets.front()));
}

}  // namespace qinghe::platform
