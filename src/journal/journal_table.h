// The journal: the record-store table "加班" that holds one record per
// recorded day. This header is its one definition: everything that creates,
// reads, checks or benchmarks the journal takes the table's name and fields
// from here.
//
// Fields, in record order (numbers from 1), as createTable takes them:
//
//   no. name  type (code)     size  meaning
//    1  日期  date-time (8)    20   the recorded day, at midnight
//    2  G1    int (3)          20   overtime hours on a working day (1.5x)
//    3  G2    int (3)          20   overtime hours on a rest day (2x)
//    4  G3    int (3)          20   overtime hours on a statutory holiday (3x)
//    5  事假  int (3)          20   hours of personal leave
//    6  病假  int (3)          20   hours of sick leave
//    7  备注  text (10)        20   the day-kind text of a day without hours, else empty
//    8  星期  text (10)         6   "星期日" ... "星期六" (6 bytes in GBK)
//    9  夜班  int (3)          20   1 when the day was worked as a night shift, else 0
//   10  旷工  int (3)          20   hours of absence
//
// The size matters for the two text fields only (bytes of GBK text, longer
// texts are cut by the record store); createTable is given 20 for the others
// too. Hours are whole numbers. A record has at most one of the six hour
// fields set; a record without hours is a day-kind record.
//
// Records stand in the order in which they were appended until a sort
// rewrites the file in date order. The journal keeps at most one record per
// date: recording a day refuses a second one. Nothing else enforces that, and
// every reader reads a file that holds two records of one date with both.
//
// The file is 加班.EDB in the data folder; the record store matches names
// without regard to letter case, so 加班.edb names the same file.
#pragma once

#include <string_view>
#include <vector>

#include "recordstore/record_store.h"

namespace qinghe::journal {

// "加班" (GBK): the table's name, to which the record store adds ".EDB".
inline constexpr std::string_view kTableName = "\xBC\xD3\xB0\xE0";

// The fields by number.
enum class Field {
    Date = 1,
    G1,
    G2,
    G3,
    PersonalLeave,
    SickLeave,
    Remark,
    Weekday,
    NightShift,
    Absence,
};
inline constexpr int kFieldCount = 10;

// The ten fields as createTable takes them, in record order (names GBK).
const std::vector<recordstore::FieldSpec>& journalFields();

// The definition of one field.
inline const recordstore::FieldSpec& fieldSpec(Field field) {
    return journalFields()[static_cast<std::size_t>(field) - 1];
}

}  // namespace qinghe::journal
