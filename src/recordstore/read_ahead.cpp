#include "recordstore/read_ahead.h"

#include <algorithm>

#include "recordstore/errors.h"
#include "recordstore/format.h"
#include "recordstore/record_counts.h"
#include "recordstore/table_locks.h"

namespace qinghe::recordstore {

Status ReadAhead::readRun(TableFile& main, const Layout& layout, std::uint64_t now,
                          std::int64_t position, const std::uint8_t*& record) {
    const std::int64_t length = layout.recordLength;
    record = nullptr;
    // Whatever happens below, the bytes held no longer belong to a run.
    fresh_ = false;
    records_ = 0;
    ByteLock countLock(main, format::kCountOffset);
    if (Status status = countLock.lock(platform::LockKind::Shared); !status.ok()) return status;
    RecordCounts counts;
    if (Status status = readCounts(main, counts); !status.ok()) return status;
    if (position >= counts.count) return {};
    const std::int64_t run = std::min<std::int64_t>(
        counts.count - position,
        std::max<std::int64_t>(1, static_cast<std::int64_t>(kReadAheadBytes) / length));
    const std::int64_t start = layout.dataOffset + position * length;
    const std::int64_t locked = (run - 1) * length + 1;  // the first byte of every record
    if (Status status = main.lockRange(start, locked, platform::LockKind::Shared, kLockWaitMs);
        !status.ok()) {
        return status;
    }
    bytes_.resize(static_cast<std::size_t>(run * length));
    std::size_t got = 0;
    Status read = main.read(start, bytes_, got);
    (void)main.unlockRange(start, locked);  // the run is read; a failed unlock changes nothing
    if (!read.ok()) return read;
    if (got < static_cast<std::size_t>(length)) return {};
    fresh_ = true;
    readAt_ = now;
    count_ = counts.count;
    next_ = counts.next;
    first_ = position;
    records_ = static_cast<std::int64_t>(got) / length;
    record = bytes_.data();
    return {};
}

Status ReadAhead::count(TableFile& main, Clock& clock, bool mayUseRun, std::int32_t& count) {
    const std::uint64_t now = clock.tickCount();
    if (mayUseRun && isFresh(now)) {
        count = count_;
        return {};
    }
    RecordCounts counts;
    {
        ByteLock countLock(main, format::kCountOffset);
        if (Status status = countLock.lock(platform::LockKind::Shared); !status.ok()) return status;
        if (Status status = readCounts(main, counts); !status.ok()) return status;
    }
    count = counts.count;
    if (counts.count != count_ || counts.next != next_) {
        // Another count or next number: what is held is of no use.
        count_ = counts.count;
        next_ = counts.next;
        records_ = 0;
    }
    fresh_ = true;
    readAt_ = now;
    return {};
}

}  // namespace qinghe::recordstore
