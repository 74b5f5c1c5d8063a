// Files read or written whole, and the one way a file is replaced.
//
// A replacement writes the new content beside the file under a temporary
// name (temporary_files.h), gives it the replaced file's permission bits
// (kPermissionBits: never a set-id or sticky bit, which the new content was
// not given them for) and, where the system lets this process, its owner and
// group, flushes it and renames it over
// the file, then flushes the directory: after a crash or a failure at any
// point the path holds either the old file or the complete new one. When
// the path is a symbolic link, the link's target is replaced and the link
// stays. Before it writes, a replacement removes the temporaries of the same
// target that interrupted writers left (their maker gone).
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string>

#include "platform/file_system.h"

namespace qinghe::platform {

// Reads the whole regular file at `path` into `bytes`: 0, -EFBIG when it
// holds more than `limit` bytes (nothing is read then), or the file error
// (-ENOENT when there is none, -EINVAL for a FIFO or a device).
int readWhole(FileSystem& fs, const std::string& path, std::size_t limit, std::string& bytes);

// The step of a replacement that failed.
enum class ReplaceStep {
    None,
    Create,  // of the temporary
    Write,   // of the temporary's content, mode or flush
    Move,    // the rename: nothing was moved
    Flush,   // of the directory after the rename: the new file is in place,
             // but a crash may yet bring the old one back
};

struct Replaced {
    int error = 0;  // -errno
    ReplaceStep failedAt = ReplaceStep::None;
    bool ok() const { return error == 0; }
};

// Replaces the content of `path` with `bytes` as described above (a new
// file when there is none, with kNewFileMode). On a failure the temporary is
// removed and `path` is as it was; when only the directory's flush after the
// move failed, the new file stands and the result is a success (nothing
// waits on it to be durable).
Replaced writeReplacing(FileSystem& fs, const std::string& path,
                        std::span<const std::uint8_t> bytes);

// For the record store's temporaries, written piece by piece: gives the open
// file `handle` the permission bits, owner and group of the file that
// `target` names (through links), when there is one. 0 or the file error.
int keepModeOf(FileSystem& fs, int handle, const std::string& target);

// Renames `from` over `to` (same directory) and flushes the directory; a
// failure is of the step Move or Flush.
Replaced moveIntoPlace(FileSystem& fs, const std::string& from, const std::string& to);

}  // namespace qinghe::platform
