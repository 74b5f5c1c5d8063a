#include "platform/paths.h"

#include <cerrno>
#include <vector>

namespace qinghe::platform {
namespace {

unsigned char upper(unsigned char c) {
    return c >= 'a' && c <= 'z' ? static_cast<unsigned char>(c - 'a' + 'A') : c;
}

// As many links as the system itself follows before it gives up (ELOOP).
constexpr int kMaxLinks = 40;

}  // namespace

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

std::string childPath(std::string_view directory, std::string_view name) {
    std::string result(directory);
    if (result.empty() || result.back() != '/') result += '/';
    result += name;
    return result;
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
    return childPath(directory, *match);
}

int followLinks(FileSystem& fs, const std::string& path, std::string& target) {
    target = path;
    for (int i = 0; i < kMaxLinks; ++i) {
        std::string text;
        if (fs.readLink(target, text) < 0) return 0;  // not a link (or nothing there)
        target = text.starts_with('/') ? text : childPath(directoryOf(target), text);
    }
    return -ELOOP;
}

}  // namespace qinghe::platform
