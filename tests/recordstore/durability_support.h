// Helpers of the sorting, re-keying and durability suites: sample tables
// whose every value follows from one id, so that a record read back can be
// checked whole, and snapshots of a table's records.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "recordstore/record_store.h"
#include "support.h"

namespace qinghe::recordstore::testing {

// The journal's fields, and with `memo` a memo field 备忘 after them.
inline std::vector<FieldSpec> sampleFields(bool memo) {
    auto fields = journalFields();
    if (memo) fields.push_back({"备忘"_gbk, 12, 0});
    return fields;
}

inline double sampleDate(int id) {
    return 41000.0 + (id * 7919) % 1000;
}
inline std::string sampleRemark(int id) {
    return "r" + std::to_string(id);
}
inline std::string sampleMemo(int id) {
    return std::string(static_cast<std::size_t>((id * 37) % 1300),
                       static_cast<char>('a' + id % 26));
}

// Appends the record of `id` (G1 holds the id).
inline bool appendSample(Registry& store, int id, bool memo) {
    std::vector<std::optional<Value>> values(memo ? 11 : 10, Value{std::int32_t{0}});
    values[0] = Value{Timestamp{sampleDate(id)}};
    values[1] = Value{std::int32_t{id}};
    values[6] = Value{sampleRemark(id)};
    values[7] = Value{std::string("Mon")};
    if (memo) values[10] = Value{sampleMemo(id)};
    return store.appendRecord(values);
}

struct Row {
    std::int32_t number = 0;
    int id = 0;
    bool intact = false;  // every value is the one its id gives
    friend bool operator==(const Row&, const Row&) = default;
};

// Every record of the current table from the first, checked against its id.
inline std::vector<Row> readRows(Registry& store, bool memo) {
    std::vector<Row> rows;
    int count = store.recordCount();
    for (int i = 0; i < count; ++i) {
        if (i > 0 && !store.skip()) break;
        Row row;
        row.number = store.recordNumber();
        row.id = std::get<std::int32_t>(store.readField(2));
        row.intact = store.readField(1) == Value{Timestamp{sampleDate(row.id)}} &&
                     store.readField(7) == Value{sampleRemark(row.id)};
        if (memo) row.intact = row.intact && store.readField(11) == Value{sampleMemo(row.id)};
        rows.push_back(row);
    }
    return rows;
}

// Opens `path` with the process's file system and reads its rows; empty
// optional when it does not open with `password`.
inline std::optional<std::vector<Row>> rowsOf(const std::string& path, std::string_view password,
                                              bool memo) {
    Registry store;
    if (!store.openTable(path, {}, false, 1, password)) return std::nullopt;
    auto rows = readRows(store, memo);
    store.closeTable();
    return rows;
}

// A table of `ids` (appended in that order) with the password, if any.
inline void makeSampleTable(const std::string& path, const std::vector<int>& ids, bool memo,
                            std::string_view password = {}) {
    Registry store;
    auto fields = sampleFields(memo);
    ASSERT_TRUE(store.createTable(path, fields));
    ASSERT_TRUE(store.openTable(path));
    for (int id : ids) ASSERT_TRUE(appendSample(store, id, memo));
    if (!password.empty()) {
        ASSERT_TRUE(store.setPassword(password));
    }
    store.closeTable();
}

}  // namespace qinghe::recordstore::testing
