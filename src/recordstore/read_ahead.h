// Reading ahead: readField and skip read records in runs of up to
// kReadAheadBytes under shared locks of the count and of the records' first
// bytes, and serve the following reads of that run from memory for at most
// kReadAheadMs of the clock. Fixed-size fields of records below the count
// change on disk only through pack and zap, which always change the count or
// the next record number, so a read that reaches disk again sees the change.
// Every write through the registry drops what was read ahead.
#pragma once

#include <cstdint>
#include <vector>

#include "common/clock.h"
#include "recordstore/layout.h"
#include "recordstore/table_file.h"

namespace qinghe::recordstore {

inline constexpr int kReadAheadMs = 20;
inline constexpr std::size_t kReadAheadBytes = 32768;

// The records of one table read ahead, with the count and next number that
// held when they were read.
class ReadAhead {
  public:
    // Points `record` at the bytes of the record at `position`, from the run
    // read last while it is fresh, else from a new run read now; null when
    // the position is at or beyond the count (the caller reads it from
    // disk). Fails with the code of a lock or read.
    // (Inline: reading a field of a record already held is the hot path of
    // every pass over a table.)
    Status fetch(TableFile& main, const Layout& layout, Clock& clock, std::int64_t position,
                 const std::uint8_t*& record) {
        const std::uint64_t now = clock.tickCount();
        if (isFresh(now) && position >= first_ && position < first_ + records_) {
            record = bytes_.data() + (position - first_) * layout.recordLength;
            return {};
        }
        return readRun(main, layout, now, position, record);
    }
    // The count N for moving the current record: from the last run while it
    // is fresh (when `mayUseRun`), else read under the count lock, which
    // renews the run when the count and next number are unchanged.
    Status count(TableFile& main, Clock& clock, bool mayUseRun, std::int32_t& count);
    // Forgets what was read (before a write through this registry).
    void drop() { fresh_ = false; }

  private:
    // fetch when the record is not held: reads the run that starts at
    // `position` at the clock tick `now`.
    Status readRun(TableFile& main, const Layout& layout, std::uint64_t now, std::int64_t position,
                   const std::uint8_t*& record);
    bool isFresh(std::uint64_t now) const {
        return fresh_ && now - readAt_ < static_cast<std::uint64_t>(kReadAheadMs);
    }

    bool fresh_ = false;
    std::uint64_t readAt_ = 0;  // clock tick of the read
    std::int32_t count_ = 0;
    std::int32_t next_ = 0;
    std::int64_t first_ = 0;    // position of the first record held
    std::int64_t records_ = 0;  // how many are held
    std::vector<std::uint8_t> bytes_;
};

}  // namespace qinghe::recordstore
