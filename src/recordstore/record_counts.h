// The record count N and the next record number K at offset 16 of the main
// file: read and written together (8 bytes), so that no reader sees one
// without the other. Callers take the count lock or the whole-table lock as
// their operation needs; these functions take none.
#pragma once

#include <cstdint>

#include "recordstore/table_file.h"

namespace qinghe::recordstore {

struct RecordCounts {
    std::int32_t count = 0;  // N, records marked deleted included
    std::int32_t next = 0;   // K, the number of the next appended record
};

// N and K as the file holds them: -65 for a short read, or the file error.
Status readCounts(TableFile& file, RecordCounts& counts);
// Writes N and K in one write.
Status writeCounts(TableFile& file, const RecordCounts& counts);
// Writes N alone, leaving K as it is.
Status writeCount(TableFile& file, std::int32_t count);

}  // namespace qinghe::recordstore
