#include "recordstore/record_counts.h"

#include <array>

#include "recordstore/errors.h"
#include "recordstore/format.h"

namespace qinghe::recordstore {

using namespace format;

int readCounts(TableFile& file, RecordCounts& counts) {
    std::array<std::uint8_t, kCountAndNextSize> bytes;
    if (int code = file.readExact(kCountOffset, bytes, error::kCountUnreadable);
        code != error::kOk) {
        return code;
    }
    counts = {loadI32(&bytes[0]), loadI32(&bytes[4])};
    return error::kOk;
}

int writeCounts(TableFile& file, const RecordCounts& counts) {
    std::array<std::uint8_t, kCountAndNextSize> bytes;
    storeI32(&bytes[0], counts.count);
    storeI32(&bytes[4], counts.next);
    return file.write(kCountOffset, bytes);
}

int writeCount(TableFile& file, std::int32_t count) {
    std::array<std::uint8_t, 4> bytes;
    storeI32(bytes.data(), count);
    return file.write(kCountOffset, bytes);
}

}  // namespace qinghe::recordstore
