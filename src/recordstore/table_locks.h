// Scoped locks of a table file: a lock taken by an operation is given back
// when the operation leaves, on every path.
#pragma once

#include <cstdint>

#include "recordstore/table_file.h"

namespace qinghe::recordstore {

// How long the record store's locks wait for a conflicting holder, in
// milliseconds of the clock, before they fail with -13.
inline constexpr int kLockWaitMs = 2000;

// The lock of one byte (a record's first byte, the count at offset 16).
class ByteLock {
  public:
    ByteLock(TableFile& file, std::int64_t offset) : file_(file), offset_(offset) {}
    ByteLock(const ByteLock&) = delete;
    ByteLock& operator=(const ByteLock&) = delete;
    Status lock(platform::LockKind kind) {
        Status status = file_.lockByte(offset_, kind, kLockWaitMs);
        held_ = status.ok();
        return status;
    }
    ~ByteLock() {
        if (held_) (void)file_.unlockByte(offset_);  // nothing to report it to
    }
    // Gives up this lock and `later` (at a higher offset) together.
    Status unlockWith(ByteLock& later) {
        held_ = later.held_ = false;
        return file_.unlockBytes(offset_, later.offset_);
    }

  private:
    TableFile& file_;
    std::int64_t offset_;
    bool held_ = false;
};

// The whole-table lock, exclusive (shared on a file opened read-only).
class WholeLock {
  public:
    explicit WholeLock(TableFile& file) : file_(file) {}
    WholeLock(const WholeLock&) = delete;
    WholeLock& operator=(const WholeLock&) = delete;
    Status lock() {
        Status status = file_.lockWhole(platform::LockKind::Exclusive, kLockWaitMs);
        held_ = status.ok();
        return status;
    }
    ~WholeLock() {
        if (held_) (void)file_.unlockWhole();  // nothing to report it to
    }

  private:
    TableFile& file_;
    bool held_ = false;
};

}  // namespace qinghe::recordstore
