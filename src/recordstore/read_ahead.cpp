#include "recordstore/read_ahead.h"

#include <algorithm>

#include "recordstore/errors.h"
#include "recordstore/format.h"
#include "recordstore/record_counts.h"
#include "recordstore/table_locks.h"

namespace qinghe::recordstore {

int ReadAhead::fetch(TableFile& main, const Layout& layout, Clock& clock, std::int64_t position,
                     const std::uint8_t*& record) {
    const std::uint64_t now = clock.tickCount();
    const std::int64_t length = layout.recordLength;
    if (isFresh(now) && position >= first_ && position < first_ + records_) {
        record = bytes_.data() + (position - first_) * length;
        return error::kOk;
    }
    // Whatever happens below, the bytes held no longer belong to a run.
    fresh_ = false;
    records_ = 0;
    ByteLock countLock(main, format::kCountOffset);
    if (int code = countLock.lock(LockKind::Shared); code != error::kOk) return code;
    RecordCounts counts;
    if (int code = readCounts(main, counts); code != error::kOk) return code;
    if (position >= counts.count) return kNotReadAhead;
    const std::int64_t run = std::min<std::int64_t>(
        counts.count - position,
        std::max<std::int64_t>(1, static_cast<std::int64_t>(kReadAheadBytes) / length));
    const std::int64_t start = layout.dataOffset + position * length;
    const std::int64_t locked = (run - 1) * length + 1;  // the first byte of every record
    if (int code = main.lockRange(start, locked, LockKind::Shared, kLockWaitMs);
        code != error::kOk) {
        return code;
    }
    bytes_.resize(static_cast<std::size_t>(run * length));
    const std::int64_t got = main.read(start, bytes_);
    main.unlockRange(start, locked);
    if (got < 0) return static_cast<int>(got);
    if (got < length) return kNotReadAhead;
    fresh_ = true;
    readAt_ = now;
    count_ = counts.count;
    next_ = counts.next;
    first_ = position;
    records_ = got / length;
    record = bytes_.data();
    return error::kOk;
}

int ReadAhead::count(TableFile& main, Clock& clock, bool mayUseRun, std::int32_t& count) {
    const std::uint64_t now = clock.tickCount();
    if (mayUseRun && isFresh(now)) {
        count = count_;
        return error::kOk;
    }
    RecordCounts counts;
    {
        ByteLock countLock(main, format::kCountOffset);
        if (int code = countLock.lock(LockKind::Shared); code != error::kOk) return code;
        if (int code = readCounts(main, counts); code != error::kOk) return code;
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
    return error::kOk;
}

}  // namespace qinghe::recordstore
