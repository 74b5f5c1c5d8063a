// Whole-table work (pack, sort, copy, table check) reads and writes records in
// batches of max(1, kBatchBytes / R) records through one buffer, so that its
// memory does not grow with the table.
#pragma once

#include <algorithm>
#include <cstdint>
#include <span>
#include <vector>

#include "recordstore/errors.h"
#include "recordstore/layout.h"
#include "recordstore/table_file.h"

namespace qinghe::recordstore {

inline constexpr std::size_t kBatchBytes = 163840;

constexpr std::int64_t recordsPerBatch(std::int64_t recordLength) {
    return std::max<std::int64_t>(1, static_cast<std::int64_t>(kBatchBytes) / recordLength);
}

// A record numbered 0 was never written (numbers start at 1): zeros where a
// record should be, in a hole or past what was written. Whole-table work
// stops there (-62) rather than take what follows for records.
inline Status requireNumbered(const std::uint8_t* record) {
    return format::loadI32(record) == 0 ? Status::fail(error::kRecordReadFailed) : Status();
}

// Reads records 0 to count - 1 of `file` batch by batch into `buffer` and
// calls visit(first, records), where `records` is the batch's bytes (which
// the visitor may change); a visitor returns a Status. Stops at the first
// failure: a read's (-62 when it is short) or a visitor's.
template <typename Visit>
Status forEachBatch(TableFile& file, const Layout& layout, std::int64_t count,
                    std::vector<std::uint8_t>& buffer, Visit visit) {
    const std::int64_t length = layout.recordLength;
    const std::int64_t batch = recordsPerBatch(length);
    for (std::int64_t first = 0; first < count;) {
        std::int64_t n = std::min(batch, count - first);
        buffer.resize(static_cast<std::size_t>(n * length));
        Status status =
            file.readExact(layout.dataOffset + first * length, buffer, error::kRecordReadFailed);
        if (status.ok()) status = visit(first, std::span<std::uint8_t>(buffer));
        if (!status.ok()) return status;
        first += n;
    }
    return {};
}

}  // namespace qinghe::recordstore
