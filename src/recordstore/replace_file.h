// Public header of the record store (README.md lists the others).
//
// Replacing a file whole: the new content is written beside it under a
// temporary name (names.h), flushed, and renamed over it, and the directory is flushed,
// so that after a crash or a failure at any point the path holds either the
// old file or the complete new one.
#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "common/clock.h"
#include "recordstore/file_system.h"

namespace qinghe::recordstore {

// Renames `from` to `to` (same directory) and flushes the directory. 0 or the
// file error.
int moveIntoPlace(FileSystem& fs, const std::string& from, const std::string& to);

// Writes `bytes` as the new content of `path` as described above. A failure
// after the temporary file exists gives `writeFailure` and removes it; `path`
// is left as it was.
int writeReplacing(FileSystem& fs, Clock& clock, const std::string& path,
                   std::span<const std::uint8_t> bytes, int writeFailure);

}  // namespace qinghe::recordstore
