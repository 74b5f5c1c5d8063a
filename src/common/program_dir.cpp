#include "common/program_dir.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>
#include <system_error>
#include <vector>

#include "common/gbk.h"

namespace qinghe {
namespace {

namespace fs = std::filesystem;

// The names that make the executable's folder the data folder (UTF-8).
constexpr std::string_view kPortableMarkers[] = {"portable", "加班.edb"};

// ASCII letters compare without case; the bytes of multi-byte UTF-8
// characters are never ASCII, so they compare exactly.
bool sameNameIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c + 32) : c; };
        if (lower(a[i]) != lower(b[i])) return false;
    }
    return true;
}

bool runsPortably(const fs::path& executableDir) {
    std::error_code error;
    for (fs::directory_iterator it(executableDir, error), end; !error && it != end;
         it.increment(error)) {
        const std::string name = it->path().filename().string();
        for (std::string_view marker : kPortableMarkers) {
            if (sameNameIgnoringCase(name, marker)) return true;
        }
    }
    return false;
}

std::string homeFromPasswordDatabase() {
    long size = sysconf(_SC_GETPW_R_SIZE_MAX);
    std::vector<char> buffer(size > 0 ? static_cast<std::size_t>(size) : 16384);
    passwd entry{};
    passwd* found = nullptr;
    if (getpwuid_r(getuid(), &entry, buffer.data(), buffer.size(), &found) != 0 || !found ||
        !found->pw_dir) {
        return {};
    }
    return found->pw_dir;
}

}  // namespace

fs::path ProgramDir::file(std::string_view gbkName) const {
    return path / fs::path(gbk::toUtf8(gbkName));
}

fs::path executableDir() {
    std::error_code error;
    const fs::path self = fs::read_symlink("/proc/self/exe", error);
    return error ? fs::path() : self.parent_path();
}

ProgramDir chooseProgramDir(const fs::path& executableDir, const char* xdgDataHome,
                            const char* home) {
    if (!executableDir.empty() && runsPortably(executableDir)) return {executableDir};
    if (xdgDataHome && fs::path(xdgDataHome).is_absolute()) {
        return {fs::path(xdgDataHome) / "qinghe"};
    }
    const std::string homeDir = home && *home ? std::string(home) : homeFromPasswordDatabase();
    if (homeDir.empty()) return {executableDir};
    return {fs::path(homeDir) / ".local" / "share" / "qinghe"};
}

ProgramDir programDir() {
    return chooseProgramDir(executableDir(), std::getenv("XDG_DATA_HOME"), std::getenv("HOME"));
}

std::optional<std::string> createProgramDir(const ProgramDir& dir) {
    std::error_code error;
    fs::create_directories(dir.path, error);
    if (!error && !fs::is_directory(dir.path, error)) {
        error = std::make_error_code(std::errc::not_a_directory);
    }
    if (!error) return std::nullopt;
    return "无法创建数据文件夹 " + dir.path.string() + "：" + error.message();
}

}  // namespace qinghe
