#include "recordstore/value.h"

namespace qinghe::recordstore {

Value zeroValue(format::FieldType type) {
    using format::FieldType;
    switch (type) {
        case FieldType::Byte:
            return std::uint8_t{0};
        case FieldType::Short:
            return std::int16_t{0};
        case FieldType::Int:
            return std::int32_t{0};
        case FieldType::Int64:
            return std::int64_t{0};
        case FieldType::Float:
            return 0.0f;
        case FieldType::Double:
            return 0.0;
        case FieldType::Bool:
            return false;
        case FieldType::DateTime:
            return Timestamp{};
        case FieldType::Reference:
            return Reference{};
        case FieldType::Text:
        case FieldType::Memo:
            return std::string();
        case FieldType::ByteArray:
            return ByteArray();
    }
    return std::int32_t{0};
}

bool isNumeric(const Value& value) {
    return value.index() <= valueIndexOf(format::FieldType::Double);
}

}  // namespace qinghe::recordstore
