// Public header of the record store (README.md lists the others).
//
// The bytes of a table on disk: every offset, size and code of the main file
// (header, field descriptors, records) and of the auxiliary block file, named
// once. FORMAT.md beside this header describes the same layout in prose.
//
// All integers are little-endian; text is GBK. Nothing here touches a file:
// these are constants and pure helpers shared by the reader and the writer.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <optional>

namespace qinghe::recordstore::format {

// ---- Main file -------------------------------------------------------------

inline constexpr std::size_t kHeaderSize = 112;
inline constexpr std::size_t kMagicOffset = 0;
inline constexpr std::size_t kMagicSize = 4;
inline constexpr std::size_t kVersionOffset = 4;
inline constexpr std::size_t kCreatedOffset = 8;      // double, days since 1899-12-30
inline constexpr std::size_t kCountOffset = 16;       // int32 record count N
inline constexpr std::size_t kNextNumberOffset = 20;  // int32 next record number K
inline constexpr std::size_t kCountAndNextSize = 8;   // N and K, read and written together
inline constexpr std::size_t kRecordLengthOffset = 24;
inline constexpr std::size_t kPasswordCheckOffset = 28;
inline constexpr std::size_t kPasswordCheckSize = 33;  // 32 characters and a zero byte
inline constexpr std::size_t kPasswordCheckWriteSize = 36;
inline constexpr std::size_t kFieldCountOffset = 112;
inline constexpr std::size_t kDescriptorsOffset = 116;
inline constexpr std::size_t kDescriptorSize = 72;

// Field descriptor, offsets within its 72 bytes.
inline constexpr std::size_t kFieldNameOffset = 0;
inline constexpr std::size_t kFieldNameSize = 17;  // at most 16 bytes and a zero byte
inline constexpr std::size_t kFieldTypeOffset = 20;
inline constexpr std::size_t kFieldValueOffset = 24;  // offset of the value in the record
inline constexpr std::size_t kFieldTextSizeOffset = 28;

inline constexpr std::int32_t kVersion = 0x00010000;
inline constexpr std::size_t kMaxFieldNameLength = 16;
inline constexpr std::int32_t kMaxTextSize = 1024;
inline constexpr std::size_t kRecordNumberSize = 4;  // int32 at the start of every record
inline constexpr std::int32_t kFirstRecordNumber = 1;

inline constexpr std::array<std::uint8_t, kMagicSize> kPlainMagic = {'W', 'E', 'D', 'B'};
inline constexpr std::array<std::uint8_t, kMagicSize> kCipheredMagic = {'W', 'C', 'D', 'B'};

// Offset of record 0: header, field count and F descriptors.
constexpr std::int64_t dataOffset(std::int64_t fieldCount) {
    return static_cast<std::int64_t>(kDescriptorsOffset) +
           static_cast<std::int64_t>(kDescriptorSize) * fieldCount;
}

// ---- Field types -----------------------------------------------------------

enum class FieldType : std::int32_t {
    Byte = 1,
    Short = 2,
    Int = 3,
    Int64 = 4,
    Float = 5,
    Double = 6,
    Bool = 7,
    DateTime = 8,
    Reference = 9,  // unsigned 32-bit procedure reference
    Text = 10,
    ByteArray = 11,
    Memo = 12,
};

inline constexpr std::int32_t kFirstFieldType = 1;
inline constexpr std::int32_t kLastFieldType = 12;
inline constexpr std::size_t kBlockReferenceSize = 4;  // first auxiliary block of a value

constexpr bool isFieldType(std::int32_t code) {
    return code >= kFirstFieldType && code <= kLastFieldType;
}

// Byte array and memo values live in the auxiliary file.
constexpr bool isChained(FieldType type) {
    return type == FieldType::ByteArray || type == FieldType::Memo;
}

// Size of a value in the record; textSize counts only for Text.
constexpr std::int32_t valueSize(FieldType type, std::int32_t textSize) {
    switch (type) {
        case FieldType::Byte:
        case FieldType::Bool:
            return 1;
        case FieldType::Short:
            return 2;
        case FieldType::Int:
        case FieldType::Float:
        case FieldType::Reference:
        case FieldType::ByteArray:
        case FieldType::Memo:
            return 4;
        case FieldType::Int64:
        case FieldType::Double:
        case FieldType::DateTime:
            return 8;
        case FieldType::Text:
            return textSize;
    }
    return 0;
}

// ---- Auxiliary file --------------------------------------------------------

inline constexpr std::size_t kBlockSize = 512;
inline constexpr std::size_t kAuxHeaderSize = 32;
inline constexpr std::size_t kAuxVersionOffset = 4;
inline constexpr std::size_t kAuxCreatedOffset = 8;
inline constexpr std::size_t kAuxBlockCountOffset = 16;  // blocks, block 0 included
inline constexpr std::size_t kAuxFreeCountOffset = 20;
inline constexpr std::size_t kAuxFreeHeadOffset = 24;
inline constexpr std::size_t kAuxListSize = 12;  // block count, free count, free head

// Data block, offsets within its 512 bytes.
inline constexpr std::size_t kBlockPrevOffset = 0;
inline constexpr std::size_t kBlockNextOffset = 4;
inline constexpr std::size_t kBlockUsedOffset = 8;
inline constexpr std::size_t kBlockDataOffset = 12;
inline constexpr std::size_t kBlockDataSize = 500;

inline constexpr std::array<std::uint8_t, kMagicSize> kAuxMagic = {'W', 'E', 'D', 'T'};

// ---- Cipher ----------------------------------------------------------------

inline constexpr std::size_t kCipherStart = 4;  // the magic stays plain
inline constexpr std::size_t kCipherBlockSize = 4096;
inline constexpr std::size_t kCheckStringLength = 32;

// ---- Locks -----------------------------------------------------------------

// The whole-table lock covers offsets 0 to 0x7FFFFFFE of the main file.
inline constexpr std::int64_t kWholeTableLockLength = 0x7FFFFFFF;

// ---- Limits ----------------------------------------------------------------
//
// What the engine takes on, whatever a header claims, so that the work and
// memory of every operation follow from what a file really holds.

// A table file (main or auxiliary) ends within the whole-table lock's range.
inline constexpr std::int64_t kMaxFileSize = kWholeTableLockLength;
// Blocks of an auxiliary file, block 0 included.
inline constexpr std::int32_t kMaxBlockCount =
    static_cast<std::int32_t>(kMaxFileSize / static_cast<std::int64_t>(kBlockSize));
// A record, its number included (a new table's fields may not pass it).
inline constexpr std::int32_t kMaxRecordLength = std::int32_t{1} << 20;

// ---- Little-endian helpers -------------------------------------------------

inline std::int32_t loadI32(const std::uint8_t* p) {
    return static_cast<std::int32_t>(
        static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 |
        static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[3]) << 24);
}

inline void storeI32(std::uint8_t* p, std::int32_t value) {
    auto v = static_cast<std::uint32_t>(value);
    p[0] = static_cast<std::uint8_t>(v);
    p[1] = static_cast<std::uint8_t>(v >> 8);
    p[2] = static_cast<std::uint8_t>(v >> 16);
    p[3] = static_cast<std::uint8_t>(v >> 24);
}

inline std::int64_t loadI64(const std::uint8_t* p) {
    auto low = static_cast<std::uint32_t>(loadI32(p));
    auto high = static_cast<std::uint32_t>(loadI32(p + 4));
    return static_cast<std::int64_t>(static_cast<std::uint64_t>(high) << 32 | low);
}

inline void storeI64(std::uint8_t* p, std::int64_t value) {
    auto v = static_cast<std::uint64_t>(value);
    storeI32(p, static_cast<std::int32_t>(static_cast<std::uint32_t>(v)));
    storeI32(p + 4, static_cast<std::int32_t>(static_cast<std::uint32_t>(v >> 32)));
}

inline double loadDouble(const std::uint8_t* p) {
    auto bits = static_cast<std::uint64_t>(loadI64(p));
    double value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

inline void storeDouble(std::uint8_t* p, double value) {
    std::uint64_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    storeI64(p, static_cast<std::int64_t>(bits));
}

}  // namespace qinghe::recordstore::format
