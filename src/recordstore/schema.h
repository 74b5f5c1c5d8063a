// Public header of the record store (README.md lists the others).
//
// The structure of a table: the fields that createTable is given, and the
// fields and header figures that an open table reports.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "recordstore/format.h"

namespace qinghe::recordstore {

// A field of createTable: name, type code 1 to 12, and for a text field (10)
// its size in bytes, 1 to 1024 (ignored for every other type).
struct FieldSpec {
    std::string name;
    int type = 0;
    int size = 0;
};

// A field as the table file describes it.
struct FieldInfo {
    std::string name;  // GBK
    format::FieldType type = format::FieldType::Int;
    std::int32_t offset = 0;    // from the start of the record
    std::int32_t size = 0;      // bytes in the record
    std::int32_t textSize = 0;  // declared size of a text field, 0 for other types
};

// The current table as its header describes it (count and next number read
// afresh under the count lock).
struct TableInfo {
    bool enciphered = false;
    std::int32_t version = 0;
    double created = 0.0;
    std::int32_t count = 0;
    std::int32_t nextNumber = 0;
    std::int32_t recordLength = 0;
    std::int64_t dataOffset = 0;
    std::vector<FieldInfo> fields;
    std::string path;  // absolute, UTF-8
};

}  // namespace qinghe::recordstore
