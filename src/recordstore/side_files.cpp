#include "recordstore/side_files.h"

#include <algorithm>
#include <array>

#include "platform/paths.h"
#include "platform/temporary_files.h"
#include "recordstore/names.h"
#include "recordstore/undo_log.h"

namespace qinghe::recordstore {
namespace {

// The files whose temporaries are the table's own: its main file, its
// auxiliary file and its undo log.
std::array<std::string, 3> ownFiles(const std::string& mainPath) {
    return {mainPath, auxiliaryPath(mainPath), undoLogPathOf(mainPath)};
}

}  // namespace

std::vector<std::string> temporariesOf(platform::FileSystem& fs, const std::string& mainPath) {
    return platform::temporariesOf(fs, ownFiles(mainPath));
}

void removeStaleTemporaries(platform::FileSystem& fs, const std::string& mainPath) {
    // While an undo log lies beside the table (one left to a later open, or
    // another table's of the same title) its renames may still need them.
    const std::string log = platform::lastComponent(undoLogPathOf(mainPath));
    std::vector<std::string> names;
    if (fs.listDirectory(platform::directoryOf(mainPath), names) < 0) return;
    if (std::any_of(names.begin(), names.end(),
                    [&](const auto& n) { return platform::samePath(n, log); })) {
        return;
    }
    platform::removeLeftTemporaries(fs, ownFiles(mainPath));
}

Status refuseSharedAuxiliary(platform::FileSystem& fs, const std::string& mainPath) {
    const std::string directory = platform::directoryOf(mainPath);
    const std::string main = platform::lastComponent(mainPath);
    const std::string aux = platform::lastComponent(auxiliaryPath(mainPath));
    std::vector<std::string> names;
    if (fs.listDirectory(directory, names) < 0) return {};
    for (const auto& name : names) {
        if (platform::samePath(name, main) || isSideFileName(name)) continue;
        if (!platform::samePath(auxiliaryPath(name), aux)) continue;
        if (fileMagicAt(fs, platform::childPath(directory, name)) == FileMagic::Main) {
            return Status::fail(error::kAuxCreateFailed);
        }
    }
    return {};
}

}  // namespace qinghe::recordstore
