#include "journal/journal_table.h"

#include "common/gbk.h"

namespace qinghe::journal {

using namespace literals;
using recordstore::format::FieldType;

const std::vector<recordstore::FieldSpec>& journalFields() {
    constexpr int kDate = static_cast<int>(FieldType::DateTime);
    constexpr int kInt = static_cast<int>(FieldType::Int);
    constexpr int kText = static_cast<int>(FieldType::Text);
    static const std::vector<recordstore::FieldSpec> fields = {
        {"日期"_gbk, kDate, 20}, {"G1", kInt, 20},       {"G2", kInt, 20},
        {"G3", kInt, 20},        {"事假"_gbk, kInt, 20}, {"病假"_gbk, kInt, 20},
        {"备注"_gbk, kText, 20}, {"星期"_gbk, kText, 6}, {"夜班"_gbk, kInt, 20},
        {"旷工"_gbk, kInt, 20},
    };
    return fields;
}

}  // namespace qinghe::journal
