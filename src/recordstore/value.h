// Public header of the record store (README.md lists the others).
//
// Values that cross the record store's interface, one alternative per value
// type; the index of an alternative is the field type code minus 1 for the
// codes 1 to 11 (a memo field, code 12, reads and takes text).
#pragma once

#include <cstdint>
#include <string>
#include <variant>
#include <vector>

#include "common/datetime.h"
#include "recordstore/format.h"

namespace qinghe::recordstore {

using ByteArray = std::vector<std::uint8_t>;

// A date-time value (days since 1899-12-30), kept apart from a plain double.
struct Timestamp {
    DateTime days = 0.0;
    friend bool operator==(const Timestamp&, const Timestamp&) = default;
};

// The unsigned 32-bit procedure reference of field type 9.
struct Reference {
    std::uint32_t address = 0;
    friend bool operator==(const Reference&, const Reference&) = default;
};

using Value = std::variant<std::uint8_t,  // 1 byte
                           std::int16_t,  // 2 short integer
                           std::int32_t,  // 3 integer
                           std::int64_t,  // 4 long integer
                           float,         // 5 float
                           double,        // 6 double
                           bool,          // 7 bool
                           Timestamp,     // 8 date-time
                           Reference,     // 9 32-bit reference
                           std::string,   // 10 text (GBK), 12 memo
                           ByteArray>;    // 11 byte array

// The variant index that holds values of a field type.
constexpr std::size_t valueIndexOf(format::FieldType type) {
    return type == format::FieldType::Memo ? 9 : static_cast<std::size_t>(type) - 1;
}

// Zero, false, the date-time 0, or the empty text or byte array.
Value zeroValue(format::FieldType type);

// True for byte, short, int, int64, float and double.
bool isNumeric(const Value& value);

}  // namespace qinghe::recordstore
