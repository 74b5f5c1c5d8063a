#include "datafolder/location.h"

#include <cerrno>
#include <cstdlib>
#include <string_view>
#include <vector>

#include "common/gbk.h"
#include "platform/paths.h"
#include "platform/process.h"
#include "recordstore/errors.h"

namespace qinghe::datafolder {
namespace {

// The names that make the executable's folder the data folder (UTF-8).
constexpr std::string_view kPortableMarkers[] = {"portable", "加班.edb"};

bool runsPortably(platform::FileSystem& fs, const std::string& executableDir) {
    std::vector<std::string> names;
    if (fs.listDirectory(executableDir, names) < 0) return false;
    for (const std::string& name : names) {
        for (std::string_view marker : kPortableMarkers) {
            if (platform::samePath(name, marker)) return true;
        }
    }
    return false;
}

bool isDirectory(platform::FileSystem& fs, const std::string& path) {
    platform::FileStatus status;
    return fs.status(path, status) == 0 && status.kind == platform::FileKind::Directory;
}

// Makes the folder and its missing parents, noting in `made` those it made,
// parents first: 0 or -errno.
int makeFolder(platform::FileSystem& fs, const std::string& path, std::vector<std::string>& made) {
    if (isDirectory(fs, path)) return 0;
    const std::string parent = platform::directoryOf(path);
    if (parent != path) {
        if (int r = makeFolder(fs, parent, made); r < 0) return r;
    }
    const int r = fs.createDirectory(path);
    if (r == 0) made.push_back(path);
    if (r != -EEXIST) return r;
    return isDirectory(fs, path) ? 0 : -ENOTDIR;
}

}  // namespace

std::string executableDir(platform::FileSystem& fs) {
    std::string self;
    if (fs.readLink("/proc/self/exe", self) < 0) return {};
    return platform::directoryOf(self);
}

std::string chooseDataFolder(const std::string& executableDir, const char* xdgDataHome,
                             const char* home, platform::FileSystem& fs) {
    if (!executableDir.empty() && runsPortably(fs, executableDir)) return executableDir;
    if (xdgDataHome && xdgDataHome[0] == '/') return platform::childPath(xdgDataHome, "qinghe");
    const std::string homeDir = home && *home ? std::string(home) : platform::userHome();
    if (homeDir.empty()) return executableDir;
    return platform::childPath(homeDir, ".local/share/qinghe");
}

std::string dataFolderPath() {
    return chooseDataFolder(executableDir(), std::getenv("XDG_DATA_HOME"), std::getenv("HOME"));
}

std::optional<std::string> createDataFolder(const std::string& path, platform::FileSystem& fs,
                                            std::vector<std::string>* made) {
    std::vector<std::string> madeHere;
    const int error = makeFolder(fs, path, madeHere);
    if (made) *made = std::move(madeHere);
    if (error == 0) return std::nullopt;
    return "无法创建数据文件夹 " + path + "：" + gbk::toUtf8(recordstore::fileErrorMessage(error));
}

void removeMadeFolders(const std::vector<std::string>& made, platform::FileSystem& fs) {
    for (auto folder = made.rbegin(); folder != made.rend(); ++folder) {
        fs.removeDirectory(*folder);
    }
}

}  // namespace qinghe::datafolder
