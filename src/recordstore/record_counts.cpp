#include "recordstore/record_counts.h"

#include <array>

#include "recordstore/errors.h"
#include "recordstore/format.h"

namespace qinghe::recordstore {

using namespace format;

Status readCounts(TableFile& file, RecordCounts& counts) {
    std::array<std::uint8_t, kCountAndNextSize> bytes;
    Status status = file.readExact(kCountOffset, bytes, error::kCountUnreadable);
    if (status.ok()) counts = {loadI32(&bytes[0]), loadI32(&bytes[4])};
    return status;
}

Status writeCounts(TableFile& file, const RecordCounts& counts) {
    std::array<std::uint8_t, kCountAndNextSize> bytes;
    storeI32(&bytes[0], counts.count);
    storeI32(&bytes[4], counts.next);
    return file.write(kCountOffset, bytes);
}

Status writeCount(TableFile& file, std::int32_t count) {
    std::array<std::uint8_t, 4> bytes;
    storeI32(bytes.data(), count);
    return file.write(kCountOffset, bytes);
}

}  // namespace qinghe::recordstore
