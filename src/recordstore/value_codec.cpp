#include "recordstore/value_codec.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <type_traits>
#include <utility>

#include "common/datetime.h"

namespace qinghe::recordstore {
namespace {

using namespace format;

// A floating-point number as the integer type T: the nearest end of T's
// range when outside it, zero for NaN.
template <typename T>
T saturateFloating(double d) {
    constexpr auto lo = std::numeric_limits<T>::lowest();
    constexpr auto hi = std::numeric_limits<T>::max();
    if (std::isnan(d)) return T{0};
    if (d <= static_cast<double>(lo)) return lo;
    if (d >= static_cast<double>(hi)) return hi;
    return static_cast<T>(d);
}

// An integer as the integer type T: the nearest end of T's range when
// outside it.
template <typename T>
T saturateIntegral(std::int64_t wide) {
    constexpr auto lo = std::numeric_limits<T>::lowest();
    constexpr auto hi = std::numeric_limits<T>::max();
    if (std::cmp_less(wide, lo)) return lo;
    if (std::cmp_greater(wide, hi)) return hi;
    return static_cast<T>(wide);
}

// A value as the number type T: a number brought into T's range, anything
// else zero.
template <typename T>
T saturate(const Value& value) {
    return std::visit(
        [](const auto& v) -> T {
            using V = std::decay_t<decltype(v)>;
            if constexpr (!std::is_arithmetic_v<V>) {
                return T{0};
            } else if constexpr (std::is_floating_point_v<T>) {
                return static_cast<T>(v);
            } else if constexpr (std::is_floating_point_v<V>) {
                return saturateFloating<T>(static_cast<double>(v));
            } else {
                return saturateIntegral<T>(static_cast<std::int64_t>(v));
            }
        },
        value);
}

}  // namespace

bool fitsField(const Value& value, FieldType type) {
    if (value.index() == valueIndexOf(type)) return true;
    return isNumeric(value) && isNumeric(zeroValue(type));
}

// Stores a fixed-size value (every type but byte array and memo).
void encodeValue(const Value& value, const FieldInfo& field, std::uint8_t* at) {
    switch (field.type) {
        case FieldType::Byte:
            *at = saturate<std::uint8_t>(value);
            break;
        case FieldType::Short: {
            auto v = static_cast<std::uint16_t>(saturate<std::int16_t>(value));
            at[0] = static_cast<std::uint8_t>(v);
            at[1] = static_cast<std::uint8_t>(v >> 8);
            break;
        }
        case FieldType::Int:
            storeI32(at, saturate<std::int32_t>(value));
            break;
        case FieldType::Int64:
            storeI64(at, saturate<std::int64_t>(value));
            break;
        case FieldType::Float: {
            float f = saturate<float>(value);
            std::uint32_t bits;
            std::memcpy(&bits, &f, sizeof bits);
            storeI32(at, static_cast<std::int32_t>(bits));
            break;
        }
        case FieldType::Double:
            storeDouble(at, saturate<double>(value));
            break;
        case FieldType::Bool:
            *at = std::get<bool>(value) ? 1 : 0;
            break;
        case FieldType::DateTime:
            // NaN denotes no instant: stored as the zero date, which is what
            // a NaN on disk reads as.
            storeDouble(at, std::isnan(std::get<Timestamp>(value).days)
                                ? 0.0
                                : std::get<Timestamp>(value).days);
            break;
        case FieldType::Reference:
            storeI32(at, static_cast<std::int32_t>(std::get<Reference>(value).address));
            break;
        case FieldType::Text: {
            const auto& text = std::get<std::string>(value);
            std::size_t n = std::min(text.size(), static_cast<std::size_t>(field.size));
            // Field bytes, not a C string: the new record's zero bytes after
            // a shorter text end it, and a text that fills the field has no
            // terminator.
            std::memcpy(at, text.data(), n);  // NOLINT(bugprone-not-null-terminated-result)
            break;
        }
        case FieldType::ByteArray:
        case FieldType::Memo:
            break;
    }
}

Value decodeValue(const FieldInfo& field, const std::uint8_t* at) {
    switch (field.type) {
        case FieldType::Byte:
            return at[0];
        case FieldType::Short:
            return static_cast<std::int16_t>(static_cast<std::uint16_t>(at[0] | at[1] << 8));
        case FieldType::Int:
            return loadI32(at);
        case FieldType::Int64:
            return loadI64(at);
        case FieldType::Float: {
            auto bits = static_cast<std::uint32_t>(loadI32(at));
            float f;
            std::memcpy(&f, &bits, sizeof f);
            return f;
        }
        case FieldType::Double:
            return loadDouble(at);
        case FieldType::Bool:
            return at[0] != 0;
        case FieldType::DateTime:
            return Timestamp{clampDateTime(loadDouble(at))};
        case FieldType::Reference:
            return Reference{static_cast<std::uint32_t>(loadI32(at))};
        case FieldType::Text: {
            const auto* end = std::find(at, at + field.size, 0);
            return std::string(at, end);
        }
        case FieldType::ByteArray:
        case FieldType::Memo:
            break;
    }
    return zeroValue(field.type);
}

}  // namespace qinghe::recordstore
