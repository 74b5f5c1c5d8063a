#include "recordstore/side_files.h"

#include <signal.h>

#include <algorithm>
#include <array>
#include <cerrno>

#include "recordstore/format.h"
#include "recordstore/names.h"
#include "recordstore/table_file.h"
#include "recordstore/undo_log.h"

namespace qinghe::recordstore {
namespace {

using namespace format;

std::string inDirectory(const std::string& directory, const std::string& name) {
    return directory == "/" ? "/" + name : directory + "/" + name;
}

// A process with this id runs (also one that this user may not signal).
// Process ids are the system's, not the file system's: asked directly.
bool processRuns(int id) {
    return ::kill(id, 0) == 0 || errno == EPERM;
}

// Another open file holds the file's sharing bytes: its writer is at work.
bool inUse(FileSystem& fs, Clock& clock, const std::string& path) {
    TableFile probe(fs, clock);
    return probe.open(path, false, false, ShareMode::Exclusive).is(error::kSharingViolation);
}

// True when the file at `path` begins with the magic of a table's main file.
bool hasTableMagic(FileSystem& fs, const std::string& path) {
    const int handle = fs.open(path, false, false);
    if (handle < 0) return false;
    std::array<std::uint8_t, kMagicSize> magic{};
    const bool read = fs.read(handle, magic, 0) == static_cast<std::int64_t>(magic.size());
    fs.close(handle);
    return read && (std::equal(magic.begin(), magic.end(), kPlainMagic.begin()) ||
                    std::equal(magic.begin(), magic.end(), kCipheredMagic.begin()));
}

}  // namespace

std::vector<std::string> temporariesOf(FileSystem& fs, const std::string& mainPath) {
    const std::string directory = directoryOf(mainPath);
    const std::string main = lastComponent(mainPath);
    const std::string aux = lastComponent(auxiliaryPath(mainPath));
    const std::string log = lastComponent(undoLogPathOf(mainPath));
    std::vector<std::string> names, found;
    if (fs.listDirectory(directory, names) < 0) return found;
    std::sort(names.begin(), names.end());
    for (const auto& name : names) {
        if (isTemporaryOf(name, main) || isTemporaryOf(name, aux) || isTemporaryOf(name, log)) {
            found.push_back(inDirectory(directory, name));
        }
    }
    return found;
}

void removeStaleTemporaries(FileSystem& fs, Clock& clock, const std::string& mainPath) {
    // While an undo log lies beside the table (one left to a later open, or
    // another table's of the same title) its renames may still need them.
    const std::string log = lastComponent(undoLogPathOf(mainPath));
    std::vector<std::string> names;
    if (fs.listDirectory(directoryOf(mainPath), names) < 0) return;
    if (std::any_of(names.begin(), names.end(), [&](const auto& n) { return samePath(n, log); })) {
        return;
    }
    bool removed = false;
    for (const auto& path : temporariesOf(fs, mainPath)) {
        const auto creator = creatorOfTemporary(lastComponent(path));
        if (creator && processRuns(*creator)) continue;
        if (inUse(fs, clock, path)) continue;
        removed = fs.remove(path) == 0 || removed;
    }
    if (removed) fs.syncDirectory(directoryOf(mainPath));
}

Status refuseSharedAuxiliary(FileSystem& fs, const std::string& mainPath) {
    const std::string directory = directoryOf(mainPath);
    const std::string main = lastComponent(mainPath);
    const std::string aux = lastComponent(auxiliaryPath(mainPath));
    std::vector<std::string> names;
    if (fs.listDirectory(directory, names) < 0) return {};
    for (const auto& name : names) {
        if (samePath(name, main) || isSideFileName(name)) continue;
        if (!samePath(auxiliaryPath(name), aux)) continue;
        if (hasTableMagic(fs, inDirectory(directory, name))) {
            return Status::fail(error::kAuxCreateFailed);
        }
    }
    return {};
}

}  // namespace qinghe::recordstore
