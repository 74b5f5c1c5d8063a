// How values are stored in a record: each fixed-size field type in its bytes
// (FORMAT.md, Record), and which values a field of a type takes.
#pragma once

#include <cstdint>

#include "recordstore/schema.h"
#include "recordstore/value.h"

namespace qinghe::recordstore {

// True when `value` may be stored in a field of `type`: a value of the
// field's own value type, or any numeric value for a numeric field.
bool fitsField(const Value& value, format::FieldType type);

// Stores a value that fits the field at `at`, the field's first byte in the
// record (every type but byte array and memo, whose values live in the
// auxiliary file). Numbers are converted to the field's type: fractions cut
// toward zero, values out of range saturated, NaN as 0. A text longer than
// the field keeps its first bytes; a shorter one leaves the rest as it is.
void encodeValue(const Value& value, const FieldInfo& field, std::uint8_t* at);

// The value of a fixed-size field whose bytes start at `at`: any non-zero
// byte of a bool is true, a date-time is limited to the years 100 to 9999, a
// text ends at its first zero byte or after the field's size.
Value decodeValue(const FieldInfo& field, const std::uint8_t* at);

}  // namespace qinghe::recordstore
