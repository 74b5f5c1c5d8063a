#include "platform/whole_file.h"

#include <algorithm>
#include <cerrno>

#include "platform/paths.h"
#include "platform/temporary_files.h"

namespace qinghe::platform {
namespace {

// Writes all of `bytes` at the start of the file: 0 or the file error
// (-ENOSPC when the file system takes no more).
int writeAll(FileSystem& fs, int handle, std::span<const std::uint8_t> bytes) {
    for (std::size_t done = 0; done < bytes.size();) {
        const std::int64_t n =
            fs.write(handle, bytes.subspan(done), static_cast<std::int64_t>(done));
        if (n < 0) return static_cast<int>(n);
        if (n == 0) return -ENOSPC;
        done += static_cast<std::size_t>(n);
    }
    return 0;
}

}  // namespace

int readWhole(FileSystem& fs, const std::string& path, std::size_t limit, std::string& bytes) {
    const int handle = fs.open(path, false, false);
    if (handle < 0) return handle;
    const std::int64_t size = fs.size(handle);
    int result = size < 0 ? static_cast<int>(size) : 0;
    if (result == 0 && static_cast<std::uint64_t>(size) > limit) result = -EFBIG;
    std::string read;
    if (result == 0) read.resize(static_cast<std::size_t>(size));
    for (std::size_t done = 0; result == 0 && done < read.size();) {
        auto* at = reinterpret_cast<std::uint8_t*>(read.data()) + done;
        const std::int64_t n =
            fs.read(handle, {at, read.size() - done}, static_cast<std::int64_t>(done));
        if (n < 0) result = static_cast<int>(n);
        if (n == 0) read.resize(done);  // it became shorter meanwhile
        done += static_cast<std::size_t>(std::max<std::int64_t>(n, 0));
    }
    fs.close(handle);
    if (result == 0) bytes = std::move(read);
    return result;
}

Replaced writeReplacing(FileSystem& fs, const std::string& path,
                        std::span<const std::uint8_t> bytes) {
    std::string target;
    if (int r = followLinks(fs, path, target); r < 0) return {r, ReplaceStep::Create};
    const std::string targets[] = {target};
    removeLeftTemporaries(fs, targets);
    std::string temporary;
    const int handle = createTemporaryBeside(fs, target, temporary);
    if (handle < 0) return {handle, ReplaceStep::Create};
    // Held until the handle closes: the writer is at work (makerIsGone).
    fs.lock(handle, LockKind::Exclusive, 0, INT64_MAX);
    int r = writeAll(fs, handle, bytes);
    if (r == 0) r = keepModeOf(fs, handle, target);
    if (r == 0) r = fs.sync(handle);
    fs.close(handle);
    if (r < 0) {
        fs.remove(temporary);
        return {r, ReplaceStep::Write};
    }
    const Replaced moved = moveIntoPlace(fs, temporary, target);
    if (moved.failedAt == ReplaceStep::Move) fs.remove(temporary);
    return moved.failedAt == ReplaceStep::Flush ? Replaced() : moved;
}

int keepModeOf(FileSystem& fs, int handle, const std::string& target) {
    FileStatus old;
    if (int r = fs.status(target, old); r < 0) return r == -ENOENT ? 0 : r;
    return fs.setModeAndOwner(handle, old.mode & kPermissionBits, old.owner, old.group);
}

Replaced moveIntoPlace(FileSystem& fs, const std::string& from, const std::string& to) {
    if (int r = fs.rename(from, to); r < 0) return {r, ReplaceStep::Move};
    if (int r = fs.syncDirectory(directoryOf(to)); r < 0) return {r, ReplaceStep::Flush};
    return {};
}

}  // namespace qinghe::platform
