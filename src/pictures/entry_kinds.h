// What a day of the journal can show, each with its one colour: the six kinds
// of hours, a remark, and a working day that has gone by unrecorded. The
// month calendar and the year chart take their names and colours from here
// and draw their legends from this one table.
//
//   kind           legend    field  colour
//   G1             加班G1    G1     blue
//   G2             加班G2    G2     orange
//   G3             加班G3    G3     red
//   PersonalLeave  事假      事假   green
//   SickLeave      病假      病假   purple
//   Absence        旷工      旷工   dark grey
//   Remark         备注      备注   brown
//   NotRecorded    未记录    -      crimson
//
// The colours are dark enough to be read as text on white and on the light
// tints of the calendar's marked days. Pure; names are GBK.
#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "journal/journal_record.h"

namespace qinghe::pictures {

enum class EntryKind { G1, G2, G3, PersonalLeave, SickLeave, Absence, Remark, NotRecorded };

struct EntryKindFacts {
    EntryKind kind;
    journal::Field field;  // where a record holds it (NotRecorded: none, Date)
    std::uint32_t rgb;     // 0xRRGGBB
};

// Every kind, in the order above (the legends' order).
std::span<const EntryKindFacts> entryKinds();

const EntryKindFacts& factsOf(EntryKind kind);

// "加班G1", "事假", "备注", "未记录" ... (GBK).
const std::string& legendName(EntryKind kind);

// The kinds of hours, G1 to 旷工, in the order above.
std::span<const EntryKindFacts> hourKinds();

// The hours `record` holds of one of the kinds of hours.
std::int32_t hoursOf(const journal::JournalRecord& record, const EntryKindFacts& kind);

}  // namespace qinghe::pictures
