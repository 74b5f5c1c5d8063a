// One record of the journal as the program holds it, and the weekday text
// that recording a day stores with it. Field layout: journal_table.h.
#pragma once

#include <cstdint>
#include <string>

#include "common/datetime.h"
#include "journal/journal_table.h"

namespace qinghe::journal {

struct JournalRecord {
    DateTime date = 0.0;  // at midnight as recorded; 0 (1899-12-30) reads as "no date"
    std::int32_t g1 = 0;
    std::int32_t g2 = 0;
    std::int32_t g3 = 0;
    std::int32_t personalLeave = 0;
    std::int32_t sickLeave = 0;
    std::string remark{};   // GBK
    std::string weekday{};  // GBK
    std::int32_t nightShift = 0;
    std::int32_t absence = 0;
    friend bool operator==(const JournalRecord&, const JournalRecord&) = default;
};

// The whole-number fields and where a record holds them, in field order.
struct IntegerField {
    Field field;
    std::int32_t JournalRecord::*member;
};
inline constexpr IntegerField kIntegerFields[] = {
    {Field::G1, &JournalRecord::g1},
    {Field::G2, &JournalRecord::g2},
    {Field::G3, &JournalRecord::g3},
    {Field::PersonalLeave, &JournalRecord::personalLeave},
    {Field::SickLeave, &JournalRecord::sickLeave},
    {Field::NightShift, &JournalRecord::nightShift},
    {Field::Absence, &JournalRecord::absence},
};

// The two text fields.
struct TextField {
    Field field;
    std::string JournalRecord::*member;
};
inline constexpr TextField kTextFields[] = {
    {Field::Remark, &JournalRecord::remark},
    {Field::Weekday, &JournalRecord::weekday},
};

// The weekday of a date as the journal stores it: "星期日" for a Sunday,
// "星期一" ... "星期六" (GBK, 6 bytes each).
std::string weekdayText(DateTime date);

}  // namespace qinghe::journal
