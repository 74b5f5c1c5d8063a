#include "recordstore/layout.h"

#include <algorithm>
#include <array>
#include <set>

#include "recordstore/errors.h"
#include "recordstore/names.h"

namespace qinghe::recordstore {

using namespace format;

Status layoutFromSpecs(std::span<const FieldSpec> fieldList, Layout& layout) {
    layout = {};
    std::int64_t offset = static_cast<std::int64_t>(kRecordNumberSize);
    for (const auto& given : fieldList) {
        if (given.name.empty()) break;
        if (!isValidName(given.name, true)) return Status::fail(error::kBadFieldName);
        if (!isFieldType(given.type)) return Status::fail(error::kBadFieldType);
        auto type = static_cast<FieldType>(given.type);
        std::int32_t textSize = 0;
        if (type == FieldType::Text) {
            if (given.size < 1 || given.size > kMaxTextSize)
                return Status::fail(error::kBadFieldSize);
            textSize = given.size;
        }
        std::int32_t size = valueSize(type, textSize);
        layout.fields.push_back(
            {given.name, type, static_cast<std::int32_t>(offset), size, textSize});
        offset += size;
    }
    if (layout.fields.empty()) return Status::fail(error::kNoFields);
    std::set<std::string> seen;
    for (const auto& field : layout.fields) {
        if (!seen.insert(foldName(field.name)).second)
            return Status::fail(error::kDuplicateFieldName);
    }
    if (offset > kMaxRecordLength) return Status::fail(error::kBadFieldSize);
    layout.recordLength = static_cast<std::int32_t>(offset);
    layout.dataOffset = dataOffset(static_cast<std::int64_t>(layout.fields.size()));
    return {};
}

std::vector<std::uint8_t> encodeMainFile(const Layout& layout, double created) {
    std::array<std::uint8_t, kDescriptorsOffset> header{};
    std::copy(kPlainMagic.begin(), kPlainMagic.end(), header.begin());
    storeI32(&header[kVersionOffset], kVersion);
    storeDouble(&header[kCreatedOffset], created);
    storeI32(&header[kCountOffset], 0);
    storeI32(&header[kNextNumberOffset], kFirstRecordNumber);
    storeI32(&header[kRecordLengthOffset], layout.recordLength);
    storeI32(&header[kFieldCountOffset], static_cast<std::int32_t>(layout.fields.size()));
    std::vector<std::uint8_t> bytes(header.begin(), header.end());
    for (const auto& field : layout.fields) {
        std::array<std::uint8_t, kDescriptorSize> d{};
        std::copy(field.name.begin(), field.name.end(), d.begin() + kFieldNameOffset);
        storeI32(&d[kFieldTypeOffset], static_cast<std::int32_t>(field.type));
        storeI32(&d[kFieldValueOffset], field.offset);
        storeI32(&d[kFieldTextSizeOffset], field.textSize);
        bytes.insert(bytes.end(), d.begin(), d.end());
    }
    return bytes;
}

Status decodeDescriptors(std::span<const std::uint8_t> bytes, std::int32_t fieldCount,
                         Layout& layout) {
    const std::int32_t recordLength = layout.recordLength;
    for (std::int32_t i = 0; i < fieldCount; ++i) {
        const std::uint8_t* d = bytes.data() + static_cast<std::size_t>(i) * kDescriptorSize;
        const std::uint8_t* nameEnd =
            std::find(d + kFieldNameOffset, d + kFieldNameOffset + kFieldNameSize, 0);
        if (nameEnd == d + kFieldNameOffset + kFieldNameSize)
            return Status::fail(error::kNotATable);
        std::int32_t type = loadI32(d + kFieldTypeOffset);
        std::int32_t offset = loadI32(d + kFieldValueOffset);
        std::int32_t textSize = loadI32(d + kFieldTextSizeOffset);
        if (offset < 0 || !isFieldType(type)) return Status::fail(error::kNotATable);
        auto fieldType = static_cast<FieldType>(type);
        if (fieldType == FieldType::Text) {
            // Any size that lies in the record is read; only a new table is
            // held to kMaxTextSize.
            if (textSize <= 0) return Status::fail(error::kNotATable);
        } else {
            textSize = 0;
        }
        std::int32_t size = valueSize(fieldType, textSize);
        // A value outside its record would be read from the next record or
        // beyond the file: the descriptor is damaged.
        if (offset < static_cast<std::int32_t>(kRecordNumberSize) ||
            static_cast<std::int64_t>(offset) + size > recordLength) {
            return Status::fail(error::kNotATable);
        }
        layout.fields.push_back(
            {std::string(d + kFieldNameOffset, nameEnd), fieldType, offset, size, textSize});
    }
    return {};
}

bool hasChainedField(const Layout& layout) {
    return std::any_of(layout.fields.begin(), layout.fields.end(),
                       [](const FieldInfo& f) { return isChained(f.type); });
}

}  // namespace qinghe::recordstore
