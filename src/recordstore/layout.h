// The layout of a table's main file in memory: field descriptors and record
// length, how they are encoded for a new file and decoded (with the open's
// checks) from an existing one. Shared by create, open and the operations
// that write new table files.
#pragma once

#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "recordstore/schema.h"
#include "recordstore/status.h"

namespace qinghe::recordstore {

struct Layout {
    std::vector<FieldInfo> fields;
    std::int32_t recordLength = 0;
    std::int64_t dataOffset = 0;
};

// The checks of create, field by field and then for duplicates: -16, -17,
// -18, -19 or -20. The list ends at the first empty name. Offsets are
// assigned from 4 without padding.
Status layoutFromSpecs(std::span<const FieldSpec> fieldList, Layout& layout);

// Header, field count and descriptors of a new plain file with no records.
std::vector<std::uint8_t> encodeMainFile(const Layout& layout, double created);

// Decodes `fieldCount` descriptors of an open file and adds them to the
// fields of `layout`, whose record length is set: -22 for a name without
// its zero byte, a negative offset, a type outside 1 to 12, a text size
// below 1, or a value that does not lie inside the record.
Status decodeDescriptors(std::span<const std::uint8_t> bytes, std::int32_t fieldCount,
                         Layout& layout);

bool hasChainedField(const Layout& layout);

}  // namespace qinghe::recordstore
